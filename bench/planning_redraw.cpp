#include <benchmark/benchmark.h>
static void BM_Vide(benchmark::State &etat) { for (auto _ : etat) { } }
BENCHMARK(BM_Vide);
BENCHMARK_MAIN();

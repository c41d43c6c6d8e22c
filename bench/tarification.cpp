#include "data/Tarification.h"

#include <benchmark/benchmark.h>

// The rent and tourist tax of a 60-night stay across three seasons, as the "Prest." tab computes
// them each time the stay's dates or persons change.
namespace {

void BM_SoixanteNuitsTroisSaisons(benchmark::State &etat)
{
    using namespace Tarification;
    QVector<Saison> saisons;
    for (const auto &[debut, fin, prix] :
         {std::tuple {QDate(2026, 6, 1), QDate(2026, 6, 30), 8000},
          std::tuple {QDate(2026, 7, 1), QDate(2026, 8, 31), 9500},
          std::tuple {QDate(2026, 9, 1), QDate(2026, 9, 30), 7000}}) {
        Saison saison;
        saison.debut = debut;
        saison.fin = fin;
        saison.prixNuit = prix;
        saison.supplementAdulte = 1500;
        saisons << saison;
    }
    ReglageTaxe reglage;
    reglage.mode = ReglageTaxe::Mode::Pourcentage;
    reglage.majoration = 1000;
    for (auto _ : etat) {
        const Loyer calcule = loyer(saisons, QDate(2026, 6, 20), QDate(2026, 8, 19), 3, 1);
        const Taxe taxe = taxeDeSejour(reglage, calcule.total(), 1000, calcule.nuits(), 3, 1, 0);
        benchmark::DoNotOptimize(taxe.total());
    }
}
BENCHMARK(BM_SoixanteNuitsTroisSaisons)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

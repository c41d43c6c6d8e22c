#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise must stop the fuzzer as a crash does, so that the input is kept as an
// artifact; a plain assert would vanish from a release build.
inline void exiger(bool tenue, const char *promesse)
{
    if (tenue)
        return;
    std::fprintf(stderr, "Promesse non tenue : %s\n", promesse);
    std::abort();
}

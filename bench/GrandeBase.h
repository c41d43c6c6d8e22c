#pragma once

#include <QSqlError>
#include <QString>

#include <functional>

// The sizes of site the benches compare.
enum class TailleSite {
    Courante, // 200 objects and 100 000 stays
    Grande, // 1 000 objects and 1 000 000 stays
};

// A site with ten years of stays, nine of them past: the history a site gathers. Same rows at
// every run (fixed seed, dates from the fixed clock). Left open under `connexion`.
QSqlError remplirGrandeBase(const QString &chemin, const QString &connexion,
                            TailleSite taille = TailleSite::Courante);

// The main of a bench on the large site: the clock fixed at 8 December 2026, 9:00, the site made
// in a temporary folder and left open under `connexion`, `completer` run on it (the rows or the
// index a bench adds, or benches it registers; false stops the run, having said why), then every
// bench registered.
int executerSurLeGrandSite(int argc, char **argv, const QString &connexion,
                           const std::function<bool()> &completer = {});

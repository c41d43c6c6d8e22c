#pragma once

#include <QSqlError>
#include <QString>

// The sizes of site the benches compare.
enum class TailleSite {
    Courante, // 200 objects and 100 000 stays
    Grande, // 1 000 objects and 1 000 000 stays
};

// A site with ten years of stays, nine of them past: the history a site gathers. Same rows at
// every run (fixed seed, dates from the fixed clock). Left open under `connexion`.
QSqlError remplirGrandeBase(const QString &chemin, const QString &connexion,
                            TailleSite taille = TailleSite::Courante);

#pragma once

#include <QSqlError>
#include <QString>

// 200 objects and 100 000 stays over ten years, nine of them past: the history a site gathers.
// Same rows at every run (fixed seed, dates from the fixed clock). Left open under `connexion`.
QSqlError remplirGrandeBase(const QString &chemin, const QString &connexion);

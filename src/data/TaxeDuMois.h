#pragma once

#include "documents/ReleveTaxe.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

// The month's statement of the tourist tax for the commune: one line per stay that held its
// object for nights of that month (a cancelled stay holds none), each counted for its nights in
// the month alone.
namespace TaxeDuMois {

// `mois`: any day of the month. `avertissements` names, in French, the stays whose tax could not
// be counted (in percentage mode, a night without a tariff): they are not in the statement.
QSqlError releve(const QSqlDatabase &base, const QDate &mois, const Etablissement &etablissement,
                 Releve &resultat, QStringList &avertissements);

// "Taxe-de-sejour-2026-12": the statement's files are this name with ".pdf" and ".csv".
QString nomFichiers(const QDate &mois);

} // namespace TaxeDuMois

#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The only writer of the account journal OPERATIONS. prix > 0: payment received; < 0: charge;
// 0: history note. `paiement` is stored on exactly 3 characters, filled with blanks. The row is
// dated now (Horloge) and chained to the previous one (ChaineJournal). A failure comes back to
// the caller, and then no row was written.
QSqlError AjoutOperation(const QSqlDatabase &base, double numeroreservation, double prix,
                         const QString &paiement, const QString &libelle);

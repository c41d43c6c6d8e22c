#pragma once

#include <QDate>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The closures of the journal: each one sums, per payment kind, the rows written since the one
// before, carries the month's, the year's and the running totals, and is chained to the previous
// closure and to the journal's last row. A row removed from the end of the journal after a
// closure, which its own chain cannot show, shows here.
namespace Cloture {

// Cents per payment kind: the code of the row ("CB", "ESP"...), "PRE" for the services carried
// into accounts and "BAR" for the bar's sales (written without a code).
using Totaux = QMap<QString, qint64>;

struct Releve
{
    qint64 numero = 0; // the closure's sequence, from 1
    QDate jour;
    qint64 lignes = 0; // journal rows it covers
    Totaux duJour, duMois, deLAnnee, cumul;
};

// Closes the day `jour` in one transaction: refused in French when it is already closed or
// when a later day is.
QSqlError cloturer(const QSqlDatabase &base, const QDate &jour, Releve &releve);

// The last closure; numero 0 when there is none.
QSqlError derniere(const QSqlDatabase &base, Releve &releve);

struct Verification
{
    bool intacte = false;
    qint64 clotures = 0;
    QString message; // empty when intact, else the first closure that does not hold
};

// Checks the closures' chain, their link to the journal rows they end on, and each closure's
// totals against the rows it covers.
Verification verifier(const QSqlDatabase &base);

// "CB : 120,00 €, ESP : 35,50 €"
QString texteTotaux(const Totaux &totaux);

} // namespace Cloture

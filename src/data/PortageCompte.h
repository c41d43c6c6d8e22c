#pragma once

#include "data/Tarification.h"
#include "data/TarifsEtablissement.h"
#include "documents/Facture.h"

#include <QSqlDatabase>
#include <QSqlError>

// The lines of the "Prest." tab carried into the stay's account. The journal is never changed:
// what was carried before and is no longer right is cancelled by a counter-entry, and the new
// amount is charged anew. Carried lines are known by their payment code.
namespace PortageCompte {

inline const QString CodePrestation = QStringLiteral("PRE");
// The label of a counter-entry: this prefix and the label of the line it cancels.
inline const QString Annulation = QStringLiteral("Annulation : ");

// One journal row in cents: negative for a charge, positive for its cancellation.
struct Ecriture
{
    QString libelle;
    qint64 prix = 0;
    bool operator==(const Ecriture &autre) const
    {
        return libelle == autre.libelle && prix == autre.prix;
    }
};

// The rows to add so that the account holds `lignes`, given the rows already carried: nothing
// for a line carried as it is, a counter-entry for what was carried and has changed or gone, a
// charge for what is new or changed.
QVector<Ecriture> ecrituresAPorter(const QVector<Ecriture> &dejaPortees,
                                   const QVector<LigneFacture> &lignes);

// The rows of the stay carried so far, in the order they were written.
QSqlError lirePortees(const QSqlDatabase &base, int reservation, QVector<Ecriture> &portees);

// In one transaction: the stay's chosen services and exempt adults, and the rows that bring its
// account to `lignes` (`ecrites` says how many; 0 when it already held them).
QSqlError porter(const QSqlDatabase &base, int reservation, const QVector<LigneFacture> &lignes,
                 const QVector<TarifsEtablissement::Choix> &choix, int adultesExoneres,
                 int &ecrites);

// Once a stay's lines are carried, its account follows it: after its dates, persons or object
// changed, the differences are carried the same way. Nothing is done for a stay never carried,
// nor when it can no longer be priced (its account keeps what it holds, `refus` says why).
// Within the caller's transaction when one is open.
QSqlError suivreLeSejour(const QSqlDatabase &base, int reservation,
                         const Tarification::ReglageTaxe &reglage, QString &refus);

} // namespace PortageCompte

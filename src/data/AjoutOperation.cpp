#include "data/AjoutOperation.h"

#include "app/Horloge.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

QSqlError AjoutOperation(const QSqlDatabase &base, double numeroreservation, double prix,
                         const QString &paiement, const QString &libelle)
{
    // The journal only grows: reading its rows just to add one would cost more every year.
    Recordset operations(base, QString::fromLatin1(TextesSQL::toutesLesOperations),
                         Recordset::Mode::AjoutSeulement);
    if (!operations.estOuvert())
        return operations.erreur();

    operations.ajouter();
    operations.fixerChamp(QStringLiteral("numeroreservation"), numeroreservation);
    // Stored to the second: two entries of the same second have no order between them.
    operations.fixerChamp(QStringLiteral("date"), Horloge::maintenant());
    operations.fixerChamp(QStringLiteral("prix"), prix);
    operations.fixerChamp(QStringLiteral("paiement"), (paiement + QStringLiteral("   ")).left(3));
    operations.fixerChamp(QStringLiteral("libelle"), libelle);
    const QSqlError erreur = operations.valider();
    operations.fermer();
    return erreur;
}

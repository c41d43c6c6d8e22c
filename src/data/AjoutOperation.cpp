#include "data/AjoutOperation.h"

#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/ChaineJournal.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "data/TransactionEcriture.h"

#include <optional>

QSqlError AjoutOperation(const QSqlDatabase &base, double numeroreservation, double prix,
                         const QString &paiement, const QString &libelle)
{
    // The last link is read and the new one written under the write lock: the caller's (a
    // save and its note), or one of its own.
    std::optional<TransactionEcriture> propre;
    if (!TransactionEcriture::estOuverte(base)) {
        propre.emplace(base);
        if (propre->erreur().isValid())
            return propre->erreur();
    }
    ChaineJournal::Maillon maillon;
    if (const QSqlError erreur = ChaineJournal::dernierMaillon(base, maillon); erreur.isValid())
        return erreur;

    // The journal only grows: reading its rows just to add one would cost more every year.
    Recordset operations(base, QString::fromLatin1(TextesSQL::toutesLesOperations),
                         Recordset::Mode::AjoutSeulement);
    if (!operations.estOuvert())
        return operations.erreur();

    // Stored to the second: two entries of the same second have no order between them.
    const QDateTime maintenant = Horloge::maintenant();
    const QString code = (paiement + QStringLiteral("   ")).left(3);
    const qint64 sequence = maillon.sequence + 1;
    operations.ajouter();
    operations.fixerChamp(QStringLiteral("numeroreservation"), numeroreservation);
    operations.fixerChamp(QStringLiteral("date"), maintenant);
    operations.fixerChamp(QStringLiteral("prix"), prix);
    operations.fixerChamp(QStringLiteral("paiement"), code);
    operations.fixerChamp(QStringLiteral("libelle"), libelle);
    operations.fixerChamp(QStringLiteral("sequence"), sequence);
    operations.fixerChamp(QStringLiteral("empreinte"),
                          QString::fromLatin1(ChaineJournal::empreinte(
                              maillon.empreinte, sequence, numeroreservation,
                              BaseDeDonnees::texteDate(maintenant), prix, code, libelle)));
    QSqlError erreur = operations.valider();
    operations.fermer();
    if (!erreur.isValid() && propre)
        erreur = propre->valider();
    return erreur;
}

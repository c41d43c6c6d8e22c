#include "data/EtatsEtablissement.h"

#include "conversion/MessageErreur.h"
#include "data/RegleObjet.h"
#include "data/TransactionEcriture.h"

#include <QSqlQuery>
#include <QVariant>

#include <limits>

namespace EtatsEtablissement {

namespace {

Issue refusee(const QString &raison)
{
    return {raison, QSqlError(), std::nullopt};
}

Issue echouee(const QSqlError &erreur)
{
    return {QString(), erreur, std::nullopt};
}

// The statement run with its values bound, so that quotes and markup in a name reach the file
// as typed.
QSqlError executer(QSqlQuery &requete, const QString &sql, const QVariantList &valeurs)
{
    if (!requete.prepare(sql))
        return requete.lastError();
    for (const QVariant &valeur : valeurs)
        requete.addBindValue(valeur);
    return requete.exec() ? QSqlError() : requete.lastError();
}

QString etatDisparu()
{
    return QStringLiteral("Cet état n'existe plus : un autre poste l'a peut-être supprimé.");
}

// One statement on one state in its own write, refused when the state has gone.
Issue modifier(const QSqlDatabase &base, const QString &sql, const QVariantList &valeurs)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return echouee(transaction.erreur());
    QSqlQuery requete(base);
    if (const QSqlError erreur = executer(requete, sql, valeurs); erreur.isValid())
        return echouee(erreur);
    if (requete.numRowsAffected() == 0)
        return refusee(etatDisparu());
    return echouee(transaction.valider());
}

} // namespace

QString Issue::message(const QString &echec) const
{
    if (!refus.isEmpty())
        return refus;
    return erreur.isValid() ? echec + u'\n' + messageBaseEnFrancais(erreur) : QString();
}

LectureCode lireCode(const QString &texte)
{
    const QString nombre = texte.trimmed();
    if (nombre.isEmpty())
        return {0, QStringLiteral("Le code ne peut pas être vide.")};
    const bool signe = nombre.startsWith(u'-') || nombre.startsWith(u'+');
    const QStringView chiffres = QStringView(nombre).mid(signe ? 1 : 0);
    bool queDesChiffres = !chiffres.isEmpty();
    for (const QChar c : chiffres)
        queDesChiffres = queDesChiffres && c >= u'0' && c <= u'9';
    if (!queDesChiffres)
        return {0,
                QStringLiteral("Le code doit être un nombre entier, sans lettre ni virgule "
                               "(« %1 »).")
                    .arg(nombre.left(20))};
    bool lu = false;
    const qulonglong valeur = chiffres.toULongLong(&lu);
    if (nombre.startsWith(u'-') || (lu && valeur == 0))
        return {0, QStringLiteral("Le code doit être supérieur à zéro.")};
    if (!lu || valeur > qulonglong(std::numeric_limits<qint32>::max()))
        return {0,
                QStringLiteral("Le code ne peut pas dépasser %1.")
                    .arg(std::numeric_limits<qint32>::max())};
    return {qint32(valeur), QString()};
}

QString refusDuNom(const QString &nom)
{
    return RegleObjet::refusDUnTexteObligatoire(nom, QStringLiteral("Le nom de l'état"),
                                                LongueurMaximaleNom);
}

std::optional<QString> nomDeLEtat(const QSqlDatabase &base, qint32 code)
{
    QSqlQuery requete(base);
    if (executer(requete, QStringLiteral("SELECT Nom FROM ETATS WHERE Code = ?"), {code}).isValid()
        || !requete.next())
        return std::nullopt;
    return requete.value(0).toString();
}

qint64 nombreDeSejoursDansLEtat(const QSqlDatabase &base, qint32 code)
{
    QSqlQuery requete(base);
    if (executer(requete, QStringLiteral("SELECT count(*) FROM RESERVATIONS WHERE Etat = ?"),
                 {code})
            .isValid()
        || !requete.next())
        return -1;
    return requete.value(0).toLongLong();
}

Issue ajouterEtat(const QSqlDatabase &base, const NouvelEtat &etat)
{
    if (etat.code < 1)
        return refusee(QStringLiteral("Le code doit être supérieur à zéro."));
    if (const QString refus = refusDuNom(etat.nom); !refus.isEmpty())
        return refusee(refus);
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return echouee(transaction.erreur());
    // Read under the write lock: no other desk can take the code between this and the insert.
    if (const std::optional<QString> titulaire = nomDeLEtat(base, etat.code))
        return refusee(QStringLiteral("Le code %1 est déjà celui de l'état « %2 ».")
                           .arg(etat.code)
                           .arg(*titulaire));
    // A new row's rowid is one past the highest: the state goes at the end of the list.
    QSqlQuery requete(base);
    const QSqlError erreur = executer(
        requete,
        QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, surinternet, "
                       "occupe) VALUES (?, ?, ?, ?, ?)"),
        {etat.code, etat.nom, qint64(etat.couleur), int(etat.surinternet), int(etat.occupe)});
    if (erreur.isValid())
        return echouee(erreur);
    return echouee(transaction.valider());
}

Issue renommerEtat(const QSqlDatabase &base, qint32 code, const QString &nom,
                   const std::optional<QString> &ancien)
{
    if (const QString refus = refusDuNom(nom); !refus.isEmpty())
        return refusee(refus);
    if (!ancien)
        return modifier(base, QStringLiteral("UPDATE ETATS SET Nom = ? WHERE Code = ?"),
                        {nom, code});
    // The name compared and replaced in one statement: no other desk can slip in between.
    Issue issue = modifier(base,
                           QStringLiteral("UPDATE ETATS SET Nom = ? WHERE Code = ? AND "
                                          "coalesce(Nom, '') = ?"),
                           {nom, code, *ancien});
    if (issue.refus == etatDisparu()) {
        if (const std::optional<QString> actuel = nomDeLEtat(base, code)) {
            issue.refus.clear();
            issue.leurNom = *actuel;
        }
    }
    return issue;
}

Issue refusDeSuppression(const QSqlDatabase &base, qint32 code)
{
    QSqlQuery requete(base);
    if (const QSqlError erreur
        = executer(requete, QStringLiteral("SELECT count(*) FROM ETATS"), {});
        erreur.isValid())
        return echouee(erreur);
    if (requete.next() && requete.value(0).toLongLong() <= 1)
        return refusee(QStringLiteral("Il faut garder au moins un état : les nouvelles "
                                      "réservations prennent le premier."));
    const std::optional<QString> nom = nomDeLEtat(base, code);
    if (!nom)
        return refusee(etatDisparu());
    const qint64 sejours = nombreDeSejoursDansLEtat(base, code);
    if (sejours < 0)
        return echouee(QSqlError(QStringLiteral("Les séjours de cet état n'ont pas pu être "
                                                "comptés."),
                                 QString(), QSqlError::StatementError));
    if (sejours == 1)
        return refusee(QStringLiteral("L'état « %1 » est celui d'un séjour : il ne peut pas "
                                      "être supprimé. Renommez-le ou changez l'état de ce séjour.")
                           .arg(*nom));
    if (sejours > 1)
        return refusee(QStringLiteral("L'état « %1 » est celui de %2 séjours : il ne peut pas "
                                      "être supprimé. Renommez-le ou changez l'état de ces "
                                      "séjours.")
                           .arg(*nom)
                           .arg(sejours));
    return {};
}

Issue supprimerEtat(const QSqlDatabase &base, qint32 code)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return echouee(transaction.erreur());
    // Again under the write lock: a stay booked in this state since the owner was asked keeps it.
    if (const Issue verification = refusDeSuppression(base, code); !verification.reussie())
        return verification;
    QSqlQuery requete(base);
    if (const QSqlError erreur
        = executer(requete, QStringLiteral("DELETE FROM ETATS WHERE Code = ?"), {code});
        erreur.isValid())
        return echouee(erreur);
    return echouee(transaction.valider());
}

Issue fixerOccupe(const QSqlDatabase &base, qint32 code, bool occupe)
{
    return modifier(base, QStringLiteral("UPDATE ETATS SET occupe = ? WHERE Code = ?"),
                    {int(occupe), code});
}

} // namespace EtatsEtablissement

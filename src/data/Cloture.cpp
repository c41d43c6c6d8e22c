#include "data/Cloture.h"

#include "app/Horloge.h"
#include "data/ArticlesBar.h"
#include "data/ChaineJournal.h"
#include "data/TransactionEcriture.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace Cloture {

namespace {

struct Stockee
{
    Releve releve;
    qint64 derniereSequence = 0;
    QByteArray derniereEmpreinte;
    QString contenu;
    QByteArray empreinte;
};

QSqlError refus(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::StatementError);
}

QString texteJour(const QDate &jour)
{
    return jour.toString(QStringLiteral("dd/MM/yyyy"));
}

QJsonObject versJson(const Totaux &totaux)
{
    QJsonObject objet;
    for (auto it = totaux.cbegin(); it != totaux.cend(); ++it)
        objet.insert(it.key(), it.value());
    return objet;
}

Totaux depuisJson(const QJsonValue &valeur)
{
    Totaux totaux;
    const QJsonObject objet = valeur.toObject();
    for (auto it = objet.begin(); it != objet.end(); ++it)
        totaux.insert(it.key(), qint64(it.value().toDouble()));
    return totaux;
}

QString contenu(const Releve &releve)
{
    const QJsonObject objet {{QStringLiteral("lignes"), releve.lignes},
                             {QStringLiteral("jour"), versJson(releve.duJour)},
                             {QStringLiteral("mois"), versJson(releve.duMois)},
                             {QStringLiteral("annee"), versJson(releve.deLAnnee)},
                             {QStringLiteral("cumul"), versJson(releve.cumul)}};
    return QString::fromUtf8(QJsonDocument(objet).toJson(QJsonDocument::Compact));
}

QByteArray empreinte(const QByteArray &precedente, const Stockee &cloture)
{
    QCryptographicHash hachage(QCryptographicHash::Sha256);
    const char separateur = '\x1f';
    hachage.addData(precedente);
    for (const QString &champ :
         {QString::number(cloture.releve.numero), cloture.releve.jour.toString(Qt::ISODate),
          QString::number(cloture.derniereSequence), QString::fromLatin1(cloture.derniereEmpreinte),
          cloture.contenu}) {
        hachage.addData(QByteArrayView(&separateur, 1));
        hachage.addData(champ.toUtf8());
    }
    return hachage.result().toHex();
}

Totaux plus(Totaux totaux, const Totaux &ajout)
{
    for (auto it = ajout.cbegin(); it != ajout.cend(); ++it)
        totaux[it.key()] += it.value();
    return totaux;
}

// The rows after `apres` up to `jusqua` (sequences), summed per kind.
QSqlError sommer(const QSqlDatabase &base, qint64 apres, qint64 jusqua, Totaux &totaux,
                 qint64 &lignes)
{
    totaux.clear();
    lignes = 0;
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    requete.prepare(QStringLiteral("SELECT paiement, prix FROM OPERATIONS WHERE sequence > ? "
                                   "AND sequence <= ?"));
    requete.addBindValue(apres);
    requete.addBindValue(jusqua);
    if (!requete.exec())
        return requete.lastError();
    while (requete.next()) {
        ++lignes;
        const qint64 prix = std::llround(requete.value(1).toDouble() * 100);
        if (prix == 0)
            continue;
        const QString code = requete.value(0).toString().trimmed();
        totaux[code.isEmpty() ? QStringLiteral("BAR") : code] += prix;
    }
    return requete.lastError();
}

QSqlError lireToutes(const QSqlDatabase &base, QVector<Stockee> &clotures, bool seulementDerniere)
{
    clotures.clear();
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    if (!requete.exec(QStringLiteral("SELECT sequence, jour, dernieresequence, derniereempreinte, "
                                     "contenu, empreinte FROM CLOTURES ORDER BY sequence")
                      + (seulementDerniere ? QStringLiteral(" DESC LIMIT 1") : QString())))
        return requete.lastError();
    while (requete.next()) {
        Stockee cloture;
        cloture.releve.numero = requete.value(0).toLongLong();
        cloture.releve.jour = QDate::fromString(requete.value(1).toString(), Qt::ISODate);
        cloture.derniereSequence = requete.value(2).toLongLong();
        cloture.derniereEmpreinte = requete.value(3).toString().toLatin1();
        cloture.contenu = requete.value(4).toString();
        cloture.empreinte = requete.value(5).toString().toLatin1();
        const QJsonObject objet = QJsonDocument::fromJson(cloture.contenu.toUtf8()).object();
        cloture.releve.lignes = qint64(objet.value(QStringLiteral("lignes")).toDouble());
        cloture.releve.duJour = depuisJson(objet.value(QStringLiteral("jour")));
        cloture.releve.duMois = depuisJson(objet.value(QStringLiteral("mois")));
        cloture.releve.deLAnnee = depuisJson(objet.value(QStringLiteral("annee")));
        cloture.releve.cumul = depuisJson(objet.value(QStringLiteral("cumul")));
        clotures.append(cloture);
    }
    return requete.lastError();
}

} // namespace

QSqlError derniere(const QSqlDatabase &base, Releve &releve)
{
    QVector<Stockee> clotures;
    const QSqlError erreur = lireToutes(base, clotures, true);
    releve = clotures.isEmpty() ? Releve() : clotures.first().releve;
    return erreur;
}

QSqlError cloturer(const QSqlDatabase &base, const QDate &jour, Releve &releve)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    QVector<Stockee> precedentes;
    QSqlError erreur = lireToutes(base, precedentes, true);
    if (erreur.isValid())
        return erreur;
    const Stockee precedente = precedentes.isEmpty() ? Stockee() : precedentes.first();
    if (precedente.releve.numero > 0 && precedente.releve.jour >= jour)
        return refus(precedente.releve.jour == jour
                         ? QStringLiteral("La journée du %1 est déjà close.").arg(texteJour(jour))
                         : QStringLiteral("La journée du %1 est déjà close : le %2 ne peut plus "
                                          "l'être.")
                               .arg(texteJour(precedente.releve.jour), texteJour(jour)));

    ChaineJournal::Maillon maillon;
    erreur = ChaineJournal::dernierMaillon(base, maillon);
    if (erreur.isValid())
        return erreur;
    Stockee cloture;
    cloture.releve.numero = precedente.releve.numero + 1;
    cloture.releve.jour = jour;
    cloture.derniereSequence = maillon.sequence;
    cloture.derniereEmpreinte = maillon.empreinte;
    erreur = sommer(base, precedente.derniereSequence, maillon.sequence, cloture.releve.duJour,
                    cloture.releve.lignes);
    if (erreur.isValid())
        return erreur;
    const QDate avant = precedente.releve.jour;
    const bool memeAnnee = avant.isValid() && avant.year() == jour.year();
    const bool memeMois = memeAnnee && avant.month() == jour.month();
    cloture.releve.duMois
        = plus(memeMois ? precedente.releve.duMois : Totaux(), cloture.releve.duJour);
    cloture.releve.deLAnnee
        = plus(memeAnnee ? precedente.releve.deLAnnee : Totaux(), cloture.releve.duJour);
    cloture.releve.cumul = plus(precedente.releve.cumul, cloture.releve.duJour);
    cloture.contenu = contenu(cloture.releve);
    cloture.empreinte = empreinte(precedente.empreinte, cloture);

    QSqlQuery requete(base);
    requete.prepare(QStringLiteral(
        "INSERT INTO CLOTURES (sequence, jour, date, dernieresequence, derniereempreinte, "
        "contenu, empreinte) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    requete.addBindValue(cloture.releve.numero);
    requete.addBindValue(jour.toString(Qt::ISODate));
    requete.addBindValue(Horloge::maintenant().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    requete.addBindValue(cloture.derniereSequence);
    requete.addBindValue(QString::fromLatin1(cloture.derniereEmpreinte));
    requete.addBindValue(cloture.contenu);
    requete.addBindValue(QString::fromLatin1(cloture.empreinte));
    if (!requete.exec())
        return requete.lastError();
    erreur = transaction.valider();
    if (!erreur.isValid())
        releve = cloture.releve;
    return erreur;
}

Verification verifier(const QSqlDatabase &base)
{
    Verification verification;
    QVector<Stockee> clotures;
    if (const QSqlError erreur = lireToutes(base, clotures, false); erreur.isValid()) {
        verification.message = QStringLiteral("Les clôtures n'ont pas pu être lues.");
        return verification;
    }
    QByteArray precedente;
    qint64 finPrecedente = 0;
    for (const Stockee &cloture : clotures) {
        const QString nom = QStringLiteral("La clôture n° %1 du %2")
                                .arg(cloture.releve.numero)
                                .arg(texteJour(cloture.releve.jour));
        ++verification.clotures;
        if (cloture.releve.numero != verification.clotures) {
            verification.message
                = QStringLiteral("La clôture n° %1 manque.").arg(verification.clotures);
            return verification;
        }
        if (empreinte(precedente, cloture) != cloture.empreinte) {
            verification.message = nom + QStringLiteral(" a été modifiée.");
            return verification;
        }
        QSqlQuery requete(base);
        requete.prepare(QStringLiteral("SELECT empreinte FROM OPERATIONS WHERE sequence = ?"));
        requete.addBindValue(cloture.derniereSequence);
        const bool trouvee = requete.exec() && requete.next();
        if (cloture.derniereSequence > 0
            && (!trouvee || requete.value(0).toString().toLatin1() != cloture.derniereEmpreinte)) {
            verification.message = nom
                + QStringLiteral(" se termine sur la ligne %1 du journal, qui a été modifiée ou "
                                 "supprimée.")
                      .arg(cloture.derniereSequence);
            return verification;
        }
        Totaux totaux;
        qint64 lignes = 0;
        if (sommer(base, finPrecedente, cloture.derniereSequence, totaux, lignes).isValid()
            || totaux != cloture.releve.duJour || lignes != cloture.releve.lignes) {
            verification.message
                = nom + QStringLiteral(" ne correspond plus aux lignes du journal qu'elle couvre.");
            return verification;
        }
        precedente = cloture.empreinte;
        finPrecedente = cloture.derniereSequence;
    }
    verification.intacte = true;
    return verification;
}

QString texteTotaux(const Totaux &totaux)
{
    QStringList parties;
    for (auto it = totaux.cbegin(); it != totaux.cend(); ++it)
        parties << it.key() + QStringLiteral(" : ") + ArticlesBar::textePrix(it.value());
    return parties.isEmpty() ? QStringLiteral("aucun mouvement")
                             : parties.join(QStringLiteral(", "));
}

} // namespace Cloture

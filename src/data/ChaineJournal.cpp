#include "data/ChaineJournal.h"

#include "conversion/MessageErreur.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace ChaineJournal {

namespace {

// The fields as they are stored and read back, whatever the base.
QString texteNumero(double numero)
{
    // A whole number, which every reservation number is, writes the same digits either way;
    // the integer form is several times quicker over a million rows.
    if (std::trunc(numero) == numero && std::abs(numero) < 1e15 && !std::signbit(numero))
        return QString::number(qint64(numero));
    return QString::number(numero, 'g', 17);
}

qint64 centimes(double prix)
{
    return std::llround(prix * 100);
}

} // namespace

QByteArray empreinte(const QByteArray &precedente, qint64 sequence, double numero,
                     const QString &date, double prix, const QString &paiement,
                     const QString &libelle)
{
    QCryptographicHash hachage(QCryptographicHash::Sha256);
    // A separator no field holds, so that no two different rows give the same text.
    const char separateur = '\x1f';
    hachage.addData(precedente);
    for (const QString &champ : {QString::number(sequence), texteNumero(numero), date,
                                 QString::number(centimes(prix)), paiement, libelle}) {
        hachage.addData(QByteArrayView(&separateur, 1));
        hachage.addData(champ.toUtf8());
    }
    return hachage.result().toHex();
}

QSqlError dernierMaillon(const QSqlDatabase &base, Maillon &maillon)
{
    maillon = Maillon();
    QSqlQuery requete(base);
    if (!requete.exec(QStringLiteral("SELECT sequence, empreinte FROM OPERATIONS WHERE sequence "
                                     "IS NOT NULL ORDER BY sequence DESC LIMIT 1")))
        return requete.lastError();
    if (requete.next()) {
        maillon.sequence = requete.value(0).toLongLong();
        maillon.empreinte = requete.value(1).toString().toLatin1();
    }
    return QSqlError();
}

QSqlError chainerLesLignesNonChainees(const QSqlDatabase &base)
{
    Maillon maillon;
    if (const QSqlError erreur = dernierMaillon(base, maillon); erreur.isValid())
        return erreur;
    QSqlQuery lecture(base);
    lecture.setForwardOnly(true);
    if (!lecture.exec(QStringLiteral("SELECT rowid, numeroreservation, date, prix, paiement, "
                                     "libelle FROM OPERATIONS WHERE sequence IS NULL ORDER BY "
                                     "rowid")))
        return lecture.lastError();
    // Read first: a server streams a reading's rows, and the connection takes no other
    // statement until they are all in.
    struct Ligne
    {
        qint64 rowid;
        double numero, prix;
        QString date, paiement, libelle;
    };
    QVector<Ligne> lignes;
    while (lecture.next())
        lignes.append({lecture.value(0).toLongLong(), lecture.value(1).toDouble(),
                       lecture.value(3).toDouble(), lecture.value(2).toString(),
                       lecture.value(4).toString(), lecture.value(5).toString()});
    if (lecture.lastError().isValid())
        return lecture.lastError();
    lecture.finish();
    QSqlQuery ecriture(base);
    if (!ecriture.prepare(QStringLiteral("UPDATE OPERATIONS SET sequence = ?, empreinte = ? WHERE "
                                         "rowid = ?")))
        return ecriture.lastError();
    for (const Ligne &ligne : std::as_const(lignes)) {
        ++maillon.sequence;
        maillon.empreinte = empreinte(maillon.empreinte, maillon.sequence, ligne.numero, ligne.date,
                                      ligne.prix, ligne.paiement, ligne.libelle);
        ecriture.bindValue(0, maillon.sequence);
        ecriture.bindValue(1, QString::fromLatin1(maillon.empreinte));
        ecriture.bindValue(2, ligne.rowid);
        if (!ecriture.exec())
            return ecriture.lastError();
    }
    return QSqlError();
}

Verification verifier(const QSqlDatabase &base)
{
    Verification resultat;
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    if (!requete.exec(QStringLiteral("SELECT sequence, numeroreservation, date, prix, paiement, "
                                     "libelle, empreinte FROM OPERATIONS ORDER BY sequence"))) {
        resultat.message = QStringLiteral("Le journal n'a pas pu être lu : ")
            + messageBaseEnFrancais(requete.lastError());
        return resultat;
    }
    QByteArray precedente;
    qint64 attendue = 1;
    while (requete.next()) {
        const QVariant sequence = requete.value(0);
        const QString date = requete.value(2).toString();
        // Only a message names the stay: a million rows are read without writing their numbers.
        const auto reservation = [&requete] {
            return QString::number(requete.value(1).toDouble(), 'g', 17);
        };
        if (sequence.isNull()) {
            resultat.message = QStringLiteral("Une ligne du journal (réservation n° %1, %2) a été "
                                              "ajoutée sans passer par le programme.")
                                   .arg(reservation(), date);
            return resultat;
        }
        const qint64 numero = sequence.toLongLong();
        if (numero != attendue) {
            resultat.message
                = QStringLiteral("La ligne n° %1 du journal a été supprimée.").arg(attendue);
            return resultat;
        }
        const QByteArray calculee = empreinte(
            precedente, numero, requete.value(1).toDouble(), date, requete.value(3).toDouble(),
            requete.value(4).toString(), requete.value(5).toString());
        if (calculee != requete.value(6).toString().toLatin1()) {
            resultat.message = QStringLiteral("La ligne n° %1 du journal (réservation n° %2, %3) "
                                              "a été modifiée.")
                                   .arg(numero)
                                   .arg(reservation(), date);
            return resultat;
        }
        precedente = calculee;
        ++attendue;
        ++resultat.lignes;
    }
    if (requete.lastError().isValid()) {
        resultat.message = QStringLiteral("Le journal n'a pas pu être lu : ")
            + messageBaseEnFrancais(requete.lastError());
        return resultat;
    }
    resultat.intact = true;
    resultat.message = QStringLiteral("Journal intact");
    return resultat;
}

} // namespace ChaineJournal

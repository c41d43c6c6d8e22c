#include "data/ConflitsSejour.h"

#include "data/BaseDeDonnees.h"
#include "data/Chevauchement.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <utility>

namespace ConflitsSejour {

// Seeks ReservationsParPortee on the object and the reach, written exactly as the index writes
// it (or SQLite reads every stay of the object): only the stays still there at the start of the
// span are read, so years of history cost nothing. The bounds let through every stay that could
// clash, touching ones included; seChevauchent then decides on the hours. The last condition
// holds the same for every row: a typed state that frees its object clashes with nothing.
const char Requete[]
    = "SELECT RESERVATIONS.NumeroReservation, RESERVATIONS.nomclient, RESERVATIONS.DateDebut, "
      "RESERVATIONS.DateFin, RESERVATIONS.Etat, ETATS.Nom, "
      "CASE WHEN ETATS.occupe = 0 THEN 0 ELSE 1 END "
      "FROM RESERVATIONS LEFT JOIN ETATS ON ETATS.Code = RESERVATIONS.Etat "
      "WHERE RESERVATIONS.Objet = ? "
      "AND RESERVATIONS.NumeroReservation <> ? "
      "AND IIf(\"datefin\" Is Null, '9999-12-31 00:00:00', "
      "IIf(\"datefin\"<\"datedebut\", \"datedebut\", \"datefin\")) >= ? "
      "AND IIf(\"datefin\"<\"datedebut\", \"datefin\", \"datedebut\") <= ? "
      "AND NOT EXISTS (SELECT 1 FROM ETATS AS TYPE WHERE TYPE.Code = ? AND TYPE.occupe = 0)";

namespace {

constexpr int ConflitsListes = 10;

QDateTime dateDe(const QVariant &valeur)
{
    return valeur.typeId() == QMetaType::QDateTime ? valeur.toDateTime()
                                                   : BaseDeDonnees::dateLue(valeur.toString());
}

QString moment(const QDateTime &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString ligne(const Conflit &conflit)
{
    const QString client = conflit.client.trimmed();
    QString texte = QStringLiteral("n° %1 – %2")
                        .arg(QString::number(conflit.numero),
                             client.isEmpty() ? QStringLiteral("sans nom") : client);
    if (conflit.arrivee.isValid())
        texte += QStringLiteral(", du ") + moment(conflit.arrivee);
    texte += conflit.depart.isValid() ? QStringLiteral(" au ") + moment(conflit.depart)
                                      : QStringLiteral(", sans date de départ");
    if (!conflit.nomEtat.trimmed().isEmpty())
        texte += QStringLiteral(" (") + conflit.nomEtat.trimmed() + u')';
    return texte;
}

} // namespace

QSqlError conflitsDe(const QSqlDatabase &base, qint32 numeroExclu, qint32 objet,
                     const QDateTime &arrivee, const QDateTime &depart, qint32 etat,
                     QVector<Conflit> &resultat)
{
    resultat.clear();
    if (!arrivee.isValid())
        return QSqlError();
    // A typed state that frees the object makes the query return nothing: here it occupies.
    const PeriodeSejour saisi {arrivee, depart, true};
    QDateTime debut = arrivee, fin = depart;
    if (fin.isValid() && fin < debut)
        std::swap(debut, fin);

    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    if (!requete.prepare(QString::fromLatin1(Requete)))
        return requete.lastError();
    requete.addBindValue(objet);
    requete.addBindValue(numeroExclu);
    requete.addBindValue(BaseDeDonnees::texteDate(debut));
    requete.addBindValue(fin.isValid() ? BaseDeDonnees::texteDate(fin)
                                       : QStringLiteral("9999-12-31 00:00:00"));
    requete.addBindValue(etat);
    if (!requete.exec())
        return requete.lastError();
    QVector<Conflit> lus;
    while (requete.next()) {
        Conflit conflit;
        conflit.numero = requete.value(0).toInt();
        conflit.client = requete.value(1).toString();
        conflit.arrivee = dateDe(requete.value(2));
        conflit.depart = dateDe(requete.value(3));
        const QVariant nom = requete.value(5);
        conflit.nomEtat = nom.isNull() ? requete.value(4).toString() : nom.toString();
        const PeriodeSejour autre {conflit.arrivee, conflit.depart, requete.value(6).toInt() != 0};
        if (seChevauchent(saisi, autre))
            lus.append(conflit);
    }
    // A read that stops half-way must not pass for a free object.
    if (requete.lastError().isValid())
        return requete.lastError();
    std::sort(lus.begin(), lus.end(), [](const Conflit &a, const Conflit &b) {
        return a.arrivee != b.arrivee ? a.arrivee < b.arrivee : a.numero < b.numero;
    });
    resultat = lus;
    return QSqlError();
}

QString texteDesConflits(const QString &nomObjet, const QVector<Conflit> &conflits)
{
    const qsizetype nombre = conflits.size();
    QString texte = nombre == 1
        ? QStringLiteral("Ce séjour chevauche un autre séjour de « %1 » :\n").arg(nomObjet)
        : QStringLiteral("Ce séjour chevauche %1 autres séjours de « %2 » :\n")
              .arg(QString::number(nombre), nomObjet);
    for (qsizetype i = 0; i < nombre && i < ConflitsListes; ++i)
        texte += ligne(conflits.at(i)) + u'\n';
    const qsizetype restants = nombre - ConflitsListes;
    if (restants == 1)
        texte += QStringLiteral("… et un autre séjour\n");
    else if (restants > 1)
        texte += QStringLiteral("… et %1 autres séjours\n").arg(restants);
    return texte + QStringLiteral("\nEnregistrer quand même ?");
}

} // namespace ConflitsSejour

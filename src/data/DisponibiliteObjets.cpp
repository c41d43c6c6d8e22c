#include "data/DisponibiliteObjets.h"

#include "data/BaseDeDonnees.h"

#include <QLocale>
#include <QSqlQuery>

namespace DisponibiliteObjets {

namespace {

// One query for the whole list: the planning order, the filters, then for each object a seek in
// ReservationsParPortee for an occupying stay that reaches past the arrival day and comes before
// the departure day. The reach is written exactly as the index writes it, or SQLite reads every
// stay of the object. The bounds are bare days: "2026-12-09" sorts before any hour of that day,
// and a date stored without its hour still compares as that day.
const QString Requete
    = QStringLiteral("SELECT Numero, Nom, Categorie, Capacite FROM OBJETS "
                     "WHERE retire = 0 "
                     "AND (Capacite IS NULL OR Capacite >= ?) "
                     "AND (? OR trim(Categorie) = ?) "
                     "AND NOT EXISTS (SELECT 1 FROM RESERVATIONS "
                     "WHERE RESERVATIONS.Objet = OBJETS.Numero "
                     "AND IIf(\"datefin\" Is Null, '9999-12-31 00:00:00', "
                     "IIf(\"datefin\"<\"datedebut\", \"datedebut\", \"datefin\")) >= ? "
                     "AND \"datedebut\" < ? "
                     "AND NOT EXISTS (SELECT 1 FROM ETATS WHERE ETATS.Code = RESERVATIONS.Etat "
                     "AND ETATS.occupe = 0)) "
                     "ORDER BY OBJETS.rowid");

QString jour(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QDate dateSaisie(const QString &texte)
{
    return BaseDeDonnees::dateAvecBarres(texte, false).date();
}

QString refusDesDates(const QString &arrivee, const QString &depart)
{
    const QDate debut = dateSaisie(arrivee);
    if (!debut.isValid())
        return QStringLiteral("La date d'arrivée n'est pas une date (jj/mm/aaaa).");
    const QDate fin = dateSaisie(depart);
    if (!fin.isValid())
        return QStringLiteral("La date de départ n'est pas une date (jj/mm/aaaa).");
    if (fin <= debut)
        return QStringLiteral("La date de départ doit être après la date d'arrivée.");
    return QString();
}

QSqlError placesLibres(const QSqlDatabase &base, const QDate &arrivee, const QDate &depart,
                       int personnes, const QString &categorie, QVector<PlaceLibre> &resultat)
{
    resultat.clear();
    // Without a night in between every object would come back free.
    if (!arrivee.isValid() || !depart.isValid() || depart <= arrivee)
        return QSqlError(QStringLiteral("La date de départ doit être après la date d'arrivée."),
                         QString(), QSqlError::StatementError);
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    const QString filtre = categorie.trimmed();
    if (!requete.prepare(Requete))
        return requete.lastError();
    requete.addBindValue(personnes);
    // A flag rather than a comparison with '': a null text would bind as Null and match nothing.
    requete.addBindValue(filtre.isEmpty() ? 1 : 0);
    requete.addBindValue(filtre);
    requete.addBindValue(jour(arrivee.addDays(1)));
    requete.addBindValue(jour(depart));
    if (!requete.exec())
        return requete.lastError();
    QVector<PlaceLibre> lues;
    while (requete.next()) {
        PlaceLibre place;
        place.numero = requete.value(0).toInt();
        place.nom = requete.value(1).toString();
        place.categorie = requete.value(2).toString().trimmed();
        const QVariant capacite = requete.value(3);
        if (!capacite.isNull())
            place.capacite = capacite;
        lues.append(place);
    }
    // A read that stops half-way must not pass for a short list.
    if (requete.lastError().isValid())
        return requete.lastError();
    resultat = lues;
    return QSqlError();
}

QString libelle(const PlaceLibre &place)
{
    return QString::number(place.numero) + QStringLiteral(" : ") + place.nom;
}

QString nombreDePlaces(qsizetype nombre)
{
    if (nombre <= 0)
        return QStringLiteral("Aucune place libre");
    if (nombre == 1)
        return QStringLiteral("1 place libre");
    return QLocale(QLocale::French, QLocale::France).toString(qint64(nombre))
        + QStringLiteral(" places libres");
}

} // namespace DisponibiliteObjets

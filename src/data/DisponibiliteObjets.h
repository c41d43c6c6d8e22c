#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVector>

// Which objects are free for every night from an arrival to a departure, for the desk that
// answers "have you something from the 12th to the 15th?".

struct PlaceLibre
{
    qint32 numero = 0;
    QString nom;
    QString categorie; // empty when the object has none
    QVariant capacite; // null when unknown
};

namespace DisponibiliteObjets {

// A date as the windows show it, "dd/mm/yyyy" (day first); invalid when the text does not read
// as one.
QDate dateSaisie(const QString &texte);

// Why these two typed dates cannot be searched, in French; empty when they can: each must read
// as a date and the departure must come after the arrival.
QString refusDesDates(const QString &arrivee, const QString &depart);

// The objects the planning draws that no occupying stay holds on any night from `arrivee` to
// the night before `depart`, in planning order. A stay holds the nights from its arrival day to
// the day before its departure day, so that one guest may leave on the morning another comes;
// without a departure it holds every night from its arrival on, and a departure typed before
// the arrival reads as the arrival. A stay occupies unless its state says it does not; a state
// gone from the list occupies, since a place sold twice costs more than one left unsold.
// Objects whose known capacity is below `personnes` are left out, those of unknown capacity
// kept. `categorie` empty: every category. On an error `resultat` is left empty.
QSqlError placesLibres(const QSqlDatabase &base, const QDate &arrivee, const QDate &depart,
                       int personnes, const QString &categorie, QVector<PlaceLibre> &resultat);

// "Numero : Nom", as the list shows an object.
QString libelle(const PlaceLibre &place);

// "Aucune place libre", "1 place libre", "12 places libres".
QString nombreDePlaces(qsizetype nombre);

} // namespace DisponibiliteObjets

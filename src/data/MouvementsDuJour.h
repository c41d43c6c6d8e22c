#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

// The stays that arrive and leave on one day, as the desk prepares them in the morning: who
// comes, where, for how long, what is already paid and what is still owed.
namespace MouvementsDuJour {

struct Mouvement
{
    qint32 numero = 0;
    QString client;
    QString objet; // the object's name; empty when the object has gone
    QDateTime arrivee, depart;
    int nuits = -1; // -1 when a date is missing
    int adultes = 0, enfants = 0;
    qint64 arrhes = 0; // cents
    qint64 solde = 0; // cents: the sum of the stay's account, as the reservation dialog shows it
};

struct Journee
{
    QDate jour;
    QVector<Mouvement> arrivees, departs;
    QString erreur; // French; the lists are empty when it is set
};

// The stays arriving (DateDebut) and leaving (DateFin) on `jour`, by hour then planning order.
// A stay in a state that does not occupy its object (a cancelled one) is left out; one whose
// state or object has gone is kept. Two reads of the stays and one of their accounts.
Journee lire(const QSqlDatabase &base, const QDate &jour);

enum class Sens { Arrivees, Departs };
// The texts lire() runs, so that their plans can be checked against the indexes: the stays
// (bound values :debut and :fin, the day and the next one as "yyyy-MM-dd"), and the accounts
// of the stays `numeros`.
QString texteDesSejours(Sens sens);
QString texteDesComptes(const QVector<qint32> &numeros);

// "1 234,50 €", "-12,00 €": groups of three digits separated by one plain blank.
QString texteMontant(qint64 centimes);
// "Aucune arrivée", "1 arrivée", "3 arrivées"; "Aucun départ", "1 départ", "3 départs".
QString nombreArrivees(int nombre);
QString nombreDeparts(int nombre);
// "mercredi 9 décembre 2026", "mardi 1er décembre 2026".
QString jourEnLettres(const QDate &jour);
// "Arrivées et départs du mercredi 9 décembre 2026"
QString titre(const QDate &jour);
// "Arrivées et départs du 2026-12-09.pdf"
QString nomDuFichier(const QDate &jour);

// The printed page: the establishment's name when there is one, the title, both lists with
// their counts, and when it was printed. Every text of the base is escaped.
QString documentHtml(const Journee &journee, const QString &etablissement,
                     const QDateTime &imprimeLe);

} // namespace MouvementsDuJour

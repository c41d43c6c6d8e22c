#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVector>

// Two stays that hold the same object at the same time: a place sold twice, found before the
// second guest stands at the desk.
struct PaireEnConflit
{
    qint32 objet = 0;
    QString nomObjet;
    // `premier` holds the object first (the lower number when both arrive together).
    qint32 premier = 0, second = 0;
    QString clientPremier, clientSecond;
    // The time both hold the object; `finCommune` is invalid when both run on for ever.
    QDateTime debutCommun, finCommune;
};

// Every pair of occupying stays of one object that clash (seChevauchent) for a time ending after
// `depuis` 00:00: a state gone from ETATS occupies, a retired object is still checked. In
// planning order, then by the start of the common time. Only the stays that reach `depuis` are
// read, sought in ReservationsParPortee, so years of history cost nothing. Stays of an object
// gone from OBJETS are left out: no line of the planning shows them. On an error (an invalid
// `depuis` among them) `resultat` is left empty.
QSqlError listeDesConflits(const QSqlDatabase &base, const QDate &depuis,
                           QVector<PaireEnConflit> &resultat);

// The Jet text listeDesConflits runs, for checking its plan.
QString texteDesSejoursSuivis(const QDate &depuis);

// "n° 41 – Peeters"
QString texteSejourEnConflit(qint32 numero, const QString &client);
// The common time by its days: "du 28/07/2027 au 02/08/2027", "le 28/07/2027" when it lies
// within one day, "à partir du 28/07/2027" when it never ends.
QString texteNuitsEnCommun(const PaireEnConflit &paire);
// "Aucun conflit", "1 conflit", "3 conflits".
QString nombreDeConflits(qsizetype nombre);

#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVector>

// The stays a typed one would share its object with, so that the owner sees them before the
// stay is stored: one object sold twice for the same night is the costliest slip of the desk.
namespace ConflitsSejour {

struct Conflit
{
    qint32 numero = 0;
    QString client;
    QDateTime arrivee, depart; // as stored; invalid when missing or unreadable
    QString nomEtat; // the state's code when it has no name (or has gone)
};

// The seek of conflitsDe, with its five bound values: object, number left out, start and end of
// the span (ends in order, the end '9999-12-31 00:00:00' when there is none). Visible so that a
// test can ask SQLite how it runs it: the reach must be the index's expression to the letter.
extern const char Requete[];

// The other stays of `objet` that clash with the span from `arrivee` to `depart`, as
// seChevauchent rules (hours count, a missing departure holds for ever, a departure typed before
// the arrival holds the days between), by arrival then number. `numeroExclu` is the stay being
// changed, 0 for a new one. A stay whose state has gone from the list occupies; when `etat`
// itself does not occupy, nothing clashes. On an error `resultat` is left empty.
QSqlError conflitsDe(const QSqlDatabase &base, qint32 numeroExclu, qint32 objet,
                     const QDateTime &arrivee, const QDateTime &depart, qint32 etat,
                     QVector<Conflit> &resultat);

// The question put to the owner: how many stays of « nomObjet » clash, one line each (number,
// client, dates, state), then whether to store the stay anyway. At most ten lines are listed,
// then how many more there are: a stay without a departure can clash with years of bookings.
QString texteDesConflits(const QString &nomObjet, const QVector<Conflit> &conflits);

} // namespace ConflitsSejour

#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

// One bar drawn on the planning, with the reservation it stands for. The rectangle (x1, y1) -
// (x2, y2) is in `planning` pixels; drawing, hit testing and blinking all read it.
struct ReservationAffichee
{
    qint32 NumeroReservation = 0;
    qint32 objet = 0;
    QString nomclient;
    QDateTime DateDebut;
    QDateTime DateFin;
    QString libelleetat;
    qint32 x1 = 0;
    qint32 y1 = 0;
    qint32 x2 = 0;
    qint32 y2 = 0;
    double arrhes = 0;
    QDateTime datelimite;
    qint16 nbadultes = 0;
    qint16 nbenfants = 0;
    QString remarque;
    QString telephone;
    QString email;
    qint32 couleur = 0; // 0x00BBGGRR; 0 (black) when the state is unknown
    qint32 ligne = 0;
    qint32 version = 0; // the stores the row had seen when it was read
};

// Its members all move in memory as plain bytes, so a growing table is moved, not copied.
Q_DECLARE_TYPEINFO(ReservationAffichee, Q_RELOCATABLE_TYPE);

// Index 0 exists and is never used: bars are at 1 to n in drawing order, so that 0 can mean
// "no bar" (reservation_courante). Any number of bars.
using ReservationsAffichees = QVector<ReservationAffichee>;

#pragma once

#include <QDateTime>

// When two stays of one object hold it at the same time. Arrival and departure hours count: a
// departure at 10:00 and an arrival at 14:00 the same day share no night.
struct PeriodeSejour
{
    QDateTime arrivee;
    QDateTime depart;
    bool occupe = true; // its state holds the object (a cancelled one does not)
};

// Both occupy, and each arrives before the other leaves. A stay with no departure holds the
// object from its arrival on, for ever; one with no arrival is nowhere and clashes with
// nothing; a departure typed before the arrival holds the days between the two, so that the
// slip cannot hide a clash.
bool seChevauchent(const PeriodeSejour &a, const PeriodeSejour &b);

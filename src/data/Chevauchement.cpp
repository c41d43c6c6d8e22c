#include "data/Chevauchement.h"

#include <utility>

namespace {

// The span a stay holds, its ends in order; false when it holds nothing.
bool etendue(const PeriodeSejour &sejour, QDateTime &debut, QDateTime &fin)
{
    if (!sejour.occupe || !sejour.arrivee.isValid())
        return false;
    debut = sejour.arrivee;
    fin = sejour.depart;
    if (fin.isValid() && fin < debut)
        std::swap(debut, fin);
    return true;
}

// An invalid end is no end: the stay runs on for ever.
bool avant(const QDateTime &moment, const QDateTime &fin)
{
    return !fin.isValid() || moment < fin;
}

} // namespace

bool seChevauchent(const PeriodeSejour &a, const PeriodeSejour &b)
{
    QDateTime debutA, finA, debutB, finB;
    if (!etendue(a, debutA, finA) || !etendue(b, debutB, finB))
        return false;
    return avant(debutA, finB) && avant(debutB, finA);
}

#pragma once

#include <QDate>
#include <QDateTime>

// The one source of "now" and "today" for the whole program, so tests can fix the date.
class Horloge
{
public:
    static QDateTime maintenant();
    static QDate aujourdhui();

    // Freezes the clock at the given moment; an invalid value returns to the system clock.
    static void fixer(const QDateTime &moment);
};

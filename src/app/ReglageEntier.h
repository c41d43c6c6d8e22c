#pragma once

#include <QString>

// The whole number a numeric setting holds: its numeric value rounded half to even, as the
// settings have always been read. A value outside [minimum, maximum] (or no number at all)
// reads as 0, so a hand-edited file cannot overflow the counter it feeds.
qint64 entierDuReglage(const QString &texte, qint64 minimum, qint64 maximum);

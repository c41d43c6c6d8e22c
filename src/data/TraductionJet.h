#pragma once

#include <QString>

// Turns one of our SQL texts, written in the Jet dialect, into SQLite: [name] -> "name",
// #mm/dd/yyyy# -> 'yyyy-MM-dd 00:00:00' (a time part kept when present), True/False -> 1/0.
// Text inside single-quoted literals is left alone.
QString traduireJet(const QString &texteJet);

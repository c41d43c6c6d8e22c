#pragma once

#include <QString>

// Turns one of our SQL texts, written in the Jet dialect, into SQLite (and PostgreSQL, whose
// base is made to read it the same way): [Name] -> "name",
// #mm/dd/yyyy# -> 'yyyy-MM-dd 00:00:00' (a time part kept when present), True/False -> 1/0.
// Text inside single-quoted literals is left alone.
QString traduireJet(const QString &texteJet);

// For a server: the rows of a plain one-table SELECT without an order of its own come in the
// order they were added (ORDER BY its rowid), as an SQLite file gives them unasked: the states
// and the objects are read in that order. Any other text comes back as it is.
QString ordonnerCommeUnFichier(const QString &sql);

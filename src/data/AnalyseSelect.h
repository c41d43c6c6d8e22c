#pragma once

#include <QString>

// What a record set must know of its SELECT text before running it: whether it is a SELECT at
// all, and whether its rows are rows of one table that can then be written through their rowid.
// Read from the tokens, not parsed: a text that looks unusual is simply taken as not simple.
struct AnalyseSelect
{
    bool estSelect = false;
    qsizetype finDuSelect = 0; // where the rowid goes, just after the SELECT keyword
    QString table; // first table after FROM
    QString reference; // its alias, or its name
    bool simple = true; // rows of the result are rows of that table
};

// `sql` is SQLite text, already translated from Jet.
AnalyseSelect analyserSelect(const QString &sql);

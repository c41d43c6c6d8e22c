#pragma once

#include <QString>
#include <QVariantList>

// A Jet text with the values it compares taken out as parameters, so that the texts of one
// query run with other numbers and dates share a single translation and prepared statement.
struct TexteParametre
{
    QString gabarit; // still Jet
    QVariantList valeurs; // as SQLite takes them
};

// Only a number, a single-quoted text or a date standing right after a comparison operator
// becomes a parameter: that is where the values of our texts go. Every other literal stays in
// the text, the one in the planning's reach expression above all, which must read exactly as
// the index it is sought in. Bracketed names and double-quoted runs are copied untouched.
TexteParametre parametrer(const QString &jet);

#pragma once

#include <QString>

// The text to show for the French interface text `texte`: section "Francais" of the main
// settings file, each key first written with itself as its value.
QString Traduire(const QString &texte);

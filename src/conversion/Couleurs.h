#pragma once

#include <QColor>
#include <QPalette>

// Colours are stored as 0x00BBGGRR (red in the low byte); a value with the top bit set names a
// system colour by its index, which we take from the widget palette.
QColor couleurDepuisVB(quint32 valeur, const QPalette &palette = QPalette());
quint32 couleurVersVB(const QColor &couleur);

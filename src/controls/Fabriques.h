#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;
class xpcmdbutton;

// The controls every window builds many of, placed and named as their design says. A null
// `nom` leaves the control unnamed (a caption no code looks for).

// An owner-drawn button with its caption, at its place.
xpcmdbutton *nouveauBouton(QWidget *parent, const char *nom, const QString &legende,
                           const QRect &place);

// A label at `x`, `y`, as large as its text.
QLabel *nouvelleEtiquette(QWidget *parent, const char *nom, const QString &texte, int x, int y);

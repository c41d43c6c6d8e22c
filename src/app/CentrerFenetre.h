#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Top-left corner, in the coordinates of `ecran`, that centres a frame of size `cadre` on it.
// A frame larger than the screen is pinned to the screen's top-left corner rather than pushed
// off it, so its title bar stays reachable.
QPoint positionCentree(const QRect &ecran, const QSize &cadre);

// Moves `fenetre` (frame included) to the centre of the screen it is on, without resizing it.
void CentrerFenetre(QWidget *fenetre);

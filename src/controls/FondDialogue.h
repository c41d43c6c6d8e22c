#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

class QLabel;
class QPixmap;
class QScreen;
class QWidget;

// The full-screen dialogs show the desktop as it was when they opened, darkened, with their
// content panel centred on top.

// Every colour channel of every pixel kept to its 0x77 bits: the picture is dimmed, its colours
// still recognisable, and dimming it again changes nothing. Same size, opaque.
QImage assombrir(const QImage &instantane);

// Top-left corner, within a screen-sized window, that centres a panel. Integer halves, truncated
// towards zero: an odd spare pixel goes to the right or bottom, and a panel larger than the
// screen gets a negative corner so that its middle stays in the middle.
QPoint positionPanneau(const QSize &ecran, const QSize &panneau);

// What the backdrop is made from: the screen's picture `capture`, or where the platform gave
// none, a plain dark grey (0x333333, already as dark as `assombrir` makes it) of `taille` logical
// pixels at `ratio` device pixels each.
QImage imageDuBureau(const QPixmap &capture, const QSize &taille, qreal ratio);

// The whole screen's picture (see imageDuBureau); the primary screen's when `ecran` is null. Null
// only without any screen.
QImage instantaneDuBureau(QScreen *ecran);

// Spreads the host window (dessin's window) over its screen, shows the darkened desktop in
// `dessin` across it and centres `Fond` above it. Called while the host loads, before it shows,
// so that the picture is of what lies under it.
void MontrerFondDialogue(QLabel *dessin, QWidget *Fond);

// The two children every full-screen dialog has: the backdrop picture `dessin` and the content
// panel `Fond`, named so, the panel painting its own background.
struct ElementsDuFond
{
    QLabel *dessin;
    QWidget *Fond;
};

// The start every full-screen dialog shares: `hote` becomes a frameless window named `nom`,
// deleted when it closes, modal for the whole application when `modal` (the reservation dialog
// is not: the planning waits for it its own way), with its backdrop and its panel.
ElementsDuFond preparerDialoguePleinEcran(QWidget *hote, const char *nom,
                                          const QSize &taillePanneau, bool modal = true);

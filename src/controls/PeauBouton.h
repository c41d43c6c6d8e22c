#pragma once

#include <QImage>

class QPainter;
class QSize;

// The command button's skin: one row of five faces, each a cell of 18 × 21 pixels, painted by
// code so that no picture file has to travel with the program.
constexpr int LargeurCellulePeau = 18;
constexpr int HauteurCellulePeau = 21;
constexpr int NombreCellulesPeau = 5;
// Width of the frame that is kept unscaled at the corners and stretched along one axis only on
// the edges; rims and borders live inside it, so stretching never thickens them.
constexpr int BordCellulePeau = 3;

// Cell numbers, which are also the button's drawing states.
enum CelluleBouton {
    CelluleRepos = 0,
    CelluleEnfoncee = 1,
    CelluleInactive = 2,
    CelluleSurvolee = 3,
    CelluleReposMarquee = 4,
};

// The 90 × 21 skin, premultiplied ARGB. The pixels cut off by the rounded corners are fully
// transparent, so the window's background shows there.
QImage peauBouton();

// Paints cell `cellule` of `peau` over the rectangle (0, 0, taille) of `peintre` in nine pieces:
// corners unscaled, edges stretched along their length, centre stretched both ways. Sampling is
// nearest-pixel, so a stretched face keeps the skin's exact colours. Out-of-range cells paint
// nothing; pieces that would have no room (sizes below 6 pixels) are left out.
void dessinerCellule(QPainter &peintre, const QImage &peau, int cellule, const QSize &taille);

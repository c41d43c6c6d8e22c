#pragma once

#include <QString>

class SurfaceImage;

// The text-in-box routine. `style` has three decimal digits: units = horizontal placement
// (0 left, 1 centred, 2 right), tens = vertical placement (0 top, 1 centred, 2 bottom),
// hundreds = frame (0 none, 1 white box, 2 raised grey panel, which also makes the surface's
// text colour black). The frame digit is style / 100 rounded (halves to even) modulo 10, so
// 150 already frames as 200 would; any other digit places at the start or frames nothing.
// The text never leaves the box: it starts at the box's left and top edges at the earliest
// and is cut at its right and bottom edges (those excluded); a box whose end comes before its
// start holds no text, though its frame is drawn.
void DessinerTexte(SurfaceImage &surface, const QString &texte, int x1, int y1, int x2, int y2,
                   int style);

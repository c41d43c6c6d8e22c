#pragma once

#include <QString>

class SurfaceImage;

// The text-in-box routine. `style` has three decimal digits: units = horizontal placement
// (0 left, 1 centred, 2 right), tens = vertical placement (0 top, 1 centred, 2 bottom),
// hundreds = frame (0 none, 1 white box, 2 raised grey panel, which also makes the surface's
// text colour black). The text never leaves the box.
void DessinerTexte(SurfaceImage &surface, const QString &texte, int x1, int y1, int x2, int y2,
                   int style);

#include "planning/Librairie_Graphique.h"

#include "conversion/Couleurs.h"
#include "planning/SurfaceImage.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest whole number, halves to the even one (the default rounding mode, which nothing in
// the program changes).
double auPlusPres(double valeur)
{
    return std::nearbyint(valeur);
}

// Far enough out for anything on a surface, near enough that sums of two edges stay in int.
int enPixels(double valeur)
{
    constexpr double Limite = 1 << 30;
    return int(std::clamp(auPlusPres(valeur), -Limite, Limite));
}

// Where the text starts inside a span of `etendue` pixels: 0 at the start, 1 centred, 2 at the
// end; any other digit at the start.
double decalage(int chiffre, double etendue, double taille)
{
    switch (chiffre) {
    case 1:
        return etendue / 2 - taille / 2;
    case 2:
        return etendue - taille;
    default:
        return 0;
    }
}

void cadreEnRelief(SurfaceImage &surface, int x1, int y1, int x2, int y2)
{
    const QColor noir(Qt::black), blanc(Qt::white);
    surface.remplir(x1, y1, x2, y2, couleurDepuisVB(0xC8D0D4));
    surface.ligne(x1, y1, x2, y1, noir);
    surface.ligne(x2, y1, x2, y2, noir);
    surface.ligne(x2, y2, x1, y2, noir);
    surface.ligne(x1, y2, x1, y1, noir);
    // Light falls from the top left.
    surface.ligne(x1 + 1, y2 - 1, x1 + 1, y1 + 1, blanc);
    surface.ligne(x1 + 1, y1 + 1, x2 - 1, y1 + 1, blanc);
    surface.couleurTexte = noir;
}

} // namespace

void DessinerTexte(SurfaceImage &surface, const QString &texte, int x1, int y1, int x2, int y2,
                   int style)
{
    // The frame digit is read by rounding style / 100, so 150 already asks for the raised panel
    // and 50 for none (a half goes to the even side).
    switch (int(std::fmod(auPlusPres(style / 100.0), 10.0))) {
    case 1:
        surface.remplir(x1, y1, x2, y2, Qt::white);
        break;
    case 2:
        cadreEnRelief(surface, x1, y1, x2, y2);
        break;
    default:
        break;
    }

    // The text stays inside the box: a box wholly off the surface has nothing to show, and
    // its text need not even be measured (the planning has rows far below the visible height).
    if (std::max(x1, x2) < 0 || std::min(x1, x2) >= surface.largeur() || std::max(y1, y2) < 0
        || std::min(y1, y2) >= surface.hauteur())
        return;

    const double largeur = surface.largeurTexte(texte);
    const double hauteur = surface.hauteurTexte(texte);
    const double h = decalage(style % 10, double(x2) - x1, largeur);
    const double v = decalage((style / 10) % 10, double(y2) - y1, hauteur);

    // The text is never wider or taller than its box, and never starts before it; a box whose
    // end comes before its start holds no text.
    const double gauche = std::max(x1 + h, double(x1));
    const double droite = std::min(gauche + largeur, double(x2));
    const double haut = std::max(y1 + v, double(y1));
    const double bas = std::min(haut + hauteur, double(y2));
    const int g = enPixels(gauche), d = enPixels(droite), t = enPixels(haut), b = enPixels(bas);
    if (d <= g || b <= t)
        return;
    surface.ecrireDans(QRect(QPoint(g, t), QPoint(d - 1, b - 1)), texte);
}

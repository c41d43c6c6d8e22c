#include "controls/PeauBouton.h"

#include <QColor>
#include <QPainter>
#include <QSize>

#include <algorithm>

namespace {

const QColor bordFonce(0, 60, 116);
const QColor bordGris(201, 199, 186);

QColor melange(const QColor &debut, const QColor &fin, double part)
{
    return QColor::fromRgbF(debut.redF() + (fin.redF() - debut.redF()) * part,
                            debut.greenF() + (fin.greenF() - debut.greenF()) * part,
                            debut.blueF() + (fin.blueF() - debut.blueF()) * part);
}

QColor demiTransparent(QColor couleur)
{
    couleur.setAlpha(128);
    return couleur;
}

// What the face looks like away from its border, by depth into the cell (1 or 2 for the rims,
// 3 and more for the flat centre) and by the side the pixel is nearest to.
struct Face
{
    QColor fond;
    QColor bord;
    QColor haut[2]; // depth 1, 2
    QColor bas[2];
    // Side rims, at the top and at the bottom of the cell; the rows between are blended.
    QColor coteHaut;
    QColor coteBas;
};

Face faceDeLaCellule(int cellule)
{
    const QColor clair(243, 243, 239);
    Face repos {clair,
                bordFonce,
                {QColor(255, 255, 255), clair},
                {QColor(214, 208, 197), QColor(226, 223, 214)},
                clair,
                clair};
    switch (cellule) {
    case CelluleEnfoncee: {
        const QColor fonce(226, 225, 218);
        return {fonce,
                bordFonce,
                {QColor(209, 204, 193), QColor(220, 216, 207)},
                {QColor(234, 233, 227), fonce},
                fonce,
                fonce};
    }
    case CelluleInactive: {
        const QColor pale(245, 244, 234);
        return {pale, bordGris, {pale, pale}, {pale, pale}, pale, pale};
    }
    case CelluleSurvolee:
        repos.haut[0] = QColor(255, 240, 207);
        repos.haut[1] = QColor(253, 216, 137);
        repos.bas[0] = QColor(229, 151, 0);
        repos.bas[1] = QColor(248, 179, 48);
        repos.coteHaut = QColor(253, 216, 137);
        repos.coteBas = QColor(248, 179, 48);
        return repos;
    case CelluleReposMarquee:
        repos.haut[0] = QColor(206, 231, 255);
        repos.haut[1] = QColor(188, 212, 246);
        repos.bas[0] = QColor(105, 130, 238);
        repos.bas[1] = QColor(137, 173, 228);
        repos.coteHaut = QColor(160, 190, 236);
        repos.coteBas = QColor(160, 190, 236);
        return repos;
    default:
        return repos;
    }
}

QColor pixelDeLaCellule(const Face &face, int x, int y)
{
    const int dernierX = LargeurCellulePeau - 1;
    const int dernierY = HauteurCellulePeau - 1;
    const int dx = std::min(x, dernierX - x);
    const int dy = std::min(y, dernierY - y);

    // Rounded corners: the outermost pixel goes, its two neighbours are softened and the pixel
    // diagonally inside carries the border round the bend.
    if (dx == 0 && dy == 0)
        return Qt::transparent;
    if (dx + dy == 1)
        return demiTransparent(face.bord);
    if (dx == 0 || dy == 0 || (dx == 1 && dy == 1))
        return face.bord;

    const int profondeur = std::min(dx, dy);
    if (profondeur >= BordCellulePeau)
        return face.fond;
    if (dy <= dx)
        return y < HauteurCellulePeau / 2 ? face.haut[profondeur - 1] : face.bas[profondeur - 1];
    return melange(face.coteHaut, face.coteBas, double(y - 2) / (HauteurCellulePeau - 5));
}

} // namespace

QImage peauBouton()
{
    QImage peau(LargeurCellulePeau * NombreCellulesPeau, HauteurCellulePeau,
                QImage::Format_ARGB32_Premultiplied);
    for (int cellule = 0; cellule < NombreCellulesPeau; ++cellule) {
        const Face face = faceDeLaCellule(cellule);
        for (int y = 0; y < HauteurCellulePeau; ++y)
            for (int x = 0; x < LargeurCellulePeau; ++x)
                peau.setPixelColor(cellule * LargeurCellulePeau + x, y,
                                   pixelDeLaCellule(face, x, y));
    }
    return peau;
}

void dessinerCellule(QPainter &peintre, const QImage &peau, int cellule, const QSize &taille)
{
    if (cellule < 0 || cellule >= NombreCellulesPeau)
        return;
    const int b = BordCellulePeau;
    const int gauche = cellule * LargeurCellulePeau;
    const int droite = gauche + LargeurCellulePeau - b;
    const int bas = HauteurCellulePeau - b;
    const int largeurMilieu = LargeurCellulePeau - 2 * b;
    const int hauteurMilieu = HauteurCellulePeau - 2 * b;
    const int w = taille.width();
    const int h = taille.height();

    peintre.save();
    peintre.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (w > 2 * b) {
        peintre.drawImage(QRect(b, 0, w - 2 * b, b), peau, QRect(gauche + b, 0, largeurMilieu, b));
        peintre.drawImage(QRect(b, h - b, w - 2 * b, b), peau,
                          QRect(gauche + b, bas, largeurMilieu, b));
    }
    if (h > 2 * b) {
        peintre.drawImage(QRect(0, b, b, h - 2 * b), peau, QRect(gauche, b, b, hauteurMilieu));
        peintre.drawImage(QRect(w - b, b, b, h - 2 * b), peau, QRect(droite, b, b, hauteurMilieu));
    }
    if (w > 2 * b && h > 2 * b)
        peintre.drawImage(QRect(b, b, w - 2 * b, h - 2 * b), peau,
                          QRect(gauche + b, b, largeurMilieu, hauteurMilieu));
    // Corners last, so that on a button too small for its frame they are what stays whole.
    peintre.drawImage(QPoint(0, 0), peau, QRect(gauche, 0, b, b));
    peintre.drawImage(QPoint(w - b, 0), peau, QRect(droite, 0, b, b));
    peintre.drawImage(QPoint(0, h - b), peau, QRect(gauche, bas, b, b));
    peintre.drawImage(QPoint(w - b, h - b), peau, QRect(droite, bas, b, b));
    peintre.restore();
}

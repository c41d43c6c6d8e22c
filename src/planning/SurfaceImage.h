#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

// A drawing surface that keeps what is drawn on it, as the planning's picture boxes do: a
// picture, a back colour, a text colour, a font and a print position. No widget here, so the
// drawing is tested on the picture itself; the window shows the picture.
class SurfaceImage
{
public:
    explicit SurfaceImage(const QColor &fond = Qt::white, const QColor &texte = Qt::black);

    // New size; the picture is cleared to the back colour. Sizes below 1 are taken as 1.
    void redimensionner(int largeur, int hauteur);
    int largeur() const { return m_image.width(); }
    int hauteur() const { return m_image.height(); }
    const QImage &image() const { return m_image; }

    QColor couleurFond;
    QColor couleurTexte;
    QFont police;

    // Clears to the back colour; the print position returns to 0, 0.
    void effacer();
    // A one-pixel line, both ends drawn.
    void ligne(int x1, int y1, int x2, int y2, const QColor &couleur);
    // The box between two corners, both included, in whichever order they come.
    void remplir(int x1, int y1, int x2, int y2, const QColor &couleur);

    // Print position (the next `imprimer` writes there, top-left of the text).
    int positionX = 0;
    int positionY = 0;
    // Writes at the print position in the text colour, transparent background. With
    // `finDeLigne` the position then goes to the start of the next line (x 0, y + text height);
    // without, it moves right past the text.
    void imprimer(const QString &texte, bool finDeLigne = true);
    // Writes the text into the rectangle, top-left aligned, cut at its edges, in the text colour.
    void ecrireDans(const QRect &zone, const QString &texte);

    int largeurTexte(const QString &texte) const;
    int hauteurTexte(const QString &texte) const;

    // The part drawn since the last call (for the window to repaint just that), then forgets it.
    QRect zoneModifiee();

private:
    QImage m_image;
    QRect m_zoneModifiee;
};

#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

class QPainter;

// "MS Sans Serif" 8.25 pt without antialiasing: every text of the planning, in the window and
// wherever its drawing is measured, so that text pixels are exactly the text colour.
QFont policePlanning();

// A drawing surface that keeps what is drawn on it, as the planning's picture boxes do: a
// picture, a back colour, a text colour, a font and a print position. No widget here, so the
// drawing is tested on the picture itself; the window shows the picture.
//
// Coordinates may lie anywhere in the int range: whatever falls outside the picture is cut, and
// what lies entirely outside costs no painting at all. The picture is 96 dots per inch whatever
// the screen, so a font's pixel size (8.25 pt = 11 px) does not depend on the machine.
class SurfaceImage
{
public:
    explicit SurfaceImage(const QColor &fond = Qt::white, const QColor &texte = Qt::black);
    ~SurfaceImage();
    SurfaceImage(const SurfaceImage &) = delete;
    SurfaceImage &operator=(const SurfaceImage &) = delete;

    // New size; the picture is cleared to the back colour. Sizes below 1 are taken as 1, and a
    // size the memory cannot hold leaves a 1 x 1 picture rather than none.
    void redimensionner(int largeur, int hauteur);
    int largeur() const { return m_image.width(); }
    int hauteur() const { return m_image.height(); }
    const QImage &image() const;

    QColor couleurFond;
    QColor couleurTexte;
    // policePlanning() unless changed: text pixels are exactly the text colour, as on the bitmap
    // font the planning was drawn with.
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
    // One line's height per line of the text (an empty text is one line).
    int hauteurTexte(const QString &texte) const;

    // The part drawn since the last call (for the window to repaint just that), then forgets it.
    QRect zoneModifiee();

private:
    // Text at `x`, `y` (top-left), cut to `coupe` (already inside the picture).
    void peindreTexte(qint64 x, qint64 y, const QString &texte, const QRect &coupe);
    // The part of the box (both corners included) that lies in the picture; empty when none.
    QRect partieVisible(qint64 x1, qint64 y1, qint64 x2, qint64 y2) const;
    void remplirVisible(const QRect &zone, const QColor &couleur);
    void noter(const QRect &zone);

    // Layout and metrics of a text depend only on the font: the planning draws the same names
    // and headings at every redraw, so they are laid out once.
    // A run of text pixels on one row, from the top-left of the text's mask.
    struct Trait
    {
        int y, gauche, droite; // both ends included
    };
    struct TexteMesure
    {
        QStaticText dispose;
        int largeur = 0;
        // Without antialiasing a text is only pixels of one colour: once drawn aside, it is
        // put down again as those runs, far faster than the painter lays out its glyphs.
        // Made at the first drawing.
        std::optional<QVector<Trait>> traits;
        int marge = 0; // offset of the mask's origin up and left of the text's top-left
        bool uneCouleur = false; // the mask holds the whole text
    };
    // The runs of a text, or null when it is not drawn in one colour.
    const QVector<Trait> *traitsDe(const QString &texte, TexteMesure &texteMesure) const;
    TexteMesure &mesure(const QString &texte) const;
    const QFontMetrics &metriques() const;
    // A painter on the picture, kept open between texts; closed before anyone else reads the
    // picture, so that a copy taken by the window never shares a buffer still being painted.
    QPainter &peintre();
    void fermerPeintre() const;

    QImage m_image;
    QRect m_zoneModifiee;
    mutable std::unique_ptr<QPainter> m_peintre;
    mutable QFont m_policeMesuree;
    mutable std::optional<QFontMetrics> m_metriques;
    mutable QHash<QString, TexteMesure> m_mesures;
};

#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

class QTimer;

// The till receipt: a paper strip on a grey ground that grows by one line per text and is kept
// with its newest line just above the lower edge. Two thin bars along the top and bottom scroll
// it by hand while a button is held on them. The strip's picture is the only record of what was
// printed: nothing else keeps the lines.
class TicketDeCaisse : public QWidget
{
    Q_OBJECT
public:
    // Gap between the control's sides and the strip.
    static constexpr int marge = 10;
    // Gap below each line, and indent of each line from the strip's left.
    static constexpr int interligne = 4;
    // Pixels per scrolling tick.
    static constexpr int pasDefilement = 15;
    // Height of an empty strip.
    static constexpr int hauteurVide = 10;
    // The strip never gets taller than this: beyond it, its oldest quarter is torn off. It is the
    // largest window a 16-bit coordinate can hold, and still about 2000 lines.
    static constexpr int hauteurMaximale = 32767;

    explicit TicketDeCaisse(QWidget *parent = nullptr);

    // Empties the strip and sets it back on the lower bar.
    void init();
    // Prints `Texte` below the last line ("\r\n" or "\n" start a new line) and brings the strip
    // back so that the text shows just above the lower bar.
    void AjoutTexte(const QString &Texte);

    int hauteurRuban() const { return m_hauteur; }
    // Top of the strip in the control's coordinates (negative once it outgrows the control).
    int hautRuban() const;
    // What is printed, as much of it as the strip shows (strip width x strip height).
    QImage imageRuban() const;

protected:
    void resizeEvent(QResizeEvent *evenement) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    void placer();
    void defiler();
    void commencerDefilement(int pas);
    // Makes room for `hauteur` rows (at most the ceiling), keeping what is printed. False when
    // the memory would not hold it, in which case the ceiling comes down to what we have.
    bool reserver(int hauteur);
    // Drops the strip's first `lignes` rows, moving the rest up.
    void dechirer(int lignes);
    void elargir(int largeur);
    int largeurRuban() const;

    QWidget *m_ruban = nullptr;
    QWidget *m_haut = nullptr;
    QWidget *m_bas = nullptr;
    QTimer *m_repositionnement = nullptr;
    QTimer *m_scrolleur = nullptr;

    // Rows 0 to m_hauteur - 1 are the strip; rows below are spare room, kept blank so that
    // growing needs no clearing.
    QImage m_image;
    QColor m_papier;
    QColor m_encre;
    // Kept apart from the strip widget's font, which would pick up what the host sets on the
    // control.
    QFont m_policeRuban;
    int m_hauteur = hauteurVide;
    int m_plafond = hauteurMaximale;
    int m_pas = 0;
    // The strip follows its newest line; false once it has been scrolled by hand.
    bool m_suivi = true;
};

#pragma once

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QTimer;

// Where the two panes and the bar stand once the bar has been dropped, in the container's pixels.
// The left pane starts at 0 and stops 1 pixel before the bar; the bar is 5 pixels wide; the
// right pane starts 1 pixel after it and runs to the container's inner right edge. Both panes
// take the container's inner height. Widths may come out negative: the caller bounds them.
struct DispositionBarre
{
    QRect gauche;
    QRect droite;
    // Left edge plus width of the left pane, in twips (15 per pixel), as the settings hold it.
    int positionReelle = 0;

    static DispositionBarre calculer(const QRect &gauche, const QRect &barre,
                                     const QSize &interieur);
};

// A thin vertical bar dividing a container between a left and a right control. Dragged
// sideways, it gives more room to one side; dropped, the panes fill the container up to it.
// It can remember where it was dropped in a settings file. It blinks under the pointer, even
// when it has no panes to move.
class BarreSeparatrice : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Largeur = 5;
    static constexpr int TwipsParPixel = 15;

    explicit BarreSeparatrice(QWidget *parent = nullptr);

    // Places the bar against the left control's right edge and lays the panes out. Does
    // nothing until configured, and while the bar is storing its place or raising Changed.
    void REFRESHING();

    // Configures without memory; `positionorigine` is the left control's width in pixels.
    void Controle_GAUCHEDROITE(QWidget *gauche, QWidget *droite, int positionorigine,
                               QWidget *control_parent);

    // Configures with memory: the left control starts at 0 and takes the width read from the
    // settings (twips); when the key is missing its current width is written there. A stored
    // width that does not fit in the container is brought back inside it.
    void Controle_GAUCHEDROITE_avecMEMOIRE(QWidget *gauche, QWidget *droite,
                                           QWidget *control_parent, const QString &IO_rubrique,
                                           const QString &IO_variable, const QString &IO_fichier);

    // Last applied position, in twips.
    int PositionReelle() const { return m_positionReelle; }
    bool appuye() const { return m_appuye; }
    QColor couleur() const { return m_couleur; }
    int compteurClignotement() const { return m_compteurClignotement; }

    // One tick of the blink: grey and black alternate while the count lasts, then grey.
    void clignotement_Timer();

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent *evenement) override;
    void mousePressEvent(QMouseEvent *evenement) override;
    void mouseMoveEvent(QMouseEvent *evenement) override;
    void mouseReleaseEvent(QMouseEvent *evenement) override;

private:
    bool configuree() const { return m_gauche && m_droite && m_parent; }
    void appliquerDisposition();
    void placerDevant();
    // The widest the left pane can be: the bar and the right pane's gap still fit after it.
    int largeurGaucheMaximale() const;
    // The bar's x while dragging, kept where neither pane would get a negative width.
    int xDansLesLimites(int x) const;

    QPointer<QWidget> m_gauche;
    QPointer<QWidget> m_droite;
    QPointer<QWidget> m_parent;
    bool m_inactive = true;
    bool m_appuye = false;
    bool m_glisse = false;
    int m_departSouris = 0;
    int m_departBarre = 0;
    int m_positionReelle = 0;
    QString m_rubrique;
    QString m_variable;
    QString m_fichier;
    int m_compteurClignotement = 0;
    QColor m_couleur;
    QTimer *m_clignotement;
};

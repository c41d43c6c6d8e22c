#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// The push button of every window: a skinned face that lights up under the pointer, looks
// pressed while a button is down and greys out when disabled, with a centred caption.
//
// Hosts connect to its signals with direct connections (the default for widgets of one thread):
// the arguments are references, so queued connections cannot carry them; a handler may change
// them, but the button reads nothing back. Button codes: 1 left, 2 right, 4 middle (MouseMove
// reports every button held, as a sum). Shift codes: 1 Shift, 2 Ctrl, 4 Alt. X and Y are in pixels.
//
// Order of a left click: MouseDown, MouseUp, Click. Click only comes when the left button is
// released over the button after being pressed on it; a press dragged away and released outside
// still gives MouseUp (the button keeps the mouse until release), so a host may start something
// on MouseDown and stop it on MouseUp safely.
class xpcmdbutton : public QWidget
{
    Q_OBJECT
    // Addressable by the names the windows use for them (setProperty("Caption", …)).
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(int State READ State WRITE setState)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(QFont Font READ font WRITE setFont)

public:
    explicit xpcmdbutton(QWidget *parent = nullptr);

    // 1 rests on the blue-rimmed face, 0 on the plain one; any other value is kept but leaves
    // the resting face as it was.
    int State() const { return m_state; }
    void setState(int state);

    // A "&" marks the access key: Alt and that letter raise Click. "&&" shows one "&". Until a
    // caption is given the button shows its object name, and follows it when it is renamed, so
    // that a button its window forgot to caption says which one it is.
    QString Caption() const;
    void setCaption(const QString &caption);

    // The skin cell on the face now (see CelluleBouton).
    int celluleAffichee() const { return m_celluleAffichee; }
    const QImage &face() const { return m_face; }

    // Where the leave check reads the pointer, in screen coordinates; QCursor::pos by default.
    using SourcePointeur = std::function<QPoint()>;
    void setSourcePointeur(SourcePointeur source);

    QSize sizeHint() const override { return QSize(75, 23); }

signals:
    // Declared in the order the windows know them by; keep it.
    void Click();
    void KeyDown(qint16 &KeyCode, qint16 &Shift);
    void KeyPress(qint16 &KeyAscii);
    void KeyUp(qint16 &KeyCode, qint16 &Shift);
    void MouseOut();
    void MouseDown(qint16 &Button, qint16 &Shift, float &X, float &Y);
    void MouseMove(qint16 &Button, qint16 &Shift, float &X, float &Y);
    void MouseUp(qint16 &Button, qint16 &Shift, float &X, float &Y);

protected:
    void changeEvent(QEvent *evenement) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;
    void showEvent(QShowEvent *evenement) override;
    void resizeEvent(QResizeEvent *evenement) override;
    void paintEvent(QPaintEvent *evenement) override;
    void mousePressEvent(QMouseEvent *evenement) override;
    void mouseMoveEvent(QMouseEvent *evenement) override;
    void mouseReleaseEvent(QMouseEvent *evenement) override;
    void keyPressEvent(QKeyEvent *evenement) override;
    void keyReleaseEvent(QKeyEvent *evenement) override;

private:
    using SignalSouris = void (xpcmdbutton::*)(qint16 &, qint16 &, float &, float &);
    // Emits a mouse event with the old control's codes; false when a handler deleted the button.
    bool emettreSouris(SignalSouris signal, qint16 boutons, const QMouseEvent *evenement);
    void dessiner(int cellule);
    void redessinerAuRepos();
    void centrerLegende();
    void verifierSortie();
    bool contient(const QPointF &position) const;

    QLabel *lbl;
    QTimer *Timer1;
    QImage m_face;
    SourcePointeur m_sourcePointeur;
    int m_state = 0;
    int m_celluleRepos = 0;
    int m_celluleAffichee = 0;
    // A left press on the button that a release over it will turn into Click.
    bool m_clicEnCours = false;
    // False while the caption is still the object name.
    bool m_legendeDonnee = false;
};

// The bar window's article buttons: the same control under its own name.
class BoutonEclaire : public xpcmdbutton
{
    Q_OBJECT
public:
    using xpcmdbutton::xpcmdbutton;
};

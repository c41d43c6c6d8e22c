#pragma once

#include "planning/SurfaceImage.h"

#include <QWidget>

#include <functional>

// A picture box of the planning window: shows its SurfaceImage, which keeps what is drawn, and
// reports the mouse buttons pressed and released on it.
class SurfaceDessin : public QWidget
{
    Q_OBJECT
public:
    SurfaceDessin(const char *nom, const QColor &fond, const QColor &texte, QWidget *parent);

    SurfaceImage &surface() { return m_surface; }
    const SurfaceImage &surface() const { return m_surface; }

    // Repaints what was drawn on the surface since the last call.
    void actualiser();

    // New size for the box and its picture at once, so that what is drawn next is drawn at that
    // size even while the box's own resize event is still pending (a hidden or maximising
    // window delivers it later): that late event then finds the picture at its size and keeps
    // it.
    void dimensionner(int largeur, int hauteur);

    // The tooltip at a point of the box; empty shows none.
    std::function<QString(const QPoint &)> infobulle;

signals:
    // The box was resized by something else than `dimensionner`: its picture is blank and
    // needs drawing again.
    void effacee();
    void boutonEnfonce(Qt::MouseButton bouton, const QPoint &position);
    void boutonRelache(Qt::MouseButton bouton, const QPoint &position);
    // Instead of the second press of a double click.
    void doubleClic(Qt::MouseButton bouton, const QPoint &position);
    // The pointer moved with a button held (the box follows only then).
    void pointeurDeplace(const QPoint &position);
    // A turn of the wheel, in eighths of a degree (120 a notch), with the keys held.
    void molette(int angle, Qt::KeyboardModifiers touches);

protected:
    void paintEvent(QPaintEvent *evenement) override;
    void resizeEvent(QResizeEvent *evenement) override;
    bool event(QEvent *evenement) override;
    void mousePressEvent(QMouseEvent *evenement) override;
    void mouseReleaseEvent(QMouseEvent *evenement) override;
    void mouseDoubleClickEvent(QMouseEvent *evenement) override;
    void wheelEvent(QWheelEvent *evenement) override;
    void mouseMoveEvent(QMouseEvent *evenement) override;

private:
    SurfaceImage m_surface;
};

#include "planning/SurfaceDessin.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

SurfaceDessin::SurfaceDessin(const char *nom, const QColor &fond, const QColor &texte,
                             QWidget *parent)
    : QWidget(parent), m_surface(fond, texte)
{
    setObjectName(QLatin1String(nom));
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click on the grid gives the planning the keys (pages, ends).
    setFocusPolicy(Qt::ClickFocus);
}

void SurfaceDessin::actualiser()
{
    const QRect zone = m_surface.zoneModifiee();
    if (!zone.isEmpty())
        update(zone);
}

void SurfaceDessin::paintEvent(QPaintEvent *evenement)
{
    QPainter peintre(this);
    const QRect zone = evenement->rect();
    peintre.fillRect(zone, m_surface.couleurFond);
    peintre.drawImage(zone, m_surface.image(), zone);
}

void SurfaceDessin::dimensionner(int largeur, int hauteur)
{
    // The picture first: a visible box then gets its resize event at once, which finds the
    // picture already at size.
    if (m_surface.largeur() != std::max(largeur, 1) || m_surface.hauteur() != std::max(hauteur, 1))
        m_surface.redimensionner(largeur, hauteur);
    resize(largeur, hauteur);
}

void SurfaceDessin::resizeEvent(QResizeEvent *evenement)
{
    QWidget::resizeEvent(evenement);
    if (m_surface.largeur() == std::max(width(), 1) && m_surface.hauteur() == std::max(height(), 1))
        return;
    m_surface.redimensionner(width(), height());
    emit effacee();
}

bool SurfaceDessin::event(QEvent *evenement)
{
    if (evenement->type() != QEvent::ToolTip || !infobulle)
        return QWidget::event(evenement);
    const auto *aide = static_cast<QHelpEvent *>(evenement);
    const QString texte = infobulle(aide->pos());
    if (texte.isEmpty()) {
        QToolTip::hideText();
        evenement->ignore();
    } else {
        QToolTip::showText(aide->globalPos(), texte, this);
    }
    return true;
}

void SurfaceDessin::mousePressEvent(QMouseEvent *evenement)
{
    emit boutonEnfonce(evenement->button(), evenement->position().toPoint());
}

void SurfaceDessin::mouseReleaseEvent(QMouseEvent *evenement)
{
    emit boutonRelache(evenement->button(), evenement->position().toPoint());
}

void SurfaceDessin::mouseDoubleClickEvent(QMouseEvent *evenement)
{
    emit doubleClic(evenement->button(), evenement->position().toPoint());
}

void SurfaceDessin::wheelEvent(QWheelEvent *evenement)
{
    // Some systems turn a wheel held with Shift into a sideways turn.
    const QPoint angle = evenement->angleDelta();
    const int tour = angle.y() != 0 ? angle.y() : angle.x();
    if (tour == 0) {
        evenement->ignore();
        return;
    }
    emit molette(tour, evenement->modifiers());
    evenement->accept();
}

void SurfaceDessin::mouseMoveEvent(QMouseEvent *evenement)
{
    emit pointeurDeplace(evenement->position().toPoint());
}

#include "planning/SurfaceDessin.h"

#include <QMouseEvent>
#include <QPainter>

SurfaceDessin::SurfaceDessin(const char *nom, const QColor &fond, const QColor &texte,
                             QWidget *parent)
    : QWidget(parent), m_surface(fond, texte)
{
    setObjectName(QLatin1String(nom));
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
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

void SurfaceDessin::resizeEvent(QResizeEvent *evenement)
{
    QWidget::resizeEvent(evenement);
    m_surface.redimensionner(width(), height());
}

void SurfaceDessin::mousePressEvent(QMouseEvent *evenement)
{
    emit boutonEnfonce(evenement->button(), evenement->position().toPoint());
}

void SurfaceDessin::mouseReleaseEvent(QMouseEvent *evenement)
{
    emit boutonRelache(evenement->button(), evenement->position().toPoint());
}

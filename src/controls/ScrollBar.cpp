#include "controls/ScrollBar.h"

#include <QLinearGradient>
#include <QPainter>

ScrollBar::ScrollBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ScrollBar"));
    resize(sizeHint());
}

void ScrollBar::setValue(int valeur)
{
    valeur = qBound(0, valeur, 100);
    if (valeur == m_valeur)
        return;
    m_valeur = valeur;
    update();
}

void ScrollBar::dessiner(QPainter &peintre, const QRect &zone, int valeur)
{
    peintre.fillRect(zone, QColor(0x40, 0x40, 0x40));
    const int largeur = zone.width() * qBound(0, valeur, 100) / 100;
    if (largeur > 0) {
        // The gradient spans the whole strip, so a growing value uncovers it rather than
        // squeezing it.
        QLinearGradient degrade(zone.topLeft(), zone.topRight());
        degrade.setColorAt(0.0, QColor(0x20, 0x40, 0xA0));
        degrade.setColorAt(0.5, QColor(0x30, 0x90, 0xE0));
        degrade.setColorAt(1.0, QColor(0x90, 0xE0, 0xFF));
        peintre.fillRect(QRect(zone.left(), zone.top(), largeur, zone.height()), degrade);
    }
    peintre.setPen(QColor(0x20, 0x20, 0x20));
    peintre.drawRect(zone.adjusted(0, 0, -1, -1));
}

void ScrollBar::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    dessiner(peintre, rect(), m_valeur);
}

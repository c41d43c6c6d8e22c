#include "app/CentrerFenetre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint positionCentree(const QRect &ecran, const QSize &cadre)
{
    const float gauche = std::max(0.0f, (ecran.width() - cadre.width()) / 2.0f);
    const float haut = std::max(0.0f, (ecran.height() - cadre.height()) / 2.0f);
    return ecran.topLeft() + QPoint(static_cast<int>(gauche), static_cast<int>(haut));
}

void CentrerFenetre(QWidget *fenetre)
{
    if (!fenetre)
        return;
    QScreen *ecran = fenetre->screen();
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    fenetre->move(positionCentree(ecran->geometry(), fenetre->frameGeometry().size()));
}

#include "app/PositionFenetre.h"

#include "conversion/Conversion.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace PositionFenetre {

QString texte(const QRect &geometrie)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(geometrie.x())
        .arg(geometrie.y())
        .arg(geometrie.width())
        .arg(geometrie.height());
}

std::optional<QRect> lire(const QString &valeur)
{
    if (valeur.trimmed() == QStringLiteral("0") || valeur.count(u'|') < 3)
        return std::nullopt;
    int nombres[4];
    for (int i = 0; i < 4; ++i) {
        const double lu = Conversion::ValeurNumerique(
            Conversion::ExtraireChamp(valeur, QStringLiteral("|"), qint16(i + 1)));
        // Sizes no screen has, or no number at all, leave the window where it is.
        if (!std::isfinite(lu) || std::fabs(lu) > 1e6)
            return std::nullopt;
        nombres[i] = int(std::lround(lu));
    }
    if (nombres[2] <= 0 || nombres[3] <= 0)
        return std::nullopt;
    return QRect(nombres[0], nombres[1], nombres[2], nombres[3]);
}

QString texteEtat(Qt::WindowStates etat)
{
    if (etat & Qt::WindowMinimized)
        return QStringLiteral("1");
    if (etat & Qt::WindowMaximized)
        return QStringLiteral("2");
    return QStringLiteral("0");
}

Qt::WindowStates etatDepuis(const QString &texte)
{
    const double valeur = Conversion::ValeurNumerique(texte);
    if (valeur == 1)
        return Qt::WindowMinimized;
    if (valeur == 2)
        return Qt::WindowMaximized;
    return Qt::WindowNoState;
}

QRect surUnEcran(const QRect &geometrie, const QList<QRect> &ecrans, const QRect &principal)
{
    // The screen it lies on most; the primary one when it lies on none.
    QRect ecran;
    qint64 recouvrement = 0;
    for (const QRect &candidat : ecrans) {
        const QRect commun = candidat.intersected(geometrie);
        const qint64 aire = qint64(commun.width()) * commun.height();
        if (!commun.isEmpty() && aire > recouvrement) {
            ecran = candidat;
            recouvrement = aire;
        }
    }
    const bool surAucun = ecran.isEmpty();
    if (surAucun)
        ecran = principal;
    if (ecran.isEmpty())
        return geometrie;
    const int largeur = std::min(geometrie.width(), ecran.width());
    const int hauteur = std::min(geometrie.height(), ecran.height());
    if (surAucun) {
        return QRect(ecran.x() + (ecran.width() - largeur) / 2,
                     ecran.y() + (ecran.height() - hauteur) / 2, largeur, hauteur);
    }
    if (largeur == geometrie.width() && hauteur == geometrie.height())
        return geometrie;
    // Larger than its screen (a stored size too large to be real): cut to the screen, then moved
    // wholly onto it, so that the window can be drawn at all.
    const int x = std::clamp(geometrie.x(), ecran.x(), ecran.x() + ecran.width() - largeur);
    const int y = std::clamp(geometrie.y(), ecran.y(), ecran.y() + ecran.height() - hauteur);
    return QRect(x, y, largeur, hauteur);
}

} // namespace PositionFenetre

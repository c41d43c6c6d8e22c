#include "controls/FondDialogue.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {
constexpr QRgb GrisSombre = 0xFF333333;
} // namespace

QImage assombrir(const QImage &instantane)
{
    if (instantane.isNull())
        return QImage();
    // Straight colours, so that a half-transparent pixel keeps its channels rather than their
    // premultiplied fraction.
    QImage image = instantane.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb *ligne = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ligne[x] = 0xFF000000u | (ligne[x] & 0x00777777u);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

QPoint positionPanneau(const QSize &ecran, const QSize &panneau)
{
    return QPoint((ecran.width() - panneau.width()) / 2, (ecran.height() - panneau.height()) / 2);
}

QImage imageDuBureau(const QPixmap &capture, const QSize &taille, qreal ratio)
{
    if (!capture.isNull())
        return capture.toImage();
    ratio = ratio > 0 ? ratio : 1;
    QImage uni((QSizeF(taille) * ratio).toSize(), QImage::Format_RGB32);
    if (uni.isNull())
        return uni;
    uni.setDevicePixelRatio(ratio);
    uni.fill(GrisSombre);
    return uni;
}

QImage instantaneDuBureau(QScreen *ecran)
{
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();
    if (!ecran)
        return QImage();
    return imageDuBureau(ecran->grabWindow(0), ecran->size(), ecran->devicePixelRatio());
}

void MontrerFondDialogue(QLabel *dessin, QWidget *Fond)
{
    if (!dessin)
        return;
    QWidget *hote = dessin->window();
    QScreen *ecran = hote->screen();
    if (!ecran)
        ecran = QGuiApplication::primaryScreen();
    if (!ecran)
        return;
    // The screen's own corner: (0, 0) on the main screen, its place in the desktop on another.
    const QRect surface = ecran->geometry();
    hote->setGeometry(surface);
    // The host's corner and a point of it, in the coordinates of a widget placed inside it.
    const auto dansHote = [hote](QWidget *widget, const QPoint &point) {
        QWidget *parent = widget->parentWidget();
        return widget == hote || !parent || parent == hote ? point : parent->mapFrom(hote, point);
    };

    dessin->clear();
    dessin->setVisible(true);
    QCoreApplication::processEvents();

    const QImage fond = assombrir(instantaneDuBureau(ecran));
    dessin->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (dessin != hote)
        dessin->setGeometry(QRect(dansHote(dessin, QPoint(0, 0)), surface.size()));
    dessin->setPixmap(QPixmap::fromImage(fond));
    dessin->lower();

    if (!Fond || Fond == hote)
        return;
    Fond->move(dansHote(Fond, positionPanneau(surface.size(), Fond->size())));
    Fond->raise();
}

static ElementsDuFond creerElementsDuFond(QWidget *hote, const QSize &taillePanneau)
{
    auto *dessin = new QLabel(hote);
    dessin->setObjectName(QStringLiteral("dessin"));
    auto *Fond = new QWidget(hote);
    Fond->setObjectName(QStringLiteral("Fond"));
    Fond->resize(taillePanneau);
    Fond->setAutoFillBackground(true);
    return {dessin, Fond};
}

ElementsDuFond preparerDialoguePleinEcran(QWidget *hote, const char *nom,
                                          const QSize &taillePanneau, bool modal)
{
    hote->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    hote->setObjectName(QLatin1String(nom));
    hote->setAttribute(Qt::WA_DeleteOnClose);
    if (modal)
        hote->setWindowModality(Qt::ApplicationModal);
    return creerElementsDuFond(hote, taillePanneau);
}

#include "controls/BarreSeparatrice.h"

#include "app/ValeurINI.h"
#include "conversion/Conversion.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {

const QColor Gris(128, 128, 128);
const QColor Noir(0, 0, 0);

int hauteurEcran(const QWidget *widget)
{
    if (const QScreen *ecran = widget->screen())
        return ecran->geometry().height();
    if (const QScreen *ecran = QGuiApplication::primaryScreen())
        return ecran->geometry().height();
    return 1080;
}

} // namespace

DispositionBarre DispositionBarre::calculer(const QRect &gauche, const QRect &barre,
                                            const QSize &interieur)
{
    DispositionBarre disposition;
    const int ecart = barre.left() - gauche.left();
    disposition.gauche = QRect(0, 0, ecart - 1, interieur.height());
    const int xDroite = ecart + 6;
    disposition.droite = QRect(xDroite, 0, interieur.width() - xDroite, interieur.height());
    disposition.positionReelle = (disposition.gauche.left() + disposition.gauche.width())
        * BarreSeparatrice::TwipsParPixel;
    return disposition;
}

BarreSeparatrice::BarreSeparatrice(QWidget *parent)
    : QWidget(parent), m_couleur(Gris), m_clignotement(new QTimer(this))
{
    setObjectName(QStringLiteral("BarreSeparatrice"));
    // The blink answers to the pointer passing over, no button held.
    setMouseTracking(true);
    setCursor(Qt::SplitHCursor);
    resize(Largeur, height());
    m_clignotement->setInterval(100);
    connect(m_clignotement, &QTimer::timeout, this, &BarreSeparatrice::clignotement_Timer);
}

void BarreSeparatrice::REFRESHING()
{
    if (m_inactive || !configuree())
        return;
    // Far taller than any container, so that it always covers the container's full height.
    const int hauteur = hauteurEcran(this);
    setGeometry(m_gauche->x() + m_gauche->width() + 1, -hauteur, Largeur, 3 * hauteur);
    m_appuye = true;
    appliquerDisposition();
    placerDevant();
}

void BarreSeparatrice::Controle_GAUCHEDROITE(QWidget *gauche, QWidget *droite, int positionorigine,
                                             QWidget *control_parent)
{
    m_gauche = gauche;
    m_droite = droite;
    m_parent = control_parent;
    m_fichier.clear();
    m_inactive = false;
    m_gauche->resize(qMax(0, positionorigine), m_gauche->height());
    REFRESHING();
}

void BarreSeparatrice::Controle_GAUCHEDROITE_avecMEMOIRE(QWidget *gauche, QWidget *droite,
                                                         QWidget *control_parent,
                                                         const QString &IO_rubrique,
                                                         const QString &IO_variable,
                                                         const QString &IO_fichier)
{
    m_gauche = gauche;
    m_droite = droite;
    m_parent = control_parent;
    m_rubrique = IO_rubrique;
    m_variable = IO_variable;
    m_fichier = IO_fichier;
    m_inactive = false;
    const int actuelle = gauche->width();
    const double lue = Conversion::ValeurNumerique(
        ValeurINI(IO_rubrique, IO_variable, QString::number(actuelle * TwipsParPixel), IO_fichier,
                  LIRE_ET_CREER));
    int largeur = actuelle;
    if (std::isfinite(lue)) {
        // A hand-edited or stale value must not push the bar out of reach.
        largeur
            = int(std::lround(qBound(0.0, lue / TwipsParPixel, double(largeurGaucheMaximale()))));
    }
    gauche->setGeometry(0, gauche->y(), largeur, gauche->height());
    REFRESHING();
}

void BarreSeparatrice::appliquerDisposition()
{
    m_appuye = false;
    if (!configuree())
        return;
    const QRect interieur = m_parent->contentsRect();
    const DispositionBarre disposition
        = DispositionBarre::calculer(m_gauche->geometry(), geometry(), interieur.size());
    auto borner = [](QRect r) {
        r.setWidth(qMax(0, r.width()));
        return r;
    };
    m_gauche->setGeometry(borner(disposition.gauche));
    m_droite->setGeometry(borner(disposition.droite));
    m_inactive = true;
    m_positionReelle = disposition.positionReelle;
    if (!m_fichier.isEmpty())
        ValeurINI(m_rubrique, m_variable, QString::number(m_positionReelle), m_fichier, ECRIRE);
    QPointer<BarreSeparatrice> vivante(this);
    emit Changed();
    if (vivante)
        m_inactive = false;
}

void BarreSeparatrice::placerDevant()
{
    if (m_gauche)
        m_gauche->lower();
    if (m_droite)
        m_droite->lower();
}

int BarreSeparatrice::largeurGaucheMaximale() const
{
    return qMax(0, m_parent->contentsRect().width() - Largeur - 2);
}

int BarreSeparatrice::xDansLesLimites(int x) const
{
    // The left pane's width is the bar's distance from it, less the 1-pixel gap.
    const int minimum = m_gauche->x() + 1;
    const int maximum = m_gauche->x() + 1 + largeurGaucheMaximale();
    return qMax(minimum, qMin(x, maximum));
}

void BarreSeparatrice::clignotement_Timer()
{
    if (m_compteurClignotement < 1) {
        m_clignotement->stop();
        return;
    }
    m_couleur = m_couleur == Gris ? Noir : Gris;
    --m_compteurClignotement;
    if (m_compteurClignotement == 0)
        m_couleur = Gris;
    update();
}

void BarreSeparatrice::paintEvent(QPaintEvent *evenement)
{
    QPainter peintre(this);
    peintre.fillRect(evenement->rect(), m_couleur);
}

void BarreSeparatrice::mousePressEvent(QMouseEvent *evenement)
{
    // A bar without panes has nothing to move: it only blinks.
    if (evenement->button() != Qt::LeftButton || !configuree())
        return;
    m_appuye = true;
    placerDevant();
    m_glisse = true;
    m_departSouris = int(std::floor(evenement->globalPosition().x()));
    m_departBarre = x();
}

void BarreSeparatrice::mouseMoveEvent(QMouseEvent *evenement)
{
    if (m_glisse && (evenement->buttons() & Qt::LeftButton)) {
        const int deplacement = int(std::floor(evenement->globalPosition().x())) - m_departSouris;
        move(xDansLesLimites(m_departBarre + deplacement), y());
        return;
    }
    if (evenement->buttons() != Qt::NoButton)
        return;
    if (m_appuye) {
        // The drop was not seen (the button came up elsewhere): the first free move lays out.
        m_glisse = false;
        appliquerDisposition();
        return;
    }
    m_compteurClignotement = 5;
    if (!m_clignotement->isActive())
        m_clignotement->start();
}

void BarreSeparatrice::mouseReleaseEvent(QMouseEvent *evenement)
{
    if (evenement->button() != Qt::LeftButton || !m_glisse)
        return;
    m_glisse = false;
    if (m_appuye)
        appliquerDisposition();
}

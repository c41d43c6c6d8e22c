#include "app/SavePosition.h"

#include "app/PositionFenetre.h"
#include "app/ValeurINI.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

SavePosition::SavePosition(QWidget *fenetre) : QObject(fenetre), m_fenetre(fenetre)
{
    setObjectName(QStringLiteral("SavePosition"));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, &SavePosition::Timer1_Timer);
    if (fenetre)
        fenetre->installEventFilter(this);
}

QWidget *SavePosition::cadre() const
{
    if (!m_fenetre)
        return nullptr;
    if (auto *sousFenetre = qobject_cast<QMdiSubWindow *>(m_fenetre->parentWidget()))
        return sousFenetre;
    return m_fenetre;
}

QString SavePosition::section() const
{
    if (Section == QStringLiteral("default") && m_fenetre)
        return m_fenetre->objectName();
    return Section;
}

void SavePosition::init(QWidget *fenetre, const QString &fichier, const QString &section)
{
    if (fenetre && fenetre != m_fenetre) {
        if (m_fenetre)
            m_fenetre->removeEventFilter(this);
        m_fenetre = fenetre;
        fenetre->installEventFilter(this);
    }
    if (!fichier.isEmpty())
        FichierINI = fichier;
    Section = section;
    restaurer(false);
}

QRect SavePosition::dansLEcran(const QWidget *fenetre, const QRect &place)
{
    QList<QRect> ecrans;
    for (const QScreen *ecran : QGuiApplication::screens())
        ecrans << ecran->availableGeometry();
    const QScreen *principal = QGuiApplication::primaryScreen();
    const QRect ecranPrincipal = principal ? principal->availableGeometry() : QRect();
    if (fenetre->isWindow())
        return PositionFenetre::surUnEcran(place, ecrans, ecranPrincipal);
    // A sub-window lives inside the frame, which itself fits on a screen: no larger than that.
    if (ecranPrincipal.isEmpty())
        return place;
    return QRect(place.topLeft(), place.size().boundedTo(ecranPrincipal.size()));
}

void SavePosition::restaurer(bool premierTic)
{
    Timer1.start();
    QWidget *fenetre = cadre();
    if (!fenetre)
        return;
    const QString etat
        = ValeurINI(section(), QStringLiteral("PositionsTaille"),
                    PositionFenetre::texteEtat(fenetre->windowState()), FichierINI, LIRE);
    const Qt::WindowStates voulu = PositionFenetre::etatDepuis(etat);
    const bool dejaDansLEtat
        = PositionFenetre::texteEtat(fenetre->windowState()) == PositionFenetre::texteEtat(voulu);
    // A window already maximised (or minimised) as stored keeps its size: its normal place was
    // given before that state was, and giving it again now would shrink the window back to it
    // while it stays maximised.
    const bool placeAAppliquer = !dejaDansLEtat || voulu == Qt::WindowNoState;
    const QString positions
        = ValeurINI(section(), QStringLiteral("Positions"), QStringLiteral("0"), FichierINI, LIRE);
    if (const std::optional<QRect> lue = PositionFenetre::lire(positions)) {
        const QRect place = dansLEcran(fenetre, *lue);
        if (placeAAppliquer) {
            fenetre->move(place.topLeft());
            fenetre->resize(place.size());
        }
        if (premierTic)
            m_derniere = QRect(place.topLeft(), place.size());
    }
    // Set only when it changes: asking a sub-window for the state it already has sends it back
    // to a "normal" size it never had.
    if (!dejaDansLEtat)
        fenetre->setWindowState(voulu);
    if (premierTic)
        m_restauree = true;
    // Without a window manager (a bare X server) nobody gives a maximised window the screen:
    // once the manager has had time to, it is given by hand.
    if (premierTic && fenetre->isWindow() && (voulu & Qt::WindowMaximized)) {
        QTimer::singleShot(500, this, [this] {
            QWidget *fenetre = cadre();
            if (!fenetre || !fenetre->isMaximized() || !fenetre->screen())
                return;
            const QRect ecran = fenetre->screen()->availableGeometry();
            if (fenetre->frameGeometry().contains(ecran))
                return;
            // Giving a place ends the maximised state: it is asked for again at once.
            fenetre->setGeometry(ecran);
            fenetre->setWindowState(fenetre->windowState() | Qt::WindowMaximized);
        });
    }
}

void SavePosition::Timer1_Timer()
{
    QWidget *fenetre = cadre();
    if (!fenetre)
        return;
    if (!m_restauree) {
        restaurer(true);
        return;
    }
    const QRect place(fenetre->pos(), fenetre->size());
    const QString etat = PositionFenetre::texteEtat(fenetre->windowState());
    // A maximised window keeps its normal place in the file; its state is written once, not at
    // every tick while it stays maximised.
    const bool normale = etat == QStringLiteral("0");
    if (place != m_derniere && (normale || etat != m_dernierEtat)) {
        ValeurINI(section(), QStringLiteral("PositionsTaille"), etat, FichierINI, ECRIRE);
        m_dernierEtat = etat;
        if (normale) {
            ValeurINI(section(), QStringLiteral("Positions"), PositionFenetre::texte(place),
                      FichierINI, ECRIRE);
            m_derniere = place;
        }
    }
    const bool visible = m_fenetre->isVisible();
    if (visible != m_dernierVisible) {
        ValeurINI(section(), QStringLiteral("Visible"),
                  visible ? QStringLiteral("OUI") : QStringLiteral("NON"), FichierINI, ECRIRE);
        m_dernierVisible = visible;
    }
}

bool SavePosition::eventFilter(QObject *objet, QEvent *evenement)
{
    // The first showing runs the first tick at once, as the first paint did.
    if (objet == m_fenetre && evenement->type() == QEvent::Show && m_premierAffichage) {
        m_premierAffichage = false;
        Timer1_Timer();
    }
    return QObject::eventFilter(objet, evenement);
}

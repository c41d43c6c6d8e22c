#include "planning/OuvertureReservation.h"

#include "reservations/Appelante.h"
#include "reservations/reservations.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>

namespace OuvertureReservation {

namespace {

// Ends a wait when the watched window is enabled again.
class GuetteurActivation : public QObject
{
public:
    GuetteurActivation(QWidget *fenetre, QEventLoop &boucle) : m_fenetre(fenetre), m_boucle(boucle)
    {
        fenetre->installEventFilter(this);
    }

    bool eventFilter(QObject *objet, QEvent *evenement) override
    {
        if (objet == m_fenetre && evenement->type() == QEvent::EnabledChange
            && m_fenetre->isEnabled())
            m_boucle.quit();
        return false;
    }

private:
    QWidget *m_fenetre;
    QEventLoop &m_boucle;
};

} // namespace

void remplir(reservations &dialogue, const ReservationAffichee &barre, Appelante *appelante)
{
    dialogue.Fonction_Modifier();
    dialogue.remplirDepuis(barre);
    dialogue.show();
    dialogue.datedebut_LostFocus();
    dialogue.AfficherLeTicket();
    dialogue.FormAppelante(appelante);
}

void attendreReactivation(QWidget *fenetre, QWidget *dialogue)
{
    QPointer<QWidget> suivi(dialogue);
    if (fenetre->isEnabled() || !suivi)
        return;
    QEventLoop boucle;
    GuetteurActivation guetteur(fenetre, boucle);
    QObject::connect(dialogue, &QObject::destroyed, &boucle, &QEventLoop::quit);
    boucle.exec();
}

void attendreFermeture(QWidget *dialogue)
{
    QPointer<QWidget> suivi(dialogue);
    if (!suivi)
        return;
    QEventLoop boucle;
    QObject::connect(dialogue, &QObject::destroyed, &boucle, &QEventLoop::quit);
    boucle.exec();
}

} // namespace OuvertureReservation

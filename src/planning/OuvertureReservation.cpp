#include "planning/OuvertureReservation.h"

#include "reservations/Appelante.h"
#include "reservations/SaisieReservation.h"
#include "reservations/reservations.h"

#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    dialogue.NomClient->setText(barre.nomclient);
    // A missing date leaves its boxes as they are, as a failed assignment did.
    if (barre.DateDebut.isValid())
        dialogue.datedebut->setText(barre.DateDebut.toString(QStringLiteral("dd/MM/yyyy")));
    if (barre.DateFin.isValid())
        dialogue.datefin->setText(barre.DateFin.toString(QStringLiteral("dd/MM/yyyy")));
    if (barre.DateDebut.isValid())
        dialogue.heuredebut->setText(barre.DateDebut.toString(QStringLiteral("HH:mm")));
    if (barre.DateFin.isValid())
        dialogue.heurefin->setText(barre.DateFin.toString(QStringLiteral("HH:mm")));
    dialogue.arrhes->setText(SaisieReservation::texteArrhes(barre.arrhes));
    if (barre.datelimite.isValid())
        dialogue.datelimite->setText(barre.datelimite.toString(QStringLiteral("dd/MM/yyyy")));
    dialogue.nbadultes->setText(QString::number(barre.nbadultes));
    dialogue.nbenfants->setText(QString::number(barre.nbenfants));
    dialogue.etat->setEditText(barre.libelleetat);
    const QString numero = QString::number(barre.NumeroReservation);
    dialogue.numreservation->setText(numero);
    dialogue.remarque->setPlainText(barre.remarque);
    dialogue.telephone->setText(barre.telephone);
    dialogue.Email->setText(barre.email);
    // The blank after the number is part of the test: object 1 is not the entry of object 12.
    const QString debutEntree = QString::number(barre.objet) + u' ';
    for (int n = 0; n < dialogue.Objets->count(); ++n) {
        if (dialogue.Objets->itemText(n).startsWith(debutEntree)) {
            dialogue.Objets->setCurrentIndex(n);
            dialogue.setWindowTitle(QStringLiteral("Réservation ") + numero);
        }
    }
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

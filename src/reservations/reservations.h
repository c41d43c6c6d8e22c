#pragma once

#include "planning/ReservationAffichee.h"
#include "reservations/ConflitDeVersion.h"

#include <QPointer>
#include <QSqlError>
#include <QVector>
#include <QWidget>

#include <functional>
#include <optional>

class Appelante;
class Contexte;
class OngletFacture;
class OngletPrestations;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class Recordset;
class TicketDeCaisse;
class xpcmdbutton;

// The one dialog where a reservation is typed in, looked at, changed or deleted. It covers the
// screen over a darkened picture of it, with its panel `Fond` in the middle. Closing it, by
// whatever button, deletes it: every opening starts afresh from the design values.
//
// New mode: Fonction_Ajouter, then shown modally. Modify mode: Fonction_Modifier, the fields
// filled by the opener, shown without modality while the opener waits, disabled, for the dialog
// to enable it again.
class reservations : public QWidget
{
    Q_OBJECT
public:
    // `planning` is the planning window, which every save moves to the arrival day.
    reservations(Contexte &contexte, Appelante *planning);
    ~reservations() override;

    // The window that waits for this dialog, to be enabled again and shown the stay saved. Each
    // dialog is made anew, so it knows no caller until its opener names one.
    void FormAppelante(Appelante *fenetre);
    void TrouverReservation(const QString &numero);
    void Fonction_Ajouter();
    void Fonction_Modifier();
    // The boxes filled from the stay as stored. A save compares the row with it, to know
    // whether another desk stored the stay since.
    void remplirDepuis(const ReservationAffichee &sejour);
    // Copies every box into the current row of `jeu`, which the caller has put into add or edit
    // state. A box whose text the field cannot take is skipped; the field keeps its value.
    void miseajourtousleschamps(Recordset &jeu);
    void AfficherLeTicket();
    // The nights counter, also run by the opener once it has filled the dates.
    void datedebut_LostFocus();

    // The till's windows: the payment dialog and the bar, each given the reservation number as
    // the dialog shows it. Tests put their own here.
    std::function<void(const QString &numero)> ouvrirEncaissement;
    std::function<void(const QString &numero)> ouvrirBar;

    QLabel *dessin;
    QWidget *Fond;
    QLabel *titrelibelle;
    QLabel *numreservation;
    QLineEdit *NomClient;
    QLineEdit *datedebut;
    QLineEdit *heuredebut;
    QLineEdit *datefin;
    QLineEdit *heurefin;
    QLabel *Nbjour;
    QComboBox *Objets;
    QComboBox *etat;
    QLineEdit *nbadultes;
    QLineEdit *nbenfants;
    QLineEdit *arrhes;
    QLineEdit *datelimite;
    QPlainTextEdit *remarque;
    QLineEdit *telephone;
    QLineEdit *Email;
    QLabel *du;
    TicketDeCaisse *Ticket;
    TicketDeCaisse *ticketconso;
    TicketDeCaisse *tickethisto;
    QTabWidget *infos;
    xpcmdbutton *ajouter;
    xpcmdbutton *Modifier;
    xpcmdbutton *supprimer;
    xpcmdbutton *Annuler;
    xpcmdbutton *xpcmdbutton1;
    xpcmdbutton *BoutonBAR;
    xpcmdbutton *Confirmation;
    xpcmdbutton *Encaisser;
    QVector<xpcmdbutton *> ImprimerContrat;
    OngletFacture *facture;
    OngletPrestations *prestations;

protected:
    void closeEvent(QCloseEvent *evenement) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    // The buttons' handlers: only the buttons call them.
    void ajouter_Click();
    void Modifier_Click();
    void supprimer_Click();
    void Annuler_Click();
    void xpcmdbutton1_Click();
    void Confirmation_Click();
    void ImprimerContrat_Click(int index);
    // The contract as PDF, opened, or handed to the mail program with the client's address.
    void envoyerContrat(bool parCourriel);
    void BoutonBAR_Click();
    void Encaisser_Click();
    void infos_Click(int onglet);
    void datefin_LostFocus();

    void construire();
    void charger();
    // The checks before a save, then the default client name: the typed texts, then the stays
    // of the object the typed one would clash with, which the owner must choose to store beside
    // (`numeroDuSejour`: the stay being changed, 0 for a new one). False when nothing may be
    // stored; the dialog keeps what was typed.
    bool validerLaSaisie(qint32 numeroDuSejour);
    bool accepterLesChevauchements(qint32 numeroDuSejour);
    // The caller set by FormAppelante, while its window lives.
    Appelante *appelante() const;
    void reactiverAppelante();
    qint32 numeroAffiche() const;
    // The number of the stay being changed or deleted, as the opener wrote it in the window
    // caption "Réservation " + number: the caption from its twelfth character, the blank
    // before the number included.
    QString numeroDuTitre() const;
    // The row and its journal note, in one transaction: both are stored or neither.
    QSqlError enregistrerNouvelle(qint32 &numero);
    // Stores nothing and sets `changeAilleurs` when the row is no longer the one opened, unless
    // `parDessus`: the owner chose to store over it, which the journal then says.
    QSqlError enregistrerModification(bool parDessus, bool *changeAilleurs,
                                      const QStringList &champsRemplaces = {});
    // Another desk stored the stay since it was opened: what changed, and the owner's choice.
    // True when the stay was stored over theirs.
    bool resoudreLeConflit();
    // Deleting a stay changed elsewhere since it was opened asks first; false when the owner
    // goes back.
    bool confirmerSuppression();
    // The boxes as typed, as ConflitDeVersion compares them.
    QVector<ConflitDeVersion::Champ> champsSaisis() const;
    // A note of the journal; a refusal is told in French. False when the note was refused.
    bool noter(const QString &libelle);
    // The French message of a refused write, with what the base said.
    void signalerRefus(const QString &debut, const QSqlError &erreur);
    void remplirTicketDate(TicketDeCaisse *ticket, const QString &texteSql, bool avecMontant);

    Contexte &m_contexte;
    Appelante *m_planning;
    QPointer<QWidget> m_fenetreAppelante;
    // Why the last save could not bring the carried services into line with the stay (its new
    // nights have no tariff); empty when it could or had nothing to carry.
    QString m_compteNonSuivi;
    Appelante *m_appelante = nullptr;
    std::optional<ReservationAffichee> m_ouverte; // the stay as stored when the dialog opened
};

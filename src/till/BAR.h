#pragma once

#include <QVector>
#include <QWidget>

class BoutonEclaire;
class Contexte;
class QLabel;
class QLineEdit;
class TicketDeCaisse;
class xpcmdbutton;

// Sells bar consumptions to one reservation: a lit-up button per article, a receipt strip of the
// sales, a display for the quantity or the running total; every sale is charged to the
// reservation's account at once. Full screen over the darkened screen; deleted when closed.
class BAR : public QWidget
{
    Q_OBJECT
public:
    explicit BAR(Contexte &contexte);

    // Running total of this opening's sales; the opener sets it to 0.
    double totaldu = 0;

    QLabel *dessin;
    QWidget *Fond;
    // One button per article read, none when the base holds no article; `aucunArticle` then
    // says so where the buttons would stand.
    QVector<BoutonEclaire *> Consommation;
    QLabel *aucunArticle;
    TicketDeCaisse *Ticket;
    QLabel *R;
    QLineEdit *afficheur;
    QLabel *infos;
    QLabel *reservation;
    QVector<xpcmdbutton *> calc;
    xpcmdbutton *encaissemnt;
    xpcmdbutton *Quitter;

signals:
    // The sales are in the journal: the reservation's account is to be shown again.
    void compteAMettreAJour();

protected:
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    void charger();
    BoutonEclaire *nouvelArticle(int index);
    void Consommation_Click(int index);
    void Consommation_MouseMove(int index);
    void Consommation_KeyPress(qint16 KeyAscii);
    // The display stands for the quantity of the next sale: "1", selected whole.
    void afficheur_GotFocus(Qt::FocusReason raison);
    void encaissemnt_Click();
    void Quitter_Click();

    Contexte &m_contexte;
};

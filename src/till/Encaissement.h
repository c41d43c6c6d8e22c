#pragma once

#include <QVector>
#include <QWidget>

class Contexte;
class QLabel;
class QLineEdit;
class QPushButton;
class xpcmdbutton;

// Records one payment for a reservation: the kind (cash, card, cheque, transfer), the amount
// and a comment. Full screen over the darkened screen, its panel `Fond` in the middle; deleted
// when closed.
class Encaissement : public QWidget
{
    Q_OBJECT
public:
    explicit Encaissement(Contexte &contexte);

    QLabel *dessin;
    QWidget *Fond;
    QLabel *reservation;
    QVector<xpcmdbutton *> typereglemement;
    QLabel *typepaiement;
    QLineEdit *montant;
    QLineEdit *commentaire;
    QPushButton *OK;
    QPushButton *Annuler;

signals:
    // A payment was recorded: the reservation's account is to be shown again.
    void compteAMettreAJour();

protected:
    // Enter presses OK, as in any dialog: the amount is typed, then confirmed from the keyboard.
    // Escape presses Annuler.
    void keyPressEvent(QKeyEvent *evenement) override;

private:
    void typereglemement_Click(int index);
    void OK_Click();
    void Annuler_Click();

    Contexte &m_contexte;
};

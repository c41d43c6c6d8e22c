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

    // Handlers, public so the tests press the buttons as a person would.
    void typereglemement_Click(int index);
    void OK_Click();
    void Annuler_Click();

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
    void keyPressEvent(QKeyEvent *evenement) override;

private:
    Contexte &m_contexte;
};

#pragma once

#include <QWidget>

#include <functional>

class Contexte;
class QLabel;
class QTreeWidget;

// The places sold twice: every pair of stays holding one object at the same time, from today
// on, so that the owner moves one of them before both guests arrive. A double click opens the
// later of the two, the one usually booked by mistake. Kept when closed and read again each time
// it is shown.
class Conflits : public QWidget
{
    Q_OBJECT
public:
    explicit Conflits(Contexte &contexte, QWidget *parent = nullptr);

    QTreeWidget *conflits;
    QLabel *compte;

    // Opens the stay `numero` and returns once its dialog is closed; the list is read again
    // afterwards, as the clash may be gone. Empty: a double click does nothing.
    std::function<void(qint32 numero)> ouvrirSejour;

    // Reads the list again from the base.
    void actualiser();

protected:
    void showEvent(QShowEvent *evenement) override;

private:
    void sejour_DoubleClic(qint32 numero);

    Contexte &m_contexte;
};

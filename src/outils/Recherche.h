#pragma once

#include "data/RechercheSejours.h"

#include <QDialog>

#include <functional>

class Contexte;
class QLabel;
class QLineEdit;
class QTreeWidget;

// Finds a client among the stays as the owner types a part of the name, a phone, an e-mail or
// a reservation number, and opens the stay chosen. The stays are read into memory each time the
// window is shown, so a stay recorded meanwhile is found.
class Recherche : public QDialog
{
    Q_OBJECT
public:
    explicit Recherche(Contexte &contexte, QWidget *parent = nullptr);

    // At most that many rows are listed, the most recent arrivals.
    static constexpr int LignesAuPlus = 200;

    QLineEdit *texteRecherche;
    QTreeWidget *resultats;
    QLabel *compte;

    // Called with the chosen stay's number once the window has closed; empty does nothing.
    std::function<void(qint32 numero)> ouvrirSejour;

    // Reads the index again and lists what the text finds: another desk stored a stay.
    void charger();

protected:
    void showEvent(QShowEvent *evenement) override;
    // Closed, the window gives back the memory of its index (tens of megabytes on a large site):
    // the next opening reads it anew anyway.
    void hideEvent(QHideEvent *evenement) override;
    // Up and Down in the text move through the list, Enter in either opens the stay.
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    void rafraichir();
    void deplacerSelection(int pas);
    void ouvrirSelection();

    Contexte &m_contexte;
    IndexRecherche m_index;
    QString m_erreurDeLecture; // set when the stays could not be read
};

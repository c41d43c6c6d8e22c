#pragma once

#include <QDate>
#include <QWidget>

class Contexte;
class QComboBox;

// The planning window: objects as rows, days as columns from `datedepart`. Its load initialises
// the whole application.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(Contexte &contexte, QWidget *parent = nullptr);

    // The start-up sequence. Returns false when the database could not be opened: the user has
    // been told and the program must end.
    bool charger();

    // Redraws from the database and sets the selectors to `datedepart`.
    void rafraichir();

    // "Auj.": the period starts today.
    void mouvementaujourdhui_Click();

    QDate datedepart;
    int largeurjour = 20;
    int hauteurligne = 20;
    qint32 reservation_encours = 0;
    qint32 reservation_courante = 0;

    QWidget *fondplanning;
    QWidget *colonnes;
    QComboBox *choixannee;
    QComboBox *choixmois;
    QComboBox *ChoixSelection;

    // The design inner size, which the frame's sub-window starts from.
    QSize sizeHint() const override { return QSize(669, 386); }

protected:
    void resizeEvent(QResizeEvent *evenement) override;

private:
    void afficherDansLeCadre();
    // The year and month of `datedepart` in the selectors.
    void afficherPeriode();

    Contexte &m_contexte;
    bool m_redimensionnementEnCours = false;
};

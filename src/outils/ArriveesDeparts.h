#pragma once

#include "data/MouvementsDuJour.h"

#include <QDate>
#include <QWidget>

#include <functional>

class Contexte;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextDocument;
class QTreeWidget;

// The day's arrivals and departures, for the desk's morning: a day chosen (today to start
// with), who comes and who leaves, each stay opened by a double click, the whole day printed on
// one page. A day without a printer set up is written as a PDF in the documents folder.
class ArriveesDeparts : public QWidget
{
    Q_OBJECT
public:
    explicit ArriveesDeparts(Contexte &contexte, QWidget *parent = nullptr);
    ~ArriveesDeparts() override;

    // Opens the stay `numero` and returns once its dialog is closed; the lists are read again
    // afterwards, as the stay may have changed. Empty: a double click does nothing.
    std::function<void(qint32 numero)> ouvrirSejour;

    QDate jourAffiche() const { return m_journee.jour; }
    // Shows `jour` and reads its lists.
    void afficherJour(const QDate &jour);
    // Reads the lists of the day shown again.
    void actualiser();

    QPushButton *jourPrecedent;
    QLineEdit *jour;
    QLabel *jourEnLettres;
    QPushButton *jourSuivant;
    QPushButton *imprimer;
    QLabel *erreur;
    QLabel *nombreArrivees;
    QTreeWidget *arrivees;
    QLabel *nombreDeparts;
    QTreeWidget *departs;

private:
    void jour_Valide();
    void sejour_DoubleClic(qint32 numero);
    void imprimer_Click();
    void imprimerSurImprimante(const QTextDocument &document);
    void enregistrerEnPdf(const QTextDocument &document);

    Contexte &m_contexte;
    MouvementsDuJour::Journee m_journee;
    bool m_valideEnCours = false;
};

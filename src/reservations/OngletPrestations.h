#pragma once

#include "data/DecompteSejour.h"

#include <QWidget>

class Contexte;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;
class xpcmdbutton;

// The "Prest." tab of a stay: the services it takes, the adults exempt from the tourist tax, what
// the stay costs line by line, and "Porter au compte", which carries the lines into its account
// (differences as counter-entries and new charges).
class OngletPrestations : public QWidget
{
    Q_OBJECT
public:
    explicit OngletPrestations(Contexte &contexte, QWidget *parent = nullptr);

    // Reads the stay `reservation` as stored, its choices and the catalogue; 0 (a stay not yet
    // stored) shows why nothing can be counted.
    void charger(int reservation);

    // The lines as shown, and why there are none when they could not be counted.
    const DecompteSejour::Decompte &decompte() const { return m_decompte; }

signals:
    // Lines were carried: the account shown beside must be read again.
    void comptePorte();

private:
    void recalculer();
    void porterAuCompte();
    QVector<TarifsEtablissement::Choix> choixAffiches() const;

    Contexte &m_contexte;
    int m_reservation = 0;
    bool m_remplissage = false;
    DecompteSejour::Sejour m_sejour;
    DecompteSejour::Decompte m_decompte;
    QVector<TarifsEtablissement::Prestation> m_catalogue;
    QTableWidget *m_prestations;
    QSpinBox *m_exoneres;
    QPlainTextEdit *m_lignes;
    QLabel *m_total;
    xpcmdbutton *m_porter;
};

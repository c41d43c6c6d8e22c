#pragma once

#include "app/ReglagesEtablissement.h"

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The "Établissement" tab of the settings: who the establishment is on its invoices and
// contracts, and how the tourist tax is reckoned. Shows what the settings file holds when the
// dialog opens; "Enregistrer" checks every field and writes them all, or says in French what is
// refused and leaves what was typed.
class OngletEtablissement : public QWidget
{
    Q_OBJECT
public:
    explicit OngletEtablissement(QWidget *parent = nullptr);

    QLineEdit *nom;
    QLineEdit *adresse;
    QLineEdit *codePostal;
    QLineEdit *ville;
    QLineEdit *telephone;
    QLineEdit *email;
    QLineEdit *siret;
    QLineEdit *numeroTva;
    QPlainTextEdit *mentions;
    QPlainTextEdit *conditions;
    QRadioButton *taxeFixe;
    QRadioButton *taxePourcentage;
    QLineEdit *tarif;
    QLineEdit *pourcentage;
    QLineEdit *plafond;
    QLineEdit *majoration;
    QPushButton *enregistrer;
    QLabel *etat;

private:
    void montrer(const Etablissement &etablissement);
    // The fields of the tax's other mode are greyed.
    void actualiserTaxe();
    // The fields as settings; nothing when one is refused, which is then said and given the
    // focus.
    std::optional<Etablissement> lireChamps();
    void enregistrer_Click();

    // As stored: a greyed field that cannot be read keeps this value.
    Etablissement m_stocke;
};

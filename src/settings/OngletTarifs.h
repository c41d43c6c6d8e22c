#pragma once

#include "data/TarifsEtablissement.h"

#include <QVector>
#include <QWidget>

#include <optional>

class Contexte;
class QComboBox;
class QPushButton;
class QTableWidget;

// The "Tarifs" tab of the settings: the seasons of each category of objects, stored together
// by "Enregistrer les saisons", and the catalogue of services, stored by "Enregistrer les
// prestations". Both tables are typed in; a refused value is said in French with its line, and
// what was typed stays.
class OngletTarifs : public QWidget
{
    Q_OBJECT
public:
    explicit OngletTarifs(Contexte &contexte, QWidget *parent = nullptr);

    QComboBox *categorie;
    QTableWidget *tableSaisons;
    QPushButton *ajouterSaison;
    QPushButton *retirerSaison;
    QPushButton *enregistrerSaisons;
    QTableWidget *tablePrestations;
    QPushButton *ajouterPrestation;
    QPushButton *enregistrerPrestations;

    // The categories read again (an object changed in the objects tab); the one chosen stays,
    // with what is typed in its seasons, unless no object nor season has it any more.
    void actualiserCategories();

private:
    // The seasons of the category chosen, as stored.
    void chargerSaisons();
    void changerDeCategorie();
    // Every cell of the seasons' table, to tell what was typed since they were read.
    QStringList textesDesSaisons() const;
    void chargerPrestations();
    void ajouterLigneSaison(const Tarification::Saison &saison, bool datesVides = false);
    void ajouterLignePrestation(const TarifsEtablissement::Prestation &prestation);
    void montrerPrestation(int ligne, const TarifsEtablissement::Prestation &prestation);
    // The table's lines as seasons, or as the service of line `ligne`; nothing when a value is
    // refused, which is then said and its cell chosen.
    std::optional<QVector<Tarification::Saison>> lireSaisons();
    std::optional<TarifsEtablissement::Prestation> lirePrestation(int ligne);
    void ajouterSaison_Click();
    void retirerSaison_Click();
    void enregistrerSaisons_Click();
    void ajouterPrestation_Click();
    void enregistrerPrestations_Click();
    // Another desk stored the service of line `ligne` since it was shown: true to store `votre`
    // over theirs, false when theirs was taken back (shown on the line), nothing to go back.
    std::optional<bool> garderLaMienne(int ligne, const TarifsEtablissement::Prestation &votre);
    void refuser(QTableWidget *table, int ligne, int colonne, const QString &refus);

    Contexte &m_contexte;
    // The category shown and its seasons as read, what another desk may have changed since.
    QString m_categorie;
    QVector<Tarification::Saison> m_saisons;
    QStringList m_saisonsChargees;
    // A line of the catalogue each, as read; number 0 for a line not stored yet.
    QVector<TarifsEtablissement::Prestation> m_prestations;
};

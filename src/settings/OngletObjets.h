#pragma once

#include "data/ObjetsEtablissement.h"
#include "data/RegleObjet.h"

#include <QObject>

#include <functional>

class Contexte;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// The "Objets" tab of the settings: the objects in planning order in the left pane, the one
// chosen edited in the right pane. Every change is stored at once; a refused one is said in
// French and leaves what was typed in its field.
class OngletObjets : public QObject
{
    Q_OBJECT
public:
    OngletObjets(Contexte &contexte, QFrame *gauche, QFrame *droite, QObject *parent);

    // The file chooser of "Importer…"; an empty path when the owner cancels. Tests put their
    // own here.
    std::function<QString()> choisirFichier;

signals:
    // An object added, changed, moved or removed: the planning is to be drawn again.
    void modifie();

private:
    // A text field and the column it stores.
    struct Champ
    {
        QLineEdit *saisie;
        QString colonne;
        RegleObjet::Lecture (*lire)(const QString &);
        QString libelle; // as the owner reads it
    };

    // Another desk stored the field since it was shown: true to store `votre` over theirs,
    // false when theirs was taken back (the object shown again), nothing to go back.
    std::optional<bool> garderLaMienne(int ligne, const Champ &champ, const QVariant &votre);

    void construireGauche();
    void construireDroite();
    // Reads the objects again and chooses the one of `rowid`, or the row `ligneSinon` when it
    // has gone (the last row when past the end).
    void charger(qint64 rowid, int ligneSinon = 0);
    void chargerCategories();
    void montrer(int ligne);
    void actualiserLigne(int ligne);
    void actualiserBoutons();
    const ObjetEtablissement *objetChoisi() const;

    void enregistrerChamp(const Champ &champ);
    void retire_Click(bool retire);
    void ajouterObjet_Click();
    void dupliquerObjet_Click();
    void deplacer(int sens);
    void retirerObjet_Click();
    void supprimerObjet_Click();
    void importerObjets_Click();
    // Stores `retire` for the object chosen; false when refused (the owner has been told).
    bool changerRetrait(bool retire);
    // Tells the owner why `erreur` stopped `action`.
    void signaler(const QString &action, const QSqlError &erreur);

    Contexte &m_contexte;
    QFrame *m_gauche;
    QFrame *m_droite;
    QVector<ObjetEtablissement> m_objets;
    QVector<Champ> m_champs;
    // Set while a value is stored or a box is up: the box taking the focus ends the editing
    // of the field a second time, which must not store nor refuse it again.
    bool m_occupe = false;

    QListWidget *m_liste;
    QLineEdit *m_numero;
    QLineEdit *m_nom;
    QLineEdit *m_nomInternet;
    QLineEdit *m_fichier;
    QComboBox *m_categorie;
    QLineEdit *m_capacite;
    QCheckBox *m_retire;
    QPushButton *m_ajouter;
    QPushButton *m_dupliquer;
    QPushButton *m_monter;
    QPushButton *m_descendre;
    QPushButton *m_retirer;
    QPushButton *m_supprimer;
    QPushButton *m_importer;
};

#include "settings/OngletObjets.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "conversion/MessageErreur.h"
#include "data/ConflitEcriture.h"
#include "reservations/ConflitDeVersion.h"
#include "settings/ApercuImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

using namespace ObjetsEtablissement;

namespace {

QString texte(const QVariant &valeur)
{
    return valeur.isNull() ? QString() : valeur.toString();
}

QPushButton *bouton(QWidget *parent, const char *nom, const QString &legende)
{
    auto *cree = new QPushButton(legende, parent);
    cree->setObjectName(QLatin1String(nom));
    return cree;
}

} // namespace

OngletObjets::OngletObjets(Contexte &contexte, QFrame *gauche, QFrame *droite, QObject *parent)
    : QObject(parent), m_contexte(contexte), m_gauche(gauche), m_droite(droite)
{
    construireGauche();
    construireDroite();
    choisirFichier = [this] {
        return QFileDialog::getOpenFileName(
            m_gauche->window(), QStringLiteral("Importer une liste d'objets"), QString(),
            QStringLiteral("Listes (*.csv *.txt);;Tous les "
                           "fichiers (*)"));
    };
    chargerCategories();
    charger(0);
}

void OngletObjets::construireGauche()
{
    // The panes are placed by the splitter bar: their layouts make the contents follow.
    auto *disposition = new QVBoxLayout(m_gauche);
    m_liste = new QListWidget(m_gauche);
    m_liste->setObjectName(QStringLiteral("listeObjets"));
    m_liste->setUniformItemSizes(true);
    disposition->addWidget(m_liste, 1);
    auto *boutons = new QGridLayout;
    m_ajouter = bouton(m_gauche, "ajouterObjet", QStringLiteral("Ajouter"));
    m_dupliquer = bouton(m_gauche, "dupliquerObjet", QStringLiteral("Dupliquer"));
    m_importer = bouton(m_gauche, "importerObjets", QStringLiteral("Importer…"));
    m_monter = bouton(m_gauche, "monterObjet", QStringLiteral("Monter"));
    m_descendre = bouton(m_gauche, "descendreObjet", QStringLiteral("Descendre"));
    boutons->addWidget(m_ajouter, 0, 0);
    boutons->addWidget(m_dupliquer, 0, 1);
    boutons->addWidget(m_importer, 0, 2);
    boutons->addWidget(m_monter, 1, 0);
    boutons->addWidget(m_descendre, 1, 1);
    disposition->addLayout(boutons);

    connect(m_liste, &QListWidget::currentRowChanged, this, &OngletObjets::montrer);
    connect(m_ajouter, &QPushButton::clicked, this, &OngletObjets::ajouterObjet_Click);
    connect(m_dupliquer, &QPushButton::clicked, this, &OngletObjets::dupliquerObjet_Click);
    connect(m_importer, &QPushButton::clicked, this, &OngletObjets::importerObjets_Click);
    connect(m_monter, &QPushButton::clicked, this, [this] { deplacer(-1); });
    connect(m_descendre, &QPushButton::clicked, this, [this] { deplacer(1); });
}

void OngletObjets::construireDroite()
{
    auto *disposition = new QVBoxLayout(m_droite);
    auto *champs = new QFormLayout;
    champs->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto nouveauChamp = [&](const char *nom, const QString &etiquette) {
        auto *saisie = new QLineEdit(m_droite);
        saisie->setObjectName(QLatin1String(nom));
        champs->addRow(etiquette, saisie);
        return saisie;
    };
    m_numero = nouveauChamp("Numero", QStringLiteral("Numéro"));
    m_nom = nouveauChamp("Nom", QStringLiteral("Nom"));
    m_nomInternet = nouveauChamp("NomInternet", QStringLiteral("Nom sur Internet"));
    m_fichier = nouveauChamp("FichierPlanningHTML", QStringLiteral("Page Internet"));
    m_categorie = new QComboBox(m_droite);
    m_categorie->setObjectName(QStringLiteral("Categorie"));
    m_categorie->setEditable(true);
    // The list is the base's categories: a text typed joins it once stored, not before.
    m_categorie->setInsertPolicy(QComboBox::NoInsert);
    champs->addRow(QStringLiteral("Catégorie"), m_categorie);
    m_capacite = nouveauChamp("Capacite", QStringLiteral("Capacité (personnes)"));
    m_retire = new QCheckBox(QStringLiteral("Retiré du planning"), m_droite);
    m_retire->setObjectName(QStringLiteral("retire"));
    champs->addRow(QString(), m_retire);
    disposition->addLayout(champs);

    auto *boutons = new QHBoxLayout;
    m_retirer = bouton(m_droite, "retirerObjet", QStringLiteral("Retirer"));
    m_supprimer = bouton(m_droite, "supprimerObjet", QStringLiteral("Supprimer"));
    boutons->addWidget(m_retirer);
    boutons->addWidget(m_supprimer);
    boutons->addStretch(1);
    disposition->addLayout(boutons);
    disposition->addStretch(1);

    m_champs = {{m_numero, QStringLiteral("Numero"), &RegleObjet::numero, QStringLiteral("Numéro")},
                {m_nom, QStringLiteral("Nom"), &RegleObjet::nom, QStringLiteral("Nom")},
                {m_nomInternet, QStringLiteral("NomInternet"), &RegleObjet::nomInternet,
                 QStringLiteral("Nom sur Internet")},
                {m_fichier, QStringLiteral("FichierPlanningHTML"), &RegleObjet::fichierPlanningHTML,
                 QStringLiteral("Page Internet")},
                {m_categorie->lineEdit(), QStringLiteral("Categorie"), &RegleObjet::categorie,
                 QStringLiteral("Catégorie")},
                {m_capacite, QStringLiteral("Capacite"), &RegleObjet::capacite,
                 QStringLiteral("Capacité")}};
    for (const Champ &champ : std::as_const(m_champs))
        connect(champ.saisie, &QLineEdit::editingFinished, this,
                [this, champ] { enregistrerChamp(champ); });
    const Champ categorie = m_champs[4];
    connect(m_categorie, &QComboBox::activated, this,
            [this, categorie] { enregistrerChamp(categorie); });
    connect(m_retire, &QCheckBox::clicked, this, &OngletObjets::retire_Click);
    connect(m_retirer, &QPushButton::clicked, this, &OngletObjets::retirerObjet_Click);
    connect(m_supprimer, &QPushButton::clicked, this, &OngletObjets::supprimerObjet_Click);
}

void OngletObjets::charger(qint64 rowid, int ligneSinon)
{
    const QSqlError erreur = lireObjets(m_contexte.BasePlanning(), m_objets);
    if (erreur.isValid()) {
        m_objets.clear();
        signaler(QStringLiteral("Les objets n'ont pas pu être lus :\n"), erreur);
    }
    int choisie = qMin(ligneSinon, int(m_objets.size()) - 1);
    for (int i = 0; i < m_objets.size(); ++i) {
        if (m_objets[i].rowid == rowid)
            choisie = i;
    }
    const QSignalBlocker silence(m_liste);
    m_liste->clear();
    for (int i = 0; i < m_objets.size(); ++i) {
        m_liste->addItem(QString());
        actualiserLigne(i);
    }
    m_liste->setCurrentRow(choisie);
    montrer(choisie);
}

void OngletObjets::chargerCategories()
{
    QStringList categories;
    if (categoriesUtilisees(m_contexte.BasePlanning(), categories).isValid())
        categories = categoriesCourantes();
    const QString saisie = m_categorie->currentText();
    const QSignalBlocker silence(m_categorie);
    m_categorie->clear();
    m_categorie->addItems(categories);
    m_categorie->setEditText(saisie);
}

void OngletObjets::montrer(int ligne)
{
    const bool valide = ligne >= 0 && ligne < m_objets.size();
    const ObjetEtablissement objet = valide ? m_objets[ligne] : ObjetEtablissement();
    for (const Champ &champ : std::as_const(m_champs))
        champ.saisie->setText(valide ? texte(valeurDuChamp(objet, champ.colonne)) : QString());
    m_retire->setChecked(objet.retire);
    for (const Champ &champ : std::as_const(m_champs))
        champ.saisie->setEnabled(valide);
    m_categorie->setEnabled(valide);
    m_retire->setEnabled(valide);
    actualiserBoutons();
}

void OngletObjets::actualiserLigne(int ligne)
{
    QListWidgetItem *element = m_liste->item(ligne);
    const ObjetEtablissement &objet = m_objets[ligne];
    element->setText(QStringLiteral("%1 : %2").arg(objet.numero).arg(objet.nom)
                     + (objet.retire ? QStringLiteral(" (retiré)") : QString()));
    element->setForeground(m_liste->palette().brush(
        objet.retire ? QPalette::Disabled : QPalette::Active, QPalette::Text));
}

void OngletObjets::actualiserBoutons()
{
    const int ligne = m_liste->currentRow();
    const ObjetEtablissement *objet = objetChoisi();
    m_dupliquer->setEnabled(objet);
    m_monter->setEnabled(objet && ligne > 0);
    m_descendre->setEnabled(objet && ligne < m_objets.size() - 1);
    m_retirer->setEnabled(objet);
    m_retirer->setText(objet && objet->retire ? QStringLiteral("Remettre")
                                              : QStringLiteral("Retirer"));
    m_supprimer->setEnabled(objet);
}

const ObjetEtablissement *OngletObjets::objetChoisi() const
{
    const int ligne = m_liste->currentRow();
    return ligne >= 0 && ligne < m_objets.size() ? &m_objets[ligne] : nullptr;
}

std::optional<bool> OngletObjets::garderLaMienne(int ligne, const Champ &champ,
                                                 const QVariant &votre)
{
    ObjetEtablissement actuel;
    if (const QSqlError erreur
        = lireObjet(m_contexte.BasePlanning(), m_objets[ligne].rowid, actuel);
        erreur.isValid()) {
        signaler(QStringLiteral("L'objet n'a pas pu être relu :\n"), erreur);
        return std::nullopt;
    }
    const QString libelle = champ.libelle;
    const int choix = BoiteMessage::choisir(
        m_droite->window(),
        ConflitDeVersion::texteDuConflit(
            QStringLiteral("Cet objet"),
            {{libelle, texte(valeurDuChamp(actuel, champ.colonne)), texte(votre)}}),
        {QStringLiteral("Reprendre leur version"), QStringLiteral("Garder la mienne")});
    if (choix < 0)
        return std::nullopt;
    if (choix == 0) {
        m_objets[ligne] = actuel;
        actualiserLigne(ligne);
        return false;
    }
    return true;
}

void OngletObjets::enregistrerChamp(const Champ &champ)
{
    const ObjetEtablissement *objet = objetChoisi();
    if (m_occupe || !objet)
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    RegleObjet::Lecture lecture = champ.lire(champ.saisie->text());
    if (!lecture.acceptee()) {
        BoiteMessage::afficher(m_droite->window(), lecture.refus);
        return;
    }
    // "chalet" typed is the "Chalet" of the list, not a second category beside it.
    if (champ.saisie == m_categorie->lineEdit() && !lecture.valeur.isNull()) {
        const int connue = m_categorie->findText(lecture.valeur.toString(), Qt::MatchFixedString);
        if (connue >= 0)
            lecture.valeur = m_categorie->itemText(connue);
    }
    const int ligne = m_liste->currentRow();
    if (!memeValeur(lecture.valeur, valeurDuChamp(*objet, champ.colonne))) {
        QSqlError erreur = modifierChamp(m_contexte.BasePlanning(), objet->rowid, champ.colonne,
                                         lecture.valeur, valeurDuChamp(*objet, champ.colonne));
        if (estUnConflit(erreur)) {
            const std::optional<bool> garder = garderLaMienne(ligne, champ, lecture.valeur);
            if (!garder)
                return;
            if (!*garder) {
                montrer(ligne);
                return;
            }
            erreur = modifierChamp(m_contexte.BasePlanning(), objet->rowid, champ.colonne,
                                   lecture.valeur);
        }
        if (erreur.isValid()) {
            signaler(QStringLiteral("L'objet n'a pas pu être enregistré :\n"), erreur);
            return;
        }
        lireObjet(m_contexte.BasePlanning(), objet->rowid, m_objets[ligne]);
        actualiserLigne(ligne);
        if (champ.colonne == QLatin1String("Categorie"))
            chargerCategories();
        emit modifie();
    }
    // What is stored, as it is stored (a number without its blanks).
    champ.saisie->setText(texte(valeurDuChamp(m_objets[ligne], champ.colonne)));
}

bool OngletObjets::changerRetrait(bool retire)
{
    const int ligne = m_liste->currentRow();
    const QSqlError erreur = fixerRetire(m_contexte.BasePlanning(), m_objets[ligne].rowid, retire);
    if (erreur.isValid()) {
        signaler(retire ? QStringLiteral("L'objet n'a pas pu être retiré :\n")
                        : QStringLiteral("L'objet n'a pas pu être remis :\n"),
                 erreur);
        return false;
    }
    m_objets[ligne].retire = retire;
    actualiserLigne(ligne);
    m_retire->setChecked(retire);
    actualiserBoutons();
    emit modifie();
    return true;
}

void OngletObjets::retire_Click(bool retire)
{
    if (m_occupe || !objetChoisi())
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    if (!changerRetrait(retire))
        m_retire->setChecked(!retire);
}

void OngletObjets::retirerObjet_Click()
{
    if (m_occupe || !objetChoisi())
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    changerRetrait(!objetChoisi()->retire);
}

void OngletObjets::ajouterObjet_Click()
{
    if (m_occupe)
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    const ObjetEtablissement *choisi = objetChoisi();
    ObjetEtablissement ajoute;
    const QSqlError erreur
        = ajouterObjet(m_contexte.BasePlanning(), choisi ? choisi->categorie : QVariant(), ajoute);
    if (erreur.isValid()) {
        signaler(QStringLiteral("L'objet n'a pas pu être ajouté :\n"), erreur);
        return;
    }
    charger(ajoute.rowid);
    emit modifie();
    // The owner names it at once.
    m_nom->setFocus();
    m_nom->selectAll();
}

void OngletObjets::dupliquerObjet_Click()
{
    if (m_occupe || !objetChoisi())
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    ObjetEtablissement copie;
    const QSqlError erreur = dupliquerObjet(m_contexte.BasePlanning(), objetChoisi()->rowid, copie);
    if (erreur.isValid()) {
        signaler(QStringLiteral("L'objet n'a pas pu être dupliqué :\n"), erreur);
        return;
    }
    charger(copie.rowid);
    emit modifie();
}

void OngletObjets::deplacer(int sens)
{
    const int ligne = m_liste->currentRow();
    const int voisine = ligne + sens;
    if (m_occupe || !objetChoisi() || voisine < 0 || voisine >= m_objets.size())
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    const QSqlError erreur
        = echangerOrdre(m_contexte.BasePlanning(), m_objets[ligne].rowid, m_objets[voisine].rowid);
    if (erreur.isValid()) {
        signaler(QStringLiteral("L'objet n'a pas pu être déplacé :\n"), erreur);
        return;
    }
    // The object now holds its neighbour's rowid.
    charger(m_objets[voisine].rowid, voisine);
    emit modifie();
}

void OngletObjets::supprimerObjet_Click()
{
    if (m_occupe || !objetChoisi())
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    const ObjetEtablissement objet = *objetChoisi();
    const int ligne = m_liste->currentRow();
    int sejours = 0;
    QSqlError erreur = nombreDeSejours(m_contexte.BasePlanning(), objet.numero, sejours);
    if (erreur.isValid()) {
        signaler(QStringLiteral("L'objet n'a pas pu être supprimé :\n"), erreur);
        return;
    }
    if (sejours > 0) {
        const QString raison = sejoursEnregistres(objet.nom, sejours)
            + QStringLiteral(" : il ne peut pas être supprimé sans perdre leur historique.");
        if (objet.retire)
            BoiteMessage::afficher(m_droite->window(),
                                   raison + QStringLiteral(" Il est déjà retiré du planning."));
        else if (BoiteMessage::demander(m_droite->window(),
                                        raison
                                            + QStringLiteral(" Le retirer du planning à la "
                                                             "place ?")))
            changerRetrait(true);
        return;
    }
    if (!BoiteMessage::demander(m_droite->window(),
                                QStringLiteral("Supprimer « %1 » ?").arg(objet.nom)))
        return;
    erreur = supprimerObjet(m_contexte.BasePlanning(), objet.rowid);
    if (erreur.isValid()) {
        signaler(QStringLiteral("L'objet n'a pas pu être supprimé :\n"), erreur);
        return;
    }
    charger(0, ligne);
    emit modifie();
}

void OngletObjets::importerObjets_Click()
{
    if (m_occupe || !choisirFichier)
        return;
    const QScopedValueRollback<bool> garde(m_occupe, true);
    const QString chemin = choisirFichier();
    if (chemin.isEmpty())
        return;
    const ObjetEtablissement *choisi = objetChoisi();
    const qint64 rowid = choisi ? choisi->rowid : 0;
    if (importerObjets(m_gauche->window(), m_contexte, chemin) > 0) {
        chargerCategories();
        charger(rowid);
        emit modifie();
    }
}

void OngletObjets::signaler(const QString &action, const QSqlError &erreur)
{
    // Our own refusals (a number taken, a stay added meanwhile) are whole sentences already.
    BoiteMessage::afficher(m_droite->window(),
                           estUnRefus(erreur) ? erreur.text()
                                              : action + messageBaseEnFrancais(erreur));
}

#include "settings/OngletTarifs.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "conversion/MessageErreur.h"
#include "data/ArticlesBar.h"
#include "data/ConflitEcriture.h"
#include "reservations/ConflitDeVersion.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

using Tarification::Saison;
using TarifsEtablissement::Prestation;
using TarifsEtablissement::Unite;

namespace {

enum ColonneSaison { Du, Au, PrixNuit, Personnes, SupplementAdulte, SupplementEnfant, TvaSaison };
enum ColonnePrestation { Libelle, Prix, ColonneUnite, TvaPrestation, Retiree };

const QString FormatDate = QStringLiteral("dd/MM/yyyy");

QString nomCategorie(const QString &categorie)
{
    return categorie.isEmpty() ? QStringLiteral("(sans catégorie)") : categorie;
}

QTableWidgetItem *cellule(const QString &texte, Qt::Alignment alignement = Qt::AlignRight)
{
    auto *element = new QTableWidgetItem(texte);
    element->setTextAlignment(alignement | Qt::AlignVCenter);
    return element;
}

QString texte(const QTableWidget *table, int ligne, int colonne)
{
    const QTableWidgetItem *element = table->item(ligne, colonne);
    return element ? element->text().trimmed() : QString();
}

// An editor still open holds what was typed last: a change of the current cell stores it.
void validerSaisieEnCours(QTableWidget *table)
{
    const QModelIndex courant = table->currentIndex();
    table->setCurrentIndex(QModelIndex());
    table->setCurrentIndex(courant);
}

QTableWidget *nouvelleTable(QWidget *parent, const char *nom, const QStringList &titres)
{
    auto *table = new QTableWidget(0, int(titres.size()), parent);
    table->setObjectName(QLatin1String(nom));
    table->setHorizontalHeaderLabels(titres);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    // Lines of text, not of buttons: as many in sight as the height gives.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 10);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

QPushButton *bouton(QWidget *parent, const char *nom, const QString &legende)
{
    auto *cree = new QPushButton(legende, parent);
    cree->setObjectName(QLatin1String(nom));
    return cree;
}

QString oui(bool vrai)
{
    return vrai ? QStringLiteral("oui") : QStringLiteral("non");
}

} // namespace

OngletTarifs::OngletTarifs(Contexte &contexte, QWidget *parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("OngletTarifs"));
    auto *colonne = new QVBoxLayout(this);
    colonne->setContentsMargins(6, 6, 6, 6);

    // Each table under the row of its buttons, which leaves the tables all the height there is.
    auto *saisons = new QGroupBox(QStringLiteral("Saisons"), this);
    colonne->addWidget(saisons, 1);
    auto *disposition = new QVBoxLayout(saisons);
    auto *choix = new QHBoxLayout;
    disposition->addLayout(choix);
    categorie = new QComboBox(saisons);
    categorie->setObjectName(QStringLiteral("categorie"));
    categorie->setMinimumWidth(180);
    auto *etiquette = new QLabel(QStringLiteral("&Catégorie :"), saisons);
    etiquette->setBuddy(categorie);
    choix->addWidget(etiquette);
    choix->addWidget(categorie);
    choix->addStretch();
    ajouterSaison = bouton(saisons, "ajouterSaison", QStringLiteral("Ajouter une &saison"));
    retirerSaison = bouton(saisons, "retirerSaison", QStringLiteral("&Retirer la saison"));
    enregistrerSaisons
        = bouton(saisons, "enregistrerSaisons", QStringLiteral("&Enregistrer les saisons"));
    for (QPushButton *un : {ajouterSaison, retirerSaison, enregistrerSaisons})
        choix->addWidget(un);
    tableSaisons = nouvelleTable(
        saisons, "tableSaisons",
        {QStringLiteral("Du"), QStringLiteral("Au"), QStringLiteral("Prix par nuit"),
         QStringLiteral("Personnes incluses"), QStringLiteral("Suppl. adulte"),
         QStringLiteral("Suppl. enfant"), QStringLiteral("TVA")});
    const std::pair<int, int> largeurs[] = {{Du, 82},
                                            {Au, 82},
                                            {PrixNuit, 100},
                                            {Personnes, 125},
                                            {SupplementAdulte, 100},
                                            {SupplementEnfant, 100}};
    for (const auto &[colonneSaison, largeur] : largeurs)
        tableSaisons->setColumnWidth(colonneSaison, largeur);
    disposition->addWidget(tableSaisons);

    auto *prestations = new QGroupBox(QStringLiteral("Prestations"), this);
    colonne->addWidget(prestations, 1);
    auto *catalogue = new QVBoxLayout(prestations);
    auto *boutonsPrestations = new QHBoxLayout;
    catalogue->addLayout(boutonsPrestations);
    ajouterPrestation
        = bouton(prestations, "ajouterPrestation", QStringLiteral("Ajouter une &prestation"));
    enregistrerPrestations = bouton(prestations, "enregistrerPrestations",
                                    QStringLiteral("Enregistrer les pres&tations"));
    boutonsPrestations->addStretch();
    for (QPushButton *un : {ajouterPrestation, enregistrerPrestations})
        boutonsPrestations->addWidget(un);
    tablePrestations
        = nouvelleTable(prestations, "tablePrestations",
                        {QStringLiteral("Libellé"), QStringLiteral("Prix"), QStringLiteral("Unité"),
                         QStringLiteral("TVA"), QStringLiteral("Retirée")});
    tablePrestations->setColumnWidth(Libelle, 270);
    tablePrestations->setColumnWidth(Prix, 100);
    tablePrestations->setColumnWidth(ColonneUnite, 170);
    tablePrestations->setColumnWidth(TvaPrestation, 70);
    catalogue->addWidget(tablePrestations);

    connect(categorie, &QComboBox::currentIndexChanged, this, &OngletTarifs::changerDeCategorie);
    connect(ajouterSaison, &QPushButton::clicked, this, &OngletTarifs::ajouterSaison_Click);
    connect(retirerSaison, &QPushButton::clicked, this, &OngletTarifs::retirerSaison_Click);
    connect(enregistrerSaisons, &QPushButton::clicked, this,
            &OngletTarifs::enregistrerSaisons_Click);
    connect(ajouterPrestation, &QPushButton::clicked, this, &OngletTarifs::ajouterPrestation_Click);
    connect(enregistrerPrestations, &QPushButton::clicked, this,
            &OngletTarifs::enregistrerPrestations_Click);
    actualiserCategories();
    chargerPrestations();
}

void OngletTarifs::actualiserCategories()
{
    QStringList lues;
    const QSqlError erreur = TarifsEtablissement::categories(m_contexte.BasePlanning(), lues);
    if (erreur.isValid())
        BoiteMessage::afficher(this,
                               QStringLiteral("Les catégories n'ont pas pu être lues :\n")
                                   + messageBaseEnFrancais(erreur));
    const bool choisie = categorie->currentIndex() >= 0;
    {
        const QSignalBlocker blocage(categorie);
        categorie->clear();
        for (const QString &lue : std::as_const(lues))
            categorie->addItem(nomCategorie(lue), lue);
        categorie->setCurrentIndex(std::max(0, categorie->findData(m_categorie)));
    }
    // No object yet: nothing to price.
    for (QWidget *element : std::initializer_list<QWidget *> {
             categorie, tableSaisons, ajouterSaison, retirerSaison, enregistrerSaisons})
        element->setEnabled(!lues.isEmpty());
    if (!choisie || categorie->currentData().toString() != m_categorie
        || categorie->currentIndex() < 0)
        chargerSaisons();
}

void OngletTarifs::chargerSaisons()
{
    m_categorie = categorie->currentData().toString();
    m_saisons.clear();
    tableSaisons->setRowCount(0);
    if (categorie->currentIndex() < 0)
        return;
    const QSqlError erreur
        = TarifsEtablissement::lireSaisons(m_contexte.BasePlanning(), m_categorie, m_saisons);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Les saisons n'ont pas pu être lues :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    for (const Saison &saison : std::as_const(m_saisons))
        ajouterLigneSaison(saison);
    m_saisonsChargees = textesDesSaisons();
}

QStringList OngletTarifs::textesDesSaisons() const
{
    QStringList textes;
    for (int ligne = 0; ligne < tableSaisons->rowCount(); ++ligne) {
        for (int colonne = 0; colonne < tableSaisons->columnCount(); ++colonne) {
            const QTableWidgetItem *cellule = tableSaisons->item(ligne, colonne);
            textes << (cellule ? cellule->text() : QString());
        }
    }
    return textes;
}

void OngletTarifs::changerDeCategorie()
{
    // Seasons typed and not stored are not dropped unasked.
    validerSaisieEnCours(tableSaisons);
    if (textesDesSaisons() != m_saisonsChargees
        && !BoiteMessage::confirmer(this,
                                    QStringLiteral("Les saisons saisies pour « %1 » ne sont pas "
                                                   "enregistrées. Les abandonner ?")
                                        .arg(nomCategorie(m_categorie)),
                                    QStringLiteral("Abandonner"), QStringLiteral("Revenir"))) {
        const QSignalBlocker blocage(categorie);
        categorie->setCurrentIndex(std::max(0, categorie->findData(m_categorie)));
        return;
    }
    chargerSaisons();
}

void OngletTarifs::ajouterLigneSaison(const Saison &saison, bool datesVides)
{
    const int ligne = tableSaisons->rowCount();
    tableSaisons->insertRow(ligne);
    tableSaisons->setItem(
        ligne, Du,
        cellule(datesVides ? QString() : saison.debut.toString(FormatDate), Qt::AlignLeft));
    tableSaisons->setItem(
        ligne, Au,
        cellule(datesVides ? QString() : saison.fin.toString(FormatDate), Qt::AlignLeft));
    tableSaisons->setItem(
        ligne, PrixNuit, cellule(datesVides ? QString() : ArticlesBar::textePrix(saison.prixNuit)));
    tableSaisons->setItem(ligne, Personnes, cellule(QString::number(saison.personnesIncluses)));
    tableSaisons->setItem(ligne, SupplementAdulte,
                          cellule(ArticlesBar::textePrix(saison.supplementAdulte)));
    tableSaisons->setItem(ligne, SupplementEnfant,
                          cellule(ArticlesBar::textePrix(saison.supplementEnfant)));
    tableSaisons->setItem(ligne, TvaSaison, cellule(ArticlesBar::texteTaux(saison.tauxTva)));
}

void OngletTarifs::chargerPrestations()
{
    const QSqlError erreur
        = TarifsEtablissement::lirePrestations(m_contexte.BasePlanning(), m_prestations);
    tablePrestations->setRowCount(0);
    if (erreur.isValid()) {
        m_prestations.clear();
        BoiteMessage::afficher(this,
                               QStringLiteral("Les prestations n'ont pas pu être lues :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    for (const Prestation &prestation : std::as_const(m_prestations))
        ajouterLignePrestation(prestation);
}

void OngletTarifs::ajouterLignePrestation(const Prestation &prestation)
{
    const int ligne = tablePrestations->rowCount();
    tablePrestations->insertRow(ligne);
    auto *unite = new QComboBox;
    for (const Unite une : {Unite::ParNuit, Unite::ParSejour, Unite::ParPersonneEtNuit})
        unite->addItem(TarifsEtablissement::texteUnite(une));
    tablePrestations->setCellWidget(ligne, ColonneUnite, unite);
    montrerPrestation(ligne, prestation);
}

void OngletTarifs::montrerPrestation(int ligne, const Prestation &prestation)
{
    tablePrestations->setItem(ligne, Libelle, cellule(prestation.libelle, Qt::AlignLeft));
    // A line not stored yet waits for its price.
    tablePrestations->setItem(
        ligne, Prix,
        cellule(prestation.numero > 0 ? ArticlesBar::textePrix(prestation.prix) : QString()));
    if (auto *unite = qobject_cast<QComboBox *>(tablePrestations->cellWidget(ligne, ColonneUnite)))
        unite->setCurrentIndex(int(prestation.unite));
    tablePrestations->setItem(ligne, TvaPrestation,
                              cellule(ArticlesBar::texteTaux(prestation.tauxTva)));
    auto *retiree = new QTableWidgetItem;
    retiree->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    retiree->setCheckState(prestation.retire ? Qt::Checked : Qt::Unchecked);
    tablePrestations->setItem(ligne, Retiree, retiree);
}

void OngletTarifs::refuser(QTableWidget *table, int ligne, int colonne, const QString &refus)
{
    BoiteMessage::afficher(this, refus);
    table->setCurrentCell(ligne, colonne);
    table->setFocus();
}

std::optional<QVector<Saison>> OngletTarifs::lireSaisons()
{
    QVector<Saison> saisons;
    for (int ligne = 0; ligne < tableSaisons->rowCount(); ++ligne) {
        const auto refus = [&](int colonne, const QString &raison) {
            refuser(tableSaisons, ligne, colonne,
                    QStringLiteral("Saison de la ligne %1 : %2")
                        .arg(ligne + 1)
                        .arg(raison.left(1).toLower() + raison.mid(1)));
            return std::nullopt;
        };
        Saison saison;
        for (const int colonne : {Du, Au}) {
            const QString saisie = texte(tableSaisons, ligne, colonne);
            const QDate date = QDate::fromString(saisie, QStringLiteral("d/M/yyyy"));
            if (saisie.isEmpty())
                return refus(colonne,
                             colonne == Du ? QStringLiteral("la date de début manque.")
                                           : QStringLiteral("la date de fin manque."));
            if (!date.isValid())
                return refus(colonne,
                             QStringLiteral("« %1 » n'est pas une date, tapez-la "
                                            "jj/mm/aaaa.")
                                 .arg(saisie.left(20)));
            (colonne == Du ? saison.debut : saison.fin) = date;
        }
        const std::pair<int, qint64 *> prix[] = {{PrixNuit, &saison.prixNuit},
                                                 {SupplementAdulte, &saison.supplementAdulte},
                                                 {SupplementEnfant, &saison.supplementEnfant}};
        for (const auto &[colonne, valeur] : prix) {
            const ArticlesBar::LectureNombre lu
                = ArticlesBar::lirePrix(texte(tableSaisons, ligne, colonne));
            if (!lu.acceptee())
                return refus(colonne, lu.refus);
            *valeur = lu.valeur;
        }
        bool entier = false;
        saison.personnesIncluses = texte(tableSaisons, ligne, Personnes).toInt(&entier);
        if (!entier || saison.personnesIncluses < 1 || saison.personnesIncluses > 99)
            return refus(Personnes,
                         QStringLiteral("les personnes incluses se comptent de 1 à 99."));
        const ArticlesBar::LectureNombre taux
            = ArticlesBar::lireTaux(texte(tableSaisons, ligne, TvaSaison));
        if (!taux.acceptee())
            return refus(TvaSaison, taux.refus);
        saison.tauxTva = int(taux.valeur);
        saisons << saison;
    }
    if (const QString refus = Tarification::refusDesSaisons(saisons); !refus.isEmpty()) {
        BoiteMessage::afficher(this, refus);
        return std::nullopt;
    }
    return saisons;
}

void OngletTarifs::ajouterSaison_Click()
{
    validerSaisieEnCours(tableSaisons);
    // The night after the last season, most often where the next one starts, for as many
    // persons and the same supplements; its price is for the owner to type.
    const int derniere = tableSaisons->rowCount() - 1;
    const QDate fin = derniere >= 0
        ? QDate::fromString(texte(tableSaisons, derniere, Au), QStringLiteral("d/M/yyyy"))
        : QDate();
    ajouterLigneSaison(Saison(), true);
    const int ligne = tableSaisons->rowCount() - 1;
    if (fin.isValid())
        tableSaisons->item(ligne, Du)->setText(fin.addDays(1).toString(FormatDate));
    for (const int reprise : {Personnes, SupplementAdulte, SupplementEnfant, TvaSaison}) {
        if (derniere >= 0)
            tableSaisons->item(ligne, reprise)->setText(texte(tableSaisons, derniere, reprise));
    }
    const int colonne = fin.isValid() ? Au : Du;
    tableSaisons->setCurrentCell(ligne, colonne);
    tableSaisons->setFocus();
    tableSaisons->editItem(tableSaisons->item(ligne, colonne));
}

void OngletTarifs::retirerSaison_Click()
{
    const int ligne = tableSaisons->currentRow();
    if (ligne >= 0)
        tableSaisons->removeRow(ligne);
}

void OngletTarifs::enregistrerSaisons_Click()
{
    validerSaisieEnCours(tableSaisons);
    if (categorie->currentIndex() < 0)
        return;
    const std::optional<QVector<Saison>> saisons = lireSaisons();
    if (!saisons)
        return;
    const QSqlDatabase base = m_contexte.BasePlanning();
    QSqlError erreur = TarifsEtablissement::ecrireSaisons(base, m_categorie, *saisons, m_saisons);
    if (estUnConflit(erreur)) {
        const int choix = BoiteMessage::choisir(
            this,
            QStringLiteral("Les saisons de « %1 » ont été modifiées à un autre poste depuis que "
                           "vous les avez ouvertes.\n\n« Reprendre leur version » remplace ce que "
                           "vous avez saisi ; « Garder la mienne » enregistre votre saisie "
                           "par-dessus la leur.")
                .arg(nomCategorie(m_categorie)),
            {QStringLiteral("Reprendre leur version"), QStringLiteral("Garder la mienne")});
        if (choix < 0)
            return;
        erreur = choix == 0 ? QSqlError()
                            : TarifsEtablissement::ecrireSaisons(base, m_categorie, *saisons);
    }
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Les saisons n'ont pas pu être enregistrées :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    chargerSaisons();
}

std::optional<Prestation> OngletTarifs::lirePrestation(int ligne)
{
    const auto refus = [&](int colonne, const QString &raison) {
        refuser(tablePrestations, ligne, colonne,
                QStringLiteral("Prestation de la ligne %1 : %2")
                    .arg(ligne + 1)
                    .arg(raison.left(1).toLower() + raison.mid(1)));
        return std::nullopt;
    };
    Prestation prestation = m_prestations.at(ligne);
    prestation.libelle = texte(tablePrestations, ligne, Libelle);
    if (const QString refusLibelle = ArticlesBar::refusDuLibelle(prestation.libelle);
        !refusLibelle.isEmpty())
        return refus(Libelle, refusLibelle);
    const ArticlesBar::LectureNombre prix
        = ArticlesBar::lirePrix(texte(tablePrestations, ligne, Prix));
    if (!prix.acceptee())
        return refus(Prix, prix.refus);
    prestation.prix = prix.valeur;
    if (const auto *unite
        = qobject_cast<const QComboBox *>(tablePrestations->cellWidget(ligne, ColonneUnite)))
        prestation.unite = Unite(unite->currentIndex());
    const ArticlesBar::LectureNombre taux
        = ArticlesBar::lireTaux(texte(tablePrestations, ligne, TvaPrestation));
    if (!taux.acceptee())
        return refus(TvaPrestation, taux.refus);
    prestation.tauxTva = int(taux.valeur);
    prestation.retire = tablePrestations->item(ligne, Retiree)->checkState() == Qt::Checked;
    return prestation;
}

void OngletTarifs::ajouterPrestation_Click()
{
    validerSaisieEnCours(tablePrestations);
    m_prestations << Prestation();
    ajouterLignePrestation(m_prestations.last());
    const int ligne = tablePrestations->rowCount() - 1;
    tablePrestations->setCurrentCell(ligne, Libelle);
    tablePrestations->setFocus();
    tablePrestations->editItem(tablePrestations->item(ligne, Libelle));
}

void OngletTarifs::enregistrerPrestations_Click()
{
    validerSaisieEnCours(tablePrestations);
    // Every line read first: a refused one stops the store before anything is written.
    QVector<std::optional<Prestation>> lues;
    for (int ligne = 0; ligne < tablePrestations->rowCount(); ++ligne) {
        // A line added and left as it came is no service.
        if (m_prestations.at(ligne).numero == 0 && texte(tablePrestations, ligne, Libelle).isEmpty()
            && texte(tablePrestations, ligne, Prix).isEmpty()) {
            lues << std::nullopt;
            continue;
        }
        const std::optional<Prestation> lue = lirePrestation(ligne);
        if (!lue)
            return;
        lues << lue;
    }
    const QSqlDatabase base = m_contexte.BasePlanning();
    for (int ligne = 0; ligne < lues.size(); ++ligne) {
        if (!lues.at(ligne))
            continue;
        Prestation prestation = *lues.at(ligne);
        const Prestation montree = m_prestations.at(ligne);
        if (montree.numero > 0 && TarifsEtablissement::memePrestation(prestation, montree))
            continue;
        QSqlError erreur = montree.numero > 0
            ? TarifsEtablissement::ecrirePrestation(base, prestation, montree)
            : TarifsEtablissement::ecrirePrestation(base, prestation);
        if (estUnConflit(erreur)) {
            const std::optional<bool> garder = garderLaMienne(ligne, prestation);
            if (!garder)
                return;
            if (!*garder)
                continue;
            erreur = TarifsEtablissement::ecrirePrestation(base, prestation);
        }
        if (erreur.isValid()) {
            BoiteMessage::afficher(
                this,
                QStringLiteral("La prestation de la ligne %1 n'a pas pu être enregistrée :\n")
                        .arg(ligne + 1)
                    + messageBaseEnFrancais(erreur));
            tablePrestations->setCurrentCell(ligne, Libelle);
            return;
        }
        m_prestations[ligne] = prestation;
    }
    chargerPrestations();
}

std::optional<bool> OngletTarifs::garderLaMienne(int ligne, const Prestation &votre)
{
    const Prestation montree = m_prestations.at(ligne);
    std::optional<Prestation> actuelle;
    const QSqlError erreur
        = TarifsEtablissement::lirePrestation(m_contexte.BasePlanning(), montree.numero, actuelle);
    if (erreur.isValid() || !actuelle) {
        BoiteMessage::afficher(
            this,
            QStringLiteral("La prestation de la ligne %1 n'a pas pu être relue.").arg(ligne + 1)
                + (erreur.isValid() ? u'\n' + messageBaseEnFrancais(erreur) : QString()));
        return std::nullopt;
    }
    QVector<ConflitDeVersion::Difference> differences;
    const auto difference
        = [&](bool differe, const QString &champ, const QString &leur, const QString &saisi) {
              if (differe)
                  differences << ConflitDeVersion::Difference {champ, leur, saisi};
          };
    difference(actuelle->libelle != montree.libelle, QStringLiteral("Libellé"), actuelle->libelle,
               votre.libelle);
    difference(actuelle->prix != montree.prix, QStringLiteral("Prix"),
               ArticlesBar::textePrix(actuelle->prix), ArticlesBar::textePrix(votre.prix));
    difference(actuelle->unite != montree.unite, QStringLiteral("Unité"),
               TarifsEtablissement::texteUnite(actuelle->unite),
               TarifsEtablissement::texteUnite(votre.unite));
    difference(actuelle->tauxTva != montree.tauxTva, QStringLiteral("TVA"),
               ArticlesBar::texteTaux(actuelle->tauxTva), ArticlesBar::texteTaux(votre.tauxTva));
    difference(actuelle->retire != montree.retire, QStringLiteral("Retirée"), oui(actuelle->retire),
               oui(votre.retire));
    const int choix = BoiteMessage::choisir(
        this,
        ConflitDeVersion::texteDuConflit(
            QStringLiteral("Le tarif de « %1 »").arg(actuelle->libelle), differences),
        {QStringLiteral("Reprendre leur version"), QStringLiteral("Garder la mienne")});
    if (choix < 0)
        return std::nullopt;
    if (choix == 0) {
        m_prestations[ligne] = *actuelle;
        montrerPrestation(ligne, *actuelle);
        return false;
    }
    return true;
}

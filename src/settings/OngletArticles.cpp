#include "settings/OngletArticles.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "conversion/MessageErreur.h"
#include "data/ConflitEcriture.h"
#include "reservations/ConflitDeVersion.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Colonne { ColonneFamille, ColonneLibelle, ColonnePrix, ColonneTaux };

QTableWidgetItem *cellule(const QString &texte, Qt::Alignment alignement = Qt::AlignLeft)
{
    auto *element = new QTableWidgetItem(texte);
    element->setTextAlignment(alignement | Qt::AlignVCenter);
    return element;
}

} // namespace

OngletArticles::OngletArticles(Contexte &contexte, QWidget *parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("OngletArticles"));
    auto *colonne = new QVBoxLayout(this);

    tableArticles = new QTableWidget(0, 4, this);
    tableArticles->setObjectName(QStringLiteral("tableArticles"));
    tableArticles->setHorizontalHeaderLabels({QStringLiteral("Famille"), QStringLiteral("Libellé"),
                                              QStringLiteral("Prix TTC"), QStringLiteral("TVA")});
    tableArticles->verticalHeader()->hide();
    tableArticles->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableArticles->setSelectionMode(QAbstractItemView::SingleSelection);
    // Edited in the fields below, where each value is checked before it is stored.
    tableArticles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableArticles->setColumnWidth(ColonneFamille, 200);
    tableArticles->setColumnWidth(ColonneLibelle, 300);
    tableArticles->setColumnWidth(ColonnePrix, 100);
    tableArticles->horizontalHeader()->setStretchLastSection(true);
    colonne->addWidget(tableArticles);

    auto *champs = new QGridLayout;
    auto etiquette = [&](const QString &texte, QWidget *champ, int position) {
        auto *libelle = new QLabel(texte, this);
        libelle->setBuddy(champ);
        champs->addWidget(libelle, 0, position);
        champs->addWidget(champ, 1, position);
    };
    Famille = new QComboBox(this);
    Famille->setObjectName(QStringLiteral("Famille"));
    Famille->setEditable(true);
    // A family typed is the article's, not a new entry of the list until it is stored.
    Famille->setInsertPolicy(QComboBox::NoInsert);
    etiquette(QStringLiteral("Famille :"), Famille, 0);
    Libelle = new QLineEdit(this);
    Libelle->setObjectName(QStringLiteral("Libelle"));
    etiquette(QStringLiteral("Libellé :"), Libelle, 1);
    prixTTC = new QLineEdit(this);
    prixTTC->setObjectName(QStringLiteral("prixTTC"));
    prixTTC->setAlignment(Qt::AlignRight);
    etiquette(QStringLiteral("Prix TTC (€) :"), prixTTC, 2);
    TauxTVA = new QComboBox(this);
    TauxTVA->setObjectName(QStringLiteral("TauxTVA"));
    TauxTVA->setEditable(true);
    TauxTVA->setInsertPolicy(QComboBox::NoInsert);
    for (const int taux : {550, 1000, 2000})
        TauxTVA->addItem(ArticlesBar::texteTaux(taux));
    etiquette(QStringLiteral("TVA :"), TauxTVA, 3);
    champs->setColumnStretch(0, 3);
    champs->setColumnStretch(1, 4);
    champs->setColumnStretch(2, 1);
    champs->setColumnStretch(3, 1);
    colonne->addLayout(champs);

    auto *boutons = new QHBoxLayout;
    boutons->addStretch();
    ajouterArticle = new QPushButton(QStringLiteral("Ajouter"), this);
    ajouterArticle->setObjectName(QStringLiteral("ajouterArticle"));
    enregistrerArticle = new QPushButton(QStringLiteral("Enregistrer"), this);
    enregistrerArticle->setObjectName(QStringLiteral("enregistrerArticle"));
    supprimerArticle = new QPushButton(QStringLiteral("Supprimer"), this);
    supprimerArticle->setObjectName(QStringLiteral("supprimerArticle"));
    for (QPushButton *bouton : {ajouterArticle, enregistrerArticle, supprimerArticle})
        boutons->addWidget(bouton);
    colonne->addLayout(boutons);

    connect(tableArticles, &QTableWidget::itemSelectionChanged, this,
            &OngletArticles::montrerChoisi);
    connect(ajouterArticle, &QPushButton::clicked, this, &OngletArticles::ajouterArticle_Click);
    connect(enregistrerArticle, &QPushButton::clicked, this,
            &OngletArticles::enregistrerArticle_Click);
    connect(supprimerArticle, &QPushButton::clicked, this, &OngletArticles::supprimerArticle_Click);
    charger(0);
}

void OngletArticles::charger(qint64 rowid)
{
    const QSqlError erreur = ArticlesBar::lireArticles(m_contexte.BasePlanning(), m_articles);
    if (erreur.isValid())
        BoiteMessage::afficher(this,
                               QStringLiteral("Les articles n'ont pas pu être lus :\n")
                                   + messageBaseEnFrancais(erreur));
    {
        const QSignalBlocker blocage(tableArticles);
        tableArticles->clearContents();
        tableArticles->setRowCount(int(m_articles.size()));
        for (int ligne = 0; ligne < m_articles.size(); ++ligne) {
            const ArticlesBar::Article &article = m_articles.at(ligne);
            tableArticles->setItem(ligne, ColonneFamille, cellule(article.famille));
            tableArticles->setItem(ligne, ColonneLibelle, cellule(article.libelle));
            tableArticles->setItem(
                ligne, ColonnePrix,
                cellule(ArticlesBar::textePrix(article.centimes), Qt::AlignRight));
            tableArticles->setItem(
                ligne, ColonneTaux,
                cellule(ArticlesBar::texteTaux(article.tauxTva), Qt::AlignRight));
        }
        const auto trouve = std::find_if(
            m_articles.cbegin(), m_articles.cend(),
            [rowid](const ArticlesBar::Article &article) { return article.rowid == rowid; });
        const int ligne = trouve != m_articles.cend() ? int(trouve - m_articles.cbegin()) : 0;
        if (ligne < m_articles.size()) {
            tableArticles->selectRow(ligne);
            tableArticles->scrollToItem(tableArticles->item(ligne, ColonneFamille));
        }
    }
    {
        const QSignalBlocker blocage(Famille);
        const QString tapee = Famille->currentText();
        Famille->clear();
        Famille->addItems(ArticlesBar::familles(m_contexte.BasePlanning()));
        Famille->setCurrentText(tapee);
    }
    montrerChoisi();
}

int OngletArticles::choisi() const
{
    const QList<QTableWidgetItem *> elements = tableArticles->selectedItems();
    if (elements.isEmpty())
        return -1;
    const int ligne = elements.first()->row();
    return ligne < m_articles.size() ? ligne : -1;
}

void OngletArticles::montrerChoisi()
{
    const int ligne = choisi();
    enregistrerArticle->setEnabled(ligne >= 0);
    supprimerArticle->setEnabled(ligne >= 0);
    if (ligne < 0) {
        Libelle->clear();
        prixTTC->clear();
        return;
    }
    const ArticlesBar::Article &article = m_articles.at(ligne);
    Famille->setCurrentText(article.famille);
    Libelle->setText(article.libelle);
    prixTTC->setText(ArticlesBar::montant(article.centimes));
    TauxTVA->setCurrentText(ArticlesBar::texteTaux(article.tauxTva));
}

std::optional<ArticlesBar::Article> OngletArticles::lireChamps(qint64 rowid)
{
    auto refuser = [this](const QString &refus, QWidget *champ) {
        BoiteMessage::afficher(this, refus);
        champ->setFocus();
        return std::nullopt;
    };
    ArticlesBar::Article article;
    article.rowid = rowid;
    article.famille = Famille->currentText();
    if (const QString refus = ArticlesBar::refusDeLaFamille(article.famille); !refus.isEmpty())
        return refuser(refus, Famille);
    article.libelle = Libelle->text();
    if (const QString refus = ArticlesBar::refusDuLibelle(article.libelle); !refus.isEmpty())
        return refuser(refus, Libelle);
    const ArticlesBar::LectureNombre prix = ArticlesBar::lirePrix(prixTTC->text());
    if (!prix.acceptee())
        return refuser(prix.refus, prixTTC);
    article.centimes = prix.valeur;
    const ArticlesBar::LectureNombre taux = ArticlesBar::lireTaux(TauxTVA->currentText());
    if (!taux.acceptee())
        return refuser(taux.refus, TauxTVA);
    article.tauxTva = int(taux.valeur);
    return article;
}

void OngletArticles::ajouterArticle_Click()
{
    // The family shown, the rest for the owner to type: the rate is the usual 10 %, never
    // guessed from the family's name.
    ArticlesBar::Article article;
    article.famille = Famille->currentText();
    if (const QString refus = ArticlesBar::refusDeLaFamille(article.famille); !refus.isEmpty()) {
        // The first article of a new bar has no family to take yet: say where it is typed.
        BoiteMessage::afficher(this,
                               article.famille.trimmed().isEmpty()
                                   ? QStringLiteral("Tapez d'abord la famille du nouvel article "
                                                    "dans la case « Famille » (par exemple "
                                                    "« Boissons »), puis « Ajouter ».")
                                   : refus);
        Famille->setFocus();
        return;
    }
    article.libelle = QStringLiteral("Nouvel article");
    const QSqlError erreur = ArticlesBar::ajouterArticle(m_contexte.BasePlanning(), article);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("L'article n'a pas pu être ajouté :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    charger(article.rowid);
    Libelle->setFocus();
    Libelle->selectAll();
}

void OngletArticles::enregistrerArticle_Click()
{
    const int ligne = choisi();
    if (ligne < 0)
        return;
    const std::optional<ArticlesBar::Article> article = lireChamps(m_articles.at(ligne).rowid);
    if (!article)
        return;
    const ArticlesBar::Article montre = m_articles.at(ligne);
    QSqlError erreur = ArticlesBar::modifierArticle(m_contexte.BasePlanning(), *article, &montre);
    if (estUnConflit(erreur)) {
        std::optional<ArticlesBar::Article> actuel;
        erreur = ArticlesBar::lireArticle(m_contexte.BasePlanning(), article->rowid, actuel);
        if (!erreur.isValid() && actuel) {
            const auto champ
                = [](const QString &libelle, const QString &leur, const QString &votre) {
                      return ConflitDeVersion::Difference {libelle, leur, votre};
                  };
            QVector<ConflitDeVersion::Difference> differences;
            if (actuel->famille != montre.famille)
                differences << champ(QStringLiteral("Famille"), actuel->famille, article->famille);
            if (actuel->libelle != montre.libelle)
                differences << champ(QStringLiteral("Libellé"), actuel->libelle, article->libelle);
            if (actuel->centimes != montre.centimes)
                differences << champ(QStringLiteral("Prix TTC"),
                                     ArticlesBar::textePrix(actuel->centimes),
                                     ArticlesBar::textePrix(article->centimes));
            if (actuel->tauxTva != montre.tauxTva)
                differences << champ(QStringLiteral("TVA"), ArticlesBar::texteTaux(actuel->tauxTva),
                                     ArticlesBar::texteTaux(article->tauxTva));
            const int choix = BoiteMessage::choisir(
                this, ConflitDeVersion::texteDuConflit(QStringLiteral("Cet article"), differences),
                {QStringLiteral("Reprendre leur version"), QStringLiteral("Garder la mienne")});
            if (choix < 0)
                return;
            if (choix == 0) {
                charger(article->rowid);
                return;
            }
            erreur = ArticlesBar::modifierArticle(m_contexte.BasePlanning(), *article);
        }
    }
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("L'article n'a pas pu être enregistré :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    charger(article->rowid);
}

void OngletArticles::supprimerArticle_Click()
{
    const int ligne = choisi();
    if (ligne < 0)
        return;
    const ArticlesBar::Article article = m_articles.at(ligne);
    // The journal holds each sale as its own text and price: nothing there refers to the row.
    if (!BoiteMessage::demander(this,
                                QStringLiteral("Supprimer « %1 » ? Les ventes déjà faites "
                                               "restent dans les comptes des séjours.")
                                    .arg(article.libelle)))
        return;
    const QSqlError erreur
        = ArticlesBar::supprimerArticle(m_contexte.BasePlanning(), article.rowid);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("L'article n'a pas pu être supprimé :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    // The next row takes the place of the one removed; the one before, past the end.
    const int suivante = ligne + 1 < m_articles.size() ? ligne + 1 : ligne - 1;
    charger(suivante >= 0 ? m_articles.at(suivante).rowid : 0);
}

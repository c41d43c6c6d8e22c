#include "outils/PlacesLibres.h"

#include "app/BoiteMessage.h"
#include "app/CentrerFenetre.h"
#include "app/Contexte.h"
#include "app/Horloge.h"
#include "conversion/MessageErreur.h"
#include "data/DisponibiliteObjets.h"
#include "data/ObjetsEtablissement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString FormeDate = QStringLiteral("dd/MM/yyyy");

enum Colonne { ColonneObjet, ColonneCategorie, ColonneCapacite };

QLineEdit *champDate(QWidget *parent, const char *nom, const QDate &date)
{
    auto *champ = new QLineEdit(date.toString(FormeDate), parent);
    champ->setObjectName(QString::fromLatin1(nom));
    champ->setPlaceholderText(QStringLiteral("jj/mm/aaaa"));
    champ->setMaxLength(10);
    return champ;
}

} // namespace

PlacesLibres::PlacesLibres(Contexte &contexte, QWidget *parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("PlacesLibres"));
    setWindowTitle(QStringLiteral("Places libres"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QDate aujourdhui = Horloge::aujourdhui();
    arrivee = champDate(this, "arrivee", aujourdhui);
    depart = champDate(this, "depart", aujourdhui.addDays(1));
    personnes = new QSpinBox(this);
    personnes->setObjectName(QStringLiteral("personnes"));
    personnes->setRange(1, 99);
    personnes->setValue(1);
    // "12" typed searches once, not for 1 and then for 12.
    personnes->setKeyboardTracking(false);
    categorie = new QComboBox(this);
    categorie->setObjectName(QStringLiteral("categorie"));
    categorie->addItem(QStringLiteral("Toutes"), QString());
    for (const QString &nom : ObjetsEtablissement::categoriesDuPlanning(contexte.BasePlanning()))
        categorie->addItem(nom, nom);
    chercher = new QPushButton(QStringLiteral("Chercher"), this);
    chercher->setObjectName(QStringLiteral("chercher"));

    libres = new QTreeWidget(this);
    libres->setObjectName(QStringLiteral("libres"));
    libres->setColumnCount(3);
    libres->setHeaderLabels(
        {QStringLiteral("Objet"), QStringLiteral("Catégorie"), QStringLiteral("Capacité")});
    libres->setRootIsDecorated(false);
    libres->setUniformRowHeights(true);
    libres->setAllColumnsShowFocus(true);
    libres->header()->setSectionResizeMode(ColonneObjet, QHeaderView::Stretch);
    libres->header()->setStretchLastSection(false);
    compte = new QLabel(this);
    compte->setObjectName(QStringLiteral("compte"));
    compte->setWordWrap(true);

    auto *grille = new QGridLayout;
    auto etiquette = [&](const QString &texte, QWidget *champ, int ligne, int colonne) {
        auto *libelle = new QLabel(texte, this);
        libelle->setBuddy(champ);
        grille->addWidget(libelle, ligne, colonne);
        grille->addWidget(champ, ligne, colonne + 1);
    };
    etiquette(QStringLiteral("&Arrivée :"), arrivee, 0, 0);
    etiquette(QStringLiteral("&Départ :"), depart, 0, 2);
    etiquette(QStringLiteral("&Personnes :"), personnes, 1, 0);
    etiquette(QStringLiteral("&Catégorie :"), categorie, 1, 2);
    grille->addWidget(chercher, 0, 4, 2, 1);
    grille->setColumnStretch(3, 1);
    auto *colonne = new QVBoxLayout(this);
    colonne->addLayout(grille);
    colonne->addWidget(libres, 1);
    colonne->addWidget(compte);
    resize(560, 460);

    connect(chercher, &QPushButton::clicked, this, [this] { rechercher(true); });
    connect(categorie, &QComboBox::currentIndexChanged, this, [this] { rechercher(false); });
    connect(personnes, &QSpinBox::valueChanged, this, [this] { rechercher(false); });
    connect(libres, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *ligne) { ouvrirSejour(ligne); });

    rechercher(false);
    CentrerFenetre(this);
}

void PlacesLibres::actualiser()
{
    if (m_arrivee.isValid())
        rechercher(false);
}

void PlacesLibres::rechercher(bool signalerRefus)
{
    libres->clear();
    m_arrivee = QDate();
    m_depart = QDate();
    const QString refus = DisponibiliteObjets::refusDesDates(arrivee->text(), depart->text());
    if (!refus.isEmpty()) {
        compte->setText(refus);
        if (signalerRefus)
            BoiteMessage::afficher(this, refus);
        return;
    }
    const QDate debut = DisponibiliteObjets::dateSaisie(arrivee->text());
    const QDate fin = DisponibiliteObjets::dateSaisie(depart->text());
    QVector<PlaceLibre> places;
    const QSqlError erreur = DisponibiliteObjets::placesLibres(
        m_contexte.BasePlanning(), debut, fin, personnes->value(),
        categorie->currentData().toString(), places);
    if (erreur.isValid()) {
        compte->setText(QStringLiteral("Les places libres n'ont pas pu être lues : ")
                        + messageBaseEnFrancais(erreur));
        return;
    }
    QList<QTreeWidgetItem *> lignes;
    lignes.reserve(places.size());
    for (const PlaceLibre &place : std::as_const(places)) {
        auto *ligne = new QTreeWidgetItem;
        ligne->setText(ColonneObjet, DisponibiliteObjets::libelle(place));
        ligne->setData(ColonneObjet, Qt::UserRole, place.numero);
        ligne->setText(ColonneCategorie, place.categorie);
        ligne->setText(ColonneCapacite, place.capacite.toString());
        ligne->setTextAlignment(ColonneCapacite, Qt::AlignRight | Qt::AlignVCenter);
        lignes << ligne;
    }
    libres->addTopLevelItems(lignes);
    m_arrivee = debut;
    m_depart = fin;
    compte->setText(DisponibiliteObjets::nombreDePlaces(places.size()));
}

void PlacesLibres::ouvrirSejour(QTreeWidgetItem *ligne)
{
    if (!ligne || !nouveauSejour || !m_arrivee.isValid())
        return;
    const qint32 objet = ligne->data(ColonneObjet, Qt::UserRole).toInt();
    QPointer<PlacesLibres> garde(this);
    nouveauSejour(objet, m_arrivee, m_depart);
    // The place may be taken now; the window may also have gone while the stay was open.
    if (garde)
        rechercher(false);
}

void PlacesLibres::keyPressEvent(QKeyEvent *evenement)
{
    if (evenement->key() != Qt::Key_Return && evenement->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(evenement);
        return;
    }
    if (libres->hasFocus() && libres->currentItem())
        ouvrirSejour(libres->currentItem());
    else
        rechercher(true);
}

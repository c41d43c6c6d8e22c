#include "settings/parametres.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/Demarrage.h"
#include "app/Langues.h"
#include "controls/BarreSeparatrice.h"
#include "controls/Fabriques.h"
#include "controls/FondDialogue.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Couleurs.h"
#include "conversion/MessageErreur.h"
#include "data/EtatsEtablissement.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "settings/EditionEtat.h"
#include "settings/OngletArticles.h"
#include "settings/OngletEtablissement.h"
#include "settings/OngletObjets.h"
#include "settings/OngletTarifs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include <algorithm>
#include <limits>

namespace {

// The design-time row: where row 0 stands in `fondcouleurs`, and each row's height.
constexpr int HautLigne = 8;
constexpr int HauteurLigne = 30;

void colorer(QWidget *pastille, const QColor &couleur)
{
    QPalette palette = pastille->palette();
    palette.setColor(QPalette::Window, couleur);
    pastille->setPalette(palette);
}

} // namespace

parametres::parametres(Contexte &contexte) : m_contexte(contexte)
{
    const ElementsDuFond elements = preparerDialoguePleinEcran(this, "parametres", QSize(800, 560));
    dessin = elements.dessin;
    Fond = elements.Fond;

    Label1 = new QLabel(QStringLiteral("Paramétres"), Fond);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(QFont(QStringLiteral("Arial Black"), 16));
    Label1->setGeometry(16, 8, 400, 36);
    quitter = nouveauBouton(Fond, "quitter", QStringLiteral("Quitter"), QRect(680, 522, 104, 28));
    connect(quitter, &xpcmdbutton::Click, this, &parametres::quitter_Click);

    SSTab1 = new QTabWidget(Fond);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(16, 52, 768, 460);
    // A house with many states scrolls down to the last one rather than losing it past the tab.
    m_defilement = new QScrollArea;
    m_defilement->setFrameShape(QFrame::NoFrame);
    SSTab1->addTab(m_defilement, QStringLiteral("Couleurs"));
    fondcouleurs = new QWidget;
    fondcouleurs->setObjectName(QStringLiteral("fondcouleurs"));
    fondcouleurs->setGeometry(8, 8, 740, HautLigne + HauteurLigne);
    m_defilement->setWidget(fondcouleurs);
    // The objects tab: two panes the owner shares out with the splitter bar, which keeps its
    // place in the main settings from one opening to the next.
    auto *objets = new QWidget;
    SSTab1->addTab(objets, QStringLiteral("Objets"));
    BaseDeDonnees1 = new QWidget(objets);
    BaseDeDonnees1->setObjectName(QStringLiteral("BaseDeDonnees1"));
    BaseDeDonnees1->setGeometry(8, 8, 744, 410);
    fondgauche = new QFrame(BaseDeDonnees1);
    fondgauche->setObjectName(QStringLiteral("fondgauche"));
    fondgauche->setFrameShape(QFrame::StyledPanel);
    fondgauche->setGeometry(0, 0, 300, 410);
    fonddroite = new QFrame(BaseDeDonnees1);
    fonddroite->setObjectName(QStringLiteral("fonddroite"));
    fonddroite->setFrameShape(QFrame::StyledPanel);
    fonddroite->setGeometry(307, 0, 437, 410);
    BarreSeparatrice1 = new BarreSeparatrice(BaseDeDonnees1);
    BarreSeparatrice1->setObjectName(QStringLiteral("BarreSeparatrice1"));
    BarreSeparatrice1->setGeometry(301, 0, BarreSeparatrice::Largeur, 410);
    if (!m_contexte.FichierINIPrincipal.isEmpty())
        BarreSeparatrice1->Controle_GAUCHEDROITE_avecMEMOIRE(
            fondgauche, fonddroite, BaseDeDonnees1, QStringLiteral("parametres"),
            QStringLiteral("BarreSeparatrice1"), m_contexte.FichierINIPrincipal);
    ongletObjets = new OngletObjets(m_contexte, fondgauche, fonddroite, this);
    connect(ongletObjets, &OngletObjets::modifie, this, &parametres::etablissementModifie);
    ongletArticles = new OngletArticles(m_contexte);
    SSTab1->addTab(ongletArticles, QStringLiteral("Articles"));
    ongletEtablissement = new OngletEtablissement;
    SSTab1->addTab(ongletEtablissement, QStringLiteral("Établissement"));
    ongletTarifs = new OngletTarifs(m_contexte);
    SSTab1->addTab(ongletTarifs, QStringLiteral("Tarifs"));
    connect(ongletObjets, &OngletObjets::modifie, ongletTarifs,
            &OngletTarifs::actualiserCategories);

    // Beside "Quitter", out of the rows' scrolling: in sight however many states there are.
    ajouteretat = nouveauBouton(Fond, "ajouteretat", QStringLiteral("Ajouter un état…"),
                                QRect(16, 522, 160, 28));
    connect(ajouteretat, &xpcmdbutton::Click, this, &parametres::ajouteretat_Click);
    connect(SSTab1, &QTabWidget::currentChanged, ajouteretat,
            [this](int onglet) { ajouteretat->setVisible(onglet == 0); });

    // The design-time row 0 and its texts, shown as they are when the base has no state.
    ajouterLigne();
    fondetats[0]->setText(QStringLiteral("Label2"));

    choisirCouleur = [this](const QColor &actuelle) -> std::optional<QColor> {
        const QColor choisie = QColorDialog::getColor(actuelle, this);
        if (!choisie.isValid())
            return std::nullopt;
        return choisie;
    };
    charger();
}

void parametres::ajouterLigne()
{
    const int i = int(fondetats.size());
    const int haut = HautLigne + i * HauteurLigne;
    auto *nom = new QLabel(fondcouleurs);
    nom->setObjectName(QStringLiteral("fondetats"));
    // A name is shown as typed, markup included.
    nom->setTextFormat(Qt::PlainText);
    nom->setGeometry(8, haut, 170, 24);
    auto *pastille = new QWidget(fondcouleurs);
    pastille->setObjectName(QStringLiteral("fondetatcouleurs"));
    pastille->setAutoFillBackground(true);
    pastille->setGeometry(186, haut, 56, 24);
    auto *changer = new QPushButton(QStringLiteral("Changer Couleur"), fondcouleurs);
    changer->setObjectName(QStringLiteral("fondchangercouleurs"));
    changer->setGeometry(250, haut, 130, 24);
    auto *web = new QCheckBox(QStringLiteral("Internet"), fondcouleurs);
    web->setObjectName(QStringLiteral("internet"));
    web->setGeometry(390, haut, 78, 24);
    auto *occupation = new QCheckBox(QStringLiteral("Occupe"), fondcouleurs);
    occupation->setObjectName(QStringLiteral("occupe"));
    occupation->setToolTip(QStringLiteral("Un séjour dans cet état occupe son objet (décochez pour "
                                          "un état annulé)"));
    occupation->setGeometry(474, haut, 84, 24);
    auto *renommer = new QPushButton(QStringLiteral("Renommer"), fondcouleurs);
    renommer->setObjectName(QStringLiteral("renommeretats"));
    renommer->setGeometry(562, haut, 86, 24);
    auto *supprimer = new QPushButton(QStringLiteral("Supprimer"), fondcouleurs);
    supprimer->setObjectName(QStringLiteral("supprimeretats"));
    supprimer->setGeometry(652, haut, 86, 24);
    connect(changer, &QPushButton::clicked, this, [this, i] { fondchangercouleurs_Click(i); });
    connect(web, &QCheckBox::clicked, this, [this, i] { internet_Click(i); });
    connect(occupation, &QCheckBox::clicked, this, [this, i] { occupe_Click(i); });
    connect(renommer, &QPushButton::clicked, this, [this, i] { renommeretats_Click(i); });
    connect(supprimer, &QPushButton::clicked, this, [this, i] { supprimeretats_Click(i); });
    for (QWidget *element : std::initializer_list<QWidget *> {nom, pastille, changer, web,
                                                              occupation, renommer, supprimer}) {
        element->setProperty("Index", i);
        // Rows added once the dialog is up are not shown by its own show().
        element->setVisible(true);
    }
    fondetats << nom;
    fondetatcouleurs << pastille;
    fondchangercouleurs << changer;
    internet << web;
    occupe << occupation;
    renommeretats << renommer;
    supprimeretats << supprimer;
}

void parametres::charger()
{
    MontrerFondDialogue(dessin, Fond);
    setWindowTitle(Traduire(QStringLiteral("Parametres")));
    lireEtats();
}

void parametres::lireEtats()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Recordset etats(m_contexte.BasePlanning(), QString::fromLatin1(TextesSQL::etatsDuParametrage));
    const QPalette palette;
    int i = 0;
    for (; !etats.fin(); etats.suivant(), ++i) {
        if (i >= fondetats.size())
            ajouterLigne();
        fondcouleurs->resize(fondcouleurs->width(), fondetats[i]->y() + fondetats[i]->height());
        fondetats[i]->setText(etats.champ(QStringLiteral("Nom")).toString());
        fondetats[i]->setProperty("Tag", etats.champ(QStringLiteral("code")).toString());
        // The box shows and sets the flag the web calendar publishes by.
        internet[i]->setChecked(etats.champ(QStringLiteral("internet")).toInt() != 0);
        occupe[i]->setChecked(etats.champ(QStringLiteral("occupe")).toInt() != 0);
        // A colour that is Null or no 32-bit value leaves the swatch as it was designed.
        const QVariant champ = etats.champ(QStringLiteral("CouleurPrincipale"));
        bool lue = false;
        const qlonglong couleur = champ.toLongLong(&lue);
        if (lue && !champ.isNull() && couleur >= std::numeric_limits<qint32>::min()
            && couleur <= std::numeric_limits<qint32>::max())
            colorer(fondetatcouleurs[i], couleurDepuisVB(quint32(qint32(couleur)), palette));
        else
            // A row read again after a removal must not keep the colour of the state it showed.
            fondetatcouleurs[i]->setPalette(QPalette());
    }
    // The design-time row stays when the base has no state.
    while (fondetats.size() > qMax(i, 1)) {
        for (QWidget *element : std::initializer_list<QWidget *> {
                 fondetats.takeLast(), fondetatcouleurs.takeLast(), fondchangercouleurs.takeLast(),
                 internet.takeLast(), occupe.takeLast(), renommeretats.takeLast(),
                 supprimeretats.takeLast()}) {
            element->hide();
            // Later: the row's own button may be the one whose click is being handled.
            element->deleteLater();
        }
    }
    QGuiApplication::restoreOverrideCursor();
}

QSqlError parametres::enregistrer(int index, const QString &champ, const QVariant &valeur)
{
    Recordset etat(m_contexte.BasePlanning(),
                   TextesSQL::etatParCode(fondetats[index]->property("Tag").toInt()));
    QSqlError erreur = etat.erreur();
    if (!erreur.isValid() && !etat.fin()) {
        etat.modifier();
        etat.fixerChamp(champ, valeur);
        erreur = etat.valider();
    }
    return erreur;
}

void parametres::fondchangercouleurs_Click(int index)
{
    if (index < 0 || index >= fondetats.size() || !choisirCouleur)
        return;
    const std::optional<QColor> choisie
        = choisirCouleur(fondetatcouleurs[index]->palette().color(QPalette::Window));
    // Cancelled: nothing changes (the colour the picker happened to hold is not stored).
    if (!choisie)
        return;
    const QSqlError erreur
        = enregistrer(index, QStringLiteral("CouleurPrincipale"), qint64(couleurVersVB(*choisie)));
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La couleur n'a pas pu être enregistrée :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    colorer(fondetatcouleurs[index], *choisie);
    emit couleurChangee();
}

void parametres::internet_Click(int index)
{
    if (index < 0 || index >= fondetats.size())
        return;
    const QSqlError erreur
        = enregistrer(index, QStringLiteral("surinternet"), internet[index]->isChecked());
    if (erreur.isValid()) {
        internet[index]->setChecked(!internet[index]->isChecked());
        BoiteMessage::afficher(this,
                               QStringLiteral("Le choix n'a pas pu être enregistré :\n")
                                   + messageBaseEnFrancais(erreur));
    }
}

void parametres::occupe_Click(int index)
{
    if (index < 0 || index >= fondetats.size())
        return;
    const EtatsEtablissement::Issue issue = EtatsEtablissement::fixerOccupe(
        m_contexte.BasePlanning(), fondetats[index]->property("Tag").toInt(),
        occupe[index]->isChecked());
    if (!issue.reussie()) {
        occupe[index]->setChecked(!occupe[index]->isChecked());
        BoiteMessage::afficher(
            this, issue.message(QStringLiteral("Le choix n'a pas pu être enregistré :")));
    }
}

void parametres::ajouteretat_Click()
{
    auto *edition = new EditionEtat(m_contexte.BasePlanning(), choisirCouleur, this);
    edition->setAttribute(Qt::WA_DeleteOnClose);
    connect(edition, &EditionEtat::enregistre, this, &parametres::etatsModifies);
    edition->open();
}

void parametres::renommeretats_Click(int index)
{
    if (index < 0 || index >= fondetats.size())
        return;
    auto *edition
        = new EditionEtat(m_contexte.BasePlanning(), fondetats[index]->property("Tag").toInt(),
                          fondetats[index]->text(), this);
    edition->setAttribute(Qt::WA_DeleteOnClose);
    connect(edition, &EditionEtat::enregistre, this, &parametres::etatsModifies);
    edition->open();
}

void parametres::supprimeretats_Click(int index)
{
    if (index < 0 || index >= fondetats.size())
        return;
    const QSqlDatabase base = m_contexte.BasePlanning();
    const qint32 code = fondetats[index]->property("Tag").toInt();
    const QString echec = QStringLiteral("L'état n'a pas pu être supprimé :");
    EtatsEtablissement::Issue issue = EtatsEtablissement::refusDeSuppression(base, code);
    if (issue.reussie()) {
        const QString nom = EtatsEtablissement::nomDeLEtat(base, code).value_or(QString());
        if (!BoiteMessage::demander(this, QStringLiteral("Supprimer l'état « %1 » ?").arg(nom)))
            return;
        issue = EtatsEtablissement::supprimerEtat(base, code);
    }
    if (!issue.reussie()) {
        BoiteMessage::afficher(this, issue.message(echec));
        return;
    }
    etatsModifies(code);
}

void parametres::etatsModifies(qint32 code)
{
    m_contexte.ListeEtats.clear();
    Demarrage::chargerEtats(m_contexte);
    lireEtats();
    const auto ligne = std::find_if(fondetats.cbegin(), fondetats.cend(), [code](QLabel *nom) {
        return nom->property("Tag").toInt() == code;
    });
    if (ligne != fondetats.cend())
        m_defilement->ensureWidgetVisible(*ligne);
    emit etablissementModifie();
}

void parametres::quitter_Click()
{
    close();
}

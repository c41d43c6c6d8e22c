#include "app/ROOT.h"

#include "Version.h"
#include "app/BoiteMessage.h"
#include "app/CentrerFenetre.h"
#include "app/Contexte.h"
#include "app/Horloge.h"
#include "app/SavePosition.h"
#include "conversion/Couleurs.h"
#include "conversion/MessageErreur.h"
#include "data/ChaineJournal.h"
#include "data/Cloture.h"
#include "data/VeilleBase.h"
#include "outils/ArriveesDeparts.h"
#include "outils/Conflits.h"
#include "outils/PlacesLibres.h"
#include "outils/Recherche.h"
#include "outils/TaxeDeSejour.h"
#include "planning/Form1.h"
#include "settings/parametres.h"
#include "web/MiseAJourInternet.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

ROOT::ROOT(Contexte &contexte, QWidget *parent)
    : QMainWindow(parent), m_contexte(contexte), m_zone(new QMdiArea)
{
    setObjectName(QStringLiteral("ROOT"));
    setWindowTitle(legende());
    resize(1024, 700);

    QMenu *fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->setObjectName(QStringLiteral("menuFichier"));
    QAction *quitter = fichier->addAction(QStringLiteral("&Quitter"));
    quitter->setObjectName(QStringLiteral("menuQuitter"));
    connect(quitter, &QAction::triggered, this, [this] { emit finDemandee(0); });

    QMenu *outils = menuBar()->addMenu(QStringLiteral("&Outils"));
    outils->setObjectName(QStringLiteral("menuOutils"));
    QAction *miseAJour = outils->addAction(QStringLiteral("&Mise à jour Internet"));
    miseAJour->setObjectName(QStringLiteral("menuMiseAJourInternet"));
    connect(miseAJour, &QAction::triggered, this, &ROOT::miseAJourInternetDemandee);
    // Modal, as the settings dialog is: the frame's menus wait for it, and it is never open
    // twice.
    connect(this, &ROOT::miseAJourInternetDemandee, this, [this] {
        if (findChild<MiseAJourInternet *>())
            return;
        auto *publication = new MiseAJourInternet(m_contexte, this);
        publication->setWindowModality(Qt::ApplicationModal);
        publication->show();
    });
    QAction *recherche = outils->addAction(QStringLiteral("&Rechercher…"));
    recherche->setObjectName(QStringLiteral("menuRechercher"));
    recherche->setShortcut(QKeySequence::Find);
    connect(recherche, &QAction::triggered, this, &ROOT::ouvrirRecherche);
    QAction *mouvements = outils->addAction(QStringLiteral("&Arrivées et départs"));
    mouvements->setObjectName(QStringLiteral("menuArriveesDeparts"));
    connect(mouvements, &QAction::triggered, this, &ROOT::ouvrirArriveesDeparts);
    QAction *libres = outils->addAction(QStringLiteral("Places &libres…"));
    libres->setObjectName(QStringLiteral("menuPlacesLibres"));
    connect(libres, &QAction::triggered, this, &ROOT::ouvrirPlacesLibres);
    QAction *conflits = outils->addAction(QStringLiteral("&Conflits"));
    conflits->setObjectName(QStringLiteral("menuConflits"));
    connect(conflits, &QAction::triggered, this, &ROOT::ouvrirConflits);
    QAction *verification = outils->addAction(QStringLiteral("&Vérifier le journal"));
    verification->setObjectName(QStringLiteral("menuVerifierJournal"));
    connect(verification, &QAction::triggered, this, &ROOT::verifierJournal);
    QAction *cloture = outils->addAction(QStringLiteral("Clôture du &jour"));
    cloture->setObjectName(QStringLiteral("menuClotureDuJour"));
    connect(cloture, &QAction::triggered, this, &ROOT::cloturerLaJournee);
    QAction *taxe = outils->addAction(QStringLiteral("&Taxe de séjour…"));
    taxe->setObjectName(QStringLiteral("menuTaxeDeSejour"));
    connect(taxe, &QAction::triggered, this, [this] {
        TaxeDeSejour dialogue(m_contexte, this);
        dialogue.exec();
    });
    QAction *parametres = outils->addAction(QStringLiteral("&Paramétres"));
    parametres->setObjectName(QStringLiteral("menuParametres"));
    connect(parametres, &QAction::triggered, this, &ROOT::parametresDemandes);
    connect(this, &ROOT::parametresDemandes, this, [this] { ouvrirParametres(); });

    // The strip along the top edge carries the frame's window-position memory.
    auto *bandeau = new QWidget;
    bandeau->setObjectName(QStringLiteral("bandeau"));
    bandeau->setFixedHeight(25);
    bandeau->setAutoFillBackground(true);
    QPalette palette = bandeau->palette();
    palette.setColor(QPalette::Window, couleurDepuisVB(0x80000000u, palette));
    bandeau->setPalette(palette);

    m_zone->setObjectName(QStringLiteral("zoneFenetres"));
    auto *centre = new QWidget;
    auto *disposition = new QVBoxLayout(centre);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    disposition->addWidget(bandeau);
    disposition->addWidget(m_zone, 1);
    setCentralWidget(centre);

    // The strip carries the frame's window-position memory.
    m_position = new SavePosition(this);
    m_position->init(this, QStringLiteral("reriveved.ini"), QStringLiteral("root"));
}

QString ROOT::legende()
{
    return QStringLiteral("PIVANE Razarivu") + QLatin1Char(' ')
        + QStringLiteral("%1.%2.%3")
              .arg(RAZARIVU_VERSION_MAJEURE)
              .arg(RAZARIVU_VERSION_MINEURE)
              .arg(RAZARIVU_REVISION);
}

::parametres *ROOT::ouvrirParametres(int onglet)
{
    auto *dialogue = new ::parametres(m_contexte);
    if (m_planning) {
        connect(dialogue, &::parametres::couleurChangee, m_planning, &Form1::rafraichir);
        connect(dialogue, &::parametres::etablissementModifie, m_planning, [this] {
            m_planning->actualiserCategories();
            m_planning->rafraichir();
        });
    }
    dialogue->SSTab1->setCurrentIndex(onglet);
    dialogue->show();
    return dialogue;
}

namespace {
// A tool window of its own over the frame, brought forward when it is already open.
template<typename Fenetre>
Fenetre *montrer(QPointer<Fenetre> &fenetre, Contexte &contexte, QWidget *cadre)
{
    if (!fenetre) {
        fenetre = new Fenetre(contexte, cadre);
        fenetre->setWindowFlag(Qt::Window);
        CentrerFenetre(fenetre);
    }
    fenetre->show();
    fenetre->raise();
    fenetre->activateWindow();
    return fenetre;
}

// A tool window waits, out of reach, while the stay it opened is open: a second stay cannot be
// opened over the first. It may be gone by the time the stay closes.
template<typename Fenetre, typename Action>
void horsDePortee(const QPointer<Fenetre> &fenetre, const Action &action)
{
    fenetre->setEnabled(false);
    action();
    if (fenetre)
        fenetre->setEnabled(true);
}
} // namespace

Recherche *ROOT::ouvrirRecherche()
{
    if (!m_planning)
        return nullptr;
    Recherche *fenetre = montrer(m_recherche, m_contexte, this);
    fenetre->ouvrirSejour = [this](qint32 numero) {
        // Once the search window is gone: the stay opens over the planning alone.
        QTimer::singleShot(0, m_planning, [this, numero] { m_planning->ouvrirSejour(numero); });
    };
    return fenetre;
}

ArriveesDeparts *ROOT::ouvrirArriveesDeparts()
{
    if (!m_planning)
        return nullptr;
    const bool nouvelle = !m_mouvements;
    ArriveesDeparts *fenetre = montrer(m_mouvements, m_contexte, this);
    if (!nouvelle)
        fenetre->actualiser();
    fenetre->ouvrirSejour = [this](qint32 numero) {
        horsDePortee(m_mouvements, [&] { m_planning->ouvrirSejour(numero); });
    };
    return fenetre;
}

PlacesLibres *ROOT::ouvrirPlacesLibres()
{
    if (!m_planning)
        return nullptr;
    PlacesLibres *fenetre = montrer(m_placesLibres, m_contexte, this);
    fenetre->nouveauSejour = [this](qint32 objet, const QDate &arrivee, const QDate &depart) {
        horsDePortee(m_placesLibres, [&] { m_planning->nouveauSejourSur(objet, arrivee, depart); });
    };
    return fenetre;
}

Conflits *ROOT::ouvrirConflits()
{
    if (!m_planning)
        return nullptr;
    // A hidden window reads its list as it is shown; one already in view must be told.
    const bool enVue = m_conflits && m_conflits->isVisible();
    Conflits *fenetre = montrer(m_conflits, m_contexte, this);
    if (enVue)
        fenetre->actualiser();
    fenetre->ouvrirSejour = [this](qint32 numero) {
        horsDePortee(m_conflits, [&] { m_planning->ouvrirSejour(numero); });
    };
    return fenetre;
}

void ROOT::verifierJournal()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ChaineJournal::Verification verification
        = ChaineJournal::verifier(m_contexte.BasePlanning());
    // The closures anchor the journal's end: rows removed after the last one closed show there.
    const Cloture::Verification clotures = verification.intact
        ? Cloture::verifier(m_contexte.BasePlanning())
        : Cloture::Verification();
    QGuiApplication::restoreOverrideCursor();
    if (!verification.intact)
        BoiteMessage::afficher(this, verification.message);
    else if (!clotures.intacte)
        BoiteMessage::afficher(this, clotures.message);
    else if (clotures.clotures == 0)
        BoiteMessage::afficher(
            this, QStringLiteral("Journal intact (%1 lignes vérifiées).").arg(verification.lignes));
    else
        BoiteMessage::afficher(this,
                               QStringLiteral("Journal intact (%1 lignes et %2 clôtures "
                                              "vérifiées).")
                                   .arg(verification.lignes)
                                   .arg(clotures.clotures));
}

void ROOT::cloturerLaJournee()
{
    const QDate jour = Horloge::aujourdhui();
    const QString texteJour = jour.toString(QStringLiteral("dd/MM/yyyy"));
    if (!BoiteMessage::demander(this,
                                QStringLiteral("Clôturer la journée du %1 ?\nLes totaux "
                                               "du journal sont alors arrêtés : ce qui "
                                               "s'écrit ensuite compte pour le jour "
                                               "suivant.")
                                    .arg(texteJour)))
        return;
    Cloture::Releve releve;
    const QSqlError erreur = Cloture::cloturer(m_contexte.BasePlanning(), jour, releve);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La journée n'a pas été clôturée :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    BoiteMessage::afficher(
        this,
        QStringLiteral("Clôture n° %1 du %2 (%3 lignes du journal).\nJour : %4\nMois : "
                       "%5\nAnnée : %6\nDepuis le début : %7")
            .arg(releve.numero)
            .arg(texteJour)
            .arg(releve.lignes)
            .arg(Cloture::texteTotaux(releve.duJour), Cloture::texteTotaux(releve.duMois),
                 Cloture::texteTotaux(releve.deLAnnee), Cloture::texteTotaux(releve.cumul)));
}

void ROOT::actualiserLesOutils()
{
    // A window waiting on the stay it opened reads its list again when that stay closes.
    const auto libre = [](QWidget *fenetre) {
        return fenetre && fenetre->isVisible() && fenetre->isEnabled();
    };
    if (libre(m_mouvements))
        m_mouvements->actualiser();
    if (libre(m_conflits))
        m_conflits->actualiser();
    if (libre(m_placesLibres))
        m_placesLibres->actualiser();
    if (libre(m_recherche))
        m_recherche->charger();
}

bool ROOT::demarrer()
{
    m_planning = new Form1(m_contexte);
    QMdiSubWindow *sousFenetre = m_zone->addSubWindow(m_planning);
    sousFenetre->setObjectName(QStringLiteral("Form1_cadre"));
    sousFenetre->hide();
    if (!m_planning->charger())
        return false;
    connect(&m_contexte.veille(), &VeilleBase::changementAilleurs, this,
            &ROOT::actualiserLesOutils);
    // Said at every start for as long as it lasts: backups that stop working must not go
    // unnoticed for weeks.
    if (!m_contexte.problemeSauvegarde.isEmpty()) {
        statusBar()->setObjectName(QStringLiteral("barreEtat"));
        statusBar()->showMessage(m_contexte.problemeSauvegarde);
    }
    // A new establishment starts by entering its rooms and pitches.
    if (m_planning->baseCreee())
        ouvrirParametres(OngletObjets);
    return true;
}

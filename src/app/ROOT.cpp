#include "app/ROOT.h"

#include "Version.h"
#include "app/SavePosition.h"
#include "conversion/Couleurs.h"
#include "planning/Form1.h"
#include "settings/parametres.h"
#include "web/MiseAJourInternet.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabWidget>
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

bool ROOT::demarrer()
{
    m_planning = new Form1(m_contexte);
    QMdiSubWindow *sousFenetre = m_zone->addSubWindow(m_planning);
    sousFenetre->setObjectName(QStringLiteral("Form1_cadre"));
    sousFenetre->hide();
    if (!m_planning->charger())
        return false;
    // A new establishment starts by entering its rooms and pitches.
    if (m_planning->baseCreee())
        ouvrirParametres(OngletObjets);
    return true;
}

#include "planning/Form1.h"

#include "app/BoiteMessage.h"
#include "app/CentrerFenetre.h"
#include "app/Contexte.h"
#include "app/Demarrage.h"
#include "app/HauteurListe.h"
#include "app/Horloge.h"
#include "app/ReglageEntier.h"
#include "app/SavePosition.h"
#include "app/ValeurINI.h"
#include "app/intro.h"
#include "controls/Fabriques.h"
#include "controls/ScrollBar.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Conversion.h"
#include "conversion/Couleurs.h"
#include "conversion/MessageErreur.h"
#include "data/BaseDeDonnees.h"
#include "data/Chevauchement.h"
#include "data/ConflitsSejour.h"
#include "data/ObjetsEtablissement.h"
#include "data/VeilleBase.h"
#include "planning/DessinPlanning.h"
#include "planning/InfoBulle.h"
#include "planning/Librairie_Graphique.h"
#include "planning/Navigation.h"
#include "planning/OuvertureReservation.h"
#include "planning/SurfaceDessin.h"
#include "reservations/reservations.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSqlQuery>
#include <QToolTip>

#include <algorithm>

namespace {
// Where the planning keeps the line at its top and its day width from one run to the next.
const QString SectionAffichage = QStringLiteral("planning");
const QString ClePremiereLigne = QStringLiteral("premiereligne");
const QString CleLargeurJour = QStringLiteral("largeurjour");
constexpr int Cran = 120; // a wheel notch, in eighths of a degree
constexpr int LignesParCran = 3;

QComboBox *nouvelleListe(QWidget *parent, const char *nom, const QRect &place)
{
    auto *liste = new QComboBox(parent);
    liste->setObjectName(QLatin1String(nom));
    liste->setEditable(true);
    liste->setInsertPolicy(QComboBox::NoInsert);
    liste->setGeometry(place);
    return liste;
}

void colorer(QWidget *surface, quint32 couleur)
{
    surface->setAutoFillBackground(true);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, couleurDepuisVB(couleur, palette));
    surface->setPalette(palette);
}
} // namespace

Form1::Form1(Contexte &contexte, QWidget *parent)
    : QWidget(parent), positionPointeur([] { return QCursor::pos(); }), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Calendrier"));
    setFont(policePlanning());
    creerControles();
    resize(sizeHint());
    ouvrirReservation = [this](const ReservationAffichee &barre) {
        ouvrirLaReservation(barre);
    };
    ajouterReservation = [this] {
        ajouterUneReservation();
    };
    ajouterReservationSur = [this](qint32 objet, const QDate &arrivee, const QDate &depart) {
        ajouterUneReservation(objet, arrivee, depart);
    };
}

Form1::~Form1()
{
    // QWidget deletes the controls after this part of the object is gone, and an editable list
    // losing the focus then still reports a choice: nothing they send may reach us any more.
    for (QObject *enfant : findChildren<QObject *>())
        disconnect(enfant, nullptr, this, nullptr);
    finirPanoramique();
    if (m_memoire.isActive())
        memoriserAffichage();
    delete m_reservation.data();
}

reservations &Form1::dialogueReservation()
{
    if (!m_reservation)
        m_reservation = new reservations(m_contexte, this);
    return *m_reservation;
}

void Form1::fixerDatedepart(const QDate &jour)
{
    if (jour.isValid())
        datedepart = jour;
}

void Form1::signalerIntrouvable(qint32 numero)
{
    BoiteMessage::afficher(this,
                           QStringLiteral("La réservation n° %1 est introuvable : elle a "
                                          "peut-être été supprimée.")
                               .arg(numero));
}

void Form1::ouvrirLaReservation(const ReservationAffichee &barre)
{
    // The bar is the stay as the last redraw read it; another desk may have stored it since.
    const auto sejour = lireReservationAffichee(m_contexte.BasePlanning(), barre.NumeroReservation);
    if (!sejour) {
        signalerIntrouvable(barre.NumeroReservation);
        return;
    }
    reservations &dialogue = dialogueReservation();
    OuvertureReservation::remplir(dialogue, *sejour, this);
    setEnabled(false);
    OuvertureReservation::attendreReactivation(this, &dialogue);
    setEnabled(true);
}

void Form1::ajouterUneReservation(qint32 objet, const QDate &arrivee, const QDate &depart)
{
    reservations &dialogue = dialogueReservation();
    dialogue.Fonction_Ajouter();
    if (arrivee.isValid()) {
        dialogue.datedebut->setText(arrivee.toString(QStringLiteral("dd/MM/yyyy")));
        dialogue.datefin->setText((depart.isValid() ? depart : arrivee.addDays(1))
                                      .toString(QStringLiteral("dd/MM/yyyy")));
        dialogue.datedebut_LostFocus(); // the nights, as typing the dates counts them
        const QString prefixe = QString::number(objet) + QStringLiteral(" : ");
        for (int entree = 0; entree < dialogue.Objets->count(); ++entree) {
            if (dialogue.Objets->itemText(entree).startsWith(prefixe)) {
                dialogue.Objets->setCurrentIndex(entree);
                break;
            }
        }
    }
    // Each opening makes a new dialog: the planning names itself as its caller every time, so
    // that a stay added lands on the planning as one opened from its bar does.
    dialogue.FormAppelante(this);
    dialogue.setWindowModality(Qt::ApplicationModal);
    dialogue.show();
    OuvertureReservation::attendreFermeture(&dialogue);
}

void Form1::creerControles()
{
    const QPalette palette;
    const QColor texteFenetre = couleurDepuisVB(0x80000008u, palette);

    fondplanning = new QWidget(this);
    fondplanning->setObjectName(QStringLiteral("fondplanning"));
    colorer(fondplanning, 0x8000000Cu);
    fondplanning->move(8, 8);

    lesmois = new SurfaceDessin("lesmois", couleurDepuisVB(0xC0FFFFu), texteFenetre, fondplanning);
    lesmois->setGeometry(152, 0, 1, 25);
    TexteColonnes = new SurfaceDessin("TexteColonnes", couleurDepuisVB(0x8000000Bu, palette),
                                      texteFenetre, fondplanning);
    TexteColonnes->setGeometry(152, 24, 1, 41);
    objets = new SurfaceDessin("objets", couleurDepuisVB(0xFF8080u), texteFenetre, fondplanning);
    objets->setGeometry(0, 64, 153, 1);
    planning = new SurfaceDessin("planning", couleurDepuisVB(0xE0E0E0u), couleurDepuisVB(0xC0C0C0u),
                                 fondplanning);
    planning->move(152, 64);
    defilement = new QScrollBar(Qt::Vertical, fondplanning);
    defilement->setObjectName(QStringLiteral("defilement"));
    defilement->hide();
    connect(defilement, &QScrollBar::valueChanged, this, &Form1::afficherAPartirDe);
    for (SurfaceDessin *surface : {lesmois, TexteColonnes, objets, planning}) {
        surface->surface().police = policePlanning();
        connect(surface, &SurfaceDessin::effacee, this, &Form1::redessinerPlusTard);
    }

    colonnes = new QWidget(fondplanning);
    colonnes->setObjectName(QStringLiteral("colonnes"));
    colorer(colonnes, 0xC0C0C0u);
    colonnes->setGeometry(0, 0, 153, 68);
    choixannee = nouvelleListe(colonnes, "choixannee", QRect(8, 0, 57, 21));
    choixmois = nouvelleListe(colonnes, "choixmois", QRect(64, 0, 81, 21));
    MvtJourPrecedent = nouveauBouton(colonnes, "MvtJourPrecedent", "<", QRect(8, 21, 33, 17));
    mouvementaujourdhui
        = nouveauBouton(colonnes, "mouvementaujourdhui", "Auj.", QRect(40, 21, 41, 17));
    MvtJourSuivant = nouveauBouton(colonnes, "MvtJourSuivant", ">", QRect(80, 21, 33, 17));
    ajouter = nouveauBouton(colonnes, "ajouter", "+", QRect(112, 21, 33, 17));
    ChoixSelection = nouvelleListe(colonnes, "ChoixSelection", QRect(9, 36, 137, 21));

    Deplaceur.setObjectName(QStringLiteral("Deplaceur"));
    Deplaceur.setInterval(100);
    mouvements.setObjectName(QStringLiteral("mouvements"));
    mouvements.setInterval(10);
    Clignotement.setObjectName(QStringLiteral("Clignotement"));
    Clignotement.setInterval(500);

    connect(choixmois, &QComboBox::activated, this, &Form1::choixmois_Click);
    connect(choixannee, &QComboBox::activated, this, &Form1::choixannee_Click);
    connect(ChoixSelection, &QComboBox::activated, this, &Form1::ChoixSelection_Click);
    connect(mouvementaujourdhui, &xpcmdbutton::Click, this, &Form1::mouvementaujourdhui_Click);
    connect(ajouter, &xpcmdbutton::Click, this, &Form1::ajouter_Click);
    // A click moves one day; held, the buttons run on as a key repeats, after a pause, so
    // that a person can step by exactly one day.
    delaiMouvements.setObjectName(QStringLiteral("delaiMouvements"));
    delaiMouvements.setSingleShot(true);
    delaiMouvements.setInterval(400);
    connect(&delaiMouvements, &QTimer::timeout, this, [this] { mouvements.start(); });
    const auto enfoncer = [this](const char *pas) {
        etiquetteMouvements = QLatin1String(pas);
        mouvements_Timer();
        delaiMouvements.start();
    };
    connect(MvtJourPrecedent, &xpcmdbutton::MouseDown, this, [enfoncer] { enfoncer("-1"); });
    connect(MvtJourSuivant, &xpcmdbutton::MouseDown, this, [enfoncer] { enfoncer("1"); });
    connect(MvtJourPrecedent, &xpcmdbutton::MouseUp, this, [this] {
        delaiMouvements.stop();
        mouvements.stop();
    });
    connect(MvtJourSuivant, &xpcmdbutton::MouseUp, this, [this] {
        delaiMouvements.stop();
        mouvements.stop();
        etiquetteMouvements = QStringLiteral("1");
    });
    planning->infobulle = [this](const QPoint &position) {
        const int barre = barreSous(position);
        if (barre <= 0)
            return QString();
        const ReservationAffichee &sejour = ReservationsAffichees.at(barre);
        return texteInfobulle(sejour, m_nomsDesObjets.value(sejour.objet));
    };
    connect(planning, &SurfaceDessin::boutonEnfonce, this, &Form1::planning_MouseDown);
    connect(planning, &SurfaceDessin::doubleClic, this, &Form1::planning_DblClick);
    connect(planning, &SurfaceDessin::pointeurDeplace, this, &Form1::planning_MouseMove);
    connect(planning, &SurfaceDessin::boutonRelache, this,
            [this](Qt::MouseButton bouton) { planning_MouseUp(bouton); });
    connect(&Deplaceur, &QTimer::timeout, this, &Form1::Deplaceur_Timer);
    connect(&mouvements, &QTimer::timeout, this, &Form1::mouvements_Timer);
    connect(&Clignotement, &QTimer::timeout, this, &Form1::Clignotement_Timer);
    for (SurfaceDessin *surface : {planning, objets})
        connect(surface, &SurfaceDessin::molette, this, &Form1::planning_Molette);
    m_memoire.setSingleShot(true);
    m_memoire.setInterval(500);
    connect(&m_memoire, &QTimer::timeout, this, &Form1::memoriserAffichage);

    baseOccupee = new QLabel(QStringLiteral("Base occupée par un autre poste – nouvel essai…"),
                             fondplanning);
    baseOccupee->setObjectName(QStringLiteral("baseOccupee"));
    baseOccupee->setAutoFillBackground(true);
    QPalette avertissement = baseOccupee->palette();
    avertissement.setColor(QPalette::Window, couleurDepuisVB(0x80FFFFu));
    avertissement.setColor(QPalette::WindowText, Qt::black);
    baseOccupee->setPalette(avertissement);
    baseOccupee->setContentsMargins(6, 2, 6, 2);
    baseOccupee->hide();
    m_nouvelEssai.setSingleShot(true);
    m_nouvelEssai.setInterval(2000);
    connect(&m_nouvelEssai, &QTimer::timeout, this, [this] {
        // A server back after a stop: the connection is opened again, and the notices of the
        // other desks asked for again on it.
        if (BaseDeDonnees::retablir(m_contexte.BasePlanning()))
            m_contexte.veille().demarrer();
        redessinerSiLibre();
    });
    // While a bar is held, a pan runs or a stay is open, the other desk's change waits for it.
    m_redessinAttendu.setInterval(250);
    connect(&m_redessinAttendu, &QTimer::timeout, this, &Form1::redessinerSiLibre);
}

void Form1::baseChangeeAilleurs()
{
    m_redessinAttendu.start();
    redessinerSiLibre();
}

void Form1::redessinerSiLibre()
{
    if (m_saisie || Deplaceur.isActive() || reservationOuverte() || !isEnabled()
        || QApplication::activeModalWidget())
        return;
    m_redessinAttendu.stop();
    rafraichir();
}

void Form1::signalerLecture(bool echouee)
{
    if (!echouee) {
        baseOccupee->hide();
        return;
    }
    baseOccupee->setText(BaseDeDonnees::estPostgres(m_contexte.BasePlanning())
                             ? QStringLiteral("Serveur de la base injoignable – nouvel essai…")
                             : QStringLiteral("Base occupée par un autre poste – nouvel essai…"));
    baseOccupee->adjustSize();
    baseOccupee->move(planning->x() + 4, planning->y() + 4);
    baseOccupee->raise();
    baseOccupee->show();
    // The planning tries again by itself; the owner has nothing to do.
    m_nouvelEssai.start();
}

bool Form1::charger()
{
    Demarrage::preparer(m_contexte);

    intro splash;
    CentrerFenetre(&splash);
    if (!m_contexte.problemeSauvegarde.isEmpty())
        splash.signaler(m_contexte.problemeSauvegarde);
    splash.show();
    QCoreApplication::processEvents();
    splash.progression()->setValue(10);
    for (int valeur : {10, 30, 50, 70, 90}) {
        splash.progression()->setValue(valeur);
        QCoreApplication::processEvents();
    }

    Demarrage::lireClignotements(m_contexte);
    if (Demarrage::ouvrirBase(m_contexte).isValid()) {
        splash.hide();
        BoiteMessage::afficher(this, Demarrage::messageEchecOuverture(m_contexte));
        // Only a file that is not there at all is made anew: a damaged or unreadable one is
        // the owner's data, and stays as it is.
        if (!Demarrage::baseAbsente(m_contexte)
            || !BoiteMessage::demander(this, Demarrage::questionNouvelleBase()))
            return false;
        const QSqlError creation = Demarrage::creerNouvelleBase(m_contexte);
        if (creation.isValid()) {
            BoiteMessage::afficher(this, creation.text());
            return false;
        }
        m_baseCreee = true;
        splash.show();
    }
    if (const QSqlError miseAJour = Demarrage::mettreAJourBase(m_contexte); miseAJour.isValid()) {
        splash.hide();
        BoiteMessage::afficher(this, miseAJour.text());
        return false;
    }
    Demarrage::chargerEtats(m_contexte);
    Demarrage::lireChampsDansBarre(m_contexte);
    hauteurligne = 20;
    lireAffichage();

    mouvementaujourdhui_Click();
    afficherDansLeCadre();
    rafraichir();

    const int annee = Horloge::aujourdhui().year();
    for (int a = annee - 1; a <= annee + 5; ++a)
        choixannee->addItem(QString::number(a));
    for (qint16 mois = 1; mois <= 12; ++mois)
        choixmois->addItem(Conversion::NomDuMois(mois));
    ajusterHauteurListe(choixmois, 12);
    // Filling the lists put their first entries in the selectors: show the period again.
    afficherPeriode();
    m_position = new SavePosition(this);
    m_position->init(this, m_contexte.FichierINIPrincipal, QStringLiteral("Razarivu"));

    splash.close();
    actualiserCategories();
    connect(&m_contexte.veille(), &VeilleBase::changementAilleurs, this,
            &Form1::baseChangeeAilleurs);
    m_contexte.veille().demarrer();
    return true;
}

void Form1::dimensionnerSurfaces()
{
    // The scroll bar takes its width from the grid only when it shows, so that a site whose
    // lines all fit is drawn as it always was.
    const int barre = defilement->isHidden() ? 0 : defilement->sizeHint().width();
    const int largeur = std::max(0, fondplanning->width() - planning->x() - barre);
    const int hauteur = std::max(0, fondplanning->height() - TexteColonnes->height());
    // The picture runs under the window's foot; the bar stops where the window does, so that
    // its lower arrow shows.
    defilement->setGeometry(planning->x() + largeur, planning->y(), barre, hauteurVisible());
    planning->dimensionner(largeur, hauteur);
    objets->dimensionner(objets->width(), hauteur);
    TexteColonnes->dimensionner(largeur, TexteColonnes->height());
    lesmois->dimensionner(largeur, lesmois->height());
}

void Form1::redessinerPlusTard()
{
    if (m_redessinPrevu)
        return;
    m_redessinPrevu = true;
    QTimer::singleShot(0, this, [this] {
        m_redessinPrevu = false;
        rafraichir();
    });
}

void Form1::rafraichir()
{
    m_redessinAttendu.stop();
    afficherPeriode();
    if (m_montrerEncours) {
        m_montrerEncours = false;
        if (const auto sejour
            = lireReservationAffichee(m_contexte.BasePlanning(), reservation_encours))
            m_objetAMontrer = sejour->objet;
    }
    // A second picture only when the first one finds that the scroll bar must come or go, or
    // that the stay to show is hidden by the category chosen.
    for (int essai = 0; essai < 3; ++essai) {
        dimensionnerSurfaces();
        VuePlanning vue;
        vue.datedepart = datedepart;
        vue.largeurjour = largeurjour;
        vue.hauteurligne = hauteurligne;
        vue.reservation_encours = reservation_encours;
        vue.categorie = categorieAffichee;
        vue.premiereLigne = premiereLigne;
        vue.objetAMontrer = m_objetAMontrer;
        vue.hauteurVisible = hauteurVisible();
        ResultatDessin resultat
            = dessinerPlanning({&lesmois->surface(), &TexteColonnes->surface(), &objets->surface(),
                                &planning->surface()},
                               m_contexte.BasePlanning(), vue, std::move(ReservationsAffichees));
        signalerLecture(resultat.lectureEchouee);
        if (resultat.imageGardee) {
            // The last picture stays, with the bars that answer for it.
            ReservationsAffichees = std::move(resultat.barres);
            return;
        }
        ReservationsAffichees = std::move(resultat.barres);
        m_nomsDesObjets = std::move(resultat.nomsDesObjets);
        m_numerosDesLignes = std::move(resultat.numerosDesLignes);
        reservation_courante = resultat.reservation_courante;
        m_nombreDeLignes = resultat.nombreDeLignes;
        if (premiereLigne != resultat.premiereLigne && m_objetAMontrer != 0)
            m_memoire.start();
        premiereLigne = resultat.premiereLigne;
        if (m_objetAMontrer != 0 && !resultat.objetMontre && !categorieAffichee.isEmpty()) {
            categorieAffichee.clear();
            ChoixSelection->setCurrentIndex(0);
            continue;
        }
        const bool barre = qint64(m_nombreDeLignes) * hauteurligne > hauteurVisible();
        if (barre == !defilement->isHidden())
            break;
        defilement->setHidden(!barre);
    }
    m_objetAMontrer = 0;
    {
        const QSignalBlocker silence(defilement);
        defilement->setRange(0, std::max(0, m_nombreDeLignes - lignesEntieres()));
        defilement->setPageStep(std::max(1, lignesEntieres()));
        defilement->setValue(premiereLigne);
    }
    for (SurfaceDessin *surface : {lesmois, TexteColonnes, objets, planning})
        surface->actualiser();
}

int Form1::hauteurVisible() const
{
    return std::max(0, std::min(planning->height(), fondplanning->height() - planning->y()));
}

int Form1::lignesEntieres() const
{
    return hauteurligne > 0 ? hauteurVisible() / hauteurligne : 0;
}

void Form1::afficherAPartirDe(int ligne)
{
    const int premiere = std::clamp(ligne, 0, std::max(0, m_nombreDeLignes - lignesEntieres()));
    if (premiere == premiereLigne)
        return;
    premiereLigne = premiere;
    rafraichir();
    m_memoire.start();
}

void Form1::choisirLargeurJour(int largeur)
{
    const int *plusProche = std::min_element(
        std::begin(LargeursJour), std::end(LargeursJour),
        [largeur](int a, int b) { return std::abs(a - largeur) < std::abs(b - largeur); });
    if (*plusProche == largeurjour)
        return;
    largeurjour = *plusProche;
    rafraichir();
    m_memoire.start();
}

void Form1::lireAffichage()
{
    // A value edited by hand out of range, or no number at all, reads as the default.
    premiereLigne = int(entierDuReglage(
        ValeurINI(SectionAffichage, ClePremiereLigne, QStringLiteral("0"), QString(), LIRE), 0,
        1 << 24));
    const qint64 largeur = entierDuReglage(
        ValeurINI(SectionAffichage, CleLargeurJour, QStringLiteral("20"), QString(), LIRE), 0, 40);
    largeurjour = std::find(std::begin(LargeursJour), std::end(LargeursJour), largeur)
            != std::end(LargeursJour)
        ? int(largeur)
        : 20;
}

void Form1::memoriserAffichage()
{
    m_memoire.stop();
    ValeurINI(SectionAffichage, ClePremiereLigne, QString::number(premiereLigne), QString(),
              ECRIRE);
    ValeurINI(SectionAffichage, CleLargeurJour, QString::number(largeurjour), QString(), ECRIRE);
}

void Form1::planning_Molette(int angle, Qt::KeyboardModifiers touches)
{
    // What a fine wheel turns short of a notch waits for the rest, but not across a change of
    // keys: half a notch of scrolling must not become half a zoom step.
    const Qt::KeyboardModifiers sens = touches & (Qt::ControlModifier | Qt::ShiftModifier);
    if (sens != m_touchesMolette) {
        m_touchesMolette = sens;
        m_resteMolette = 0;
    }
    m_resteMolette += angle;
    const int crans = m_resteMolette / Cran;
    if (crans == 0)
        return;
    m_resteMolette -= crans * Cran;
    if (sens & Qt::ControlModifier) {
        const int *actuelle
            = std::find(std::begin(LargeursJour), std::end(LargeursJour), largeurjour);
        const int rang
            = actuelle == std::end(LargeursJour) ? 1 : int(actuelle - std::begin(LargeursJour));
        choisirLargeurJour(
            LargeursJour[std::clamp(rang + crans, 0, int(std::size(LargeursJour)) - 1)]);
    } else if (sens & Qt::ShiftModifier) {
        datedepart = datedepart.addDays(-crans);
        rafraichir();
    } else {
        afficherAPartirDe(premiereLigne - LignesParCran * crans);
    }
}

void Form1::keyPressEvent(QKeyEvent *evenement)
{
    if (m_saisie && evenement->key() == Qt::Key_Escape) {
        lacherGeste();
        evenement->accept();
        return;
    }
    if (evenement->matches(QKeySequence::Undo)) {
        annulerGeste();
        evenement->accept();
        return;
    }
    if (evenement->matches(QKeySequence::Redo)
        || (evenement->key() == Qt::Key_Y && evenement->modifiers() == Qt::ControlModifier)) {
        retablirGeste();
        evenement->accept();
        return;
    }
    const int page = std::max(1, lignesEntieres());
    switch (evenement->key()) {
    case Qt::Key_PageUp:
        afficherAPartirDe(premiereLigne - page);
        break;
    case Qt::Key_PageDown:
        afficherAPartirDe(premiereLigne + page);
        break;
    case Qt::Key_Home:
        afficherAPartirDe(0);
        break;
    case Qt::Key_End:
        afficherAPartirDe(m_nombreDeLignes);
        break;
    case Qt::Key_Up:
        afficherAPartirDe(premiereLigne - 1);
        break;
    case Qt::Key_Down:
        afficherAPartirDe(premiereLigne + 1);
        break;
    default:
        QWidget::keyPressEvent(evenement);
        return;
    }
    evenement->accept();
}

bool Form1::reservationOuverte() const
{
    return m_reservation && m_reservation->isVisible();
}

void Form1::ouvrirSejour(qint32 numero)
{
    // One stay at a time: a window that asks again while the dialog is open waits its turn.
    if (reservationOuverte())
        return;
    const QSqlDatabase base = m_contexte.BasePlanning();
    const auto sejour = lireReservationAffichee(base, numero);
    if (!sejour) {
        signalerIntrouvable(numero);
        return;
    }
    finirPanoramique();
    lacherGeste();
    if (ouvrirReservation)
        ouvrirReservation(*sejour);
    // The stay as the dialog left it: moved to other dates or another object, or deleted.
    if (const auto apres = lireReservationAffichee(base, numero)) {
        if (apres->DateDebut.isValid())
            datedepart = apres->DateDebut.date();
        reservation_encours = numero;
        m_objetAMontrer = apres->objet;
        Clignotement.start();
    }
    rafraichir();
}

void Form1::nouveauSejourSur(qint32 objet, const QDate &arrivee, const QDate &depart)
{
    if (reservationOuverte())
        return;
    finirPanoramique();
    lacherGeste();
    if (ajouterReservationSur)
        ajouterReservationSur(objet, arrivee, depart);
    rafraichir();
}

void Form1::actualiserCategories()
{
    const QStringList categories
        = ObjetsEtablissement::categoriesDuPlanning(m_contexte.BasePlanning());
    // A category that has gone (renamed, its last object retired) shows everything again.
    if (!categories.contains(categorieAffichee))
        categorieAffichee.clear();
    const QSignalBlocker silence(ChoixSelection);
    ChoixSelection->clear();
    ChoixSelection->addItem(QStringLiteral("Tous"));
    ChoixSelection->addItems(categories);
    ChoixSelection->setCurrentIndex(
        categorieAffichee.isEmpty() ? 0 : int(categories.indexOf(categorieAffichee)) + 1);
}

void Form1::ChoixSelection_Click(int entree)
{
    categorieAffichee = entree <= 0 ? QString() : ChoixSelection->itemText(entree);
    rafraichir();
}

void Form1::afficherPeriode()
{
    // The entry shown is made the current one too: an editable list whose text differs from its
    // current entry reports that text as a choice when it loses the focus, which would send the
    // planning to the first of the month (after every save of the reservation dialog, say).
    const auto montrer = [](QComboBox *liste, const QString &texte) {
        const int entree = liste->findText(texte);
        if (entree >= 0)
            liste->setCurrentIndex(entree);
        liste->setEditText(texte);
    };
    montrer(choixannee, datedepart.toString(QStringLiteral("yyyy")));
    montrer(choixmois, Conversion::NomDuMois(qint16(datedepart.month())));
}

void Form1::mouvementaujourdhui_Click()
{
    datedepart = Horloge::aujourdhui();
    rafraichir();
}

void Form1::choixmois_Click(int entree)
{
    if (const auto date = Navigation::dateJourMoisAnnee(
            QStringLiteral("1"), QString::number(entree + 1), choixannee->currentText()))
        datedepart = *date;
    choixmois->setEditText(Conversion::NomDuMois(qint16(entree + 1)));
    rafraichir();
}

void Form1::choixannee_Click(int entree)
{
    const QVariant mois = Conversion::NumeroDuMois(choixmois->currentText());
    const QString annee = choixannee->itemText(entree);
    if (mois.isValid()) {
        if (const auto date
            = Navigation::dateJourMoisAnnee(QStringLiteral("1"), mois.toString(), annee))
            datedepart = *date;
    }
    choixannee->setEditText(annee);
    rafraichir();
}

int Form1::barreSous(const QPoint &position) const
{
    // Where two bars overlap, the first drawn shows in the upper half of the line and the
    // later one in the lower half: a press opens the stay it sees.
    int premiere = 0;
    int derniere = 0;
    for (int k = 1; k < ReservationsAffichees.size(); ++k) {
        const ReservationAffichee &barre = ReservationsAffichees.at(k);
        if (Conversion::PointDansRectangle(float(position.x()), float(position.y()),
                                           float(barre.x1), float(barre.y1), float(barre.x2),
                                           float(barre.y2))) {
            if (premiere == 0)
                premiere = k;
            derniere = k;
        }
    }
    if (premiere == 0 || premiere == derniere)
        return premiere;
    const ReservationAffichee &haut = ReservationsAffichees.at(premiere);
    const ReservationAffichee &bas = ReservationsAffichees.at(derniere);
    const bool partagee
        = seChevauchent({haut.DateDebut, haut.DateFin}, {bas.DateDebut, bas.DateFin});
    return partagee && position.y() > (haut.y1 + haut.y2) / 2 ? derniere : premiere;
}

void Form1::planning_MouseDown(Qt::MouseButton bouton, const QPoint &position)
{
    if (bouton != Qt::LeftButton)
        return;
    const int k = barreSous(position);
    if (k == 0) {
        pointdepart = positionPointeur();
        datedepartinitiale = datedepart;
        Deplaceur.start();
        if (!m_pointeurCroix) {
            QGuiApplication::setOverrideCursor(Qt::CrossCursor);
            m_pointeurCroix = true;
        }
        return;
    }
    // Opened on the release, unless the bar is dragged meanwhile.
    const ReservationAffichee &barre = ReservationsAffichees.at(k);
    m_saisie = barre;
    m_appui = position;
    m_dernierePosition = position;
    m_datedepartAppui = datedepart;
    m_premiereLigneAppui = premiereLigne;
    m_glisse = false;
    m_apercu.reset();
    const int gauche = std::min(barre.x1, barre.x2);
    const int droite = std::max(barre.x1, barre.x2);
    const int versGauche = std::abs(position.x() - gauche);
    const int versDroite = std::abs(position.x() - droite);
    m_bout = 0;
    if (std::min(versGauche, versDroite) <= 3)
        m_bout = versGauche <= versDroite ? -1 : 1;
}

void Form1::planning_MouseUp(Qt::MouseButton bouton)
{
    if (Deplaceur.isActive())
        finirPanoramique();
    if (bouton != Qt::LeftButton || !m_saisie)
        return;
    const ReservationAffichee barre = *m_saisie;
    const bool glisse = m_glisse;
    // Let go outside the grid (over the names, the headings): the stay stays where it was.
    const std::optional<ModificationSejour> modification
        = planning->rect().contains(m_dernierePosition) ? m_apercu : std::nullopt;
    abandonnerGeste();
    if (!glisse) {
        if (ouvrirReservation)
            ouvrirReservation(barre);
        Clignotement.start();
        rafraichir();
        return;
    }
    if (modification && enregistrerGeste(*modification, false)) {
        m_annulations.append(*modification);
        m_retablissements.clear();
    }
    rafraichir();
}

void Form1::planning_MouseMove(const QPoint &position)
{
    if (!m_saisie)
        return;
    if (!m_glisse) {
        if ((position - m_appui).manhattanLength() <= 4)
            return;
        m_glisse = true;
    }
    m_dernierePosition = position;
    const QDate jourAvant = datedepart;
    const int ligneAvant = premiereLigne;
    // Past the grid's edges the planning runs on, by a day or a line a step, under the bar.
    if (position.x() < 0)
        datedepart = datedepart.addDays(-1);
    else if (position.x() >= planning->width())
        datedepart = datedepart.addDays(1);
    if (m_bout == 0 && position.y() < 0 && premiereLigne > 0)
        --premiereLigne;
    else if (m_bout == 0 && position.y() >= hauteurVisible()
             && premiereLigne < m_nombreDeLignes - lignesEntieres())
        ++premiereLigne;
    const std::optional<ModificationSejour> modification = modificationDuGeste(position);
    const bool memeApercu = m_apercu.has_value() == modification.has_value()
        && (!modification
            || (m_apercu->objetApres == modification->objetApres
                && m_apercu->arriveeApres == modification->arriveeApres
                && m_apercu->departApres == modification->departApres));
    if (memeApercu && datedepart == jourAvant && premiereLigne == ligneAvant)
        return;
    m_apercu = modification;
    rafraichir();
    if (m_apercu)
        dessinerGeste(*m_apercu, position);
}

std::optional<ModificationSejour> Form1::modificationDuGeste(const QPoint &position) const
{
    const ReservationAffichee &barre = *m_saisie;
    // Whole days from the press, the days the planning ran on counted in.
    const double pixels = position.x() - m_appui.x();
    const int jours
        = int(std::lround(pixels / largeurjour)) + int(m_datedepartAppui.daysTo(datedepart));
    if (m_bout != 0) {
        auto etire = etirement(barre.NumeroReservation, barre.objet, barre.DateDebut, barre.DateFin,
                               m_bout < 0, jours);
        if (!etire || !etire->changeQuelqueChose())
            return std::nullopt;
        return etire;
    }
    const int ligne = position.y() < 0 ? -1 : position.y() / hauteurligne;
    const int rang = std::clamp(ligne, 0, int(m_numerosDesLignes.size()) - 1);
    if (m_numerosDesLignes.isEmpty())
        return std::nullopt;
    ModificationSejour deplace = deplacement(barre.NumeroReservation, barre.objet, barre.DateDebut,
                                             barre.DateFin, jours, m_numerosDesLignes.at(rang));
    if (!deplace.changeQuelqueChose())
        return std::nullopt;
    return deplace;
}

void Form1::dessinerGeste(const ModificationSejour &modification, const QPoint &position)
{
    const int rang = int(m_numerosDesLignes.indexOf(modification.objetApres));
    if (rang < 0)
        return;
    ReservationAffichee fantome = *m_saisie;
    fantome.DateDebut = modification.arriveeApres;
    fantome.DateFin = modification.departApres;
    calculerBarre(fantome, datedepart, largeurjour, rang * hauteurligne, hauteurligne);
    SurfaceImage &surface = planning->surface();
    surface.remplir(fantome.x1, fantome.y1, fantome.x2, fantome.y2,
                    couleurDepuisVB(quint32(fantome.couleur)));
    const QColor noir(Qt::black);
    surface.ligne(fantome.x1, fantome.y1, fantome.x2, fantome.y1, noir);
    surface.ligne(fantome.x1, fantome.y2, fantome.x2, fantome.y2, noir);
    surface.ligne(fantome.x1, fantome.y1, fantome.x1, fantome.y2, noir);
    surface.ligne(fantome.x2, fantome.y1, fantome.x2, fantome.y2, noir);
    surface.couleurTexte = Qt::white;
    DessinerTexte(surface, fantome.nomclient, fantome.x1, fantome.y1, fantome.x2, fantome.y2, 10);
    planning->actualiser();
    const auto moment = [](const QDateTime &quand) {
        return quand.isValid() ? quand.toString(QStringLiteral("dd/MM/yyyy HH:mm"))
                               : QStringLiteral("?");
    };
    QToolTip::showText(planning->mapToGlobal(position + QPoint(16, 16)),
                       m_nomsDesObjets.value(modification.objetApres) + QStringLiteral("\ndu ")
                           + moment(modification.arriveeApres) + QStringLiteral(" au ")
                           + moment(modification.departApres),
                       planning);
}

void Form1::lacherGeste()
{
    if (!m_saisie)
        return;
    const bool glisse = m_glisse;
    abandonnerGeste();
    if (glisse)
        rafraichir();
}

void Form1::abandonnerGeste()
{
    m_saisie.reset();
    m_apercu.reset();
    m_glisse = false;
    QToolTip::hideText();
}

QString Form1::nomDeLObjet(qint32 numero) const
{
    if (const auto nom = m_nomsDesObjets.constFind(numero); nom != m_nomsDesObjets.cend())
        return *nom;
    QSqlQuery requete(m_contexte.BasePlanning());
    requete.prepare(QStringLiteral("SELECT Nom FROM OBJETS WHERE Numero = ?"));
    requete.addBindValue(numero);
    return requete.exec() && requete.next() ? requete.value(0).toString() : QString::number(numero);
}

bool Form1::enregistrerGeste(const ModificationSejour &modification, bool annulation)
{
    const QSqlDatabase base = m_contexte.BasePlanning();
    const QString nomApres = nomDeLObjet(modification.objetApres);
    QSqlQuery etat(base);
    etat.prepare(QStringLiteral("SELECT Etat FROM RESERVATIONS WHERE NumeroReservation = ?"));
    etat.addBindValue(modification.numero);
    QVector<ConflitsSejour::Conflit> conflits;
    QSqlError erreur = etat.exec() ? QSqlError() : etat.lastError();
    if (!erreur.isValid() && etat.next())
        erreur = ConflitsSejour::conflitsDe(base, modification.numero, modification.objetApres,
                                            modification.arriveeApres, modification.departApres,
                                            etat.value(0).toInt(), conflits);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Les autres séjours de cet objet n'ont pas pu "
                                              "être lus, rien n'a été enregistré : ")
                                   + messageBaseEnFrancais(erreur));
        return false;
    }
    if (!conflits.isEmpty()
        && !BoiteMessage::confirmer(this, ConflitsSejour::texteDesConflits(nomApres, conflits),
                                    QStringLiteral("Enregistrer quand même"),
                                    QStringLiteral("Revenir")))
        return false;
    bool changeAilleurs = false;
    QString compteNonSuivi;
    erreur = enregistrerModification(base, modification,
                                     noteDeModification(modification,
                                                        nomDeLObjet(modification.objetAvant),
                                                        nomApres, annulation),
                                     &changeAilleurs, &compteNonSuivi);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Le séjour n'a pas pu être enregistré : ")
                                   + messageBaseEnFrancais(erreur));
        return false;
    }
    if (changeAilleurs) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Ce séjour a été modifié depuis (dans le "
                                              "dialogue ou à un autre poste) : rien n'a été "
                                              "enregistré."));
        return false;
    }
    if (!compteNonSuivi.isEmpty())
        BoiteMessage::afficher(this,
                               QStringLiteral("Le séjour est enregistré, mais son compte "
                                              "garde les prestations portées : ")
                                   + compteNonSuivi);
    reservation_encours = modification.numero;
    m_objetAMontrer = modification.objetApres;
    return true;
}

void Form1::annulerGeste()
{
    if (m_annulations.isEmpty())
        return;
    const ModificationSejour derniere = m_annulations.takeLast();
    if (enregistrerGeste(derniere.inverse(), true))
        m_retablissements.append(derniere);
    rafraichir();
}

void Form1::retablirGeste()
{
    if (m_retablissements.isEmpty())
        return;
    const ModificationSejour suivante = m_retablissements.takeLast();
    if (enregistrerGeste(suivante, false))
        m_annulations.append(suivante);
    rafraichir();
}

void Form1::finirPanoramique()
{
    Deplaceur.stop();
    if (m_pointeurCroix) {
        QGuiApplication::restoreOverrideCursor();
        m_pointeurCroix = false;
    }
}

void Form1::Deplaceur_Timer()
{
    const QPoint position = positionPointeur();
    if (position == pointdepart)
        return;
    const int jours = Navigation::joursDePanoramique(position.x() - pointdepart.x(), largeurjour);
    if (jours == 0)
        return;
    datedepart = datedepartinitiale.addDays(-jours);
    rafraichir();
}

void Form1::mouvements_Timer()
{
    // A redraw slower than the tick must not stack moves on top of each other.
    if (m_mouvementEnCours)
        return;
    m_mouvementEnCours = true;
    datedepart = datedepart.addDays(qint64(Conversion::ValeurNumerique(etiquetteMouvements)));
    rafraichir();
    m_mouvementEnCours = false;
}

void Form1::Clignotement_Timer()
{
    if (reservation_courante <= 0 || reservation_courante >= ReservationsAffichees.size()) {
        compteurclignotement = 0;
        Clignotement.stop();
        return;
    }
    const ReservationAffichee &barre = ReservationsAffichees.at(reservation_courante);
    SurfaceImage &surface = planning->surface();
    surface.remplir(barre.x1, barre.y1, barre.x2, barre.y2,
                    couleurDepuisVB(quint32(barre.couleur)));
    surface.couleurTexte = compteurclignotement % 2 != 0 ? QColor(Qt::black) : QColor(Qt::white);
    ++compteurclignotement;
    if (compteurclignotement >= m_contexte.NbClignotements) {
        compteurclignotement = 0;
        Clignotement.stop();
        surface.couleurTexte = Qt::white;
        // The blink filled the whole bar: a stay it overlaps shows its half again.
        redessinerPlusTard();
    }
    DessinerTexte(surface, barre.nomclient, barre.x1, barre.y1, barre.x2, barre.y2, 10);
    planning->actualiser();
}

void Form1::planning_DblClick(Qt::MouseButton bouton, const QPoint &position)
{
    if (bouton != Qt::LeftButton || barreSous(position) != 0 || position.x() < 0 || position.y() < 0
        || hauteurligne <= 0 || largeurjour <= 0)
        return;
    const int ligne = position.y() / hauteurligne;
    if (ligne >= m_numerosDesLignes.size() || !ajouterReservationSur)
        return;
    const QDate arrivee = datedepart.addDays(position.x() / largeurjour);
    nouveauSejourSur(m_numerosDesLignes.at(ligne), arrivee, arrivee.addDays(1));
}

void Form1::ajouter_Click()
{
    // The dialog takes the pointer: a bar held from the keyboard's "+" stays where it was.
    lacherGeste();
    if (ajouterReservation)
        ajouterReservation();
    rafraichir();
}

void Form1::resizeEvent(QResizeEvent *evenement)
{
    QWidget::resizeEvent(evenement);
    if (m_redimensionnementEnCours)
        return;
    m_redimensionnementEnCours = true;
    const int marge = fondplanning->x();
    fondplanning->resize(qMax(0, width() - 2 * marge),
                         qMax(0, height() - fondplanning->y() - marge));
    rafraichir();
    m_redimensionnementEnCours = false;
}

void Form1::afficherDansLeCadre()
{
    if (auto *cadre = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        cadre->show();
        cadre->resize(cadre->sizeHint());
    }
    show();
}

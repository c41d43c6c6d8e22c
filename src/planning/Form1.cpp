#include "planning/Form1.h"

#include "app/BoiteMessage.h"
#include "app/CentrerFenetre.h"
#include "app/Contexte.h"
#include "app/Demarrage.h"
#include "app/HauteurListe.h"
#include "app/Horloge.h"
#include "app/SavePosition.h"
#include "app/intro.h"
#include "controls/Fabriques.h"
#include "controls/ScrollBar.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Conversion.h"
#include "conversion/Couleurs.h"
#include "data/ObjetsEtablissement.h"
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
#include <QLineEdit>
#include <QMdiSubWindow>

#include <algorithm>

namespace {
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
    ajouterReservationSur = [this](qint32 objet, const QDate &arrivee) {
        ajouterUneReservation(objet, arrivee);
    };
}

Form1::~Form1()
{
    // QWidget deletes the controls after this part of the object is gone, and an editable list
    // losing the focus then still reports a choice: nothing they send may reach us any more.
    for (QObject *enfant : findChildren<QObject *>())
        disconnect(enfant, nullptr, this, nullptr);
    finirPanoramique();
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

void Form1::ouvrirLaReservation(const ReservationAffichee &barre)
{
    reservations &dialogue = dialogueReservation();
    OuvertureReservation::remplir(dialogue, barre, this);
    setEnabled(false);
    OuvertureReservation::attendreReactivation(this, &dialogue);
    setEnabled(true);
}

void Form1::ajouterUneReservation(qint32 objet, const QDate &arrivee)
{
    reservations &dialogue = dialogueReservation();
    dialogue.Fonction_Ajouter();
    if (arrivee.isValid()) {
        dialogue.datedebut->setText(arrivee.toString(QStringLiteral("dd/MM/yyyy")));
        dialogue.datefin->setText(arrivee.addDays(1).toString(QStringLiteral("dd/MM/yyyy")));
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
    connect(planning, &SurfaceDessin::boutonRelache, this,
            [this](Qt::MouseButton bouton) { planning_MouseUp(bouton); });
    connect(&Deplaceur, &QTimer::timeout, this, &Form1::Deplaceur_Timer);
    connect(&mouvements, &QTimer::timeout, this, &Form1::mouvements_Timer);
    connect(&Clignotement, &QTimer::timeout, this, &Form1::Clignotement_Timer);
}

bool Form1::charger()
{
    Demarrage::preparer(m_contexte);

    intro splash;
    CentrerFenetre(&splash);
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
    largeurjour = 20;
    hauteurligne = 20;

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
    return true;
}

void Form1::dimensionnerSurfaces()
{
    const int largeur = std::max(0, fondplanning->width() - planning->x());
    const int hauteur = std::max(0, fondplanning->height() - TexteColonnes->height());
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
    dimensionnerSurfaces();
    afficherPeriode();
    ResultatDessin resultat = dessinerPlanning(
        {&lesmois->surface(), &TexteColonnes->surface(), &objets->surface(), &planning->surface()},
        m_contexte.BasePlanning(), datedepart, largeurjour, hauteurligne, reservation_encours,
        std::move(ReservationsAffichees), categorieAffichee);
    ReservationsAffichees = std::move(resultat.barres);
    m_nomsDesObjets = std::move(resultat.nomsDesObjets);
    m_numerosDesLignes = std::move(resultat.numerosDesLignes);
    reservation_courante = resultat.reservation_courante;
    for (SurfaceDessin *surface : {lesmois, TexteColonnes, objets, planning})
        surface->actualiser();
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
    for (int k = 1; k < ReservationsAffichees.size(); ++k) {
        const ReservationAffichee &barre = ReservationsAffichees.at(k);
        if (Conversion::PointDansRectangle(float(position.x()), float(position.y()),
                                           float(barre.x1), float(barre.y1), float(barre.x2),
                                           float(barre.y2)))
            return k;
    }
    return 0;
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
    if (ouvrirReservation) {
        // The table is rebuilt by the redraws the dialog triggers: hand over a copy.
        const ReservationAffichee barre = ReservationsAffichees.at(k);
        ouvrirReservation(barre);
    }
    Clignotement.start();
    rafraichir();
}

void Form1::planning_MouseUp(Qt::MouseButton)
{
    if (Deplaceur.isActive())
        finirPanoramique();
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
    finirPanoramique();
    ajouterReservationSur(m_numerosDesLignes.at(ligne),
                          datedepart.addDays(position.x() / largeurjour));
    rafraichir();
}

void Form1::ajouter_Click()
{
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

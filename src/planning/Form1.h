#pragma once

#include "data/ModificationSejour.h"
#include "planning/ReservationAffichee.h"
#include "reservations/Appelante.h"

#include <QDate>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class Contexte;
class QComboBox;
class QLabel;
class QScrollBar;
class SurfaceDessin;
class reservations;
class SavePosition;
class xpcmdbutton;

// The planning window: objects as rows, days as columns from `datedepart`, every stay a bar in
// the colour of its state. Its load initialises the whole application.
class Form1 : public QWidget, public Appelante
{
    Q_OBJECT
public:
    explicit Form1(Contexte &contexte, QWidget *parent = nullptr);
    ~Form1() override;

    // The start-up sequence. Returns false when the database could not be opened: the user has
    // been told and the program must end.
    bool charger();
    // Whether that start made a new, empty database (the owner said so): the establishment is
    // then to be entered.
    bool baseCreee() const { return m_baseCreee; }

    // Redraws everything from the database and rebuilds ReservationsAffichees.
    void rafraichir() override;

    // What the reservation dialog sets on its way out.
    // The stay's line is brought into view at the next redraw.
    void fixerReservationEncours(qint32 numero) override
    {
        reservation_encours = numero;
        m_montrerEncours = true;
    }
    void fixerDatedepart(const QDate &jour) override;
    QWidget *fenetre() override { return this; }

    // Handlers, public so the reservation dialog and the tests drive them as a person would.
    void mouvementaujourdhui_Click();
    void choixmois_Click(int entree);
    void choixannee_Click(int entree);
    void planning_MouseDown(Qt::MouseButton bouton, const QPoint &position);
    void planning_MouseUp(Qt::MouseButton bouton);
    // With a bar held: past 4 pixels the bar follows the pointer (a move, or a stretch when it
    // was taken within 3 pixels of an end), by whole days and lines; the release stores it.
    void planning_MouseMove(const QPoint &position);
    // The last move or stretch undone, or the last undone one made again; each says why when
    // it cannot be.
    void annulerGeste();
    void retablirGeste();
    void Deplaceur_Timer();
    void mouvements_Timer();
    void Clignotement_Timer();
    void ajouter_Click();
    void ChoixSelection_Click(int entree);
    // A double click on an empty cell: a new stay on that line's object, from that day.
    void planning_DblClick(Qt::MouseButton bouton, const QPoint &position);
    // The wheel over the grid or the names: three lines a notch; with Ctrl the next or previous
    // day width; with Shift a day a notch.
    void planning_Molette(int angle, Qt::KeyboardModifiers touches);

    // The line at the top, brought within the lines there are; redraws and remembers it.
    void afficherAPartirDe(int ligne);
    // The day width among LargeursJour, the nearest one for any other value; redraws and
    // remembers it.
    void choisirLargeurJour(int largeur);
    static constexpr int LargeursJour[] = {12, 20, 30, 40};

    // A stay chosen in another window: opens it in the reservation dialog and, once the dialog
    // is closed, shows the planning on its arrival day, its line in view, its bar blinking.
    void ouvrirSejour(qint32 numero);
    // A new stay on that object for those dates, as "+" does with them already chosen.
    void nouveauSejourSur(qint32 objet, const QDate &arrivee, const QDate &depart);

    // "Tous" and then each category of the objects drawn, the one shown chosen; called at the
    // load and whenever the settings change the establishment.
    void actualiserCategories();

    // Index of the first bar whose rectangle holds the point (edges inside), 0 when none.
    int barreSous(const QPoint &position) const;

    // What a press on a bar opens, and what the add button opens: the reservation dialog,
    // unless a test puts something else here. Each returns once the dialog is closed.
    std::function<void(const ReservationAffichee &)> ouvrirReservation;
    std::function<void()> ajouterReservation;
    // What that double click and the free places open: the reservation dialog, as "+" does,
    // with the object and the dates chosen.
    std::function<void(qint32 objet, const QDate &arrivee, const QDate &depart)>
        ajouterReservationSur;
    // Where the pointer is on the screen; tests put it where they want.
    std::function<QPoint()> positionPointeur;

    QDate datedepart;
    QString categorieAffichee; // empty: every object
    int premiereLigne = 0; // the line at the top of the grid
    int largeurjour = 20;
    int hauteurligne = 20;
    qint32 reservation_encours = 0;
    qint32 reservation_courante = 0;
    ::ReservationsAffichees ReservationsAffichees;

    QPoint pointdepart;
    QDate datedepartinitiale;
    qint16 compteurclignotement = 0;
    QString etiquetteMouvements; // the step of `mouvements` in days, "-1" or "1"

    QWidget *fondplanning;
    QWidget *colonnes;
    SurfaceDessin *lesmois;
    SurfaceDessin *TexteColonnes;
    SurfaceDessin *objets;
    SurfaceDessin *planning;
    QScrollBar *defilement; // shown only when the lines do not all fit
    QLabel *baseOccupee; // over the grid while the base cannot be read
    QComboBox *choixannee;
    QComboBox *choixmois;
    QComboBox *ChoixSelection;
    xpcmdbutton *MvtJourPrecedent;
    xpcmdbutton *mouvementaujourdhui;
    xpcmdbutton *MvtJourSuivant;
    xpcmdbutton *ajouter;
    QTimer Deplaceur;
    QTimer mouvements;
    QTimer delaiMouvements; // from a press on "<" or ">" to the first repeat
    QTimer Clignotement;

    // The design inner size, which the frame's sub-window starts from.
    QSize sizeHint() const override { return QSize(669, 386); }

protected:
    void resizeEvent(QResizeEvent *evenement) override;
    void keyPressEvent(QKeyEvent *evenement) override;

private:
    void creerControles();
    void afficherDansLeCadre();
    // The year and month of `datedepart` in the selectors.
    void afficherPeriode();
    void dimensionnerSurfaces();
    // One redraw once the pending events have run, however many ask for it meanwhile.
    void redessinerPlusTard();
    void finirPanoramique();
    // The one reservation dialog, made when first needed and gone when it closes.
    reservations &dialogueReservation();
    void ouvrirLaReservation(const ReservationAffichee &barre);
    // A stay asked for that the base no longer holds (deleted, perhaps at another desk).
    void signalerIntrouvable(qint32 numero);
    void ajouterUneReservation(qint32 objet = 0, const QDate &arrivee = QDate(),
                               const QDate &depart = QDate());
    bool reservationOuverte() const;
    // The stay held, as the gesture would leave it; nothing when it changes nothing or lands
    // off the lines.
    std::optional<ModificationSejour> modificationDuGeste(const QPoint &position) const;
    void dessinerGeste(const ModificationSejour &modification, const QPoint &position);
    void abandonnerGeste();
    // A bar held is put back where it was, as Escape does; a dialog about to open calls it,
    // since the release will go to the dialog.
    void lacherGeste();
    // Checks the clashes, stores with the journal's note; false when nothing was stored.
    bool enregistrerGeste(const ModificationSejour &modification, bool annulation);
    QString nomDeLObjet(qint32 numero) const;
    // The height of the grid that shows, and the lines that show whole in it.
    int hauteurVisible() const;
    int lignesEntieres() const;
    void lireAffichage();
    void memoriserAffichage();
    // Another desk stored something: redrawn now, or once the gesture, the pan or the dialog
    // under way is over.
    void baseChangeeAilleurs();
    void redessinerSiLibre();
    // The line over the grid while the base cannot be read, and the next try.
    void signalerLecture(bool echouee);

    Contexte &m_contexte;
    bool m_redimensionnementEnCours = false;
    bool m_redessinPrevu = false;
    bool m_baseCreee = false;
    QHash<qint32, QString> m_nomsDesObjets; // of the lines drawn, for the tooltips
    QVector<qint32> m_numerosDesLignes; // the object of each line drawn
    bool m_mouvementEnCours = false;
    bool m_pointeurCroix = false;
    int m_resteMolette = 0; // eighths of a degree turned short of a notch
    Qt::KeyboardModifiers m_touchesMolette;
    bool m_montrerEncours = false;
    int m_nombreDeLignes = 0;
    qint32 m_objetAMontrer = 0; // whose line the next redraw brings into view
    QTimer m_memoire; // writes the line at the top and the day width once the wheel rests
    QTimer m_nouvelEssai; // after a read the base refused
    QTimer m_redessinAttendu; // a change made elsewhere, drawn once the planning is free
    // A bar held: a copy (the redraws rebuild the table), where it was taken and how.
    std::optional<ReservationAffichee> m_saisie;
    QPoint m_appui;
    QPoint m_dernierePosition;
    QDate m_datedepartAppui;
    int m_premiereLigneAppui = 0;
    int m_bout = 0; // -1 the arrival end, 1 the departure end, 0 the whole bar
    bool m_glisse = false;
    std::optional<ModificationSejour> m_apercu; // what the pointer shows now
    QVector<ModificationSejour> m_annulations, m_retablissements;
    QPointer<reservations> m_reservation;
    SavePosition *m_position = nullptr;
};

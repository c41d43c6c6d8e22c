#pragma once

#include <QMainWindow>
#include <QPointer>

class Contexte;
class SavePosition;
class Form1;
class QMdiArea;
class parametres;
class ArriveesDeparts;
class Conflits;
class PlacesLibres;
class Recherche;

// The main frame: caption, menus, the strip along its top edge and the area that holds the
// planning window.
class ROOT : public QMainWindow
{
    Q_OBJECT
public:
    explicit ROOT(Contexte &contexte, QWidget *parent = nullptr);

    // "PIVANE Razarivu" + " " + major.minor.revision.
    static QString legende();

    // Opens the planning window and runs its load. False when the program must end (the database
    // could not be opened; the user has been told).
    bool demarrer();

    Form1 *planning() const { return m_planning; }

    // The settings dialog, open on one of its tabs; it deletes itself when closed.
    static constexpr int OngletCouleurs = 0, OngletObjets = 1, OngletArticles = 2;
    ::parametres *ouvrirParametres(int onglet = OngletCouleurs);

    // The tool windows of the "Outils" menu, one of each, wired to the planning; nothing while
    // there is no planning.
    Recherche *ouvrirRecherche();
    ArriveesDeparts *ouvrirArriveesDeparts();
    PlacesLibres *ouvrirPlacesLibres();
    Conflits *ouvrirConflits();
    // Another desk stored something: the tool windows in view read their lists again.
    void actualiserLesOutils();
    // "Vérifier le journal": every fingerprint of the account journal checked; "Journal intact"
    // or the first row altered, removed or added by hand.
    void verifierJournal();
    void cloturerLaJournee();

signals:
    // "&Quitter": the program ends at once with this status.
    void finDemandee(int code);
    void miseAJourInternetDemandee();
    void parametresDemandes();

private:
    Contexte &m_contexte;
    QMdiArea *m_zone;
    Form1 *m_planning = nullptr;
    QPointer<Recherche> m_recherche;
    QPointer<ArriveesDeparts> m_mouvements;
    QPointer<PlacesLibres> m_placesLibres;
    QPointer<Conflits> m_conflits;
    SavePosition *m_position = nullptr;
};

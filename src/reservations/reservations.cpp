#include "reservations/reservations.h"

#include "app/BoiteMessage.h"
#include "app/CheminsApplication.h"
#include "app/Contexte.h"
#include "app/Langues.h"
#include "app/ReglagesEtablissement.h"
#include "app/ValeurINI.h"
#include "controls/Fabriques.h"
#include "controls/FondDialogue.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Conversion.h"
#include "conversion/MessageErreur.h"
#include "data/AjoutOperation.h"
#include "data/ConflitsSejour.h"
#include "data/ContratSejour.h"
#include "data/Facturation.h"
#include "data/NumeroReservation.h"
#include "data/PortageCompte.h"
#include "data/Recordset.h"
#include "data/TarifsEtablissement.h"
#include "data/TextesSQL.h"
#include "data/TransactionEcriture.h"
#include "documents/Ouverture.h"
#include "planning/DessinPlanning.h"
#include "reservations/Appelante.h"
#include "reservations/OngletFacture.h"
#include "reservations/OngletPrestations.h"
#include "reservations/SaisieReservation.h"
#include "till/BAR.h"
#include "till/Encaissement.h"
#include "till/TicketDeCaisse.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <cmath>
#include <limits>

namespace {

constexpr int LargeurFond = 860;
constexpr int HauteurFond = 560;

QLineEdit *boite(const QString &texte, const char *nom, QWidget *parent, const QRect &place)
{
    auto *champ = new QLineEdit(texte, parent);
    champ->setObjectName(QLatin1String(nom));
    champ->setGeometry(place);
    return champ;
}

// A whole number typed in a box or list, rounded as an integer column stores it; 0 when the text
// holds none that fits.
qint32 entierSaisi(const QString &texte)
{
    const double valeur = std::nearbyint(Conversion::ValeurNumerique(texte));
    if (!std::isfinite(valeur) || valeur < std::numeric_limits<qint32>::min()
        || valeur > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(valeur);
}

QComboBox *liste(const QString &texte, const char *nom, QWidget *parent, const QRect &place)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(nom));
    // Typed into as well as chosen from: the opener writes the stored label there as it stands.
    combo->setEditable(true);
    combo->setEditText(texte);
    combo->setGeometry(place);
    return combo;
}

} // namespace

reservations::reservations(Contexte &contexte, Appelante *planning)
    : m_contexte(contexte), m_planning(planning)
{
    construire();
    charger();
    ouvrirEncaissement = [this](const QString &numero) {
        auto *paiement = new Encaissement(m_contexte);
        connect(paiement, &Encaissement::compteAMettreAJour, this, &reservations::AfficherLeTicket);
        paiement->show();
        paiement->reservation->setText(numero);
    };
    ouvrirBar = [this](const QString &numero) {
        auto *bar = new BAR(m_contexte);
        connect(bar, &BAR::compteAMettreAJour, this, &reservations::AfficherLeTicket);
        bar->show();
        bar->totaldu = 0;
        bar->reservation->setText(numero);
    };
}

reservations::~reservations() = default;

void reservations::construire()
{
    // Not modal for the whole application: the planning waits for it its own way.
    const ElementsDuFond elements
        = preparerDialoguePleinEcran(this, "reservations", QSize(LargeurFond, HauteurFond), false);
    dessin = elements.dessin;
    Fond = elements.Fond;

    titrelibelle = nouvelleEtiquette(Fond, "titrelibelle", QStringLiteral("Réservation"), 16, 10);
    QFont titre = titrelibelle->font();
    titre.setPointSizeF(12);
    titre.setBold(true);
    titrelibelle->setFont(titre);
    titrelibelle->adjustSize();
    numreservation
        = nouvelleEtiquette(Fond, "numreservation", QStringLiteral("NuméroResvervation"), 640, 14);
    numreservation->setMinimumWidth(150);

    nouvelleEtiquette(Fond, "libelleNomClient", QStringLiteral("Client"), 16, 48);
    NomClient = boite(QStringLiteral("Text1"), "NomClient", Fond, {130, 44, 300, 22});
    nouvelleEtiquette(Fond, "libelleDatedebut", QStringLiteral("Date de début :"), 16, 76);
    datedebut = boite(QStringLiteral("Text1"), "datedebut", Fond, {130, 72, 100, 22});
    nouvelleEtiquette(Fond, "libelleHeuredebut", QStringLiteral("Heure de début :"), 250, 76);
    heuredebut = boite(QStringLiteral("Text1"), "heuredebut", Fond, {370, 72, 60, 22});
    nouvelleEtiquette(Fond, "libelleDatefin", QStringLiteral("Date de fin :"), 16, 104);
    datefin = boite(QStringLiteral("Text1"), "datefin", Fond, {130, 100, 100, 22});
    heurefin = boite(QStringLiteral("Text1"), "heurefin", Fond, {370, 100, 60, 22});
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Nb nuits : "), 450, 104);
    Nbjour = nouvelleEtiquette(Fond, "Nbjour", QStringLiteral("0"), 520, 104);
    Nbjour->setMinimumWidth(80);

    Objets = liste(QStringLiteral("Combo1"), "Objets", Fond, {130, 130, 300, 22});
    etat = liste(QStringLiteral("Etat"), "etat", Fond, {130, 158, 300, 22});
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Nb adultes : "), 16, 190);
    nbadultes = boite(QStringLiteral("1"), "nbadultes", Fond, {130, 186, 50, 22});
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Nb enfants :"), 200, 190);
    nbenfants = boite(QStringLiteral("0"), "nbenfants", Fond, {300, 186, 50, 22});
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Remarque"), 16, 218);
    remarque = new QPlainTextEdit(Fond);
    remarque->setObjectName(QStringLiteral("remarque"));
    remarque->setGeometry(130, 214, 300, 58);
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Tél."), 16, 284);
    telephone = boite(QString(), "telephone", Fond, {130, 280, 300, 22});
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Mail"), 16, 312);
    Email = boite(QString(), "Email", Fond, {130, 308, 300, 22});

    infos = new QTabWidget(Fond);
    infos->setObjectName(QStringLiteral("infos"));
    infos->setGeometry(16, 340, 580, 204);
    const char *const Onglets[]
        = {"Réservation", "Confirm", "Arrivée", "Fact.", "Client", "Conso", "Prest.", "Histo."};
    QVector<QWidget *> pages;
    for (const char *onglet : Onglets) {
        auto *page = new QWidget;
        infos->addTab(page, QString::fromUtf8(onglet));
        pages << page;
    }
    nouvelleEtiquette(pages[0], "libelleArrhes", QStringLiteral("arrhes : "), 8, 12);
    arrhes = boite(QStringLiteral("0"), "arrhes", pages[0], {110, 8, 100, 22});
    nouvelleEtiquette(pages[0], nullptr, QStringLiteral("Date Attendue : "), 8, 42);
    datelimite = boite(QString(), "datelimite", pages[0], {110, 38, 100, 22});
    Confirmation = nouveauBouton(pages[0], "Confirmation",
                                 QStringLiteral("Confirmation Réservation"), {230, 8, 326, 26});
    const char *const Contrats[] = {"Imprimer le Contrat", "Email Contrat", "Poste", "Fax"};
    for (int i = 0; i < 4; ++i) {
        xpcmdbutton *contrat
            = nouveauBouton(pages[0], "ImprimerContrat", QString::fromUtf8(Contrats[i]),
                            {230 + (i % 2) * 166, 44 + (i / 2) * 32, 160, 26});
        contrat->setProperty("Index", i);
        ImprimerContrat << contrat;
        connect(contrat, &xpcmdbutton::Click, this, [this, i] { ImprimerContrat_Click(i); });
    }
    ticketconso = new TicketDeCaisse(pages[5]);
    ticketconso->setObjectName(QStringLiteral("ticketconso"));
    ticketconso->setGeometry(4, 4, 566, 166);
    tickethisto = new TicketDeCaisse(pages[7]);
    tickethisto->setObjectName(QStringLiteral("tickethisto"));
    tickethisto->setGeometry(4, 4, 566, 166);
    facture = new OngletFacture(m_contexte, pages[3]);
    facture->setObjectName(QStringLiteral("facture"));
    facture->setGeometry(0, 0, 570, 172);
    prestations = new OngletPrestations(m_contexte, pages[6]);
    prestations->setObjectName(QStringLiteral("prestations"));
    prestations->setGeometry(0, 0, 570, 172);
    connect(prestations, &OngletPrestations::comptePorte, this, &reservations::AfficherLeTicket);

    Ticket = new TicketDeCaisse(Fond);
    Ticket->setObjectName(QStringLiteral("Ticket"));
    Ticket->setGeometry(620, 44, 220, 300);
    du = nouvelleEtiquette(Fond, "du", QStringLiteral("0.00"), 620, 350);
    du->setMinimumWidth(220);
    du->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont gras = du->font();
    gras.setBold(true);
    du->setFont(gras);

    BoutonBAR = nouveauBouton(Fond, "BoutonBAR", QStringLiteral("Conso"), {620, 380, 105, 28});
    Encaisser = nouveauBouton(Fond, "Encaisser", QStringLiteral("Encaisser"), {735, 380, 105, 28});
    ajouter = nouveauBouton(Fond, "ajouter", QStringLiteral("&Ajouter"), {620, 420, 105, 28});
    Modifier = nouveauBouton(Fond, "Modifier", QStringLiteral("Modifier"), {620, 420, 105, 28});
    supprimer = nouveauBouton(Fond, "supprimer", QStringLiteral("&Supprimer"), {735, 420, 105, 28});
    Annuler = nouveauBouton(Fond, "Annuler", QStringLiteral("Revenir"), {620, 460, 220, 28});
    xpcmdbutton1 = nouveauBouton(Fond, "xpcmdbutton1", QStringLiteral("X"), {818, 8, 30, 24});
    for (xpcmdbutton *b : {ajouter, Modifier, supprimer, Confirmation, Encaisser})
        b->setEnabled(false);

    connect(ajouter, &xpcmdbutton::Click, this, &reservations::ajouter_Click);
    connect(Modifier, &xpcmdbutton::Click, this, &reservations::Modifier_Click);
    connect(supprimer, &xpcmdbutton::Click, this, &reservations::supprimer_Click);
    connect(Annuler, &xpcmdbutton::Click, this, &reservations::Annuler_Click);
    connect(xpcmdbutton1, &xpcmdbutton::Click, this, &reservations::xpcmdbutton1_Click);
    connect(Confirmation, &xpcmdbutton::Click, this, &reservations::Confirmation_Click);
    connect(BoutonBAR, &xpcmdbutton::Click, this, &reservations::BoutonBAR_Click);
    connect(Encaisser, &xpcmdbutton::Click, this, &reservations::Encaisser_Click);
    connect(infos, &QTabWidget::currentChanged, this, &reservations::infos_Click);
    datedebut->installEventFilter(this);
    datefin->installEventFilter(this);
}

void reservations::charger()
{
    MontrerFondDialogue(dessin, Fond);
    Ticket->init();

    const QString titre = Traduire(QStringLiteral("Réservation"));
    setWindowTitle(titre);
    titrelibelle->setText(titre);
    titrelibelle->adjustSize();
    const struct
    {
        const char *nom;
        const char *texte;
    } Traduits[] = {{"libelleNomClient", "Client"},
                    {"libelleArrhes", "arrhes"},
                    {"libelleDatedebut", "Date Arrivée"},
                    {"libelleHeuredebut", "heure"},
                    {"libelleDatefin", "Date Départ"}};
    for (const auto &traduit : Traduits) {
        if (auto *etiquette = Fond->findChild<QLabel *>(QLatin1String(traduit.nom))) {
            etiquette->setText(Traduire(QString::fromUtf8(traduit.texte)));
            etiquette->adjustSize();
        }
    }

    for (int onglet : {1, 2})
        infos->setTabEnabled(onglet, false);

    Recordset lesObjets(m_contexte.BasePlanning(),
                        QString::fromLatin1(TextesSQL::objetsDuSelecteur));
    for (; !lesObjets.fin(); lesObjets.suivant()) {
        Objets->addItem(lesObjets.champ(QStringLiteral("Numero")).toString() + QStringLiteral(" : ")
                        + lesObjets.champ(QStringLiteral("Nom")).toString());
    }
    if (Objets->count() > 0)
        Objets->setCurrentIndex(0);

    for (const Etat &element : m_contexte.ListeEtats)
        etat->addItem(element.Intitule);
    if (etat->count() > 0)
        etat->setCurrentIndex(0);
}

void reservations::FormAppelante(Appelante *fenetre)
{
    m_appelante = fenetre;
    m_fenetreAppelante = fenetre ? fenetre->fenetre() : nullptr;
}

Appelante *reservations::appelante() const
{
    return m_fenetreAppelante ? m_appelante : nullptr;
}

void reservations::reactiverAppelante()
{
    if (Appelante *fenetre = appelante())
        fenetre->fenetre()->setEnabled(true);
}

void reservations::TrouverReservation(const QString &numero)
{
    // Opened and closed again at once, as it always was; nothing reads it.
    Recordset jeu(
        m_contexte.BasePlanning(),
        QStringLiteral("select * from RESERVATION_NOMINATIVE where [NumeroReservation] = ")
            + TextesSQL::nombreOuNull(numero) + u';');
    Q_UNUSED(jeu);
}

void reservations::Fonction_Ajouter()
{
    numreservation->setText(QStringLiteral("nouveau"));
    ajouter->setEnabled(true);
    ajouter->setVisible(true);
    Modifier->setVisible(false);
    // Until the stay is stored it has no number: a sale or a contract note would go to
    // reservation 0, the account of nobody.
    BoutonBAR->setEnabled(false);
    for (xpcmdbutton *contrat : std::as_const(ImprimerContrat))
        contrat->setEnabled(false);
    NomClient->clear();
    datedebut->clear();
    datefin->clear();
    heuredebut->setText(ValeurINI(QStringLiteral("system"), QStringLiteral("heuredebut"),
                                  QStringLiteral("14:00"), m_contexte.FichierINIPrincipal,
                                  LIRE_ET_CREER));
    heurefin->setText(ValeurINI(QStringLiteral("system"), QStringLiteral("heurefin"),
                                QStringLiteral("12:00"), m_contexte.FichierINIPrincipal,
                                LIRE_ET_CREER));
}

void reservations::remplirDepuis(const ReservationAffichee &sejour)
{
    m_ouverte = sejour;
    NomClient->setText(sejour.nomclient);
    // A missing date leaves its boxes as they are, as a failed assignment did.
    if (sejour.DateDebut.isValid())
        datedebut->setText(sejour.DateDebut.toString(QStringLiteral("dd/MM/yyyy")));
    if (sejour.DateFin.isValid())
        datefin->setText(sejour.DateFin.toString(QStringLiteral("dd/MM/yyyy")));
    if (sejour.DateDebut.isValid())
        heuredebut->setText(sejour.DateDebut.toString(QStringLiteral("HH:mm")));
    if (sejour.DateFin.isValid())
        heurefin->setText(sejour.DateFin.toString(QStringLiteral("HH:mm")));
    arrhes->setText(SaisieReservation::texteArrhes(sejour.arrhes));
    if (sejour.datelimite.isValid())
        datelimite->setText(sejour.datelimite.toString(QStringLiteral("dd/MM/yyyy")));
    nbadultes->setText(QString::number(sejour.nbadultes));
    nbenfants->setText(QString::number(sejour.nbenfants));
    etat->setEditText(sejour.libelleetat);
    const QString numero = QString::number(sejour.NumeroReservation);
    numreservation->setText(numero);
    remarque->setPlainText(sejour.remarque);
    telephone->setText(sejour.telephone);
    Email->setText(sejour.email);
    // The blank after the number is part of the test: object 1 is not the entry of object 12.
    const QString debutEntree = QString::number(sejour.objet) + u' ';
    for (int n = 0; n < Objets->count(); ++n) {
        if (Objets->itemText(n).startsWith(debutEntree)) {
            Objets->setCurrentIndex(n);
            setWindowTitle(QStringLiteral("Réservation ") + numero);
        }
    }
}

void reservations::Fonction_Modifier()
{
    Modifier->setEnabled(true);
    supprimer->setEnabled(true);
    // A stay that exists can be confirmed and paid for; a new one has no number yet.
    Confirmation->setEnabled(true);
    Encaisser->setEnabled(true);
    BoutonBAR->setEnabled(true);
    for (xpcmdbutton *contrat : std::as_const(ImprimerContrat))
        contrat->setEnabled(true);
    Modifier->setVisible(true);
    ajouter->setVisible(false);
}

void reservations::miseajourtousleschamps(Recordset &jeu)
{
    const auto fixer = [&jeu](const QString &nom, const QVariant &valeur) {
        if (jeu.accepte(nom, valeur))
            jeu.fixerChamp(nom, valeur);
    };
    const auto nombre = [&fixer](const QString &nom, const QString &texte) {
        const double valeur = Conversion::ValeurNumerique(texte);
        if (std::isfinite(valeur))
            fixer(nom, valeur);
    };
    const auto moment = [&fixer](const QString &nom, const QString &texte) {
        const QDateTime lu = SaisieReservation::dateSaisie(texte);
        if (lu.isValid())
            fixer(nom, lu);
    };
    nombre(QStringLiteral("objet"), Objets->currentText());
    fixer(QStringLiteral("nomclient"), NomClient->text());
    moment(QStringLiteral("datedebut"), datedebut->text() + u' ' + heuredebut->text());
    moment(QStringLiteral("datefin"), datefin->text() + u' ' + heurefin->text());
    if (const auto depot = SaisieReservation::arrhesSaisies(arrhes->text()))
        fixer(QStringLiteral("arrhes"), *depot);
    moment(QStringLiteral("datelimite"), datelimite->text());
    nombre(QStringLiteral("etat"), etat->currentText());
    nombre(QStringLiteral("nbadultes"), nbadultes->text());
    nombre(QStringLiteral("nbenfants"), nbenfants->text());
    const auto avecBlanc = [](const QString &texte) {
        return Conversion::SansNull(texte).toString() + u' ';
    };
    fixer(QStringLiteral("remarque"), avecBlanc(remarque->toPlainText()));
    fixer(QStringLiteral("telephone"), avecBlanc(telephone->text()));
    fixer(QStringLiteral("email"), avecBlanc(Email->text()));
}

qint32 reservations::numeroAffiche() const
{
    const double numero = Conversion::ValeurNumerique(numreservation->text());
    if (!std::isfinite(numero) || numero < std::numeric_limits<qint32>::min()
        || numero > std::numeric_limits<qint32>::max())
        return 0;
    return qint32(numero);
}

bool reservations::validerLaSaisie(qint32 numeroDuSejour)
{
    const QString message = SaisieReservation::messageDeValidation(
        heuredebut->text(), heurefin->text(), datedebut->text(), datefin->text());
    if (!message.isEmpty()) {
        BoiteMessage::afficher(this, message);
        return false;
    }
    // Before the default name is written, so that "Revenir" leaves the boxes as they were typed.
    if (!accepterLesChevauchements(numeroDuSejour))
        return false;
    if (NomClient->text().isEmpty())
        NomClient->setText(SaisieReservation::nomClientParDefaut(etat->currentText()));
    return true;
}

bool reservations::accepterLesChevauchements(qint32 numeroDuSejour)
{
    // Read as miseajourtousleschamps writes them: what is checked is what would be stored. An
    // hour that does not read leaves that end missing, as the new row would have it.
    const QDateTime arrivee
        = SaisieReservation::dateSaisie(datedebut->text() + u' ' + heuredebut->text());
    const QDateTime depart
        = SaisieReservation::dateSaisie(datefin->text() + u' ' + heurefin->text());
    QVector<ConflitsSejour::Conflit> conflits;
    if (const QSqlError erreur = ConflitsSejour::conflitsDe(
            m_contexte.BasePlanning(), numeroDuSejour, entierSaisi(Objets->currentText()), arrivee,
            depart, entierSaisi(etat->currentText()), conflits);
        erreur.isValid()) {
        // Unchecked is not free: nothing is stored until the check can be made.
        signalerRefus(QStringLiteral("Les autres séjours de cet objet n'ont pas pu être lus, "
                                     "rien n'a été enregistré"),
                      erreur);
        return false;
    }
    if (conflits.isEmpty())
        return true;
    // The list shows "Numero : Nom"; the question names the object as the owner calls it.
    const QString objet = Objets->currentText();
    const qsizetype separateur = objet.indexOf(QStringLiteral(" : "));
    const QString nomObjet = separateur >= 0 ? objet.mid(separateur + 3) : objet.trimmed();
    return BoiteMessage::confirmer(this, ConflitsSejour::texteDesConflits(nomObjet, conflits),
                                   QStringLiteral("Enregistrer quand même"),
                                   QStringLiteral("Revenir"));
}

QString reservations::numeroDuTitre() const
{
    return windowTitle().mid(11);
}

void reservations::signalerRefus(const QString &debut, const QSqlError &erreur)
{
    BoiteMessage::afficher(this, debut + QStringLiteral(" :\n") + messageBaseEnFrancais(erreur));
}

QSqlError reservations::enregistrerNouvelle(qint32 &numero)
{
    const QSqlDatabase base = m_contexte.BasePlanning();
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    if (const QSqlError erreur = numeroDeLaNouvelleReservation(base, numero); erreur.isValid())
        return erreur;
    Recordset jeu(base, QString::fromLatin1(TextesSQL::toutesLesReservations),
                  Recordset::Mode::AjoutSeulement);
    if (!jeu.estOuvert())
        return jeu.erreur();
    jeu.ajouter();
    // Written, not left to the store, which would hand out again the number of a deleted
    // reservation whose journal rows are still there.
    jeu.fixerChamp(QStringLiteral("NumeroReservation"), numero);
    miseajourtousleschamps(jeu);
    if (const QSqlError erreur = jeu.valider(); erreur.isValid())
        return erreur;
    if (const QSqlError erreur
        = AjoutOperation(base, numero, 0, QString(), QStringLiteral("Création de la reservation"));
        erreur.isValid())
        return erreur;
    return transaction.valider();
}

void reservations::ajouter_Click()
{
    if (!validerLaSaisie(0))
        return;
    qint32 NumeroPrevu = 0;
    if (const QSqlError erreur = enregistrerNouvelle(NumeroPrevu); erreur.isValid()) {
        // Nothing was stored: the owner is told, and keeps what was typed to try again.
        signalerRefus(QStringLiteral("La réservation n'a pas pu être enregistrée"), erreur);
        return;
    }
    if (m_planning)
        m_planning->fixerDatedepart(SaisieReservation::dateSaisie(datedebut->text()).date());
    if (Appelante *fenetre = appelante()) {
        fenetre->fixerReservationEncours(NumeroPrevu);
        fenetre->fenetre()->setEnabled(true);
    }
    close();
    if (m_planning)
        m_planning->rafraichir();
}

QSqlError reservations::enregistrerModification(bool parDessus, bool *changeAilleurs,
                                                const QStringList &champsRemplaces)
{
    *changeAilleurs = false;
    m_compteNonSuivi.clear();
    const QSqlDatabase base = m_contexte.BasePlanning();
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    Recordset jeu(base, TextesSQL::reservationParNumero(numeroDuTitre()));
    if (jeu.erreur().isValid())
        return jeu.erreur();
    if (jeu.fin()) {
        return QSqlError(QStringLiteral("Cette réservation n'existe plus dans la base : elle a "
                                        "peut-être été supprimée entre-temps."),
                         QString(), QSqlError::StatementError);
    }
    // Read under the write lock: no other desk can store it between this test and the write.
    if (!parDessus && m_ouverte
        && jeu.champ(QStringLiteral("version")).toLongLong() != m_ouverte->version) {
        *changeAilleurs = true;
        return QSqlError();
    }
    jeu.modifier();
    miseajourtousleschamps(jeu);
    if (const QSqlError erreur = jeu.valider(); erreur.isValid())
        return erreur;
    const double numero = Conversion::ValeurNumerique(numreservation->text());
    if (const QSqlError erreur
        = AjoutOperation(base, numero, 0, QString(), QStringLiteral("Modification d'informations"));
        erreur.isValid())
        return erreur;
    if (parDessus && !champsRemplaces.isEmpty()) {
        if (const QSqlError erreur = AjoutOperation(
                base, numero, 0, QString(),
                QStringLiteral("Enregistrée par-dessus une modification faite à un autre poste (")
                    + champsRemplaces.join(QStringLiteral(", ")) + u')');
            erreur.isValid())
            return erreur;
    }
    // What its account was charged follows the stay's new dates, persons or object.
    if (const QSqlError erreur
        = PortageCompte::suivreLeSejour(base, entierSaisi(numreservation->text()),
                                        ReglagesEtablissement::lire().taxe, m_compteNonSuivi);
        erreur.isValid())
        return erreur;
    return transaction.valider();
}

QVector<ConflitDeVersion::Champ> reservations::champsSaisis() const
{
    const auto jourHeure = [](const QLineEdit *jour, const QLineEdit *heure) {
        return (jour->text() + u' ' + heure->text()).trimmed();
    };
    return {
        {QStringLiteral("Objet"), Objets->currentText()},
        {QStringLiteral("Client"), NomClient->text()},
        {QStringLiteral("Arrivée"), jourHeure(datedebut, heuredebut)},
        {QStringLiteral("Départ"), jourHeure(datefin, heurefin)},
        {QStringLiteral("Arrhes"), arrhes->text()},
        {QStringLiteral("Date attendue"), datelimite->text()},
        {QStringLiteral("État"), etat->currentText()},
        {QStringLiteral("Adultes"), nbadultes->text()},
        {QStringLiteral("Enfants"), nbenfants->text()},
        {QStringLiteral("Remarque"), remarque->toPlainText()},
        {QStringLiteral("Téléphone"), telephone->text()},
        {QStringLiteral("E-mail"), Email->text()},
    };
}

bool reservations::resoudreLeConflit()
{
    const std::optional<ReservationAffichee> actuelle
        = lireReservationAffichee(m_contexte.BasePlanning(), entierSaisi(numeroDuTitre()));
    if (!actuelle) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Cette réservation a été supprimée à un autre "
                                              "poste depuis que vous l'avez ouverte : "
                                              "rien n'a été enregistré."));
        return false;
    }
    const auto nomObjet = [this](qint32 numero) {
        const QString debut = QString::number(numero) + u' ';
        for (int n = 0; n < Objets->count(); ++n) {
            if (Objets->itemText(n).startsWith(debut))
                return Objets->itemText(n);
        }
        return QString::number(numero);
    };
    const QVector<ConflitDeVersion::Difference> differences = ConflitDeVersion::differences(
        ConflitDeVersion::champsDuSejour(*m_ouverte, nomObjet),
        ConflitDeVersion::champsDuSejour(*actuelle, nomObjet), champsSaisis());
    QStringList champsRemplaces;
    for (const ConflitDeVersion::Difference &difference : differences)
        champsRemplaces << difference.libelle;
    // Stored again with nothing the dialog shows changed: nothing of theirs can be lost.
    const int choix = differences.isEmpty()
        ? 1
        : BoiteMessage::choisir(
            this, ConflitDeVersion::texteDuConflit(QStringLiteral("Ce séjour"), differences),
            {QStringLiteral("Reprendre leur version"), QStringLiteral("Garder la mienne")});
    if (choix == 0) {
        remplirDepuis(*actuelle);
        datedebut_LostFocus();
        AfficherLeTicket();
        return false;
    }
    if (choix != 1)
        return false;
    bool changeAilleurs = false;
    if (const QSqlError erreur = enregistrerModification(true, &changeAilleurs, champsRemplaces);
        erreur.isValid()) {
        signalerRefus(QStringLiteral("La réservation n'a pas pu être modifiée"), erreur);
        return false;
    }
    return true;
}

void reservations::Modifier_Click()
{
    if (!validerLaSaisie(entierSaisi(numeroDuTitre())))
        return;
    bool changeAilleurs = false;
    if (const QSqlError erreur = enregistrerModification(false, &changeAilleurs);
        erreur.isValid()) {
        // Nothing was changed: no note in the journal, the planning stays where it is, and the
        // dialog stays open with what was typed.
        signalerRefus(QStringLiteral("La réservation n'a pas pu être modifiée"), erreur);
        return;
    }
    if (changeAilleurs && !resoudreLeConflit())
        return;
    if (!m_compteNonSuivi.isEmpty())
        BoiteMessage::afficher(this,
                               QStringLiteral("La réservation est enregistrée, mais son "
                                              "compte garde les prestations portées : ")
                                   + m_compteNonSuivi);
    if (m_planning)
        m_planning->fixerDatedepart(SaisieReservation::dateSaisie(datedebut->text()).date());
    if (Appelante *fenetre = appelante()) {
        fenetre->fixerReservationEncours(numeroAffiche());
        fenetre->fenetre()->setEnabled(true);
    }
    close();
}

bool reservations::confirmerSuppression()
{
    if (!m_ouverte)
        return true;
    const std::optional<ReservationAffichee> actuelle
        = lireReservationAffichee(m_contexte.BasePlanning(), entierSaisi(numeroDuTitre()));
    if (!actuelle || actuelle->version == m_ouverte->version)
        return true;
    return BoiteMessage::confirmer(
        this,
        QStringLiteral("Ce séjour a été modifié à un autre poste depuis que vous l'avez ouvert. "
                       "Le supprimer quand même ?"),
        QStringLiteral("Supprimer quand même"), QStringLiteral("Revenir"));
}

void reservations::supprimer_Click()
{
    if (!confirmerSuppression())
        return;
    const QSqlDatabase base = m_contexte.BasePlanning();
    const qint32 numero = entierSaisi(numeroDuTitre());
    QSqlError erreur;
    QVector<Facturation::Emise> emises;
    {
        // One transaction: the stay goes with its chosen services, or nothing goes. It ends
        // before any message, so that no other desk waits on a box left open.
        TransactionEcriture transaction(base);
        erreur = transaction.erreur();
        if (!erreur.isValid())
            erreur = Facturation::lireEmises(base, numero, emises);
        if (!erreur.isValid() && emises.isEmpty()) {
            Recordset jeu(base, TextesSQL::reservationParNumero(numeroDuTitre()));
            erreur = jeu.erreur();
            if (!erreur.isValid() && !jeu.fin())
                erreur = jeu.supprimer();
            if (!erreur.isValid())
                erreur = TarifsEtablissement::ecrireChoix(base, numero, {}, 0);
            if (!erreur.isValid())
                erreur = transaction.valider();
        }
    }
    if (!erreur.isValid() && !emises.isEmpty()) {
        // An invoice is kept, and so is what it was made for; a number freed would also hand
        // the invoice to the next stay that takes it.
        BoiteMessage::afficher(this,
                               QStringLiteral("Cette réservation a une facture émise (%1) : "
                                              "elle ne peut pas être supprimée. Passez-la "
                                              "plutôt à un état d'annulation, comme "
                                              "« Annulée ».")
                                   .arg(emises.first().numero));
        return;
    }
    if (erreur.isValid()) {
        // A stay that is still in the base must not look deleted.
        signalerRefus(QStringLiteral("La réservation n'a pas pu être supprimée"), erreur);
        return;
    }
    reactiverAppelante();
    close();
    if (m_planning)
        m_planning->rafraichir();
}

void reservations::Annuler_Click()
{
    const qint32 numero = numeroAffiche();
    if (Appelante *fenetre = appelante(); fenetre && numero != 0)
        fenetre->fixerReservationEncours(numero);
    reactiverAppelante();
    close();
}

void reservations::xpcmdbutton1_Click()
{
    Annuler_Click();
}

void reservations::closeEvent(QCloseEvent *evenement)
{
    // However the window goes (a button, the window manager, the end of the program), the
    // window that waits for it must not stay disabled.
    reactiverAppelante();
    QWidget::closeEvent(evenement);
}

void reservations::AfficherLeTicket()
{
    Recordset compte(m_contexte.BasePlanning(),
                     TextesSQL::compteDeLaReservation(numreservation->text()));
    Ticket->init();
    double solde = 0;
    if (!compte.erreur().isValid()) {
        for (; !compte.fin(); compte.suivant()) {
            const QVariant prix = compte.champ(QStringLiteral("prix"));
            Ticket->AjoutTexte(
                Conversion::SansNull(compte.champ(QStringLiteral("libelle"))).toString());
            Ticket->AjoutTexte(Conversion::FormaterChamp(5, prix).toString());
            solde += prix.toDouble();
        }
    }
    du->setText(Conversion::FormaterChamp(5, solde).toString());
}

void reservations::remplirTicketDate(TicketDeCaisse *ticket, const QString &texteSql,
                                     bool avecMontant)
{
    Recordset jeu(m_contexte.BasePlanning(), texteSql);
    ticket->init();
    if (jeu.erreur().isValid())
        return;
    for (; !jeu.fin(); jeu.suivant()) {
        const QDateTime quand = jeu.champ(QStringLiteral("date")).toDateTime();
        ticket->AjoutTexte(quand.toString(QStringLiteral("dd/MM/yy HH:mm")) + QStringLiteral(" : ")
                           + Conversion::SansNull(jeu.champ(QStringLiteral("libelle"))).toString());
        if (avecMontant)
            ticket->AjoutTexte(
                Conversion::FormaterChamp(5, jeu.champ(QStringLiteral("prix"))).toString());
    }
}

void reservations::infos_Click(int onglet)
{
    if (onglet == 5)
        remplirTicketDate(ticketconso, TextesSQL::compteDeLaReservation(numreservation->text()),
                          true);
    else if (onglet == 7)
        remplirTicketDate(tickethisto, TextesSQL::historiqueDeLaReservation(numreservation->text()),
                          false);
    else if (onglet == 3)
        facture->charger(entierSaisi(numreservation->text()));
    else if (onglet == 6)
        prestations->charger(entierSaisi(numreservation->text()));
}

bool reservations::noter(const QString &libelle)
{
    const QSqlError erreur = AjoutOperation(m_contexte.BasePlanning(),
                                            Conversion::ValeurNumerique(numreservation->text()), 0,
                                            QString(), libelle);
    if (erreur.isValid())
        signalerRefus(QStringLiteral("La note « %1 » n'a pas pu être enregistrée").arg(libelle),
                      erreur);
    return !erreur.isValid();
}

void reservations::ImprimerContrat_Click(int index)
{
    if (index < 0 || index >= ImprimerContrat.size())
        return;
    noter(QStringLiteral("Envoi contrat par ") + ImprimerContrat[index]->Caption());
    if (index == 0 || index == 1)
        envoyerContrat(index == 1);
}

void reservations::envoyerContrat(bool parCourriel)
{
    const int numero = entierSaisi(numreservation->text());
    if (numero <= 0) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Enregistrez d'abord la réservation : le "
                                              "contrat est fait de ce qui est enregistré."));
        return;
    }
    Contrat contrat;
    QString prixRefuse;
    const QSqlError erreur = ContratSejour::preparer(
        m_contexte.BasePlanning(), numero, ReglagesEtablissement::lire(), contrat, prixRefuse);
    if (erreur.isValid()) {
        signalerRefus(QStringLiteral("Le contrat n'a pas pu être préparé"), erreur);
        return;
    }
    const QString chemin
        = QDir(CheminsApplication::dansDossierApplication(QStringLiteral("Contrats")))
              .filePath(ContratSejour::nomFichier(numero));
    QString refus = QDir().mkpath(QFileInfo(chemin).path())
        ? ecrireContratPdf(contrat, chemin)
        : QStringLiteral("Le dossier « %1 » n'a pas pu être créé.")
              .arg(QDir::toNativeSeparators(QFileInfo(chemin).path()));
    if (refus.isEmpty())
        refus = parCourriel ? envoyerParCourriel(contrat.email, ContratSejour::sujet(contrat),
                                                 ContratSejour::corps(contrat), chemin)
                            : ouvrirDocument(chemin);
    if (!refus.isEmpty())
        BoiteMessage::afficher(this, refus);
    else if (!prixRefuse.isEmpty())
        BoiteMessage::afficher(this,
                               QStringLiteral("Le contrat est fait sans son prix : ") + prixRefuse);
}

void reservations::Confirmation_Click()
{
    // An unrecorded confirmation must not look done.
    if (!noter(QStringLiteral("Confirmation de réservation")))
        return;
    if (ouvrirEncaissement)
        ouvrirEncaissement(numreservation->text());
    Ticket->AjoutTexte(QStringLiteral("bonjour"));
    infos->setTabEnabled(1, true);
    Confirmation->setVisible(false);
    infos->setCurrentIndex(1);
}

void reservations::BoutonBAR_Click()
{
    if (ouvrirBar)
        ouvrirBar(numreservation->text());
}

void reservations::Encaisser_Click()
{
    if (ouvrirEncaissement)
        ouvrirEncaissement(numreservation->text());
}

void reservations::datedebut_LostFocus()
{
    if (const auto nuits = SaisieReservation::nombreDeNuits(datedebut->text(), datefin->text()))
        Nbjour->setText(*nuits);
}

void reservations::datefin_LostFocus()
{
    datedebut_LostFocus();
}

bool reservations::eventFilter(QObject *objet, QEvent *evenement)
{
    if (evenement->type() == QEvent::FocusOut && (objet == datedebut || objet == datefin))
        datedebut_LostFocus();
    return QWidget::eventFilter(objet, evenement);
}

#include "app/Demarrage.h"
#include "app/Horloge.h"
#include "app/ReglagesEtablissement.h"
#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "data/AjoutOperation.h"
#include "planning/Form1.h"
#include "planning/OuvertureReservation.h"
#include "planning/SurfaceDessin.h"
#include "reservations/OngletFacture.h"
#include "reservations/OngletPrestations.h"
#include "reservations/reservations.h"
#include "till/BAR.h"
#include "till/Encaissement.h"
#include "till/TicketDeCaisse.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

// The reservation dialog as the desk uses it: opened from the planning's "+" or from a bar,
// typed into, saved, changed, deleted or left by its buttons, with the account and history of
// the stay.
class TestReservations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nouvelleReservationAvecLesHeuresParDefaut();
    void boutonsDUnSejourAttendentSonNumero();
    void creationEnregistreEtNote();
    void refusDeLaBase_data();
    void refusDeLaBase();
    void validationNEcritRien_data();
    void validationNEcritRien();
    void nomClientParDefaut();
    void arrhes_data();
    void arrhes();
    void modificationUneNoteParAppui();
    void modificationDUneReservationDisparue();
    void remarqueGagneUnBlancParEnregistrement();
    void dateLimiteVide();
    void suppressionSansNote();
    void nouveauNumeroApresSuppression();
    void saisiesHostiles_data();
    void saisiesHostiles();
    void compteEtSolde();
    void historiqueSeul();
    void notesDeContrat();
    void prestationsPorteesPuisFacturees();
    void revenirSurUneNouvelle();
    void compteurDeNuits();
    void confirmation();
    void soldeApresBarEtPaiement();
    void lObjetDouzeNEstPasLUn();
    void fermeeAutrementLePlanningRevit();
    void appuiSurUneBarreOuvreEtAttend();
    void boutonPlusOuvreEnModeNouveau();
    void chevauchementDemandeAvantDEnregistrer();
    void unSejourChangeAUnAutrePoste_data();
    void unSejourChangeAUnAutrePoste();

private:
    QSqlDatabase base() const { return m_base.contexte->BasePlanning(); }
    QVariant valeur(const QString &sql) const { return m_base.valeur(sql); }
    int nombre(const QString &sql) const { return valeur(sql).toInt(); }
    reservations *ouvrirNouvelle();
    qint64 reserver(const QString &client, double arrhes = 0);
    reservations *ouvrirDepuisLaBarre(qint64 numero);
    void remplirSejour(reservations &dialogue, const QString &client);
    static void fermer(QPointer<reservations> &dialogue);

    // What the stand-ins of xdg-open and xdg-email were asked, one line a call.
    QString ouvertures() const;

    BaseDemo m_base;
    std::unique_ptr<Form1> m_planning;
    QTemporaryDir m_programmes;
};

namespace {

const QDate Aujourdhui(2026, 12, 8);

void appuyer(QWidget *bouton)
{
    QTest::mouseClick(bouton, Qt::LeftButton);
}

// What a person does in a box: select all it holds, then type over it. Letters beyond ASCII
// come as a keyboard layout gives them, a key that carries its text.
void taper(QWidget *champ, const QString &texte)
{
    QTest::keyClick(champ, Qt::Key_A, Qt::ControlModifier);
    if (texte.isEmpty())
        QTest::keyClick(champ, Qt::Key_Delete);
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const qsizetype longueur = texte.at(i).isHighSurrogate() ? 2 : 1;
        const QString lettre = texte.mid(i, longueur);
        i += longueur - 1;
        if (lettre.at(0).unicode() < 0x80) {
            QTest::keyClick(champ, lettre.at(0).toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, champ, Qt::Key_unknown, lettre, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, champ, Qt::Key_unknown, lettre, Qt::NoModifier);
        }
    }
}

void choisirOnglet(QTabWidget *onglets, int index)
{
    auto *barre = onglets->findChild<QTabBar *>();
    QTest::mouseClick(barre, Qt::LeftButton, {}, barre->tabRect(index).center());
}

template<typename Fenetre> Fenetre *fenetreOuverte()
{
    for (QWidget *fenetre : QApplication::topLevelWidgets()) {
        if (auto *trouvee = qobject_cast<Fenetre *>(fenetre); trouvee && trouvee->isVisible())
            return trouvee;
    }
    return nullptr;
}

// The button of a window by its name, and by its index among the buttons of that name.
xpcmdbutton *boutonNomme(QWidget *fenetre, const QString &nom, int index = -1)
{
    for (xpcmdbutton *bouton : fenetre->findChildren<xpcmdbutton *>(nom)) {
        if (index < 0 || bouton->property("Index").toInt() == index)
            return bouton;
    }
    return nullptr;
}

} // namespace

void TestReservations::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QStandardPaths::setTestModeEnabled(true);
    // Papers are handed to stand-ins that only say what they were given.
    for (const char *nom : {"xdg-open", "xdg-email"}) {
        QFile script(m_programmes.filePath(QString::fromLatin1(nom)));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QByteArray("#!/bin/sh\necho \"") + nom
                     + "$(printf ' [%s]' \"$@\")\" >> \"$RAZARIVU_DOSSIER/ouvertures.txt\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    qputenv("PATH", m_programmes.path().toUtf8() + ':' + qgetenv("PATH"));
}

QString TestReservations::ouvertures() const
{
    QFile fichier(QDir(m_base.dossier()).filePath(QStringLiteral("ouvertures.txt")));
    return fichier.open(QIODevice::ReadOnly) ? QString::fromUtf8(fichier.readAll()) : QString();
}

void TestReservations::init()
{
    QVERIFY(m_base.preparer(false));
    m_base.contexte = std::make_unique<Contexte>();
    m_planning = std::make_unique<Form1>(*m_base.contexte);
    QVERIFY(m_planning->charger());
    m_planning->resize(669, 386);
    m_planning->show();
}

void TestReservations::cleanup()
{
    // A dialog takes its lists' pop-up windows with it: gather first, then delete.
    QList<QPointer<reservations>> ouverts;
    for (QWidget *fenetre : QApplication::topLevelWidgets()) {
        if (auto *dialogue = qobject_cast<reservations *>(fenetre))
            ouverts << dialogue;
    }
    for (const QPointer<reservations> &dialogue : ouverts)
        delete dialogue.data();
    m_planning.reset();
    m_base.fermer();
}

void TestReservations::fermer(QPointer<reservations> &dialogue)
{
    // A closed dialog deletes itself once the events have run.
    QTRY_VERIFY(dialogue.isNull());
}

reservations *TestReservations::ouvrirNouvelle()
{
    auto *dialogue = new reservations(*m_base.contexte, m_planning.get());
    dialogue->Fonction_Ajouter();
    dialogue->show();
    return dialogue;
}

void TestReservations::remplirSejour(reservations &dialogue, const QString &client)
{
    taper(dialogue.NomClient, client);
    taper(dialogue.datedebut, QStringLiteral("10/07/2027"));
    taper(dialogue.datefin, QStringLiteral("14/07/2027"));
    dialogue.Objets->setCurrentIndex(2);
    dialogue.etat->setCurrentIndex(1);
}

// A stay stored through the dialog, as "+" then "&Ajouter"; its number. Stored beside the
// others of the same dates when asked: these tests are about what comes after.
qint64 TestReservations::reserver(const QString &client, double depot)
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, client);
    taper(dialogue->arrhes, QString::number(depot));
    BoiteMessage::repondreAuxQuestions(true);
    appuyer(dialogue->ajouter);
    BoiteMessage::repondreAuxQuestions(false);
    if (!QTest::qWaitFor([&] { return dialogue.isNull(); }))
        return -1;
    return valeur("select max(NumeroReservation) from RESERVATIONS").toLongLong();
}

reservations *TestReservations::ouvrirDepuisLaBarre(qint64 numero)
{
    m_planning->datedepart = QDate(2027, 7, 1);
    m_planning->rafraichir();
    for (int k = 1; k < m_planning->ReservationsAffichees.size(); ++k) {
        const ReservationAffichee &barre = m_planning->ReservationsAffichees.at(k);
        if (barre.NumeroReservation != numero)
            continue;
        auto *dialogue = new reservations(*m_base.contexte, m_planning.get());
        OuvertureReservation::remplir(*dialogue, barre, m_planning.get());
        m_planning->setEnabled(false);
        return dialogue;
    }
    return nullptr;
}

void TestReservations::nouvelleReservationAvecLesHeuresParDefaut()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    QCOMPARE(dialogue->numreservation->text(), QStringLiteral("nouveau"));
    QCOMPARE(dialogue->heuredebut->text(), QStringLiteral("14:00"));
    QCOMPARE(dialogue->heurefin->text(), QStringLiteral("12:00"));
    QCOMPARE(dialogue->NomClient->text(), QString());
    QVERIFY(dialogue->ajouter->isEnabled() && dialogue->ajouter->isVisible());
    QVERIFY(!dialogue->Modifier->isVisible());
    QVERIFY(!dialogue->supprimer->isEnabled());
    for (int onglet : {1, 2})
        QVERIFY(!dialogue->infos->isTabEnabled(onglet));
    QCOMPARE(dialogue->infos->count(), 8);
    QCOMPARE(dialogue->nbadultes->text(), QStringLiteral("1"));
    QCOMPARE(dialogue->arrhes->text(), QStringLiteral("0"));
    QCOMPARE(dialogue->Objets->count(), nombre("select count(*) from OBJETS"));
    QVERIFY(dialogue->Objets->itemText(0).contains(QStringLiteral(" : ")));
    // The states in the order of the list read at start-up; the first is the default.
    QStringList etats;
    for (const Etat &element : m_base.contexte->ListeEtats)
        etats << element.Intitule;
    QStringList proposes;
    for (int n = 0; n < dialogue->etat->count(); ++n)
        proposes << dialogue->etat->itemText(n);
    QCOMPARE(proposes, etats);
    QCOMPARE(dialogue->etat->currentText(), etats.value(0));
    // Five labels take the translated texts at load; in French they are their keys.
    const QStringList traduits
        = {"libelleNomClient=Client", "libelleArrhes=arrhes", "libelleDatedebut=Date Arrivée",
           "libelleHeuredebut=heure", "libelleDatefin=Date Départ"};
    for (const QString &traduit : traduits) {
        const auto *etiquette = dialogue->Fond->findChild<QLabel *>(traduit.section(u'=', 0, 0));
        QVERIFY2(etiquette, qPrintable(traduit));
        QCOMPARE(etiquette->text(), traduit.section(u'=', 1));
    }
    // The keys are written on first use; another hour in the file is then taken as it stands.
    QCOMPARE(ValeurINI("system", "heuredebut", "?", m_base.contexte->FichierINIPrincipal, LIRE),
             QStringLiteral("14:00"));
    ValeurINI("system", "heurefin", "10:30", m_base.contexte->FichierINIPrincipal, ECRIRE);
    dialogue->Fonction_Ajouter();
    QCOMPARE(dialogue->heurefin->text(), QStringLiteral("10:30"));
    // The dialog covers the screen, its panel in the middle.
    QCOMPARE(dialogue->geometry(), dialogue->screen()->geometry());
    QCOMPARE(dialogue->Fond->geometry().center(), dialogue->rect().center());
}

// Until the stay is stored it has no number: what it would sell, cash or note would go to
// reservation 0, the account of nobody.
void TestReservations::boutonsDUnSejourAttendentSonNumero()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    int fenetresOuvertes = 0;
    dialogue->ouvrirBar = [&](const QString &) {
        ++fenetresOuvertes;
    };
    dialogue->ouvrirEncaissement = [&](const QString &) {
        ++fenetresOuvertes;
    };
    QList<xpcmdbutton *> boutons {dialogue->BoutonBAR, dialogue->Encaisser, dialogue->Confirmation};
    boutons += dialogue->ImprimerContrat;
    for (xpcmdbutton *bouton : std::as_const(boutons)) {
        QVERIFY2(!bouton->isEnabled(), qPrintable(bouton->Caption()));
        appuyer(bouton);
    }
    QCOMPARE(fenetresOuvertes, 0);
    QCOMPARE(nombre("select count(*) from OPERATIONS"), 0);
    QVERIFY(dialogue && dialogue->isVisible());
}

void TestReservations::creationEnregistreEtNote()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    dialogue->FormAppelante(m_planning.get());
    remplirSejour(*dialogue, QStringLiteral("Lefèvre"));
    taper(dialogue->nbadultes, QStringLiteral("2"));
    const QString objet = dialogue->Objets->currentText();
    appuyer(dialogue->ajouter);
    fermer(dialogue);

    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 1);
    QCOMPARE(nombre("select NumeroReservation from RESERVATIONS"), 1);
    QCOMPARE(valeur("select nomclient from RESERVATIONS").toString(), QStringLiteral("Lefèvre"));
    QCOMPARE(valeur("select DateDebut from RESERVATIONS").toString(),
             QStringLiteral("2027-07-10 14:00:00"));
    QCOMPARE(valeur("select DateFin from RESERVATIONS").toString(),
             QStringLiteral("2027-07-14 12:00:00"));
    QCOMPARE(nombre("select Objet from RESERVATIONS"), objet.section(u' ', 0, 0).toInt());
    QCOMPARE(nombre("select nbadultes from RESERVATIONS"), 2);
    // Left empty, each still gets its blank: never an empty text.
    QCOMPARE(
        valeur("select remarque || '|' || telephone || '|' || email from RESERVATIONS").toString(),
        QStringLiteral(" | | "));
    QCOMPARE(m_base.journal(1), QStringList {"0|   |Création de la reservation"});
    QCOMPARE(m_planning->datedepart, QDate(2027, 7, 10));
    QCOMPARE(m_planning->reservation_encours, 1);
    QVERIFY(m_planning->isEnabled());
}

void TestReservations::refusDeLaBase_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("index"); // among the buttons of that name, -1 for the only one
    QTest::addColumn<QString>("sabotage");
    QTest::addColumn<QString>("message");

    const QString lectureSeule = QStringLiteral("PRAGMA query_only = 1");
    const QString journalFerme
        = QStringLiteral("CREATE TRIGGER refus BEFORE INSERT ON OPERATIONS BEGIN "
                         "SELECT RAISE(ABORT, 'journal closed'); END");
    const QString baseEnLecture = QStringLiteral(
        "La base de données est en lecture seule : rien ne peut y être enregistré.");
    const QString regle
        = QStringLiteral("La base de données a refusé ces valeurs : une de ses règles l'interdit.");
    QTest::newRow("a new stay in a read-only base")
        << "ajouter" << -1 << lectureSeule
        << "La réservation n'a pas pu être enregistrée :\n" + baseEnLecture;
    QTest::newRow("a change in a read-only base")
        << "Modifier" << -1 << lectureSeule
        << "La réservation n'a pas pu être modifiée :\n" + baseEnLecture;
    QTest::newRow("a deletion in a read-only base")
        << "supprimer" << -1 << lectureSeule
        << "La réservation n'a pas pu être supprimée :\n" + baseEnLecture;
    QTest::newRow("a contract note in a read-only base")
        << "ImprimerContrat" << 3 << lectureSeule
        << "La note « Envoi contrat par Fax » n'a pas pu être enregistrée :\n" + baseEnLecture;
    QTest::newRow("a new stay whose note the journal refuses")
        << "ajouter" << -1 << journalFerme
        << "La réservation n'a pas pu être enregistrée :\n" + regle;
    QTest::newRow("a change whose note the journal refuses")
        << "Modifier" << -1 << journalFerme
        << "La réservation n'a pas pu être modifiée :\n" + regle;
}

// A refused write says so in French, leaves the base as it was (the stay and its note are
// stored together or not at all) and keeps the dialog open with what was typed.
void TestReservations::refusDeLaBase()
{
    QFETCH(QString, bouton);
    QFETCH(int, index);
    QFETCH(QString, sabotage);
    QFETCH(QString, message);
    const qint64 numero = reserver(QStringLiteral("Durand"));
    QVERIFY(numero > 0);
    QPointer<reservations> dialogue
        = bouton == "ajouter" ? ouvrirNouvelle() : ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    remplirSejour(*dialogue, QStringLiteral("Martin"));
    // Beside Durand's stay, so that the write is refused rather than a clash asked about.
    if (bouton == "ajouter")
        dialogue->Objets->setCurrentIndex(3);
    const auto etatDeLaBase = [this] {
        return valeur("select group_concat(NumeroReservation || nomclient || DateFin) from "
                      "RESERVATIONS")
                   .toString()
            + u'/' + valeur("select count(*) from OPERATIONS").toString();
    };
    const QString avant = etatDeLaBase();
    const QDate jourAffiche = m_planning->datedepart;
    QSqlQuery(sabotage, base()).exec();
    BoiteMessage::repondreAutomatiquement(true); // forgets the boxes shown so far

    appuyer(boutonNomme(dialogue, bouton, index));
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), base()).exec();
    QSqlQuery(QStringLiteral("DROP TRIGGER IF EXISTS refus"), base()).exec();

    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList {message});
    QCOMPARE(etatDeLaBase(), avant);
    QVERIFY(dialogue && dialogue->isVisible());
    QCOMPARE(dialogue->NomClient->text(), QStringLiteral("Martin"));
    QCOMPARE(m_planning->datedepart, jourAffiche);
}

void TestReservations::validationNEcritRien_data()
{
    QTest::addColumn<QString>("heurefin");
    QTest::addColumn<QString>("datefin");
    QTest::addColumn<QString>("message");

    QTest::newRow("no departure hour") << ""
                                       << "14/07/2027"
                                       << "Veuillez indiquer une heure de fin de séjour";
    QTest::newRow("departure before arrival")
        << "12:00"
        << "01/07/2027"
        << "La date de fin DOIT être postérieure à la date de début";
}

void TestReservations::validationNEcritRien()
{
    QFETCH(QString, heurefin);
    QFETCH(QString, datefin);
    QFETCH(QString, message);
    const qint64 numero = reserver(QStringLiteral("Durand"));
    QVERIFY(numero > 0);
    const int notes = nombre("select count(*) from OPERATIONS");
    for (bool modification : {false, true}) {
        QPointer<reservations> dialogue
            = modification ? ouvrirDepuisLaBarre(numero) : ouvrirNouvelle();
        QVERIFY(dialogue);
        remplirSejour(*dialogue, QStringLiteral("Petit"));
        taper(dialogue->heurefin, heurefin);
        taper(dialogue->datefin, datefin);
        BoiteMessage::repondreAutomatiquement(true); // forgets the boxes shown so far
        appuyer(modification ? dialogue->Modifier : dialogue->ajouter);
        QCOMPARE(BoiteMessage::messagesAffiches(), QStringList {message});
        QVERIFY(dialogue && dialogue->isVisible());
        delete dialogue.data();
    }
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 1);
    QCOMPARE(valeur("select nomclient from RESERVATIONS").toString(), QStringLiteral("Durand"));
    QCOMPARE(nombre("select count(*) from OPERATIONS"), notes);
}

void TestReservations::nomClientParDefaut()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QString());
    taper(dialogue->etat->lineEdit(), QStringLiteral("2 - Confirmée"));
    appuyer(dialogue->ajouter);
    fermer(dialogue);
    QCOMPARE(valeur("select nomclient from RESERVATIONS").toString(), QStringLiteral("Confirmée"));
    QCOMPARE(nombre("select Etat from RESERVATIONS"), 2);
}

void TestReservations::arrhes_data()
{
    QTest::addColumn<QString>("texte");
    QTest::newRow("with a comma") << "12,50";
    QTest::newRow("with a point") << "12.5";
}

void TestReservations::arrhes()
{
    QFETCH(QString, texte);
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QStringLiteral("Moreau"));
    taper(dialogue->arrhes, texte);
    appuyer(dialogue->ajouter);
    fermer(dialogue);
    QCOMPARE(valeur("select arrhes from RESERVATIONS").toDouble(), 12.5);

    // Opened again and saved unchanged, the cents stay.
    const qint64 numero = valeur("select NumeroReservation from RESERVATIONS").toLongLong();
    dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->arrhes->text(), QStringLiteral("12.5"));
    appuyer(dialogue->Modifier);
    fermer(dialogue);
    QCOMPARE(valeur("select arrhes from RESERVATIONS").toDouble(), 12.5);
}

void TestReservations::modificationUneNoteParAppui()
{
    const qint64 numero = reserver(QStringLiteral("Bernard"));
    QVERIFY(numero > 0);
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->windowTitle(), QStringLiteral("Réservation %1").arg(numero));
    QCOMPARE(dialogue->numreservation->text(), QString::number(numero));
    QCOMPARE(dialogue->NomClient->text(), QStringLiteral("Bernard"));
    QCOMPARE(dialogue->datedebut->text(), QStringLiteral("10/07/2027"));
    QCOMPARE(dialogue->heuredebut->text(), QStringLiteral("14:00"));
    QCOMPARE(dialogue->datefin->text(), QStringLiteral("14/07/2027"));
    QCOMPARE(dialogue->heurefin->text(), QStringLiteral("12:00"));
    QCOMPARE(dialogue->Nbjour->text(), QStringLiteral("4"));
    QVERIFY(dialogue->Modifier->isVisible() && dialogue->supprimer->isEnabled());
    QVERIFY(!dialogue->ajouter->isVisible());

    taper(dialogue->datefin, QStringLiteral("16/07/2027"));
    appuyer(dialogue->Modifier);
    fermer(dialogue);
    QCOMPARE(valeur("select DateFin from RESERVATIONS").toString(),
             QStringLiteral("2027-07-16 12:00:00"));
    QCOMPARE(
        m_base.journal(numero),
        (QStringList {"0|   |Création de la reservation", "0|   |Modification d'informations"}));
    QCOMPARE(m_planning->reservation_encours, numero);
    QCOMPARE(m_planning->datedepart, QDate(2027, 7, 10));
    QVERIFY(m_planning->isEnabled());
}

void TestReservations::modificationDUneReservationDisparue()
{
    const qint64 numero = reserver(QStringLiteral("Garcia"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QSqlQuery(QStringLiteral("delete from RESERVATIONS"), base());
    const int notes = nombre("select count(*) from OPERATIONS");
    m_planning->datedepart = Aujourdhui;
    appuyer(dialogue->Modifier);

    QCOMPARE(BoiteMessage::messagesAffiches(),
             QStringList {"La réservation n'a pas pu être modifiée :\nCette réservation n'existe "
                          "plus dans la base : elle a peut-être été supprimée entre-temps."});
    QCOMPARE(nombre("select count(*) from OPERATIONS"), notes);
    QCOMPARE(m_planning->datedepart, Aujourdhui);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
    QVERIFY(dialogue && dialogue->isVisible());
    appuyer(dialogue->Annuler);
    fermer(dialogue);
    QVERIFY(m_planning->isEnabled());
}

void TestReservations::remarqueGagneUnBlancParEnregistrement()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QStringLiteral("Thomas"));
    taper(dialogue->remarque, QStringLiteral("Lit bébé"));
    appuyer(dialogue->ajouter);
    fermer(dialogue);
    const qint64 numero = valeur("select NumeroReservation from RESERVATIONS").toLongLong();
    for (int fois = 0; fois < 2; ++fois) {
        dialogue = ouvrirDepuisLaBarre(numero);
        QVERIFY(dialogue);
        appuyer(dialogue->Modifier);
        fermer(dialogue);
    }
    QCOMPARE(valeur("select remarque from RESERVATIONS").toString(), QStringLiteral("Lit bébé   "));
}

void TestReservations::dateLimiteVide()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QStringLiteral("Robert"));
    appuyer(dialogue->ajouter);
    fermer(dialogue);
    QVERIFY(valeur("select datelimite from RESERVATIONS").isNull());

    QSqlQuery(QStringLiteral("update RESERVATIONS set datelimite = '2027-06-01 00:00:00'"), base());
    const qint64 numero = valeur("select NumeroReservation from RESERVATIONS").toLongLong();
    dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->datelimite->text(), QStringLiteral("01/06/2027"));
    taper(dialogue->datelimite, QString());
    appuyer(dialogue->Modifier);
    fermer(dialogue);
    QCOMPARE(valeur("select datelimite from RESERVATIONS").toString(),
             QStringLiteral("2027-06-01 00:00:00"));
}

void TestReservations::suppressionSansNote()
{
    const qint64 numero = reserver(QStringLiteral("Richard"));
    const int notes = nombre("select count(*) from OPERATIONS");
    QVERIFY(notes > 0);
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QVERIFY(!m_planning->isEnabled());
    appuyer(dialogue->supprimer);
    fermer(dialogue);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
    QCOMPARE(nombre("select count(*) from OPERATIONS"), notes);
    QVERIFY(m_planning->isEnabled());
}

// The highest stay deleted with its account still in the journal: the next stay must not take
// its number, or it would show the old payment and notes as its own.
void TestReservations::nouveauNumeroApresSuppression()
{
    QCOMPARE(reserver(QStringLiteral("Premier")), 1);
    const qint64 ancien = reserver(QStringLiteral("Parti"));
    QCOMPARE(ancien, 2);
    QVERIFY(!AjoutOperation(base(), ancien, 80, "CHQ", "Paiement CHQ").isValid());
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(ancien);
    QVERIFY(dialogue);
    appuyer(dialogue->supprimer);
    fermer(dialogue);

    const qint64 nouveau = reserver(QStringLiteral("Nouveau"));
    QCOMPARE(nouveau, 3);
    QCOMPARE(m_base.journal(nouveau), QStringList {"0|   |Création de la reservation"});
    dialogue = ouvrirDepuisLaBarre(nouveau);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->du->text(), QStringLiteral("0,00 €"));
}

void TestReservations::saisiesHostiles_data()
{
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("colonne");
    QTest::addColumn<QVariant>("attendu"); // invalid: the field kept its earlier value

    const QString longue(1000, u'é');
    QTest::newRow("a name of a thousand letters")
        << "NomClient" << longue << "nomclient" << QVariant(longue);
    QTest::newRow("quotes and SQL")
        << "NomClient"
        << "O'Brien\"; DROP TABLE RESERVATIONS; --"
        << "nomclient" << QVariant("O'Brien\"; DROP TABLE RESERVATIONS; --");
    QTest::newRow("markup and emoji") << "telephone"
                                      << "<b>☎ 🏕</b>"
                                      << "telephone" << QVariant("<b>☎ 🏕</b> ");
    QTest::newRow("an hour that is no hour") << "heuredebut"
                                             << "25:99"
                                             << "DateDebut" << QVariant();
    QTest::newRow("minus three adults") << "nbadultes"
                                        << "-3"
                                        << "nbadultes" << QVariant(-3);
    QTest::newRow("more adults than the column holds") << "nbadultes"
                                                       << "70000"
                                                       << "nbadultes" << QVariant();
    QTest::newRow("the largest deposit") << "arrhes"
                                         << "1e308"
                                         << "arrhes" << QVariant(1e308);
    QTest::newRow("a deposit beyond any number") << "arrhes"
                                                 << "1e999"
                                                 << "arrhes" << QVariant();
    QTest::newRow("a deadline that does not exist") << "datelimite"
                                                    << "31/02/2024"
                                                    << "datelimite" << QVariant();
}

// Whatever is typed, the row is whole, what cannot be taken is skipped, and the file is sound.
void TestReservations::saisiesHostiles()
{
    QFETCH(QString, champ);
    QFETCH(QString, texte);
    QFETCH(QString, colonne);
    QFETCH(QVariant, attendu);
    const qint64 numero = reserver(QStringLiteral("Avant"), 50);
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    const QVariant avant = valeur(QStringLiteral("select %1 from RESERVATIONS").arg(colonne));
    auto *boite = dialogue->Fond->findChild<QLineEdit *>(champ);
    QVERIFY(boite);
    taper(boite, texte);
    QCOMPARE(boite->text(), texte);
    appuyer(dialogue->Modifier);
    fermer(dialogue);
    const QVariant apres = valeur(QStringLiteral("select %1 from RESERVATIONS").arg(colonne));
    if (attendu.isValid())
        QCOMPARE(apres.toString(), attendu.toString());
    else
        QCOMPARE(apres, avant);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 1);
    QCOMPARE(valeur("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
}

void TestReservations::compteEtSolde()
{
    const qint64 numero = reserver(QStringLiteral("Simon"));
    Horloge::fixer(QDateTime(Aujourdhui, QTime(16, 0)));
    QVERIFY(
        !AjoutOperation(base(), numero, 50, QStringLiteral("CHQ"), QStringLiteral("Paiement CHQ"))
             .isValid());
    Horloge::fixer(QDateTime(Aujourdhui, QTime(17, 0)));
    QVERIFY(
        !AjoutOperation(base(), numero, -12.5, QString(), QStringLiteral("BAR Café\r\n1 x 12,5"))
             .isValid());
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->du->text(), QStringLiteral("37,50 €"));

    // Four lines: each label, then its amount, in date order.
    TicketDeCaisse attendu;
    attendu.init();
    for (const QString &ligne :
         {QStringLiteral("Paiement CHQ"), QStringLiteral("50,00 €"),
          QStringLiteral("BAR Café\r\n1 x 12,5"), QStringLiteral("-12,50 €")})
        attendu.AjoutTexte(ligne);
    QCOMPARE(dialogue->Ticket->hauteurRuban(), attendu.hauteurRuban());

    choisirOnglet(dialogue->infos, 5);
    QCOMPARE(dialogue->ticketconso->hauteurRuban(), attendu.hauteurRuban());
    choisirOnglet(dialogue->infos, 7);
    TicketDeCaisse notes;
    notes.init();
    notes.AjoutTexte(QStringLiteral("08/12/26 15:45 : Création de la reservation"));
    QCOMPARE(dialogue->tickethisto->hauteurRuban(), notes.hauteurRuban());
}

void TestReservations::historiqueSeul()
{
    const qint64 numero = reserver(QStringLiteral("Laurent"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->du->text(), QStringLiteral("0,00 €"));
    TicketDeCaisse vide;
    vide.init();
    QCOMPARE(dialogue->Ticket->hauteurRuban(), vide.hauteurRuban());
    choisirOnglet(dialogue->infos, 5);
    QCOMPARE(dialogue->ticketconso->hauteurRuban(), vide.hauteurRuban());
    choisirOnglet(dialogue->infos, 7);
    QVERIFY(dialogue->tickethisto->hauteurRuban() > vide.hauteurRuban());
}

void TestReservations::notesDeContrat()
{
    const qint64 numero = reserver(QStringLiteral("Michel"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->ImprimerContrat.size(), 4);
    for (int index : {1, 1, 3})
        appuyer(dialogue->ImprimerContrat[index]);
    QCOMPARE(
        m_base.journal(numero),
        (QStringList {"0|   |Création de la reservation", "0|   |Envoi contrat par Email Contrat",
                      "0|   |Envoi contrat par Email Contrat", "0|   |Envoi contrat par Fax"}));
    QVERIFY(dialogue && dialogue->isVisible());
    // The contract goes to the mail program with the client's address; printed, it is opened.
    const QString contrat
        = QDir(m_base.dossier()).filePath(QStringLiteral("Contrats/Contrat-%1.pdf").arg(numero));
    QVERIFY(QFileInfo(contrat).size() > 1000);
    QVERIFY2(
        ouvertures().startsWith(
            QStringLiteral("xdg-email [--subject] [Contrat de réservation n° %1]").arg(numero)),
        qPrintable(ouvertures()));
    QVERIFY(ouvertures().contains(QStringLiteral("[--attach] [%1]").arg(contrat)));
    appuyer(dialogue->ImprimerContrat[0]);
    QTRY_VERIFY(ouvertures().endsWith(QStringLiteral("xdg-open [%1]\n").arg(contrat)));
}

// Services chosen in "Prest." reach the account through its button; "Fact." issues the invoice
// once the establishment says who it is.
void TestReservations::prestationsPorteesPuisFacturees()
{
    const qint64 numero = reserver(QStringLiteral("Lefèvre"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    dialogue->show();
    QTabBar *onglets = dialogue->infos->tabBar();
    QTest::mouseClick(onglets, Qt::LeftButton, {}, onglets->tabRect(6).center());
    auto *services
        = dialogue->prestations->findChild<QTableWidget *>(QStringLiteral("prestations"));
    QCOMPARE(services->item(0, 0)->text(), QStringLiteral("Électricité"));
    services->setCurrentCell(0, 0);
    QTest::keyClick(services, Qt::Key_Space);
    QCOMPARE(services->item(0, 0)->checkState(), Qt::Checked);
    auto *lignes
        = dialogue->prestations->findChild<QPlainTextEdit *>(QStringLiteral("lignesPrestations"));
    QCOMPARE(lignes->toPlainText(),
             QStringLiteral("Chambre – 4 nuits × 84,00 € : 336,00 €\n"
                            "Électricité – 4 nuits × 4,50 € : 18,00 €"));
    appuyer(dialogue->prestations->findChild<xpcmdbutton *>(QStringLiteral("porterAuCompte")));
    QCOMPARE(m_base.journal(int(numero)).mid(1),
             (QStringList {"-336|PRE|Chambre – 4 nuits × 84,00 €",
                           "-18|PRE|Électricité – 4 nuits × 4,50 €"}));
    QCOMPARE(dialogue->du->text(), QStringLiteral("-354,00 €"));
    QCOMPARE(nombre("select quantite from PRESTATIONSSEJOUR where prestation = 1"), 1);

    QTest::mouseClick(onglets, Qt::LeftButton, {}, onglets->tabRect(3).center());
    auto *editer = dialogue->facture->findChild<xpcmdbutton *>(QStringLiteral("editerFacture"));
    appuyer(editer);
    QCOMPARE(BoiteMessage::messagesAffiches().last(),
             QStringLiteral("La facture ne peut pas être éditée : il manque le nom, l'adresse, le "
                            "code postal, la ville et le numéro SIRET de l'établissement "
                            "(Paramétres, onglet « Établissement »)."));
    Etablissement etablissement;
    etablissement.nom = QStringLiteral("Hôtel du Lac");
    etablissement.adresse = QStringLiteral("1 rue du Port");
    etablissement.codePostal = QStringLiteral("74000");
    etablissement.ville = QStringLiteral("Annecy");
    etablissement.siret = QStringLiteral("123 456 789 00012");
    ReglagesEtablissement::ecrire(etablissement);
    BoiteMessage::repondreAuxQuestions(true);
    appuyer(editer);
    BoiteMessage::repondreAuxQuestions(false);
    const QString numeroFacture = valeur("select numero from FACTURES").toString();
    QCOMPARE(numeroFacture, QStringLiteral("%1-0001").arg(Horloge::aujourdhui().year()));
    QCOMPARE(valeur("select totalttc from FACTURES").toLongLong(), 35400);
    const QString pdf
        = QDir(m_base.dossier()).filePath(QStringLiteral("Factures/%1.pdf").arg(numeroFacture));
    QTRY_VERIFY(ouvertures().endsWith(QStringLiteral("xdg-open [%1]\n").arg(pdf)));
    QVERIFY(QFileInfo(pdf).size() > 1000);

    // Cancelled by a credit note of its own number.
    auto *emises = dialogue->facture->findChild<QListWidget *>(QStringLiteral("facturesEmises"));
    QCOMPARE(emises->count(), 1);
    QTest::mouseClick(emises->viewport(), Qt::LeftButton, {},
                      emises->visualItemRect(emises->item(0)).center());
    BoiteMessage::repondreAuxQuestions(true);
    appuyer(dialogue->facture->findChild<xpcmdbutton *>(QStringLiteral("etablirAvoir")));
    BoiteMessage::repondreAuxQuestions(false);
    QCOMPARE(
        valeur("select group_concat(nature || ' ' || totalttc, ', ') from FACTURES").toString(),
        QStringLiteral("Facture 35400, Avoir -35400"));

    // An invoiced stay stays: its number freed would hand the invoice to the next one.
    appuyer(dialogue->supprimer);
    QVERIFY(BoiteMessage::messagesAffiches().last().startsWith(
        QStringLiteral("Cette réservation a une facture émise (%1)").arg(numeroFacture)));
    QCOMPARE(nombre(QStringLiteral("select count(*) from RESERVATIONS where NumeroReservation = %1")
                        .arg(numero)),
             1);
    QVERIFY(dialogue && dialogue->isVisible());

    // Moved to nights without a tariff: stored, its account keeps what was carried, and says so.
    taper(dialogue->datedebut, QStringLiteral("10/07/2036"));
    taper(dialogue->datefin, QStringLiteral("14/07/2036"));
    appuyer(dialogue->Modifier);
    QVERIFY(BoiteMessage::messagesAffiches().last().startsWith(
        QStringLiteral("La réservation est enregistrée, mais son compte garde les prestations "
                       "portées : La nuit du 10/07/2036")));
    QCOMPARE(valeur("select sum(prix) from OPERATIONS where paiement = 'PRE'").toDouble(), -354.0);
}

void TestReservations::revenirSurUneNouvelle()
{
    m_planning->reservation_encours = 42;
    QPointer<reservations> dialogue = ouvrirNouvelle();
    dialogue->FormAppelante(m_planning.get());
    m_planning->setEnabled(false);
    appuyer(dialogue->xpcmdbutton1);
    fermer(dialogue);
    QCOMPARE(m_planning->reservation_encours, 42);
    QVERIFY(m_planning->isEnabled());
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
}

// The count follows when a date box is left; an unreadable date leaves it as it was.
void TestReservations::compteurDeNuits()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    dialogue->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialogue));
    QTest::mouseClick(dialogue->datedebut, Qt::LeftButton);
    taper(dialogue->datedebut, QStringLiteral("10/07/2024"));
    QTest::mouseClick(dialogue->datefin, Qt::LeftButton);
    taper(dialogue->datefin, QStringLiteral("14/07/2024"));
    QCOMPARE(dialogue->Nbjour->text(), QStringLiteral("0")); // datefin not left yet
    QTest::mouseClick(dialogue->NomClient, Qt::LeftButton);
    QCOMPARE(dialogue->Nbjour->text(), QStringLiteral("4"));
    QTest::mouseClick(dialogue->datedebut, Qt::LeftButton);
    taper(dialogue->datedebut, QString());
    QTest::keyClick(dialogue->datedebut, Qt::Key_Tab);
    QVERIFY(!dialogue->datedebut->hasFocus());
    QCOMPARE(dialogue->Nbjour->text(), QStringLiteral("4"));
}

void TestReservations::confirmation()
{
    const qint64 numero = reserver(QStringLiteral("Petit"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QString numeroEncaisse = QStringLiteral("aucun");
    dialogue->ouvrirEncaissement = [&](const QString &texte) {
        numeroEncaisse = texte;
    };
    const int hauteur = dialogue->Ticket->hauteurRuban();
    appuyer(dialogue->Confirmation);
    QCOMPARE(m_base.journal(numero).value(1), QStringLiteral("0|   |Confirmation de réservation"));
    QCOMPARE(numeroEncaisse, QString::number(numero));
    QVERIFY(dialogue->Ticket->hauteurRuban() > hauteur); // "bonjour"
    QVERIFY(dialogue->infos->isTabEnabled(1));
    QCOMPARE(dialogue->infos->currentIndex(), 1);
    QVERIFY(dialogue->Confirmation->isHidden());
}

// The bar and the payment dialog opened from a stay charge its account, and the dialog's
// balance follows; the confirmation's payment goes to the stay too.
void TestReservations::soldeApresBarEtPaiement()
{
    const qint64 numero = reserver(QStringLiteral("Fontaine"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->du->text(), QStringLiteral("0,00 €"));
    const auto payer = [&](int genre, const QString &montant) {
        QPointer<Encaissement> paiement = fenetreOuverte<Encaissement>();
        QVERIFY(paiement);
        QCOMPARE(paiement->reservation->text(), QString::number(numero));
        appuyer(boutonNomme(paiement, QStringLiteral("typereglemement"), genre));
        taper(paiement->findChild<QLineEdit *>(QStringLiteral("montant")), montant);
        appuyer(paiement->findChild<QPushButton *>(QStringLiteral("OK")));
        QTRY_VERIFY(paiement.isNull());
    };

    appuyer(dialogue->BoutonBAR);
    QPointer<BAR> bar = fenetreOuverte<BAR>();
    QVERIFY(bar);
    QCOMPARE(bar->reservation->text(), QString::number(numero));
    QCOMPARE(bar->totaldu, 0.0);
    xpcmdbutton *cafeCreme = nullptr;
    for (xpcmdbutton *article : bar->findChildren<xpcmdbutton *>(QStringLiteral("Consommation")))
        if (article->Caption() == QStringLiteral("Café\r\ncrème"))
            cafeCreme = article;
    QVERIFY(cafeCreme);
    appuyer(cafeCreme); // 2,50 €
    appuyer(boutonNomme(bar, QStringLiteral("Quitter")));
    QTRY_VERIFY(bar.isNull());
    QCOMPARE(dialogue->du->text(), QStringLiteral("-2,50 €"));

    appuyer(dialogue->Encaisser);
    payer(2, QStringLiteral("10"));
    QCOMPARE(dialogue->du->text(), QStringLiteral("7,50 €"));

    appuyer(dialogue->Confirmation);
    payer(0, QStringLiteral("2,5"));
    QCOMPARE(dialogue->du->text(), QStringLiteral("10,00 €"));
    QCOMPARE(nombre("select count(*) from OPERATIONS where numeroreservation = 0"), 0);
}

// Entries begin with the object number and a blank: object 1 must not pick "12 : ...".
void TestReservations::lObjetDouzeNEstPasLUn()
{
    QSqlQuery(QStringLiteral("delete from OBJETS"), base());
    QSqlQuery(
        QStringLiteral("insert into OBJETS (Numero, Nom) values (12, 'Chalet'), (1, 'Tente')"),
        base());
    for (int objet : {1, 12}) {
        QSqlQuery(QStringLiteral("delete from RESERVATIONS"), base());
        QSqlQuery(QStringLiteral("insert into RESERVATIONS (NumeroReservation, Objet, nomclient, "
                                 "DateDebut, DateFin, Etat) values (5, %1, 'Simon', "
                                 "'2027-07-10 14:00:00', '2027-07-12 12:00:00', 1)")
                      .arg(objet),
                  base());
        QPointer<reservations> dialogue = ouvrirDepuisLaBarre(5);
        QVERIFY(dialogue);
        QVERIFY2(dialogue->Objets->currentText().startsWith(QString::number(objet) + " : "),
                 qPrintable(dialogue->Objets->currentText()));
        QCOMPARE(dialogue->windowTitle(), QStringLiteral("Réservation 5"));
        delete dialogue.data();
    }
}

// However the dialog goes, the planning that waits for it is enabled again.
void TestReservations::fermeeAutrementLePlanningRevit()
{
    const qint64 numero = reserver(QStringLiteral("Girard"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QVERIFY(!m_planning->isEnabled());
    dialogue->close();
    fermer(dialogue);
    QVERIFY(m_planning->isEnabled());
}

// A press on a bar opens the stay and the planning waits, disabled, until the dialog closes.
void TestReservations::appuiSurUneBarreOuvreEtAttend()
{
    const qint64 numero = reserver(QStringLiteral("Dubois"));
    m_planning->datedepart = QDate(2027, 7, 1);
    m_planning->rafraichir();
    QCOMPARE(m_planning->ReservationsAffichees.size(), 2);
    const ReservationAffichee barre = m_planning->ReservationsAffichees.at(1);
    // Acts once the planning waits: the dialog is open, filled, and the planning disabled.
    bool attendait = false;
    QTimer guet;
    guet.setInterval(10);
    connect(&guet, &QTimer::timeout, this, [&] {
        for (QWidget *fenetre : QApplication::topLevelWidgets()) {
            auto *dialogue = qobject_cast<reservations *>(fenetre);
            if (!dialogue || m_planning->isEnabled() || !dialogue->isVisible())
                continue;
            guet.stop();
            attendait = dialogue->NomClient->text() == QStringLiteral("Dubois");
            appuyer(dialogue->Annuler);
            return;
        }
    });
    guet.start();
    m_planning->planning_MouseDown(Qt::LeftButton,
                                   QPoint((barre.x1 + barre.x2) / 2, (barre.y1 + barre.y2) / 2));
    m_planning->planning_MouseUp(Qt::LeftButton);
    QVERIFY(attendait);
    QVERIFY(m_planning->isEnabled());
    QCOMPARE(m_planning->reservation_encours, numero);
    QVERIFY(m_planning->Clignotement.isActive());
}

void TestReservations::boutonPlusOuvreEnModeNouveau()
{
    bool modal = false;
    QTimer guet;
    guet.setInterval(10);
    connect(&guet, &QTimer::timeout, this, [&] {
        for (QWidget *fenetre : QApplication::topLevelWidgets()) {
            auto *dialogue = qobject_cast<reservations *>(fenetre);
            if (!dialogue || !dialogue->isVisible()
                || dialogue->numreservation->text() != QStringLiteral("nouveau"))
                continue;
            guet.stop();
            modal = dialogue->isModal();
            remplirSejour(*dialogue, QStringLiteral("Leroy"));
            appuyer(dialogue->ajouter);
            return;
        }
    });
    guet.start();
    appuyer(m_planning->ajouter);
    QVERIFY(modal);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 1);
    QCOMPARE(m_planning->datedepart, QDate(2027, 7, 10));
    bool trouvee = false;
    for (int k = 1; k < m_planning->ReservationsAffichees.size(); ++k)
        trouvee |= m_planning->ReservationsAffichees.at(k).nomclient == QStringLiteral("Leroy");
    QVERIFY(trouvee);
}

// Typed over a stay of the demo base, a new one asks first. "Revenir", which a slip of Enter
// answers, stores nothing and keeps the dialog as typed; "Enregistrer quand même" stores it. A
// cancelled stay frees its dates: nothing is asked.
void TestReservations::chevauchementDemandeAvantDEnregistrer()
{
    m_planning.reset();
    m_base.fermer();
    QVERIFY(m_base.ouvrir(true));
    Demarrage::chargerEtats(*m_base.contexte);
    QSqlQuery occupe(
        QStringLiteral("select NumeroReservation, nomclient, Objet, DateDebut, DateFin "
                       "from RESERVATIONS join ETATS on Code = Etat where occupe = 1 "
                       "and DateDebut > '2026-12-09' order by DateDebut limit 1"),
        base());
    QVERIFY(occupe.next());
    const QString pris = QStringLiteral("n° %1 – %2")
                             .arg(occupe.value(0).toString(), occupe.value(1).toString().trimmed());
    const QString objet = occupe.value(2).toString() + QStringLiteral(" : ");
    const auto jour = [&occupe](int colonne) {
        return BaseDeDonnees::dateDepuisTexte(occupe.value(colonne).toString())
            .toString(QStringLiteral("dd/MM/yyyy"));
    };
    const QString arrivee = jour(3), depart = jour(4);
    const int lignes = nombre("select count(*) from RESERVATIONS");
    const auto saisir = [&](const QString &client, const QString &nomEtat) {
        reservations *dialogue = ouvrirNouvelle();
        taper(dialogue->NomClient, client);
        taper(dialogue->datedebut, arrivee);
        taper(dialogue->datefin, depart);
        dialogue->Objets->setCurrentIndex(dialogue->Objets->findText(objet, Qt::MatchStartsWith));
        dialogue->etat->setCurrentIndex(dialogue->etat->findText(nomEtat, Qt::MatchEndsWith));
        return dialogue;
    };

    QPointer<reservations> dialogue
        = saisir(QStringLiteral("Nouveau"), QStringLiteral("Confirmée"));
    appuyer(dialogue->ajouter);
    const QStringList messages = BoiteMessage::messagesAffiches();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(QStringLiteral("Ce séjour chevauche "))
                 && messages.first().contains(pris),
             qPrintable(messages.first()));
    QVERIFY(dialogue && dialogue->isVisible());
    QCOMPARE(dialogue->NomClient->text(), QStringLiteral("Nouveau"));
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), lignes);

    BoiteMessage::repondreAuxQuestions(true);
    appuyer(dialogue->ajouter);
    fermer(dialogue);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), lignes + 1);

    BoiteMessage::repondreAutomatiquement(true);
    dialogue = saisir(QStringLiteral("Désisté"), QStringLiteral("Annulée"));
    appuyer(dialogue->ajouter);
    fermer(dialogue);
    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList());
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), lignes + 2);
}

void TestReservations::unSejourChangeAUnAutrePoste_data()
{
    QTest::addColumn<int>("choix");
    QTest::addColumn<QString>("telephone"); // stored in the end
    QTest::addColumn<QString>("affiche"); // in the dialog's box afterwards; empty, closed

    QTest::newRow("Revenir") << -1 << "06 12 "
                             << "07 00";
    QTest::newRow("Reprendre leur version") << 0 << "06 12 "
                                            << "06 12 ";
    QTest::newRow("Garder la mienne") << 1 << "07 00 "
                                      << "";
}

void TestReservations::unSejourChangeAUnAutrePoste()
{
    QFETCH(int, choix);
    QFETCH(QString, telephone);
    QFETCH(QString, affiche);
    const qint64 numero = reserver(QStringLiteral("Martin"));
    m_planning->datedepart = QDate(2027, 7, 1);
    m_planning->rafraichir();
    const auto autrePoste = [&](const QString &changement) {
        QSqlQuery(base()).exec(QString("update RESERVATIONS set %1 where NumeroReservation = %2")
                                   .arg(changement)
                                   .arg(numero));
    };
    // The bar was drawn before the other desk stored the stay: the dialog shows the stay as
    // stored now.
    autrePoste("remarque = 'Lit bébé '");
    const auto dansLeDialogue = [&](reservations *dialogue) {
        QCOMPARE(dialogue->remarque->toPlainText(), QStringLiteral("Lit bébé "));
        // Stored at the other desk while open here; this desk types another phone and saves.
        autrePoste("telephone = '06 12 ', DateFin = '2027-07-15 10:00:00'");
        taper(dialogue->telephone, QStringLiteral("07 00"));
        BoiteMessage::repondreAuChoix(choix);
        appuyer(dialogue->Modifier);
        QCOMPARE(BoiteMessage::messagesAffiches().last().section('\n', 0, 4),
                 QStringLiteral("Ce séjour a été modifié à un autre poste depuis que vous "
                                "l'avez ouvert.\n\nChamp : leur version / la vôtre\nDépart : "
                                "15/07/2027 10:00 / 14/07/2027 12:00\nTéléphone : 06 12 / 07 00"));
        if (affiche.isEmpty())
            return;
        QVERIFY(dialogue->isVisible());
        QCOMPARE(dialogue->telephone->text(), affiche);
        if (choix != 0)
            return;
        // Theirs taken back, a delete after yet another change elsewhere asks first.
        autrePoste("nbadultes = 4");
        appuyer(dialogue->supprimer);
        QVERIFY(BoiteMessage::messagesAffiches().last().endsWith("Le supprimer quand même ?"));
    };
    bool vu = false;
    QTimer guet;
    guet.setInterval(10);
    connect(&guet, &QTimer::timeout, this, [&] {
        QPointer<reservations> dialogue = fenetreOuverte<reservations>();
        if (!dialogue || m_planning->isEnabled())
            return;
        guet.stop();
        vu = true;
        dansLeDialogue(dialogue);
        if (dialogue)
            appuyer(dialogue->Annuler);
    });
    guet.start();
    const ReservationAffichee barre = m_planning->ReservationsAffichees.at(1);
    QTest::mouseClick(m_planning->planning, Qt::LeftButton, {},
                      QPoint((barre.x1 + barre.x2) / 2, (barre.y1 + barre.y2) / 2));
    QVERIFY(vu);
    QCOMPARE(
        valeur(
            QString("select telephone from RESERVATIONS where NumeroReservation = %1").arg(numero))
            .toString(),
        telephone);
    QStringList notes = {"0|   |Création de la reservation"};
    if (choix == 1)
        notes << "0|   |Modification d'informations"
              << "0|   |Enregistrée par-dessus une modification faite à un autre poste (Départ, "
                 "Téléphone)";
    QCOMPARE(m_base.journal(int(numero)), notes);
}

QTEST_MAIN(TestReservations)
#include "tst_reservations.moc"

#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "data/AjoutOperation.h"
#include "planning/Form1.h"
#include "planning/OuvertureReservation.h"
#include "reservations/reservations.h"
#include "till/BAR.h"
#include "till/Encaissement.h"
#include "till/TicketDeCaisse.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTabWidget>
#include <QtTest>

// The reservation dialog as the desk uses it: opened from the planning's "+" or from a bar,
// saved, changed, deleted or left, with the account and history of the stay.
class TestReservations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nouvelleReservationAvecLesHeuresParDefaut();
    void creationEnregistreEtNote();
    void creationRefuseeParLaBase();
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
    void saisiesHostiles_data();
    void saisiesHostiles();
    void compteEtSolde();
    void historiqueSeul();
    void notesDeContrat();
    void revenirSurUneNouvelle();
    void compteurDeNuits();
    void confirmation();
    void soldeApresBarEtPaiement();
    void lObjetDouzeNEstPasLUn();
    void fermeeAutrementLePlanningRevit();
    void appuiSurUneBarreOuvreEtAttend();
    void boutonPlusOuvreEnModeNouveau();

private:
    QSqlDatabase base() const { return m_contexte->BasePlanning(); }
    reservations *ouvrirNouvelle();
    qint64 reserver(const QString &client, double arrhes = 0);
    reservations *ouvrirDepuisLaBarre(qint64 numero);
    void remplirSejour(reservations &dialogue, const QString &client);
    QVariant valeur(const QString &sql) const;
    int nombre(const QString &sql) const { return valeur(sql).toInt(); }
    static void fermer(QPointer<reservations> &dialogue);

    BaseDemo m_base;
    std::unique_ptr<Contexte> m_contexte;
    std::unique_ptr<Form1> m_planning;
};

namespace {
const QDate Aujourdhui(2026, 12, 8);
}

void TestReservations::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QStandardPaths::setTestModeEnabled(true);
}

void TestReservations::init()
{
    QVERIFY(m_base.preparer(false));
    m_contexte = std::make_unique<Contexte>();
    m_planning = std::make_unique<Form1>(*m_contexte);
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
    m_contexte.reset();
    m_base.fermer();
}

QVariant TestReservations::valeur(const QString &sql) const
{
    QSqlQuery requete(base());
    if (!requete.exec(sql) || !requete.next())
        return QVariant();
    return requete.value(0);
}

void TestReservations::fermer(QPointer<reservations> &dialogue)
{
    // A closed dialog deletes itself once the events have run.
    QTRY_VERIFY(dialogue.isNull());
}

reservations *TestReservations::ouvrirNouvelle()
{
    auto *dialogue = new reservations(*m_contexte, m_planning.get());
    dialogue->Fonction_Ajouter();
    dialogue->show();
    return dialogue;
}

void TestReservations::remplirSejour(reservations &dialogue, const QString &client)
{
    dialogue.NomClient->setText(client);
    dialogue.datedebut->setText(QStringLiteral("10/07/2027"));
    dialogue.datefin->setText(QStringLiteral("14/07/2027"));
    dialogue.Objets->setCurrentIndex(2);
    dialogue.etat->setCurrentIndex(1);
}

// A stay stored through the dialog, as "+" then "&Ajouter" would; its number.
qint64 TestReservations::reserver(const QString &client, double depot)
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, client);
    dialogue->arrhes->setText(QString::number(depot));
    dialogue->ajouter_Click();
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
        auto *dialogue = new reservations(*m_contexte, m_planning.get());
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
    QVERIFY(!dialogue->Confirmation->isEnabled() && !dialogue->Encaisser->isEnabled());
    for (int onglet : {1, 2, 3})
        QVERIFY(!dialogue->infos->isTabEnabled(onglet));
    QCOMPARE(dialogue->infos->count(), 8);
    QCOMPARE(dialogue->nbadultes->text(), QStringLiteral("1"));
    QCOMPARE(dialogue->arrhes->text(), QStringLiteral("0"));
    QCOMPARE(dialogue->Objets->count(), nombre("select count(*) from OBJETS"));
    QVERIFY(dialogue->Objets->itemText(0).contains(QStringLiteral(" : ")));
    QCOMPARE(dialogue->etat->count(), m_contexte->ListeEtats.size());
    // The keys are written on first use; another hour in the file is then taken as it stands.
    QCOMPARE(ValeurINI("system", "heuredebut", "?", m_contexte->FichierINIPrincipal, LIRE),
             QStringLiteral("14:00"));
    ValeurINI("system", "heurefin", "10:30", m_contexte->FichierINIPrincipal, ECRIRE);
    dialogue->Fonction_Ajouter();
    QCOMPARE(dialogue->heurefin->text(), QStringLiteral("10:30"));
    // The dialog covers the screen, its panel in the middle.
    QCOMPARE(dialogue->geometry(), dialogue->screen()->geometry());
    QCOMPARE(dialogue->Fond->geometry().center(), dialogue->rect().center());
}

void TestReservations::creationEnregistreEtNote()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    dialogue->FormAppelante(m_planning.get());
    remplirSejour(*dialogue, QStringLiteral("Lefèvre"));
    dialogue->nbadultes->setText(QStringLiteral("2"));
    dialogue->telephone->setText(QStringLiteral("06 12 34 56 78"));
    const QString objet = dialogue->Objets->currentText();
    dialogue->ajouter_Click();
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
    QCOMPARE(valeur("select telephone from RESERVATIONS").toString(),
             QStringLiteral("06 12 34 56 78 "));
    QCOMPARE(valeur("select count(*) from OPERATIONS where numeroreservation = 1 and prix = 0 "
                    "and libelle = 'Création de la reservation'")
                 .toInt(),
             1);
    QCOMPARE(m_planning->datedepart, QDate(2027, 7, 10));
    QCOMPARE(m_planning->reservation_encours, 1);
    QVERIFY(m_planning->isEnabled());
}

void TestReservations::creationRefuseeParLaBase()
{
    QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), base());
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QStringLiteral("Martin"));
    const QDate avant = m_planning->datedepart;
    dialogue->ajouter_Click();
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), base());

    const QStringList messages = BoiteMessage::messagesAffiches();
    QCOMPARE(messages.size(), 1);
    QVERIFY(
        messages.first().startsWith(QStringLiteral("La réservation n'a pas pu être enregistrée")));
    QVERIFY(dialogue);
    QVERIFY(dialogue->isVisible());
    QCOMPARE(dialogue->NomClient->text(), QStringLiteral("Martin"));
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
    QCOMPARE(nombre("select count(*) from OPERATIONS"), 0);
    QCOMPARE(m_planning->datedepart, avant);
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
        dialogue->heurefin->setText(heurefin);
        dialogue->datefin->setText(datefin);
        BoiteMessage::repondreAutomatiquement(true); // forgets the boxes shown so far
        if (modification)
            dialogue->Modifier_Click();
        else
            dialogue->ajouter_Click();
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
    dialogue->etat->setEditText(QStringLiteral("2 - Confirmée"));
    dialogue->ajouter_Click();
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
    dialogue->arrhes->setText(texte);
    dialogue->ajouter_Click();
    fermer(dialogue);
    QCOMPARE(valeur("select arrhes from RESERVATIONS").toDouble(), 12.5);

    // Opened again and saved unchanged, the cents stay.
    const qint64 numero = valeur("select NumeroReservation from RESERVATIONS").toLongLong();
    dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->arrhes->text(), QStringLiteral("12.5"));
    dialogue->Modifier_Click();
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

    dialogue->datefin->setText(QStringLiteral("16/07/2027"));
    dialogue->Modifier_Click();
    fermer(dialogue);
    QCOMPARE(valeur("select DateFin from RESERVATIONS").toString(),
             QStringLiteral("2027-07-16 12:00:00"));
    QCOMPARE(nombre(QStringLiteral("select count(*) from OPERATIONS where numeroreservation = %1 "
                                   "and libelle = 'Modification d''informations'")
                        .arg(numero)),
             1);
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
    dialogue->Modifier_Click();

    const QStringList messages = BoiteMessage::messagesAffiches();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().startsWith(QStringLiteral("La réservation n'a pas pu être modifiée")));
    QCOMPARE(nombre("select count(*) from OPERATIONS"), notes);
    QCOMPARE(m_planning->datedepart, Aujourdhui);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
    QVERIFY(dialogue && dialogue->isVisible());
    dialogue->Annuler_Click();
    fermer(dialogue);
    QVERIFY(m_planning->isEnabled());
}

void TestReservations::remarqueGagneUnBlancParEnregistrement()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QStringLiteral("Thomas"));
    dialogue->remarque->setPlainText(QStringLiteral("Lit bébé"));
    dialogue->ajouter_Click();
    fermer(dialogue);
    const qint64 numero = valeur("select NumeroReservation from RESERVATIONS").toLongLong();
    for (int fois = 0; fois < 2; ++fois) {
        dialogue = ouvrirDepuisLaBarre(numero);
        QVERIFY(dialogue);
        dialogue->Modifier_Click();
        fermer(dialogue);
    }
    QCOMPARE(valeur("select remarque from RESERVATIONS").toString(), QStringLiteral("Lit bébé   "));
}

void TestReservations::dateLimiteVide()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    remplirSejour(*dialogue, QStringLiteral("Robert"));
    dialogue->ajouter_Click();
    fermer(dialogue);
    QVERIFY(valeur("select datelimite from RESERVATIONS").isNull());

    QSqlQuery(QStringLiteral("update RESERVATIONS set datelimite = '2027-06-01 00:00:00'"), base());
    const qint64 numero = valeur("select NumeroReservation from RESERVATIONS").toLongLong();
    dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->datelimite->text(), QStringLiteral("01/06/2027"));
    dialogue->datelimite->clear();
    dialogue->Modifier_Click();
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
    dialogue->supprimer_Click();
    fermer(dialogue);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
    QCOMPARE(nombre("select count(*) from OPERATIONS"), notes);
    QVERIFY(m_planning->isEnabled());
}

void TestReservations::saisiesHostiles_data()
{
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("colonne");
    QTest::addColumn<QVariant>("attendu"); // invalid: the field kept its earlier value

    const QString longue(10000, u'é');
    QTest::newRow("a name of ten thousand letters")
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
    boite->setText(texte);
    dialogue->Modifier_Click();
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

    dialogue->infos->setCurrentIndex(5);
    QCOMPARE(dialogue->ticketconso->hauteurRuban(), attendu.hauteurRuban());
    dialogue->infos->setCurrentIndex(7);
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
    dialogue->infos->setCurrentIndex(5);
    QCOMPARE(dialogue->ticketconso->hauteurRuban(), vide.hauteurRuban());
    dialogue->infos->setCurrentIndex(7);
    QVERIFY(dialogue->tickethisto->hauteurRuban() > vide.hauteurRuban());
}

void TestReservations::notesDeContrat()
{
    const qint64 numero = reserver(QStringLiteral("Michel"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QCOMPARE(dialogue->ImprimerContrat.size(), 4);
    dialogue->ImprimerContrat_Click(1);
    dialogue->ImprimerContrat_Click(1);
    dialogue->ImprimerContrat_Click(3);
    QCOMPARE(nombre(QStringLiteral("select count(*) from OPERATIONS where numeroreservation = %1 "
                                   "and prix = 0 and libelle = 'Envoi contrat par Email Contrat'")
                        .arg(numero)),
             2);
    QCOMPARE(nombre(QStringLiteral("select count(*) from OPERATIONS where libelle = 'Envoi contrat "
                                   "par Fax'")),
             1);
    QVERIFY(dialogue && dialogue->isVisible());
}

void TestReservations::revenirSurUneNouvelle()
{
    m_planning->reservation_encours = 42;
    QPointer<reservations> dialogue = ouvrirNouvelle();
    dialogue->FormAppelante(m_planning.get());
    m_planning->setEnabled(false);
    dialogue->xpcmdbutton1_Click();
    fermer(dialogue);
    QCOMPARE(m_planning->reservation_encours, 42);
    QVERIFY(m_planning->isEnabled());
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 0);
}

void TestReservations::compteurDeNuits()
{
    QPointer<reservations> dialogue = ouvrirNouvelle();
    dialogue->datedebut->setText(QStringLiteral("10/07/2024"));
    dialogue->datefin->setText(QStringLiteral("14/07/2024"));
    dialogue->datefin->setFocus();
    dialogue->datedebut->setFocus(); // datefin loses the focus
    QApplication::processEvents();
    dialogue->datefin_LostFocus();
    QCOMPARE(dialogue->Nbjour->text(), QStringLiteral("4"));
    dialogue->datedebut->clear();
    dialogue->datedebut_LostFocus();
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
    dialogue->Confirmation_Click();
    QCOMPARE(nombre(QStringLiteral("select count(*) from OPERATIONS where numeroreservation = %1 "
                                   "and libelle = 'Confirmation de réservation'")
                        .arg(numero)),
             1);
    QCOMPARE(numeroEncaisse, QString::number(numero));
    QVERIFY(dialogue->Ticket->hauteurRuban() > hauteur); // "bonjour"
    QVERIFY(dialogue->infos->isTabEnabled(1));
    QCOMPARE(dialogue->infos->currentIndex(), 1);
    QVERIFY(dialogue->Confirmation->isHidden());
}

namespace {
template<typename Fenetre> Fenetre *fenetreOuverte()
{
    for (QWidget *fenetre : QApplication::topLevelWidgets()) {
        if (auto *trouvee = qobject_cast<Fenetre *>(fenetre); trouvee && trouvee->isVisible())
            return trouvee;
    }
    return nullptr;
}
} // namespace

// The bar and the payment dialog opened from a stay charge its account, and the dialog's
// balance follows; the confirmation's payment goes to the stay too.
void TestReservations::soldeApresBarEtPaiement()
{
    const qint64 numero = reserver(QStringLiteral("Fontaine"));
    QPointer<reservations> dialogue = ouvrirDepuisLaBarre(numero);
    QVERIFY(dialogue);
    QVERIFY(dialogue->Encaisser->isEnabled() && dialogue->Confirmation->isEnabled());
    QCOMPARE(dialogue->du->text(), QStringLiteral("0,00 €"));

    dialogue->BoutonBAR_Click();
    QPointer<BAR> bar = fenetreOuverte<BAR>();
    QVERIFY(bar);
    QCOMPARE(bar->reservation->text(), QString::number(numero));
    QCOMPARE(bar->totaldu, 0.0);
    bar->Consommation_Click(1); // Café crème, 2,50 €
    bar->Quitter_Click();
    QCOMPARE(dialogue->du->text(), QStringLiteral("-2,50 €"));

    dialogue->Encaisser_Click();
    QPointer<Encaissement> paiement = fenetreOuverte<Encaissement>();
    QVERIFY(paiement);
    QCOMPARE(paiement->reservation->text(), QString::number(numero));
    paiement->typereglemement_Click(2);
    paiement->montant->setText(QStringLiteral("10"));
    paiement->OK_Click();
    QCOMPARE(dialogue->du->text(), QStringLiteral("7,50 €"));
    QTRY_VERIFY(paiement.isNull() && bar.isNull());

    // The deposit taken at confirmation is the stay's, not reservation 0's.
    dialogue->Confirmation_Click();
    paiement = fenetreOuverte<Encaissement>();
    QVERIFY(paiement);
    QCOMPARE(paiement->reservation->text(), QString::number(numero));
    paiement->typereglemement_Click(0);
    paiement->montant->setText(QStringLiteral("2,5"));
    paiement->OK_Click();
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
            dialogue->Annuler_Click();
            return;
        }
    });
    guet.start();
    m_planning->planning_MouseDown(Qt::LeftButton,
                                   QPoint((barre.x1 + barre.x2) / 2, (barre.y1 + barre.y2) / 2));
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
            dialogue->ajouter_Click();
            return;
        }
    });
    guet.start();
    m_planning->ajouter_Click();
    QVERIFY(modal);
    QCOMPARE(nombre("select count(*) from RESERVATIONS"), 1);
    QCOMPARE(m_planning->datedepart, QDate(2027, 7, 10));
    bool trouvee = false;
    for (int k = 1; k < m_planning->ReservationsAffichees.size(); ++k)
        trouvee |= m_planning->ReservationsAffichees.at(k).nomclient == QStringLiteral("Leroy");
    QVERIFY(trouvee);
}

QTEST_MAIN(TestReservations)
#include "tst_reservations.moc"

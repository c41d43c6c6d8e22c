#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/HauteurListe.h"
#include "app/Horloge.h"
#include "app/ROOT.h"
#include "app/ValeurINI.h"
#include "data/CreationBase.h"
#include "data/VersionSchema.h"
#include "planning/Form1.h"
#include "settings/parametres.h"

#include <QComboBox>
#include <QMenuBar>
#include <QSqlQuery>
#include <QTabWidget>
#include <QtTest>

// The planning window's load, from an empty folder to the filled selectors.
class TestDemarrage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lePremierDemarrageRemplitLeFichierDeReglages();
    void leDemarrageChargeLesEtatsEtLesSelecteurs();
    void leCadrePorteLaVersionEtLesMenus();
    void lEmplacementDeSauvegardeTourne_data();
    void lEmplacementDeSauvegardeTourne();
    void uneBaseIllisibleArreteLeDemarrage_data();
    void uneBaseIllisibleArreteLeDemarrage();
    void leMessageDEchecPasseParLaTraduction();
    void uneBaseAbsenteEstCreeeSurDemande();
    void uneMiseAJourRefuseeArreteLeDemarrage();
    void unFichierDeReglagesAbimeNEmpechePasLeDemarrage();
    void laListeDesMoisSOuvreSurDouzeMois();

private:
    QString chemin(const QString &nom) const { return m_dossier->filePath(nom); }
    QString lireIni(const QString &section, const QString &cle) const
    {
        return ValeurINI(section, cle, "<absent>", chemin("Razarivu.ini"), LIRE);
    }
    void creerBase(const QString &nom = "Razarivu.mdb");

    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestDemarrage::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QStandardPaths::setTestModeEnabled(true);
}

void TestDemarrage::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", m_dossier->path().toUtf8());
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 30)));
    BoiteMessage::repondreAutomatiquement(true);
}

void TestDemarrage::cleanup()
{
    BoiteMessage::repondreAutomatiquement(false);
    Horloge::fixer(QDateTime());
}

void TestDemarrage::creerBase(const QString &nom)
{
    const QSqlError erreur = ::creerBase(chemin(nom), false);
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
}

void TestDemarrage::lePremierDemarrageRemplitLeFichierDeReglages()
{
    creerBase();
    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(cadre.demarrer());

    QCOMPARE(lireIni("system", "database"), chemin("Razarivu.mdb"));
    QCOMPARE(lireIni("system", "sauvegardes numero"), QString("1"));
    QCOMPARE(lireIni("system", "sauvegardes nombre"), QString("30"));
    QCOMPARE(lireIni("reservation", "nb clignotement"), QString("10"));
    QCOMPARE(lireIni("planning", "champsdansbarre"),
             QString("[nomclient] ([nbadultes]ad/[nbenfants]en)"));
    QVERIFY(QFile::exists(chemin("Sauvegardes/Razarivu_1.mdb")));
    const QString programme = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QVERIFY(QFile::exists(chemin("Sauvegardes/" + programme + "_1")));
    QCOMPARE(contexte.FichierINIPrincipal, chemin("Razarivu.ini"));
    QCOMPARE(contexte.NbClignotements, qint16(10));
    QCOMPARE(contexte.ChampsDansBarre, QString("[nomclient] ([nbadultes]ad/[nbenfants]en)"));
}

void TestDemarrage::leDemarrageChargeLesEtatsEtLesSelecteurs()
{
    creerBase();
    Contexte contexte;
    ROOT cadre(contexte);
    cadre.show();
    QVERIFY(cadre.demarrer());
    Form1 *planning = cadre.planning();

    QSqlQuery requete("select Code, Nom, CouleurPrincipale from ETATS", contexte.BasePlanning());
    int n = 0;
    while (requete.next()) {
        QVERIFY(n < contexte.ListeEtats.size());
        const Etat &etat = contexte.ListeEtats.at(n++);
        QCOMPARE(etat.Code, requete.value(0).toInt());
        QCOMPARE(etat.Intitule, requete.value(0).toString() + " - " + requete.value(1).toString());
        QCOMPARE(etat.Couleur, requete.value(2).toInt());
    }
    QCOMPARE(contexte.ListeEtats.size(), n);
    QVERIFY(n >= 4);

    QCOMPARE(planning->windowTitle(), QString("Calendrier"));
    QCOMPARE(planning->datedepart, QDate(2026, 12, 8));
    QStringList annees;
    for (int i = 0; i < planning->choixannee->count(); ++i)
        annees << planning->choixannee->itemText(i);
    QCOMPARE(annees, QStringList({"2025", "2026", "2027", "2028", "2029", "2030", "2031"}));
    QCOMPARE(planning->choixmois->count(), 12);
    QCOMPARE(planning->choixmois->itemText(0), QString("Janvier"));
    QCOMPARE(planning->choixmois->itemText(7), QString("Août"));
    QCOMPARE(planning->choixmois->itemText(11), QString("Décembre"));
    QCOMPARE(planning->choixannee->currentText(), QString("2026"));
    QCOMPARE(planning->choixmois->currentText(), QString("Décembre"));
    QCOMPARE(planning->ChoixSelection->count(), 5);
    QCOMPARE(planning->ChoixSelection->itemText(0), QString("Tous"));
    QVERIFY(planning->isVisible());
    for (QWidget *fenetre : QApplication::topLevelWidgets())
        QVERIFY(fenetre->objectName() != "intro" || !fenetre->isVisible());
}

void TestDemarrage::leCadrePorteLaVersionEtLesMenus()
{
    creerBase();
    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(QRegularExpression("^PIVANE Razarivu \\d+\\.\\d+\\.\\d+$")
                .match(cadre.windowTitle())
                .hasMatch());
    QStringList menus;
    for (QAction *action : cadre.menuBar()->actions()) {
        menus << action->text();
        for (QAction *element : action->menu()->actions())
            menus << "  " + element->text();
    }
    QCOMPARE(menus,
             QStringList({"&Fichier", "  &Quitter", "&Outils", "  &Mise à jour Internet",
                          "  &Rechercher…", "  &Arrivées et départs", "  Places &libres…",
                          "  &Conflits", "  &Vérifier le journal", "  Clôture du &jour",
                          "  &Taxe de séjour…", "  &Paramétres"}));
    QCOMPARE(cadre.findChild<QAction *>("menuRechercher")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_F));

    QSignalSpy fin(&cadre, &ROOT::finDemandee);
    cadre.findChild<QAction *>("menuQuitter")->trigger();
    QCOMPARE(fin.count(), 1);
    QCOMPARE(fin.at(0).at(0).toInt(), 0);
}

void TestDemarrage::lEmplacementDeSauvegardeTourne_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("sauvegarde");

    QTest::newRow("slot 30 with the default limit gives slot 0") << "30"
                                                                 << "30"
                                                                 << "Razarivu_0.mdb";
    QTest::newRow("a limit of 0 gives slot 0") << "12"
                                               << "0"
                                               << "Razarivu_0.mdb";
    QTest::newRow("the next slot follows the last one") << "6"
                                                        << "30"
                                                        << "Razarivu_7.mdb";
}

void TestDemarrage::lEmplacementDeSauvegardeTourne()
{
    QFETCH(QString, numero);
    QFETCH(QString, nombre);
    QFETCH(QString, sauvegarde);
    creerBase();
    ValeurINI("system", "sauvegardes numero", numero, chemin("Razarivu.ini"), ECRIRE);
    ValeurINI("system", "sauvegardes nombre", nombre, chemin("Razarivu.ini"), ECRIRE);

    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(cadre.demarrer());
    QVERIFY(QFile::exists(chemin("Sauvegardes/" + sauvegarde)));
    QCOMPARE(lireIni("system", "sauvegardes numero"),
             sauvegarde.section('_', 1).section('.', 0, 0));
}

void TestDemarrage::uneBaseIllisibleArreteLeDemarrage_data()
{
    QTest::addColumn<QByteArray>("contenu");
    QTest::addColumn<bool>("existe");

    // Answered Non: the question asked for a missing file only.
    QTest::newRow("a missing database is not created") << QByteArray() << false;
    QTest::newRow("a text file is no database") << QByteArray("Ceci n'est pas une base\n") << true;
    QTest::newRow("an empty file is no database of ours") << QByteArray("") << true;
}

void TestDemarrage::uneBaseIllisibleArreteLeDemarrage()
{
    QFETCH(QByteArray, contenu);
    QFETCH(bool, existe);
    const QString base = chemin("Razarivu.mdb");
    if (existe) {
        QFile fichier(base);
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(contenu);
    }

    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(!cadre.demarrer());

    QStringList messages("Problème d'ouverture de la Base de Données : " + base);
    if (!existe)
        messages << "Aucune base de données n'existe à cet endroit. En créer une nouvelle ?";
    QCOMPARE(BoiteMessage::messagesAffiches(), messages);
    QCOMPARE(QFile::exists(base), existe);
    if (existe)
        QCOMPARE(QFileInfo(base).size(), qint64(contenu.size()));
    QCOMPARE(lireIni("system", "sauvegardes numero"), QString("1"));
}

void TestDemarrage::leMessageDEchecPasseParLaTraduction()
{
    ValeurINI("Francais", "Problème d'ouverture de la Base de Données : ", "Base introuvable : ",
              chemin("Razarivu.ini"), ECRIRE);
    ValeurINI("system", "database", chemin("ailleurs/Hotel.mdb"), chemin("Razarivu.ini"), ECRIRE);

    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(!cadre.demarrer());
    QCOMPARE(BoiteMessage::messagesAffiches().value(0),
             QString("Base introuvable : " + chemin("ailleurs/Hotel.mdb")));
}

void TestDemarrage::uneBaseAbsenteEstCreeeSurDemande()
{
    BoiteMessage::repondreAuxQuestions(true);
    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(cadre.demarrer());

    QSqlQuery requete(contexte.BasePlanning());
    QVERIFY(requete.exec("select (select count(*) from ETATS), (select count(*) from OBJETS), "
                         "(select count(*) from CONSOMMATIONS), (select count(*) from "
                         "RESERVATIONS)"));
    QVERIFY(requete.next());
    QCOMPARE(requete.value(0).toInt(), 5);
    for (int table = 1; table <= 3; ++table)
        QCOMPARE(requete.value(table).toInt(), 0);
    QVERIFY(requete.exec("pragma user_version") && requete.next());
    QCOMPARE(requete.value(0).toInt(), VersionSchema::Courante);
    QCOMPARE(contexte.ListeEtats.size(), 5);
    // The owner is taken to the objects to enter.
    parametres *dialogue = nullptr;
    for (QWidget *fenetre : QApplication::topLevelWidgets())
        dialogue = dialogue ? dialogue : qobject_cast<parametres *>(fenetre);
    QVERIFY(dialogue && dialogue->isVisible());
    QCOMPARE(dialogue->SSTab1->currentIndex(), ROOT::OngletObjets);
    dialogue->close();
}

void TestDemarrage::uneMiseAJourRefuseeArreteLeDemarrage()
{
    creerBase();
    {
        QSqlDatabase base = QSqlDatabase::addDatabase("QSQLITE", "plusRecente");
        base.setDatabaseName(chemin("Razarivu.mdb"));
        QVERIFY(base.open());
        QSqlQuery(base).exec("pragma user_version = 99");
    }
    QSqlDatabase::removeDatabase("plusRecente");

    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(!cadre.demarrer());
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY(BoiteMessage::messagesAffiches().at(0).contains("n'a pas pu être mise à jour"));
    QVERIFY(BoiteMessage::messagesAffiches().at(0).contains("version plus récente"));
}

void TestDemarrage::unFichierDeReglagesAbimeNEmpechePasLeDemarrage()
{
    creerBase("Hotel.mdb");
    QFile ini(chemin("Razarivu.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("ligne sans signe egal\r\n[system]\r\ndatabase=" + chemin("Hotel.mdb").toUtf8()
              + "\r\n[Francais]\nRemarque=caf\xe9\n[system]\r\nsauvegardes numero=zzz\n"
                "=\n[reservation]\nnb clignotement=\n");
    ini.close();

    Contexte contexte;
    ROOT cadre(contexte);
    QVERIFY(cadre.demarrer());
    QCOMPARE(contexte.cheminBase, chemin("Hotel.mdb"));
    QCOMPARE(contexte.NbClignotements, qint16(10));
    QVERIFY(QFile::exists(chemin("Sauvegardes/Hotel_1.mdb")));
}

void TestDemarrage::laListeDesMoisSOuvreSurDouzeMois()
{
    QComboBox liste;
    QVERIFY(ajusterHauteurListe(&liste, 12));
    QCOMPARE(liste.maxVisibleItems(), 12);
    QVERIFY(!ajusterHauteurListe(&liste, 100000));
    QCOMPARE(liste.maxVisibleItems(), 12);
}

QTEST_MAIN(TestDemarrage)
#include "tst_demarrage.moc"

#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "web/MiseAJourInternet.h"
#include "web/PublicationWeb.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <utility>

// The publication window on a small set of objects: the log, the files, their bytes, the
// pages it cannot write, and the upload script.
class TestPublicationWeb : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_base.fermer(); }

    void noms();
    void journalEtFichiers();
    void unObjetRetireNEstPlusPublie();
    void pageImpossibleNArretePasLesAutres_data();
    void pageImpossibleNArretePasLesAutres();
    void finDePublication_data();
    void finDePublication();
    void seulsLesEtatsPublies();
    void scriptDEnvoi_data();
    void scriptDEnvoi();

private:
    void executer(const QString &sql) const
    {
        QSqlQuery requete(m_base.contexte->BasePlanning());
        QVERIFY2(requete.exec(sql), qPrintable(requete.lastError().text()));
    }
    QString publier();
    QByteArray page(const QString &fichier) const;
    void deplacerLaBase(const QString &nom);
    QMap<QString, QByteArray> fichiersDuProgramme() const;
    BaseDemo m_base;
};

void TestPublicationWeb::init()
{
    QVERIFY(m_base.ouvrir());
    executer("delete from RESERVATIONS");
    executer("delete from OBJETS");
    executer("insert into OBJETS (Numero, Nom) values (1, 'A'), (2, 'B')");
}

// Runs the window's button; the log as it ended.
QString TestPublicationWeb::publier()
{
    QPointer<MiseAJourInternet> fenetre = new MiseAJourInternet(*m_base.contexte);
    fenetre->show();
    fenetre->GenerateurInternet_Click();
    const QString journal = fenetre->texteAvancement();
    if (!QTest::qWaitFor([&] { return fenetre.isNull(); }))
        return QStringLiteral("la fenêtre ne s'est pas fermée");
    return journal;
}

QByteArray TestPublicationWeb::page(const QString &fichier) const
{
    QFile lu(QDir(m_base.dossier()).filePath(fichier));
    return lu.open(QIODevice::ReadOnly) ? lu.readAll() : QByteArray();
}

// The base moved to `nom` in the folder and named there in the settings, then opened again as
// at start-up.
void TestPublicationWeb::deplacerLaBase(const QString &nom)
{
    const QDir dossier(m_base.dossier());
    m_base.contexte.reset();
    QVERIFY(dossier.mkpath(QFileInfo(dossier.filePath(nom)).path()));
    QVERIFY(QFile::rename(dossier.filePath(QStringLiteral("Razarivu.mdb")), dossier.filePath(nom)));
    ValeurINI(QStringLiteral("system"), QStringLiteral("database"), dossier.filePath(nom),
              QString(), ECRIRE);
    m_base.contexte = std::make_unique<Contexte>();
    Demarrage::preparer(*m_base.contexte);
    QVERIFY(!Demarrage::ouvrirBase(*m_base.contexte).isValid());
}

// The bytes of the base, the settings files and the upload script, by path.
QMap<QString, QByteArray> TestPublicationWeb::fichiersDuProgramme() const
{
    const QDir dossier(m_base.dossier());
    QMap<QString, QByteArray> octets;
    for (const QString &chemin :
         {m_base.contexte->cheminBase, dossier.filePath(QStringLiteral("Razarivu.ini")),
          dossier.filePath(QStringLiteral("reriveved.ini")),
          dossier.filePath(QStringLiteral("lanceftp.sh"))}) {
        QFile fichier(chemin);
        octets.insert(chemin, fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : "absent");
    }
    return octets;
}

void TestPublicationWeb::noms()
{
    using namespace PublicationWeb;
    QCOMPARE(nomDeFichier(QStringLiteral("Chalet (vue lac)"), QVariant()),
             QStringLiteral("Chalet (vue lac).html"));
    QCOMPARE(nomDeFichier(QStringLiteral("X"), QStringLiteral("x.htm")), QStringLiteral("x.htm"));
    QCOMPARE(nomAffiche(QStringLiteral("X"), QVariant()), QStringLiteral("X"));
    QCOMPARE(nomAffiche(QStringLiteral("X"), QStringLiteral("Le X")), QStringLiteral("Le X"));
}

void TestPublicationWeb::journalEtFichiers()
{
    executer(
        "update OBJETS set Nom = 'Chalet (vue lac)', NomInternet = 'Vue Lac' where Numero = 2");
    QCOMPARE(publier(),
             QStringLiteral("Bascule en FTP ... \r\nChalet (vue lac) ... OK !\r\nA ... "
                            "OK !\r\nChargement des données..."));
    const QByteArray a = page(QStringLiteral("A.html"));
    QVERIFY(a.startsWith("<div align=\"center\"><strong>R\xE9servations A</strong>"));
    QVERIFY(a.contains("\r\n<table width=\"770px\""));
    QVERIFY(!a.contains("\n\n"));
    QVERIFY(page(QStringLiteral("Chalet__vue_lac_.html"))
                .startsWith("<div align=\"center\"><strong>R\xE9servations Vue Lac</strong>"));
}

void TestPublicationWeb::unObjetRetireNEstPlusPublie()
{
    executer("update OBJETS set retire = 1 where Numero = 1");
    QCOMPARE(publier(),
             QStringLiteral("Bascule en FTP ... \r\nB ... OK !\r\nChargement des "
                            "données..."));
    QVERIFY(page(QStringLiteral("A.html")).isEmpty());
    QVERIFY(!page(QStringLiteral("B.html")).isEmpty());
}

void TestPublicationWeb::pageImpossibleNArretePasLesAutres_data()
{
    QTest::addColumn<QString>("fichier"); // B's FichierPlanningHTML
    QTest::addColumn<QString>("lien"); // what a link of that name points to, if any
    QTest::addColumn<QString>("base"); // where the base is moved first, if anywhere
    QTest::addColumn<QString>("ligne"); // B's line in the log
    const QString pasUnePage = QStringLiteral(
        "B ... ÉCHEC : le nom « %1 » n'est pas celui d'une page .html ou .htm : rien n'est écrit");
    const QString duProgramme
        = QStringLiteral("B ... ÉCHEC : « %1 » est un fichier du programme (base, réglages, "
                         "script ou programme) : il n'est pas remplacé");
    for (const char *nom :
         {"Razarivu.mdb", "Razarivu", "Razarivu.ini", "reriveved.ini", "lanceftp.sh"}) {
        QTest::addRow("the name %s is no page name", nom)
            << nom << QString() << QString() << pasUnePage.arg(QLatin1String(nom));
    }
    QTest::newRow("an empty name is no page name")
        << "" << QString() << QString() << pasUnePage.arg(QString());
    QTest::newRow("a link to the base under a page name")
        << "base.html"
        << "Razarivu.mdb" << QString() << duProgramme.arg("base.html");
    QTest::newRow("a link to the settings under a page name")
        << "reglages.htm"
        << "Razarivu.ini" << QString() << duProgramme.arg("reglages.htm");
    QTest::newRow("a base the settings name as a page")
        << "planning.html" << QString() << "planning.html" << duProgramme.arg("planning.html");
    QTest::newRow("a link to a base the settings keep in another folder")
        << "lien.html"
        << "autre/planning.sqlite"
        << "autre/planning.sqlite" << duProgramme.arg("lien.html");
    QTest::newRow("a folder where the page goes")
        << "B.html" << QString() << QString()
        << "B ... ÉCHEC : la page « B.html » ne peut pas être écrite. Ce nom est celui d'un "
           "dossier.";
    const QString tropLong = QString(300, u'n') + QStringLiteral(".html");
    QTest::newRow("a name longer than the system allows") << tropLong << QString() << QString()
                                                          << "B ... ÉCHEC : la page « " + tropLong
            + " » ne peut pas être écrite. Le nom du fichier est trop long.";
    QTest::newRow("a page name in capitals is still a page")
        << "B.HTM" << QString() << QString() << "B ... OK !";
}

void TestPublicationWeb::pageImpossibleNArretePasLesAutres()
{
    QFETCH(QString, fichier);
    QFETCH(QString, lien);
    QFETCH(QString, base);
    QFETCH(QString, ligne);
    const QDir dossier(m_base.dossier());
    if (!base.isEmpty())
        deplacerLaBase(base);
    QVERIFY(dossier.mkdir(QStringLiteral("B.html")));
    for (const auto &[nom, contenu] : {std::pair("lanceftp.sh", "exit 0\n"),
                                       std::pair("reriveved.ini", "[root]\r\nVisible=1\r\n")}) {
        QFile fichierDuProgramme(dossier.filePath(QLatin1String(nom)));
        QVERIFY(fichierDuProgramme.open(QIODevice::WriteOnly));
        fichierDuProgramme.write(contenu);
    }
    if (!lien.isEmpty())
        QVERIFY(QFile::link(dossier.filePath(lien), dossier.filePath(fichier)));
    executer(QStringLiteral("update OBJETS set FichierPlanningHTML = '%1' where Numero = 2")
                 .arg(fichier));
    executer("insert into OBJETS (Numero, Nom) values (3, 'C')");
    const QMap<QString, QByteArray> avant = fichiersDuProgramme();

    const QStringList lignes = publier().split(QStringLiteral("\r\n"));
    QCOMPARE(fichiersDuProgramme(), avant);
    QCOMPARE(lignes.size(), 5);
    QCOMPARE(lignes[1], QStringLiteral("C ... OK !"));
    QCOMPARE(lignes[2], ligne);
    QCOMPARE(lignes[3], QStringLiteral("A ... OK !"));
    QVERIFY(!page(QStringLiteral("C.html")).isEmpty());
}

void TestPublicationWeb::finDePublication_data()
{
    QTest::addColumn<QDate>("arrivee");
    QTest::addColumn<bool>("publiee");
    // The clock stands at 8 December 2026: what starts from 1 June 2028 on is not published.
    QTest::newRow("a stay starting the day before the end is published")
        << QDate(2028, 5, 31) << true;
    QTest::newRow("a stay starting on the end day is not") << QDate(2028, 6, 1) << false;
}

void TestPublicationWeb::finDePublication()
{
    QFETCH(QDate, arrivee);
    QFETCH(bool, publiee);
    executer(QStringLiteral("insert into RESERVATIONS (Objet, nomclient, Etat, DateDebut, DateFin) "
                            "values (1, 'Dupont', (select Code from ETATS where surinternet = 1 "
                            "limit 1), '%1', '%2')")
                 .arg(arrivee.toString(QStringLiteral("yyyy-MM-dd 00:00:00")),
                      arrivee.addDays(1).toString(QStringLiteral("yyyy-MM-dd 00:00:00"))));
    const QString journal = publier();
    QVERIFY2(!journal.contains(QStringLiteral("ÉCHEC")), qPrintable(journal));
    QCOMPARE(page(QStringLiteral("A.html")).contains("#FF0000"), publiee);
}

void TestPublicationWeb::seulsLesEtatsPublies()
{
    const QDate mois = Horloge::aujourdhui().addMonths(1);
    // A stay next month, from the 10th at 14:00 to the 12th at 12:00, in three states.
    const QDate dixieme = QDate(mois.year(), mois.month(), 10);
    const QString arrivee = dixieme.toString(QStringLiteral("yyyy-MM-dd 14:00:00"));
    const QString depart = dixieme.addDays(2).toString(QStringLiteral("yyyy-MM-dd 12:00:00"));
    for (const QString &valeurs :
         {QStringLiteral("1, 'Publiée', (select Code from ETATS where surinternet = 1 limit 1)"),
          QStringLiteral("2, 'Cachée', (select Code from ETATS where surinternet = 0 limit 1)"),
          QStringLiteral("2, 'Sans état', 999")}) {
        executer(QStringLiteral("insert into RESERVATIONS (Objet, nomclient, Etat, DateDebut, "
                                "DateFin) values (")
                 + valeurs + QStringLiteral(", '") + arrivee + QStringLiteral("', '") + depart
                 + QStringLiteral("')"));
    }
    const QString journal = publier();
    QVERIFY2(!journal.contains(QStringLiteral("ÉCHEC")), qPrintable(journal));
    QVERIFY(page(QStringLiteral("A.html")).contains("#FF0000"));
    const QByteArray b = page(QStringLiteral("B.html"));
    QVERIFY(!b.isEmpty());
    QVERIFY(!b.contains("#FF0000") && !b.contains("#FF6633"));
}

void TestPublicationWeb::scriptDEnvoi_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("the owner's script") << true;
    QTest::newRow("no script: nothing said") << false;
}

void TestPublicationWeb::scriptDEnvoi()
{
    QFETCH(bool, present);
    const QDir dossier(m_base.dossier());
    if (present) {
        QFile script(dossier.filePath(QStringLiteral("lanceftp.sh")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        // Run in the application folder, where the pages are.
        script.write("ls A.html > envoye\n");
    }
    publier();
    if (present)
        QTRY_VERIFY(QFile(dossier.filePath(QStringLiteral("envoye"))).size() > 0);
    else
        QVERIFY(BoiteMessage::messagesAffiches().isEmpty());
}

QTEST_MAIN(TestPublicationWeb)
#include "tst_publicationweb.moc"

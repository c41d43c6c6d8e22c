#include "commun/BaseDemo.h"
#include "web/MiseAJourInternet.h"
#include "web/PublicationWeb.h"

#include <QDir>
#include <QFile>

// The publication window on a small set of objects: the log, the files, their bytes, the
// pages it cannot write, and the upload script.
class TestPublicationWeb : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_base.fermer(); }

    void nomsEtFin();
    void journalEtFichiers();
    void pageImpossibleNArretePasLesAutres_data();
    void pageImpossibleNArretePasLesAutres();
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

void TestPublicationWeb::nomsEtFin()
{
    using namespace PublicationWeb;
    QCOMPARE(texteDeFin(QDate(2026, 12, 8)), QStringLiteral("01/06/2028"));
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

void TestPublicationWeb::pageImpossibleNArretePasLesAutres_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::newRow("a folder where the page goes") << "B.html";
    QTest::newRow("a name with nothing left") << "";
}

void TestPublicationWeb::pageImpossibleNArretePasLesAutres()
{
    QFETCH(QString, fichier);
    executer(QStringLiteral("update OBJETS set FichierPlanningHTML = '%1' where Numero = 2")
                 .arg(fichier));
    QVERIFY(QDir(m_base.dossier()).mkdir(QStringLiteral("B.html")));
    executer("insert into OBJETS (Numero, Nom) values (3, 'C')");
    const QStringList lignes = publier().split(QStringLiteral("\r\n"));
    QCOMPARE(lignes.size(), 5);
    QCOMPARE(lignes[1], QStringLiteral("C ... OK !"));
    QVERIFY2(lignes[2].startsWith(QStringLiteral("B ... ÉCHEC : ")), qPrintable(lignes[2]));
    QCOMPARE(lignes[3], QStringLiteral("A ... OK !"));
    QVERIFY(!page(QStringLiteral("C.html")).isEmpty());
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

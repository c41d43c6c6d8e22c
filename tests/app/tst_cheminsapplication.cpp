#include "app/CheminsApplication.h"

#include <QtTest>

class TestCheminsApplication : public QObject
{
    Q_OBJECT

private slots:
    void choisirDossierApplication_data();
    void choisirDossierApplication();

    void sansVariableLeDossierDuProgrammeModifiableGardeLesDonnees();
    void laVariableDesigneLeDossier();
    void uneCopieInstalleeSeReconnaitASonEntreeDeMenu();
};

void TestCheminsApplication::choisirDossierApplication_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("dossierExecutable");
    QTest::addColumn<bool>("executableModifiable");
    QTest::addColumn<bool>("installe");
    QTest::addColumn<QString>("attendu");

    const QString donnees = QStringLiteral("/home/camping/.local/share/Razarivu");

    QTest::newRow("a program folder that can be written holds the data")
        << QString() << "/home/camping/razarivu" << true << false << "/home/camping/razarivu";
    QTest::newRow("a program folder that cannot be written sends the data to the user's folder")
        << QString() << "/opt/razarivu" << false << false << donnees;
    QTest::newRow("an installed copy in a read-only bin folder keeps its data in the user's folder")
        << QString() << "/usr/bin" << false << true << donnees;
    QTest::newRow("the variable wins over a program folder that can be written")
        << "/srv/planning"
        << "/home/camping/razarivu" << true << false << "/srv/planning";
    QTest::newRow("the variable wins over a read-only program folder")
        << "/srv/planning"
        << "/usr/bin" << false << true << "/srv/planning";
    QTest::newRow("the variable is cleaned of its trailing slash and dots")
        << "/srv/./planning/"
        << "/usr/bin" << false << true << "/srv/planning";
    QTest::newRow(
        "an installed copy in a bin folder that can be written still uses the user's folder")
        << QString() << "/home/camping/.local/bin" << true << true << donnees;
    QTest::newRow("the variable wins over an installed copy")
        << "/srv/planning"
        << "/home/camping/.local/bin" << true << true << "/srv/planning";
    QTest::newRow("a relative variable is taken from the current folder")
        << "demo"
        << "/usr/bin" << false << true << QDir::current().absoluteFilePath("demo");
}

void TestCheminsApplication::choisirDossierApplication()
{
    QFETCH(QString, variable);
    QFETCH(QString, dossierExecutable);
    QFETCH(bool, executableModifiable);
    QFETCH(bool, installe);
    QFETCH(QString, attendu);

    QCOMPARE(CheminsApplication::choisirDossierApplication(
                 variable, dossierExecutable, executableModifiable, installe,
                 QStringLiteral("/home/camping/.local/share/Razarivu")),
             attendu);
}

void TestCheminsApplication::sansVariableLeDossierDuProgrammeModifiableGardeLesDonnees()
{
    // The test program sits in the build folder, which can be written.
    qunsetenv("RAZARIVU_DOSSIER");
    QCOMPARE(CheminsApplication::dossierApplication(), QCoreApplication::applicationDirPath());
    QCOMPARE(CheminsApplication::fichierINIPrincipal(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/Razarivu.ini"));
}

void TestCheminsApplication::laVariableDesigneLeDossier()
{
    QTemporaryDir dossier;
    QVERIFY(dossier.isValid());
    qputenv("RAZARIVU_DOSSIER", QFile::encodeName(dossier.path()));
    QCOMPARE(CheminsApplication::dossierApplication(), dossier.path());
    QCOMPARE(CheminsApplication::dansDossierApplication(QStringLiteral("reriveved.ini")),
             dossier.filePath(QStringLiteral("reriveved.ini")));
    qunsetenv("RAZARIVU_DOSSIER");
}

void TestCheminsApplication::uneCopieInstalleeSeReconnaitASonEntreeDeMenu()
{
    QTemporaryDir prefixe;
    QVERIFY(prefixe.isValid());
    QVERIFY(QDir().mkpath(prefixe.filePath("bin")));
    QVERIFY(QDir().mkpath(prefixe.filePath("share/applications")));
    // A build folder's bin, without the menu entry beside it, is not an installed copy.
    QVERIFY(!CheminsApplication::estInstalle(prefixe.filePath("bin")));
    QFile entree(prefixe.filePath("share/applications/razarivu.desktop"));
    QVERIFY(entree.open(QIODevice::WriteOnly));
    entree.close();
    QVERIFY(CheminsApplication::estInstalle(prefixe.filePath("bin")));
    QVERIFY(!CheminsApplication::estInstalle(prefixe.filePath("share")));
}

QTEST_GUILESS_MAIN(TestCheminsApplication)
#include "tst_cheminsapplication.moc"

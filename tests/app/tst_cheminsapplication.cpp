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
};

void TestCheminsApplication::choisirDossierApplication_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("dossierExecutable");
    QTest::addColumn<bool>("executableModifiable");
    QTest::addColumn<QString>("attendu");

    const QString donnees = QStringLiteral("/home/camping/.local/share/Razarivu");

    QTest::newRow("a program folder that can be written holds the data")
        << QString() << "/home/camping/razarivu" << true << "/home/camping/razarivu";
    QTest::newRow("an installed copy in a read-only bin folder keeps its data in the user's folder")
        << QString() << "/usr/bin" << false << donnees;
    QTest::newRow("the variable wins over a program folder that can be written")
        << "/srv/planning"
        << "/home/camping/razarivu" << true << "/srv/planning";
    QTest::newRow("the variable wins over a read-only program folder")
        << "/srv/planning"
        << "/usr/bin" << false << "/srv/planning";
    QTest::newRow("the variable is cleaned of its trailing slash and dots")
        << "/srv/./planning/"
        << "/usr/bin" << false << "/srv/planning";
    QTest::newRow("a relative variable is taken from the current folder")
        << "demo"
        << "/usr/bin" << false << QDir::current().absoluteFilePath("demo");
}

void TestCheminsApplication::choisirDossierApplication()
{
    QFETCH(QString, variable);
    QFETCH(QString, dossierExecutable);
    QFETCH(bool, executableModifiable);
    QFETCH(QString, attendu);

    QCOMPARE(CheminsApplication::choisirDossierApplication(
                 variable, dossierExecutable, executableModifiable,
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

QTEST_GUILESS_MAIN(TestCheminsApplication)
#include "tst_cheminsapplication.moc"

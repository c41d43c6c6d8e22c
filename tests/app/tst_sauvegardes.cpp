#include "app/Sauvegardes.h"
#include "app/ValeurINI.h"

#include <QtTest>

class TestSauvegardes : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void emplacementSuivant_data();
    void emplacementSuivant();

    void nomSauvegardeBase_data();
    void nomSauvegardeBase();

    void laRotationCopieLaBaseEtLeProgramme();
    void uneCopieRemplaceLaPrecedente();
    void lesEchecsDeCopieNArretentPasLaRotation_data();
    void lesEchecsDeCopieNArretentPasLaRotation();

private:
    void ecrire(const QString &chemin, const QByteArray &contenu);

    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestSauvegardes::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", m_dossier->path().toUtf8());
}

void TestSauvegardes::ecrire(const QString &chemin, const QByteArray &contenu)
{
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(contenu);
}

void TestSauvegardes::emplacementSuivant_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<int>("attendu");

    QTest::newRow("the first start after slot 0 uses slot 1") << "0"
                                                              << "30" << 1;
    QTest::newRow("slot 29 is followed by slot 30") << "29"
                                                    << "30" << 30;
    QTest::newRow("slot 30 with the default limit wraps to 0") << "30"
                                                               << "30" << 0;
    QTest::newRow("a limit of 0 always gives slot 0") << "0"
                                                      << "0" << 0;
    QTest::newRow("a limit of 0 gives slot 0 from any slot") << "7"
                                                             << "0" << 0;
    QTest::newRow("a slot that is no number reads as 0") << "abc"
                                                         << "30" << 1;
    QTest::newRow("a limit that is no number reads as 0") << "3"
                                                          << "beaucoup" << 0;
    QTest::newRow("a slot beyond 32 bits reads as 0") << "1e12"
                                                      << "30" << 1;
    QTest::newRow("a slot at the 32-bit limit cannot grow and wraps") << "2147483647"
                                                                      << "2147483647" << 0;
    QTest::newRow("blanks inside the number are ignored") << "1 2"
                                                          << "30" << 13;
}

void TestSauvegardes::emplacementSuivant()
{
    QFETCH(QString, numero);
    QFETCH(QString, nombre);
    QFETCH(int, attendu);
    QCOMPARE(Sauvegardes::emplacementSuivant(numero, nombre), attendu);
}

void TestSauvegardes::nomSauvegardeBase_data()
{
    QTest::addColumn<QString>("cheminBase");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("a Linux path keeps the file name") << "/srv/hotel/Razarivu.mdb"
                                                      << "/s/Razarivu_3.mdb";
    QTest::newRow("a Windows path keeps the file name") << "C:\\Hotel\\Plan.mdb"
                                                        << "/s/Plan_3.mdb";
    QTest::newRow("a drive without a folder keeps the file name") << "D:Base.mdb"
                                                                  << "/s/Base_3.mdb";
    QTest::newRow("a name without a separator is taken whole") << "Base.mdb"
                                                               << "/s/Base_3.mdb";
    QTest::newRow("the last four characters go whatever they are") << "/x/planning.sqlite"
                                                                   << "/s/planning.sq_3.mdb";
    QTest::newRow("a name of four characters leaves nothing") << "/x/abcd"
                                                              << "/s/_3.mdb";
    QTest::newRow("a name shorter than four characters leaves nothing") << "ab"
                                                                        << "/s/_3.mdb";
    QTest::newRow("a name of five characters keeps one") << "abcde"
                                                         << "/s/a_3.mdb";
}

void TestSauvegardes::nomSauvegardeBase()
{
    QFETCH(QString, cheminBase);
    QFETCH(QString, attendu);
    QCOMPARE(Sauvegardes::nomSauvegardeBase("/s/", cheminBase, 3), attendu);
}

void TestSauvegardes::laRotationCopieLaBaseEtLeProgramme()
{
    const QString dossier = m_dossier->path();
    const QString ini = dossier + "/Razarivu.ini";
    ecrire(dossier + "/Hotel.mdb", "base");
    ecrire(dossier + "/Razarivu", "programme");

    QCOMPARE(Sauvegardes::effectuer(dossier, ini, dossier + "/Hotel.mdb", dossier + "/Razarivu"),
             1);
    QCOMPARE(Sauvegardes::effectuer(dossier, ini, dossier + "/Hotel.mdb", dossier + "/Razarivu"),
             2);

    for (const QString nom : {"Hotel_1.mdb", "Razarivu_1", "Hotel_2.mdb", "Razarivu_2"})
        QVERIFY2(QFile::exists(dossier + "/Sauvegardes/" + nom), qPrintable(nom));
    QFile copie(dossier + "/Sauvegardes/Hotel_2.mdb");
    QVERIFY(copie.open(QIODevice::ReadOnly));
    QCOMPARE(copie.readAll(), QByteArray("base"));
    QCOMPARE(ValeurINI("system", "sauvegardes numero", "", ini, LIRE), QString("2"));
    QCOMPARE(ValeurINI("system", "sauvegardes nombre", "", ini, LIRE), QString("30"));
}

void TestSauvegardes::uneCopieRemplaceLaPrecedente()
{
    const QString source = m_dossier->filePath("source");
    const QString cible = m_dossier->filePath("cible");
    ecrire(cible, "ancienne copie plus longue");
    ecrire(source, "neuve");

    QVERIFY(Sauvegardes::copierEnRemplacant(source, cible));
    QFile copie(cible);
    QVERIFY(copie.open(QIODevice::ReadOnly));
    QCOMPARE(copie.readAll(), QByteArray("neuve"));
    QVERIFY(!QFile::exists(cible + ".copie"));
}

void TestSauvegardes::lesEchecsDeCopieNArretentPasLaRotation_data()
{
    QTest::addColumn<bool>("baseManquante");
    QTest::addColumn<bool>("dossierBloque");

    QTest::newRow("a missing database is skipped") << true << false;
    QTest::newRow("a backup folder that cannot be made is skipped") << false << true;
}

void TestSauvegardes::lesEchecsDeCopieNArretentPasLaRotation()
{
    QFETCH(bool, baseManquante);
    QFETCH(bool, dossierBloque);
    const QString dossier = m_dossier->path();
    const QString ini = dossier + "/Razarivu.ini";
    if (!baseManquante)
        ecrire(dossier + "/Razarivu.mdb", "base");
    ecrire(dossier + "/Razarivu", "programme");
    if (dossierBloque)
        ecrire(dossier + "/Sauvegardes", "un fichier à la place du dossier");
    ValeurINI("system", "sauvegardes numero", "4", ini, ECRIRE);

    QCOMPARE(Sauvegardes::effectuer(dossier, ini, dossier + "/Razarivu.mdb", dossier + "/Razarivu"),
             5);

    QCOMPARE(ValeurINI("system", "sauvegardes numero", "", ini, LIRE), QString("5"));
    QVERIFY(!QFile::exists(dossier + "/Sauvegardes/Razarivu_5.mdb"));
    QCOMPARE(QFile::exists(dossier + "/Sauvegardes/Razarivu_5"), !dossierBloque);
}

QTEST_GUILESS_MAIN(TestSauvegardes)
#include "tst_sauvegardes.moc"

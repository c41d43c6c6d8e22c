#include "app/Sauvegardes.h"
#include "app/ValeurINI.h"
#include "commun/BaseEssai.h"

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
    void laCopieDeLaBaseEstSaineOuNeRemplaceRien_data();
    void laCopieDeLaBaseEstSaineOuNeRemplaceRien();

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

    const auto sauvegarder = [&] {
        return Sauvegardes::effectuer(dossier, ini, dossier + "/Hotel.mdb", dossier + "/Razarivu")
            .emplacement;
    };
    QCOMPARE(sauvegarder(), 1);
    QCOMPARE(sauvegarder(), 2);
    // The same program is not copied twice; a new release is.
    ecrire(dossier + "/Razarivu", "nouveau programme");
    QCOMPARE(sauvegarder(), 3);

    for (const QString nom : {"Hotel_1.mdb", "Razarivu_1", "Hotel_2.mdb", "Razarivu_3"})
        QVERIFY2(QFile::exists(dossier + "/Sauvegardes/" + nom), qPrintable(nom));
    QVERIFY(!QFile::exists(dossier + "/Sauvegardes/Razarivu_2"));
    QFile copie(dossier + "/Sauvegardes/Hotel_2.mdb");
    QVERIFY(copie.open(QIODevice::ReadOnly));
    QCOMPARE(copie.readAll(), QByteArray("base"));
    QCOMPARE(ValeurINI("system", "sauvegardes numero", "", ini, LIRE), QString("3"));
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

    const Sauvegardes::Bilan bilan
        = Sauvegardes::effectuer(dossier, ini, dossier + "/Razarivu.mdb", dossier + "/Razarivu");
    QCOMPARE(bilan.emplacement, 5);
    // A base not made yet is no failure; a folder that cannot be made is.
    QCOMPARE(bilan.probleme.isEmpty(), baseManquante);

    QCOMPARE(ValeurINI("system", "sauvegardes numero", "", ini, LIRE), QString("5"));
    QVERIFY(!QFile::exists(dossier + "/Sauvegardes/Razarivu_5.mdb"));
    QCOMPARE(QFile::exists(dossier + "/Sauvegardes/Razarivu_5"), !dossierBloque);
}

void TestSauvegardes::laCopieDeLaBaseEstSaineOuNeRemplaceRien_data()
{
    QTest::addColumn<QString>("autrePoste"); // what another connection does meanwhile
    QTest::addColumn<QString>("probleme"); // in the French report; empty, none

    QTest::newRow("another desk writing, not yet committing")
        << "begin immediate; insert into OPERATIONS (libelle) values ('en cours')"
        << "";
    QTest::newRow("another desk holding the base past the wait")
        << "begin exclusive; insert into OPERATIONS (libelle) values ('en cours')"
        << "occupée";
    QTest::newRow("a damaged base") << "abîmer"
                                    << "pas saine";
}

void TestSauvegardes::laCopieDeLaBaseEstSaineOuNeRemplaceRien()
{
    QFETCH(QString, autrePoste);
    QFETCH(QString, probleme);
    const QString dossier = m_dossier->path();
    const QString chemin = dossier + "/Razarivu.mdb";
    const QString copie = dossier + "/Sauvegardes/Razarivu_1.mdb";
    QVERIFY(!creerBase(chemin, true).isValid());
    QVERIFY(QDir().mkpath(dossier + "/Sauvegardes"));
    ecrire(copie, "copie précédente");
    std::optional<QSqlDatabase> autre;
    if (autrePoste == "abîmer") {
        // A page of the stays overwritten in the middle of the file.
        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::ReadWrite));
        fichier.seek(fichier.size() / 2 / 4096 * 4096);
        fichier.write(QByteArray(4096, '\x5a'));
    } else {
        autre = QSqlDatabase::addDatabase("QSQLITE", "autre_poste");
        autre->setDatabaseName(chemin);
        QVERIFY(autre->open());
        for (const QString &instruction : autrePoste.split("; "))
            QVERIFY2(QSqlQuery(*autre).exec(instruction), qPrintable(instruction));
    }

    const QString rapport = Sauvegardes::copierLaBase(chemin, copie);
    QVERIFY2(rapport.contains(probleme), qPrintable(rapport));
    if (autre) {
        QSqlQuery(*autre).exec("rollback");
        autre->close();
        autre.reset();
        QSqlDatabase::removeDatabase("autre_poste");
    }
    QVERIFY(!QFile::exists(copie + ".copie"));
    QFile lue(copie);
    QVERIFY(lue.open(QIODevice::ReadOnly));
    if (!probleme.isEmpty()) {
        QCOMPARE(lue.readAll(), QByteArray("copie précédente"));
        return;
    }
    // What the other desk had not committed is not in the copy; everything else is.
    {
        QSqlDatabase base = QSqlDatabase::addDatabase("QSQLITE", "copie");
        base.setDatabaseName(copie);
        QVERIFY(base.open());
        QCOMPARE(valeurSql(base, "pragma integrity_check").toString(), QString("ok"));
        QVERIFY(valeurSql(base, "select count(*) from RESERVATIONS").toInt() > 0);
        QCOMPARE(
            valeurSql(base, "select count(*) from OPERATIONS where libelle = 'en cours'").toInt(),
            0);
        base.close();
    }
    QSqlDatabase::removeDatabase("copie");
}

QTEST_GUILESS_MAIN(TestSauvegardes)
#include "tst_sauvegardes.moc"

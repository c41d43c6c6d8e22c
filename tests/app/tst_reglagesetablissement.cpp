#include "app/ReglagesEtablissement.h"
#include "app/ValeurINI.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Mode = Tarification::ReglageTaxe::Mode;

// Section [etablissement] of the settings file: everything written reads back the same, a value
// the program cannot read gives its default, and what an invoice lacks is named.
class TestReglagesEtablissement : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void allerRetour();
    void valeurIllisible_data();
    void valeurIllisible();
    void uneLigne_data();
    void uneLigne();
    void refus_data();
    void refus();
    void manquePourFacturer();

private:
    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestReglagesEtablissement::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", QFile::encodeName(m_dossier->path()));
}

void TestReglagesEtablissement::allerRetour()
{
    Etablissement ecrit;
    ecrit.nom = QStringLiteral("Camping « Les Pins » \\ L'Étang");
    ecrit.adresse = QStringLiteral("Lieu-dit Le Moulin\nRoute des Étangs");
    ecrit.codePostal = QStringLiteral("40200");
    ecrit.ville = QStringLiteral("Mimizan");
    ecrit.telephone = QStringLiteral("05 58 00 00 00");
    ecrit.email = QStringLiteral("accueil@lespins.fr");
    ecrit.siret = QStringLiteral("123 456 789 00012");
    ecrit.numeroTva = QStringLiteral("FR12123456789");
    ecrit.mentions = QStringLiteral("  \"Pénalités de retard : 3 fois le taux légal.\"\n"
                                    "Dossier C:\\new\\n, \\\\serveur\r\n\n");
    // Long enough to run over several keys, an escape at every place a cut could fall.
    ecrit.conditions = QStringLiteral("\n\nArrhes : 30 %.\\").repeated(160);
    ecrit.taxe = {Mode::Pourcentage, 88, 350, 430, 1000};
    ReglagesEtablissement::ecrire(ecrit);

    const auto brut = [](const char *cle) {
        return ValeurINI(QStringLiteral("etablissement"), QLatin1String(cle), QString(), QString(),
                         LIRE);
    };
    QCOMPARE(brut("taxemode"), QStringLiteral("pourcentage"));
    QCOMPARE(brut("taxetarif"), QStringLiteral("0,88"));
    QCOMPARE(brut("taxepourcentage"), QStringLiteral("3,5"));
    QCOMPARE(brut("taxeplafond"), QStringLiteral("4,30"));
    QCOMPARE(brut("taxemajoration"), QStringLiteral("10"));
    QCOMPARE(brut("adresse"), QStringLiteral("Lieu-dit Le Moulin\\nRoute des Étangs"));

    QVERIFY(!brut("conditions4").isEmpty());
    Etablissement lu = ReglagesEtablissement::lire();
    QCOMPARE(lu.nom, ecrit.nom);
    QCOMPARE(lu.adresse, ecrit.adresse);
    QCOMPARE(lu.codePostal, ecrit.codePostal);
    QCOMPARE(lu.ville, ecrit.ville);
    QCOMPARE(lu.telephone, ecrit.telephone);
    QCOMPARE(lu.email, ecrit.email);
    QCOMPARE(lu.siret, ecrit.siret);
    QCOMPARE(lu.numeroTva, ecrit.numeroTva);
    QCOMPARE(lu.mentions, ecrit.mentions);
    QCOMPARE(lu.conditions, ecrit.conditions);
    QCOMPARE(lu.taxe.mode, Mode::Pourcentage);
    QCOMPARE(lu.taxe.tarifFixe, 88);
    QCOMPARE(lu.taxe.pourcentage, 350);
    QCOMPARE(lu.taxe.plafond, 430);
    QCOMPARE(lu.taxe.majoration, 1000);

    // Shorter, it leaves no piece of the longer text behind.
    ecrit.conditions = QStringLiteral("Arrhes : 25 %.");
    ReglagesEtablissement::ecrire(ecrit);
    QVERIFY(brut("conditions2").isEmpty());
    QCOMPARE(ReglagesEtablissement::lire().conditions, ecrit.conditions);
}

void TestReglagesEtablissement::valeurIllisible_data()
{
    QTest::addColumn<QString>("cle");
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<qint64>("attendu"); // the mode: 1 for the percentage

    QTest::newRow("A tariff as typed with its sign") << "taxetarif"
                                                     << "0.88 €" << qint64(88);
    QTest::newRow("A tariff in letters") << "taxetarif"
                                         << "gratuit" << qint64(0);
    QTest::newRow("A negative tariff") << "taxetarif"
                                       << "-1" << qint64(0);
    QTest::newRow("A cap of a fraction of a cent") << "taxeplafond"
                                                   << "1,234" << qint64(0);
    QTest::newRow("A percentage with its sign") << "taxepourcentage"
                                                << "3,5 %" << qint64(350);
    QTest::newRow("A percentage past 5 %") << "taxepourcentage"
                                           << "9" << qint64(500);
    QTest::newRow("A percentage below 1 %") << "taxepourcentage"
                                            << "0,5" << qint64(500);
    QTest::newRow("A surcharge past 100 %") << "taxemajoration"
                                            << "200" << qint64(0);
    QTest::newRow("An unknown mode") << "taxemode"
                                     << "forfait" << qint64(0);
    QTest::newRow("The mode in capitals") << "taxemode"
                                          << "Pourcentage" << qint64(1);
}

void TestReglagesEtablissement::valeurIllisible()
{
    QFETCH(QString, cle);
    QFETCH(QString, valeur);
    QFETCH(qint64, attendu);

    ValeurINI(QStringLiteral("etablissement"), cle, valeur, QString(), ECRIRE);
    const Tarification::ReglageTaxe taxe = ReglagesEtablissement::lire().taxe;
    const QMap<QString, qint64> lus {{QStringLiteral("taxetarif"), taxe.tarifFixe},
                                     {QStringLiteral("taxeplafond"), taxe.plafond},
                                     {QStringLiteral("taxepourcentage"), taxe.pourcentage},
                                     {QStringLiteral("taxemajoration"), taxe.majoration},
                                     {QStringLiteral("taxemode"), qint64(taxe.mode)}};
    QCOMPARE(lus.value(cle), attendu);
}

void TestReglagesEtablissement::uneLigne_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("ligne");

    QTest::newRow("Two lines") << "a\nb"
                               << "a\\nb";
    QTest::newRow("A backslash before n is no line break") << "C:\\new"
                                                           << "C:\\\\new";
    QTest::newRow("Windows line ends") << "a\r\nb"
                                       << "a\\r\\nb";
    QTest::newRow("Backslashes at the end") << "fin\\\\"
                                            << "fin\\\\\\\\";
    QTest::newRow("Nothing") << ""
                             << "";
}

void TestReglagesEtablissement::uneLigne()
{
    QFETCH(QString, texte);
    QFETCH(QString, ligne);

    QCOMPARE(ReglagesEtablissement::enUneLigne(texte), ligne);
    QCOMPARE(ReglagesEtablissement::depuisUneLigne(ligne), texte);
    // Typed by hand in the file: a lone backslash stays.
    QCOMPARE(ReglagesEtablissement::depuisUneLigne(QStringLiteral("C:\\dossier\\")),
             QStringLiteral("C:\\dossier\\"));
}

void TestReglagesEtablissement::refus_data()
{
    QTest::addColumn<int>("pourcentage");
    QTest::addColumn<QString>("conditions");
    QTest::addColumn<QString>("refus");

    QTest::newRow("The longest conditions") << 100 << QString(12000, u'x') << "";
    QTest::newRow("Line breaks count twice")
        << 500 << QString(6001, u'\n')
        << "Le texte « Conditions du contrat » est trop long : 12000 caractères au plus, chaque "
           "saut de ligne comptant pour deux (12002 ici).";
    QTest::newRow("A percentage past 5 %")
        << 501 << ""
        << "Le pourcentage de la taxe de séjour doit être compris entre 1 et 5 %.";
}

void TestReglagesEtablissement::refus()
{
    QFETCH(int, pourcentage);
    QFETCH(QString, conditions);
    QFETCH(QString, refus);

    Etablissement etablissement;
    etablissement.taxe.pourcentage = pourcentage;
    etablissement.conditions = conditions;
    QCOMPARE(ReglagesEtablissement::refus(etablissement), refus);
    if (refus.isEmpty()) {
        ReglagesEtablissement::ecrire(etablissement);
        QCOMPARE(ReglagesEtablissement::lire().conditions, conditions);
    }
}

void TestReglagesEtablissement::manquePourFacturer()
{
    Etablissement etablissement;
    QCOMPARE(etablissement.manquePourFacturer(),
             QStringList({"le nom", "l'adresse", "le code postal", "la ville", "le numéro SIRET"}));
    etablissement.nom = QStringLiteral("Les Pins");
    etablissement.adresse = QStringLiteral("Route des Étangs");
    etablissement.codePostal = QStringLiteral("40200");
    etablissement.ville = QStringLiteral("  ");
    etablissement.siret = QStringLiteral("12345678900012");
    QCOMPARE(etablissement.manquePourFacturer(), QStringList({"la ville"}));
    etablissement.ville = QStringLiteral("Mimizan");
    QVERIFY(etablissement.manquePourFacturer().isEmpty());
}

QTEST_GUILESS_MAIN(TestReglagesEtablissement)
#include "tst_reglagesetablissement.moc"

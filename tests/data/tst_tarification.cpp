#include "data/Tarification.h"

#include <QtTest>

using namespace Tarification;

Q_DECLARE_METATYPE(QVector<Tarification::Saison>)

// What a stay costs, in whole cents: the rent by season, the tourist tax, the VAT of amounts
// that include it.
class TestTarification : public QObject
{
    Q_OBJECT

private slots:
    void loyerParSaison_data();
    void loyerParSaison();
    void taxeDeSejour_data();
    void taxeDeSejour();
    void ventilation_data();
    void ventilation();
    void libelles();
};

namespace {

Saison saison(const char *debut, const char *fin, qint64 prix, int tva = 1000)
{
    Saison s;
    s.debut = QDate::fromString(QString::fromLatin1(debut), Qt::ISODate);
    s.fin = QDate::fromString(QString::fromLatin1(fin), Qt::ISODate);
    s.prixNuit = prix;
    s.tauxTva = tva;
    return s;
}

const QVector<Saison> DeuxSaisons
    = {saison("2026-06-01", "2026-06-30", 8000), saison("2026-07-01", "2026-08-31", 9500)};

} // namespace

void TestTarification::loyerParSaison_data()
{
    QTest::addColumn<QVector<Saison>>("saisons");
    QTest::addColumn<QString>("arrivee");
    QTest::addColumn<QString>("depart");
    QTest::addColumn<int>("adultes");
    QTest::addColumn<int>("enfants");
    QTest::addColumn<QString>("attendu"); // "nights×price" per line then "=total", or a refusal

    QTest::newRow("three nights in one season") << DeuxSaisons << "2026-07-10"
                                                << "2026-07-13" << 2 << 0 << "3×9500 =28500";
    QTest::newRow("across two seasons, a line each")
        << DeuxSaisons << "2026-06-29"
        << "2026-07-02" << 2 << 0 << "2×8000 1×9500 =25500";
    Saison famille = saison("2026-07-01", "2026-08-31", 9500);
    famille.supplementAdulte = 1500;
    famille.supplementEnfant = 800;
    QTest::newRow("a third adult and two children beyond the two included")
        << QVector<Saison> {famille} << "2026-07-10"
        << "2026-07-11" << 3 << 2 << "1×12600 =12600";
    QTest::newRow("a child within the persons included pays nothing")
        << QVector<Saison> {famille} << "2026-07-10"
        << "2026-07-11" << 1 << 1 << "1×9500 =9500";
    QTest::newRow("a night with no season is said, never priced 0")
        << QVector<Saison> {saison("2026-06-01", "2026-06-30", 8000),
                            saison("2026-07-02", "2026-08-31", 9500)}
        << "2026-06-29"
        << "2026-07-03" << 2 << 0 << "La nuit du 01/07/2026 n'a pas de tarif";
    QTest::newRow("a departure before the arrival") << DeuxSaisons << "2026-07-13"
                                                    << "2026-07-10" << 2 << 0 << "aucune nuit";
    QTest::newRow("no adult") << DeuxSaisons << "2026-07-10"
                              << "2026-07-13" << 0 << 2 << "sans adulte";
    QTest::newRow("seasons that overlap")
        << QVector<Saison> {saison("2026-06-01", "2026-07-05", 8000),
                            saison("2026-07-01", "2026-08-31", 9500)}
        << "2026-07-10"
        << "2026-07-13" << 2 << 0 << "chevauche celle du 01/06/2026";
    QTest::newRow("a VAT rate of 150 %")
        << QVector<Saison> {saison("2026-07-01", "2026-08-31", 9500, 15000)} << "2026-07-10"
        << "2026-07-13" << 2 << 0 << "taux de TVA impossible";
    QTest::newRow("a price below zero")
        << QVector<Saison> {saison("2026-07-01", "2026-08-31", -1)} << "2026-07-10"
        << "2026-07-13" << 2 << 0 << "prix impossible";
}

void TestTarification::loyerParSaison()
{
    QFETCH(QVector<Saison>, saisons);
    QFETCH(QString, arrivee);
    QFETCH(QString, depart);
    QFETCH(int, adultes);
    QFETCH(int, enfants);
    QFETCH(QString, attendu);
    const Loyer calcule = loyer(saisons, QDate::fromString(arrivee, Qt::ISODate),
                                QDate::fromString(depart, Qt::ISODate), adultes, enfants);
    if (!calcule.refus.isEmpty()) {
        QVERIFY2(calcule.refus.contains(attendu), qPrintable(calcule.refus));
        QVERIFY(calcule.lignes.isEmpty());
        return;
    }
    QStringList lignes;
    for (const LigneLoyer &ligne : calcule.lignes)
        lignes << QStringLiteral("%1×%2").arg(ligne.nuits).arg(ligne.prixNuit);
    QCOMPARE(lignes.join(' ') + QStringLiteral(" =") + QString::number(calcule.total()), attendu);
}

void TestTarification::taxeDeSejour_data()
{
    QTest::addColumn<int>("mode"); // 0 fixed, 1 percentage
    QTest::addColumn<qint64>("tarifOuPlafond");
    QTest::addColumn<int>("adultes");
    QTest::addColumn<int>("enfants");
    QTest::addColumn<int>("exoneres");
    QTest::addColumn<int>("nuits");
    QTest::addColumn<QString>("attendu"); // per person and night, base, surcharge, total

    // Unclassified chalet, 5 %, 10 % surcharge, 2 adults + 2 children, 3 nights, 330 € at 10 %
    // VAT: 100 € a night excluding VAT, 25 € an occupant, 1,25 € × 2 × 3 = 7,50 € + 0,75 €.
    QTest::newRow("the worked example") << 1 << 0LL << 2 << 2 << 0 << 3 << "125 750 75 825";
    QTest::newRow("the cap") << 1 << 100LL << 2 << 2 << 0 << 3 << "100 600 60 660";
    QTest::newRow("an adult declared exempt") << 1 << 0LL << 2 << 2 << 1 << 3 << "125 375 38 413";
    QTest::newRow("the commune's fixed tariff, children exempt")
        << 0 << 150LL << 2 << 2 << 0 << 3 << "150 900 90 990";
    QTest::newRow("no night, no tax") << 1 << 0LL << 2 << 2 << 0 << 0 << "0 0 0 0";
}

void TestTarification::taxeDeSejour()
{
    QFETCH(int, mode);
    QFETCH(qint64, tarifOuPlafond);
    QFETCH(int, adultes);
    QFETCH(int, enfants);
    QFETCH(int, exoneres);
    QFETCH(int, nuits);
    QFETCH(QString, attendu);
    ReglageTaxe reglage;
    reglage.majoration = 1000;
    if (mode == 0) {
        reglage.mode = ReglageTaxe::Mode::Fixe;
        reglage.tarifFixe = tarifOuPlafond;
    } else {
        reglage.mode = ReglageTaxe::Mode::Pourcentage;
        reglage.pourcentage = 500;
        reglage.plafond = tarifOuPlafond;
    }
    const Taxe taxe
        = Tarification::taxeDeSejour(reglage, 33000, 1000, nuits, adultes, enfants, exoneres);
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(taxe.parPersonneEtNuit)
                 .arg(taxe.base)
                 .arg(taxe.majoration)
                 .arg(taxe.total()),
             attendu);
    QCOMPARE(taxe.assujettis + taxe.exoneres, adultes + enfants);
}

void TestTarification::ventilation_data()
{
    QTest::addColumn<qint64>("toutesTaxes");
    QTest::addColumn<int>("taux");
    QTest::addColumn<qint64>("horsTaxe");
    QTest::addColumn<qint64>("tva");

    QTest::newRow("an even split") << 33000LL << 1000 << 30000LL << 3000LL;
    QTest::newRow("a coffee at 10 %: 1,36 + 0,14") << 150LL << 1000 << 136LL << 14LL;
    QTest::newRow("5,5 %") << 250LL << 550 << 237LL << 13LL;
    QTest::newRow("a half cent rounds away from zero") << 21LL << 2000 << 18LL << 3LL;
    QTest::newRow("a credit note, negative") << -150LL << 1000 << -136LL << -14LL;
    QTest::newRow("no VAT") << 999LL << 0 << 999LL << 0LL;
}

void TestTarification::ventilation()
{
    QFETCH(qint64, toutesTaxes);
    QFETCH(int, taux);
    QFETCH(qint64, horsTaxe);
    QFETCH(qint64, tva);
    const Ventilation v = ventiler(toutesTaxes, taux);
    QCOMPARE(v.horsTaxe, horsTaxe);
    QCOMPARE(v.tva, tva);
}

void TestTarification::libelles()
{
    QCOMPARE(libelleLoyer("Chalet", {QDate(2026, 7, 10), 3, 9500, 1000}),
             QStringLiteral("Chalet – 3 nuits × 95,00 €"));
    QCOMPARE(libelleLoyer("Emplacement", {QDate(2026, 7, 10), 1, 2150, 1000}),
             QStringLiteral("Emplacement – 1 nuit × 21,50 €"));
}

QTEST_GUILESS_MAIN(TestTarification)
#include "tst_tarification.moc"

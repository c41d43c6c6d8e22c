#include "till/Caisse.h"

#include <QtTest>

#include <cmath>

using namespace Caisse;

// The till's arithmetic and texts, before any window.
class TestCaisse : public QObject
{
    Q_OBJECT

private slots:
    void prix_data();
    void prix();
    void quantites_data();
    void quantites();
    void montants_data();
    void montants();
    void lignes();
};

void TestCaisse::prix_data()
{
    QTest::addColumn<double>("prix");
    QTest::addColumn<QString>("texte");

    QTest::newRow("a half") << 2.5 << "2,5";
    QTest::newRow("whole") << 3.0 << "3";
    QTest::newRow("cents") << 1.35 << "1,35";
    QTest::newRow("a tenth binary cannot hold") << 0.1 << "0,1";
    QTest::newRow("free") << 0.0 << "0";
    QTest::newRow("huge") << 1e20 << "1e+20";
}

// The price goes to text on the button and comes back to the same number for the charge.
void TestCaisse::prix()
{
    QFETCH(double, prix);
    QFETCH(QString, texte);
    QCOMPARE(texteDuPrix(prix), texte);
    QCOMPARE(prixDuTexte(texte), prix);
}

void TestCaisse::quantites_data()
{
    QTest::addColumn<QString>("afficheur");
    QTest::addColumn<int>("quantite"); // -99999: refused

    QTest::newRow("one") << "1" << 1;
    QTest::newRow("a comma ends the number") << "2,5" << 2;
    QTest::newRow("a half rounds to even, up") << "3.5" << 4;
    QTest::newRow("a half rounds to even, down") << "2.5" << 2;
    QTest::newRow("not a number sells none") << "abc" << 0;
    QTest::newRow("the money text of a total") << "7,50 €" << 7;
    QTest::newRow("negative") << "-3" << -3;
    QTest::newRow("the largest") << "32767" << 32767;
    QTest::newRow("the smallest") << "-32768" << -32768;
    QTest::newRow("one too many") << "32768" << -99999;
    QTest::newRow("one too few") << "-32769" << -99999;
    QTest::newRow("rounds past the largest") << "32767.5" << -99999;
    QTest::newRow("beyond any number") << "1e999" << -99999;
}

void TestCaisse::quantites()
{
    QFETCH(QString, afficheur);
    QFETCH(int, quantite);
    const std::optional<qint16> lue = Caisse::quantite(afficheur);
    QCOMPARE(lue ? int(*lue) : -99999, quantite);
}

void TestCaisse::montants_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<double>("montant");
    QTest::addColumn<bool>("accepte");

    QTest::newRow("a comma") << "12,50" << 12.5 << true;
    QTest::newRow("a blank between thousands") << "1 250,5" << 1250.5 << true;
    QTest::newRow("a word gives 0") << "abc" << 0.0 << true;
    QTest::newRow("negative") << "-20" << -20.0 << true;
    QTest::newRow("just under 10^13") << "9999999999999,99" << 9999999999999.99 << true;
    QTest::newRow("10^13") << "10000000000000" << 0.0 << false;
    QTest::newRow("beyond any number") << "1e999" << 0.0 << false;
    QTest::newRow("beyond, negative") << "-1e999" << 0.0 << false;
}

void TestCaisse::montants()
{
    QFETCH(QString, texte);
    QFETCH(double, montant);
    QFETCH(bool, accepte);
    const std::optional<double> lu = montantEncaisse(texte);
    QCOMPARE(lu.has_value(), accepte);
    if (accepte)
        QCOMPARE(*lu, montant);
}

void TestCaisse::lignes()
{
    QCOMPARE(ligneDeVente(3, QStringLiteral("2,5"), 7.5), QStringLiteral("3 x 2,5 = 7,50 €"));
    QCOMPARE(ligneDeVente(0, QStringLiteral("2,5"), 0), QStringLiteral("0 x 2,5 = 0,00 €"));
    QCOMPARE(libelleDeVente(QStringLiteral("Café crème"), 2, QStringLiteral("1,8")),
             QStringLiteral("BAR Café crème\r\n2 x 1,8"));
}

QTEST_APPLESS_MAIN(TestCaisse)
#include "tst_caisse.moc"

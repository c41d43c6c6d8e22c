#include "conversion/Conversion.h"

#include <QDate>
#include <QLocale>
#include <QtTest>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

using namespace Conversion;

// One row of the current table, its values in column order.
template<typename... Valeurs> static void ligne(const char *phrase, const Valeurs &...valeurs)
{
    (QTest::newRow(phrase) << ... << valeurs);
}

static const double infini = std::numeric_limits<double>::infinity();
static const QVariant nullEntier(QMetaType::fromType<int>());
static const QVariant nullTexte(QMetaType::fromType<QString>());

// A Remplacer that searches its own replacement again never returns, its text growing without
// end: rather than leave the run hanging until CTest's timeout, this ends it after a second,
// naming the row.
class ChienDeGarde
{
public:
    ChienDeGarde() : m_ligne(QTest::currentDataTag()), m_fil([this] { surveiller(); }) { }
    ~ChienDeGarde()
    {
        {
            const std::lock_guard<std::mutex> verrou(m_verrou);
            m_termine = true;
        }
        m_reveil.notify_one();
        m_fil.join();
    }

private:
    void surveiller()
    {
        std::unique_lock<std::mutex> verrou(m_verrou);
        if (!m_reveil.wait_for(verrou, std::chrono::seconds(1), [this] { return m_termine; }))
            qFatal("%s : pas terminé en une seconde", m_ligne.constData());
    }

    const QByteArray m_ligne;
    std::mutex m_verrou;
    std::condition_variable m_reveil;
    bool m_termine = false;
    std::thread m_fil; // last, so that it starts once the rest is built
};

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void remplacer_data();
    void remplacer();
    void extraireChemin_data();
    void extraireChemin();
    void siAlorsSinon_data();
    void siAlorsSinon();
    void pointDansRectangle_data();
    void pointDansRectangle();
    void maximumMinimum_data();
    void maximumMinimum();
    void formaterChampEtSansNull_data();
    void formaterChampEtSansNull();
    void moisParNomEtNumero_data();
    void moisParNomEtNumero();
    void extraireChamp_data();
    void extraireChamp();
    void nettoyerNom_data();
    void nettoyerNom();
    void valeurNumerique_data();
    void valeurNumerique();
    void formatMonetaire_data();
    void formatMonetaire();
    void textesEnormes_data();
    void textesEnormes();
};

void TestConversion::initTestCase()
{
    // Users run under French settings, whose grouping and decimal marks differ from the ones
    // these routines must write and read.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestConversion::remplacer_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("cherche");
    QTest::addColumn<QString>("remplace");
    QTest::addColumn<QString>("attendu");
    ligne("Every dash becomes an underscore", "a-b-c", "-", "_", "a_b_c");
    ligne("Letter case is ignored", "ABA", "a", "x", "xBx");
    ligne("A replacement holding the searched text is not searched again", "aa", "a", "aa", "aaaa");
    ligne("A replacement holding the searched text in another case is not searched again", "aAa",
          "A", "xa", "xaxaxa");
    ligne("Doubling every letter of a long text doubles its length exactly", QString(10000, u'a'),
          "a", "aa", QString(20000, u'a'));
    ligne("Accented capitals match their small letters", "ÉTÉ", "é", "e", "eTe");
    ligne("An empty searched text leaves the text as it was", "abc", "", "x", "abc");
    ligne("The searched text can be removed", "1 234 567", " ", "", "1234567");
    ligne("Matches beyond 32767 characters are replaced too", QString(40000, u'x') + "fin", "FIN",
          "end", QString(40000, u'x') + "end");
}

void TestConversion::remplacer()
{
    QFETCH(QString, texte);
    QFETCH(QString, cherche);
    QFETCH(QString, remplace);
    QFETCH(QString, attendu);
    QString resultat;
    {
        const ChienDeGarde garde;
        resultat = Remplacer(texte, cherche, remplace);
    }
    QCOMPARE(resultat, attendu);
}

void TestConversion::extraireChemin_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<QString>("attendu");
    ligne("A path ending with a backslash is returned whole", "C:\\Hotel\\", "C:\\Hotel\\");
    ligne("A drive letter is returned unchanged", "C:", "C:");
    ligne("A bare file name has no folder", "razarivu.ini", "");
    ligne("A Linux file path keeps its folder", "/home/hotel/plan.htm", "/home/hotel/");
    ligne("The last separator of any kind wins", "D:\\a/b\\c/d.txt", "D:\\a/b\\c/");
}

void TestConversion::extraireChemin()
{
    QFETCH(QString, chemin);
    QFETCH(QString, attendu);
    QCOMPARE(ExtraireChemin(chemin), attendu);
}

void TestConversion::siAlorsSinon_data()
{
    QTest::addColumn<QVariant>("condition");
    QTest::addColumn<bool>("donneVrai");
    ligne("True gives the first value", QVariant(true), true);
    ligne("False gives the second value", QVariant(false), false);
    ligne("The database's Null reads as false", nullEntier, false);
    ligne("An empty value reads as false", QVariant(), false);
    ligne("A non-zero number reads as true", QVariant(-1), true);
    ligne("Zero reads as false", QVariant(0.0), false);
    ligne("French words are read whatever their case", QVariant("FAUX"), false);
    ligne("A numeric text reads as its number", QVariant(" 0 "), false);
    ligne("A text that is no Boolean gives the first value", QVariant("abc"), true);
    ligne("An empty text is no Boolean either", QVariant(QString("")), true);
    ligne("A date is no Boolean", QVariant(QDate(2024, 5, 1)), true);
}

void TestConversion::siAlorsSinon()
{
    QFETCH(QVariant, condition);
    QFETCH(bool, donneVrai);
    QCOMPARE(SiAlorsSinon(condition, "oui", 0), donneVrai ? QVariant("oui") : QVariant(0));
}

void TestConversion::pointDansRectangle_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("dedans");
    // The rectangle is 10..20 across and 5..15 down.
    ligne("A corner is inside", 20.0f, 15.0f, true);
    ligne("A point on the left edge is inside", 10.0f, 8.0f, true);
    ligne("A point just left of the rectangle is outside", 9.99f, 8.0f, false);
    ligne("A point just below the rectangle is outside", 12.0f, 15.01f, false);
    ligne("A point with no position is outside", std::nanf(""), 8.0f, false);
}

void TestConversion::pointDansRectangle()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, dedans);
    QCOMPARE(PointDansRectangle(x, y, 10, 5, 20, 15), dedans);
}

void TestConversion::maximumMinimum_data()
{
    QTest::addColumn<QVariant>("a");
    QTest::addColumn<QVariant>("b");
    QTest::addColumn<QVariant>("plusGrand");
    QTest::addColumn<QVariant>("plusPetit");
    const QVariant nouvelAn(QDate(2024, 1, 1)), veille(QDate(2023, 12, 31));
    ligne("Whole numbers compare numerically", QVariant(9), QVariant(10), QVariant(10),
          QVariant(9));
    ligne("A whole number and a fraction compare numerically", QVariant(2), QVariant(1.5),
          QVariant(2), QVariant(1.5));
    ligne("Texts compare as texts", QVariant("10"), QVariant("9"), QVariant("9"), QVariant("10"));
    ligne("Dates compare as dates", nouvelAn, veille, nouvelAn, veille);
    ligne("An empty value counts as zero next to a number", QVariant(), QVariant(-3), QVariant(),
          QVariant(-3));
    ligne("A number is below any text", QVariant(99), QVariant("1"), QVariant("1"), QVariant(99));
    ligne("Against Null the maximum is the second value and the minimum the first", nullEntier,
          QVariant(4), QVariant(4), nullEntier);
}

void TestConversion::maximumMinimum()
{
    QFETCH(QVariant, a);
    QFETCH(QVariant, b);
    QFETCH(QVariant, plusGrand);
    QFETCH(QVariant, plusPetit);
    QCOMPARE(Maximum(a, b), plusGrand);
    QCOMPARE(Minimum(a, b), plusPetit);
}

void TestConversion::formaterChampEtSansNull_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("valeur");
    QTest::addColumn<QVariant>("attendu");
    ligne("An amount is written as money", TypeMonetaire, QVariant(1234.5), QVariant("1 234,50 €"));
    ligne("A Null amount is written as no money", TypeMonetaire, nullTexte, QVariant("0,00 €"));
    ligne("A text field is left alone", 10, QVariant("Dupont"), QVariant("Dupont"));
    ligne("A number of another type is not formatted", 4, QVariant(1234.5), QVariant(1234.5));
    ligne("A Null field becomes an empty text", 10, nullTexte, QVariant(QString("")));
    ligne("An empty field stays empty", 10, QVariant(), QVariant());
}

void TestConversion::formaterChampEtSansNull()
{
    QFETCH(int, type);
    QFETCH(QVariant, valeur);
    QFETCH(QVariant, attendu);
    const QVariant resultat = FormaterChamp(type, valeur);
    QCOMPARE(resultat, attendu);
    QCOMPARE(resultat.isNull(), attendu.isNull());
    if (type != TypeMonetaire)
        QCOMPARE(SansNull(valeur), resultat);
}

void TestConversion::moisParNomEtNumero_data()
{
    QTest::addColumn<int>("mois");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<bool>("nomReconnu");
    ligne("January is month 1", 1, "Janvier", true);
    ligne("August keeps its accent", 8, "Août", true);
    ligne("December is month 12", 12, "Décembre", true);
    ligne("A name in small letters has no number", 8, "août", false);
    ligne("A name with a blank has no number", 3, "Mars ", false);
    ligne("Month 0 has no name", 0, "", false);
    ligne("Month 13 has no name", 13, "", false);
    ligne("A negative month has no name", -1, "", false);
}

void TestConversion::moisParNomEtNumero()
{
    QFETCH(int, mois);
    QFETCH(QString, nom);
    QFETCH(bool, nomReconnu);
    const QVariant numero = NumeroDuMois(nom);
    if (nomReconnu) {
        QCOMPARE(NomDuMois(qint16(mois)), nom);
        QCOMPARE(numero.metaType(), QMetaType::fromType<qint16>());
        QCOMPARE(numero.value<qint16>(), qint16(mois));
    } else {
        QVERIFY(!numero.isValid());
        if (nom.isEmpty())
            QCOMPARE(NomDuMois(qint16(mois)), QString());
    }
}

void TestConversion::extraireChamp_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("separateur");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("attendu");
    ligne("The last field is found", "10|20|30", "|", 3, "30");
    ligne("The first field is found", "10|20|30", "|", 1, "10");
    ligne("A field beyond the last is empty", "10|20|30", "|", 4, "");
    ligne("A field between two separators in a row is empty", "10||30", "|", 2, "");
    ligne("Field zero is empty", "10|20", "|", 0, "");
    ligne("A negative field is empty", "10|20", "|", -5, "");
    ligne("A separator of several characters is cut whole", "a::b::c", "::", 2, "b");
    ligne("The separator's letter case matters", "aXbxc", "x", 2, "c");
    ligne("An empty separator gives nothing", "a|b", "", 1, "");
}

void TestConversion::extraireChamp()
{
    QFETCH(QString, texte);
    QFETCH(QString, separateur);
    QFETCH(int, n);
    QFETCH(QString, attendu);
    QCOMPARE(ExtraireChamp(texte, separateur, qint16(n)), attendu);
}

void TestConversion::nettoyerNom_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("attendu");
    ligne("Every listed character becomes an underscore", "a b'c%d-e+f,g=h@i*j(k)l/m\\n",
          "a_b_c_d_e_f_g_h_i_j_k_l_m_n");
    ligne("Accented letters and dots are kept", "Hôtel Été.htm", "Hôtel_Été.htm");
}

void TestConversion::nettoyerNom()
{
    QFETCH(QString, texte);
    QFETCH(QString, attendu);
    QCOMPARE(NettoyerNom(texte), attendu);
}

void TestConversion::valeurNumerique_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<double>("attendu");
    ligne("A decimal comma ends the number", "12,50", 12.0);
    ligne("A decimal point is read", "12.50", 12.5);
    ligne("Blanks between digits are ignored", "1 234", 1234.0);
    ligne("Tabs and line feeds are ignored", "\t1\n2\n3 ", 123.0);
    ligne("A carriage return ends the number", "1\r\n2", 1.0);
    ligne("A text starting with a letter is zero", "abc12", 0.0);
    ligne("A state label gives its code", "3 - Confirmé", 3.0);
    ligne("A minus sign may stand apart from the digits", "- 7.5", -7.5);
    ligne("A plus sign is accepted", "+4", 4.0);
    ligne("A number may start with its point", ".5", 0.5);
    ligne("A signed number may start with its point", "-.25x", -0.25);
    ligne("A second point ends the number", "1.2.3", 1.2);
    ligne("An exponent is read", "2E3", 2000.0);
    ligne("A signed exponent is read", "25e-1", 2.5);
    ligne("An exponent without digits is left out", "7e+", 7.0);
    ligne("A sign alone is zero", "-", 0.0);
    ligne("A point alone is zero", ".", 0.0);
    ligne("Digits of other scripts are not read", "١٢", 0.0);
    ligne("A number too large for a double is infinite", "1e999", infini);
    ligne("A negative number too large is minus infinity", "-1e999", -infini);
    ligne("A number too small for a double is zero", "1e-999", 0.0);
}

void TestConversion::valeurNumerique()
{
    QFETCH(QString, texte);
    QFETCH(double, attendu);
    QCOMPARE(ValeurNumerique(texte), attendu);
}

void TestConversion::formatMonetaire_data()
{
    QTest::addColumn<double>("valeur");
    QTest::addColumn<QString>("attendu");
    ligne("Zero has two decimals", 0.0, "0,00 €");
    ligne("A small whole amount has no group", 5.0, "5,00 €");
    ligne("Thousands are set apart by a plain blank", 1234.5, "1 234,50 €");
    ligne("Millions take two blanks and round the cents", 1234567.891, "1 234 567,89 €");
    ligne("A negative amount has its sign before the digits", -12.5, "-12,50 €");
    ligne("A negative amount with groups keeps one sign", -1234.5, "-1 234,50 €");
    ligne("A negative amount rounding to zero has no sign", -0.004, "0,00 €");
    ligne("Half a cent rounds away from zero", -0.005, "-0,01 €");
    ligne("Rounding follows the amount as written, not its binary value", 1.005, "1,01 €");
    ligne("Rounding may add a group", 999.995, "1 000,00 €");
    ligne("Twelve integer digits fill the four groups", 999999999999.0, "999 999 999 999,00 €");
    ligne("A thirteenth digit joins the first group", 1234567890123.0, "1234 567 890 123,00 €");
    ligne("Further digits join the first group too", 12345678901234.5, "12345 678 901 234,50 €");
    ligne("No number writes no money", std::nan(""), "0,00 €");
    ligne("An infinite amount writes no money", -infini, "0,00 €");
}

void TestConversion::formatMonetaire()
{
    QFETCH(double, valeur);
    QFETCH(QString, attendu);
    QCOMPARE(FormatMonetaire(valeur), attendu);
}

void TestConversion::textesEnormes_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<double>("valeur");
    QTest::addColumn<QString>("premierChamp");
    constexpr qsizetype megaoctet = 1 << 20;
    const QString chiffres(megaoctet, u'9'), blancs(megaoctet, u' '), accents(megaoctet, u'é');
    ligne("A megabyte of digits overflows to infinity", chiffres, infini, chiffres);
    ligne("A megabyte of blanks before a number still reads it", blancs + "42|x", 42.0,
          blancs + "42");
    ligne("A megabyte of accented letters is zero", accents, 0.0, accents);
    ligne("A megabyte of separators has only empty fields", QString(megaoctet, u'|'), 0.0,
          QString());
}

void TestConversion::textesEnormes()
{
    QFETCH(QString, texte);
    QFETCH(double, valeur);
    QFETCH(QString, premierChamp);
    QCOMPARE(ValeurNumerique(texte), valeur);
    QCOMPARE(ExtraireChamp(texte, "|", 1), premierChamp);
    QCOMPARE(ExtraireChamp(texte, "|", 32767), QString());
    const QString remplace = Remplacer(texte, "|", "<>");
    QCOMPARE(remplace.size(), texte.size() + texte.count(u'|'));
    QCOMPARE(Remplacer(remplace, "<>", "|"), texte);
}

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"

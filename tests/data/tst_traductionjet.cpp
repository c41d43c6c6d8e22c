#include "data/AnalyseSelect.h"
#include "data/TexteParametre.h"
#include "data/TexteSql.h"
#include "data/TraductionJet.h"

#include <QtTest>

// The readers of our SQL texts: the quoted runs they all step over the same way, the Jet
// translation, the values taken out as parameters and what a record set learns of its SELECT.
class TestTraductionJet : public QObject
{
    Q_OBJECT

private slots:
    void entreGuillemets_data();
    void entreGuillemets();
    void traduction_data();
    void traduction();
    void parametres_data();
    void parametres();
    void analyse_data();
    void analyse();
};

void TestTraductionJet::entreGuillemets_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("debut");
    QTest::addColumn<int>("fin");
    QTest::addColumn<bool>("ferme");
    QTest::addColumn<QString>("contenu");
    QTest::newRow("A literal ends just past its closing quote")
        << "'abc' = x" << 0 << 5 << true << "abc";
    QTest::newRow("A doubled quote stays inside the literal and stands for one")
        << "'l''eau' x" << 0 << 8 << true << "l'eau";
    QTest::newRow("A doubled quote right before the closing one is still inside")
        << "'a''' x" << 0 << 5 << true << "a'";
    QTest::newRow("Two quotes alone are an empty literal") << "'' = x" << 0 << 2 << true << "";
    QTest::newRow("A name in double quotes is not closed by an apostrophe")
        << R"("l'a" x)" << 0 << 5 << true << "l'a";
    QTest::newRow("A literal is not closed by a double quote")
        << R"('a"b' x)" << 0 << 5 << true << R"(a"b)";
    QTest::newRow("A run is read from where it starts in the text")
        << "a = 'b' and c = 'd'" << 4 << 7 << true << "b";
    QTest::newRow("An unclosed literal runs to the end of the text")
        << "a = 'bc" << 4 << 7 << false << "bc";
    QTest::newRow("An unclosed literal may end with a doubled quote")
        << "'ab''" << 0 << 5 << false << "ab'";
    QTest::newRow("A quote alone at the end opens an empty unclosed run")
        << "x '" << 2 << 3 << false << "";
}

void TestTraductionJet::entreGuillemets()
{
    QFETCH(QString, texte);
    QFETCH(int, debut);
    QFETCH(int, fin);
    QFETCH(bool, ferme);
    QFETCH(QString, contenu);
    const EntreGuillemets run = lireEntreGuillemets(texte, debut);
    QCOMPARE(run.fin, qsizetype(fin));
    QCOMPARE(run.ferme, ferme);
    QCOMPARE(contenuEntreGuillemets(texte, debut, run), contenu);
}

void TestTraductionJet::traduction_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("A bracketed name becomes a quoted identifier") << "select * from [OBJETS];"
                                                                  << R"(select * from "objets";)";
    QTest::newRow("A bracketed name keeps its blanks") << "[nom client] = 1"
                                                       << R"("nom client" = 1)";
    QTest::newRow("A quote inside a bracketed name is doubled") << R"([a"b])"
                                                                << R"("a""b")";
    QTest::newRow("A month-first date becomes date text at midnight")
        << "[DateDebut]<#07/14/2024#"
        << R"("datedebut"<'2024-07-14 00:00:00')";
    QTest::newRow("A date without leading zeros is still read month first")
        << "#7/4/2024#"
        << "'2024-07-04 00:00:00'";
    QTest::newRow("A time of day in the date is kept") << "#12/31/2024 18:30#"
                                                       << "'2024-12-31 18:30:00'";
    QTest::newRow("Seconds in the date are kept") << "#1/2/2025 8:05:09#"
                                                  << "'2025-01-02 08:05:09'";
    QTest::newRow("A day that no month has is left for the database to reject")
        << "x < #2/30/2024#"
        << "x < #2/30/2024#";
    QTest::newRow("A day-first date is not silently swapped") << "x < #14/07/2024#"
                                                              << "x < #14/07/2024#";
    QTest::newRow("An unclosed date sign is left alone") << "x # y"
                                                         << "x # y";
    QTest::newRow("True becomes 1") << "WHERE (((ETATS.surinternet)=True))"
                                    << "WHERE (((ETATS.surinternet)=1))";
    QTest::newRow("True and False are read in any case") << "a = TRUE or b = false"
                                                         << "a = 1 or b = 0";
    QTest::newRow("A word that only contains True is left alone") << "TrueColor = IsTrue"
                                                                  << "TrueColor = IsTrue";
    QTest::newRow("A column named True after a table name is left alone") << "ETATS.True = True"
                                                                          << "ETATS.True = 1";
    QTest::newRow("Nothing inside a literal is touched") << "nom = '[a] #1/2/2024# True'"
                                                         << "nom = '[a] #1/2/2024# True'";
    QTest::newRow("A doubled quote does not end a literal") << "nom = 'l''[x] True' and y = True"
                                                            << "nom = 'l''[x] True' and y = 1";
    QTest::newRow("An unclosed literal is copied to the end untouched")
        << "a = True and b = 'x [y] True"
        << "a = 1 and b = 'x [y] True";
    QTest::newRow("Nothing inside a quoted identifier is touched") << R"("True [x]" = True)"
                                                                   << R"("True [x]" = 1)";
    QTest::newRow("Blanks are kept as they stand") << "select  * from ETATS where [code] = 3"
                                                   << R"(select  * from ETATS where "code" = 3)";
    QTest::newRow("Accented words pass unchanged") << "select Réservé from X where Vrai = True"
                                                   << "select Réservé from X where Vrai = 1";
    QTest::newRow("The published reservations query is fully translated")
        << "SELECT RESERVATIONS.*, ETATS.surinternet FROM RESERVATIONS LEFT JOIN ETATS ON "
           "RESERVATIONS.Etat = ETATS.Code WHERE (((ETATS.surinternet)=True)) AND ([objet] = "
           "12) AND ([Datedebut]<#07/01/2024#);"
        << "SELECT RESERVATIONS.*, ETATS.surinternet FROM RESERVATIONS LEFT JOIN ETATS ON "
           "RESERVATIONS.Etat = ETATS.Code WHERE (((ETATS.surinternet)=1)) AND (\"objet\" = "
           "12) AND (\"datedebut\"<'2024-07-01 00:00:00');";
}

void TestTraductionJet::traduction()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(traduireJet(jet), sqlite);
}

void TestTraductionJet::parametres_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("gabarit");
    QTest::addColumn<QVariantList>("valeurs");
    QTest::newRow("A literal after a comparison becomes its value, doubled quotes made single")
        << "[nom] = 'l''eau' and [Code] = 3"
        << "[nom] = ? and [Code] = ?" << QVariantList {QStringLiteral("l'eau"), 3LL};
    QTest::newRow("A number sign inside a literal is no date")
        << "[nom] = '#1/2/2024#'"
        << "[nom] = ?" << QVariantList {QStringLiteral("#1/2/2024#")};
    QTest::newRow("An operator inside a literal does not make the next literal a value")
        << "[a] like '=' & 'x'"
        << "[a] like '=' & 'x'" << QVariantList();
    QTest::newRow("An unclosed literal stays in the text") << "[nom] = 'abc"
                                                           << "[nom] = 'abc" << QVariantList();
    QTest::newRow("A double-quoted run stays in the text")
        << R"([nom] = "a""b" or x = 1)"
        << R"([nom] = "a""b" or x = ?)" << QVariantList {1LL};
}

void TestTraductionJet::parametres()
{
    QFETCH(QString, jet);
    QFETCH(QString, gabarit);
    QFETCH(QVariantList, valeurs);
    const TexteParametre texte = parametrer(jet);
    QCOMPARE(texte.gabarit, gabarit);
    QCOMPARE(texte.valeurs, valeurs);
}

void TestTraductionJet::analyse_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("simple");
    QTest::newRow("A quoted table name is read without its quotes, a doubled one made single")
        << R"(select * from "OB""JETS" o where a = 1)"
        << R"(OB"JETS)"
        << "o" << true;
    QTest::newRow("A parenthesis inside a literal is no function") << "select '(', Nom from OBJETS"
                                                                   << "OBJETS"
                                                                   << "OBJETS" << true;
    QTest::newRow("A keyword inside a literal is not read")
        << "select * from OBJETS where Nom = ' group by '"
        << "OBJETS"
        << "OBJETS" << true;
    QTest::newRow("An unclosed literal hides the rest of the text")
        << "select * from OBJETS where Nom = 'x union select"
        << "OBJETS"
        << "OBJETS" << true;
    QTest::newRow("A grouping outside the literals is still seen")
        << "select * from OBJETS where Nom = 'x' group by Nom"
        << "OBJETS"
        << "OBJETS" << false;
}

void TestTraductionJet::analyse()
{
    QFETCH(QString, sql);
    QFETCH(QString, table);
    QFETCH(QString, reference);
    QFETCH(bool, simple);
    const AnalyseSelect analyse = analyserSelect(sql);
    QVERIFY(analyse.estSelect);
    QCOMPARE(analyse.table, table);
    QCOMPARE(analyse.reference, reference);
    QCOMPARE(analyse.simple, simple);
}

QTEST_GUILESS_MAIN(TestTraductionJet)
#include "tst_traductionjet.moc"

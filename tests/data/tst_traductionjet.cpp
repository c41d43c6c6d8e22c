#include "data/TraductionJet.h"

#include <QtTest>

class TestTraductionJet : public QObject
{
    Q_OBJECT

private slots:
    void traduction_data();
    void traduction();
};

void TestTraductionJet::traduction_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("A bracketed name becomes a quoted identifier") << "select * from [OBJETS];"
                                                                  << R"(select * from "OBJETS";)";
    QTest::newRow("A bracketed name keeps its blanks") << "[nom client] = 1"
                                                       << R"("nom client" = 1)";
    QTest::newRow("A quote inside a bracketed name is doubled") << R"([a"b])"
                                                                << R"("a""b")";
    QTest::newRow("A month-first date becomes date text at midnight")
        << "[DateDebut]<#07/14/2024#"
        << R"("DateDebut"<'2024-07-14 00:00:00')";
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
           "12) AND (\"Datedebut\"<'2024-07-01 00:00:00');";
}

void TestTraductionJet::traduction()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(traduireJet(jet), sqlite);
}

QTEST_GUILESS_MAIN(TestTraductionJet)
#include "tst_traductionjet.moc"

#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "data/TraductionJet.h"

class TestTextesSQL : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void texteExact_data();
    void texteExact();
    void numeroInsere_data();
    void numeroInsere();
    void chaqueTexteS_execute_data();
    void chaqueTexteS_execute();
    void barresDuPlanning_data();
    void barresDuPlanning();
    void reservationsPubliees_data();
    void reservationsPubliees();
    void bornePlanningParLIndex_data();
    void bornePlanningParLIndex();

private:
    QSqlDatabase base() const { return m_base.base(); }
    void reserver(int objet, const QString &debut, int etat);

    BaseEssai m_base {QStringLiteral("tst_textessql")};
};

void TestTextesSQL::init()
{
    Horloge::fixer(QDateTime(QDate(2024, 6, 15), QTime(10, 0)));
    QVERIFY2(m_base.ouvrir(true), qPrintable(m_base.echec()));
}

void TestTextesSQL::cleanup()
{
    m_base.fermer();
    Horloge::fixer(QDateTime());
}

void TestTextesSQL::reserver(int objet, const QString &debut, int etat)
{
    QVERIFY(m_base.reserver({{"Objet", objet},
                             {"DateDebut", debut},
                             {"DateFin", "2099-01-01 12:00:00"},
                             {"Etat", etat}})
            > 0);
}

void TestTextesSQL::texteExact_data()
{
    using namespace TextesSQL;
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("The state list has one blank after select")
        << QString(tousLesEtats) << "select * from ETATS";
    QTest::newRow("The settings dialog's states have two blanks after select")
        << QString(etatsDuParametrage) << "select  * from ETATS";
    QTest::newRow("One state by code also has two blanks")
        << etatParCode(3) << "select  * from ETATS where [code] = 3";
    QTest::newRow("A negative state code is written as a bare number")
        << etatParCode(-2) << "select  * from ETATS where [code] = -2";
    QTest::newRow("The planning lines bracket the table name")
        << QString(objetsDuPlanning) << "select * from [OBJETS];";
    QTest::newRow("The bars of one line have three blanks before where and a month-first date")
        << reservationsDeLObjet(12, QDate(2024, 7, 4))
        << "SELECT RESERVATIONS.*, ETATS.Code, ETATS.Nom, ETATS.CouleurPrincipale AS couleur "
           "FROM RESERVATIONS LEFT JOIN ETATS ON RESERVATIONS.Etat = ETATS.Code   where "
           "([objet] = 12) AND ([DateDebut]<#07/04/2024#);";
    QTest::newRow("The bars of one line also need a stay to reach the first day shown")
        << reservationsDeLObjet(12, QDate(2024, 6, 3), QDate(2024, 7, 4))
        << "SELECT RESERVATIONS.*, ETATS.Code, ETATS.Nom, ETATS.CouleurPrincipale AS couleur "
           "FROM RESERVATIONS LEFT JOIN ETATS ON RESERVATIONS.Etat = ETATS.Code   where "
           "([objet] = 12) AND ([DateDebut]<#07/04/2024#) AND (IIf([DateFin] Is Null, "
           "#12/31/9999#, IIf([DateFin]<[DateDebut], [DateDebut], [DateFin]))>=#06/03/2024#);";
    QTest::newRow("The published reservations filter on True and spell Datedebut so")
        << TextesSQL::reservationsPubliees(41, QDate(2025, 12, 1))
        << "SELECT RESERVATIONS.*, ETATS.surinternet FROM RESERVATIONS LEFT JOIN ETATS ON "
           "RESERVATIONS.Etat = ETATS.Code WHERE (((ETATS.surinternet)=True)) AND ([objet] = "
           "41) AND ([Datedebut]<#12/01/2025#);";
    QTest::newRow("The highest number is read as A")
        << QString(maximumNumero)
        << "SELECT Max(RESERVATIONS.NumeroReservation) AS A FROM RESERVATIONS;";
    QTest::newRow("A caption's leading blank stays in the reservation query")
        << reservationParNumero(" 12")
        << "select * from RESERVATIONS where [NumeroReservation] =  12";
    QTest::newRow("The named reservation ends with a semicolon")
        << reservationNominative(7)
        << "select * from RESERVATION_NOMINATIVE where [NumeroReservation] = 7;";
    QTest::newRow("The account takes the rows with an amount")
        << compteDeLaReservation("7")
        << "select * from OPERATIONS where ([numeroreservation] = 7) and ([prix] <> 0) order "
           "by date;";
    QTest::newRow("The history takes the rows without an amount")
        << historiqueDeLaReservation("7")
        << "select * from OPERATIONS where ([numeroreservation] = 7) and ([prix] = 0) order by "
           "date;";
}

void TestTextesSQL::texteExact()
{
    QFETCH(QString, texte);
    QFETCH(QString, attendu);
    QCOMPARE(texte, attendu);
}

void TestTextesSQL::numeroInsere_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("insere");

    QTest::newRow("A plain number goes in as it stands") << "12"
                                                         << "12";
    QTest::newRow("A number with a leading blank goes in with it") << " 12"
                                                                   << " 12";
    QTest::newRow("A decimal number goes in") << "12.0"
                                              << "12.0";
    QTest::newRow("An empty caption matches nothing") << ""
                                                      << "Null";
    QTest::newRow("A word matches nothing") << "douze"
                                            << "Null";
    QTest::newRow("A condition cannot widen the query") << "1 or 1=1"
                                                        << "Null";
    QTest::newRow("A second statement cannot ride along") << "1; DROP TABLE RESERVATIONS"
                                                          << "Null";
}

void TestTextesSQL::numeroInsere()
{
    QFETCH(QString, numero);
    QFETCH(QString, insere);
    QCOMPARE(TextesSQL::reservationParNumero(numero),
             "select * from RESERVATIONS where [NumeroReservation] = " + insere);
    QCOMPARE(TextesSQL::compteDeLaReservation(numero),
             "select * from OPERATIONS where ([numeroreservation] = " + insere
                 + ") and ([prix] <> 0) order by date;");

    // Whatever the caption, the query runs and every table is still there.
    Recordset jeu(base(), TextesSQL::reservationParNumero(numero));
    QVERIFY2(jeu.estOuvert(), qPrintable(jeu.erreur().text()));
    // Nothing dropped (a server also holds the table of the schema version).
    QCOMPARE(base().tables().size(), 11 + int(BaseDeDonnees::estPostgres(base())));
}

void TestTextesSQL::chaqueTexteS_execute_data()
{
    QTest::addColumn<QString>("texte");
    for (const TextesSQL::TexteExemple &exemple : TextesSQL::tousLesTextes())
        QTest::newRow(qPrintable("The text for " + exemple.nom + " runs")) << exemple.texte;
}

void TestTextesSQL::chaqueTexteS_execute()
{
    QFETCH(QString, texte);
    QSqlQuery requete(base());
    QVERIFY2(requete.exec(traduireJet(texte)), qPrintable(requete.lastError().text()));
    Recordset jeu(base(), texte);
    QVERIFY2(jeu.estOuvert(), qPrintable(jeu.erreur().text()));
    QVERIFY(!jeu.nomsDesChamps().isEmpty());
}

void TestTextesSQL::barresDuPlanning_data()
{
    QTest::addColumn<QString>("debut");
    QTest::addColumn<int>("etat");
    QTest::addColumn<bool>("listee");
    QTest::addColumn<QVariant>("couleur");

    // The period ends on 14 July 2024 at midnight.
    QTest::newRow("A stay starting the afternoon before the end is drawn")
        << "2024-07-13 14:00:00" << 2 << true << QVariant(0x00508C2E);
    QTest::newRow("A stay starting on the end day is past the period")
        << "2024-07-14 14:00:00" << 2 << false << QVariant();
    QTest::newRow("A stay that began long ago and is still running is loaded")
        << "2019-01-01 14:00:00" << 1 << true << QVariant(0x001C6FD6);
    QTest::newRow("A stay whose state is gone is listed with a Null colour")
        << "2024-07-01 14:00:00" << 99 << true << QVariant();
}

void TestTextesSQL::barresDuPlanning()
{
    QFETCH(QString, debut);
    QFETCH(int, etat);
    QFETCH(bool, listee);
    QFETCH(QVariant, couleur);

    const int objet = 7777; // a line of its own, without the demonstration's stays
    reserver(objet, debut, etat);
    Recordset jeu(base(),
                  TextesSQL::reservationsDeLObjet(objet, QDate(2024, 6, 13), QDate(2024, 7, 14)));
    QVERIFY2(jeu.estOuvert(), qPrintable(jeu.erreur().text()));
    QCOMPARE(jeu.nombre(), listee ? 1 : 0);
    if (!listee)
        return;
    QCOMPARE(jeu.champ("DateDebut").toDateTime(), BaseDeDonnees::dateDepuisTexte(debut));
    QCOMPARE(jeu.champ("couleur").isNull(), couleur.isNull());
    if (!couleur.isNull())
        QCOMPARE(jeu.champ("couleur").toLongLong(), couleur.toLongLong());
    QCOMPARE(jeu.champ("code").isNull(), etat == 99);
}

void TestTextesSQL::reservationsPubliees_data()
{
    QTest::addColumn<int>("etat");
    QTest::addColumn<bool>("publiee");

    QTest::newRow("A confirmed stay is published") << 2 << true;
    QTest::newRow("A closed line is published as taken") << 4 << true;
    QTest::newRow("A cancelled stay stays off the web") << 5 << false;
    QTest::newRow("A stay without a known state stays off the web") << 99 << false;
}

void TestTextesSQL::reservationsPubliees()
{
    QFETCH(int, etat);
    QFETCH(bool, publiee);

    const int objet = 7777;
    reserver(objet, QStringLiteral("2024-07-01 14:00:00"), etat);
    Recordset web(base(), TextesSQL::reservationsPubliees(objet, QDate(2024, 8, 1)));
    QVERIFY2(web.estOuvert(), qPrintable(web.erreur().text()));
    QCOMPARE(web.nombre(), publiee ? 1 : 0);

    // Off the web is not off the planning.
    Recordset planning(base(), TextesSQL::reservationsDeLObjet(objet, QDate(2024, 8, 1)));
    QCOMPARE(planning.nombre(), 1);
}

void TestTextesSQL::bornePlanningParLIndex_data()
{
    QTest::addColumn<bool>("parametres");
    QTest::newRow("With its dates written in the text") << false;
    QTest::newRow("With its object and dates as parameters, as record sets run it") << true;
}

void TestTextesSQL::bornePlanningParLIndex()
{
    // Years of past stays are skipped only if the store seeks the lower bound in the index
    // rather than reading every stay of the line.
    QFETCH(bool, parametres);
    QString texte
        = traduireJet(TextesSQL::reservationsDeLObjet(12, QDate(2024, 6, 13), QDate(2024, 7, 14)));
    if (parametres) {
        texte.replace(QStringLiteral("= 12"), QStringLiteral("= ?"));
        texte.replace(QStringLiteral("'2024-07-14 00:00:00'"), QStringLiteral("?"));
        texte.replace(QStringLiteral("'2024-06-13 00:00:00'"), QStringLiteral("?"));
    }
    QSqlQuery plan(base());
    if (BaseDeDonnees::estPostgres(base())) {
        // A server plans a statement with parameters at each run: only the text is shown.
        if (parametres)
            QSKIP("A server explains no statement with parameters.");
        // The few rows of a test base would be read whole; a real site's would not.
        QVERIFY(plan.exec(QStringLiteral("SET enable_seqscan = off")));
        QVERIFY2(plan.exec(QStringLiteral("EXPLAIN ") + texte),
                 qPrintable(plan.lastError().text()));
        QStringList etapes;
        while (plan.next())
            etapes << plan.value(0).toString();
        QVERIFY2(etapes.join(u' ').contains(QStringLiteral("reservationsparportee")),
                 qPrintable(etapes.join(QStringLiteral(" | "))));
        return;
    }
    QVERIFY(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + texte));
    if (parametres) {
        plan.addBindValue(12);
        plan.addBindValue(QStringLiteral("2024-07-14 00:00:00"));
        plan.addBindValue(QStringLiteral("2024-06-13 00:00:00"));
    }
    QVERIFY2(plan.exec(), qPrintable(plan.lastError().text()));
    QStringList etapes;
    while (plan.next())
        etapes << plan.value(3).toString();
    QVERIFY2(etapes.first().contains(
                 QStringLiteral("RESERVATIONS USING INDEX ReservationsParPortee (Objet=? AND "
                                "<expr>>?)")),
             qPrintable(etapes.join(QStringLiteral(" | "))));
}

QTEST_GUILESS_MAIN(TestTextesSQL)
#include "tst_textessql.moc"

#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/AjoutOperation.h"
#include "data/ChaineJournal.h"

#include <QtTest>

// The account journal chained row by row: what the program writes checks, and a row altered,
// removed or slipped in by hand with another tool is found.
class TestChaineJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void leProgrammeEcritUnJournalIntact();
    void uneAlterationEstTrouvee_data();
    void uneAlterationEstTrouvee();

private:
    BaseEssai m_base {QStringLiteral("tst_chainejournal")};
};

void TestChaineJournal::init()
{
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    QVERIFY2(m_base.ouvrir(true), qPrintable(m_base.echec()));
}

void TestChaineJournal::cleanup()
{
    m_base.fermer();
    Horloge::fixer(QDateTime());
}

void TestChaineJournal::leProgrammeEcritUnJournalIntact()
{
    // The demonstration's rows were chained at its making.
    const int demonstration = m_base.nombre("OPERATIONS");
    QVERIFY(demonstration > 100);
    QVERIFY(!AjoutOperation(m_base.base(), 3, 0, {}, "Création de la reservation").isValid());
    QVERIFY(!AjoutOperation(m_base.base(), 3, -2.5, {}, "Café crème\r\n1 x 2,50").isValid());
    QVERIFY(!AjoutOperation(m_base.base(), 3.0, 12.5, "CHQ", "Paiement CHQ").isValid());
    const ChaineJournal::Verification verification = ChaineJournal::verifier(m_base.base());
    QVERIFY2(verification.intact, qPrintable(verification.message));
    QCOMPARE(verification.message, QStringLiteral("Journal intact"));
    QCOMPARE(verification.lignes, demonstration + 3);
    QCOMPARE(m_base.valeur("SELECT max(sequence) FROM OPERATIONS").toLongLong(), demonstration + 3);
}

void TestChaineJournal::uneAlterationEstTrouvee_data()
{
    QTest::addColumn<QString>("alteration");
    QTest::addColumn<QString>("message");

    QTest::newRow("an amount changed") << "UPDATE OPERATIONS SET prix = 0 WHERE sequence = 7"
                                       << "La ligne n° 7 du journal (réservation n° ";
    QTest::newRow("a label changed")
        << "UPDATE OPERATIONS SET libelle = libelle || '.' WHERE sequence = 12"
        << "La ligne n° 12 du journal (réservation n° ";
    QTest::newRow("a row removed") << "DELETE FROM OPERATIONS WHERE sequence = 30"
                                   << "La ligne n° 30 du journal a été supprimée.";
    QTest::newRow("a row added by hand")
        << "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) VALUES (1, "
           "'2026-12-08 10:00:00', 50, 'ESP', 'Paiement ESP')"
        << "ajoutée sans passer par le programme";
}

void TestChaineJournal::uneAlterationEstTrouvee()
{
    QFETCH(QString, alteration);
    QFETCH(QString, message);
    QVERIFY(m_base.executer(alteration));
    const ChaineJournal::Verification verification = ChaineJournal::verifier(m_base.base());
    QVERIFY(!verification.intact);
    QVERIFY2(verification.message.contains(message), qPrintable(verification.message));
}

QTEST_GUILESS_MAIN(TestChaineJournal)
#include "tst_chainejournal.moc"

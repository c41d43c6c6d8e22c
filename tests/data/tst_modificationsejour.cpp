#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/ModificationSejour.h"

#include <QtTest>

// A stay moved or stretched on the planning: the new dates, the journal's words, and a store
// that never overwrites what changed elsewhere.
class TestModificationSejour : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void lesDatesSuiventLeGeste_data();
    void lesDatesSuiventLeGeste();
    void laNoteDitAvantEtApres();
    void unSejourChangeAilleursNEstPasEcrase();

private:
    BaseEssai m_base {QStringLiteral("tst_modificationsejour")};
};

namespace {
QDateTime a(int jour, int heure)
{
    return QDateTime(QDate(2027, 8, jour), QTime(heure, 0));
}
} // namespace

void TestModificationSejour::init()
{
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
    Horloge::fixer(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
}

void TestModificationSejour::cleanup()
{
    m_base.fermer();
    Horloge::fixer(QDateTime());
}

void TestModificationSejour::lesDatesSuiventLeGeste_data()
{
    QTest::addColumn<QString>("geste"); // "deplacer", "arrivee" or "depart"
    QTest::addColumn<QDateTime>("arrivee");
    QTest::addColumn<QDateTime>("depart");
    QTest::addColumn<int>("jours");
    QTest::addColumn<bool>("possible");
    QTest::addColumn<QDateTime>("arriveeApres");
    QTest::addColumn<QDateTime>("departApres");

    QTest::newRow("A move keeps the hours")
        << "deplacer" << a(1, 14) << a(5, 10) << 2 << true << a(3, 14) << a(7, 10);
    QTest::newRow("A move keeps a missing departure missing")
        << "deplacer" << a(1, 14) << QDateTime() << -1 << true << QDateTime(a(1, 14).addDays(-1))
        << QDateTime();
    QTest::newRow("The arrival later by a day")
        << "arrivee" << a(1, 14) << a(5, 10) << 1 << true << a(2, 14) << a(5, 10);
    QTest::newRow("The arrival never past the last night")
        << "arrivee" << a(1, 14) << a(5, 10) << 9 << true << a(4, 14) << a(5, 10);
    QTest::newRow("The departure never before the first night")
        << "depart" << a(1, 14) << a(5, 10) << -9 << true << a(1, 14) << a(2, 10);
    QTest::newRow("The departure later")
        << "depart" << a(1, 14) << a(5, 10) << 3 << true << a(1, 14) << a(8, 10);
    QTest::newRow("No missing end to stretch")
        << "depart" << a(1, 14) << QDateTime() << 1 << false << QDateTime() << QDateTime();
    QTest::newRow("No stretch of a departure before its arrival")
        << "arrivee" << a(5, 14) << a(1, 10) << 1 << false << QDateTime() << QDateTime();
}

void TestModificationSejour::lesDatesSuiventLeGeste()
{
    QFETCH(QString, geste);
    QFETCH(QDateTime, arrivee);
    QFETCH(QDateTime, depart);
    QFETCH(int, jours);
    QFETCH(bool, possible);
    QFETCH(QDateTime, arriveeApres);
    QFETCH(QDateTime, departApres);
    const std::optional<ModificationSejour> modification = geste == "deplacer"
        ? std::optional(deplacement(7, 3, arrivee, depart, jours, 4))
        : etirement(7, 3, arrivee, depart, geste == "arrivee", jours);
    QCOMPARE(modification.has_value(), possible);
    if (!possible)
        return;
    QCOMPARE(modification->arriveeApres, arriveeApres);
    QCOMPARE(modification->departApres, departApres);
    QCOMPARE(modification->objetApres, geste == "deplacer" ? 4 : 3);
    // Undone, it comes back to where it was.
    const ModificationSejour retour = modification->inverse();
    QCOMPARE(retour.arriveeApres, arrivee);
    QCOMPARE(retour.departApres, depart);
    QCOMPARE(retour.objetApres, 3);
}

void TestModificationSejour::laNoteDitAvantEtApres()
{
    const ModificationSejour vers = deplacement(7, 3, a(1, 14), a(5, 10), 2, 4);
    QCOMPARE(noteDeModification(vers, "Emplacement 3", "Emplacement 4"),
             QString("Déplacement : Emplacement 3 du 01/08/2027 au 05/08/2027 → Emplacement 4 du "
                     "03/08/2027 au 07/08/2027"));
    const ModificationSejour dates = *etirement(7, 3, a(1, 14), a(5, 10), false, 1);
    QCOMPARE(noteDeModification(dates.inverse(), "Emplacement 3", "Emplacement 3", true),
             QString("Annulation : Modification des dates : du 01/08/2027 au 06/08/2027 → du "
                     "01/08/2027 au 05/08/2027"));
}

void TestModificationSejour::unSejourChangeAilleursNEstPasEcrase()
{
    QVERIFY(m_base.executer("INSERT INTO RESERVATIONS (NumeroReservation, Objet, nomclient, "
                            "DateDebut, DateFin, Etat) VALUES (7, 3, 'Peeters', "
                            "'2027-08-01 14:00:00', '2027-08-05 10:00:00', 2)"));
    const ModificationSejour vers = deplacement(7, 3, a(1, 14), a(5, 10), 2, 4);
    bool ailleurs = true;
    QVERIFY(!enregistrerModification(m_base.base(), vers, "note", &ailleurs).isValid());
    QVERIFY(!ailleurs);
    QCOMPARE(m_base.valeur("SELECT Objet || ' ' || DateDebut || ' ' || DateFin FROM RESERVATIONS")
                 .toString(),
             QString("4 2027-08-03 14:00:00 2027-08-07 10:00:00"));
    QCOMPARE(m_base
                 .valeur("SELECT count(*) FROM OPERATIONS WHERE numeroreservation = 7 AND "
                         "libelle = 'note' AND prix = 0")
                 .toInt(),
             1);

    // Changed by the dialog meanwhile: the same move again finds the stay elsewhere and leaves
    // it, with no note.
    QVERIFY(!enregistrerModification(m_base.base(), vers, "encore", &ailleurs).isValid());
    QVERIFY(ailleurs);
    QCOMPARE(m_base.valeur("SELECT DateDebut FROM RESERVATIONS").toString(),
             QString("2027-08-03 14:00:00"));
    QCOMPARE(m_base.nombre("OPERATIONS"), 1);
    // The undo of the first move does find it as the move left it.
    QVERIFY(!enregistrerModification(m_base.base(), vers.inverse(), "retour", &ailleurs).isValid());
    QVERIFY(!ailleurs);
    QCOMPARE(m_base.valeur("SELECT Objet || ' ' || DateDebut FROM RESERVATIONS").toString(),
             QString("3 2027-08-01 14:00:00"));
}

QTEST_GUILESS_MAIN(TestModificationSejour)
#include "tst_modificationsejour.moc"

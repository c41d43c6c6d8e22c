#include "commun/BaseEssai.h"
#include "data/Chevauchement.h"
#include "data/ConflitsSejour.h"

// When two stays of one object clash, and which stays of the base a typed one clashes with.
class TestChevauchement : public QObject
{
    Q_OBJECT

private slots:
    void seChevauchent_data();
    void seChevauchent();
    void conflitsDeLaBase();

private:
    BaseEssai m_base {QStringLiteral("tst_chevauchement")};
};

namespace {

// "yyyy-MM-dd HH:mm", or empty for a missing date.
QDateTime moment(const QString &texte)
{
    return QDateTime::fromString(texte, QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

void TestChevauchement::seChevauchent_data()
{
    QTest::addColumn<QString>("arriveeA");
    QTest::addColumn<QString>("departA");
    QTest::addColumn<bool>("occupeA");
    QTest::addColumn<QString>("arriveeB");
    QTest::addColumn<QString>("departB");
    QTest::addColumn<bool>("occupeB");
    QTest::addColumn<bool>("chevauchent");

    const QString a = QStringLiteral("2027-07-28 14:00"), d = QStringLiteral("2027-08-02 10:00");
    QTest::newRow("leaves at 10:00, the next comes at 14:00")
        << a << d << true << "2027-08-02 14:00"
        << "2027-08-05 10:00" << true << false;
    QTest::newRow("leaves at 15:00, the next comes at 14:00")
        << a << "2027-08-02 15:00" << true << "2027-08-02 14:00"
        << "2027-08-05 10:00" << true << true;
    QTest::newRow("touching: the next comes the minute the first leaves")
        << a << d << true << d << "2027-08-05 10:00" << true << false;
    QTest::newRow("one night each side of a shared one")
        << a << "2027-07-30 10:00" << true << "2027-07-29 14:00"
        << "2027-07-31 10:00" << true << true;
    QTest::newRow("one within the other") << a << d << true << "2027-07-30 14:00"
                                          << "2027-07-31 10:00" << true << true;
    QTest::newRow("the same span") << a << d << true << a << d << true << true;
    QTest::newRow("no departure holds on for years") << "2020-01-01 14:00"
                                                     << "" << true << a << d << true << true;
    QTest::newRow("no departure, but the other left before")
        << d << "" << true << a << d << true << false;
    QTest::newRow("no arrival is nowhere") << "" << d << true << a << d << true << false;
    QTest::newRow("departure typed before the arrival holds the days between")
        << "2027-08-05 14:00"
        << "2027-07-30 10:00" << true << a << d << true << true;
    QTest::newRow("the first does not occupy") << a << d << false << a << d << true << false;
    QTest::newRow("the second does not occupy") << a << d << true << a << d << false << false;
}

void TestChevauchement::seChevauchent()
{
    QFETCH(QString, arriveeA);
    QFETCH(QString, departA);
    QFETCH(bool, occupeA);
    QFETCH(QString, arriveeB);
    QFETCH(QString, departB);
    QFETCH(bool, occupeB);
    QFETCH(bool, chevauchent);
    const PeriodeSejour premier {moment(arriveeA), moment(departA), occupeA};
    const PeriodeSejour second {moment(arriveeB), moment(departB), occupeB};
    // Which stay was stored first must not matter.
    QCOMPARE(::seChevauchent(premier, second), chevauchent);
    QCOMPARE(::seChevauchent(second, premier), chevauchent);
}

// The seek must let through every stay the rule would keep, however its dates were typed, the
// list comes in arrival order, and years of history are not read.
void TestChevauchement::conflitsDeLaBase()
{
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
    const auto sejour = [this](const char *debut, const QVariant &fin, int etat, int objet = 1) {
        return m_base.reserver({{"DateDebut", debut},
                                {"DateFin", fin},
                                {"Etat", etat},
                                {"Objet", objet},
                                {"nomclient", "Client"}});
    };
    const QVariant sansFin(QMetaType::fromType<QString>());
    const qint64 confirme = sejour("2027-07-30 14:00:00", "2027-08-01 10:00:00", 2);
    const qint64 etatDisparu = sejour("2027-07-29 14:00:00", "2027-07-30 10:00:00", 99);
    const qint64 aLEnvers = sejour("2027-08-05 14:00:00", "2027-07-25 10:00:00", 1);
    const qint64 sansDepart = sejour("2019-05-01 14:00:00", sansFin, 3);
    const qint64 lui = sejour("2027-07-28 14:00:00", "2027-08-02 10:00:00", 2);
    sejour("2027-07-29 14:00:00", "2027-07-31 10:00:00", 5); // cancelled
    sejour("2027-07-20 14:00:00", "2027-07-28 10:00:00", 2); // left in the morning
    sejour("2027-07-29 14:00:00", "2027-07-31 10:00:00", 2, 2); // another object
    sejour("2018-01-01 14:00:00", "2018-01-05 10:00:00", 2); // history

    const QDateTime arrivee = moment("2027-07-28 14:00"), depart = moment("2027-08-02 10:00");
    QVector<ConflitsSejour::Conflit> conflits;
    QCOMPARE(
        ConflitsSejour::conflitsDe(m_base.base(), qint32(lui), 1, arrivee, depart, 2, conflits),
        QSqlError());
    QVector<qint64> numeros;
    for (const ConflitsSejour::Conflit &conflit : std::as_const(conflits))
        numeros << conflit.numero;
    QCOMPARE(numeros, (QVector<qint64> {sansDepart, etatDisparu, confirme, aLEnvers}));
    QCOMPARE(conflits.at(0).nomEtat, QStringLiteral("Arrhes reçues"));
    QCOMPARE(conflits.at(1).nomEtat, QStringLiteral("99"));
    QCOMPARE(ConflitsSejour::texteDesConflits(QStringLiteral("Emplacement 12"), conflits.mid(2, 1)),
             QStringLiteral("Ce séjour chevauche un autre séjour de « Emplacement 12 » :\n"
                            "n° %1 – Client, du 30/07/2027 14:00 au 01/08/2027 10:00 (Confirmée)\n"
                            "\nEnregistrer quand même ?")
                 .arg(confirme));

    // Typed backwards, the span is the same; in a state that frees the object, nothing clashes.
    QCOMPARE(
        ConflitsSejour::conflitsDe(m_base.base(), qint32(lui), 1, depart, arrivee, 2, conflits),
        QSqlError());
    QCOMPARE(conflits.size(), 4);
    QCOMPARE(ConflitsSejour::conflitsDe(m_base.base(), 0, 1, arrivee, depart, 5, conflits),
             QSqlError());
    QVERIFY(conflits.isEmpty());

    // Past stays are skipped only if SQLite seeks the reach in the index rather than reading
    // every stay of the object: the expression must stay the index's own.
    QSqlQuery plan(m_base.base());
    if (m_base.surServeur())
        return; // a server explains no statement with parameters; the planning's is checked
    QVERIFY(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ")
                         + QString::fromLatin1(ConflitsSejour::Requete)));
    for (const QVariant &valeur : {QVariant(1), QVariant(0), QVariant("2027-07-28 14:00:00"),
                                   QVariant("2027-08-02 10:00:00"), QVariant(2)})
        plan.addBindValue(valeur);
    QVERIFY2(plan.exec(), qPrintable(plan.lastError().text()));
    QVERIFY(plan.next());
    QCOMPARE(plan.value(3).toString(),
             QStringLiteral("SEARCH RESERVATIONS USING INDEX ReservationsParPortee (Objet=? AND "
                            "<expr>>?)"));
}

QTEST_GUILESS_MAIN(TestChevauchement)
#include "tst_chevauchement.moc"

#include "commun/BaseEssai.h"
#include "conversion/MessageErreur.h"
#include "data/AjoutOperation.h"
#include "data/NumeroReservation.h"
#include "data/TransactionEcriture.h"

// Writing to the base: the number a new reservation takes, several rows stored as one, and what
// a refused write says, in French, for the failures the engine really gives.
class TestEcritureBase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void numeroDeLaNouvelle_data();
    void numeroDeLaNouvelle();
    void toutOuRien_data();
    void toutOuRien();
    void unAutrePosteAttend();
    void refusEnFrancais_data();
    void refusEnFrancais();
    void texteSansPhrase();
    void unServeurPerduSeRetrouve();

private:
    QSqlDatabase base() const { return m_base.base(); }

    BaseEssai m_base {QStringLiteral("tst_ecriturebase")};
};

namespace {
const QString Autre = QStringLiteral("tst_ecriturebase_autre");
}

void TestEcritureBase::init()
{
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
}

void TestEcritureBase::cleanup()
{
    BaseDeDonnees::fermer(Autre);
    m_base.fermer();
}

void TestEcritureBase::numeroDeLaNouvelle_data()
{
    QTest::addColumn<QList<int>>("reservations");
    QTest::addColumn<QList<double>>("journal"); // numbers of the journal rows
    QTest::addColumn<int>("attendu");

    QTest::newRow("The first reservation of an empty base is 1")
        << QList<int>() << QList<double>() << 1;
    QTest::newRow("One more than the highest reservation")
        << QList<int> {3, 7} << QList<double> {3, 7} << 8;
    QTest::newRow("The highest reservation deleted, its account stays: its number is not given "
                  "again")
        << QList<int> {3} << QList<double> {3, 7} << 8;
    QTest::newRow("A journal row of a fractional number is passed too")
        << QList<int> {2} << QList<double> {12.5} << 13;
    QTest::newRow("Bar sales of no reservation (number 0) change nothing")
        << QList<int>() << QList<double> {0} << 1;
}

void TestEcritureBase::numeroDeLaNouvelle()
{
    QFETCH(QList<int>, reservations);
    QFETCH(QList<double>, journal);
    QFETCH(int, attendu);
    for (int numero : reservations)
        QVERIFY(m_base.reserver({{"NumeroReservation", numero}}) == numero);
    for (double numero : journal)
        QVERIFY(!AjoutOperation(base(), numero, 10, "ESP", "Paiement ESP").isValid());

    qint32 numero = -1;
    QCOMPARE(numeroDeLaNouvelleReservation(base(), numero), QSqlError());
    QCOMPARE(numero, attendu);
}

void TestEcritureBase::toutOuRien_data()
{
    QTest::addColumn<QString>("sabotage"); // SQL run before the second row
    QTest::addColumn<QString>("sabotageServeur"); // the same on a server
    QTest::addColumn<bool>("valide");
    QTest::addColumn<int>("lignes"); // reservations and journal rows afterwards

    QTest::newRow("Both rows stored") << QString() << QString() << true << 2;
    QTest::newRow("Left without validating: nothing stays") << QString() << QString() << false << 0;
    QTest::newRow("The second row refused: the first goes too")
        << "CREATE TEMP TRIGGER refus BEFORE INSERT ON OPERATIONS BEGIN "
           "SELECT RAISE(ABORT, 'journal fermé'); END"
        << "ALTER TABLE OPERATIONS ADD CONSTRAINT refus CHECK (false) NOT VALID" << true << 0;
}

void TestEcritureBase::toutOuRien()
{
    QFETCH(QString, sabotage);
    QFETCH(QString, sabotageServeur);
    QFETCH(bool, valide);
    QFETCH(int, lignes);
    {
        TransactionEcriture transaction(base());
        QCOMPARE(transaction.erreur(), QSqlError());
        QVERIFY(m_base.reserver() > 0);
        if (!sabotage.isEmpty())
            QVERIFY(m_base.executer(m_base.surServeur() ? sabotageServeur : sabotage));
        const QSqlError note = AjoutOperation(base(), 1, 0, {}, "Création de la reservation");
        if (valide && !note.isValid())
            QCOMPARE(transaction.valider(), QSqlError());
    }
    QCOMPARE(m_base.nombre("RESERVATIONS") + m_base.nombre("OPERATIONS"), lignes);
    // Whatever happened, the connection is not left inside a transaction.
    QVERIFY(base().transaction());
    QVERIFY(base().rollback());
}

// The write lock is taken at the start: another desk cannot slip its row in between the
// reading of the highest number and the writing of the new one.
void TestEcritureBase::unAutrePosteAttend()
{
    QVERIFY(!BaseDeDonnees::ouvrir(m_base.chemin(), Autre).isValid());
    const QSqlDatabase autre = QSqlDatabase::database(Autre, false);
    // Waiting for nothing: the other desk's refusal comes at once.
    const QString attente = m_base.surServeur() ? QStringLiteral("SET lock_timeout = 50")
                                                : QStringLiteral("PRAGMA busy_timeout = 0");
    QVERIFY(m_base.executer(attente));
    QSqlQuery(attente, autre).exec();

    TransactionEcriture premier(base());
    QCOMPARE(premier.erreur(), QSqlError());
    TransactionEcriture second(autre);
    QVERIFY(second.erreur().isValid());
    QCOMPARE(messageBaseEnFrancais(second.erreur()),
             QStringLiteral("La base de données est occupée par un autre poste ou un autre "
                            "programme ; réessayez dans un instant."));
    QCOMPARE(premier.valider(), QSqlError());
}

void TestEcritureBase::refusEnFrancais_data()
{
    QTest::addColumn<QString>("sabotage");
    QTest::addColumn<QString>("sabotageServeur"); // the same on a server; empty, none there
    QTest::addColumn<QString>("attendu");

    QTest::newRow("A read-only base")
        << "PRAGMA query_only = 1"
        << "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"
        << "La base de données est en lecture seule : rien ne peut y être enregistré.";
    QTest::newRow("A full disk") << "PRAGMA max_page_count = 1" << QString()
                                 << "Le disque de la base de données est plein.";
    QTest::newRow("A rule of the base refuses the row")
        << "CREATE TEMP TRIGGER refus BEFORE INSERT ON OPERATIONS BEGIN "
           "SELECT RAISE(ABORT, 'journal closed'); END"
        << "ALTER TABLE OPERATIONS ADD CONSTRAINT refus CHECK (false) NOT VALID"
        << "La base de données a refusé ces valeurs : une de ses règles l'interdit.";
}

// The same journal write refused in several ways: never a word of English.
void TestEcritureBase::refusEnFrancais()
{
    QFETCH(QString, sabotage);
    QFETCH(QString, sabotageServeur);
    QFETCH(QString, attendu);
    if (m_base.surServeur() && sabotageServeur.isEmpty())
        QSKIP("No way to fill a server's disk from a test.");
    QVERIFY(m_base.executer(m_base.surServeur() ? sabotageServeur : sabotage));
    const QSqlError erreur = AjoutOperation(base(), 1, 0, {}, QString(5000, u'x'));
    QVERIFY(erreur.isValid());
    QCOMPARE(messageBaseEnFrancais(erreur), attendu);
}

void TestEcritureBase::texteSansPhrase()
{
    // A number already taken.
    QVERIFY(m_base.reserver({{"NumeroReservation", 4}}) == 4);
    QSqlQuery doublon(base());
    QVERIFY(!doublon.exec("INSERT INTO RESERVATIONS (NumeroReservation) VALUES (4)"));
    QCOMPARE(messageBaseEnFrancais(doublon.lastError()),
             QStringLiteral("Ce numéro est déjà pris dans la base de données."));

    // A failure without a sentence keeps the engine's text, after a French one.
    QSqlQuery inconnue(base());
    QVERIFY(!inconnue.exec("SELECT * FROM CLIENTS"));
    const QString message = messageBaseEnFrancais(inconnue.lastError());
    QVERIFY2(message.startsWith(QStringLiteral("La base de données a refusé l'opération ("))
                 && (message.contains(QStringLiteral("no such table: CLIENTS"))
                     || message.contains(QStringLiteral("relation \"clients\" does not exist"))),
             qPrintable(message));

    // Our own refusals are French already.
    const QSqlError notreRefus(QStringLiteral("Aucun enregistrement en cours."), QString(),
                               QSqlError::StatementError);
    QCOMPARE(messageBaseEnFrancais(notreRefus), QStringLiteral("Aucun enregistrement en cours."));
    QCOMPARE(messageBaseEnFrancais(QSqlError()), QString());
}

// The server restarted, or the network cut, under an open connection: the next write opens it
// again instead of failing for the rest of the day.
void TestEcritureBase::unServeurPerduSeRetrouve()
{
    if (!m_base.surServeur())
        QSKIP("A file has no connection to lose.");
    const QString nom = m_base.chemin().section(u'/', -1);
    QCOMPARE(ServeurEssai::maintenance(
                 QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                "datname = '%1'")
                     .arg(nom)),
             QString());
    {
        TransactionEcriture transaction(base());
        QCOMPARE(transaction.erreur(), QSqlError());
        QVERIFY(m_base.reserver() > 0);
        QCOMPARE(transaction.valider(), QSqlError());
    }
    QCOMPARE(m_base.nombre("RESERVATIONS"), 1);

    // Cut in the middle of a save: the row written before the cut is not there, the save says
    // why in French, and the next one goes through.
    {
        TransactionEcriture transaction(base());
        QCOMPARE(transaction.erreur(), QSqlError());
        QVERIFY(m_base.reserver() > 0);
        ServeurEssai::maintenance(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                                 "pg_stat_activity WHERE datname = '%1'")
                                      .arg(nom));
        const QSqlError coupure = transaction.valider();
        QVERIFY(coupure.isValid());
        QVERIFY2(messageBaseEnFrancais(coupure).startsWith(QStringLiteral("Le serveur")),
                 qPrintable(messageBaseEnFrancais(coupure)));
    }
    {
        TransactionEcriture transaction(base());
        QCOMPARE(transaction.erreur(), QSqlError());
        QCOMPARE(transaction.valider(), QSqlError());
    }
    QCOMPARE(m_base.nombre("RESERVATIONS"), 1);
}

QTEST_GUILESS_MAIN(TestEcritureBase)
#include "tst_ecriturebase.moc"

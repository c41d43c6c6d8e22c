#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/AjoutOperation.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

namespace {
const QDateTime Maintenant(QDate(2024, 7, 12), QTime(18, 45, 30, 789));
} // namespace

class TestAjoutOperation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void codeDePaiement_data();
    void codeDePaiement();
    void ligneEcrite_data();
    void ligneEcrite();
    void compteEtHistorique();
    void memeSeconde();
    void echecSansLigne_data();
    void echecSansLigne();

private:
    QSqlDatabase base() const { return m_base.base(); }

    BaseEssai m_base {QStringLiteral("tst_ajoutoperation")};
};

void TestAjoutOperation::init()
{
    Horloge::fixer(Maintenant);
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
}

void TestAjoutOperation::cleanup()
{
    m_base.fermer();
    Horloge::fixer(QDateTime());
}

void TestAjoutOperation::codeDePaiement_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("stocke");

    QTest::newRow("An empty code is stored as three blanks") << ""
                                                             << "   ";
    QTest::newRow("A null code is stored as three blanks") << QString() << "   ";
    QTest::newRow("The card code gets one trailing blank") << "CB"
                                                           << "CB ";
    QTest::newRow("A three-letter code is stored as it is") << "CHQ"
                                                            << "CHQ";
    QTest::newRow("A longer code keeps its first three characters") << "ESPECES"
                                                                    << "ESP";
    QTest::newRow("An accented letter counts as one character") << "é"
                                                                << "é  ";
}

void TestAjoutOperation::codeDePaiement()
{
    QFETCH(QString, code);
    QFETCH(QString, stocke);

    QCOMPARE(AjoutOperation(base(), 3, 10, code, "Paiement"), QSqlError());
    Recordset jeu(base(), TextesSQL::compteDeLaReservation("3"));
    QCOMPARE(jeu.nombre(), 1);
    QCOMPARE(jeu.champ("paiement").toString(), stocke);
}

void TestAjoutOperation::ligneEcrite_data()
{
    QTest::addColumn<double>("numero");
    QTest::addColumn<double>("prix");
    QTest::addColumn<QString>("libelle");

    QTest::newRow("Two coffees at 2.50 are one charge of minus 5.00")
        << 4.0 << -(2 * 2.5) << "BAR Café crème\r\n2 x 2,5";
    QTest::newRow("A payment typed 12.50 is stored as plus 12.50") << 4.0 << 12.5 << "Paiement CB";
    QTest::newRow("A note has no amount") << 4.0 << 0.0 << "Création de la reservation";
    QTest::newRow("A label keeps its carriage return and line feed")
        << 4.0 << -3.8 << "BAR Verre de vin rouge\r\n1 x 3,8";
    QTest::newRow("An empty label is stored empty") << 4.0 << 0.0 << "";
    QTest::newRow("A large reservation number is kept") << 2147483647.0 << 1.0 << "Paiement VIR";
}

void TestAjoutOperation::ligneEcrite()
{
    QFETCH(double, numero);
    QFETCH(double, prix);
    QFETCH(QString, libelle);

    QCOMPARE(AjoutOperation(base(), numero, prix, QString(), libelle), QSqlError());

    Recordset jeu(base(), TextesSQL::toutesLesOperations);
    QCOMPARE(jeu.nombre(), 1);
    QCOMPARE(jeu.champ("numeroreservation").toDouble(), numero);
    QCOMPARE(jeu.champ("prix").toDouble(), prix);
    QCOMPARE(jeu.champ("libelle").toString(), libelle);
    // The clock's moment, to the second.
    QCOMPARE(jeu.champ("date").toDateTime(), QDateTime(Maintenant.date(), QTime(18, 45, 30)));
}

void TestAjoutOperation::compteEtHistorique()
{
    QVERIFY(!AjoutOperation(base(), 7, 0, "", "Création de la reservation").isValid());
    Horloge::fixer(Maintenant.addSecs(60));
    QVERIFY(!AjoutOperation(base(), 7, -5, "", "BAR Café crème\r\n2 x 2,5").isValid());
    Horloge::fixer(Maintenant.addSecs(120));
    QVERIFY(!AjoutOperation(base(), 7, 12.5, "CB", "Paiement CB").isValid());
    Horloge::fixer(Maintenant.addSecs(180));
    QVERIFY(!AjoutOperation(base(), 7, 0, "", "Confirmation de réservation").isValid());
    QVERIFY(!AjoutOperation(base(), 8, 100, "VIR", "Paiement VIR").isValid());

    QStringList compte;
    double solde = 0;
    Recordset jeu(base(), TextesSQL::compteDeLaReservation("7"));
    for (; !jeu.fin(); jeu.suivant()) {
        compte << jeu.champ("libelle").toString();
        solde += jeu.champ("prix").toDouble();
    }
    QCOMPARE(compte, (QStringList {"BAR Café crème\r\n2 x 2,5", "Paiement CB"}));
    QCOMPARE(solde, 7.5);

    QStringList historique;
    Recordset notes(base(), TextesSQL::historiqueDeLaReservation("7"));
    for (; !notes.fin(); notes.suivant())
        historique << notes.champ("date").toDateTime().toString("dd/MM/yy HH:mm") + " : "
                + notes.champ("libelle").toString();
    QCOMPARE(historique,
             (QStringList {"12/07/24 18:45 : Création de la reservation",
                           "12/07/24 18:48 : Confirmation de réservation"}));
}

void TestAjoutOperation::memeSeconde()
{
    QVERIFY(!AjoutOperation(base(), 9, 0, "", "Envoi contrat par Email Contrat").isValid());
    Horloge::fixer(Maintenant.addMSecs(150)); // same second, later millisecond
    QVERIFY(!AjoutOperation(base(), 9, 0, "", "Envoi contrat par Email Contrat").isValid());

    Recordset notes(base(), TextesSQL::historiqueDeLaReservation("9"));
    QCOMPARE(notes.nombre(), 2);
    const QVariant premiere = notes.champ("date");
    notes.suivant();
    QCOMPARE(notes.champ("date"), premiere);
}

void TestAjoutOperation::echecSansLigne_data()
{
    QTest::addColumn<QString>("sabotage");
    QTest::addColumn<QString>("sabotageServeur"); // the same on a server
    QTest::addColumn<int>("lignesRestantes");

    QTest::newRow("A refused row leaves no partial row")
        << "CREATE TRIGGER refus BEFORE INSERT ON OPERATIONS BEGIN "
           "SELECT RAISE(ABORT, 'journal fermé'); END"
        << "ALTER TABLE OPERATIONS ADD CONSTRAINT refus CHECK (false) NOT VALID" << 1;
    QTest::newRow("A missing journal table is reported") << "DROP TABLE OPERATIONS"
                                                         << "DROP TABLE OPERATIONS" << -1;
    QTest::newRow("A journal without its label column is reported")
        << "ALTER TABLE OPERATIONS DROP COLUMN libelle"
        << "ALTER TABLE OPERATIONS DROP COLUMN libelle" << 1;
}

void TestAjoutOperation::echecSansLigne()
{
    QFETCH(QString, sabotage);
    QFETCH(QString, sabotageServeur);
    QFETCH(int, lignesRestantes);

    QVERIFY(!AjoutOperation(base(), 1, 0, "", "Création de la reservation").isValid());
    QSqlQuery requete(base());
    QVERIFY2(requete.exec(m_base.surServeur() ? sabotageServeur : sabotage),
             qPrintable(requete.lastError().text()));

    const QSqlError erreur = AjoutOperation(base(), 1, 5, "ESP", "Paiement ESP");
    QVERIFY(erreur.isValid());
    QVERIFY(!erreur.text().isEmpty());
    QCOMPARE(m_base.nombre("OPERATIONS"), lignesRestantes);
}

QTEST_GUILESS_MAIN(TestAjoutOperation)
#include "tst_ajoutoperation.moc"

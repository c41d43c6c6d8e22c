#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "till/Encaissement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The payment dialog: a kind, an amount, a comment, one journal row.
class TestEncaissement : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.ouvrir()); }
    void cleanup() { m_base.fermer(); }

    void okAttendUnGenre();
    void paiement_data();
    void paiement();
    void montantRefuse();
    void annulerNEnregistreRien();
    void baseEnLectureSeule();

private:
    Encaissement *ouvrir(const QString &numero);
    BaseDemo m_base;
};

Encaissement *TestEncaissement::ouvrir(const QString &numero)
{
    auto *dialogue = new Encaissement(*m_base.contexte);
    dialogue->show();
    dialogue->reservation->setText(numero);
    return dialogue;
}

void TestEncaissement::okAttendUnGenre()
{
    QPointer<Encaissement> dialogue = ouvrir(QStringLiteral("7"));
    const int avant = m_base.journal(7).size();
    QVERIFY(!dialogue->OK->isEnabled());
    QCOMPARE(dialogue->montant->text(), QStringLiteral("0"));
    dialogue->OK_Click();
    QVERIFY(dialogue && dialogue->isVisible());
    QCOMPARE(dialogue->typereglemement.size(), 4);
    dialogue->typereglemement_Click(1);
    dialogue->typereglemement_Click(2); // the last choice counts
    QVERIFY(dialogue->OK->isEnabled());
    QCOMPARE(dialogue->typepaiement->text(), QStringLiteral("Chèque"));
    QCOMPARE(dialogue->montant->selectedText(), QStringLiteral("0"));
    QCOMPARE(m_base.journal(7).size(), avant);
    delete dialogue.data();
}

void TestEncaissement::paiement_data()
{
    QTest::addColumn<int>("genre");
    QTest::addColumn<QString>("montant");
    QTest::addColumn<QString>("commentaire");
    QTest::addColumn<QString>("ligne");

    QTest::newRow("a cheque with a comma, no comment") << 2 << "12,50"
                                                       << ""
                                                       << "12.5|CHQ|Paiement CHQ";
    QTest::newRow("a blank in the thousands") << 0 << "1 250,5"
                                              << ""
                                              << "1250.5|ESP|Paiement ESP";
    QTest::newRow("card code on three characters") << 1 << "30"
                                                   << ""
                                                   << "30|CB |Paiement CB";
    QTest::newRow("a word is 0") << 3 << "abc"
                                 << ""
                                 << "0|VIR|Paiement VIR";
    QTest::newRow("negative, with its own comment") << 0 << "-20"
                                                    << "Rendu monnaie"
                                                    << "-20|ESP|Rendu monnaie";
}

void TestEncaissement::paiement()
{
    QFETCH(int, genre);
    QFETCH(QString, montant);
    QFETCH(QString, commentaire);
    QFETCH(QString, ligne);
    QPointer<Encaissement> dialogue = ouvrir(QStringLiteral("7"));
    int rafraichi = 0;
    connect(dialogue, &Encaissement::compteAMettreAJour, this, [&] { ++rafraichi; });
    const int avant = m_base.journal(7).size();
    dialogue->typereglemement_Click(genre);
    dialogue->montant->setText(montant);
    dialogue->commentaire->setText(commentaire);
    dialogue->OK_Click();
    QTRY_VERIFY(dialogue.isNull());
    const QStringList journal = m_base.journal(7);
    QCOMPARE(journal.size(), avant + 1);
    QCOMPARE(journal.last(), ligne);
    QCOMPARE(rafraichi, 1);
}

void TestEncaissement::montantRefuse()
{
    QPointer<Encaissement> dialogue = ouvrir(QStringLiteral("7"));
    const int avant = m_base.journal(7).size();
    dialogue->typereglemement_Click(0);
    dialogue->montant->setText(QStringLiteral("1e999"));
    dialogue->OK_Click();
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY(dialogue && dialogue->isVisible());
    QCOMPARE(m_base.journal(7).size(), avant);
    delete dialogue.data();
}

void TestEncaissement::annulerNEnregistreRien()
{
    QPointer<Encaissement> dialogue = ouvrir(QStringLiteral("7"));
    const int avant = m_base.journal(7).size();
    dialogue->typereglemement_Click(0);
    dialogue->montant->setText(QStringLiteral("40"));
    QTest::keyClick(dialogue, Qt::Key_Escape);
    QTRY_VERIFY(dialogue.isNull());
    QCOMPARE(m_base.journal(7).size(), avant);
}

void TestEncaissement::baseEnLectureSeule()
{
    QPointer<Encaissement> dialogue = ouvrir(QStringLiteral("7"));
    const int avant = m_base.journal(7).size();
    dialogue->typereglemement_Click(2);
    dialogue->montant->setText(QStringLiteral("30"));
    QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), m_base.contexte->BasePlanning());
    dialogue->OK_Click();
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), m_base.contexte->BasePlanning());
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY(dialogue && dialogue->isVisible());
    QCOMPARE(m_base.journal(7).size(), avant);
    delete dialogue.data();
}

QTEST_MAIN(TestEncaissement)
#include "tst_encaissement.moc"

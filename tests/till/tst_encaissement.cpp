#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "till/Encaissement.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The payment dialog, used as the desk uses it: a kind pressed, an amount typed, OK or Enter.
class TestEncaissement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void okAttendUnGenre();
    void paiement_data();
    void paiement();
    void montantRefuse();
    void annulerNEnregistreRien_data();
    void annulerNEnregistreRien();
    void baseEnLectureSeule();

private:
    // The kind button a person finds by its caption.
    xpcmdbutton *genre(const QString &legende) const;
    // Keys go where the focus is when each comes, through the window, once what the last click
    // set going has run, as it has at a person's pace.
    static void taper(const QString &texte)
    {
        QTest::qWait(10);
        QTest::keyClicks(static_cast<QWidget *>(nullptr), texte);
    }
    static void toucher(Qt::Key cle, Qt::KeyboardModifiers touches = {})
    {
        QTest::qWait(10);
        QTest::keyClick(static_cast<QWidget *>(nullptr), cle, touches);
    }

    BaseDemo m_base;
    QPointer<Encaissement> m_dialogue;
    int m_rafraichi = 0;
};

namespace {
constexpr int Numero = 7;
}

void TestEncaissement::init()
{
    QVERIFY(m_base.ouvrir());
    m_dialogue = new Encaissement(*m_base.contexte);
    connect(m_dialogue, &Encaissement::compteAMettreAJour, this, [this] { ++m_rafraichi; });
    m_dialogue->show();
    m_dialogue->reservation->setText(QString::number(Numero));
    QVERIFY(QTest::qWaitForWindowActive(m_dialogue));
}

void TestEncaissement::cleanup()
{
    delete m_dialogue.data();
    m_rafraichi = 0;
    m_base.fermer();
}

xpcmdbutton *TestEncaissement::genre(const QString &legende) const
{
    for (xpcmdbutton *bouton : m_dialogue->typereglemement) {
        if (bouton->Caption() == legende && bouton->isVisible())
            return bouton;
    }
    return nullptr;
}

void TestEncaissement::okAttendUnGenre()
{
    const int avant = m_base.journal(Numero).size();
    QVERIFY(!m_dialogue->OK->isEnabled());
    QCOMPARE(m_dialogue->montant->text(), QStringLiteral("0"));
    m_dialogue->montant->setFocus();
    toucher(Qt::Key_Return);
    QVERIFY(m_dialogue && m_dialogue->isVisible());

    QCOMPARE(m_dialogue->typereglemement.size(), 4);
    QTest::mouseClick(genre(QStringLiteral("Carte Bleue")), Qt::LeftButton);
    QTest::mouseClick(genre(QStringLiteral("Chèque")), Qt::LeftButton); // the last choice counts
    QVERIFY(m_dialogue->OK->isEnabled());
    QCOMPARE(m_dialogue->typepaiement->text(), QStringLiteral("Chèque"));
    QCOMPARE(QApplication::focusWidget(), m_dialogue->montant);
    QCOMPARE(m_dialogue->montant->selectedText(), QStringLiteral("0"));
    QCOMPARE(m_base.journal(Numero).size(), avant);
}

void TestEncaissement::paiement_data()
{
    QTest::addColumn<QString>("legende"); // of the kind pressed
    QTest::addColumn<QString>("montant");
    QTest::addColumn<QString>("commentaire");
    QTest::addColumn<QString>("validation"); // "OK" pressed, "Entrée" or "Entrée du pavé"
    QTest::addColumn<QString>("ligne");

    QTest::newRow("a cheque with a comma, no comment") << "Chèque"
                                                       << "12,50"
                                                       << ""
                                                       << "OK"
                                                       << "12.5|CHQ|Paiement CHQ";
    QTest::newRow("Enter presses OK") << "Chèque"
                                      << "12,50"
                                      << ""
                                      << "Entrée"
                                      << "12.5|CHQ|Paiement CHQ";
    QTest::newRow("the keypad's Enter presses OK") << "Chèque"
                                                   << "12,50"
                                                   << ""
                                                   << "Entrée du pavé"
                                                   << "12.5|CHQ|Paiement CHQ";
    QTest::newRow("a blank in the thousands") << "Espèces"
                                              << "1 250,5"
                                              << ""
                                              << "OK"
                                              << "1250.5|ESP|Paiement ESP";
    QTest::newRow("card code on three characters") << "Carte Bleue"
                                                   << "30"
                                                   << ""
                                                   << "OK"
                                                   << "30|CB |Paiement CB";
    QTest::newRow("a word is 0") << "Virement"
                                 << "abc"
                                 << ""
                                 << "OK"
                                 << "0|VIR|Paiement VIR";
    QTest::newRow("negative, with its own comment, Enter from the comment")
        << "Espèces"
        << "-20"
        << "Rendu monnaie"
        << "Entrée"
        << "-20|ESP|Rendu monnaie";
}

void TestEncaissement::paiement()
{
    QFETCH(QString, legende);
    QFETCH(QString, montant);
    QFETCH(QString, commentaire);
    QFETCH(QString, validation);
    QFETCH(QString, ligne);
    const int avant = m_base.journal(Numero).size();

    xpcmdbutton *bouton = genre(legende);
    QVERIFY2(bouton, qPrintable(legende));
    QTest::mouseClick(bouton, Qt::LeftButton);
    QCOMPARE(m_dialogue->typepaiement->text(), legende);
    taper(montant);
    if (!commentaire.isEmpty()) {
        QTest::mouseClick(m_dialogue->commentaire, Qt::LeftButton);
        taper(commentaire);
    }
    if (validation == "OK")
        QTest::mouseClick(m_dialogue->OK, Qt::LeftButton);
    else if (validation == "Entrée")
        toucher(Qt::Key_Return);
    else
        toucher(Qt::Key_Enter, Qt::KeypadModifier);
    QTRY_VERIFY(m_dialogue.isNull());
    const QStringList journal = m_base.journal(Numero);
    QCOMPARE(journal.size(), avant + 1);
    QCOMPARE(journal.last(), ligne);
    QCOMPARE(m_rafraichi, 1);
}

void TestEncaissement::montantRefuse()
{
    const int avant = m_base.journal(Numero).size();
    QTest::mouseClick(genre(QStringLiteral("Espèces")), Qt::LeftButton);
    taper(QStringLiteral("1e999"));
    QTest::mouseClick(m_dialogue->OK, Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    // In French, not in the engine's words.
    QVERIFY(!BoiteMessage::messagesAffiches().first().contains(QStringLiteral("readonly")));
    QVERIFY(m_dialogue && m_dialogue->isVisible());
    QCOMPARE(m_base.journal(Numero).size(), avant);
}

void TestEncaissement::annulerNEnregistreRien_data()
{
    QTest::addColumn<QString>("geste");

    QTest::newRow("Annuler pressed") << "Annuler";
    QTest::newRow("Escape") << "Échap";
    QTest::newRow("Enter on Annuler reached with Tab") << "Tab puis Entrée";
}

void TestEncaissement::annulerNEnregistreRien()
{
    QFETCH(QString, geste);
    const int avant = m_base.journal(Numero).size();
    QTest::mouseClick(genre(QStringLiteral("Espèces")), Qt::LeftButton);
    taper(QStringLiteral("40"));
    if (geste == "Annuler") {
        QTest::mouseClick(m_dialogue->Annuler, Qt::LeftButton);
    } else if (geste == "Échap") {
        toucher(Qt::Key_Escape);
    } else {
        // From the amount: the comment, OK, then Annuler.
        for (int i = 0; i < 3; ++i)
            toucher(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_dialogue->Annuler);
        toucher(Qt::Key_Return);
    }
    QTRY_VERIFY(m_dialogue.isNull());
    QCOMPARE(m_base.journal(Numero).size(), avant);
    QCOMPARE(m_rafraichi, 0);
}

void TestEncaissement::baseEnLectureSeule()
{
    const int avant = m_base.journal(Numero).size();
    QTest::mouseClick(genre(QStringLiteral("Chèque")), Qt::LeftButton);
    taper(QStringLiteral("30"));
    QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), m_base.contexte->BasePlanning());
    QTest::mouseClick(m_dialogue->OK, Qt::LeftButton);
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), m_base.contexte->BasePlanning());
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    // In French, not in the engine's words.
    QVERIFY(!BoiteMessage::messagesAffiches().first().contains(QStringLiteral("readonly")));
    QVERIFY(m_dialogue && m_dialogue->isVisible());
    QCOMPARE(m_base.journal(Numero).size(), avant);
}

QTEST_MAIN(TestEncaissement)
#include "tst_encaissement.moc"

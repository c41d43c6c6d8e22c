#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "till/BAR.h"
#include "till/Encaissement.h"
#include "till/TicketDeCaisse.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

// The bar window on the demo's 25 articles: layout, quantities, the strip and the account.
class TestBAR : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.ouvrir()); }
    void cleanup();

    void articlesEnRangeesDeDix();
    void nomSurDeuxLignes();
    void premiereVenteUneUnite();
    void quantiteSaisie_data();
    void quantiteSaisie();
    void quantiteHorsBornes();
    void toucheSurUnArticle();
    void paiementEtFermeture();
    void sansArticles();
    void baseEnLectureSeule();

private:
    BAR *ouvrir();
    int article(const QString &nom) const;
    BaseDemo m_base;
    QPointer<BAR> m_bar;
};

namespace {
constexpr int Numero = 7;
}

void TestBAR::cleanup()
{
    for (QWidget *fenetre : QApplication::topLevelWidgets()) {
        if (qobject_cast<Encaissement *>(fenetre))
            fenetre->deleteLater();
    }
    delete m_bar.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_base.fermer();
}

BAR *TestBAR::ouvrir()
{
    m_bar = new BAR(*m_base.contexte);
    m_bar->show();
    m_bar->totaldu = 0;
    m_bar->reservation->setText(QString::number(Numero));
    return m_bar;
}

int TestBAR::article(const QString &nom) const
{
    for (int i = 0; i < m_bar->Consommation.size(); ++i) {
        if (m_bar->Consommation[i]->Caption() == nom)
            return i;
    }
    return -1;
}

void TestBAR::articlesEnRangeesDeDix()
{
    ouvrir();
    QCOMPARE(m_bar->Consommation.size(), 25);
    QList<int> parRangee;
    int haut = -1;
    for (const xpcmdbutton *bouton : m_bar->Consommation) {
        if (bouton->y() != haut) {
            QVERIFY(bouton->y() > haut);
            QCOMPARE(bouton->x(), m_bar->Consommation[0]->x());
            haut = bouton->y();
            parRangee << 0;
        }
        ++parRangee.last();
    }
    QCOMPARE(parRangee, (QList<int> {10, 10, 5}));
    // Family order: the hot drinks first, the snacks last.
    QCOMPARE(m_bar->Consommation.first()->Caption(), QStringLiteral("Café"));
    QCOMPARE(m_bar->Consommation.last()->Caption(), QStringLiteral("Gaufre"));
    QCOMPARE(m_bar->afficheur->text(), QStringLiteral("1"));
    QCOMPARE(m_bar->R->text(), QString());
}

void TestBAR::nomSurDeuxLignes()
{
    ouvrir();
    const int cafe = article(QStringLiteral("Café\r\ncrème"));
    QVERIFY(cafe >= 0);
    QCOMPARE(m_bar->Consommation[cafe]->property("Tag").toString(), QStringLiteral("2,5"));
    m_bar->Consommation_MouseMove(cafe);
    QCOMPARE(m_bar->infos->text(), QStringLiteral("Café crème : 2,50 €"));
    m_bar->Consommation_Click(cafe);
    QCOMPARE(m_base.journal(Numero).last(), QStringLiteral("-2.5|   |BAR Café crème\r\n1 x 2,5"));
}

void TestBAR::premiereVenteUneUnite()
{
    ouvrir();
    const int hauteur = m_bar->Ticket->hauteurRuban();
    m_bar->Consommation_Click(article(QStringLiteral("Café")));
    QCOMPARE(m_bar->totaldu, 1.5);
    QCOMPARE(m_bar->afficheur->text(), QStringLiteral("1,50 €"));
    QCOMPARE(m_bar->R->text(), QStringLiteral("Total"));
    QVERIFY(m_bar->Ticket->hauteurRuban() > hauteur);
    // In total mode the next click sells one more.
    m_bar->Consommation_Click(article(QStringLiteral("Thé")));
    QCOMPARE(m_bar->totaldu, 3.5);
    QCOMPARE(m_base.journal(Numero).last(), QStringLiteral("-2|   |BAR Thé\r\n1 x 2"));
}

void TestBAR::quantiteSaisie_data()
{
    QTest::addColumn<QString>("saisie");
    QTest::addColumn<QString>("ligne");

    QTest::newRow("three") << "3"
                           << "-7.5|   |BAR Soda 33 cl\r\n3 x 2,5";
    QTest::newRow("a comma ends the number") << "2,5"
                                             << "-5|   |BAR Soda 33 cl\r\n2 x 2,5";
    QTest::newRow("a half rounds to even") << "3.5"
                                           << "-10|   |BAR Soda 33 cl\r\n4 x 2,5";
    QTest::newRow("no number sells none") << "abc"
                                          << "0|   |BAR Soda 33 cl\r\n0 x 2,5";
}

void TestBAR::quantiteSaisie()
{
    QFETCH(QString, saisie);
    QFETCH(QString, ligne);
    ouvrir();
    m_bar->afficheur_GotFocus();
    m_bar->afficheur->setText(saisie);
    m_bar->Consommation_Click(article(QStringLiteral("Soda\r\n33\r\ncl")));
    QCOMPARE(m_base.journal(Numero).last(), ligne);
}

void TestBAR::quantiteHorsBornes()
{
    ouvrir();
    const int avant = m_base.journal(Numero).size();
    const int hauteur = m_bar->Ticket->hauteurRuban();
    m_bar->afficheur->setText(QStringLiteral("99999999"));
    m_bar->Consommation_Click(article(QStringLiteral("Café")));
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QCOMPARE(m_base.journal(Numero).size(), avant);
    QCOMPARE(m_bar->Ticket->hauteurRuban(), hauteur);
    QCOMPARE(m_bar->totaldu, 0.0);
}

void TestBAR::toucheSurUnArticle()
{
    ouvrir();
    m_bar->Consommation_Click(0); // total mode
    m_bar->Consommation_KeyPress(3, '4');
    QCOMPARE(m_bar->afficheur->text(), QStringLiteral("4"));
    QCOMPARE(m_bar->R->text(), QString());
}

void TestBAR::paiementEtFermeture()
{
    ouvrir();
    int rafraichi = 0;
    connect(m_bar, &BAR::compteAMettreAJour, this, [&] { ++rafraichi; });
    m_bar->encaissemnt_Click();
    Encaissement *paiement = nullptr;
    for (QWidget *fenetre : QApplication::topLevelWidgets()) {
        if (auto *trouve = qobject_cast<Encaissement *>(fenetre))
            paiement = trouve;
    }
    QVERIFY(paiement);
    QCOMPARE(paiement->reservation->text(), QString::number(Numero));
    paiement->typereglemement_Click(0);
    paiement->montant->setText(QStringLiteral("5"));
    paiement->OK_Click();
    QCOMPARE(rafraichi, 1);
    QCOMPARE(m_base.journal(Numero).last(), QStringLiteral("5|ESP|Paiement ESP"));
    m_bar->Quitter_Click();
    QCOMPARE(rafraichi, 2);
    QTRY_VERIFY(m_bar.isNull());
}

// With no article the window still opens, with its one design-time button, which sells nothing.
void TestBAR::sansArticles()
{
    QSqlQuery(QStringLiteral("delete from CONSOMMATIONS"), m_base.contexte->BasePlanning());
    const int avant = m_base.journal(Numero).size();
    ouvrir();
    QCOMPARE(m_bar->Consommation.size(), 1);
    m_bar->Consommation_Click(0);
    QCOMPARE(m_base.journal(Numero).size(), avant);
    QCOMPARE(m_bar->totaldu, 0.0);
}

// A sale the file refuses is said, and neither printed nor totalled.
void TestBAR::baseEnLectureSeule()
{
    ouvrir();
    const int hauteur = m_bar->Ticket->hauteurRuban();
    QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), m_base.contexte->BasePlanning());
    m_bar->Consommation_Click(0);
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), m_base.contexte->BasePlanning());
    const QStringList messages = BoiteMessage::messagesAffiches();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().startsWith(QStringLiteral("La vente n'a pas pu être portée")));
    QCOMPARE(m_bar->Ticket->hauteurRuban(), hauteur);
    QCOMPARE(m_bar->totaldu, 0.0);
    QCOMPARE(m_bar->R->text(), QString());
}

QTEST_MAIN(TestBAR)
#include "tst_bar.moc"

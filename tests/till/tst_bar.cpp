#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "till/BAR.h"
#include "till/Encaissement.h"
#include "till/TicketDeCaisse.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

// The bar window on the demo's 25 articles, used with the mouse and the keyboard: layout,
// quantities, the strip and the account.
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
    void paiementEtFermeture();
    void sansArticles_data();
    void sansArticles();
    void baseEnLectureSeule();

private:
    void ouvrir();
    // The article button a person finds by its caption.
    BoutonEclaire *article(const QString &legende) const;
    bool vendre(const QString &legende) const;
    // What the strip shows once these lines are printed on a fresh one of the same size.
    QImage ruban(const QStringList &lignes) const;
    // Keys go where the focus is when each comes, through the window, each one's events run
    // before the next; typing starts once what the last click set going has run, as it has at a
    // person's pace.
    static void taper(const QString &texte)
    {
        QTest::qWait(10);
        QTest::keyClicks(static_cast<QWidget *>(nullptr), texte);
    }

    BaseDemo m_base;
    QPointer<BAR> m_bar;
};

namespace {
constexpr int Numero = 7;

template<typename Fenetre> Fenetre *fenetreOuverte()
{
    for (QWidget *fenetre : QApplication::topLevelWidgets()) {
        if (auto *trouvee = qobject_cast<Fenetre *>(fenetre); trouvee && trouvee->isVisible())
            return trouvee;
    }
    return nullptr;
}
} // namespace

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

void TestBAR::ouvrir()
{
    m_bar = new BAR(*m_base.contexte);
    m_bar->show();
    m_bar->totaldu = 0;
    m_bar->reservation->setText(QString::number(Numero));
    QVERIFY(QTest::qWaitForWindowActive(m_bar));
}

BoutonEclaire *TestBAR::article(const QString &legende) const
{
    for (BoutonEclaire *bouton : m_bar->Consommation) {
        if (bouton->Caption() == legende && bouton->isVisible())
            return bouton;
    }
    return nullptr;
}

bool TestBAR::vendre(const QString &legende) const
{
    BoutonEclaire *bouton = article(legende);
    if (!bouton)
        return false;
    QTest::mouseClick(bouton, Qt::LeftButton);
    return true;
}

QImage TestBAR::ruban(const QStringList &lignes) const
{
    TicketDeCaisse attendu;
    attendu.setFont(m_bar->Ticket->font());
    attendu.resize(m_bar->Ticket->size());
    attendu.init();
    for (const QString &ligne : lignes)
        attendu.AjoutTexte(ligne);
    return attendu.imageRuban();
}

void TestBAR::articlesEnRangeesDeDix()
{
    ouvrir();
    QCOMPARE(m_bar->Consommation.size(), 25);
    QList<int> parRangee;
    int haut = -1;
    for (const xpcmdbutton *bouton : m_bar->Consommation) {
        QVERIFY(bouton->isVisible());
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
    QVERIFY(m_bar->aucunArticle->isHidden());
    QCOMPARE(QApplication::focusWidget(), m_bar->afficheur);
    QCOMPARE(m_bar->afficheur->text(), QStringLiteral("1"));
    QCOMPARE(m_bar->R->text(), QString());
}

void TestBAR::nomSurDeuxLignes()
{
    ouvrir();
    BoutonEclaire *cafe = article(QStringLiteral("Café\r\ncrème"));
    QVERIFY(cafe);
    QCOMPARE(cafe->property("Tag").toString(), QStringLiteral("2,5"));
    // The headless screen is narrower than the panel, this button lies off it: the pointer
    // cannot be put there, so the move comes as the window would hand it over.
    QMouseEvent survol(QEvent::MouseMove, QPointF(20, 20), cafe->mapToGlobal(QPointF(20, 20)),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(cafe, &survol);
    QCOMPARE(m_bar->infos->text(), QStringLiteral("Café crème : 2,50 €"));
    QTest::mouseClick(cafe, Qt::LeftButton);
    QCOMPARE(m_base.journal(Numero).last(), QStringLiteral("-2.5|   |BAR Café crème\r\n1 x 2,5"));
    QCOMPARE(m_bar->Ticket->imageRuban(), ruban({"Café crème", "1 x 2,5 = 2,50 €"}));
}

void TestBAR::premiereVenteUneUnite()
{
    ouvrir();
    QVERIFY(vendre(QStringLiteral("Café")));
    QCOMPARE(m_bar->totaldu, 1.5);
    QCOMPARE(m_bar->afficheur->text(), QStringLiteral("1,50 €"));
    QCOMPARE(m_bar->R->text(), QStringLiteral("Total"));
    // In total mode the next click sells one more.
    QVERIFY(vendre(QStringLiteral("Thé")));
    QCOMPARE(m_bar->totaldu, 3.5);
    QCOMPARE(m_base.journal(Numero).last(), QStringLiteral("-2|   |BAR Thé\r\n1 x 2"));
    // Each sale prints its name, then what it comes to.
    QCOMPARE(m_bar->Ticket->imageRuban(),
             ruban({"Café", "1 x 1,5 = 1,50 €", "Thé", "1 x 2 = 2,00 €"}));
}

void TestBAR::quantiteSaisie_data()
{
    QTest::addColumn<bool>("surLesArticles"); // typed on an article button, not in the display
    QTest::addColumn<QString>("saisie");
    QTest::addColumn<QString>("ligne");

    QTest::newRow("three in the display") << false << "3"
                                          << "-7.5|   |BAR Soda 33 cl\r\n3 x 2,5";
    QTest::newRow("twelve in the display") << false << "12"
                                           << "-30|   |BAR Soda 33 cl\r\n12 x 2,5";
    QTest::newRow("twelve typed on the articles keeps both digits")
        << true << "12"
        << "-30|   |BAR Soda 33 cl\r\n12 x 2,5";
    QTest::newRow("a comma ends the number") << false << "2,5"
                                             << "-5|   |BAR Soda 33 cl\r\n2 x 2,5";
    QTest::newRow("a half rounds to even") << true << "3.5"
                                           << "-10|   |BAR Soda 33 cl\r\n4 x 2,5";
    QTest::newRow("no number sells none") << false << "abc"
                                          << "0|   |BAR Soda 33 cl\r\n0 x 2,5";
}

void TestBAR::quantiteSaisie()
{
    QFETCH(bool, surLesArticles);
    QFETCH(QString, saisie);
    QFETCH(QString, ligne);
    ouvrir();
    // A sale first, so that the display shows the total: the quantity typed must replace it.
    QVERIFY(vendre(QStringLiteral("Café")));
    if (surLesArticles)
        QCOMPARE(QApplication::focusWidget(), article(QStringLiteral("Café")));
    else
        QTest::mouseClick(m_bar->afficheur, Qt::LeftButton);
    taper(saisie);
    QCOMPARE(m_bar->afficheur->text(), saisie);
    QCOMPARE(m_bar->R->text(), QString());
    QVERIFY(vendre(QStringLiteral("Soda\r\n33\r\ncl")));
    QCOMPARE(m_base.journal(Numero).last(), ligne);
}

void TestBAR::quantiteHorsBornes()
{
    ouvrir();
    const int avant = m_base.journal(Numero).size();
    const QImage vide = m_bar->Ticket->imageRuban();
    QTest::mouseClick(m_bar->afficheur, Qt::LeftButton);
    taper(QStringLiteral("99999999"));
    QVERIFY(vendre(QStringLiteral("Café")));
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QCOMPARE(m_base.journal(Numero).size(), avant);
    QCOMPARE(m_bar->Ticket->imageRuban(), vide);
    QCOMPARE(m_bar->totaldu, 0.0);
}

void TestBAR::paiementEtFermeture()
{
    ouvrir();
    int rafraichi = 0;
    connect(m_bar, &BAR::compteAMettreAJour, this, [&] { ++rafraichi; });
    QCOMPARE(m_bar->encaissemnt->Caption(), QStringLiteral("€"));
    QTest::mouseClick(m_bar->encaissemnt, Qt::LeftButton);
    QPointer<Encaissement> paiement = fenetreOuverte<Encaissement>();
    QVERIFY(paiement);
    QCOMPARE(paiement->reservation->text(), QString::number(Numero));
    QVERIFY(QTest::qWaitForWindowActive(paiement));
    QTest::mouseClick(paiement->typereglemement[0], Qt::LeftButton);
    taper(QStringLiteral("5"));
    QTest::mouseClick(paiement->OK, Qt::LeftButton);
    QCOMPARE(rafraichi, 1);
    QCOMPARE(m_base.journal(Numero).last(), QStringLiteral("5|ESP|Paiement ESP"));
    QTRY_VERIFY(paiement.isNull());

    QCOMPARE(m_bar->Quitter->Caption(), QStringLiteral("Fermer"));
    QTest::mouseClick(m_bar->Quitter, Qt::LeftButton);
    QCOMPARE(rafraichi, 2);
    QTRY_VERIFY(m_bar.isNull());
}

void TestBAR::sansArticles_data()
{
    QTest::addColumn<QString>("sql");

    QTest::newRow("no article in the table") << "delete from CONSOMMATIONS";
    QTest::newRow("no table of articles at all") << "drop table CONSOMMATIONS";
}

// The desk is told there is nothing to sell, and no button stands for an article.
void TestBAR::sansArticles()
{
    QFETCH(QString, sql);
    QSqlQuery requete(m_base.contexte->BasePlanning());
    QVERIFY2(requete.exec(sql), qPrintable(requete.lastError().text()));
    ouvrir();
    QVERIFY(m_bar->Consommation.isEmpty());
    QVERIFY(m_bar->aucunArticle->isVisible());
    QCOMPARE(m_bar->aucunArticle->text(),
             QStringLiteral("Aucun article n'est enregistré pour le bar."));
    for (const xpcmdbutton *bouton : m_bar->findChildren<xpcmdbutton *>()) {
        QVERIFY(!qobject_cast<const BoutonEclaire *>(bouton) || !bouton->isVisible());
        QVERIFY(bouton->Caption() != QStringLiteral("xpcmdbutton"));
    }
}

// A sale the file refuses is said, and neither printed nor totalled.
void TestBAR::baseEnLectureSeule()
{
    ouvrir();
    const QImage vide = m_bar->Ticket->imageRuban();
    QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), m_base.contexte->BasePlanning());
    QVERIFY(vendre(QStringLiteral("Café")));
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), m_base.contexte->BasePlanning());
    const QStringList messages = BoiteMessage::messagesAffiches();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().startsWith(QStringLiteral("La vente n'a pas pu être portée")));
    QVERIFY(!messages.first().contains(QStringLiteral("readonly")));
    QCOMPARE(m_bar->Ticket->imageRuban(), vide);
    QCOMPARE(m_bar->totaldu, 0.0);
    QCOMPARE(m_bar->R->text(), QString());
}

QTEST_MAIN(TestBAR)
#include "tst_bar.moc"

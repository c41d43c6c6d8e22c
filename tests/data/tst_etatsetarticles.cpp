#include "commun/BaseEssai.h"
#include "data/ArticlesBar.h"
#include "data/EtatsEtablissement.h"

// The states and the bar articles the owner keeps in the settings: what a typed value gives,
// and every write checked in the file.
class TestEtatsEtArticles : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec())); }
    void cleanup() { m_base.fermer(); }

    void lecture_data();
    void lecture();
    void etatAjouteRenommeSupprime();
    void suppressionRefusee_data();
    void suppressionRefusee();
    void articleAuCentimePres();

private:
    BaseEssai m_base {QStringLiteral("tst_etatsetarticles")};
};

void TestEtatsEtArticles::lecture_data()
{
    QTest::addColumn<char>("quoi"); // p: price, t: VAT rate, c: state code
    QTest::addColumn<QString>("texte");
    QTest::addColumn<qint64>("attendu"); // -1: refused

    QTest::newRow("A comma price") << 'p' << "2,5" << qint64(250);
    QTest::newRow("A point price") << 'p' << "2.50" << qint64(250);
    QTest::newRow("A free article") << 'p' << "0" << qint64(0);
    QTest::newRow("Blanks around a price") << 'p' << "  3 " << qint64(300);
    QTest::newRow("A price as the table shows it") << 'p' << "2,50 €" << qint64(250);
    QTest::newRow("Cents counted on the digits, not through a double")
        << 'p' << "0,29" << qint64(29);
    QTest::newRow("The highest price") << 'p' << "99999,99" << qint64(9999999);
    QTest::newRow("No fraction of a cent") << 'p' << "1,234" << qint64(-1);
    QTest::newRow("No negative price") << 'p' << "-1" << qint64(-1);
    QTest::newRow("No letters") << 'p' << "abc" << qint64(-1);
    QTest::newRow("No price past 99 999,99") << 'p' << "100000" << qint64(-1);
    QTest::newRow("The reduced rate") << 't' << "5,5 %" << qint64(550);
    QTest::newRow("A rate without its sign") << 't' << "20" << qint64(2000);
    QTest::newRow("A rate of two decimals") << 't' << "19.25" << qint64(1925);
    QTest::newRow("No rate past 100 %") << 't' << "100,01" << qint64(-1);
    QTest::newRow("No rate of three decimals") << 't' << "5,555" << qint64(-1);
    QTest::newRow("A code") << 'c' << " 7 " << qint64(7);
    QTest::newRow("No code past 32 bits") << 'c' << "2147483648" << qint64(-1);
    QTest::newRow("No code zero") << 'c' << "0" << qint64(-1);
    QTest::newRow("No decimal code") << 'c' << "1,5" << qint64(-1);
}

void TestEtatsEtArticles::lecture()
{
    QFETCH(char, quoi);
    QFETCH(QString, texte);
    QFETCH(qint64, attendu);

    qint64 valeur = 0;
    QString refus;
    if (quoi == 'c') {
        const EtatsEtablissement::LectureCode lu = EtatsEtablissement::lireCode(texte);
        valeur = lu.code;
        refus = lu.refus;
    } else {
        const ArticlesBar::LectureNombre lu
            = quoi == 'p' ? ArticlesBar::lirePrix(texte) : ArticlesBar::lireTaux(texte);
        valeur = lu.valeur;
        refus = lu.refus;
    }
    QCOMPARE(refus.isEmpty(), attendu >= 0);
    if (attendu >= 0)
        QCOMPARE(valeur, attendu);
    else
        QVERIFY2(refus.startsWith(u'L') && refus.endsWith(u'.'), qPrintable(refus));
}

void TestEtatsEtArticles::etatAjouteRenommeSupprime()
{
    const QSqlDatabase base = m_base.base();
    const QString nom = QStringLiteral("L'état \"<b>x</b>'); DROP TABLE ETATS; --");
    EtatsEtablissement::NouvelEtat etat {42, nom, 0x00123456, true, false};
    QVERIFY(EtatsEtablissement::ajouterEtat(base, etat).reussie());
    // At the end of the list, byte for byte.
    QCOMPARE(m_base
                 .valeur("SELECT Code || '|' || Nom || '|' || CouleurPrincipale || '|' || "
                         "surinternet || '|' || occupe FROM ETATS ORDER BY rowid DESC LIMIT 1")
                 .toString(),
             QStringLiteral("42|%1|%2|1|0").arg(nom).arg(0x00123456));
    etat.nom = QStringLiteral("Autre");
    QCOMPARE(EtatsEtablissement::ajouterEtat(base, etat).refus,
             QStringLiteral("Le code 42 est déjà celui de l'état « %1 ».").arg(nom));

    QVERIFY(
        EtatsEtablissement::renommerEtat(base, 42, QStringLiteral("Liste d'attente")).reussie());
    QVERIFY(!EtatsEtablissement::renommerEtat(base, 42, QString(61, u'x')).reussie());
    QVERIFY(!EtatsEtablissement::renommerEtat(base, 42, QStringLiteral("a\nb")).reussie());
    QVERIFY(!EtatsEtablissement::renommerEtat(base, 43, QStringLiteral("Personne")).reussie());
    QCOMPARE(EtatsEtablissement::nomDeLEtat(base, 42), QStringLiteral("Liste d'attente"));

    QVERIFY(EtatsEtablissement::fixerOccupe(base, 42, true).reussie());
    QCOMPARE(m_base.valeur("SELECT occupe FROM ETATS WHERE Code = 42").toInt(), 1);
    QVERIFY(EtatsEtablissement::supprimerEtat(base, 42).reussie());
    QCOMPARE(m_base.nombre("ETATS WHERE Code = 42"), 0);
    QCOMPARE(m_base.nombre("ETATS"), 5);
}

void TestEtatsEtArticles::suppressionRefusee_data()
{
    QTest::addColumn<int>("sejours");
    QTest::addColumn<int>("etatsGardes");
    QTest::addColumn<QString>("refus");

    QTest::newRow("A state of 23 stays stays")
        << 23 << 5
        << "L'état « Option » est celui de 23 séjours : il ne peut pas être supprimé. "
           "Renommez-le ou changez l'état de ces séjours.";
    QTest::newRow("A state of one stay stays")
        << 1 << 5
        << "L'état « Option » est celui d'un séjour : il ne peut pas être supprimé. "
           "Renommez-le ou changez l'état de ce séjour.";
    QTest::newRow("The last state stays")
        << 0 << 1
        << "Il faut garder au moins un état : les nouvelles réservations prennent le premier.";
}

void TestEtatsEtArticles::suppressionRefusee()
{
    QFETCH(int, sejours);
    QFETCH(int, etatsGardes);
    QFETCH(QString, refus);

    QVERIFY(m_base.executer(
        QStringLiteral("DELETE FROM ETATS WHERE rowid > (SELECT min(rowid) FROM ETATS) + %1")
            .arg(etatsGardes - 1)));
    for (int i = 0; i < sejours; ++i)
        QVERIFY(m_base.reserver({{QStringLiteral("Etat"), 1}}) > 0);
    QCOMPARE(EtatsEtablissement::refusDeSuppression(m_base.base(), 1).refus, refus);
    QCOMPARE(EtatsEtablissement::supprimerEtat(m_base.base(), 1).refus, refus);
    QCOMPARE(m_base.nombre("ETATS"), etatsGardes);
}

void TestEtatsEtArticles::articleAuCentimePres()
{
    const QSqlDatabase base = m_base.base();
    ArticlesBar::Article article {0, QStringLiteral("Boissons chaudes"),
                                  QStringLiteral("Aaa « café » 'noir'"), 29, 550};
    QVERIFY(!ArticlesBar::ajouterArticle(base, article).isValid());
    QVERIFY(article.rowid > 0);
    QString ligne = QStringLiteral("SELECT prixTTC = 0.29, TauxTVA, Libelle FROM "
                                   "CONSOMMATIONS WHERE rowid = %1")
                        .arg(article.rowid);
    QCOMPARE(m_base.valeur(ligne).toInt(), 1);
    QVector<ArticlesBar::Article> articles;
    QVERIFY(!ArticlesBar::lireArticles(base, articles).isValid());
    QCOMPARE(articles.first().libelle, article.libelle); // first of the first family
    QCOMPARE(articles.first().centimes, 29);

    article.centimes = 9999999;
    article.tauxTva = 2000;
    QVERIFY(!ArticlesBar::modifierArticle(base, article).isValid());
    QCOMPARE(m_base.valeur(ligne.replace("0.29", "99999.99")).toInt(), 1);
    article.libelle.clear();
    QVERIFY(ArticlesBar::modifierArticle(base, article).isValid());
    QCOMPARE(m_base
                 .valeur(QStringLiteral("SELECT TauxTVA FROM CONSOMMATIONS WHERE rowid = %1")
                             .arg(article.rowid))
                 .toInt(),
             2000);
    QVERIFY(!ArticlesBar::supprimerArticle(base, article.rowid).isValid());
    QVERIFY(ArticlesBar::supprimerArticle(base, article.rowid).isValid()); // gone already
}

QTEST_GUILESS_MAIN(TestEtatsEtArticles)
#include "tst_etatsetarticles.moc"

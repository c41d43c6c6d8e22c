#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "settings/OngletArticles.h"
#include "till/BAR.h"
#include "till/Caisse.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

// The bar's articles in the settings, used through their buttons; checked in the base and in
// the bar window, which reads them as it always has.
class TestOngletArticles : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.ouvrir()); }
    void cleanup() { m_base.fermer(); }

    void ajouterModifierSupprimer();
    void saisieRefusee_data();
    void saisieRefusee();
    void unArticleChangeAUnAutrePoste_data();
    void unArticleChangeAUnAutrePoste();

private:
    // What a person does: the field's text selected, wiped and typed over.
    static void saisir(QLineEdit *champ, const QString &texte)
    {
        champ->selectAll();
        QTest::keyClick(champ, Qt::Key_Backspace);
        QTest::keyClicks(champ, texte);
    }
    QString articles() const
    {
        return m_base
            .valeur("select group_concat(Famille || '|' || Libelle || '|' || prixTTC || '|' || "
                    "TauxTVA, ';') from CONSOMMATIONS")
            .toString();
    }

    BaseDemo m_base;
};

void TestOngletArticles::ajouterModifierSupprimer()
{
    OngletArticles onglet(*m_base.contexte);
    onglet.show();
    QTableWidget *table = onglet.tableArticles;
    QCOMPARE(table->rowCount(), m_base.valeur("select count(*) from CONSOMMATIONS").toInt());
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Café"));
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("1,50 €"));
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("10 %"));
    QCOMPARE(onglet.Famille->currentText(), QStringLiteral("Boissons chaudes"));

    QTest::mouseClick(onglet.ajouterArticle, Qt::LeftButton);
    const QString nouvel = QStringLiteral("select Libelle || '|' || prixTTC || '|' || TauxTVA "
                                          "from CONSOMMATIONS where Famille = 'Boissons chaudes' "
                                          "order by rowid desc limit 1");
    QCOMPARE(m_base.valeur(nouvel).toString(), QStringLiteral("Nouvel article|0.0|1000"));
    QCOMPARE(onglet.Libelle->text(), QStringLiteral("Nouvel article"));

    saisir(onglet.Libelle, QStringLiteral("Cafe frappe"));
    saisir(onglet.prixTTC, QStringLiteral("3,2"));
    saisir(onglet.TauxTVA->lineEdit(), QStringLiteral("5,5"));
    QTest::mouseClick(onglet.enregistrerArticle, Qt::LeftButton);
    QCOMPARE(m_base.valeur(nouvel).toString(), QStringLiteral("Cafe frappe|3.2|550"));
    QCOMPARE(m_base.valeur("select prixTTC = 3.2 from CONSOMMATIONS where Libelle = 'Cafe frappe'")
                 .toInt(),
             1);
    const int ligne = table->currentRow();
    QCOMPARE(table->item(ligne, 1)->text(), QStringLiteral("Cafe frappe"));
    QCOMPARE(table->item(ligne, 2)->text(), QStringLiteral("3,20 €"));
    QCOMPARE(table->item(ligne, 3)->text(), QStringLiteral("5,5 %"));

    {
        // The bar shows it among the hot drinks, the family it sorts first.
        BAR bar(*m_base.contexte);
        const int chaudes
            = m_base.valeur("select count(*) from CONSOMMATIONS where Famille = 'Boissons chaudes'")
                  .toInt();
        int trouve = -1;
        for (int i = 0; i < bar.Consommation.size(); ++i) {
            if (bar.Consommation[i]->Caption() == QStringLiteral("Cafe\r\nfrappe"))
                trouve = i;
        }
        QVERIFY(trouve >= 0 && trouve < chaudes);
        QCOMPARE(bar.Consommation[trouve]->property("Tag").toString(), Caisse::texteDuPrix(3.2));
    }

    BoiteMessage::repondreAuxQuestions(true);
    QTest::mouseClick(onglet.supprimerArticle, Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches(),
             QStringList(QStringLiteral("Supprimer « Cafe frappe » ? Les ventes déjà faites "
                                        "restent dans les comptes des séjours.")));
    QCOMPARE(
        m_base.valeur("select count(*) from CONSOMMATIONS where Libelle = 'Cafe frappe'").toInt(),
        0);
    QCOMPARE(table->rowCount(), m_base.valeur("select count(*) from CONSOMMATIONS").toInt());
}

void TestOngletArticles::saisieRefusee_data()
{
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("refus");

    QTest::newRow("An empty label") << "Libelle"
                                    << ""
                                    << "Le libellé ne peut pas être vide.";
    QTest::newRow("A label of 5000 characters")
        << "Libelle" << QString(5000, u'x')
        << "Le libellé ne peut pas dépasser 60 caractères (5000 saisis).";
    QTest::newRow("A price in letters") << "prixTTC"
                                        << "abc"
                                        << "Le prix doit être un nombre";
    QTest::newRow("A negative price") << "prixTTC"
                                      << "-2"
                                      << "Le prix ne peut pas être négatif.";
    QTest::newRow("A fraction of a cent") << "prixTTC"
                                          << "1,999"
                                          << "Le prix se compte en centimes";
    QTest::newRow("An empty family") << "Famille"
                                     << ""
                                     << "La famille ne peut pas être vide.";
    QTest::newRow("A rate past 100 %") << "TauxTVA"
                                       << "200"
                                       << "Le taux de TVA ne peut pas";
}

void TestOngletArticles::saisieRefusee()
{
    QFETCH(QString, champ);
    QFETCH(QString, texte);
    QFETCH(QString, refus);

    OngletArticles onglet(*m_base.contexte);
    onglet.show();
    const QString avant = articles();
    auto *saisie = onglet.findChild<QLineEdit *>(champ);
    if (auto *liste = onglet.findChild<QComboBox *>(champ))
        saisie = liste->lineEdit();
    QVERIFY(saisie);
    saisir(saisie, texte);
    QTest::mouseClick(onglet.enregistrerArticle, Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY2(BoiteMessage::messagesAffiches().first().startsWith(refus),
             qPrintable(BoiteMessage::messagesAffiches().first()));
    QCOMPARE(articles(), avant);
    QCOMPARE(saisie->text(), texte);
}

void TestOngletArticles::unArticleChangeAUnAutrePoste_data()
{
    QTest::addColumn<int>("choix");
    QTest::addColumn<QString>("stocke");

    QTest::newRow("Revenir") << -1 << "Café|1.8";
    QTest::newRow("Reprendre leur version") << 0 << "Café|1.8";
    QTest::newRow("Garder la mienne") << 1 << "Expresso|1.5";
}

void TestOngletArticles::unArticleChangeAUnAutrePoste()
{
    QFETCH(int, choix);
    QFETCH(QString, stocke);
    OngletArticles onglet(*m_base.contexte);
    onglet.show();
    // The price raised at another desk while this one renames the article: saved as it was
    // shown, the old price would come back unseen.
    QSqlQuery(QStringLiteral("update CONSOMMATIONS set prixTTC = 1.8 where Libelle = 'Café'"),
              m_base.contexte->BasePlanning());
    saisir(onglet.Libelle, QStringLiteral("Expresso"));
    BoiteMessage::repondreAuChoix(choix);
    QTest::mouseClick(onglet.enregistrerArticle, Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches().value(0).section('\n', 2, 3),
             QStringLiteral("Champ : leur version / la vôtre\nPrix TTC : 1,80 € / 1,50 €"));
    QCOMPARE(m_base
                 .valeur("select Libelle || '|' || prixTTC from CONSOMMATIONS where Famille = "
                         "'Boissons chaudes' order by rowid limit 1")
                 .toString(),
             stocke);
    if (choix == 0)
        QCOMPARE(onglet.prixTTC->text(), QStringLiteral("1,80"));
}

QTEST_MAIN(TestOngletArticles)
#include "tst_ongletarticles.moc"

#include "commun/BaseDemo.h"
#include "settings/OngletTarifs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {
enum { Du, Au, PrixNuit, Personnes, AdulteEnPlus, EnfantEnPlus, Tva };
enum { Libelle, Prix, Unite, TvaPrestation, Retiree };
} // namespace

// The "Tarifs" tab typed in cell by cell and stored through its buttons; checked in the base.
// The chalets start with June and July-August 2025, the catalogue with one service.
class TestOngletTarifs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup()
    {
        m_onglet.reset();
        m_base.fermer();
    }

    void saisonsEtPrestations();
    void saisieRefusee_data();
    void saisieRefusee();
    void saisonsChangeesAUnAutrePoste_data();
    void saisonsChangeesAUnAutrePoste();

private:
    // What a person does: the cell chosen, F2, its text replaced, Enter.
    static void saisir(QTableWidget *table, int ligne, int colonne, const QString &texte)
    {
        table->setCurrentCell(ligne, colonne);
        const QModelIndex cellule = table->model()->index(ligne, colonne);
        if (!table->indexWidget(cellule))
            QTest::keyClick(table, Qt::Key_F2);
        auto *editeur = qobject_cast<QLineEdit *>(table->indexWidget(cellule));
        QVERIFY(editeur);
        editeur->selectAll();
        QTest::keyClick(editeur, Qt::Key_Backspace);
        QTest::keyClicks(editeur, texte);
        QTest::keyClick(editeur, Qt::Key_Return);
    }
    bool executer(const QString &sql) const
    {
        return QSqlQuery(m_base.contexte->BasePlanning()).exec(sql);
    }
    // The chalets' seasons and the catalogue as stored.
    QString stocke() const
    {
        return m_base
            .valeur("select (select group_concat(l, ';') from (select debut || '|' || fin || '|' "
                    "|| prixnuit || '|' || personnes || '|' || tauxtva as l from SAISONS where "
                    "Categorie = 'Chalet' order by debut)) || ' / ' || (select group_concat(l, "
                    "';') from (select Numero || '|' || Libelle || '|' || prix || '|' || unite "
                    "|| '|' || tauxtva || '|' || retire as l from PRESTATIONS order by Numero))")
            .toString();
    }
    void ouvrir()
    {
        m_onglet = std::make_unique<OngletTarifs>(*m_base.contexte);
        m_onglet->show();
        m_onglet->categorie->setCurrentIndex(m_onglet->categorie->findText("Chalet"));
    }

    BaseDemo m_base;
    std::unique_ptr<OngletTarifs> m_onglet;
};

void TestOngletTarifs::init()
{
    QVERIFY(m_base.ouvrir());
    QVERIFY(executer("delete from SAISONS where Categorie = 'Chalet'"));
    QVERIFY(executer("delete from PRESTATIONS"));
    QVERIFY(executer("insert into SAISONS (Categorie, debut, fin, prixnuit, personnes) values "
                     "('Chalet', '2025-06-01 00:00:00', '2025-06-30 00:00:00', 7000, 4), "
                     "('Chalet', '2025-07-01 00:00:00', '2025-08-31 00:00:00', 9500, 4)"));
    QVERIFY(executer("insert into PRESTATIONS (Numero, Libelle, prix) values (1, 'Animal', 200)"));
}

void TestOngletTarifs::saisonsEtPrestations()
{
    ouvrir();
    QTableWidget *saisons = m_onglet->tableSaisons;
    QCOMPARE(saisons->rowCount(), 2);
    QCOMPARE(saisons->item(1, PrixNuit)->text(), QStringLiteral("95,00 €"));

    // The new season starts after the last one, for as many persons; June goes.
    QTest::mouseClick(m_onglet->ajouterSaison, Qt::LeftButton);
    QCOMPARE(saisons->item(2, Du)->text(), QStringLiteral("01/09/2025"));
    QCOMPARE(saisons->item(2, Personnes)->text(), QStringLiteral("4"));
    QCOMPARE(saisons->item(2, PrixNuit)->text(), QString());
    saisir(saisons, 2, Au, QStringLiteral("30/09/2025"));
    saisir(saisons, 2, PrixNuit, QStringLiteral("60,5"));
    saisir(saisons, 2, Personnes, QStringLiteral("3"));
    saisons->setCurrentCell(0, Du);
    QTest::mouseClick(m_onglet->retirerSaison, Qt::LeftButton);
    QTest::mouseClick(m_onglet->enregistrerSaisons, Qt::LeftButton);
    QCOMPARE(saisons->item(1, PrixNuit)->text(), QStringLiteral("60,50 €"));

    QTableWidget *prestations = m_onglet->tablePrestations;
    QTest::mouseClick(m_onglet->ajouterPrestation, Qt::LeftButton);
    saisir(prestations, 1, Libelle, QStringLiteral("Navette gare"));
    saisir(prestations, 1, Prix, QStringLiteral("12.5"));
    QTest::keyClick(prestations->cellWidget(1, Unite), Qt::Key_Down);
    saisir(prestations, 1, TvaPrestation, QStringLiteral("5,5"));
    prestations->setCurrentCell(0, Retiree);
    QTest::keyClick(prestations, Qt::Key_Space);
    QTest::mouseClick(m_onglet->enregistrerPrestations, Qt::LeftButton);

    QVERIFY2(BoiteMessage::messagesAffiches().isEmpty(),
             qPrintable(BoiteMessage::messagesAffiches().join('\n')));
    QCOMPARE(stocke(),
             QStringLiteral("2025-07-01 00:00:00|2025-08-31 00:00:00|9500|4|1000;"
                            "2025-09-01 00:00:00|2025-09-30 00:00:00|6050|3|1000 / "
                            "1|Animal|200|0|1000|1;2|Navette gare|1250|1|550|0"));
}

void TestOngletTarifs::saisieRefusee_data()
{
    QTest::addColumn<bool>("saison");
    QTest::addColumn<int>("ligne");
    QTest::addColumn<int>("colonne");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("refus");

    QTest::newRow("Overlapping seasons")
        << true << 1 << int(Du) << "15/06/2025"
        << "La saison du 15/06/2025 au 31/08/2025 chevauche celle du 01/06/2025 au 30/06/2025.";
    QTest::newRow("An empty date") << true << 0 << int(Au) << ""
                                   << "Saison de la ligne 1 : la date de fin manque.";
    QTest::newRow("No such date") << true << 0 << int(Du) << "31/02/2025"
                                  << "Saison de la ligne 1 : « 31/02/2025 » n'est pas une date, "
                                     "tapez-la jj/mm/aaaa.";
    QTest::newRow("Reversed dates")
        << true << 0 << int(Au) << "01/05/2025"
        << "Une saison doit avoir une date de début et une date de fin, la fin après le début.";
    QTest::newRow("A VAT rate of 150 %")
        << true << 1 << int(Tva) << "150"
        << "Saison de la ligne 2 : le taux de TVA ne peut pas dépasser 100 %.";
    QTest::newRow("A fraction of a cent")
        << true << 0 << int(PrixNuit) << "4,505"
        << "Saison de la ligne 1 : le prix se compte en centimes : deux décimales au plus.";
    QTest::newRow("A negative service")
        << false << 0 << int(Prix) << "-3"
        << "Prestation de la ligne 1 : le prix ne peut pas être négatif.";
    QTest::newRow("A service without label")
        << false << 0 << int(Libelle) << ""
        << "Prestation de la ligne 1 : le libellé ne peut pas être vide.";
}

void TestOngletTarifs::saisieRefusee()
{
    QFETCH(bool, saison);
    QFETCH(int, ligne);
    QFETCH(int, colonne);
    QFETCH(QString, texte);
    QFETCH(QString, refus);

    ouvrir();
    const QString avant = stocke();
    QTableWidget *table = saison ? m_onglet->tableSaisons : m_onglet->tablePrestations;
    saisir(table, ligne, colonne, texte);
    QTest::mouseClick(saison ? m_onglet->enregistrerSaisons : m_onglet->enregistrerPrestations,
                      Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList(refus));
    QCOMPARE(table->item(ligne, colonne)->text(), texte);
    QCOMPARE(stocke(), avant);
    if (!saison)
        return;
    // Another category chosen: asked first, and "Revenir" keeps what was typed.
    QTest::keyClick(m_onglet->categorie, Qt::Key_Down);
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 2);
    QCOMPARE(m_onglet->categorie->currentText(), QStringLiteral("Chalet"));
    QCOMPARE(table->item(ligne, colonne)->text(), texte);
}

void TestOngletTarifs::saisonsChangeesAUnAutrePoste_data()
{
    QTest::addColumn<int>("choix");
    QTest::addColumn<QString>("prixJuin");
    QTest::addColumn<int>("prixStocke");

    QTest::newRow("Theirs taken back") << 0 << "0,01 €" << 1;
    QTest::newRow("Mine kept") << 1 << "72,00 €" << 7200;
}

void TestOngletTarifs::saisonsChangeesAUnAutrePoste()
{
    QFETCH(int, choix);
    QFETCH(QString, prixJuin);
    QFETCH(int, prixStocke);

    ouvrir();
    QVERIFY(executer("update SAISONS set prixnuit = 1 where Categorie = 'Chalet'"));
    saisir(m_onglet->tableSaisons, 0, PrixNuit, QStringLiteral("72"));
    BoiteMessage::repondreAuChoix(choix);
    QTest::mouseClick(m_onglet->enregistrerSaisons, Qt::LeftButton);
    QVERIFY(BoiteMessage::messagesAffiches().value(0).startsWith(
        QStringLiteral("Les saisons de « Chalet » ont été modifiées à un autre poste")));
    QCOMPARE(m_onglet->tableSaisons->item(0, PrixNuit)->text(), prixJuin);
    QCOMPARE(m_base
                 .valeur("select prixnuit from SAISONS where Categorie = 'Chalet' and debut "
                         "like '2025-06%'")
                 .toInt(),
             prixStocke);
}

QTEST_MAIN(TestOngletTarifs)
#include "tst_onglettarifs.moc"

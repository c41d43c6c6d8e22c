#include "commun/BaseEssai.h"
#include "data/ConflitEcriture.h"
#include "data/TarifsEtablissement.h"
#include "data/TransactionEcriture.h"

using Tarification::Saison;
using namespace TarifsEtablissement;

Q_DECLARE_METATYPE(QVector<Saison>)

namespace {

Saison saison(const QDate &debut, const QDate &fin, qint64 prix, int taux = 1000)
{
    Saison une;
    une.debut = debut;
    une.fin = fin;
    une.prixNuit = prix;
    une.personnesIncluses = 4;
    une.supplementAdulte = 1550;
    une.supplementEnfant = 800;
    une.tauxTva = taux;
    return une;
}

const QDate Juin(2025, 6, 1);
const QDate Juillet(2025, 7, 1);
const QDate Aout(2025, 8, 31);

} // namespace

// The seasons and the catalogue of services as stored, on a file and on a server alike: what
// is written reads back the same, what is refused leaves the base as it was.
class TestTarifsEtablissement : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
        // From an empty catalogue, whatever a new base is given.
        QVERIFY(m_base.executer("DELETE FROM SAISONS")
                && m_base.executer("DELETE FROM PRESTATIONS"));
    }
    void cleanup() { m_base.fermer(); }

    void saisonsAllerRetour();
    void saisonsRefusees_data();
    void saisonsRefusees();
    void prestationsNumerotees();
    void prestationRefusee_data();
    void prestationRefusee();
    void choixEtExoneres();

private:
    QString saisonsStockees() const
    {
        const QString ligne
            = QStringLiteral("Categorie || '|' || debut || '|' || fin || '|' || prixnuit");
        return m_base
            .valeur(m_base.surServeur()
                        ? QStringLiteral("SELECT string_agg(%1, ';' ORDER BY Categorie, debut) "
                                         "FROM SAISONS")
                              .arg(ligne)
                        : QStringLiteral("SELECT group_concat(l, ';') FROM (SELECT %1 AS l FROM "
                                         "SAISONS ORDER BY Categorie, debut)")
                              .arg(ligne))
            .toString();
    }

    BaseEssai m_base {QStringLiteral("tst_tarifsetablissement")};
};

void TestTarifsEtablissement::saisonsAllerRetour()
{
    const QSqlDatabase base = m_base.base();
    // Given out of order: they come back by first night.
    const QVector<Saison> ete {saison(Juillet, Aout, 9500, 550),
                               saison(Juin, Juillet.addDays(-1), 7000)};
    QVERIFY(!ecrireSaisons(base, QStringLiteral(" Chalet "), ete).isValid());
    QVERIFY(!ecrireSaisons(base, QString(), {saison(Juin, Aout, 2000)}).isValid());
    QVERIFY(!ecrireSaisons(base, QStringLiteral("Bungalow"), {saison(Juin, Aout, 1)}).isValid());
    QCOMPARE(m_base
                 .valeur("SELECT debut || '/' || fin FROM SAISONS WHERE Categorie = 'Chalet' "
                         "ORDER BY debut LIMIT 1")
                 .toString(),
             QStringLiteral("2025-06-01 00:00:00/2025-06-30 00:00:00"));

    QVector<Saison> lues;
    QVERIFY(!lireSaisons(base, QStringLiteral("Chalet"), lues).isValid());
    QCOMPARE(lues.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const Saison &attendue = ete.at(1 - i);
        QCOMPARE(lues[i].debut, attendue.debut);
        QCOMPARE(lues[i].fin, attendue.fin);
        QCOMPARE(lues[i].prixNuit, attendue.prixNuit);
        QCOMPARE(lues[i].personnesIncluses, 4);
        QCOMPARE(lues[i].supplementAdulte, 1550);
        QCOMPARE(lues[i].supplementEnfant, 800);
        QCOMPARE(lues[i].tauxTva, attendue.tauxTva);
    }

    // The categories of the objects, then one priced that no object has; "" for an object
    // without one, last.
    QVERIFY(m_base.executer("UPDATE OBJETS SET Categorie = NULL WHERE Numero = 1"));
    QStringList noms;
    QVERIFY(!categories(base, noms).isValid());
    QCOMPARE(noms, QStringList({"Bungalow", "Chalet", "Chambre", "Emplacement", "Mobil-home", ""}));

    // The whole category replaced, the others untouched; shown seasons changed at another desk
    // since are not overwritten.
    QVERIFY(!ecrireSaisons(base, QStringLiteral("Chalet"), {saison(Juin, Aout, 8000)}).isValid());
    QVERIFY(estUnConflit(ecrireSaisons(base, QStringLiteral("Chalet"), {}, lues)));
    QCOMPARE(saisonsStockees(),
             QStringLiteral("|2025-06-01 00:00:00|2025-08-31 00:00:00|2000;"
                            "Bungalow|2025-06-01 00:00:00|2025-08-31 00:00:00|1;"
                            "Chalet|2025-06-01 00:00:00|2025-08-31 00:00:00|8000"));
    QVERIFY(!lireSaisons(base, QStringLiteral("Chalet"), lues).isValid());
    QVERIFY(!ecrireSaisons(base, QStringLiteral("Chalet"), {}, lues).isValid());
    QCOMPARE(m_base.nombre("SAISONS WHERE Categorie = 'Chalet'"), 0);
}

void TestTarifsEtablissement::saisonsRefusees_data()
{
    QTest::addColumn<QVector<Saison>>("saisons");
    QTest::addColumn<QString>("refus");

    QTest::newRow("Overlapping by one night")
        << QVector<Saison> {saison(Juin, Juillet, 7000), saison(Juillet, Aout, 9500)}
        << "La saison du 01/07/2025 au 31/08/2025 chevauche celle du 01/06/2025 au 01/07/2025.";
    QTest::newRow("Reversed dates")
        << QVector<Saison> {saison(Aout, Juillet, 7000)}
        << "Une saison doit avoir une date de début et une date de fin, la fin après le début.";
    QTest::newRow("A VAT rate of 150 %")
        << QVector<Saison> {saison(Juin, Aout, 7000, 15000)}
        << "La saison du 01/06/2025 au 31/08/2025 a un taux de TVA impossible (de 0 à 100 %).";
    QTest::newRow("A price below zero")
        << QVector<Saison> {saison(Juin, Aout, -1)}
        << "La saison du 01/06/2025 au 31/08/2025 a un prix impossible (de 0 à 100 000 €).";
}

void TestTarifsEtablissement::saisonsRefusees()
{
    QFETCH(QVector<Saison>, saisons);
    QFETCH(QString, refus);

    QVERIFY(!ecrireSaisons(m_base.base(), QStringLiteral("Chalet"), {saison(Juin, Juin, 100)})
                 .isValid());
    const QString avant = saisonsStockees();
    const QSqlError erreur = ecrireSaisons(m_base.base(), QStringLiteral("Chalet"), saisons);
    QCOMPARE(erreur.text(), refus);
    QCOMPARE(saisonsStockees(), avant);
}

void TestTarifsEtablissement::prestationsNumerotees()
{
    const QSqlDatabase base = m_base.base();
    Prestation petitDejeuner {
        0, QStringLiteral("Petit-déjeuner"), 950, Unite::ParPersonneEtNuit, 550, false};
    QVERIFY(!ecrirePrestation(base, petitDejeuner).isValid());
    QCOMPARE(petitDejeuner.numero, 1);
    // A number given by hand (an import, another desk): the next one follows the highest.
    QVERIFY(
        m_base.executer("INSERT INTO PRESTATIONS (Numero, Libelle, prix) VALUES (7, 'Lit', 0)"));
    Prestation menage {
        0, QStringLiteral("Ménage de fin de séjour"), 4500, Unite::ParSejour, 2000, false};
    QVERIFY(!ecrirePrestation(base, menage).isValid());
    QCOMPARE(menage.numero, 8);

    const Prestation montre = menage;
    menage.prix = 5000;
    menage.retire = true;
    QVERIFY(!ecrirePrestation(base, menage, montre).isValid());
    // Shown before that change: another desk's store is not overwritten.
    Prestation ailleurs = montre;
    ailleurs.libelle = QStringLiteral("Ménage");
    QVERIFY(estUnConflit(ecrirePrestation(base, ailleurs, montre)));
    Prestation disparue = montre;
    disparue.numero = 99;
    QVERIFY(ecrirePrestation(base, disparue).isValid());

    QVector<Prestation> lues;
    QVERIFY(!lirePrestations(base, lues).isValid());
    QCOMPARE(lues.size(), 3);
    QVERIFY(memePrestation(lues[0], petitDejeuner));
    QCOMPARE(lues[1].libelle, QStringLiteral("Lit"));
    QVERIFY(memePrestation(lues[2], menage));
    QCOMPARE(m_base.nombre("PRESTATIONS WHERE retire = 1"), 1);
}

void TestTarifsEtablissement::prestationRefusee_data()
{
    QTest::addColumn<QString>("libelle");
    QTest::addColumn<qint64>("prix");
    QTest::addColumn<int>("taux");
    QTest::addColumn<QString>("refus");

    QTest::newRow("A blank label")
        << " " << qint64(100) << 1000 << "Le libellé ne peut pas être vide.";
    QTest::newRow("A price past 100 000 €")
        << "Navette" << qint64(10000001) << 1000
        << "Le prix d'une prestation doit être compris entre 0 et 100 000,00 €.";
    QTest::newRow("A rate past 100 %") << "Navette" << qint64(100) << 10001
                                       << "Le taux de TVA doit être compris entre 0 et 100 %.";
}

void TestTarifsEtablissement::prestationRefusee()
{
    QFETCH(QString, libelle);
    QFETCH(qint64, prix);
    QFETCH(int, taux);
    QFETCH(QString, refus);

    Prestation prestation {0, libelle, prix, Unite::ParNuit, taux, false};
    QCOMPARE(ecrirePrestation(m_base.base(), prestation).text(), refus);
    QCOMPARE(prestation.numero, 0);
    QCOMPARE(m_base.nombre("PRESTATIONS"), 0);
}

void TestTarifsEtablissement::choixEtExoneres()
{
    const QSqlDatabase base = m_base.base();
    for (const char *libelle : {"Petit-déjeuner", "Draps", "Animal"}) {
        Prestation prestation {0, QString::fromUtf8(libelle), 500, Unite::ParNuit, 1000, false};
        QVERIFY(!ecrirePrestation(base, prestation).isValid());
    }
    QVERIFY(!ecrireChoix(base, 12, {{2, 3}, {1, 1}}, 2).isValid());
    QVERIFY(!ecrireChoix(base, 13, {{3, 1}}, 0).isValid());
    QVector<Choix> choix;
    int exoneres = -1;
    QVERIFY(!lireChoix(base, 12, choix).isValid());
    QVERIFY(!lireExoneres(base, 12, exoneres).isValid());
    QCOMPARE(choix.size(), 2);
    QCOMPARE(choix[0].prestation, 1);
    QCOMPARE(choix[1].prestation, 2);
    QCOMPARE(choix[1].quantite, 3);
    QCOMPARE(exoneres, 2);

    // Replaced as a whole: a quantity of 0 is no choice, no adult exempt no row.
    QVERIFY(!ecrireChoix(base, 12, {{1, 0}, {3, 2}}, 0).isValid());
    QVERIFY(!lireChoix(base, 12, choix).isValid());
    QVERIFY(!lireExoneres(base, 12, exoneres).isValid());
    QCOMPARE(choix.size(), 1);
    QCOMPARE(choix[0].prestation, 3);
    QCOMPARE(choix[0].quantite, 2);
    QCOMPARE(exoneres, 0);
    QCOMPARE(m_base.nombre("EXONERATIONS"), 0);
    QCOMPARE(m_base.nombre("PRESTATIONSSEJOUR WHERE numeroreservation = 13"), 1);

    // Refused: nothing changes.
    QCOMPARE(ecrireChoix(base, 12, {{9, 1}}, 0).text(),
             QStringLiteral("La prestation n° 9 n'existe pas."));
    QCOMPARE(ecrireChoix(base, 12, {{1, 1}, {1, 2}}, 0).text(),
             QStringLiteral("La prestation n° 1 est choisie deux fois."));
    QVERIFY(ecrireChoix(base, 12, {{1, -1}}, 0).isValid());
    QVERIFY(ecrireChoix(base, 12, {}, -1).isValid());
    QCOMPARE(m_base.nombre("PRESTATIONSSEJOUR WHERE numeroreservation = 12 AND prestation = 3 "
                           "AND quantite = 2"),
             1);

    // Inside the caller's transaction, undone with it.
    {
        TransactionEcriture transaction(base);
        QVERIFY(!transaction.erreur().isValid());
        QVERIFY(!ecrireChoix(base, 12, {{1, 5}}, 1).isValid());
        QCOMPARE(m_base.nombre("EXONERATIONS"), 1);
    }
    QCOMPARE(m_base.nombre("EXONERATIONS"), 0);
    QCOMPARE(m_base.nombre("PRESTATIONSSEJOUR WHERE numeroreservation = 12"), 1);
}

QTEST_GUILESS_MAIN(TestTarifsEtablissement)
#include "tst_tarifsetablissement.moc"

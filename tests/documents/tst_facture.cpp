#include "documents/Exemples.h"

#include <QtTest>

// The totals of an invoice, its credit note, and its stored form.
class TestFacture : public QObject
{
    Q_OBJECT

private slots:
    void totaux_data();
    void totaux();
    void avoir();
    void allerRetourJson();
    void rejetJson_data();
    void rejetJson();
};

namespace {

LigneFacture ligne(qint64 montant, int taux, bool horsTva = false)
{
    return {QStringLiteral("Ligne"), montant, taux, horsTva};
}

} // namespace

void TestFacture::totaux_data()
{
    QTest::addColumn<QVector<LigneFacture>>("lignes");
    QTest::addColumn<QString>("taux"); // "rate:HT+VAT=TTC" per rate
    QTest::addColumn<qint64>("horsChamp");

    QTest::newRow("two rates and the tax, lowest rate first")
        << factureExemple().lignes << "1000:30000+3000=33000 2000:1000+200=1200" << qint64(825);
    QTest::newRow("5,5 % on 10,00 €, rounded to the nearest cent")
        << QVector<LigneFacture> {ligne(1000, 550)} << "550:948+52=1000" << qint64(0);
    // Line by line, each 1,00 € would give 0,05 € of VAT: 0,15 € where the sum gives 0,16 €.
    QTest::newRow("VAT of the rate's sum, not of each line")
        << QVector<LigneFacture> {ligne(100, 550), ligne(100, 550), ligne(100, 550)}
        << "550:284+16=300" << qint64(0);
    QTest::newRow("a credit note rounds away from zero as well")
        << QVector<LigneFacture> {ligne(-1000, 550), ligne(-825, 0, true)} << "550:-948+-52=-1000"
        << qint64(-825);
}

void TestFacture::totaux()
{
    QFETCH(QVector<LigneFacture>, lignes);
    QFETCH(QString, taux);
    QFETCH(qint64, horsChamp);
    DocumentFacture document;
    document.lignes = lignes;
    QStringList textes;
    qint64 horsTaxe = 0, tva = 0, toutesTaxes = horsChamp;
    for (const TotalTaux &t : document.parTaux()) {
        textes << QStringLiteral("%1:%2+%3=%4")
                      .arg(t.tauxTva)
                      .arg(t.horsTaxe)
                      .arg(t.tva)
                      .arg(t.toutesTaxes);
        horsTaxe += t.horsTaxe;
        tva += t.tva;
        toutesTaxes += t.toutesTaxes;
    }
    QCOMPARE(textes.join(u' '), taux);
    QCOMPARE(document.totalHorsTaxe(), horsTaxe);
    QCOMPARE(document.totalTva(), tva);
    QCOMPARE(document.horsChampTva(), horsChamp);
    QCOMPARE(document.totalToutesTaxes(), toutesTaxes);
}

void TestFacture::avoir()
{
    const DocumentFacture facture = factureExemple();
    QCOMPARE(facture.totalToutesTaxes(), 35025);
    QCOMPARE(facture.paye(), 15000);
    QCOMPARE(facture.solde(), 20025);

    const DocumentFacture avoir = facture.avoir();
    QCOMPARE(avoir.nature, DocumentFacture::Avoir);
    QCOMPARE(avoir.reference, facture.numero);
    QVERIFY(avoir.numero.isEmpty() && avoir.date.isNull() && avoir.paiements.isEmpty());
    QCOMPARE(avoir.client, facture.client);
    QCOMPARE(avoir.lignes.size(), 3);
    QVERIFY(avoir.lignes[2].horsTva);
    QCOMPARE(avoir.totalToutesTaxes(), -35025);
    QCOMPARE(avoir.totalTva(), -facture.totalTva());
    QCOMPARE(avoir.solde(), -35025);
}

void TestFacture::allerRetourJson()
{
    DocumentFacture document = factureExemple().avoir();
    document.numero = QStringLiteral("2026-0002");
    document.client = QStringLiteral("Mme « Fanfan » Dupré\t\"la jeune\"");
    document.lignes.append(ligne(999999999999, 1925));
    document.paiements.append({QDate(), QStringLiteral("Remboursement"), -100});

    const QByteArray json = versJson(document);
    QVERIFY(!json.contains('\n'));
    const std::optional<DocumentFacture> relu = depuisJson(json);
    QVERIFY(relu);
    // Every field is written: what is read back writes the same text.
    QCOMPARE(versJson(*relu), json);
    QCOMPARE(relu->client, document.client);
    QCOMPARE(relu->arrivee, document.arrivee);
    QVERIFY(relu->date.isNull() && relu->paiements.last().date.isNull());
    QCOMPARE(relu->lignes.last().montant, 999999999999);
    QVERIFY(relu->lignes[2].horsTva);
    QCOMPARE(relu->etablissement.mentions, document.etablissement.mentions);
    QCOMPARE(relu->etablissement.taxe.mode, Tarification::ReglageTaxe::Mode::Pourcentage);
    QCOMPARE(relu->etablissement.taxe.plafond, 420);
}

void TestFacture::rejetJson_data()
{
    QTest::addColumn<QByteArray>("json");
    const QByteArray bon = versJson(factureExemple());
    QVERIFY(depuisJson(bon));
    // A pattern not found would leave the good text, which the test then refuses to pass.
    const auto remplacer = [&](const char *avant, const char *apres) {
        return QByteArray(bon).replace(avant, apres);
    };
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("not JSON") << QByteArray("Facture 2026-0001");
    QTest::newRow("cut off") << bon.left(bon.size() / 2);
    QTest::newRow("an array") << QByteArray("[]");
    QTest::newRow("an empty object") << QByteArray("{}");
    QTest::newRow("another nature") << remplacer("\"Facture\"", "\"Devis\"");
    QTest::newRow("an amount as text") << remplacer("\"montant\":1200", "\"montant\":\"12\"");
    QTest::newRow("an amount with a fraction") << remplacer("\"montant\":1200", "\"montant\":12.5");
    QTest::newRow("a rate beyond an int")
        << remplacer("\"tauxTva\":2000", "\"tauxTva\":5000000000");
    QTest::newRow("a date that is none") << remplacer("2026-12-10", "2026-13-10");
    QTest::newRow("a line that is no object") << remplacer("\"lignes\":[", "\"lignes\":[3,");
    QTest::newRow("lines that are no array") << QByteArray(R"({"nature":"Facture","lignes":{}})");
}

void TestFacture::rejetJson()
{
    QFETCH(QByteArray, json);
    QVERIFY(!depuisJson(json));
}

QTEST_GUILESS_MAIN(TestFacture)
#include "tst_facture.moc"

#include "documents/Exemples.h"
#include "documents/PdfFacture.h"
#include "documents/ReleveTaxe.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(DocumentFacture)

// The papers as the guest and the commune get them, read back from the PDF with poppler's tools
// (the checks are skipped where they are not installed).
class TestPdfDocuments : public QObject
{
    Q_OBJECT

private slots:
    void facture_data();
    void facture();
    void plusieursPages();
    void ecritureRefusee_data();
    void ecritureRefusee();
    void contrat();
    void releve();

private:
    QTemporaryDir m_dossier;
};

namespace {

// What `programme` prints; empty when it fails.
QString sortie(const QString &programme, const QStringList &arguments)
{
    QProcess processus;
    processus.start(programme, arguments);
    processus.waitForFinished(30000);
    return processus.exitCode() == 0 ? QString::fromUtf8(processus.readAllStandardOutput())
                                     : QString();
}

QString textePdf(const QString &chemin)
{
    return sortie(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), chemin, "-"});
}

bool sansPoppler()
{
    for (const char *outil : {"pdftotext", "pdfinfo", "pdftoppm"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(outil)).isEmpty())
            return true;
    }
    return false;
}

int pages(const QString &chemin)
{
    static const QRegularExpression ligne(QStringLiteral("Pages:\\s+(\\d+)"));
    return ligne.match(sortie(QStringLiteral("pdfinfo"), {chemin})).captured(1).toInt();
}

} // namespace

void TestPdfDocuments::facture_data()
{
    QTest::addColumn<DocumentFacture>("document");
    QTest::addColumn<QStringList>("attendus");
    QTest::addColumn<QStringList>("absents");

    QTest::newRow("an invoice") << factureExemple()
                                << QStringList {"Camping Les Églantiers",
                                                "40150 Hossegor",
                                                "SIRET : 123 456 789 00012",
                                                "N° TVA : FR12 123456789",
                                                "Facture n° 2026-0001",
                                                "Date : 10/12/2026",
                                                "Mme Françoise Dupré",
                                                "Réservation n° 12",
                                                "12 : Chalet Les Pins",
                                                "Séjour du 01/07/2026 au 04/07/2026",
                                                "2 adultes, 2 enfants",
                                                "Chalet – 3 nuits × 110,00 €",
                                                "300,00 €",
                                                "Total TVA",
                                                "Taxe de séjour (hors TVA)",
                                                "Total TTC",
                                                "350,25 €",
                                                "Arrhes (chèque)",
                                                "Paiements reçus",
                                                "Reste à payer",
                                                "200,25 €",
                                                "Indemnité de recouvrement : 40 €."}
                                << QStringList {"Avoir"};
    DocumentFacture avoir = factureExemple().avoir();
    avoir.numero = QStringLiteral("2026-0002");
    avoir.date = QDate(2026, 12, 11);
    QTest::newRow("its credit note")
        << avoir
        << QStringList {"Avoir n° 2026-0002", "Avoir sur la facture n° 2026-0001",
                        "Date : 11/12/2026", "-330,00 €", "-350,25 €"}
        << QStringList {"Reste à payer", "Paiements reçus"};
    DocumentFacture apercu = factureExemple();
    apercu.numero.clear();
    apercu.date = QDate();
    QTest::newRow("a preview") << apercu << QStringList {"Facture (aperçu)", "350,25 €"}
                               << QStringList {"n° 2026", "Date :"};
}

void TestPdfDocuments::facture()
{
    QFETCH(DocumentFacture, document);
    QFETCH(QStringList, attendus);
    QFETCH(QStringList, absents);

    if (sansPoppler())
        QSKIP("poppler-utils is not installed");
    const QString chemin = m_dossier.filePath(QStringLiteral("facture.pdf"));
    QCOMPARE(ecrireFacturePdf(document, chemin), QString());
    const QString pdf = textePdf(chemin);
    const QString texte = texteFacture(document);
    for (const QString &attendu : attendus) {
        QVERIFY2(pdf.contains(attendu), qPrintable(attendu + QStringLiteral(" in\n") + pdf));
        QVERIFY2(texte.contains(attendu), qPrintable(attendu + QStringLiteral(" in\n") + texte));
    }
    for (const QString &absent : absents)
        QVERIFY2(!pdf.contains(absent) && !texte.contains(absent), qPrintable(absent));
    // The tax is outside the VAT, and its line says so.
    static const QRegularExpression taxe(QStringLiteral("Taxe de séjour +— +-?8,25 €"));
    QVERIFY(pdf.contains(taxe) && texte.contains(taxe));
    QVERIFY(pdf.contains(QStringLiteral("Page 1 / 1")));

    // Drawn, not only written: a portrait page with ink on it, but not inked all over.
    const QString image = m_dossier.filePath(QStringLiteral("page"));
    QCOMPARE(
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {"-png", "-r", "50", "-f", "1", "-l", "1", "-singlefile", chemin, image}),
        0);
    const QImage page(image + QStringLiteral(".png"));
    QVERIFY(page.height() > page.width());
    int sombres = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x)
            sombres += qGray(page.pixel(x, y)) < 128;
    }
    QVERIFY2(sombres > 1000 && sombres < page.width() * page.height() / 10,
             qPrintable(QString::number(sombres)));
}

void TestPdfDocuments::plusieursPages()
{
    DocumentFacture document = factureExemple();
    for (int i = 1; i <= 120; ++i)
        document.lignes.append({QStringLiteral("Ligne %1").arg(i), 100, 550, false});
    if (sansPoppler())
        QSKIP("poppler-utils is not installed");
    const QString chemin = m_dossier.filePath(QStringLiteral("longue.pdf"));
    QCOMPARE(ecrireFacturePdf(document, chemin), QString());

    const int nombre = pages(chemin);
    QVERIFY2(nombre >= 3, qPrintable(QString::number(nombre)));
    const QStringList feuilles = textePdf(chemin).split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(feuilles.size(), nombre);
    int lignes = 0;
    for (int page = 0; page < nombre; ++page) {
        const QString &feuille = feuilles[page];
        QVERIFY(feuille.contains(QStringLiteral("Page %1 / %2").arg(page + 1).arg(nombre)));
        // Each page the table runs on starts with its header.
        const qsizetype premiere = feuille.indexOf(QStringLiteral("Ligne "));
        if (premiere >= 0)
            QVERIFY(feuille.left(premiere).contains(QStringLiteral("Désignation")));
        lignes += feuille.count(QRegularExpression(QStringLiteral("Ligne \\d+ ")));
    }
    QCOMPARE(lignes, 120);
    QVERIFY(feuilles.last().contains(QStringLiteral("Reste à payer")));
}

void TestPdfDocuments::ecritureRefusee_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<QString>("raison");

    const QString dossier = m_dossier.filePath(QStringLiteral("refus"));
    QDir().mkpath(dossier + QStringLiteral("/facture.pdf"));
    QDir().mkpath(dossier + QStringLiteral("/lecture"));
    QFile::setPermissions(dossier + QStringLiteral("/lecture"), QFile::ReadOwner | QFile::ExeOwner);
    QTest::newRow("a folder that does not exist")
        << dossier + QStringLiteral("/manque/facture.pdf") << "n'existe pas";
    QTest::newRow("the name of a folder")
        << dossier + QStringLiteral("/facture.pdf") << "celui d'un dossier";
    QTest::newRow("a folder that cannot be written")
        << dossier + QStringLiteral("/lecture/facture.pdf") << "accès refusé";
}

void TestPdfDocuments::ecritureRefusee()
{
    QFETCH(QString, chemin);
    QFETCH(QString, raison);
    const QDir dossier = QFileInfo(chemin).dir();
    if (dossier.exists() && QFileInfo(dossier.path()).isWritable() && !QFileInfo(chemin).isDir())
        QSKIP("The folder's rights do not hold against this user");
    const QDir refus(m_dossier.filePath(QStringLiteral("refus")));
    const QStringList avant = refus.entryList();

    const QString message = ecrireFacturePdf(factureExemple(), chemin);
    QVERIFY2(message.startsWith(
                 QStringLiteral("Le fichier « %1 » n'a pas pu être écrit : ").arg(chemin)),
             qPrintable(message));
    QVERIFY2(message.contains(raison), qPrintable(message));
    QCOMPARE(refus.entryList(), avant);
    QVERIFY(!dossier.exists() || dossier.entryList(QDir::Files).isEmpty());
}

void TestPdfDocuments::contrat()
{
    const DocumentFacture facture = factureExemple();
    Contrat c {facture.etablissement,
               12,
               facture.client,
               QStringLiteral("06 12 34 56 78"),
               QStringLiteral("f.dupre@example.fr"),
               facture.objet,
               QDateTime(QDate(2026, 7, 1), QTime(15, 0)),
               QDateTime(QDate(2026, 7, 4), QTime(10, 0)),
               2,
               1,
               {{QStringLiteral("Chalet – 3 nuits"), 122625, 1000, false},
                {QStringLiteral("Taxe de séjour"), 825, 0, true}},
               30000,
               QDate(2026, 6, 15),
               QDate(2026, 5, 20)};
    for (int i = 1; i <= 150; ++i)
        c.etablissement.conditions += QStringLiteral("\nArticle %1 des conditions.").arg(i);
    if (sansPoppler())
        QSKIP("poppler-utils is not installed");
    const QString chemin = m_dossier.filePath(QStringLiteral("contrat.pdf"));
    QCOMPARE(ecrireContratPdf(c, chemin), QString());
    const QString texte = textePdf(chemin);
    for (const char *attendu :
         {"Contrat de réservation n° 12", "Camping Les Églantiers", "06 12 34 56 78",
          "f.dupre@example.fr", "Hébergement : 12 : Chalet Les Pins",
          "Arrivée le 01/07/2026 à 15:00", "Départ le 04/07/2026 à 10:00", "2 adultes, 1 enfant",
          "1226,25 €", "Prix total : 1234,50 €",
          "Arrhes demandées : 300,00 €, à verser avant le 15/06/2026", "Solde à régler : 934,50 €",
          "Les arrhes ne sont pas remboursées.", "Article 150 des conditions."})
        QVERIFY2(texte.contains(QString::fromUtf8(attendu)), attendu);
    // The long conditions flow on; the two places to sign stay together, on the last page.
    QVERIFY(pages(chemin) > 1);
    const QString derniere = texte.split(u'\f', Qt::SkipEmptyParts).last();
    QVERIFY(derniere.contains(QStringLiteral("Le client"))
            && derniere.contains(QStringLiteral("L'établissement")));

    c.datelimite = QDate();
    QVERIFY(MiseEnPage::texte(miseEnPageContrat(c))
                .contains(QStringLiteral("Arrhes demandées : 300,00 €\n")));
}

void TestPdfDocuments::releve()
{
    Releve releve {etablissementExemple(), QDate(2026, 12, 1), {}};
    releve.lignes
        = {{12, QStringLiteral("Dupré"), QDate(2026, 12, 1), QDate(2026, 12, 4), 3, 2, 2, 88, 581},
           {13, QStringLiteral("Martin; \"Jo\""), QDate(2026, 11, 28), QDate(2026, 12, 2), 1, 1, 0,
            125, 138}};
    QCOMPARE(releveCsv(releve),
             QByteArray("\xEF\xBB\xBF"
                        "Réservation;Client;Arrivée;Départ;Nuits;Assujettis;Exonérés;Tarif;"
                        "Montant\r\n"
                        "12;Dupré;01/12/2026;04/12/2026;3;2;2;0,88;5,81\r\n"
                        "13;\"Martin; \"\"Jo\"\"\";28/11/2026;02/12/2026;1;1;0;1,25;1,38\r\n"
                        "Total;;;;;7;6;;7,19\r\n"));

    const QString chemin = m_dossier.filePath(QStringLiteral("releve.pdf"));
    QCOMPARE(ecrireRelevePdf(releve, chemin), QString());
    if (sansPoppler())
        QSKIP("poppler-utils is not installed");
    const QString texte = textePdf(chemin);
    for (const char *attendu :
         {"Taxe de séjour – décembre 2026", "SIRET : 123 456 789 00012", "Réservation", "Exonérés",
          "Martin; \"Jo\"", "28/11/2026", "0,88 €", "7,19 €"})
        QVERIFY2(texte.contains(QString::fromUtf8(attendu)), attendu);
    const QString description = sortie(QStringLiteral("pdfinfo"), {chemin});
    QVERIFY2(description.contains(QStringLiteral("842 x 595 pts")), qPrintable(description));
}

QTEST_MAIN(TestPdfDocuments)
#include "tst_pdfdocuments.moc"

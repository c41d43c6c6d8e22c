#include "documents/PdfFacture.h"
#include "documents/ReleveTaxe.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// The papers as the desk prints them: a typical invoice when a guest leaves, and the month's
// tourist tax statement of a large site.
namespace {

QTemporaryDir *dossier = nullptr;

Etablissement etablissement()
{
    Etablissement e;
    e.nom = QStringLiteral("Camping Les Églantiers");
    e.adresse = QStringLiteral("12, chemin des Écureuils");
    e.codePostal = QStringLiteral("40150");
    e.ville = QStringLiteral("Hossegor");
    e.siret = QStringLiteral("123 456 789 00012");
    e.numeroTva = QStringLiteral("FR12 123456789");
    e.mentions = QStringLiteral("Pas d'escompte pour paiement anticipé.\nIndemnité forfaitaire "
                                "pour frais de recouvrement : 40 €.");
    return e;
}

void BM_Facture(benchmark::State &etat)
{
    DocumentFacture document;
    document.numero = QStringLiteral("2026-0001");
    document.date = QDate(2026, 12, 10);
    document.etablissement = etablissement();
    document.reservation = 12;
    document.client = QStringLiteral("Mme Françoise Dupré");
    document.objet = QStringLiteral("12 : Chalet Les Pins");
    document.arrivee = QDate(2026, 7, 1);
    document.depart = QDate(2026, 7, 8);
    document.adultes = 2;
    document.enfants = 2;
    const int taux[] = {550, 1000, 2000};
    for (int i = 0; i < 11; ++i)
        document.lignes.append(
            {QStringLiteral("Prestation n° %1").arg(i + 1), 1250 + 100 * i, taux[i % 3], false});
    document.lignes.append({QStringLiteral("Taxe de séjour"), 1540, 0, true});
    document.paiements = {{QDate(2026, 6, 1), QStringLiteral("Arrhes (chèque)"), 10000},
                          {QDate(2026, 7, 8), QStringLiteral("Carte bancaire"), 5000}};
    const QString chemin = dossier->filePath(QStringLiteral("facture.pdf"));
    for (auto _ : etat) {
        if (const QString refus = ecrireFacturePdf(document, chemin); !refus.isEmpty())
            etat.SkipWithError(qPrintable(refus));
    }
}
BENCHMARK(BM_Facture)->Unit(benchmark::kMillisecond);

void BM_ReleveDeuxMilleSejours(benchmark::State &etat)
{
    Releve releve;
    releve.etablissement = etablissement();
    releve.mois = QDate(2026, 8, 1);
    for (int i = 0; i < 2000; ++i) {
        const QDate arrivee = releve.mois.addDays(i % 28);
        releve.lignes.append({1000 + i, QStringLiteral("Client n° %1").arg(i), arrivee,
                              arrivee.addDays(3 + i % 5), 3 + i % 5, 2, i % 3, 88,
                              88 * 2 * (3 + i % 5) * 11 / 10});
    }
    const QString pdf = dossier->filePath(QStringLiteral("releve.pdf"));
    QFile csv(dossier->filePath(QStringLiteral("releve.csv")));
    for (auto _ : etat) {
        if (const QString refus = ecrireRelevePdf(releve, pdf); !refus.isEmpty())
            etat.SkipWithError(qPrintable(refus));
        if (!csv.open(QIODevice::WriteOnly) || csv.write(releveCsv(releve)) < 0)
            etat.SkipWithError("the CSV could not be written");
        csv.close();
    }
}
BENCHMARK(BM_ReleveDeuxMilleSejours)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // Text is laid out with the font database of a GUI application, but no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir temporaire;
    dossier = &temporaire;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "conversion/Conversion.h"

#include <QStringList>

#include <benchmark/benchmark.h>

// What the windows read back from their fields: codes, amounts with grouping blanks, labels.
static const QStringList &textesSaisis()
{
    static const QStringList textes = {
        QStringLiteral("3 - Confirmé"), QStringLiteral("1 234.50"),   QStringLiteral("12,50"),
        QStringLiteral("  -45.5e1 "),   QStringLiteral("Chambre 12"), QStringLiteral("0.875"),
        QStringLiteral("\t2 500\n"),    QStringLiteral(""),
    };
    return textes;
}

static void BM_ValeurNumerique(benchmark::State &etat)
{
    const QStringList &textes = textesSaisis();
    qsizetype i = 0;
    for (auto _ : etat) {
        benchmark::DoNotOptimize(Conversion::ValeurNumerique(textes.at(i)));
        i = (i + 1) % textes.size();
    }
}
BENCHMARK(BM_ValeurNumerique);

static void BM_FormatMonetaire(benchmark::State &etat)
{
    // Bar lines, nights and season totals.
    const double montants[] = {0.0, 2.5, 48.9, 1234.5, -75.25, 1234567.891, 1.005, 99999.99};
    size_t i = 0;
    for (auto _ : etat) {
        benchmark::DoNotOptimize(Conversion::FormatMonetaire(montants[i]));
        i = (i + 1) % std::size(montants);
    }
}
BENCHMARK(BM_FormatMonetaire);

// A receipt template with its placeholders, repeated to the size of a long receipt.
static void BM_Remplacer(benchmark::State &etat)
{
    QString ticket;
    for (int ligne = 0; ligne < etat.range(0); ++ligne)
        ticket += QStringLiteral("Chambre %CHAMBRE% - %NOM% : %MONTANT% le %DATE%\n");
    for (auto _ : etat) {
        QString texte = Conversion::Remplacer(ticket, QStringLiteral("%nom%"),
                                              QStringLiteral("Rakotomalala"));
        texte = Conversion::Remplacer(texte, QStringLiteral("%montant%"),
                                      QStringLiteral("1 234,50 €"));
        benchmark::DoNotOptimize(texte);
    }
    etat.SetBytesProcessed(etat.iterations() * ticket.size() * qsizetype(sizeof(QChar)));
}
BENCHMARK(BM_Remplacer)->Arg(1)->Arg(40)->Arg(2000);

BENCHMARK_MAIN();

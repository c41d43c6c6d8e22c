#include "GrandeBase.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "web/PublicationWeb.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// The whole publication as the window runs it, without the window: every object's page of
// 20 months written to its file, over 200 objects and 100 000 stays of ten years.
namespace {

const QString Connexion = QStringLiteral("bench_web_grande");
QString dossierDesPages;

void BM_PublicationComplete(benchmark::State &etat)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    qint64 pages = 0;
    for (auto _ : etat) {
        Recordset objets(base, QString::fromLatin1(TextesSQL::objetsPublies));
        const QDate aujourdhui = Horloge::aujourdhui();
        for (; !objets.fin(); objets.suivant()) {
            const QString erreur = PublicationWeb::publierObjet(base, dossierDesPages, objets,
                                                                aujourdhui, Horloge::maintenant());
            if (!erreur.isEmpty()) {
                etat.SkipWithError(qPrintable(erreur));
                return;
            }
            ++pages;
        }
    }
    etat.counters["pages"] = benchmark::Counter(double(pages), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PublicationComplete)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    QTemporaryDir dossier;
    dossierDesPages = dossier.path();
    const QSqlError erreur
        = remplirGrandeBase(dossier.filePath(QStringLiteral("grande.mdb")), Connexion);
    if (erreur.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BaseDeDonnees::fermer(Connexion);
    return 0;
}

#include "GrandeBase.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/DisponibiliteObjets.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// The free places as the window asks for them, every category, over 1 000 objects and
// 1 000 000 stays of ten years: tonight, where the list is long, and a week next month.
namespace {

const QString Connexion = QStringLiteral("bench_places_libres");

void chercher(benchmark::State &etat, const QDate &arrivee, const QDate &depart)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    qint64 libres = 0;
    for (auto _ : etat) {
        QVector<PlaceLibre> places;
        const QSqlError erreur
            = DisponibiliteObjets::placesLibres(base, arrivee, depart, 1, QString(), places);
        if (erreur.isValid()) {
            etat.SkipWithError(qPrintable(erreur.text()));
            return;
        }
        libres += places.size();
    }
    etat.counters["libres"]
        = benchmark::Counter(double(libres), benchmark::Counter::kAvgIterations);
}

void BM_CeSoir(benchmark::State &etat)
{
    const QDate aujourdhui = Horloge::aujourdhui();
    chercher(etat, aujourdhui, aujourdhui.addDays(1));
}
BENCHMARK(BM_CeSoir)->Unit(benchmark::kMillisecond);

void BM_SemaineLeMoisProchain(benchmark::State &etat)
{
    const QDate arrivee = Horloge::aujourdhui().addMonths(1);
    chercher(etat, arrivee, arrivee.addDays(7));
}
BENCHMARK(BM_SemaineLeMoisProchain)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return executerSurLeGrandSite(argc, argv, Connexion);
}

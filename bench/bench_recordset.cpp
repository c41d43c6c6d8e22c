#include "app/Horloge.h"
#include "data/AjoutOperation.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// One demonstration database for the whole run, opened the way the program opens its own.
static const QString Connexion = QStringLiteral("bench_recordset");

static QSqlDatabase base()
{
    return QSqlDatabase::database(Connexion, false);
}

// What one redraw of the planning costs on the database side: for each line, the per-object
// query opened and every field of every bar read.
static void BM_BarresDuPlanning(benchmark::State &etat)
{
    const QDate fin = Horloge::aujourdhui().addDays(60);
    Recordset objets(base(), TextesSQL::objetsDuPlanning);
    QVector<qint32> numeros;
    for (; !objets.fin(); objets.suivant())
        numeros << objets.champ("numero").toInt();
    const QStringList noms
        = Recordset(base(), TextesSQL::reservationsDeLObjet(1, fin.addDays(-31), fin))
              .nomsDesChamps();

    qint64 champsLus = 0;
    for (auto _ : etat) {
        for (qint32 numero : std::as_const(numeros)) {
            Recordset barres(base(),
                             TextesSQL::reservationsDeLObjet(numero, fin.addDays(-31), fin));
            for (; !barres.fin(); barres.suivant()) {
                for (const QString &nom : noms) {
                    benchmark::DoNotOptimize(barres.champ(nom));
                    ++champsLus;
                }
            }
        }
    }
    etat.counters["lignes"] = numeros.size();
    etat.counters["champs/s"] = benchmark::Counter(double(champsLus), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BarresDuPlanning)->Unit(benchmark::kMillisecond);

// One planning line alone, the unit of the redraw above.
static void BM_UneLigneDuPlanning(benchmark::State &etat)
{
    const QDate fin = Horloge::aujourdhui().addDays(60);
    for (auto _ : etat) {
        Recordset barres(base(), TextesSQL::reservationsDeLObjet(41, fin));
        for (; !barres.fin(); barres.suivant())
            benchmark::DoNotOptimize(barres.champ("DateDebut"));
    }
}
BENCHMARK(BM_UneLigneDuPlanning)->Unit(benchmark::kMicrosecond);

// A journal note: the set opens without reading the journal's rows.
static void BM_AjoutOperation(benchmark::State &etat)
{
    for (auto _ : etat)
        AjoutOperation(base(), 1, 0, QString(), QStringLiteral("Modification d'informations"));
}
BENCHMARK(BM_AjoutOperation)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv); // the SQLite driver is a plugin
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Razarivu.mdb"));
    QSqlError erreur = creerBase(chemin, true);
    if (!erreur.isValid())
        erreur = BaseDeDonnees::ouvrir(chemin, Connexion);
    if (erreur.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BaseDeDonnees::fermer(Connexion);
    return 0;
}

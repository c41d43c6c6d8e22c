#include "GrandeBase.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/RechercheSejours.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// Finding a client among 1 000 000 stays of ten years: reading them into memory when the window
// opens, then each keystroke as the owner types, from the first letter of a name to the whole
// of it, a text found nowhere, a part of a phone and a number.
namespace {

const QString Connexion = QStringLiteral("bench_recherche");
IndexRecherche indexCharge;

void BM_Chargement(benchmark::State &etat)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    IndexRecherche charge;
    for (auto _ : etat) {
        const QSqlError erreur = charge.charger(base);
        if (erreur.isValid()) {
            etat.SkipWithError(qPrintable(erreur.text()));
            return;
        }
    }
    etat.counters["sejours"] = double(charge.taille());
    etat.counters["octets"] = double(charge.octets());
}
BENCHMARK(BM_Chargement)->Unit(benchmark::kMillisecond)->Iterations(3);

// The index alone.
void BM_Recherche(benchmark::State &etat, const char *texte)
{
    const QString tape = QString::fromUtf8(texte);
    qsizetype trouves = 0;
    for (auto _ : etat) {
        const QVector<qint32> numeros = indexCharge.chercher(tape, 200);
        trouves = numeros.size();
        benchmark::DoNotOptimize(numeros.data());
    }
    etat.counters["trouves"] = double(trouves);
}

// What a keystroke costs the window before it fills its list: the index, then the rows shown.
void BM_Frappe(benchmark::State &etat, const char *texte)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    const QString tape = QString::fromUtf8(texte);
    qsizetype trouves = 0;
    for (auto _ : etat) {
        QSqlError erreur;
        const QVector<SejourTrouve> sejours
            = sejoursTrouves(base, indexCharge.chercher(tape, 200), &erreur);
        if (erreur.isValid()) {
            etat.SkipWithError(qPrintable(erreur.text()));
            return;
        }
        trouves = sejours.size();
    }
    etat.counters["trouves"] = double(trouves);
}

} // namespace

int main(int argc, char **argv)
{
    return executerSurLeGrandSite(argc, argv, Connexion, [] {
        const QSqlError erreur = indexCharge.charger(QSqlDatabase::database(Connexion, false));
        if (erreur.isValid()) {
            std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
            return false;
        }
        const char *const Textes[] = {"l",       "le",  "lef",      "lefe",  "lefev", "lefevr",
                                      "lefevre", "zzz", "98 76 54", "34 56", "123456"};
        for (const char *texte : Textes) {
            benchmark::RegisterBenchmark((std::string("BM_Recherche/") + texte).c_str(),
                                         BM_Recherche, texte)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark((std::string("BM_Frappe/") + texte).c_str(), BM_Frappe,
                                         texte)
                ->Unit(benchmark::kMillisecond);
        }
        return true;
    });
}

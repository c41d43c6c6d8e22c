#include "GrandeBase.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/MouvementsDuJour.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// The day's arrivals and departures with their balances, as the window reads them, over 1 000
// objects and 1 000 000 stays of ten years, each stay with an account of two rows.
namespace {

const QString Connexion = QStringLiteral("bench_mouvements_du_jour");

void BM_ListesDuJour(benchmark::State &etat)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    qint64 lignes = 0;
    for (auto _ : etat) {
        const MouvementsDuJour::Journee journee
            = MouvementsDuJour::lire(base, Horloge::aujourdhui());
        if (!journee.erreur.isEmpty()) {
            etat.SkipWithError(qPrintable(journee.erreur));
            return;
        }
        lignes += journee.arrivees.size() + journee.departs.size();
    }
    etat.counters["lignes"]
        = benchmark::Counter(double(lignes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ListesDuJour)->Unit(benchmark::kMillisecond);

// The site holds no account: every stay is charged its nights and pays its deposit.
bool remplirComptes()
{
    QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    QSqlQuery requete(base);
    base.transaction();
    const bool reussi = requete.exec(QStringLiteral(
                            "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, "
                            "libelle) SELECT NumeroReservation, DateDebut, -42.5 * (1 + Objet % "
                            "4), '', 'Séjour' FROM RESERVATIONS"))
        && requete.exec(QStringLiteral(
            "INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) SELECT "
            "NumeroReservation, DateDebut, arrhes, 'CB', 'Arrhes' FROM RESERVATIONS"));
    if (!reussi) {
        std::fprintf(stderr, "%s\n", qPrintable(requete.lastError().text()));
        base.rollback();
        return false;
    }
    return base.commit();
}

} // namespace

int main(int argc, char **argv)
{
    return executerSurLeGrandSite(argc, argv, Connexion, remplirComptes);
}

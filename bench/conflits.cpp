#include "GrandeBase.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/ConflitsSejour.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// The check the reservation dialog runs before it stores a stay, over 1 000 objects and
// 1 000 000 stays of ten years, on the object taken this afternoon that holds the most stays
// from today on: a stay typed for today, one typed nine years back (the whole history lies after
// it), and one typed there without a departure, which clashes with every stay of the object.
namespace {

const QString Connexion = QStringLiteral("bench_conflits");
qint32 objetCharge = 0;

void verifier(benchmark::State &etat, const QDateTime &arrivee, const QDateTime &depart)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    qint64 trouves = 0;
    for (auto _ : etat) {
        QVector<ConflitsSejour::Conflit> conflits;
        const QSqlError erreur
            = ConflitsSejour::conflitsDe(base, 0, objetCharge, arrivee, depart, 2, conflits);
        if (erreur.isValid()) {
            etat.SkipWithError(qPrintable(erreur.text()));
            return;
        }
        trouves += conflits.size();
    }
    etat.counters["conflits"]
        = benchmark::Counter(double(trouves), benchmark::Counter::kAvgIterations);
}

void BM_Aujourdhui(benchmark::State &etat)
{
    const QDate jour = Horloge::aujourdhui();
    verifier(etat, QDateTime(jour, QTime(14, 0)), QDateTime(jour.addDays(3), QTime(12, 0)));
}
BENCHMARK(BM_Aujourdhui)->Unit(benchmark::kMillisecond);

void BM_IlYANeufAns(benchmark::State &etat)
{
    const QDate jour = Horloge::aujourdhui().addYears(-9).addDays(10);
    verifier(etat, QDateTime(jour, QTime(14, 0)), QDateTime(jour.addDays(3), QTime(12, 0)));
}
BENCHMARK(BM_IlYANeufAns)->Unit(benchmark::kMillisecond);

void BM_IlYANeufAnsSansDepart(benchmark::State &etat)
{
    const QDate jour = Horloge::aujourdhui().addYears(-9).addDays(10);
    verifier(etat, QDateTime(jour, QTime(14, 0)), QDateTime());
}
BENCHMARK(BM_IlYANeufAnsSansDepart)->Unit(benchmark::kMillisecond);

// The object taken this afternoon with the most stays to come, and how SQLite runs the seek.
bool preparer()
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    QSqlQuery requete(base);
    const QString cetApresMidi
        = BaseDeDonnees::texteDate(QDateTime(Horloge::aujourdhui(), QTime(14, 0)));
    if (!requete.exec(QStringLiteral("SELECT Objet FROM RESERVATIONS WHERE DateFin > '%1' GROUP "
                                     "BY Objet HAVING max(DateDebut <= '%1') ORDER BY count(*) "
                                     "DESC, Objet LIMIT 1")
                          .arg(cetApresMidi))
        || !requete.next()) {
        std::fprintf(stderr, "%s\n", qPrintable(requete.lastError().text()));
        return false;
    }
    objetCharge = requete.value(0).toInt();
    QSqlQuery plan(base);
    plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ")
                 + QString::fromLatin1(ConflitsSejour::Requete));
    for (const QVariant &valeur :
         {QVariant(objetCharge), QVariant(0), QVariant("2026-12-08 14:00:00"),
          QVariant("2026-12-11 12:00:00"), QVariant(2)})
        plan.addBindValue(valeur);
    if (!plan.exec()) {
        std::fprintf(stderr, "%s\n", qPrintable(plan.lastError().text()));
        return false;
    }
    std::printf("Objet %d\n", objetCharge);
    while (plan.next())
        std::printf("Plan : %s\n", qPrintable(plan.value(3).toString()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    return executerSurLeGrandSite(argc, argv, Connexion, preparer);
}

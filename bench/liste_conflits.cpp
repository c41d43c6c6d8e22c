#include "GrandeBase.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/ListeConflits.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// The clashes from today, as the window reads them, over 1 000 objects and 1 000 000 stays of
// ten years, with a few places sold twice: a week over a booked week on ten objects, one stay
// never given a departure, and old clashes the list must not read.
namespace {

const QString Connexion = QStringLiteral("bench_liste_conflits");

void BM_ConflitsDepuisAujourdhui(benchmark::State &etat)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    qint64 paires = 0;
    for (auto _ : etat) {
        QVector<PaireEnConflit> resultat;
        const QSqlError erreur = listeDesConflits(base, Horloge::aujourdhui(), resultat);
        if (erreur.isValid()) {
            etat.SkipWithError(qPrintable(erreur.text()));
            return;
        }
        paires += resultat.size();
    }
    etat.counters["conflits"]
        = benchmark::Counter(double(paires), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ConflitsDepuisAujourdhui)->Unit(benchmark::kMillisecond);

bool ajouterConflits()
{
    const QDate aujourdhui = Horloge::aujourdhui();
    const auto jour = [](const QDate &date, const char *heure) {
        return date.toString(QStringLiteral("yyyy-MM-dd ")) + QString::fromLatin1(heure);
    };
    QSqlQuery requete(QSqlDatabase::database(Connexion, false));
    requete.prepare(QStringLiteral("INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, "
                                   "DateFin, Etat) VALUES (?, 'Doublon', ?, ?, 2)"));
    const auto ajouter = [&](int objet, const QVariant &debut, const QVariant &fin) {
        requete.addBindValue(objet);
        requete.addBindValue(debut);
        requete.addBindValue(fin);
        return requete.exec();
    };
    bool reussi = true;
    for (int objet = 100; objet <= 1000 && reussi; objet += 100) {
        const QDate arrivee = aujourdhui.addDays(objet / 10);
        reussi = ajouter(objet, jour(arrivee, "14:00:00"), jour(arrivee.addDays(7), "10:00:00"))
            && ajouter(objet, jour(aujourdhui.addYears(-5), "14:00:00"),
                       jour(aujourdhui.addYears(-5).addDays(7), "10:00:00"));
    }
    reussi = reussi
        && ajouter(555, jour(aujourdhui.addDays(30), "14:00:00"),
                   QVariant(QMetaType::fromType<QString>()));
    if (!reussi)
        std::fprintf(stderr, "%s\n", qPrintable(requete.lastError().text()));
    return reussi;
}

} // namespace

int main(int argc, char **argv)
{
    return executerSurLeGrandSite(argc, argv, Connexion, ajouterConflits);
}

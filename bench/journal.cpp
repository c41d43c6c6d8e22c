#include "GrandeBase.h"
#include "data/ChaineJournal.h"
#include "data/Cloture.h"

#include <QSqlQuery>

#include <benchmark/benchmark.h>

// "Vérifier le journal" on a journal of a million rows: every row read in the order of its
// chain and its fingerprint computed again.
namespace {

const QString Connexion = QStringLiteral("bench_journal");

void BM_VerifierUnMillionDeLignes(benchmark::State &etat)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    qint64 lignes = 0;
    for (auto _ : etat) {
        const ChaineJournal::Verification verification = ChaineJournal::verifier(base);
        if (!verification.intact)
            etat.SkipWithError(qPrintable(verification.message));
        lignes = verification.lignes;
    }
    etat.counters["lignes"] = double(lignes);
}
BENCHMARK(BM_VerifierUnMillionDeLignes)->Unit(benchmark::kMillisecond)->Iterations(3);

// "Vérifier le journal" as the menu runs it: the chain, then the closures' totals against the
// rows they cover (a closure of the whole journal: every row summed once, as many closures do).
void BM_VerifierLeJournalEtSesClotures(benchmark::State &etat)
{
    const QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    for (auto _ : etat) {
        const ChaineJournal::Verification chaine = ChaineJournal::verifier(base);
        const Cloture::Verification clotures = Cloture::verifier(base);
        if (!chaine.intact || !clotures.intacte || clotures.clotures != 1)
            etat.SkipWithError(qPrintable(chaine.message + clotures.message));
    }
}
BENCHMARK(BM_VerifierLeJournalEtSesClotures)->Unit(benchmark::kMillisecond)->Iterations(3);

// A million journal rows written as the program writes them, then chained.
bool remplirLeJournal()
{
    QSqlDatabase base = QSqlDatabase::database(Connexion, false);
    base.transaction();
    QSqlQuery requete(base);
    requete.exec(QStringLiteral("DELETE FROM OPERATIONS"));
    requete.prepare(QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, prix, "
                                   "paiement, libelle) VALUES (?, ?, ?, ?, ?)"));
    for (int i = 0; i < 1000000; ++i) {
        requete.addBindValue(1 + i / 2);
        requete.addBindValue(QStringLiteral("2026-%1-%2 10:00:00")
                                 .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                 .arg(1 + i % 28, 2, 10, QLatin1Char('0')));
        requete.addBindValue(i % 3 == 0 ? 0.0 : (i % 3 == 1 ? -2.5 : 45.0));
        requete.addBindValue(i % 3 == 2 ? QStringLiteral("CB ") : QStringLiteral("   "));
        requete.addBindValue(i % 3 == 0 ? QStringLiteral("Création de la reservation")
                                        : QStringLiteral("Café crème\r\n1 x 2,50"));
        if (!requete.exec())
            return false;
    }
    const bool chaine = !ChaineJournal::chainerLesLignesNonChainees(base).isValid();
    if (!base.commit() || !chaine)
        return false;
    Cloture::Releve releve;
    return !Cloture::cloturer(base, QDate(2026, 12, 8), releve).isValid();
}

} // namespace

int main(int argc, char **argv)
{
    return executerSurLeGrandSite(argc, argv, Connexion, remplirLeJournal);
}

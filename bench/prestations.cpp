#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"
#include "data/DecompteSejour.h"
#include "data/TaxeDuMois.h"

#include <QDir>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// What a stay costs and the month's tourist tax, read from the base: the "Prest."
// tab's reckoning of a 60-night stay across three seasons (the stay, its category's seasons and
// the catalogue read, then counted), and the statement of a month of 2 000 stays (read, counted,
// written as PDF and CSV).
namespace {

const QString Connexion = QStringLiteral("bench_prestations");
const QDate Mois(2026, 11, 1);
int g_sejour = 0;

QSqlDatabase base()
{
    return QSqlDatabase::database(Connexion, false);
}

Tarification::ReglageTaxe reglage()
{
    Tarification::ReglageTaxe resultat;
    resultat.mode = Tarification::ReglageTaxe::Mode::Pourcentage;
    resultat.plafond = 230;
    resultat.majoration = 1000;
    return resultat;
}

void BM_PrestationsSoixanteNuitsTroisSaisons(benchmark::State &etat)
{
    for (auto _ : etat) {
        DecompteSejour::Sejour sejour;
        DecompteSejour::Decompte decompte;
        QSqlError erreur = DecompteSejour::lireSejour(base(), g_sejour, sejour);
        if (!erreur.isValid())
            erreur = DecompteSejour::calculerDepuisLaBase(base(), sejour, reglage(), decompte);
        if (erreur.isValid() || !decompte.refus.isEmpty() || decompte.lignes.size() < 6)
            etat.SkipWithError("le séjour n'est pas compté");
        benchmark::DoNotOptimize(decompte.total());
    }
}
BENCHMARK(BM_PrestationsSoixanteNuitsTroisSaisons)->Unit(benchmark::kMillisecond);

void BM_ReleveDuMoisDeuxMilleSejours(benchmark::State &etat)
{
    QTemporaryDir dossier;
    Etablissement etablissement;
    etablissement.nom = QStringLiteral("Camping des Pins");
    etablissement.taxe = reglage();
    qsizetype lignes = 0;
    for (auto _ : etat) {
        Releve releve;
        QStringList avertissements;
        if (TaxeDuMois::releve(base(), Mois, etablissement, releve, avertissements).isValid())
            etat.SkipWithError("le relevé n'est pas lu");
        const QString nom = QDir(dossier.path()).filePath(TaxeDuMois::nomFichiers(Mois));
        if (!ecrireRelevePdf(releve, nom + QStringLiteral(".pdf")).isEmpty())
            etat.SkipWithError("le relevé PDF n'est pas écrit");
        benchmark::DoNotOptimize(releveCsv(releve).size());
        lignes = releve.lignes.size();
    }
    etat.counters["sejours"] = double(lignes);
}
BENCHMARK(BM_ReleveDuMoisDeuxMilleSejours)->Unit(benchmark::kMillisecond);

// A base with its reference rows; seasons for objects without a category, a stay of 60 nights
// with services, and 2 000 stays in November 2026 spread over 200 objects.
bool remplir()
{
    QSqlQuery requete(base());
    base().transaction();
    requete.exec(QStringLiteral("UPDATE OBJETS SET Categorie = NULL"));
    for (int numero = 100; numero < 300; ++numero)
        requete.exec(
            QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (%1, 'E%1')").arg(numero));
    requete.prepare(QStringLiteral("INSERT INTO SAISONS (Categorie, debut, fin, prixnuit, "
                                   "personnes, supplementadulte) VALUES ('', ?, ?, ?, 2, 800)"));
    const auto jour = [](const QDate &date) {
        return date.toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    };
    for (int annee = 2016; annee <= 2028; ++annee) {
        for (const auto &[debut, fin, prix] :
             {std::tuple {QDate(annee, 1, 1), QDate(annee, 6, 30), 2150},
              std::tuple {QDate(annee, 7, 1), QDate(annee, 7, 31), 2900},
              std::tuple {QDate(annee, 8, 1), QDate(annee, 8, 31), 2600},
              std::tuple {QDate(annee, 9, 1), QDate(annee, 12, 31), 2150}}) {
            requete.addBindValue(jour(debut));
            requete.addBindValue(jour(fin));
            requete.addBindValue(prix);
            requete.exec();
        }
    }
    requete.exec(QStringLiteral("INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, DateFin, "
                                "Etat, nbadultes, nbenfants) VALUES (1, 'Soixante nuits', "
                                "'2027-06-20 15:00:00', '2027-08-19 10:00:00', 2, 3, 1)"));
    g_sejour = requete.lastInsertId().toInt();
    requete.exec(QStringLiteral("INSERT INTO PRESTATIONSSEJOUR VALUES (%1, 1, 1), (%1, 4, 4)")
                     .arg(g_sejour));
    const int manquent = 2000;
    requete.prepare(QStringLiteral("INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, "
                                   "DateFin, Etat, nbadultes, nbenfants) VALUES (?, 'Relevé', ?, "
                                   "?, 2, 2, 1)"));
    for (int i = 0; i < manquent; ++i) {
        requete.addBindValue(100 + i % 200);
        requete.addBindValue(jour(Mois.addDays(i % 28)).replace(11, 2, QStringLiteral("15")));
        requete.addBindValue(jour(Mois.addDays(i % 28 + 2)).replace(11, 2, QStringLiteral("10")));
        requete.exec();
    }
    base().commit();
    return g_sejour > 0;
}

} // namespace

int main(int argc, char **argv)
{
    // The statement is laid out with fonts.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("prestations.mdb"));
    QSqlError erreur = creerBase(chemin, false);
    if (!erreur.isValid())
        erreur = BaseDeDonnees::ouvrir(chemin, Connexion);
    if (erreur.isValid() || !remplir()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BaseDeDonnees::fermer(Connexion);
    return 0;
}

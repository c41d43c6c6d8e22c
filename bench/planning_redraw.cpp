#include "GrandeBase.h"
#include "app/Horloge.h"
#include "conversion/Couleurs.h"
#include "data/BaseDeDonnees.h"
#include "data/CopieBase.h"
#include "data/CreationBase.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "data/VeilleBase.h"
#include "planning/DessinPlanning.h"
#include "planning/SurfaceImage.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

// The planning's redraw as the window runs it, on surfaces sized as a 1600 x 1000 window lays
// them out: the container is inset 8 pixels, the grid starts 152 pixels in and below 41 pixels
// of headings.
namespace {

const QString ConnexionGrande = QStringLiteral("bench_planning_grande");
const QString ConnexionMillion = QStringLiteral("bench_planning_million");
const QString ConnexionDemo = QStringLiteral("bench_planning_demo");
const QString ConnexionPostgres = QStringLiteral("bench_planning_postgres");

constexpr int LargeurFenetre = 1600;
constexpr int HauteurFenetre = 1000;
constexpr int Marge = 8;
constexpr int GaucheGrille = 152;
constexpr int HauteurEntetes = 41;

// The four surfaces with the window's colours, sized as the window lays them out.
struct Surfaces
{
    SurfaceImage lesmois {couleurDepuisVB(0xC0FFFF)};
    SurfaceImage TexteColonnes {couleurDepuisVB(0x8000000B)}; // system inactive border
    SurfaceImage objets {couleurDepuisVB(0xFF8080)};
    SurfaceImage planning {couleurDepuisVB(0xE0E0E0)};

    Surfaces()
    {
        const int largeur = LargeurFenetre - 2 * Marge - GaucheGrille;
        const int hauteur = HauteurFenetre - Marge - Marge - HauteurEntetes;
        lesmois.redimensionner(largeur, 25);
        TexteColonnes.redimensionner(largeur, HauteurEntetes);
        objets.redimensionner(GaucheGrille + 1, hauteur);
        planning.redimensionner(largeur, hauteur);
        // The window's own font, so that texts take the path the owner's screen takes.
        for (SurfaceImage *surface : {&lesmois, &TexteColonnes, &objets, &planning})
            surface->police = policePlanning();
    }

    SurfacesPlanning pointeurs() { return {&lesmois, &TexteColonnes, &objets, &planning}; }
};

// The window keeps its surfaces, and what they remember of the texts drawn, from one redraw to
// the next: so does the bench, for the whole run.
Surfaces *surfacesDeLaFenetre = nullptr;

void redessiner(benchmark::State &etat, const QString &connexion, bool jourApresJour,
                int premiereLigne = 0)
{
    const QSqlDatabase base = QSqlDatabase::database(connexion, false);
    const SurfacesPlanning pointeurs = surfacesDeLaFenetre->pointeurs();
    VuePlanning vue;
    vue.datedepart = Horloge::aujourdhui();
    vue.premiereLigne = premiereLigne;
    qint64 barres = 0;
    ReservationsAffichees precedentes;
    for (auto _ : etat) {
        ResultatDessin resultat = dessinerPlanning(pointeurs, base, vue, std::move(precedentes));
        barres += resultat.barres.size() - 1;
        precedentes = std::move(resultat.barres);
        if (jourApresJour)
            vue.datedepart = vue.datedepart.addDays(1);
    }
    etat.counters["barres"]
        = benchmark::Counter(double(barres), benchmark::Counter::kAvgIterations);
}

// The redraw of today's period, as the window repeats it on every pan step.
void BM_GrandeBase(benchmark::State &etat)
{
    redessiner(etat, ConnexionGrande, false);
}
BENCHMARK(BM_GrandeBase)->Unit(benchmark::kMillisecond);

// Press-and-hold on ">": every redraw is of a new period, so nothing of the last one is reused.
void BM_GrandeBaseJourApresJour(benchmark::State &etat)
{
    redessiner(etat, ConnexionGrande, true);
}
BENCHMARK(BM_GrandeBaseJourApresJour)->Unit(benchmark::kMillisecond);

// A thousand objects and a million stays: the screen at the top, the middle and the bottom of
// the list must cost what the 200-object screen does.
void BM_MillionDeSejours(benchmark::State &etat)
{
    redessiner(etat, ConnexionMillion, false, int(etat.range(0)));
}
BENCHMARK(BM_MillionDeSejours)->Arg(0)->Arg(480)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_BaseDeDemonstration(benchmark::State &etat)
{
    redessiner(etat, ConnexionDemo, false);
}
BENCHMARK(BM_BaseDeDemonstration)->Unit(benchmark::kMillisecond);

// The same 200-object site copied onto a PostgreSQL server on 127.0.0.1 (RAZARIVU_BENCH_PG set):
// several desks share it there. Registered only when the server could be started.
void BM_GrandeBasePostgres(benchmark::State &etat)
{
    redessiner(etat, ConnexionPostgres, false);
}

// What opening a stay reads: the stay by its number, then its account and its history.
void ouvrirSejours(benchmark::State &etat, const QString &connexion)
{
    const QSqlDatabase base = QSqlDatabase::database(connexion, false);
    qint32 numero = 1;
    for (auto _ : etat) {
        const auto sejour = lireReservationAffichee(base, numero);
        benchmark::DoNotOptimize(sejour);
        for (const QString &texte :
             {TextesSQL::compteDeLaReservation(QString::number(numero)),
              TextesSQL::historiqueDeLaReservation(QString::number(numero))}) {
            Recordset lignes(base, texte);
            benchmark::DoNotOptimize(lignes.nombre());
        }
        numero = numero % 100000 + 7919;
    }
}
void BM_OuvrirSejour(benchmark::State &etat)
{
    ouvrirSejours(etat, ConnexionGrande);
}
BENCHMARK(BM_OuvrirSejour)->Unit(benchmark::kMillisecond);
void BM_OuvrirSejourPostgres(benchmark::State &etat)
{
    ouvrirSejours(etat, ConnexionPostgres);
}

// What watching for the other desks costs an idle desk on a file: one look a second.
void BM_VeilleDUnPoste(benchmark::State &etat)
{
    VeilleBase veille(ConnexionGrande);
    for (auto _ : etat)
        benchmark::DoNotOptimize(veille.verifier());
}
BENCHMARK(BM_VeilleDUnPoste)->Unit(benchmark::kMicrosecond);

// A cluster of the bench's own in `dossier`, the 200-object site copied into a base there.
bool preparerPostgres(const QString &dossier, const QString &site)
{
    const auto lancer = [&](const QString &commande) {
        QProcess processus;
        QStringList arguments = {QStringLiteral(RAZARIVU_SERVEUR_PG), commande, dossier};
        if (commande == QLatin1String("base"))
            arguments << QStringLiteral("bench");
        processus.start(QStringLiteral("sh"), arguments);
        processus.waitForFinished(120000);
        return processus.exitCode() == 0
            ? QString::fromUtf8(processus.readAllStandardOutput()).trimmed()
            : QString();
    };
    if (lancer(QStringLiteral("demarrer")).isEmpty())
        return false;
    const QString adresse = lancer(QStringLiteral("base"));
    if (adresse.isEmpty())
        return false;
    QStringList compteRendu;
    const QSqlError copie = copierBase(site, adresse, &compteRendu);
    if (copie.isValid() || BaseDeDonnees::ouvrir(adresse, ConnexionPostgres).isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(copie.text()));
        return false;
    }
    QSqlQuery(QStringLiteral("ANALYZE"), QSqlDatabase::database(ConnexionPostgres, false)).exec();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // Text is drawn into pictures, which needs the font database of a GUI application but no
    // screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));

    QTemporaryDir dossier;
    QSqlError erreur
        = remplirGrandeBase(dossier.filePath(QStringLiteral("grande.mdb")), ConnexionGrande);
    if (!erreur.isValid())
        erreur = remplirGrandeBase(dossier.filePath(QStringLiteral("million.mdb")),
                                   ConnexionMillion, TailleSite::Grande);
    const QString demo = dossier.filePath(QStringLiteral("demo.mdb"));
    if (!erreur.isValid())
        erreur = creerBase(demo, true);
    if (!erreur.isValid())
        erreur = BaseDeDonnees::ouvrir(demo, ConnexionDemo);
    if (erreur.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    const QString dossierPostgres = dossier.filePath(QStringLiteral("serveur"));
    const bool postgres = !qEnvironmentVariableIsEmpty("RAZARIVU_BENCH_PG");
    if (postgres) {
        if (!preparerPostgres(dossierPostgres, dossier.filePath(QStringLiteral("grande.mdb")))) {
            std::fprintf(stderr, "le serveur PostgreSQL n'a pas pu être préparé\n");
            return 1;
        }
        benchmark::RegisterBenchmark("BM_GrandeBasePostgres", BM_GrandeBasePostgres)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_OuvrirSejourPostgres", BM_OuvrirSejourPostgres)
            ->Unit(benchmark::kMillisecond);
    }
    Surfaces surfaces;
    surfacesDeLaFenetre = &surfaces;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (postgres) {
        BaseDeDonnees::fermer(ConnexionPostgres);
        QProcess::execute(
            QStringLiteral("sh"),
            {QStringLiteral(RAZARIVU_SERVEUR_PG), QStringLiteral("arreter"), dossierPostgres});
    }
    BaseDeDonnees::fermer(ConnexionGrande);
    BaseDeDonnees::fermer(ConnexionMillion);
    BaseDeDonnees::fermer(ConnexionDemo);
    return 0;
}

#include "GrandeBase.h"
#include "app/Horloge.h"
#include "conversion/Couleurs.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"
#include "planning/DessinPlanning.h"
#include "planning/SurfaceImage.h"

#include <QGuiApplication>
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
    Surfaces surfaces;
    surfacesDeLaFenetre = &surfaces;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BaseDeDonnees::fermer(ConnexionGrande);
    BaseDeDonnees::fermer(ConnexionMillion);
    BaseDeDonnees::fermer(ConnexionDemo);
    return 0;
}

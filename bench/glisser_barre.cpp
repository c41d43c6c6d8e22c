#include "GrandeBase.h"
#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "planning/Form1.h"
#include "planning/ReservationAffichee.h"
#include "planning/SurfaceDessin.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

// One step of a bar dragged on the real planning window of the 200-object, 100 000-stay site,
// laid out 1600 x 1000: a step is what a pointer move costs while a bar is held (the redraw, the
// bar at its new place, the dates beside the pointer). The bar goes 30 days right and 20 lines
// down and back, one day or one line a step, and is let go with Escape, so nothing is stored.
namespace {

Form1 *fenetre = nullptr;

void deplacer(QWidget *surface, const QPoint &position)
{
    QMouseEvent evenement(QEvent::MouseMove, QPointF(position),
                          QPointF(surface->mapToGlobal(position)), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &evenement);
}

void BM_PasDeGlissement(benchmark::State &etat)
{
    Form1 &f = *fenetre;
    f.rafraichir();
    // The first bar drawn in the middle of a line, taken away from its ends.
    const ReservationAffichee barre = f.ReservationsAffichees.at(1);
    const QPoint appui((barre.x1 + barre.x2) / 2, (barre.y1 + barre.y2) / 2);
    QMouseEvent pression(QEvent::MouseButtonPress, QPointF(appui),
                         QPointF(f.planning->mapToGlobal(appui)), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
    QCoreApplication::sendEvent(f.planning, &pression);
    QVector<QPoint> chemin;
    for (int pas = 1; pas <= 30; ++pas)
        chemin.append(appui + QPoint(pas * f.largeurjour, 0));
    for (int pas = 1; pas <= 20; ++pas)
        chemin.append(chemin.last() + QPoint(0, f.hauteurligne));
    for (int pas = chemin.size() - 2; pas >= 0; --pas)
        chemin.append(chemin.at(pas));
    chemin.append(appui);
    qsizetype rang = 0;
    for (auto _ : etat) {
        deplacer(f.planning, chemin.at(rang));
        rang = (rang + 1) % chemin.size();
    }
    QKeyEvent echap(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &echap);
}
BENCHMARK(BM_PasDeGlissement)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    BoiteMessage::repondreAutomatiquement(true);

    // The site made as the other benches make it, then opened by the window as the program
    // opens its base at start-up.
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("Razarivu.mdb"));
    const QSqlError erreur = remplirGrandeBase(chemin, QStringLiteral("bench_glisser_remplissage"));
    if (erreur.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    BaseDeDonnees::fermer(QStringLiteral("bench_glisser_remplissage"));
    qputenv("RAZARIVU_DOSSIER", dossier.path().toUtf8());
    {
        Contexte contexte;
        Form1 planning(contexte);
        if (!planning.charger()) {
            std::fprintf(stderr, "la base n'a pas pu être ouverte\n");
            return 1;
        }
        planning.resize(1600, 1000);
        planning.show();
        fenetre = &planning;
        benchmark::RunSpecifiedBenchmarks();
        fenetre = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}

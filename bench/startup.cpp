#include "GrandeBase.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <sys/resource.h>

// The real program started as a person starts it, timed from the process launch until its
// planning is painted (the program says so on its standard output when RAZARIVU_MESURE_DEMARRAGE
// is set, then ends). The start-up backup copy of the database is part of it.
//
// Every timed start finds its folder as the program left it after one earlier start: settings
// file filled in, backup slot 1 taken. What the start writes (the next slot's copies, the slot
// number) is taken back before the next one, so every start copies into a fresh slot.
namespace {

constexpr int AttenteMaximaleMs = 60000;

struct DossierApplication
{
    QString chemin;
    QHash<QString, QByteArray> reglages; // the settings files after the first start
    QStringList fichiers; // every file after the first start
};

DossierApplication dossierDemo;
DossierApplication dossierGrande;
DossierApplication dossierMillion;

QStringList fichiersSous(const QString &dossier)
{
    QStringList fichiers;
    QDirIterator parcours(dossier, QDir::Files, QDirIterator::Subdirectories);
    while (parcours.hasNext())
        fichiers.append(parcours.next());
    return fichiers;
}

// Starts the program on the folder and waits for its planning. Returns the elapsed time in
// seconds, or a negative value with `erreur` set.
double demarrer(const QString &dossier, QString &erreur)
{
    QProcess programme;
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environnement.insert(QStringLiteral("RAZARIVU_DOSSIER"), dossier);
    environnement.insert(QStringLiteral("RAZARIVU_MESURE_DEMARRAGE"), QStringLiteral("1"));
    programme.setProcessEnvironment(environnement);

    QElapsedTimer chrono;
    chrono.start();
    programme.start(QStringLiteral(RAZARIVU_PROGRAMME), QStringList());
    QByteArray sortie;
    while (!sortie.contains('\n') && chrono.elapsed() < AttenteMaximaleMs) {
        if (!programme.waitForReadyRead(AttenteMaximaleMs)
            && programme.state() == QProcess::NotRunning)
            break;
        sortie += programme.readAllStandardOutput();
    }
    const qint64 nanosecondes = chrono.nsecsElapsed();

    programme.waitForFinished(AttenteMaximaleMs);
    if (sortie.trimmed() != QByteArrayLiteral("planning dessiné")) {
        erreur = QStringLiteral("pas de planning dessiné (sortie « %1 », statut %2) : %3")
                     .arg(QString::fromUtf8(sortie.trimmed()))
                     .arg(programme.exitCode())
                     .arg(QString::fromUtf8(programme.readAllStandardError()));
        return -1;
    }
    return double(nanosecondes) / 1e9;
}

// The start the folder is measured after: it fills the settings file in and takes slot 1.
bool preparer(DossierApplication &application)
{
    QString erreur;
    if (demarrer(application.chemin, erreur) < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur));
        return false;
    }
    application.fichiers = fichiersSous(application.chemin);
    for (const QString &fichier : application.fichiers) {
        QFile lu(fichier);
        if (fichier.endsWith(QLatin1String(".ini")) && lu.open(QIODevice::ReadOnly))
            application.reglages.insert(fichier, lu.readAll());
    }
    return true;
}

void remettreEnEtat(const DossierApplication &application)
{
    for (const QString &fichier : fichiersSous(application.chemin)) {
        if (!application.fichiers.contains(fichier))
            QFile::remove(fichier);
    }
    for (auto reglage = application.reglages.cbegin(); reglage != application.reglages.cend();
         ++reglage) {
        QFile ecrit(reglage.key());
        if (ecrit.open(QIODevice::WriteOnly | QIODevice::Truncate))
            ecrit.write(reglage.value());
    }
}

// The largest resident size of the program started since the bench began, in MiB.
double residentMaximal()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void mesurer(benchmark::State &etat, const DossierApplication &application)
{
    for (auto _ : etat) {
        remettreEnEtat(application);
        QString erreur;
        const double secondes = demarrer(application.chemin, erreur);
        if (secondes < 0) {
            etat.SkipWithError(qPrintable(erreur));
            return;
        }
        etat.SetIterationTime(secondes);
    }
    remettreEnEtat(application);
    etat.counters["Mo_residents"] = residentMaximal();
}

// The demonstration database: a dozen objects, about eighty stays.
void BM_DemarrageBaseDeDemonstration(benchmark::State &etat)
{
    mesurer(etat, dossierDemo);
}
BENCHMARK(BM_DemarrageBaseDeDemonstration)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

// 200 objects and 100 000 stays over ten years.
void BM_DemarrageGrandeBase(benchmark::State &etat)
{
    mesurer(etat, dossierGrande);
}
BENCHMARK(BM_DemarrageGrandeBase)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

// A thousand objects and a million stays: the start, and the memory the shown planning takes
// (the counter is the peak of every start so far, this one the largest).
void BM_DemarrageMillionDeSejours(benchmark::State &etat)
{
    mesurer(etat, dossierMillion);
}
BENCHMARK(BM_DemarrageMillionDeSejours)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir demo;
    QTemporaryDir grande;
    QTemporaryDir million;
    dossierDemo.chemin = demo.path();
    dossierGrande.chemin = grande.path();
    dossierMillion.chemin = million.path();
    const QString connexion = QStringLiteral("bench_demarrage_grande");
    QSqlError erreur = creerBase(demo.filePath(QStringLiteral("Razarivu.mdb")), true);
    if (!erreur.isValid())
        erreur = remplirGrandeBase(grande.filePath(QStringLiteral("Razarivu.mdb")), connexion);
    BaseDeDonnees::fermer(connexion);
    if (!erreur.isValid())
        erreur = remplirGrandeBase(million.filePath(QStringLiteral("Razarivu.mdb")), connexion,
                                   TailleSite::Grande);
    BaseDeDonnees::fermer(connexion);
    if (erreur.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    if (!preparer(dossierDemo) || !preparer(dossierGrande) || !preparer(dossierMillion))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

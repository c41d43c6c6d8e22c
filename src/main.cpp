#include "app/Contexte.h"
#include "app/MesureDemarrage.h"
#include "app/ROOT.h"
#include "planning/Form1.h"
#include "planning/SurfaceDessin.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Razarivu"));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    QTranslator traductionQt;
    if (traductionQt.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traductionQt);

    Contexte contexte;
    ROOT cadre(contexte);
    QObject::connect(&cadre, &ROOT::finDemandee, &application, &QCoreApplication::exit);
    cadre.show();
    if (!cadre.demarrer())
        return 1;
    if (MesureDemarrage::demandee())
        MesureDemarrage::terminerApresPremierDessin(cadre.planning()->planning);
    return application.exec();
}

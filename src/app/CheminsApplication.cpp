#include "app/CheminsApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace CheminsApplication {

QString choisirDossierApplication(const QString &variable, const QString &dossierExecutable,
                                  bool executableModifiable, bool installe,
                                  const QString &dossierDonnees)
{
    if (!variable.isEmpty())
        return QDir::cleanPath(QDir(variable).absolutePath());
    if (executableModifiable && !installe)
        return dossierExecutable;
    return dossierDonnees;
}

bool estInstalle(const QString &dossierExecutable)
{
    return QFileInfo(dossierExecutable).fileName() == QLatin1String("bin")
        && QFileInfo::exists(dossierExecutable
                             + QLatin1String("/../share/applications/razarivu.desktop"));
}

QString dossierApplication()
{
    const QString executable = QCoreApplication::applicationDirPath();
    const QString donnees = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString dossier = choisirDossierApplication(
        qEnvironmentVariable("RAZARIVU_DOSSIER"), executable, QFileInfo(executable).isWritable(),
        estInstalle(executable), donnees);
    // The settings file is written before anything else would make the folder.
    if (dossier == donnees && !QFileInfo::exists(dossier))
        QDir().mkpath(dossier);
    return dossier;
}

QString dansDossierApplication(const QString &nomFichier)
{
    if (nomFichier.contains(QLatin1Char('/')) || nomFichier.contains(QLatin1Char('\\')))
        return nomFichier;
    return dossierApplication() + QLatin1Char('/') + nomFichier;
}

QString fichierINIPrincipal()
{
    return dossierApplication() + QLatin1Char('/') + QLatin1String(NomExecutable)
        + QLatin1String(".ini");
}

QString fichierExecutable()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace CheminsApplication

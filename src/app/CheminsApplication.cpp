#include "app/CheminsApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace CheminsApplication {

QString dossierApplication()
{
    const QString dossier = qEnvironmentVariable("RAZARIVU_DOSSIER");
    if (!dossier.isEmpty())
        return QDir::cleanPath(QDir(dossier).absolutePath());
    return QCoreApplication::applicationDirPath();
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

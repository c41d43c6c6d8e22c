#pragma once

#include <QString>

// Where the program keeps its files. The application folder is the folder of the executable,
// unless the environment variable RAZARIVU_DOSSIER names another one (tests, installed copies).
namespace CheminsApplication {

inline constexpr const char *NomExecutable = "Razarivu";

QString dossierApplication();

// Application folder + "/" + name: the private-profile rule for a settings file given
// without a folder. A name that already holds a folder is returned unchanged.
QString dansDossierApplication(const QString &nomFichier);

// Application folder + "/Razarivu.ini".
QString fichierINIPrincipal();

// The running program file, copied into the backups.
QString fichierExecutable();

} // namespace CheminsApplication

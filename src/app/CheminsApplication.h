#pragma once

#include <QString>

// Where the program keeps its files. The application folder is the folder of the executable,
// unless the environment variable RAZARIVU_DOSSIER names another one (tests, installed copies).
namespace CheminsApplication {

inline constexpr const char *NomExecutable = "Razarivu";

// The variable when it is set, made absolute; else the executable's folder when it can be
// written; else the user's data folder (an installed copy under /usr: its bin folder is
// read-only, and settings, database and backups would have nowhere to go).
QString choisirDossierApplication(const QString &variable, const QString &dossierExecutable,
                                  bool executableModifiable, const QString &dossierDonnees);

// The choice above on this process and this machine. The user's data folder
// (~/.local/share/Razarivu) is created when it is the one chosen.
QString dossierApplication();

// Application folder + "/" + name: the private-profile rule for a settings file given
// without a folder. A name that already holds a folder is returned unchanged.
QString dansDossierApplication(const QString &nomFichier);

// Application folder + "/Razarivu.ini".
QString fichierINIPrincipal();

// The running program file, copied into the backups.
QString fichierExecutable();

} // namespace CheminsApplication

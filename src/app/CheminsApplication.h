#pragma once

#include <QString>

// Where the program keeps its files. The application folder is the folder of the executable,
// unless the environment variable RAZARIVU_DOSSIER names another one, or the program is an
// installed copy (its data then go to the user's data folder).
namespace CheminsApplication {

inline constexpr const char *NomExecutable = "Razarivu";

// The variable when it is set, made absolute; else the executable's folder when it can be
// written and the program is not an installed copy; else the user's data folder. An installed
// copy never keeps data beside itself: under /usr its bin folder is read-only, and under
// ~/.local settings, database and backups would pile up among the user's programs.
QString choisirDossierApplication(const QString &variable, const QString &dossierExecutable,
                                  bool executableModifiable, bool installe,
                                  const QString &dossierDonnees);

// An installed copy: its folder is a prefix's bin folder, with the menu entry installed beside
// it (`prefix/share/applications/razarivu.desktop`).
bool estInstalle(const QString &dossierExecutable);

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

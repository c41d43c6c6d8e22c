#pragma once

#include <QString>

// The rotating copies of the database and of the program, made at every start.
namespace Sauvegardes {

// "sauvegardes numero" + 1, back to 0 once it passes "sauvegardes nombre": with the default 30
// the slots run 1 ... 30, 0, 1 ... (31 numbers). Texts that are no number read as 0; values
// beyond the 32-bit range are taken as 0 too.
int emplacementSuivant(const QString &numeroPrecedent, const QString &nombre);

// The file name part of a database path: after the last "/", "\" or ":", or the whole path.
QString nomFichierBase(const QString &cheminBase);

// Folder + the database file name without its last 4 characters + "_" + slot + ".mdb".
QString nomSauvegardeBase(const QString &dossier, const QString &cheminBase, int emplacement);

// Folder + program name + "_" + slot (+ ".exe" on Windows).
QString nomSauvegardeProgramme(const QString &dossier, const QString &nomProgramme,
                               int emplacement);

// Copies `source` over `cible`. The older copy is replaced only once the new one is complete.
bool copierEnRemplacant(const QString &source, const QString &cible);

// The database as one consistent picture of itself, even while another desk writes to it
// (SQLite's backup API, under a read lock), checked with PRAGMA quick_check before it replaces
// the older copy at `cible`; a copy that fails leaves the older one as it was. A file that is
// not a database at all is copied as it is, so that whatever the owner had is kept. Empty when
// done, else why not, in French.
QString copierLaBase(const QString &source, const QString &cible);

// The program into its slot, unless the newest program copy of the folder already holds the
// same bytes: thirty copies of one release would only fill the disk. True when the slot holds
// or needs no copy.
bool copierLeProgramme(const QString &source, const QString &cible);

// A PostgreSQL base through pg_dump (one transaction: a consistent picture while the other
// desks write), read back with pg_restore --list before it replaces the older copy. Empty when
// done, else why not, in French.
QString copierLeServeur(const QString &adresse, const QString &cible, const QString &motDePasse);
// Folder + the base's name + "_" + slot + ".dump".
QString nomSauvegardeServeur(const QString &dossier, const QString &adresse, int emplacement);

struct Bilan
{
    int emplacement = 0;
    // Why the database could not be backed up, in French; empty when it was, or when there
    // is no database file to back up.
    QString probleme;
};

// The whole backup step of the start-up: reads and writes the slot keys of the main settings
// file, creates the folder and copies both files. Each step may fail without stopping the next;
// the slot is written back in every case.
Bilan effectuer(const QString &dossierApplication, const QString &fichierINI,
                const QString &cheminBase, const QString &cheminProgramme);

} // namespace Sauvegardes

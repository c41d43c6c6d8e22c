#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

class Recordset;

// Writing the published pages: one object's page from the database to its file, and the texts
// the publication window derives from an object row. No widget.
namespace PublicationWeb {

// CalendrierWeb::dateDeFin written "dd/mm/yyyy": the end the window passes on.
QString texteDeFin(const QDate &aujourdhui);
// The page's file name: FichierPlanningHTML, or Nom + ".html" when it is Null.
QString nomDeFichier(const QVariant &Nom, const QVariant &FichierPlanningHTML);
// The name shown on the page: NomInternet, or Nom when it is Null.
QString nomAffiche(const QVariant &Nom, const QVariant &NomInternet);

// The files of the program that a page must never replace: the base the connection has open
// and the one the settings name, the settings files, the upload scripts and the program itself,
// beside the pages in `dossier` or wherever they are.
QStringList fichiersDuProgramme(const QString &dossier, const QSqlDatabase &base);

// Why no page may be written at `chemin`, in French for the log; empty when one may. A page is
// only ever written to an ".html" or ".htm" name (in any letter case), and never over one of
// `proteges`, links followed: an object's file name is typed by whoever keeps the objects.
QString refusDeLaPage(const QString &chemin, const QStringList &proteges);

// Writes the page of object `numero` into `dossier` under `fichier` cleaned of the characters
// a file name cannot hold, from the published reservations starting before `finTexte`
// ("01/mm/yyyy"). The file is replaced whole or not at all, and only when refusDeLaPage allows
// it with the files of the program. Returns an empty text, or what went wrong, in French, for
// the log.
QString procedureMiseAjourInternet(const QSqlDatabase &base, const QString &dossier, qint32 numero,
                                   const QString &finTexte, const QString &fichier,
                                   const QString &nomAffiche, const QDate &aujourdhui,
                                   const QDateTime &maintenant);

// The page of the current row of an "OBJETS" record set, as the publication window writes it:
// its number, its file name and its display name from the row, the end from `aujourdhui`.
// Returns what procedureMiseAjourInternet returns.
QString publierObjet(const QSqlDatabase &base, const QString &dossier, const Recordset &objet,
                     const QDate &aujourdhui, const QDateTime &maintenant);

// Starts the owner's upload script ("lanceftp.sh" in `dossier`) with /bin/sh, detached, in
// that folder; not waited for. False when there is none or it cannot start; nothing is said.
bool lancerEnvoi(const QString &dossier);

} // namespace PublicationWeb

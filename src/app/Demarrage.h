#pragma once

#include <QSqlError>
#include <QString>

class Contexte;

// The parts of the planning window's load that need no window, in the order the load runs
// them. The window itself adds the splash, the selectors and the first drawing.
namespace Demarrage {

inline constexpr const char *ChampsDansBarreParDefaut = "[nomclient] ([nbadultes]ad/[nbenfants]en)";

// Main settings file path, database path ([system] "database"), backup rotation. Returns the
// backup slot used; a backup that failed is said in `problemeSauvegarde`.
int preparer(Contexte &contexte);

// NbClignotements from [reservation] "nb clignotement".
void lireClignotements(Contexte &contexte);

// Opens the database at contexte.cheminBase into BasePlanning.
QSqlError ouvrirBase(Contexte &contexte);

// The translated open-failure text followed by the database path.
QString messageEchecOuverture(const Contexte &contexte);

// After that failure, when nothing at all is at the database path (not even a broken link).
bool baseAbsente(const Contexte &contexte);
QString questionNouvelleBase();
// Makes an empty database (tables and states) at the path and opens it; the error, in French,
// when it could not be made or opened.
QSqlError creerNouvelleBase(Contexte &contexte);

// Brings a database of an earlier release up to date, once the start-up backup holds it as it
// was; the French reason when it could not be (the file is then unchanged).
QSqlError mettreAJourBase(Contexte &contexte);

// ListeEtats from "select * from ETATS", in table order.
void chargerEtats(Contexte &contexte);

// ChampsDansBarre from [planning] "champsdansbarre".
void lireChampsDansBarre(Contexte &contexte);

} // namespace Demarrage

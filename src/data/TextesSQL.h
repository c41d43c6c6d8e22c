#pragma once

#include <QDate>
#include <QString>
#include <QVector>

// Every SQL text the program runs, in the Jet dialect (Recordset translates them). Kept here so
// that one test can run them all against a fresh database. The quoted parts are exact, blanks
// included: other code and tests compare them as they stand.
namespace TextesSQL {

// ETATS
// The state list read at start-up, in table order.
inline constexpr char tousLesEtats[] = "select * from ETATS";
// The states listed by the settings dialog (two blanks after "select").
inline constexpr char etatsDuParametrage[] = "select  * from ETATS";
// The one state whose colour the settings dialog changes.
QString etatParCode(qint32 code);

// OBJETS
inline constexpr char objetsDuPlanning[] = "select * from [OBJETS];";
inline constexpr char objetsDuSelecteur[] = "select * from OBJETS";
inline constexpr char objetsPublies[] = "select * from OBJETS;";

// RESERVATIONS
inline constexpr char reservationsParObjet[] = "select * from RESERVATIONS order by Objet";
// The bars of one planning line: the reservations of the object starting before `fin` whose
// bar can still reach `debut`, with their state's code, name and colour (three blanks before
// "where"). A stay reaches as far as the later of its arrival and departure (a departure typed
// before the arrival draws the bar backwards), and a stay without a departure reaches every
// day, since its bar is drawn from the arrival to the grid's first column. The reach is written
// as one expression so that the store can seek it in the index ReservationsParPortee, whose
// expression is the same text translated: change both together. History before `debut` is then
// never read.
QString reservationsDeLObjet(qint32 objet, const QDate &debut, const QDate &fin);
// Every reservation of the object starting before `fin`, however long ago it ended: the same
// text without the lower bound.
QString reservationsDeLObjet(qint32 objet, const QDate &fin);
// One reservation with the fields of a planning bar, for a window that opens it by its number.
QString reservationAffichee(qint32 numero);
// The reservations of one object that the web calendar shows: state marked for the internet,
// starting before `fin`.
QString reservationsPubliees(qint32 objet, const QDate &fin);
// The record set a new reservation is added to.
inline constexpr char toutesLesReservations[] = "select * from RESERVATIONS";
// The highest reservation number in use, read as column "A" (Null in an empty table).
inline constexpr char maximumNumero[]
    = "SELECT Max(RESERVATIONS.NumeroReservation) AS A FROM RESERVATIONS;";
// The highest reservation number the journal names. A deleted reservation leaves its rows there,
// so a new number must pass this one too, or the new stay would inherit the old account.
inline constexpr char maximumNumeroDuJournal[]
    = "SELECT Max(OPERATIONS.numeroreservation) AS A FROM OPERATIONS;";
// The reservation to modify or delete. `numeroTexte` is the number as the dialog holds it (a
// caption, possibly with a leading blank).
QString reservationParNumero(const QString &numeroTexte);

// RESERVATION_NOMINATIVE
QString reservationNominative(qint32 numero);

// OPERATIONS
// The record set every journal row is added to.
inline constexpr char toutesLesOperations[] = "select * from OPERATIONS;";
// Payments and charges of one reservation (amount not 0), by date.
QString compteDeLaReservation(const QString &numeroTexte);
// Notes of one reservation (amount 0), by date.
QString historiqueDeLaReservation(const QString &numeroTexte);

// CONSOMMATIONS
inline constexpr char consommationsParFamille[] = "select * from CONSOMMATIONS order by Famille";

// A number given as text goes into the SQL text unchanged when it reads as a decimal number;
// anything else becomes Null, which matches no row, so a caption can never carry SQL.
QString nombreOuNull(const QString &numeroTexte);

struct TexteExemple
{
    QString nom; // what the text selects, as a sentence
    QString texte; // the Jet text with sample values inserted
};

// Every text above, with sample values where a value is inserted.
QVector<TexteExemple> tousLesTextes();

} // namespace TextesSQL

#pragma once

#include <QSqlDatabase>
#include <QSqlError>

// The version of our tables, kept in the file's header (PRAGMA user_version). A file made by an
// earlier release is brought up to date when the program opens it; every step only adds tables,
// columns and indexes, so what earlier code reads reads the same.
namespace VersionSchema {

// 0: the first release (no version written).
// 1: the establishment entered from the program: OBJETS.Categorie, OBJETS.Capacite,
//    OBJETS.retire, ETATS.occupe, CONSOMMATIONS.TauxTVA.
// 2: the day's arrivals and departures found by their dates: ReservationsParArrivee,
//    ReservationsParDepart.
// 3: several desks on one base: RESERVATIONS.version, raised at every store by the trigger
//    ReservationsVersion.
// 4: an unalterable journal: OPERATIONS.sequence and OPERATIONS.empreinte, the rows already
//    there chained once (ChaineJournal).
// 5: what a stay costs and its papers: SAISONS, PRESTATIONS, PRESTATIONSSEJOUR, EXONERATIONS,
//    FACTURES and CLOTURES (schema_comptes.sql).
inline constexpr int Courante = 5;

// The file's version, -1 when it cannot be read.
int lire(const QSqlDatabase &base);

// Brings the file to Courante in one transaction: on failure nothing of it stays, and the error
// says why in French. A file already current is left untouched; one of a later version than
// this program knows is refused.
QSqlError mettreAJour(const QSqlDatabase &base);

} // namespace VersionSchema

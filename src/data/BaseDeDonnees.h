#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Opening the one database file of a run.
namespace BaseDeDonnees {

// The six objects every database of ours holds.
inline constexpr const char *ObjetsRequis[]
    = {"ETATS", "OBJETS", "RESERVATIONS", "OPERATIONS", "CONSOMMATIONS", "RESERVATION_NOMINATIVE"};

// Opens the existing file `chemin` read-write under the connection name `connexion`. Never
// creates a file. A missing file, an unreadable one, or one that is not a database holding the
// six objects is an error; on error the connection is removed again.
//
// `chemin` may also be a PostgreSQL address (see AdresseBase); the server's base is then checked
// the same way. `motDePasse` serves when the address holds none (the settings file's); without
// either, libpq reads ~/.pgpass.
QSqlError ouvrir(const QString &chemin, const QString &connexion,
                 const QString &motDePasse = QString());

// Whether the connection is to a PostgreSQL server rather than an SQLite file.
bool estPostgres(const QSqlDatabase &base);
// A connection to the server of that address, nothing checked of what the base holds (the
// creator of a new base starts there).
QSqlError connecterPostgres(const QString &adresse, const QString &connexion,
                            const QString &motDePasse = QString());
// A server's connection that no longer answers (the server stopped, the network cut) is opened
// again; true when it was, and answers now. Nothing to do on a file, or on a live connection.
bool retablir(const QSqlDatabase &base);
// What every connection to a server sets at its start (the wait for a lock, the messages).
void preparerSession(const QSqlDatabase &base);

// Closes and forgets a connection opened by `ouvrir`.
void fermer(const QString &connexion);

// Dates are stored as text "yyyy-MM-dd HH:mm:ss" so that they compare and sort as text.
QString texteDate(const QDateTime &moment);
QDateTime dateDepuisTexte(const QString &texte);

// The same reading for readers of many rows: the stored form is read without the general
// parser and the dates met are remembered, so a result is always the one dateDepuisTexte gives.
QDateTime dateLue(const QString &texte);
// A date column's value as a query gives it on either base (text, or a date already): the same
// reading; Null gives an invalid moment.
QDateTime dateDepuisValeur(const QVariant &valeur);

// A date written with slashes and an optional "h:nn" or "h:nn:ss": month first as Jet reads
// it between number signs, or day first as the windows show it. Blanks around are ignored;
// an impossible date gives an invalid value.
QDateTime dateAvecBarres(QStringView texte, bool moisDAbord);

} // namespace BaseDeDonnees

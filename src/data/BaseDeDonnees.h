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
QSqlError ouvrir(const QString &chemin, const QString &connexion);

// Closes and forgets a connection opened by `ouvrir`.
void fermer(const QString &connexion);

// Dates are stored as text "yyyy-MM-dd HH:mm:ss" so that they compare and sort as text.
QString texteDate(const QDateTime &moment);
QDateTime dateDepuisTexte(const QString &texte);

// The same reading for readers of many rows: the stored form is read without the general
// parser and the dates met are remembered, so a result is always the one dateDepuisTexte gives.
QDateTime dateLue(const QString &texte);

// A date written with slashes and an optional "h:nn" or "h:nn:ss": month first as Jet reads
// it between number signs, or day first as the windows show it. Blanks around are ignored;
// an impossible date gives an invalid value.
QDateTime dateAvecBarres(QStringView texte, bool moisDAbord);

} // namespace BaseDeDonnees

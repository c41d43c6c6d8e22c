#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// What the reservation dialog makes of the texts typed in its boxes, without a widget: the
// checks before a save, the client name given by default, the nights counter, and the dates,
// hours and deposit read back from their boxes.
namespace SaisieReservation {

// The message of the last failing check (hours, then dates), or an empty text when the typed
// stay may be saved. Only the dates are compared; arrival and departure on the same day pass.
QString messageDeValidation(const QString &heuredebut, const QString &heurefin,
                            const QString &datedebut, const QString &datefin);

// The client name of a stay typed without one: the state label from the second character after
// its first "-" ("2 - Confirmée" gives "Confirmée"), or from its second character when it has
// no "-".
QString nomClientParDefaut(const QString &etat);

// A date box ("dd/mm/yyyy", an hour "hh:nn" after it allowed), day first; invalid when the text
// does not read as a date.
QDateTime dateSaisie(const QString &texte);

// The nights counter: departure minus arrival in days, negative when the departure comes first,
// fractions only when a box also holds an hour. Nothing when either box does not read as a date.
std::optional<QString> nombreDeNuits(const QString &datedebut, const QString &datefin);

// The deposit box: a decimal comma reads as a decimal point, as in the payment amount; then the
// usual numeric value. A deposit the columns cannot hold (not finite) gives nothing.
std::optional<double> arrhesSaisies(const QString &texte);
// The deposit as the box shows it: a point for the decimals, every digit that tells, so that
// a stay saved unchanged keeps its deposit to the cent.
QString texteArrhes(double arrhes);

} // namespace SaisieReservation

#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The date arithmetic of the planning's navigation, without the window.
namespace Navigation {

// The date read from "jour/mois/annee" texts, day first; nothing when they form no date (a year
// typed by hand that is no year, a month name that is not one).
std::optional<QDate> dateJourMoisAnnee(const QString &jour, const QString &mois,
                                       const QString &annee);

// Whole days a pan has moved for a pointer `ecart` pixels right of where it started: rounded
// down, so 1 to 20 pixels to the left is already one day.
int joursDePanoramique(int ecart, int largeurjour);

} // namespace Navigation

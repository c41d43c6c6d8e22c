#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

// The published availability calendar of one object, as text: no window, no file, no database,
// so that every byte of a page is tested directly.
namespace CalendrierWeb {

// One published stay: arrival and departure with their times (either may be invalid, for a
// Null in the base).
struct Sejour
{
    QDateTime debut;
    QDateTime fin;
};

// 0 free, 1 an arrival or a departure on that day, 2 occupied.
int statutDuJour(const QDate &jour, const QVector<Sejour> &sejours);

// Monday 1 ... Sunday 7.
int colonneDuJour(const QDate &jour);

// The end of what is published: the first day of the month that holds `aujourdhui` + 570 days.
QDate dateDeFin(const QDate &aujourdhui);

// `texte` with &, <, > and " written as entities, so that a name shows as typed and cannot
// become markup in the owner's site.
QString echapperHtml(const QString &texte);

// The page: the title line, then 20 months (5 rows of 4) from the month of `aujourdhui`, each
// line ended by CR LF. `maintenant` dates the title.
QString page(const QString &nomAffiche, const QDate &aujourdhui, const QDateTime &maintenant,
             const QVector<Sejour> &sejours);

// The page as written to its file: Windows-1252, a character outside it as a numeric entity.
QByteArray enWindows1252(const QString &texte);

} // namespace CalendrierWeb

#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Making a new database file: the program itself only ever opens one, so the file comes from
// here (the razarivu-creer-base tool, the tests, the benchmarks). `chemin` may also be the
// address of an empty base on a PostgreSQL server, which then receives the tables.

// Creates `chemin` with the tables, the view and the reference rows: reservation states, rooms,
// pitches and chalets, bar articles. With `avecDemo`, also about eighty reservations spread from
// two months before to four months after Horloge::aujourdhui(), with their journal rows; the
// same day always gives the same rows. An existing file is never touched: that is an error, as
// is any failure, after which no file is left behind.
QSqlError creerBase(const QString &chemin, bool avecDemo);

// A file for a new establishment: the tables and the reservation states, nothing else; the owner
// enters the rooms, pitches and articles in the settings. The same rules as creerBase.
QSqlError creerBaseVide(const QString &chemin);

// The tables alone, without a row: what a copy of another base is poured into.
QSqlError creerTables(const QString &chemin);

// The version 5 tables (tariffs, services, invoices, closures) put into a base of version 4: the
// upgrade of an older base runs the same text as the creation of a new one.
QSqlError creerTablesDesComptes(const QSqlDatabase &base);

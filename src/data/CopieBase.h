#pragma once

#include <QSqlError>
#include <QString>
#include <QStringList>

// A whole base poured into a new one: an SQLite file into a PostgreSQL server's empty base when
// the establishment outgrows one file, or back. Every row of the five tables, in their order
// (rowids kept: the planning's lines and the states stay where they were), in one transaction on
// the target; the row counts of both compared before it is committed. The source is only read.
// The target must not exist yet (a file) or hold none of our tables (a server's base).
//
// `compteRendu` receives one French line per table ("RESERVATIONS : 1 234 lignes").
QSqlError copierBase(const QString &source, const QString &cible, QStringList *compteRendu);

#pragma once

#include <QHash>
#include <QSet>
#include <QSharedPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// What the database declares of its tables. SQLite has no date type and takes any value in any
// column, so record sets go by the declared types to read dates back and to judge what is written.

struct ColonneSchema
{
    QString nom;
    QString type;
    bool calculee = false;
};

struct TableSchema
{
    QString nom;
    QHash<QString, ColonneSchema> colonnes; // by lower-case name
};

struct Schema
{
    QHash<QString, TableSchema> tables; // plain tables by lower-case name (views are not here)
    QSet<QString> colonnesDates; // lower-case names of the date columns of every table
    QSqlError erreur;

    // Whether a column read from `table` holds dates (both names in lower case; `table` may be
    // empty or a view).
    bool estUneDate(const QString &table, const QString &colonne) const;
};

// How a column takes the values written to it, from its declared type.
enum class GenreColonne { Autre, Texte, Entier16, Entier32, Entier64, Reel, Booleen, Date };

bool estTypeDate(const QString &type);
// Read from what the type name contains, as SQLite reads affinity; dates and Booleans, which
// SQLite has no type for, come first, and integers keep the width their name gives so that a
// value Jet would have refused is refused here too.
GenreColonne genreDuType(const QString &type);

Schema lireSchema(const QSqlDatabase &base);

// The schema of a connection, read once: the program never changes its tables while it runs,
// and reading them again for every record set costs more than the planning's queries
// themselves. Kept per connection name and database file; a schema that could not be read is
// not kept. BaseDeDonnees forgets a connection's schema when it opens or closes it; a caller
// that changes tables on a live connection must call oublierSchema itself.
QSharedPointer<const Schema> schemaDe(const QSqlDatabase &base);
void oublierSchema(const QString &connexion);

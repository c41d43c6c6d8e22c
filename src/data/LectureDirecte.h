#pragma once

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <memory>

class QSqlQuery;

struct TexteParametre;
struct sqlite3;
struct sqlite3_stmt;

// The handle the Qt SQLite driver works on, or null for another driver or a closed connection.
sqlite3 *poigneeSqlite(const QSqlDatabase &base);

// A read-only cursor over a Jet SELECT text, run straight on the connection's SQLite handle.
// For readers that go through thousands of rows at every redraw: rows are read one at a time
// where they lie, only the fields asked for are converted, and a text of the same shape as the
// previous one (other numbers and dates only) reuses its statement.
//
// Values come back as the Qt driver would give them: integer as qlonglong, real as double, text
// as QString, Null as a null QVariant. Read-only by design; writers use Recordset.
//
// On a PostgreSQL server the same texts run through Qt's driver, one query whose rows the
// server sends at once; the answers are the same.
class LectureDirecte
{
public:
    explicit LectureDirecte(const QSqlDatabase &base);
    ~LectureDirecte();
    LectureDirecte(const LectureDirecte &) = delete;
    LectureDirecte &operator=(const LectureDirecte &) = delete;

    // Runs a SELECT text; the previous run, if any, is left. False (see erreur()) when the text
    // cannot run: not a SELECT, more than one statement, bad SQL, no SQLite connection.
    bool executer(const QString &texteJet);
    // The same with the text already taken apart (see TexteParametre), for a caller that runs
    // one text many times over with only a value changed.
    bool executer(const TexteParametre &texte);
    // Moves to the next row (the first one after executer). False at the end or on error, where
    // the statement lets go of the file; a reader that stops earlier holds its read until the
    // next executer or its own end.
    bool suivant();
    // The first field of that name, without regard to case; -1 when there is none.
    int position(const QString &nom) const;
    // The current row's field; an invalid position or no current row give an invalid QVariant.
    QVariant valeur(int position) const;
    // The same field read straight into what the caller keeps, as QVariant::toString() and
    // QVariant::toDouble() would read the value, without a QVariant for every field of every row.
    QString texte(int position) const;
    bool estNull(int position) const; // an invalid position or no current row read as Null
    double nombre(int position, bool *lu) const;
    // A field holding a stored date text; anything else (Null, a number, an odd text) gives an
    // invalid date, as a date field the reader cannot take.
    QDateTime date(int position) const;
    // Changes whenever a new statement is prepared, for readers who keep positions between runs.
    quint64 forme() const { return m_forme; }
    QSqlError erreur() const { return m_erreur; }

private:
    void liberer();
    bool echec(const QString &texte);
    bool erreurSqlite(const QString &contexte);

    bool executerSurServeur(const TexteParametre &texte);
    // The server's current value, null when there is no current row or no such field.
    QVariant valeurServeur(int position) const;

    sqlite3 *m_connexion = nullptr;
    QSqlDatabase m_base; // a server's connection; unused on SQLite
    std::unique_ptr<QSqlQuery> m_serveur;
    int m_colonnesServeur = 0;
    sqlite3_stmt *m_requete = nullptr;
    QString m_gabarit; // Jet text of m_requete, values taken out
    QHash<QString, int> m_positions; // lower-case name -> first field of that name
    quint64 m_forme = 0;
    bool m_ligne = false; // a row is current
    QSqlError m_erreur;
};

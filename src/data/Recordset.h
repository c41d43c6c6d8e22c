#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

// An updatable record set over one SELECT text, in the manner of the Jet record sets the
// program was designed around: rows are read in order, fields are found by name without regard
// to case, and the current row is added, edited or deleted through the set. Every value written
// goes through a bound parameter.
//
// Rows are read in full when the set opens. Writing needs a plain table after FROM (its rowid
// identifies the row); sets over views are read-only.
class Recordset
{
public:
    // Opens the set on a Jet SQL text (translated before it runs).
    Recordset(const QSqlDatabase &base, const QString &texteJet);

    bool estOuvert() const { return m_ouvert; }
    QSqlError erreur() const { return m_erreur; }

    int nombre() const { return m_lignes.size(); }
    bool fin() const { return m_position >= m_lignes.size(); }
    void premier() { m_position = 0; }
    void suivant();

    // The field of the current row (or of the row being added), by name without regard to case.
    // Date columns come back as QDateTime, Null as a null QVariant; an unknown name or a read past
    // the end gives an invalid QVariant.
    QVariant champ(const QString &nom) const;
    bool aLeChamp(const QString &nom) const;
    QStringList nomsDesChamps() const;

    // Starts a new row; fields are then set with fixerChamp and stored with valider().
    void ajouter();
    // Starts editing the current row.
    void modifier();
    // Sets a field of the row being added or edited. A QDateTime is stored as date text.
    void fixerChamp(const QString &nom, const QVariant &valeur);
    // Stores the row being added or edited; nothing is written before this. After an addition
    // the current row stays where it was.
    QSqlError valider();
    // Leaves an addition or edit without writing.
    void annuler();
    // Deletes the current row.
    QSqlError supprimer();

    void fermer();

private:
    enum class Edition { Aucune, Ajout, Modification };

    int indexDuChamp(const QString &nom) const;

    QSqlDatabase m_base;
    QString m_table;            // table written to, empty when read-only
    QSqlRecord m_champs;        // visible columns
    QVector<QVector<QVariant>> m_lignes;
    QVector<qint64> m_rowids;
    int m_position = 0;
    bool m_ouvert = false;
    QSqlError m_erreur;
    Edition m_edition = Edition::Aucune;
    QHash<int, QVariant> m_valeursEnCours; // field index -> value set during add/edit
    QVector<bool> m_estDate;                // per visible column
};

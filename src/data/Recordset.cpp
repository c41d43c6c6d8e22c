#include "data/Recordset.h"

#include "data/AnalyseSelect.h"
#include "data/BaseDeDonnees.h"
#include "data/TexteParametre.h"
#include "data/TraductionJet.h"
#include "data/ValeursChamps.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>

#include <memory>

namespace {

// Alias of the rowid put in front of the select list; never shown as a field.
const QString ColonneLigne = QStringLiteral("razarivu_ligne");

QSqlError erreurJeu(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::StatementError);
}

QString identifiant(QString nom)
{
    // Lower case, as a server folds the unquoted names its tables were made with.
    nom = nom.toLower();
    nom.replace(u'"', QStringLiteral("\"\""));
    return u'"' + nom + u'"';
}

} // namespace

Recordset::Recordset(const QSqlDatabase &base, const QString &texteJet) : m_base(base)
{
    ouvrir(texteJet, true);
}

Recordset::Recordset(const QSqlDatabase &base, const QString &texteJet, Mode mode) : m_base(base)
{
    ouvrir(texteJet, mode == Mode::Lecture);
}

// What a SELECT text is, once its values are taken out: its statement prepared on one
// connection, the table its rows can be written to, and the description of its fields. The
// planning opens the same text once per line at every redraw, with only the object and the
// dates changing; analysing and preparing it again each time cost more than running it.
struct Recordset::Forme
{
    QSqlError erreur; // the text cannot open: not a SELECT, unknown table, bad SQL...
    QSharedPointer<const Schema> schema;
    std::unique_ptr<QSqlQuery> requete;
    const TableSchema *table = nullptr; // in `schema`
    // Filled at the first run, which is when the driver describes the fields.
    bool decrite = false;
    QSqlRecord champs;
    QVector<ColonneDeTable> colonnes;
    QVector<bool> estDate;
    QHash<QString, int> indexParNom;
};

namespace {

// Per thread, as connections are; by connection name, then by parameterised text.
using Formes = QHash<QString, QHash<QString, std::shared_ptr<Recordset::Forme>>>;

Formes &formesDuFil()
{
    thread_local Formes formes;
    return formes;
}

} // namespace

void Recordset::oublierRequetes(const QString &connexion)
{
    formesDuFil().remove(connexion);
}

std::shared_ptr<Recordset::Forme> Recordset::formeDe(const QString &gabarit) const
{
    auto &formes = formesDuFil()[m_base.connectionName()];
    const QSharedPointer<const Schema> schema = schemaDe(m_base);
    const auto connue = formes.constFind(gabarit);
    // Kept only while the connection and its schema are the ones it was made on: a connection
    // closed, or removed and added again under the same name, has another driver or schema.
    if (connue != formes.constEnd() && connue.value()->schema == schema
        && connue.value()->requete->driver() == m_base.driver())
        return connue.value();

    auto forme = std::make_shared<Forme>();
    forme->schema = schema;
    const QString sqlite = m_base.driverName() == QLatin1String("QPSQL")
        ? ordonnerCommeUnFichier(traduireJet(gabarit))
        : traduireJet(gabarit);
    const AnalyseSelect analyse = analyserSelect(sqlite);
    // A record set reads; a DELETE or DROP text must not run just because it was opened as one.
    if (!analyse.estSelect) {
        forme->erreur
            = erreurJeu(QStringLiteral("Seul un texte SELECT ouvre un jeu d'enregistrements."));
        return forme;
    }
    if (schema->erreur.isValid()) {
        forme->erreur = schema->erreur;
        return forme;
    }
    const auto trouvee = schema->tables.constFind(analyse.table.toLower());
    forme->table
        = analyse.simple && trouvee != schema->tables.constEnd() ? &trouvee.value() : nullptr;
    QString requete = sqlite;
    if (forme->table) {
        requete.insert(analyse.finDuSelect,
                       u' ' + identifiant(analyse.reference) + QStringLiteral(".rowid AS ")
                           + identifiant(ColonneLigne) + u',');
    }
    forme->requete = std::make_unique<QSqlQuery>(m_base);
    forme->requete->setForwardOnly(true);
    if (!forme->requete->prepare(requete)) {
        forme->erreur = forme->requete->lastError();
        return forme;
    }
    constexpr int Capacite = 64;
    if (formes.size() >= Capacite)
        formes.clear();
    formes.insert(gabarit, forme);
    return forme;
}

void Recordset::decrire(Forme &forme, const QSqlRecord &enregistrement)
{
    const TableSchema *table = forme.table;
    const QString nomTable = table ? table->nom.toLower() : QString();
    for (int c = table ? 1 : 0; c < enregistrement.count(); ++c) {
        QSqlField champ = enregistrement.field(c);
        champ.clear();
        const QString cle = champ.name().toLower();
        forme.indexParNom.insert(cle, forme.indexParNom.value(cle, forme.champs.count()));
        forme.champs.append(champ);

        // The driver names the table a column comes from; a column of another table that
        // happens to share a name with one of ours is then not taken for ours.
        const QString origine = champ.tableName().toLower();
        ColonneDeTable colonne;
        if (table && (origine.isEmpty() || origine == nomTable)) {
            const auto source = table->colonnes.constFind(cle);
            if (source != table->colonnes.constEnd()) {
                colonne.nom = source->nom;
                colonne.calculee = source->calculee;
                colonne.genre = genreDuType(source->type);
            }
        }
        forme.colonnes.append(colonne);
        forme.estDate.append(colonne.nom.isEmpty() ? forme.schema->estUneDate(origine, cle)
                                                   : colonne.genre == GenreColonne::Date);
    }
    forme.decrite = true;
}

void Recordset::ouvrir(const QString &texteJet, bool avecLignes)
{
    if (!m_base.isOpen()) {
        m_erreur = QSqlError(QStringLiteral("La base de données n'est pas ouverte."), QString(),
                             QSqlError::ConnectionError);
        return;
    }
    const TexteParametre texte = parametrer(texteJet);
    std::shared_ptr<Forme> forme;
    // A statement kept from before may have been finalised under us (its connection closed and
    // opened again): it is then made anew, once.
    for (int essai = 0; essai < 2; ++essai) {
        forme = formeDe(texte.gabarit);
        if (forme->erreur.isValid()) {
            m_erreur = forme->erreur;
            return;
        }
        for (int v = 0; v < texte.valeurs.size(); ++v)
            forme->requete->bindValue(v, texte.valeurs.at(v));
        if (forme->requete->exec())
            break;
        m_erreur = forme->requete->lastError();
        formesDuFil()[m_base.connectionName()].remove(texte.gabarit);
        forme.reset();
    }
    if (!forme)
        return;
    m_erreur = QSqlError();

    QSqlQuery &resultat = *forme->requete;
    if (!forme->decrite)
        decrire(*forme, resultat.record());
    if (forme->table)
        m_table = forme->table->nom;
    m_champs = forme->champs;
    m_colonnes = forme->colonnes;
    m_estDate = forme->estDate;
    m_indexParNom = forme->indexParNom;

    const int premier = forme->table ? 1 : 0;
    if (avecLignes) {
        while (resultat.next()) {
            QVector<QVariant> ligne(m_champs.count());
            for (int c = 0; c < ligne.size(); ++c)
                ligne[c] = valeurLue(c, resultat.value(c + premier));
            m_lignes.append(std::move(ligne));
            m_rowids.append(premier ? resultat.value(0).toLongLong() : -1);
        }
    }
    // The statement stays prepared for the next set over the same text, but must not hold the
    // database's read lock meanwhile.
    resultat.finish();
    m_ouvert = true;
}

void Recordset::suivant()
{
    if (m_position < m_lignes.size())
        ++m_position;
}

int Recordset::indexDuChamp(const QString &nom) const
{
    return m_indexParNom.value(nom.toLower(), -1);
}

QVariant Recordset::valeurLue(int index, QVariant brute) const
{
    if (!m_estDate.value(index)) {
        // A Null from a server comes typed as its column; SQLite's driver types every Null as
        // text, which reads as no number: the same on both.
        if (brute.isValid() && brute.isNull())
            return QVariant(QMetaType::fromType<QString>());
        if (brute.isValid())
            return brute;
        // A Null set by the caller reads like a Null from the driver: typed, never invalid.
        const QMetaType type = m_champs.field(index).metaType();
        return QVariant(type.isValid() ? type : QMetaType::fromType<QString>());
    }
    if (!brute.isValid() || brute.isNull())
        return QVariant(QMetaType::fromType<QDateTime>());
    if (brute.typeId() == QMetaType::QString) {
        const QDateTime moment = BaseDeDonnees::dateLue(brute.toString());
        if (moment.isValid())
            return moment;
    }
    return brute; // an odd text is handed back as it stands rather than lost
}

QVariant Recordset::champ(const QString &nom) const
{
    return champ(indexDuChamp(nom));
}

QVariant Recordset::champ(int index) const
{
    if (index < 0 || index >= m_champs.count())
        return QVariant();
    if (m_edition != Edition::Aucune && m_valeursEnCours.contains(index))
        return valeurLue(index, m_valeursEnCours.value(index));
    if (m_edition == Edition::Ajout) {
        return m_estDate[index] ? QVariant(QMetaType::fromType<QDateTime>())
                                : QVariant(m_champs.field(index).metaType());
    }
    if (fin())
        return QVariant();
    return m_lignes[m_position][index];
}

bool Recordset::aLeChamp(const QString &nom) const
{
    return indexDuChamp(nom) >= 0;
}

QStringList Recordset::nomsDesChamps() const
{
    QStringList noms;
    for (int c = 0; c < m_champs.count(); ++c)
        noms << m_champs.fieldName(c);
    return noms;
}

QSqlError Recordset::echec(const QString &texte)
{
    m_erreur = erreurJeu(texte);
    return m_erreur;
}

void Recordset::finirEdition()
{
    m_edition = Edition::Aucune;
    m_valeursEnCours.clear();
    m_refus = QSqlError();
}

void Recordset::ajouter()
{
    finirEdition();
    m_edition = Edition::Ajout;
    if (!m_ouvert)
        m_refus = erreurJeu(QStringLiteral("Le jeu d'enregistrements n'est pas ouvert."));
    else if (m_table.isEmpty())
        m_refus = erreurJeu(QStringLiteral("Ce jeu d'enregistrements est en lecture seule."));
}

void Recordset::modifier()
{
    ajouter();
    m_edition = Edition::Modification;
    if (!m_refus.isValid() && fin())
        m_refus = erreurJeu(QStringLiteral("Aucun enregistrement en cours."));
}

QVariant Recordset::valeurAEcrire(int index, const QVariant &valeur, QSqlError *erreur) const
{
    const ColonneDeTable &colonne = m_colonnes[index];
    const QString nom = m_champs.fieldName(index);
    const auto refus = [&](const QString &raison) {
        *erreur = erreurJeu(QStringLiteral("Le champ « %1 » %2.").arg(nom, raison));
        return QVariant();
    };
    if (colonne.nom.isEmpty())
        return refus(QStringLiteral("ne peut pas être écrit"));
    if (colonne.calculee)
        return refus(QStringLiteral("est calculé par la base et ne peut pas être écrit"));
    QString raison;
    const QVariant aEcrire = valeurPourColonne(colonne.genre, valeur, &raison);
    return raison.isEmpty() ? aEcrire : refus(raison);
}

bool Recordset::accepte(const QString &nom, const QVariant &valeur) const
{
    const int index = indexDuChamp(nom);
    if (index < 0 || m_edition == Edition::Aucune || m_refus.isValid())
        return false;
    QSqlError erreur;
    valeurAEcrire(index, valeur, &erreur);
    return !erreur.isValid();
}

void Recordset::fixerChamp(const QString &nom, const QVariant &valeur)
{
    QSqlError erreur;
    const int index = indexDuChamp(nom);
    if (m_edition == Edition::Aucune) {
        erreur = erreurJeu(QStringLiteral("Aucun ajout ni aucune modification en cours."));
    } else if (index < 0) {
        erreur = erreurJeu(QStringLiteral("Champ inconnu : %1.").arg(nom));
    } else {
        const QVariant aEcrire = valeurAEcrire(index, valeur, &erreur);
        if (!erreur.isValid())
            m_valeursEnCours.insert(index, aEcrire);
    }
    if (erreur.isValid()) {
        m_erreur = erreur;
        if (!m_refus.isValid())
            m_refus = erreur;
    }
}

QSqlError Recordset::relireLigne(qint64 rowid, QVector<QVariant> &ligne) const
{
    QSqlQuery requete(m_base);
    requete.setForwardOnly(true);
    requete.prepare(QStringLiteral("SELECT * FROM ") + identifiant(m_table)
                    + QStringLiteral(" WHERE rowid = ?"));
    requete.addBindValue(rowid);
    if (!requete.exec())
        return requete.lastError();
    if (!requete.next())
        return erreurJeu(QStringLiteral("L'enregistrement n'existe plus."));
    const QSqlRecord enregistrement = requete.record();
    ligne.resize(m_champs.count());
    for (int c = 0; c < m_champs.count(); ++c) {
        const int source
            = m_colonnes[c].nom.isEmpty() ? -1 : enregistrement.indexOf(m_colonnes[c].nom);
        if (source >= 0)
            ligne[c] = valeurLue(c, enregistrement.value(source));
        else if (!ligne[c].isValid())
            ligne[c] = QVariant(m_champs.field(c).metaType());
    }
    return QSqlError();
}

QSqlError Recordset::valider()
{
    if (m_refus.isValid()) {
        const QSqlError refus = m_refus;
        finirEdition();
        m_erreur = refus;
        return refus;
    }
    if (m_edition == Edition::Aucune)
        return echec(QStringLiteral("Aucun ajout ni aucune modification en cours."));

    // In field order, one value per column even if the select list names a column twice.
    QStringList colonnes;
    QVariantList valeurs;
    for (int c = 0; c < m_champs.count(); ++c) {
        if (!m_valeursEnCours.contains(c))
            continue;
        const int deja = colonnes.indexOf(m_colonnes[c].nom, 0);
        if (deja >= 0) {
            valeurs[deja] = m_valeursEnCours.value(c);
        } else {
            colonnes << m_colonnes[c].nom;
            valeurs << m_valeursEnCours.value(c);
        }
    }
    const Edition edition = m_edition;
    finirEdition();

    QSqlQuery requete(m_base);
    if (edition == Edition::Ajout) {
        QStringList noms, marques;
        for (const QString &colonne : std::as_const(colonnes)) {
            noms << identifiant(colonne);
            marques << QStringLiteral("?");
        }
        QString sql = colonnes.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(identifiant(m_table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(identifiant(m_table), noms.join(QStringLiteral(", ")),
                       marques.join(QStringLiteral(", ")));
        // A server gives no rowid of its own accord: it is asked for it.
        const bool serveur = m_base.driverName() == QLatin1String("QPSQL");
        if (serveur)
            sql += QStringLiteral(" RETURNING rowid");
        requete.prepare(sql);
        for (const QVariant &valeur : std::as_const(valeurs))
            requete.addBindValue(valeur);
        if (!requete.exec()) {
            m_erreur = requete.lastError();
            return m_erreur;
        }
        const qint64 rowid = serveur ? (requete.next() ? requete.value(0).toLongLong() : -1)
                                     : requete.lastInsertId().toLongLong();
        QVector<QVariant> ligne;
        if (relireLigne(rowid, ligne).isValid()) {
            // Written but not read back: show what was written.
            ligne.fill(QVariant(), m_champs.count());
            for (int c = 0; c < m_champs.count(); ++c)
                ligne[c] = valeurLue(c, valeurs.value(colonnes.indexOf(m_colonnes[c].nom)));
        }
        const bool alaFin = fin();
        m_lignes.append(ligne);
        m_rowids.append(rowid);
        if (alaFin)
            m_position = m_lignes.size();
    } else {
        if (fin())
            return echec(QStringLiteral("Aucun enregistrement en cours."));
        if (!colonnes.isEmpty()) {
            QStringList affectations;
            for (const QString &colonne : std::as_const(colonnes))
                affectations << identifiant(colonne) + QStringLiteral(" = ?");
            requete.prepare(
                QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                    .arg(identifiant(m_table), affectations.join(QStringLiteral(", "))));
            for (const QVariant &valeur : std::as_const(valeurs))
                requete.addBindValue(valeur);
            requete.addBindValue(m_rowids[m_position]);
            if (!requete.exec()) {
                m_erreur = requete.lastError();
                return m_erreur;
            }
            if (requete.numRowsAffected() == 0)
                return echec(QStringLiteral("L'enregistrement n'existe plus."));
        }
        // Read back: the store may have changed what it was given (affinity, computed columns).
        const QSqlError relecture = relireLigne(m_rowids[m_position], m_lignes[m_position]);
        if (relecture.isValid()) {
            m_erreur = relecture;
            return relecture;
        }
    }
    m_erreur = QSqlError();
    return QSqlError();
}

void Recordset::annuler()
{
    finirEdition();
}

QSqlError Recordset::supprimer()
{
    finirEdition();
    if (!m_ouvert)
        return echec(QStringLiteral("Le jeu d'enregistrements n'est pas ouvert."));
    if (m_table.isEmpty())
        return echec(QStringLiteral("Ce jeu d'enregistrements est en lecture seule."));
    if (fin())
        return echec(QStringLiteral("Aucun enregistrement en cours."));
    QSqlQuery requete(m_base);
    requete.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(identifiant(m_table)));
    requete.addBindValue(m_rowids[m_position]);
    if (!requete.exec()) {
        m_erreur = requete.lastError();
        return m_erreur;
    }
    const bool existait = requete.numRowsAffected() > 0;
    m_lignes.remove(m_position);
    m_rowids.remove(m_position);
    if (!existait)
        return echec(QStringLiteral("L'enregistrement n'existe plus."));
    m_erreur = QSqlError();
    return QSqlError();
}

void Recordset::fermer()
{
    finirEdition();
    m_lignes.clear();
    m_rowids.clear();
    m_champs.clear();
    m_colonnes.clear();
    m_estDate.clear();
    m_indexParNom.clear();
    m_table.clear();
    m_position = 0;
    m_ouvert = false;
    // Drop our handle so that the connection can be removed.
    m_base = QSqlDatabase();
}

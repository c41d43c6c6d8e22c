#include "data/Recordset.h"

#include "data/BaseDeDonnees.h"
#include "data/TraductionJet.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>
#include <QSqlField>
#include <QSqlQuery>

#include <cmath>
#include <limits>

namespace {

// Alias of the rowid put in front of the select list; never shown as a field.
const QString ColonneLigne = QStringLiteral("razarivu_ligne");

QSqlError erreurJeu(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::StatementError);
}

QString identifiant(QString nom)
{
    nom.replace(u'"', QStringLiteral("\"\""));
    return u'"' + nom + u'"';
}

// ---- What the database declares --------------------------------------------------------------

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
};

bool estTypeDate(const QString &type)
{
    return type.contains(QLatin1String("DATE"), Qt::CaseInsensitive)
        || type.contains(QLatin1String("TIME"), Qt::CaseInsensitive);
}

Schema lireSchema(const QSqlDatabase &base)
{
    Schema schema;
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    // table_xinfo, unlike table_info, lists generated columns (hidden 2 or 3).
    if (!requete.exec(
            QStringLiteral("SELECT m.name, p.name, p.type, p.hidden FROM sqlite_master AS m, "
                           "pragma_table_xinfo(m.name) AS p WHERE m.type = 'table'"))) {
        schema.erreur = requete.lastError();
        return schema;
    }
    while (requete.next()) {
        const QString nomTable = requete.value(0).toString();
        TableSchema &table = schema.tables[nomTable.toLower()];
        table.nom = nomTable;
        ColonneSchema colonne {requete.value(1).toString(), requete.value(2).toString(),
                               requete.value(3).toInt() != 0};
        if (estTypeDate(colonne.type))
            schema.colonnesDates.insert(colonne.nom.toLower());
        table.colonnes.insert(colonne.nom.toLower(), colonne);
    }
    return schema;
}

// ---- Reading the SELECT text -----------------------------------------------------------------

struct Jeton
{
    enum class Genre { Mot, Identifiant, Litteral, Symbole };
    Genre genre;
    QString texte; // an identifier without its quotes
    qsizetype fin; // index just past the token

    bool estMot(QLatin1String mot) const
    {
        return genre == Genre::Mot && texte.compare(mot, Qt::CaseInsensitive) == 0;
    }
    bool estSymbole(QChar c) const { return genre == Genre::Symbole && texte == c; }
    bool estNom() const { return genre == Genre::Mot || genre == Genre::Identifiant; }
};

QVector<Jeton> decouper(const QString &sql)
{
    QVector<Jeton> jetons;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype fin = sql.indexOf(QLatin1String("*/"), i + 2);
            i = fin < 0 ? n : fin + 2;
        } else if (c == u'\'' || c == u'"') {
            QString contenu;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        contenu += c;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                contenu += sql.at(j++);
            }
            jetons.append(
                {c == u'"' ? Jeton::Genre::Identifiant : Jeton::Genre::Litteral, contenu, j});
            i = j;
        } else if (c.isLetterOrNumber() || c == u'_') {
            qsizetype j = i;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
                ++j;
            jetons.append({Jeton::Genre::Mot, sql.mid(i, j - i), j});
            i = j;
        } else {
            jetons.append({Jeton::Genre::Symbole, QString(c), i + 1});
            ++i;
        }
    }
    return jetons;
}

struct Analyse
{
    bool estSelect = false;
    qsizetype finDuSelect = 0; // where the rowid goes, just after the SELECT keyword
    QString table; // first table after FROM
    QString reference; // its alias, or its name
    bool simple = true; // rows of the result are rows of that table
};

bool estMotCle(const QString &mot)
{
    static const QSet<QString> motsCles = {
        QStringLiteral("where"),  QStringLiteral("left"),      QStringLiteral("right"),
        QStringLiteral("inner"),  QStringLiteral("outer"),     QStringLiteral("full"),
        QStringLiteral("cross"),  QStringLiteral("natural"),   QStringLiteral("join"),
        QStringLiteral("on"),     QStringLiteral("using"),     QStringLiteral("order"),
        QStringLiteral("group"),  QStringLiteral("limit"),     QStringLiteral("union"),
        QStringLiteral("except"), QStringLiteral("intersect"), QStringLiteral("having"),
        QStringLiteral("window"), QStringLiteral("indexed"),   QStringLiteral("not"),
    };
    return motsCles.contains(mot.toLower());
}

Analyse analyser(const QVector<Jeton> &jetons)
{
    Analyse analyse;
    const int n = jetons.size();
    if (n == 0 || !jetons[0].estMot(QLatin1String("select")))
        return analyse;
    analyse.estSelect = true;
    analyse.finDuSelect = jetons[0].fin;

    int i = 1;
    if (i < n && jetons[i].estMot(QLatin1String("distinct")))
        analyse.simple = false;
    // A parenthesis in the select list means a function, often an aggregate: the result rows
    // are then not rows of the table.
    int profondeur = 0;
    for (; i < n; ++i) {
        if (jetons[i].estSymbole(u'(')) {
            ++profondeur;
            analyse.simple = false;
        } else if (jetons[i].estSymbole(u')')) {
            --profondeur;
        } else if (profondeur == 0 && jetons[i].estMot(QLatin1String("from"))) {
            break;
        }
    }
    ++i;
    if (i >= n || !jetons[i].estNom()) {
        analyse.simple = false;
        return analyse;
    }
    analyse.table = jetons[i++].texte;
    if (i + 1 < n && jetons[i].estSymbole(u'.') && jetons[i + 1].estNom()) {
        analyse.table = jetons[i + 1].texte; // schema.table
        i += 2;
    }
    analyse.reference = analyse.table;
    if (i + 1 < n && jetons[i].estMot(QLatin1String("as")) && jetons[i + 1].estNom()) {
        analyse.reference = jetons[i + 1].texte;
        i += 2;
    } else if (i < n && jetons[i].estNom() && !estMotCle(jetons[i].texte)) {
        analyse.reference = jetons[i++].texte;
    }
    profondeur = 0;
    for (; i < n; ++i) {
        const Jeton &jeton = jetons[i];
        if (jeton.estSymbole(u'('))
            ++profondeur;
        else if (jeton.estSymbole(u')'))
            --profondeur;
        else if (profondeur == 0
                 && (jeton.estMot(QLatin1String("group")) || jeton.estMot(QLatin1String("union"))
                     || jeton.estMot(QLatin1String("except"))
                     || jeton.estMot(QLatin1String("intersect"))
                     || jeton.estMot(QLatin1String("having"))))
            analyse.simple = false;
    }
    return analyse;
}

// ---- Values written --------------------------------------------------------------------------

// "dd/MM/yyyy" with an optional time, as the reservation dialog shows dates.
QDateTime dateFrancaise(const QString &texte)
{
    static const QRegularExpression forme(
        QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    const QRegularExpressionMatch m = forme.match(texte);
    if (!m.hasMatch())
        return QDateTime();
    const QDate jour(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    const QTime heure(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!jour.isValid() || !heure.isValid())
        return QDateTime();
    return QDateTime(jour, heure);
}

QDateTime dateDeLaValeur(const QVariant &valeur)
{
    switch (valeur.typeId()) {
    case QMetaType::QDateTime:
        return valeur.toDateTime();
    case QMetaType::QDate:
        return valeur.toDate().startOfDay();
    case QMetaType::QString: {
        const QString texte = valeur.toString().trimmed();
        const QDateTime iso = BaseDeDonnees::dateDepuisTexte(texte);
        return iso.isValid() ? iso : dateFrancaise(texte);
    }
    default:
        return QDateTime();
    }
}

// A number as Jet takes it: numbers, Booleans, and texts written with "." as decimal point.
bool nombreDeLaValeur(const QVariant &valeur, double *nombre)
{
    bool lu = false;
    switch (valeur.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return false;
    case QMetaType::QString:
        *nombre = valeur.toString().trimmed().toDouble(&lu);
        break;
    case QMetaType::Bool:
        *nombre = valeur.toBool() ? 1 : 0;
        lu = true;
        break;
    default:
        *nombre = valeur.toDouble(&lu);
    }
    return lu && std::isfinite(*nombre);
}

} // namespace

// ---- Recordset -------------------------------------------------------------------------------

Recordset::Recordset(const QSqlDatabase &base, const QString &texteJet) : m_base(base)
{
    ouvrir(texteJet, true);
}

Recordset::Recordset(const QSqlDatabase &base, const QString &texteJet, Mode mode) : m_base(base)
{
    ouvrir(texteJet, mode == Mode::Lecture);
}

void Recordset::ouvrir(const QString &texteJet, bool avecLignes)
{
    if (!m_base.isOpen()) {
        m_erreur = QSqlError(QStringLiteral("La base de données n'est pas ouverte."), QString(),
                             QSqlError::ConnectionError);
        return;
    }
    const QString texte = traduireJet(texteJet);
    const Analyse analyse = analyser(decouper(texte));
    // A record set reads; a DELETE or DROP text must not run just because it was opened as one.
    if (!analyse.estSelect) {
        m_erreur
            = erreurJeu(QStringLiteral("Seul un texte SELECT ouvre un jeu d'enregistrements."));
        return;
    }
    const Schema schema = lireSchema(m_base);
    if (schema.erreur.isValid()) {
        m_erreur = schema.erreur;
        return;
    }

    const auto trouvee = schema.tables.constFind(analyse.table.toLower());
    const TableSchema *table
        = analyse.simple && trouvee != schema.tables.constEnd() ? &trouvee.value() : nullptr;
    QString requete = texte;
    if (table) {
        m_table = table->nom;
        requete.insert(analyse.finDuSelect,
                       u' ' + identifiant(analyse.reference) + QStringLiteral(".rowid AS ")
                           + identifiant(ColonneLigne) + u',');
    }

    QSqlQuery resultat(m_base);
    resultat.setForwardOnly(true);
    if (!resultat.exec(requete)) {
        m_erreur = resultat.lastError();
        m_table.clear();
        return;
    }

    const QSqlRecord enregistrement = resultat.record();
    const int premier = table ? 1 : 0;
    for (int c = premier; c < enregistrement.count(); ++c) {
        QSqlField champ = enregistrement.field(c);
        champ.clear();
        const QString cle = champ.name().toLower();
        m_indexParNom.insert(cle, m_indexParNom.value(cle, m_champs.count()));
        m_champs.append(champ);

        // The driver names the table a column comes from; a column of another table that
        // happens to share a name with one of ours is then not taken for ours.
        const QString origine = champ.tableName().toLower();
        ColonneDeTable colonne;
        if (table && (origine.isEmpty() || origine == m_table.toLower())) {
            const auto source = table->colonnes.constFind(cle);
            if (source != table->colonnes.constEnd()) {
                colonne.nom = source->nom;
                colonne.calculee = source->calculee;
                const QString type = source->type.toUpper();
                if (estTypeDate(type))
                    colonne.genre = Genre::Date;
                else if (type.contains(QLatin1String("BOOL")))
                    colonne.genre = Genre::Booleen;
                else if (type.contains(QLatin1String("SMALLINT"))
                         || type.contains(QLatin1String("TINYINT")))
                    colonne.genre = Genre::Entier16;
                else if (type.contains(QLatin1String("BIGINT")))
                    colonne.genre = Genre::Entier64;
                else if (type.contains(QLatin1String("INT")))
                    colonne.genre = Genre::Entier32;
                else if (type.contains(QLatin1String("CHAR"))
                         || type.contains(QLatin1String("TEXT"))
                         || type.contains(QLatin1String("CLOB")))
                    colonne.genre = Genre::Texte;
                else if (type.contains(QLatin1String("REAL"))
                         || type.contains(QLatin1String("FLOA"))
                         || type.contains(QLatin1String("DOUB"))
                         || type.contains(QLatin1String("NUMERIC"))
                         || type.contains(QLatin1String("DECIMAL")))
                    colonne.genre = Genre::Reel;
            }
        }
        m_colonnes.append(colonne);

        bool date = false;
        if (!colonne.nom.isEmpty()) {
            date = colonne.genre == Genre::Date;
        } else {
            const auto tableOrigine = schema.tables.constFind(origine);
            const ColonneSchema *declaree = nullptr;
            if (tableOrigine != schema.tables.constEnd()) {
                const auto c2 = tableOrigine->colonnes.constFind(cle);
                if (c2 != tableOrigine->colonnes.constEnd())
                    declaree = &c2.value();
            }
            // Views and aliases hide where a column comes from: go by its name.
            date = declaree ? estTypeDate(declaree->type) : schema.colonnesDates.contains(cle);
        }
        m_estDate.append(date);
    }

    if (avecLignes) {
        while (resultat.next()) {
            QVector<QVariant> ligne(m_champs.count());
            for (int c = 0; c < ligne.size(); ++c)
                ligne[c] = valeurLue(c, resultat.value(c + premier));
            m_lignes.append(ligne);
            m_rowids.append(table ? resultat.value(0).toLongLong() : -1);
        }
    }
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

QVariant Recordset::valeurLue(int index, const QVariant &brute) const
{
    if (!m_estDate.value(index)) {
        if (brute.isValid())
            return brute;
        // A Null set by the caller reads like a Null from the driver: typed, never invalid.
        const QMetaType type = m_champs.field(index).metaType();
        return QVariant(type.isValid() ? type : QMetaType::fromType<QString>());
    }
    if (!brute.isValid() || brute.isNull())
        return QVariant(QMetaType::fromType<QDateTime>());
    if (brute.typeId() == QMetaType::QString) {
        const QDateTime moment = BaseDeDonnees::dateDepuisTexte(brute.toString());
        if (moment.isValid())
            return moment;
    }
    return brute; // an odd text is handed back as it stands rather than lost
}

QVariant Recordset::champ(const QString &nom) const
{
    const int index = indexDuChamp(nom);
    if (index < 0)
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
    if (!valeur.isValid() || valeur.isNull())
        return QVariant();

    double nombre = 0;
    switch (colonne.genre) {
    case Genre::Date: {
        const QDateTime moment = dateDeLaValeur(valeur);
        if (!moment.isValid())
            return refus(QStringLiteral("attend une date"));
        return BaseDeDonnees::texteDate(moment);
    }
    case Genre::Booleen: {
        const QString texte = valeur.toString().trimmed().toLower();
        if (texte == QLatin1String("true") || texte == QLatin1String("vrai"))
            return qint64(1);
        if (texte == QLatin1String("false") || texte == QLatin1String("faux"))
            return qint64(0);
        if (!nombreDeLaValeur(valeur, &nombre))
            return refus(QStringLiteral("attend Vrai ou Faux"));
        return qint64(nombre != 0 ? 1 : 0);
    }
    case Genre::Entier16:
    case Genre::Entier32:
    case Genre::Entier64: {
        if (!nombreDeLaValeur(valeur, &nombre))
            return refus(QStringLiteral("attend un nombre"));
        nombre = std::nearbyint(nombre); // halves to even, as Jet rounds
        double minimum = -9223372036854775808.0; // -2^63, exact as a double
        double maximum = 9223372036854775807.0;
        if (colonne.genre == Genre::Entier16) {
            minimum = std::numeric_limits<qint16>::min();
            maximum = std::numeric_limits<qint16>::max();
        } else if (colonne.genre == Genre::Entier32) {
            minimum = std::numeric_limits<qint32>::min();
            maximum = std::numeric_limits<qint32>::max();
        }
        if (nombre < minimum || nombre > maximum || nombre >= 9223372036854775807.0)
            return refus(QStringLiteral("reçoit un nombre hors de ses limites"));
        return qint64(nombre);
    }
    case Genre::Reel:
        if (!nombreDeLaValeur(valeur, &nombre))
            return refus(QStringLiteral("attend un nombre"));
        return nombre;
    case Genre::Texte:
        if (valeur.typeId() == QMetaType::QDateTime)
            return BaseDeDonnees::texteDate(valeur.toDateTime());
        if (!valeur.canConvert<QString>())
            return refus(QStringLiteral("attend un texte"));
        return valeur.toString();
    case Genre::Autre:
        break;
    }
    return valeur;
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
        const QString sql = colonnes.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(identifiant(m_table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(identifiant(m_table), noms.join(QStringLiteral(", ")),
                       marques.join(QStringLiteral(", ")));
        requete.prepare(sql);
        for (const QVariant &valeur : std::as_const(valeurs))
            requete.addBindValue(valeur);
        if (!requete.exec()) {
            m_erreur = requete.lastError();
            return m_erreur;
        }
        const qint64 rowid = requete.lastInsertId().toLongLong();
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

#include "data/LectureDirecte.h"

#include "data/AnalyseSelect.h"
#include "data/BaseDeDonnees.h"
#include "data/TexteParametre.h"
#include "data/TraductionJet.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

sqlite3 *poigneeSqlite(const QSqlDatabase &base)
{
    if (!base.isOpen() || !base.driver())
        return nullptr;
    const QVariant poignee = base.driver()->handle();
    if (!poignee.isValid() || qstrcmp(poignee.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(poignee.constData());
}

namespace {

// Read as UTF-8, the file's own encoding: no conversion buffer inside SQLite for every text.
QString texteSqlite(sqlite3_stmt *requete, int position)
{
    const auto texte = reinterpret_cast<const char *>(sqlite3_column_text(requete, position));
    return QString::fromUtf8(texte, sqlite3_column_bytes(requete, position));
}

// The digits of a date stored as "yyyy-MM-dd HH:mm:ss" as one number, or -1 for any other text.
qint64 cleDeDate(const unsigned char *texte, int octets)
{
    static constexpr char Forme[] = "0000-00-00 00:00:00";
    if (!texte || octets != int(sizeof(Forme)) - 1)
        return -1;
    qint64 cle = 0;
    for (int i = 0; i < octets; ++i) {
        if (Forme[i] != '0') {
            if (texte[i] != Forme[i])
                return -1;
        } else if (texte[i] < '0' || texte[i] > '9') {
            return -1;
        } else {
            cle = cle * 10 + (texte[i] - '0');
        }
    }
    return cle;
}

// What follows the first statement: only blanks and semicolons may.
bool resteVide(const void *suite)
{
    for (auto c = static_cast<const char16_t *>(suite); c && *c; ++c) {
        if (*c != u';' && !QChar(*c).isSpace())
            return false;
    }
    return true;
}

} // namespace

LectureDirecte::LectureDirecte(const QSqlDatabase &base) : m_connexion(poigneeSqlite(base))
{
    if (!m_connexion && base.isOpen() && base.driverName() == QLatin1String("QPSQL"))
        m_base = base;
}

LectureDirecte::~LectureDirecte()
{
    liberer();
}

void LectureDirecte::liberer()
{
    m_serveur.reset();
    sqlite3_finalize(m_requete);
    m_requete = nullptr;
    m_gabarit.clear();
    m_positions.clear();
    m_ligne = false;
}

bool LectureDirecte::echec(const QString &texte)
{
    m_erreur = QSqlError(texte, QString(), QSqlError::StatementError);
    m_ligne = false;
    return false;
}

bool LectureDirecte::erreurSqlite(const QString &contexte)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_connexion));
    m_erreur = QSqlError(contexte, message, QSqlError::StatementError,
                         QString::number(sqlite3_extended_errcode(m_connexion)));
    m_ligne = false;
    return false;
}

bool LectureDirecte::executer(const QString &texteJet)
{
    return executer(parametrer(texteJet));
}

bool LectureDirecte::executerSurServeur(const TexteParametre &texte)
{
    if (!m_serveur || texte.gabarit != m_gabarit) {
        liberer();
        const QString sql = ordonnerCommeUnFichier(traduireJet(texte.gabarit));
        if (!analyserSelect(sql).estSelect)
            return echec(QStringLiteral("Seul un texte SELECT ouvre un jeu d'enregistrements."));
        m_serveur = std::make_unique<QSqlQuery>(m_base);
        m_serveur->setForwardOnly(true);
        if (!m_serveur->prepare(sql)) {
            m_erreur = m_serveur->lastError();
            liberer();
            return false;
        }
        m_gabarit = texte.gabarit;
        ++m_forme;
    }
    for (int v = 0; v < texte.valeurs.size(); ++v)
        m_serveur->bindValue(v, texte.valeurs.at(v));
    if (!m_serveur->exec()) {
        m_erreur = m_serveur->lastError();
        return false;
    }
    m_positions.clear();
    const QSqlRecord champs = m_serveur->record();
    m_colonnesServeur = champs.count();
    for (int c = 0; c < champs.count(); ++c) {
        const QString nom = champs.fieldName(c).toLower();
        if (!m_positions.contains(nom))
            m_positions.insert(nom, c);
    }
    return true;
}

QVariant LectureDirecte::valeurServeur(int position) const
{
    if (!m_ligne || !m_serveur || position < 0 || position >= m_colonnesServeur)
        return QVariant();
    const QVariant valeur = m_serveur->value(position);
    if (valeur.isNull())
        return QVariant();
    switch (valeur.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return valeur.toLongLong();
    case QMetaType::Float:
        return valeur.toDouble();
    default:
        return valeur;
    }
}

bool LectureDirecte::executer(const TexteParametre &texte)
{
    m_erreur = QSqlError();
    m_ligne = false;
    if (m_base.isValid())
        return executerSurServeur(texte);
    if (!m_connexion)
        return echec(QStringLiteral("La base de données n'est pas ouverte."));
    if (!m_requete || texte.gabarit != m_gabarit) {
        liberer();
        const QString sqlite = traduireJet(texte.gabarit);
        if (!analyserSelect(sqlite).estSelect)
            return echec(QStringLiteral("Seul un texte SELECT ouvre un jeu d'enregistrements."));
        const void *suite = nullptr;
        if (sqlite3_prepare16_v2(m_connexion, sqlite.utf16(), int(sqlite.size() * sizeof(QChar)),
                                 &m_requete, &suite)
            != SQLITE_OK) {
            liberer();
            return erreurSqlite(QStringLiteral("Le texte SQL ne peut pas être préparé."));
        }
        if (!m_requete || !resteVide(suite)) {
            liberer();
            return echec(QStringLiteral("Un seul texte SQL à la fois."));
        }
        m_gabarit = texte.gabarit;
        const int colonnes = sqlite3_column_count(m_requete);
        for (int c = 0; c < colonnes; ++c) {
            const QString nom = QString::fromUtf16(static_cast<const char16_t *>(
                                                       sqlite3_column_name16(m_requete, c)))
                                    .toLower();
            if (!m_positions.contains(nom))
                m_positions.insert(nom, c);
        }
        ++m_forme;
    } else {
        sqlite3_reset(m_requete);
        sqlite3_clear_bindings(m_requete);
    }
    if (texte.valeurs.size() != sqlite3_bind_parameter_count(m_requete))
        return echec(QStringLiteral("Le texte SQL n'a pas le nombre de valeurs attendu."));
    for (int v = 0; v < texte.valeurs.size(); ++v) {
        const QVariant &valeur = texte.valeurs.at(v);
        int resultat = SQLITE_OK;
        switch (valeur.typeId()) {
        case QMetaType::LongLong:
            resultat = sqlite3_bind_int64(m_requete, v + 1, valeur.toLongLong());
            break;
        case QMetaType::Double:
            resultat = sqlite3_bind_double(m_requete, v + 1, valeur.toDouble());
            break;
        default: {
            const QString chaine = valeur.toString();
            resultat = sqlite3_bind_text16(m_requete, v + 1, chaine.utf16(),
                                           int(chaine.size() * sizeof(QChar)), SQLITE_TRANSIENT);
            break;
        }
        }
        if (resultat != SQLITE_OK)
            return erreurSqlite(QStringLiteral("Une valeur du texte SQL est refusée."));
    }
    // The first step is taken by the first suivant(), as a cursor starts before its first row.
    return true;
}

bool LectureDirecte::suivant()
{
    if (m_serveur) {
        m_ligne = m_serveur->next();
        if (!m_ligne && m_serveur->lastError().isValid())
            m_erreur = m_serveur->lastError();
        return m_ligne;
    }
    if (!m_requete)
        return false;
    const int pas = sqlite3_step(m_requete);
    if (pas == SQLITE_ROW) {
        m_ligne = true;
        return true;
    }
    m_ligne = false;
    sqlite3_reset(m_requete);
    if (pas != SQLITE_DONE)
        return erreurSqlite(QStringLiteral("La lecture des lignes a échoué."));
    return false;
}

int LectureDirecte::position(const QString &nom) const
{
    return m_positions.value(nom.toLower(), -1);
}

QVariant LectureDirecte::valeur(int position) const
{
    if (m_serveur)
        return valeurServeur(position);
    if (!m_ligne || position < 0 || position >= sqlite3_column_count(m_requete))
        return QVariant();
    switch (sqlite3_column_type(m_requete, position)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_requete, position));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_requete, position);
    case SQLITE_BLOB: {
        const auto octets = static_cast<const char *>(sqlite3_column_blob(m_requete, position));
        return QByteArray(octets, sqlite3_column_bytes(m_requete, position));
    }
    case SQLITE_NULL:
        return QVariant();
    default:
        return texteSqlite(m_requete, position);
    }
}

QString LectureDirecte::texte(int position) const
{
    if (m_serveur)
        return valeurServeur(position).toString();
    if (!m_ligne || position < 0 || position >= sqlite3_column_count(m_requete))
        return QString();
    switch (sqlite3_column_type(m_requete, position)) {
    case SQLITE_TEXT:
        return texteSqlite(m_requete, position);
    case SQLITE_NULL:
        return QString();
    default:
        return valeur(position).toString();
    }
}

bool LectureDirecte::estNull(int position) const
{
    if (m_serveur)
        return valeurServeur(position).isNull();
    return !m_ligne || position < 0 || position >= sqlite3_column_count(m_requete)
        || sqlite3_column_type(m_requete, position) == SQLITE_NULL;
}

double LectureDirecte::nombre(int position, bool *lu) const
{
    *lu = false;
    if (m_serveur) {
        const QVariant valeur = valeurServeur(position);
        return valeur.isNull() ? 0 : valeur.toDouble(lu);
    }
    if (!m_ligne || position < 0 || position >= sqlite3_column_count(m_requete))
        return 0;
    switch (sqlite3_column_type(m_requete, position)) {
    case SQLITE_INTEGER:
        *lu = true;
        return double(sqlite3_column_int64(m_requete, position));
    case SQLITE_FLOAT:
        *lu = true;
        return sqlite3_column_double(m_requete, position);
    case SQLITE_NULL:
        return 0;
    default:
        return valeur(position).toDouble(lu);
    }
}

QDateTime LectureDirecte::date(int position) const
{
    if (m_serveur) {
        const QVariant valeur = valeurServeur(position);
        return valeur.typeId() == QMetaType::QString ? BaseDeDonnees::dateLue(valeur.toString())
                                                     : QDateTime();
    }
    if (!m_ligne || position < 0 || position >= sqlite3_column_count(m_requete)
        || sqlite3_column_type(m_requete, position) != SQLITE_TEXT)
        return QDateTime();
    const auto texte = sqlite3_column_text(m_requete, position);
    const int octets = sqlite3_column_bytes(m_requete, position);
    const qint64 cle = cleDeDate(texte, octets);
    if (cle < 0)
        return BaseDeDonnees::dateLue(texteSqlite(m_requete, position));
    // The few hundred dates of a redraw come back at every redraw: remembered by their digits,
    // without making a text of each. Bounded, and per thread as connections are.
    constexpr int Capacite = 1 << 14;
    thread_local QHash<qint64, QDateTime> dates;
    const auto connue = dates.constFind(cle);
    if (connue != dates.constEnd())
        return connue.value();
    if (dates.size() >= Capacite)
        dates.clear();
    const QDateTime moment = BaseDeDonnees::dateLue(texteSqlite(m_requete, position));
    dates.insert(cle, moment);
    return moment;
}

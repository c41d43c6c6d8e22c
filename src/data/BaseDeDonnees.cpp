#include "data/BaseDeDonnees.h"

#include "conversion/MessageErreur.h"
#include "data/AdresseBase.h"
#include "data/AttenteBase.h"
#include "data/LectureDirecte.h"
#include "data/Recordset.h"
#include "data/SchemaBase.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>

namespace BaseDeDonnees {

namespace {

// One French text: what failed, then, when the engine refused, why in its French sentence.
QSqlError erreurOuverture(const QString &message, const QSqlError &cause = QSqlError())
{
    const QString texte = cause.isValid() ? message + u' ' + messageBaseEnFrancais(cause) : message;
    return QSqlError(texte, QString(), QSqlError::ConnectionError);
}

// A URI with mode=rw is the only way to make SQLite refuse to create a missing file; the path is
// percent-encoded so that '?', '#', '%', blanks and accents in folder names survive the URI.
QString nomUri(const QString &chemin)
{
    const QString absolu = QFileInfo(chemin).absoluteFilePath();
    return QString::fromUtf8(QUrl::fromLocalFile(absolu).toEncoded()) + QStringLiteral("?mode=rw");
}

// Returns the names of the required objects the open file lacks; a file that is not a database
// fails here, on its first read.
QSqlError verifierObjets(const QSqlDatabase &base)
{
    QSqlQuery requete(base);
    const QString objets = estPostgres(base)
        ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                         "current_schema()")
        : QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view')");
    if (!requete.exec(objets)) {
        return erreurOuverture(QStringLiteral("Ce fichier n'est pas une base de données lisible."),
                               requete.lastError());
    }
    QStringList presents;
    while (requete.next())
        presents << requete.value(0).toString().toUpper();

    QStringList manquants;
    for (const char *objet : ObjetsRequis) {
        if (!presents.contains(QString::fromLatin1(objet)))
            manquants << QString::fromLatin1(objet);
    }
    if (!manquants.isEmpty()) {
        return erreurOuverture(
            QStringLiteral("Ce fichier n'est pas une base Razarivu : il y manque %1.")
                .arg(manquants.join(QStringLiteral(", "))));
    }
    return QSqlError();
}

// A server: the address read, the connection opened, and the same checks as a file.
QSqlError ouvrirPostgres(const QString &texte, const QString &connexion, const QString &motDePasse)
{
    oublierSchema(connexion);
    Recordset::oublierRequetes(connexion);
    QSqlError erreur = connecterPostgres(texte, connexion, motDePasse);
    if (erreur.isValid())
        return erreur;
    {
        QSqlDatabase base = QSqlDatabase::database(connexion, false);
        erreur = verifierObjets(base);
        if (erreur.isValid())
            base.close();
    }
    if (erreur.isValid())
        QSqlDatabase::removeDatabase(connexion);
    return erreur;
}

} // namespace

bool estPostgres(const QSqlDatabase &base)
{
    return base.driverName() == QLatin1String("QPSQL");
}

QSqlError connecterPostgres(const QString &texte, const QString &connexion,
                            const QString &motDePasse)
{
    QString refus;
    const std::optional<AdressePostgres> adresse = lireAdressePostgres(texte, &refus);
    if (!adresse)
        return erreurOuverture(QStringLiteral("Adresse de base PostgreSQL illisible : ") + refus);
    QSqlError erreur;
    {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connexion);
        if (!base.isValid()) {
            erreur = erreurOuverture(QStringLiteral("Le pilote PostgreSQL de Qt est absent "
                                                    "(paquet libqt6sql6-psql)."));
        } else {
            base.setHostName(adresse->hote);
            base.setPort(adresse->port);
            base.setDatabaseName(adresse->base);
            if (!adresse->utilisateur.isEmpty())
                base.setUserName(adresse->utilisateur);
            const QString secret = adresse->motDePasse.isEmpty() ? motDePasse : adresse->motDePasse;
            if (!secret.isEmpty())
                base.setPassword(secret);
            // A server that does not answer is given up after five seconds, not a minute.
            QString options = QStringLiteral("connect_timeout=5;application_name=Razarivu");
            if (!adresse->options.isEmpty())
                options += u';' + adresse->options;
            base.setConnectOptions(options);
            if (base.open())
                preparerSession(base);
            else
                erreur = erreurOuverture(QStringLiteral("Impossible d'ouvrir la base de données "
                                                        "%1.")
                                             .arg(adresseLisible(*adresse)),
                                         base.lastError());
        }
    }
    if (erreur.isValid())
        QSqlDatabase::removeDatabase(connexion);
    return erreur;
}

bool retablir(const QSqlDatabase &base)
{
    if (!estPostgres(base))
        return false;
    if (base.isOpen()) {
        QSqlQuery essai(base);
        if (essai.exec(QStringLiteral("SELECT 1")))
            return false;
    }
    QSqlDatabase connexion = base;
    connexion.close();
    // The statements prepared on the lost session are gone with it.
    Recordset::oublierRequetes(connexion.connectionName());
    if (!connexion.open())
        return false;
    preparerSession(connexion);
    return true;
}

void preparerSession(const QSqlDatabase &base)
{
    if (!estPostgres(base))
        return;
    QSqlQuery requete(base);
    // As a desk waits for a file another desk holds: five seconds, then the write is refused
    // and said so, rather than a window that hangs.
    requete.exec(QStringLiteral("SET lock_timeout = %1").arg(attenteMaximaleMs()));
    requete.exec(QStringLiteral("SET client_min_messages = warning"));
}

QSqlError ouvrir(const QString &chemin, const QString &connexion, const QString &motDePasse)
{
    // Replacing a live connection of the same name would pull it from under its users.
    if (QSqlDatabase::contains(connexion)) {
        return erreurOuverture(
            QStringLiteral("La connexion « %1 » est déjà ouverte.").arg(connexion));
    }
    if (estAdressePostgres(chemin))
        return ouvrirPostgres(chemin, connexion, motDePasse);
    if (!QFileInfo::exists(chemin)) {
        return erreurOuverture(QStringLiteral("Base de données introuvable : %1").arg(chemin));
    }

    // A file of the same name may have been replaced since it was last open under this name.
    oublierSchema(connexion);
    Recordset::oublierRequetes(connexion);
    QSqlError erreur;
    {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connexion);
        if (!base.isValid()) {
            erreur = erreurOuverture(QStringLiteral("Le pilote SQLite de Qt est absent."));
        } else {
            base.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
            base.setDatabaseName(nomUri(chemin));
            if (!base.open()) {
                erreur = erreurOuverture(
                    QStringLiteral("Impossible d'ouvrir la base de données %1.").arg(chemin),
                    base.lastError());
            } else {
                attenteParDefaut(poigneeSqlite(base));
                erreur = verifierObjets(base);
                // The planning rereads the current stays of every line at each redraw, several
                // megabytes of pages on a site with a long history: beyond SQLite's 2 MB default
                // they would be read from the file again every time.
                if (!erreur.isValid())
                    QSqlQuery(base).exec(QStringLiteral("PRAGMA cache_size = -32768"));
            }
            if (erreur.isValid())
                base.close();
        }
    }
    // The handle above is gone by now, so removing the connection raises no "still in use".
    if (erreur.isValid())
        QSqlDatabase::removeDatabase(connexion);
    return erreur;
}

void fermer(const QString &connexion)
{
    oublierSchema(connexion);
    Recordset::oublierRequetes(connexion);
    if (!QSqlDatabase::contains(connexion))
        return;
    {
        QSqlDatabase base = QSqlDatabase::database(connexion, false);
        base.close();
    }
    QSqlDatabase::removeDatabase(connexion);
}

QString texteDate(const QDateTime &moment)
{
    if (!moment.isValid())
        return QString();
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime dateDepuisTexte(const QString &texte)
{
    QDateTime moment = QDateTime::fromString(texte, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (moment.isValid())
        return moment;
    // Other tools write the ISO "T" separator.
    moment = QDateTime::fromString(texte, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (moment.isValid())
        return moment;
    const QDate jour = QDate::fromString(texte, QStringLiteral("yyyy-MM-dd"));
    if (jour.isValid())
        return jour.startOfDay();
    return QDateTime();
}

namespace {

int chiffres(QStringView texte, qsizetype debut, qsizetype nombre)
{
    int valeur = 0;
    for (qsizetype i = debut; i < debut + nombre; ++i) {
        const char16_t c = texte.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        valeur = valeur * 10 + (c - u'0');
    }
    return valeur;
}

// The stored form "yyyy-MM-dd HH:mm:ss" read without the general parser, which costs tens of
// microseconds a date; anything else, or a moment the local clock skips, goes the long way so
// that the result is always the one dateDepuisTexte gives.
QDateTime dateStockee(const QString &texte)
{
    if (texte.size() == 19 && texte.at(4) == u'-' && texte.at(7) == u'-' && texte.at(10) == u' '
        && texte.at(13) == u':' && texte.at(16) == u':') {
        const QDate jour(chiffres(texte, 0, 4), chiffres(texte, 5, 2), chiffres(texte, 8, 2));
        const QTime heure(chiffres(texte, 11, 2), chiffres(texte, 14, 2), chiffres(texte, 17, 2));
        if (jour.isValid() && heure.isValid()) {
            const QDateTime moment(jour, heure);
            if (moment.isValid() && moment.date() == jour && moment.time() == heure)
                return moment;
        }
    }
    return dateDepuisTexte(texte);
}

} // namespace

// Every redraw of the planning reads the same few hundred date texts again (arrivals and
// departures share their days and hours), and making a local date-time asks the C library for
// the time zone each time. Bounded, and per thread as connections are.
QDateTime dateLue(const QString &texte)
{
    constexpr int Capacite = 1 << 14;
    thread_local QHash<QString, QDateTime> dates;
    const auto connue = dates.constFind(texte);
    if (connue != dates.constEnd())
        return connue.value();
    if (dates.size() >= Capacite)
        dates.clear();
    const QDateTime moment = dateStockee(texte);
    dates.insert(texte, moment);
    return moment;
}

QDateTime dateDepuisValeur(const QVariant &valeur)
{
    if (valeur.isNull())
        return QDateTime();
    if (valeur.metaType().id() == QMetaType::QDateTime)
        return valeur.toDateTime();
    return dateLue(valeur.toString());
}

QDateTime dateAvecBarres(QStringView texte, bool moisDAbord)
{
    static const QRegularExpression forme(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = forme.match(texte.toString());
    if (!m.hasMatch())
        return QDateTime();
    const int premier = m.captured(1).toInt();
    const int second = m.captured(2).toInt();
    const QDate jour(m.captured(3).toInt(), moisDAbord ? premier : second,
                     moisDAbord ? second : premier);
    const QTime heure(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!jour.isValid() || !heure.isValid())
        return QDateTime();
    return QDateTime(jour, heure);
}

} // namespace BaseDeDonnees

#include "conversion/MessageErreur.h"

#include <QCoreApplication>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

namespace {

struct Phrase
{
    int numero;
    const char *texte;
};

const Phrase Phrases[] = {
    {ENAMETOOLONG, "Le nom du fichier est trop long."},
    {EACCES, "Accès refusé : les droits ne permettent pas d'utiliser ce fichier ou son dossier."},
    {EPERM, "Opération non permise sur ce fichier."},
    {ENOSPC, "Le disque est plein."},
    {EDQUOT, "Le quota d'espace disque est atteint."},
    {ENOENT, "Le fichier ou son dossier n'existe pas."},
    {EROFS, "Le disque est en lecture seule."},
    {EISDIR, "Ce nom est celui d'un dossier."},
};

// Qt reports an error number through qt_error_string(), translated when Qt's own French texts
// are loaded; the C library's text is compared as well for callers that pass strerror().
bool estLeTexteDe(int numero, const QString &texte)
{
    return texte == qt_error_string(numero)
        || texte == QString::fromLocal8Bit(std::strerror(numero));
}

QString phraseDeLErreur(QFileDevice::FileError erreur)
{
    switch (erreur) {
    case QFileDevice::NoError:
    case QFileDevice::UnspecifiedError:
        break;
    case QFileDevice::ReadError:
        return QStringLiteral("Le fichier ne peut pas être lu");
    case QFileDevice::WriteError:
        return QStringLiteral("Le fichier ne peut pas être écrit");
    case QFileDevice::FatalError:
        return QStringLiteral("Erreur grave sur le fichier");
    case QFileDevice::ResourceError:
        return QStringLiteral("Le système manque de place ou de ressources pour ce fichier");
    case QFileDevice::OpenError:
        return QStringLiteral("Le fichier ne peut pas être ouvert");
    case QFileDevice::AbortError:
        return QStringLiteral("L'opération sur le fichier a été interrompue");
    case QFileDevice::TimeOutError:
        return QStringLiteral("Le fichier n'a pas répondu à temps");
    case QFileDevice::RemoveError:
        return QStringLiteral("Le fichier ne peut pas être supprimé");
    case QFileDevice::RenameError:
        return QStringLiteral("Le fichier ne peut pas être renommé");
    case QFileDevice::PositionError:
        return QStringLiteral("La position dans le fichier ne peut pas être changée");
    case QFileDevice::ResizeError:
        return QStringLiteral("La taille du fichier ne peut pas être changée");
    case QFileDevice::PermissionsError:
        return QStringLiteral("Les droits du fichier ne peuvent pas être changés");
    case QFileDevice::CopyError:
        return QStringLiteral("Le fichier ne peut pas être copié");
    }
    return QStringLiteral("Erreur inconnue sur le fichier");
}

} // namespace

QString messageErrnoEnFrancais(int numero)
{
    for (const Phrase &phrase : Phrases) {
        if (phrase.numero == numero)
            return QString::fromUtf8(phrase.texte);
    }
    return QString();
}

QString messageFichierEnFrancais(QFileDevice::FileError erreur, const QString &texteSysteme)
{
    if (erreur == QFileDevice::NoError && texteSysteme.isEmpty())
        return QString();
    for (const Phrase &phrase : Phrases) {
        if (estLeTexteDe(phrase.numero, texteSysteme))
            return QString::fromUtf8(phrase.texte);
    }
    // QSaveFile refuses a folder with a text of its own rather than the system's.
    if (texteSysteme == QCoreApplication::translate("QSaveFile", "Filename refers to a directory"))
        return messageErrnoEnFrancais(EISDIR);
    const QString phrase = phraseDeLErreur(erreur);
    if (texteSysteme.isEmpty())
        return phrase + u'.';
    return phrase + QStringLiteral(" (") + texteSysteme + QStringLiteral(").");
}

namespace {

const char *phraseDuCodeSqlite(int code)
{
    switch (code) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return "Ce numéro est déjà pris dans la base de données.";
    case SQLITE_IOERR_NOMEM:
        return "La mémoire manque pour terminer l'opération.";
    default:
        break;
    }
    switch (code & 0xFF) {
    case SQLITE_READONLY:
        return "La base de données est en lecture seule : rien ne peut y être enregistré.";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "La base de données est occupée par un autre poste ou un autre programme ; "
               "réessayez dans un instant.";
    case SQLITE_FULL:
        return "Le disque de la base de données est plein.";
    case SQLITE_IOERR:
        return "Le disque de la base de données n'a pas pu être lu ou écrit.";
    case SQLITE_CANTOPEN:
        return "Le fichier de la base de données est introuvable ou ne peut pas être ouvert.";
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "Les droits ne permettent pas d'utiliser la base de données.";
    case SQLITE_CONSTRAINT:
        return "La base de données a refusé ces valeurs : une de ses règles l'interdit.";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return "Le fichier de la base de données est abîmé ou n'est pas une base de données.";
    case SQLITE_NOMEM:
        return "La mémoire manque pour terminer l'opération.";
    case SQLITE_TOOBIG:
        return "Une valeur est trop grande pour la base de données.";
    default:
        return nullptr;
    }
}

// A PostgreSQL server's SQLSTATE: five characters, the first two its class.
const char *phraseDuCodePostgres(const QString &etat)
{
    static const struct
    {
        const char *code;
        const char *phrase;
    } Phrases[] = {
        {"23505", "Ce numéro est déjà pris dans la base de données."},
        {"23", "La base de données a refusé ces valeurs : une de ses règles l'interdit."},
        {"25006", "La base de données est en lecture seule : rien ne peut y être enregistré."},
        {"55P03",
         "La base de données est occupée par un autre poste ou un autre programme ; "
         "réessayez dans un instant."},
        {"40",
         "La base de données est occupée par un autre poste ou un autre programme ; "
         "réessayez dans un instant."},
        {"53100", "Le disque de la base de données est plein."},
        {"53200", "La mémoire manque pour terminer l'opération."},
        {"08",
         "Le serveur de la base de données ne répond pas : vérifiez qu'il est en marche et "
         "que le réseau passe."},
        {"57P",
         "Le serveur de la base de données s'est arrêté ou redémarre ; réessayez dans un "
         "instant."},
        {"28", "Le serveur de la base de données refuse cet utilisateur ou ce mot de passe."},
        {"3D000", "Cette base de données n'existe pas sur le serveur."},
        {"42501", "Les droits ne permettent pas d'utiliser la base de données."},
        {"22001", "Une valeur est trop grande pour la base de données."},
        {"22003", "Une valeur est trop grande pour la base de données."},
        {"XX", "La base de données du serveur est abîmée."},
    };
    for (const auto &phrase : Phrases) {
        if (etat.startsWith(QLatin1String(phrase.code)))
            return phrase.phrase;
    }
    return nullptr;
}

} // namespace

QString messageBaseEnFrancais(const QSqlError &erreur)
{
    if (!erreur.isValid())
        return QString();
    if (erreur.driverText().startsWith(QLatin1String("QPSQL"))) {
        const QString etat = erreur.nativeErrorCode().trimmed();
        if (const char *phrase = etat.size() == 5 ? phraseDuCodePostgres(etat) : nullptr)
            return QString::fromUtf8(phrase);
        // A connection refused comes without a code: what libpq says tells why.
        const QString texte = erreur.databaseText();
        if (etat.isEmpty()
            && (texte.contains(QLatin1String("password authentication failed"))
                || (texte.contains(QLatin1String("role \""))
                    && texte.contains(QLatin1String("does not exist")))
                || texte.contains(QLatin1String("no password supplied"))))
            return QString::fromUtf8(phraseDuCodePostgres(QStringLiteral("28000")));
        if (etat.isEmpty() && texte.contains(QLatin1String("database \""))
            && texte.contains(QLatin1String("does not exist")))
            return QString::fromUtf8(phraseDuCodePostgres(QStringLiteral("3D000")));
        if (etat.isEmpty()
            && (erreur.driverText().contains(QLatin1String("connect"), Qt::CaseInsensitive)
                || erreur.databaseText().contains(QLatin1String("connection"),
                                                  Qt::CaseInsensitive)))
            return QString::fromUtf8(phraseDuCodePostgres(QStringLiteral("08000")))
                + QStringLiteral(" (") + erreur.databaseText().trimmed() + QStringLiteral(")");
    }
    bool estUnCode = false;
    const int code = erreur.nativeErrorCode().toInt(&estUnCode);
    if (estUnCode) {
        if (const char *phrase = phraseDuCodeSqlite(code))
            return QString::fromUtf8(phrase);
    }
    const QString texte = erreur.text().trimmed();
    // Our own refusals carry their French text where Qt puts its driver's, and nothing else.
    if (erreur.nativeErrorCode().isEmpty() && erreur.databaseText().isEmpty())
        return texte;
    return QStringLiteral("La base de données a refusé l'opération (") + texte
        + QStringLiteral(").");
}

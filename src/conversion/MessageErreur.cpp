#include "conversion/MessageErreur.h"

#include <QCoreApplication>

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

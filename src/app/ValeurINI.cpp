#include "app/ValeurINI.h"

#include "app/CheminsApplication.h"
#include "app/FichierIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

namespace {

// The read buffer of the settings format holds this many characters.
constexpr int LongueurMaxValeur = 589;

const QStringList RacinesRegistre = {
    QStringLiteral("HKEY_CLASSES_ROOT"),  QStringLiteral("HKEY_CURRENT_CONFIG"),
    QStringLiteral("HKEY_CURRENT_USER"),  QStringLiteral("HKEY_DYN_DATA"),
    QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("HKEY_PERFORMANCE_DATA"),
    QStringLiteral("HKEY_USERS"),
};

// A missing file is an empty settings file. A file that exists but cannot be read gives
// nothing, so that a write never replaces a file whose content it does not know.
std::optional<FichierIni> charger(const QString &chemin)
{
    QFile fichier(chemin);
    if (!fichier.exists())
        return FichierIni();
    if (!fichier.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FichierIni::depuisOctets(fichier.readAll());
}

void modifier(const QString &chemin, const QString &section, const QString &cle,
              const QString &valeur)
{
    std::optional<FichierIni> ini = charger(chemin);
    if (!ini)
        return;
    ini->ecrire(section, cle, valeur);
    QSaveFile fichier(chemin);
    // A writable file in a read-only folder (no room for the temporary copy) is still updated.
    fichier.setDirectWriteFallback(true);
    if (!fichier.open(QIODevice::WriteOnly))
        return;
    fichier.write(ini->versOctets());
    fichier.commit();
}

std::optional<QString> lire(const QString &chemin, const QString &section, const QString &cle)
{
    const std::optional<FichierIni> ini = charger(chemin);
    if (!ini)
        return std::nullopt;
    return ini->valeur(section, cle);
}

// "HKEY_CURRENT_USER\Software\X" → the section "HKEY_CURRENT_USER\Software\X" of the store;
// an empty string for an unknown root.
QString sectionRegistre(const QString &cheminCle)
{
    const int separateur = cheminCle.indexOf(QLatin1Char('\\'));
    const QString racine = (separateur < 0 ? cheminCle : cheminCle.left(separateur)).toUpper();
    if (!RacinesRegistre.contains(racine))
        return QString();
    if (separateur < 0)
        return racine;
    return racine + cheminCle.mid(separateur);
}

QString cheminFichier(const QString &fichier)
{
    if (fichier.isEmpty())
        return CheminsApplication::fichierINIPrincipal();
    return CheminsApplication::dansDossierApplication(fichier);
}

} // namespace

QString fichierRegistre()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QLatin1String("/registre.ini");
}

QString LireRegistre(const QString &cheminCle, const QString &nomValeur)
{
    const QString section = sectionRegistre(cheminCle);
    if (section.isEmpty())
        return QString();
    return lire(fichierRegistre(), section, nomValeur).value_or(QString());
}

void EcrireRegistre(const QString &cheminCle, const QString &nomValeur, const QString &valeur)
{
    const QString section = sectionRegistre(cheminCle);
    if (section.isEmpty())
        return;
    const QString chemin = fichierRegistre();
    QDir().mkpath(QFileInfo(chemin).path());
    modifier(chemin, section, nomValeur, valeur);
}

QString ValeurINI(const QString &section, const QString &cle, const QString &valeur,
                  const QString &fichier, qint16 mode)
{
    const QString nomSection = FichierIni::couper(section, FichierIni::LongueurMaxNom);
    const QString nomCle = FichierIni::couper(cle, FichierIni::LongueurMaxNom);

    // "$" alone names the registry all the same, with a root that selects nothing.
    if (fichier.startsWith(QLatin1Char('$'))) {
        const QString cheminCle = fichier.mid(1) + QLatin1Char('\\') + nomSection;
        if (mode == ECRIRE) {
            EcrireRegistre(cheminCle, nomCle, valeur);
            return valeur;
        }
        const QString lu = LireRegistre(cheminCle, nomCle);
        if (!lu.isEmpty())
            return lu;
        if (mode == LIRE_ET_CREER)
            EcrireRegistre(cheminCle, nomCle, valeur);
        return valeur;
    }

    const QString chemin = cheminFichier(fichier);
    if (mode == ECRIRE) {
        modifier(chemin, nomSection, nomCle, valeur);
        return valeur;
    }
    const QString lu = FichierIni::couper(lire(chemin, nomSection, nomCle).value_or(QString()),
                                          LongueurMaxValeur);
    if (lu.isEmpty()) {
        // Missing or empty: in read-and-create mode the settings file fills itself in.
        if (mode == LIRE_ET_CREER)
            modifier(chemin, nomSection, nomCle, valeur);
        return valeur;
    }
    // A stored value equal to the default is written again, which brings the line (and the
    // file's encoding and line endings) to the form this program writes.
    if (mode == LIRE_ET_CREER && lu == valeur)
        modifier(chemin, nomSection, nomCle, valeur);
    return lu;
}

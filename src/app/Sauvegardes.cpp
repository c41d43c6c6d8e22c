#include "app/Sauvegardes.h"

#include "app/ReglageEntier.h"
#include "app/ValeurINI.h"
#include "conversion/Conversion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace Sauvegardes {

namespace {
constexpr qint64 Min32 = std::numeric_limits<qint32>::min();
constexpr qint64 Max32 = std::numeric_limits<qint32>::max();
} // namespace

int emplacementSuivant(const QString &numeroPrecedent, const QString &nombre)
{
    const qint64 emplacement = entierDuReglage(numeroPrecedent, Min32, Max32) + 1;
    const qint64 limite = entierDuReglage(nombre, Min32, Max32);
    if (limite < emplacement || emplacement > Max32)
        return 0;
    return int(emplacement);
}

QString nomFichierBase(const QString &cheminBase)
{
    return cheminBase.mid(Conversion::ExtraireChemin(cheminBase).size());
}

QString nomSauvegardeBase(const QString &dossier, const QString &cheminBase, int emplacement)
{
    const QString nom = nomFichierBase(cheminBase);
    return dossier + nom.left(qMax<qsizetype>(0, nom.size() - 4)) + QLatin1Char('_')
        + QString::number(emplacement) + QLatin1String(".mdb");
}

QString nomSauvegardeProgramme(const QString &dossier, const QString &nomProgramme, int emplacement)
{
    QString nom = dossier + nomProgramme + QLatin1Char('_') + QString::number(emplacement);
#ifdef Q_OS_WIN
    nom += QLatin1String(".exe");
#endif
    return nom;
}

bool copierEnRemplacant(const QString &source, const QString &cible)
{
    if (!QFileInfo(source).isFile())
        return false;
    const QString enCours = cible + QLatin1String(".copie");
    QFile::remove(enCours);
    if (!QFile::copy(source, enCours)) {
        QFile::remove(enCours);
        return false;
    }
    QFile::remove(cible);
    return QFile::rename(enCours, cible);
}

int effectuer(const QString &dossierApplication, const QString &fichierINI,
              const QString &cheminBase, const QString &cheminProgramme)
{
    const QString dossier = dossierApplication + QLatin1String("/Sauvegardes/");
    QDir().mkpath(dossier);

    const int emplacement = emplacementSuivant(
        ValeurINI("system", "sauvegardes numero", "0", fichierINI, LIRE_ET_CREER),
        ValeurINI("system", "sauvegardes nombre", "30", fichierINI, LIRE_ET_CREER));

    copierEnRemplacant(cheminBase, nomSauvegardeBase(dossier, cheminBase, emplacement));
    copierEnRemplacant(
        cheminProgramme,
        nomSauvegardeProgramme(dossier, QFileInfo(cheminProgramme).fileName(), emplacement));

    ValeurINI("system", "sauvegardes numero", QString::number(emplacement), fichierINI, ECRIRE);
    return emplacement;
}

} // namespace Sauvegardes

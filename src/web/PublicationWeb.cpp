#include "web/PublicationWeb.h"

#include "app/CheminsApplication.h"
#include "app/ValeurINI.h"
#include "conversion/Conversion.h"
#include "conversion/MessageErreur.h"
#include "data/LectureDirecte.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "web/CalendrierWeb.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QUrl>

namespace PublicationWeb {

namespace {

// The file an SQLite connection has open: it is opened by a "file:" URI so that a missing
// base is not created.
QString fichierDeLaBase(const QSqlDatabase &base)
{
    if (base.driverName() != QLatin1String("QSQLITE"))
        return QString();
    const QString nom = base.databaseName();
    if (nom.startsWith(QLatin1String("file:")))
        return QUrl(nom).toLocalFile();
    return nom;
}

bool memeFichier(const QFileInfo &a, const QFileInfo &b)
{
    if (a.absoluteFilePath() == b.absoluteFilePath())
        return true;
    // A link is written through, so a link to the base is the base.
    return a.exists() && b.exists() && a.canonicalFilePath() == b.canonicalFilePath();
}

QString pageImpossible(const QString &nom, const QFileDevice &sortie)
{
    return QStringLiteral("la page « ") + nom + QStringLiteral(" » ne peut pas être écrite. ")
        + messageFichierEnFrancais(sortie.error(), sortie.errorString());
}

QString reservationsIllisibles(const QString &raison)
{
    return QStringLiteral("les réservations ne peuvent pas être lues. ") + raison;
}

} // namespace

QString texteDeFin(const QDate &aujourdhui)
{
    return CalendrierWeb::dateDeFin(aujourdhui).toString(QStringLiteral("dd/MM/yyyy"));
}

QString nomDeFichier(const QVariant &Nom, const QVariant &FichierPlanningHTML)
{
    if (!FichierPlanningHTML.isNull())
        return FichierPlanningHTML.toString();
    return Nom.toString() + QStringLiteral(".html");
}

QString nomAffiche(const QVariant &Nom, const QVariant &NomInternet)
{
    return NomInternet.isNull() ? Nom.toString() : NomInternet.toString();
}

QStringList fichiersDuProgramme(const QString &dossier, const QSqlDatabase &base)
{
    const QDir ici(dossier);
    const QString programme = QLatin1String(CheminsApplication::NomExecutable);
    QStringList fichiers = {
        fichierDeLaBase(base),
        ValeurINI(QStringLiteral("system"), QStringLiteral("database"), QString(), QString(), LIRE),
        ici.filePath(programme + QLatin1String(".mdb")),
        ici.filePath(programme + QLatin1String(".ini")),
        ici.filePath(QStringLiteral("reriveved.ini")),
        ici.filePath(QStringLiteral("lanceftp.sh")),
        ici.filePath(QStringLiteral("lanceftp.bat")),
        ici.filePath(programme),
        CheminsApplication::fichierINIPrincipal(),
        CheminsApplication::dansDossierApplication(QStringLiteral("reriveved.ini")),
        CheminsApplication::fichierExecutable(),
        fichierRegistre(),
    };
    fichiers.removeAll(QString());
    return fichiers;
}

QString refusDeLaPage(const QString &chemin, const QStringList &proteges)
{
    const QFileInfo page(chemin);
    const QString nom = page.fileName();
    if (!nom.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)
        && !nom.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
        return QStringLiteral("le nom « ") + nom
            + QStringLiteral(" » n'est pas celui d'une page .html ou .htm : rien n'est écrit");
    for (const QString &protege : proteges) {
        if (memeFichier(page, QFileInfo(protege)))
            return QStringLiteral("« ") + nom
                + QStringLiteral(" » est un fichier du programme (base, réglages, script ou "
                                 "programme) : il n'est pas remplacé");
    }
    return QString();
}

QString procedureMiseAjourInternet(const QSqlDatabase &base, const QString &dossier, qint32 numero,
                                   const QString &finTexte, const QString &fichier,
                                   const QString &nomAffiche, const QDate &aujourdhui,
                                   const QDateTime &maintenant)
{
    const QString nom = Conversion::NettoyerNom(fichier);
    // Not QDir::filePath, which gives the folder itself for an empty name.
    const QString chemin = QDir(dossier).path() + u'/' + nom;
    const QString refus = refusDeLaPage(chemin, fichiersDuProgramme(dossier, base));
    if (!refus.isEmpty())
        return refus;

    // The end written day first becomes the month-first literal of the query.
    const QDate fin = QDate::fromString(finTexte, QStringLiteral("dd/MM/yyyy"));
    if (!fin.isValid())
        return reservationsIllisibles(QStringLiteral("La date de fin est illisible."));
    QVector<CalendrierWeb::Sejour> sejours;
    LectureDirecte lecture(base);
    if (!lecture.executer(TextesSQL::reservationsPubliees(numero, fin)))
        return reservationsIllisibles(messageBaseEnFrancais(lecture.erreur()));
    const int debut = lecture.position(QStringLiteral("DateDebut"));
    const int finSejour = lecture.position(QStringLiteral("DateFin"));
    while (lecture.suivant())
        sejours.append({lecture.date(debut), lecture.date(finSejour)});
    if (lecture.erreur().isValid())
        return reservationsIllisibles(messageBaseEnFrancais(lecture.erreur()));

    QSaveFile sortie(chemin);
    if (!sortie.open(QIODevice::WriteOnly))
        return pageImpossible(nom, sortie);
    sortie.write(CalendrierWeb::enWindows1252(
        CalendrierWeb::page(nomAffiche, aujourdhui, maintenant, sejours)));
    if (!sortie.commit())
        return pageImpossible(nom, sortie);
    return QString();
}

QString publierObjet(const QSqlDatabase &base, const QString &dossier, const Recordset &objet,
                     const QDate &aujourdhui, const QDateTime &maintenant)
{
    const QVariant nom = objet.champ(QStringLiteral("Nom"));
    return procedureMiseAjourInternet(
        base, dossier, objet.champ(QStringLiteral("Numero")).toInt(), texteDeFin(aujourdhui),
        nomDeFichier(nom, objet.champ(QStringLiteral("FichierPlanningHTML"))),
        nomAffiche(nom, objet.champ(QStringLiteral("NomInternet"))), aujourdhui, maintenant);
}

bool lancerEnvoi(const QString &dossier)
{
    const QString script = QDir(dossier).filePath(QStringLiteral("lanceftp.sh"));
    if (!QFileInfo(script).isFile())
        return false;
    return QProcess::startDetached(QStringLiteral("/bin/sh"), {script}, dossier);
}

} // namespace PublicationWeb

#include "web/PublicationWeb.h"

#include "conversion/Conversion.h"
#include "data/LectureDirecte.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "web/CalendrierWeb.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace PublicationWeb {

QString texteDeFin(const QDate &aujourdhui)
{
    return QStringLiteral("01/") + aujourdhui.addDays(570).toString(QStringLiteral("MM/yyyy"));
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

QString procedureMiseAjourInternet(const QSqlDatabase &base, const QString &dossier, qint32 numero,
                                   const QString &finTexte, const QString &fichier,
                                   const QString &nomAffiche, const QDate &aujourdhui,
                                   const QDateTime &maintenant)
{
    // The end written day first becomes the month-first literal of the query.
    const QDate fin = QDate::fromString(finTexte, QStringLiteral("dd/MM/yyyy"));
    QVector<CalendrierWeb::Sejour> sejours;
    LectureDirecte lecture(base);
    if (!fin.isValid() || !lecture.executer(TextesSQL::reservationsPubliees(numero, fin)))
        return QStringLiteral("les réservations ne peuvent pas être lues (")
            + (fin.isValid() ? lecture.erreur().text() : QStringLiteral("date de fin illisible"))
            + u')';
    const int debut = lecture.position(QStringLiteral("DateDebut"));
    const int finSejour = lecture.position(QStringLiteral("DateFin"));
    while (lecture.suivant())
        sejours.append({lecture.date(debut), lecture.date(finSejour)});
    if (lecture.erreur().isValid())
        return QStringLiteral("les réservations ne peuvent pas être lues (")
            + lecture.erreur().text() + u')';

    const QString nom = Conversion::NettoyerNom(fichier);
    if (nom.isEmpty() || nom == QStringLiteral(".") || nom == QStringLiteral(".."))
        return QStringLiteral("le nom de fichier « ") + fichier
            + QStringLiteral(" » ne peut pas servir de nom de page");
    QSaveFile sortie(QDir(dossier).filePath(nom));
    if (!sortie.open(QIODevice::WriteOnly))
        return QStringLiteral("la page « ") + nom + QStringLiteral(" » ne peut pas être écrite (")
            + sortie.errorString() + u')';
    sortie.write(CalendrierWeb::enWindows1252(
        CalendrierWeb::page(nomAffiche, aujourdhui, maintenant, sejours)));
    if (!sortie.commit())
        return QStringLiteral("la page « ") + nom + QStringLiteral(" » ne peut pas être écrite (")
            + sortie.errorString() + u')';
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

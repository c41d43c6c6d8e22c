#include "app/Sauvegardes.h"

#include "app/ReglageEntier.h"
#include "app/ValeurINI.h"
#include "conversion/Conversion.h"
#include "conversion/MessageErreur.h"
#include "data/AdresseBase.h"
#include "data/AttenteBase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <limits>

#include <sqlite3.h>

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

namespace {

constexpr int DureeMaximaleMs = 300000;

// A copy made and checked as `enCours` takes the slot's place; one that failed (`erreur` set)
// is removed and the slot keeps its previous copy. The reason, if any.
QString remplacer(const QString &enCours, const QString &cible, QString erreur)
{
    if (erreur.isEmpty()) {
        QFile::remove(cible);
        if (!QFile::rename(enCours, cible))
            erreur = QStringLiteral("la copie n'a pas pu prendre la place de %1.").arg(cible);
    }
    if (!erreur.isEmpty())
        QFile::remove(enCours);
    return erreur;
}

QString messageSqlite(sqlite3 *connexion, int code)
{
    const QString texte = connexion ? QString::fromUtf8(sqlite3_errmsg(connexion)) : QString();
    return messageBaseEnFrancais(
        QSqlError(QString(), texte, QSqlError::StatementError, QString::number(code)));
}

// Opens a file through SQLite, read-only or to be made; null with `erreur` set on failure.
sqlite3 *ouvrirFichier(const QString &chemin, int drapeaux, QString &erreur)
{
    sqlite3 *connexion = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(chemin).constData(), &connexion,
                                     drapeaux | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        erreur = messageSqlite(connexion, code);
        sqlite3_close(connexion);
        return nullptr;
    }
    attenteParDefaut(connexion);
    return connexion;
}

// SQLite's own verdict on a file: "ok", or what is wrong with it.
QString verdict(sqlite3 *connexion)
{
    sqlite3_stmt *requete = nullptr;
    QString resultat;
    if (sqlite3_prepare_v2(connexion, "PRAGMA quick_check", -1, &requete, nullptr) == SQLITE_OK
        && sqlite3_step(requete) == SQLITE_ROW)
        resultat
            = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(requete, 0)));
    else
        resultat = messageSqlite(connexion, sqlite3_errcode(connexion));
    sqlite3_finalize(requete);
    return resultat;
}

bool estUneBase(const QString &chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return false;
    // Empty, or headed as SQLite heads its files.
    const QByteArray entete = fichier.read(16);
    return entete.isEmpty() || entete == QByteArrayLiteral("SQLite format 3\0");
}

QByteArray empreinte(const QString &chemin)
{
    QFile fichier(chemin);
    QCryptographicHash hachage(QCryptographicHash::Sha256);
    if (!fichier.open(QIODevice::ReadOnly) || !hachage.addData(&fichier))
        return QByteArray();
    return hachage.result();
}

} // namespace

QString copierLaBase(const QString &source, const QString &cible)
{
    if (!QFileInfo(source).isFile())
        return QStringLiteral("la base de données %1 est introuvable.").arg(source);
    if (!estUneBase(source))
        return copierEnRemplacant(source, cible)
            ? QString()
            : QStringLiteral("la copie de %1 n'a pas pu être écrite.").arg(source);
    const QString enCours = cible + QLatin1String(".copie");
    QFile::remove(enCours);
    QString erreur;
    sqlite3 *lue = ouvrirFichier(source, SQLITE_OPEN_READONLY, erreur);
    sqlite3 *ecrite = lue
        ? ouvrirFichier(enCours, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, erreur)
        : nullptr;
    if (lue && ecrite) {
        // In one step: the whole file under one read lock, so no write of another desk can
        // fall between two of its pages.
        sqlite3_backup *copie = sqlite3_backup_init(ecrite, "main", lue, "main");
        if (!copie) {
            erreur = messageSqlite(ecrite, sqlite3_errcode(ecrite));
        } else {
            const int pas = sqlite3_backup_step(copie, -1);
            sqlite3_backup_finish(copie);
            if (pas != SQLITE_DONE)
                erreur = messageSqlite(ecrite, pas);
        }
        if (erreur.isEmpty()) {
            const QString controle = verdict(ecrite);
            if (controle != QLatin1String("ok"))
                erreur = QStringLiteral("la copie n'est pas saine (%1).").arg(controle);
        }
    }
    sqlite3_close(ecrite);
    sqlite3_close(lue);
    return remplacer(enCours, cible, erreur);
}

bool copierLeProgramme(const QString &source, const QString &cible)
{
    const QFileInfo programme(source);
    if (!programme.isFile())
        return false;
    // The newest copy of this program among the slots, whichever slot it is in.
    const QFileInfo dossier(cible);
    const QFileInfoList copies = dossier.dir().entryInfoList(
        {programme.fileName() + QLatin1String("_*")}, QDir::Files, QDir::Time);
    for (const QFileInfo &copie : copies) {
        if (copie.fileName().endsWith(QLatin1String(".copie")))
            continue;
        if (copie.size() == programme.size() && empreinte(copie.filePath()) == empreinte(source))
            return true;
        break;
    }
    return copierEnRemplacant(source, cible);
}

QString copierLeServeur(const QString &adresseTexte, const QString &cible,
                        const QString &motDePasse)
{
    QString refus;
    const std::optional<AdressePostgres> adresse = lireAdressePostgres(adresseTexte, &refus);
    if (!adresse)
        return refus;
    const QString pgDump = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    const QString pgRestore = QStandardPaths::findExecutable(QStringLiteral("pg_restore"));
    if (pgDump.isEmpty() || pgRestore.isEmpty())
        return QStringLiteral("une base PostgreSQL se sauvegarde avec pg_dump, qui n'est pas "
                              "installé sur ce poste (paquet postgresql-client).");
    const QString enCours = cible + QLatin1String(".copie");
    QFile::remove(enCours);
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    const QString secret = adresse->motDePasse.isEmpty() ? motDePasse : adresse->motDePasse;
    if (!secret.isEmpty())
        environnement.insert(QStringLiteral("PGPASSWORD"), secret);
    environnement.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("5"));
    const auto lancer = [&](const QString &programme, const QStringList &arguments) {
        QProcess processus;
        processus.setProcessEnvironment(environnement);
        processus.start(programme, arguments);
        if (!processus.waitForFinished(DureeMaximaleMs)) {
            processus.kill();
            processus.waitForFinished();
            return QStringLiteral("%1 n'a pas fini à temps.").arg(QFileInfo(programme).fileName());
        }
        if (processus.exitStatus() != QProcess::NormalExit || processus.exitCode() != 0)
            return QStringLiteral("%1 a échoué (%2).")
                .arg(QFileInfo(programme).fileName(),
                     QString::fromUtf8(processus.readAllStandardError()).trimmed());
        return QString();
    };
    QStringList connexion
        = {QStringLiteral("--host=") + adresse->hote,
           QStringLiteral("--port=") + QString::number(adresse->port),
           QStringLiteral("--dbname=") + adresse->base, QStringLiteral("--no-password")};
    if (!adresse->utilisateur.isEmpty())
        connexion << QStringLiteral("--username=") + adresse->utilisateur;
    // One transaction on the server: a consistent picture whatever the other desks write.
    QString erreur = lancer(
        pgDump,
        connexion
            + QStringList {QStringLiteral("--format=custom"), QStringLiteral("--file=") + enCours});
    // Read back whole: a copy that cannot be listed would not restore either.
    if (erreur.isEmpty())
        erreur = lancer(pgRestore, {QStringLiteral("--list"), enCours});
    return remplacer(enCours, cible, erreur);
}

QString nomSauvegardeServeur(const QString &dossier, const QString &adresseTexte, int emplacement)
{
    const std::optional<AdressePostgres> adresse = lireAdressePostgres(adresseTexte);
    QString nom = adresse ? adresse->base : QStringLiteral("base");
    // A name the server allows may hold what a file name must not.
    nom.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    return dossier + nom + QLatin1Char('_') + QString::number(emplacement) + QLatin1String(".dump");
}

Bilan effectuer(const QString &dossierApplication, const QString &fichierINI,
                const QString &cheminBase, const QString &cheminProgramme)
{
    const QString dossier = dossierApplication + QLatin1String("/Sauvegardes/");
    QDir().mkpath(dossier);

    Bilan bilan;
    bilan.emplacement = emplacementSuivant(
        ValeurINI("system", "sauvegardes numero", "0", fichierINI, LIRE_ET_CREER),
        ValeurINI("system", "sauvegardes nombre", "30", fichierINI, LIRE_ET_CREER));

    QString probleme;
    if (estAdressePostgres(cheminBase))
        probleme = copierLeServeur(
            cheminBase, nomSauvegardeServeur(dossier, cheminBase, bilan.emplacement),
            ValeurINI("system", "database motdepasse", "", fichierINI, LIRE));
    else if (QFileInfo::exists(cheminBase))
        // No file yet: the start offers to make one; nothing to back up, nothing to say.
        probleme
            = copierLaBase(cheminBase, nomSauvegardeBase(dossier, cheminBase, bilan.emplacement));
    if (!probleme.isEmpty())
        bilan.probleme = QStringLiteral("La sauvegarde de la base n'a pas pu être faite : %1 Les "
                                        "sauvegardes précédentes sont conservées dans %2.")
                             .arg(probleme, QDir::toNativeSeparators(dossier));
    copierLeProgramme(
        cheminProgramme,
        nomSauvegardeProgramme(dossier, QFileInfo(cheminProgramme).fileName(), bilan.emplacement));

    ValeurINI("system", "sauvegardes numero", QString::number(bilan.emplacement), fichierINI,
              ECRIRE);
    return bilan;
}

} // namespace Sauvegardes

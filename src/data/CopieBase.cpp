#include "data/CopieBase.h"

#include "conversion/MessageErreur.h"
#include "data/AdresseBase.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"
#include "data/SchemaBase.h"
#include "data/VersionSchema.h"

#include <QFile>
#include <QLocale>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Parents before what refers to them, as a reader would want them.
const char *const Tables[] = {"ETATS",         "OBJETS",   "RESERVATIONS", "OPERATIONS",
                              "CONSOMMATIONS", "SAISONS",  "PRESTATIONS",  "PRESTATIONSSEJOUR",
                              "EXONERATIONS",  "FACTURES", "CLOTURES"};

QSqlError erreurCopie(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::StatementError);
}

qint64 compter(const QSqlDatabase &base, const QString &table)
{
    QSqlQuery requete(base);
    return requete.exec(QStringLiteral("SELECT count(*) FROM ") + table) && requete.next()
        ? requete.value(0).toLongLong()
        : -1;
}

// The target's writable columns of `table`, lower case; with rowid first where it is its own
// column (the order of the rows), never where it is the reservation's number.
QStringList colonnesCopiees(const Schema &schema, const QString &table)
{
    QStringList colonnes;
    const TableSchema &cible = schema.tables.value(table.toLower());
    for (const ColonneSchema &colonne : cible.colonnes) {
        if (!colonne.calculee && colonne.nom.toLower() != QLatin1String("rowid"))
            colonnes << colonne.nom.toLower();
    }
    colonnes.sort();
    if (table != QLatin1String("RESERVATIONS"))
        colonnes.prepend(QStringLiteral("rowid"));
    return colonnes;
}

QSqlError copierTable(const QSqlDatabase &source, const QSqlDatabase &cible, const QString &table,
                      const QStringList &colonnes)
{
    QSqlQuery lecture(source);
    lecture.setForwardOnly(true);
    if (!lecture.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                          .arg(colonnes.join(QStringLiteral(", ")), table)))
        return lecture.lastError();
    QSqlQuery ecriture(cible);
    if (!ecriture.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, colonnes.join(QStringLiteral(", ")),
                     QStringList(colonnes.size(), QStringLiteral("?")).join(QStringLiteral(", ")))))
        return ecriture.lastError();
    while (lecture.next()) {
        for (int c = 0; c < colonnes.size(); ++c)
            ecriture.bindValue(c, lecture.value(c));
        if (!ecriture.exec())
            return ecriture.lastError();
    }
    return lecture.lastError();
}

} // namespace

QSqlError copierBase(const QString &source, const QString &cible, QStringList *compteRendu)
{
    const QString connexionSource = QStringLiteral("razarivu_copie_source");
    const QString connexionCible = QStringLiteral("razarivu_copie_cible");
    if (!estAdressePostgres(cible) && QFile::exists(cible))
        return erreurCopie(
            QStringLiteral("Le fichier %1 existe déjà : il n'est pas remplacé.").arg(cible));
    QSqlError erreur = BaseDeDonnees::ouvrir(source, connexionSource);
    if (erreur.isValid())
        return erreur;
    QSqlDatabase lue = QSqlDatabase::database(connexionSource, false);
    if (const int version = VersionSchema::lire(lue); version != VersionSchema::Courante) {
        lue = QSqlDatabase();
        BaseDeDonnees::fermer(connexionSource);
        return erreurCopie(QStringLiteral("La base %1 est de la version %2 du schéma : ouvrez-la "
                                          "d'abord avec Razarivu, qui la mettra à jour.")
                               .arg(source)
                               .arg(version));
    }
    erreur = creerTables(cible);
    if (!erreur.isValid())
        erreur = BaseDeDonnees::ouvrir(cible, connexionCible);
    if (erreur.isValid()) {
        lue = QSqlDatabase();
        BaseDeDonnees::fermer(connexionSource);
        return erreur;
    }
    QSqlDatabase ecrite = QSqlDatabase::database(connexionCible, false);
    const QSharedPointer<const Schema> schema = schemaDe(ecrite);
    const bool serveur = BaseDeDonnees::estPostgres(ecrite);
    QStringList lignes;
    // The source read as one picture, even while a desk writes to it.
    lue.transaction();
    if (!ecrite.transaction())
        erreur = ecrite.lastError();
    for (const char *nom : Tables) {
        if (erreur.isValid())
            break;
        const QString table = QString::fromLatin1(nom);
        erreur = copierTable(lue, ecrite, table, colonnesCopiees(*schema, table));
        if (erreur.isValid())
            break;
        const qint64 avant = compter(lue, table);
        const qint64 apres = compter(ecrite, table);
        if (avant < 0 || avant != apres) {
            erreur = erreurCopie(QStringLiteral("%1 : %2 lignes lues, %3 écrites ; rien n'a été "
                                                "copié.")
                                     .arg(table)
                                     .arg(avant)
                                     .arg(apres));
            break;
        }
        // A server numbers the next rows from its own counter, moved past the rows copied.
        if (serveur && table != QLatin1String("RESERVATIONS")) {
            QSqlQuery compteur(ecrite);
            if (!compteur.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', "
                                              "'rowid'), coalesce(max(rowid), 0) + 1, false) "
                                              "FROM %1")
                                   .arg(table.toLower())))
                erreur = compteur.lastError();
        }
        lignes << QStringLiteral("%1 : %2 lignes")
                      .arg(table, QLocale(QLocale::French).toString(avant));
    }
    if (erreur.isValid())
        ecrite.rollback();
    else if (!ecrite.commit())
        erreur = ecrite.lastError();
    lue.rollback();
    // The handles let go before their connections are removed.
    lue = QSqlDatabase();
    ecrite = QSqlDatabase();
    BaseDeDonnees::fermer(connexionCible);
    BaseDeDonnees::fermer(connexionSource);
    if (erreur.isValid()) {
        // Nothing half copied is left behind: a file is removed, a server's tables dropped.
        if (!serveur)
            QFile::remove(cible);
        else if (!BaseDeDonnees::connecterPostgres(cible, connexionCible).isValid()) {
            {
                QSqlQuery menage(QSqlDatabase::database(connexionCible, false));
                for (const char *nom : Tables)
                    menage.exec(
                        QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE").arg(QLatin1String(nom)));
                menage.exec(QStringLiteral("DROP TABLE IF EXISTS razarivu_version"));
            }
            BaseDeDonnees::fermer(connexionCible);
        }
        return erreur.nativeErrorCode().isEmpty() && erreur.databaseText().isEmpty()
            ? erreur
            : erreurCopie(messageBaseEnFrancais(erreur));
    }
    if (compteRendu)
        *compteRendu = lignes;
    return QSqlError();
}

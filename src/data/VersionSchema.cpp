#include "data/VersionSchema.h"

#include "conversion/MessageErreur.h"
#include "data/ChaineJournal.h"
#include "data/CreationBase.h"
#include "data/Recordset.h"
#include "data/SchemaBase.h"
#include "data/TransactionEcriture.h"

#include <QSqlQuery>
#include <QVariant>

namespace VersionSchema {

namespace {

QSqlError erreurMiseAJour(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::TransactionError);
}

struct ColonneAjoutee
{
    const char *table;
    const char *colonne;
    const char *definition;
};

// Version 1. A file may already hold one of these columns (added by hand): it is kept as it is.
const ColonneAjoutee Version1[] = {
    {"OBJETS", "Categorie", "TEXT NULL"},
    {"OBJETS", "Capacite", "INTEGER NULL"},
    {"OBJETS", "retire", "BOOLEAN NOT NULL DEFAULT 0"},
    {"ETATS", "occupe", "BOOLEAN NOT NULL DEFAULT 1"},
    {"CONSOMMATIONS", "TauxTVA", "INTEGER NOT NULL DEFAULT 1000"},
};

bool aLaColonne(const QSqlDatabase &base, const QString &table, const QString &colonne)
{
    QSqlQuery requete(base);
    if (!requete.exec(QStringLiteral("PRAGMA table_xinfo(\"%1\")").arg(table)))
        return false;
    while (requete.next()) {
        if (requete.value(1).toString().compare(colonne, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QSqlError executer(const QSqlDatabase &base, const QString &sql)
{
    QSqlQuery requete(base);
    return requete.exec(sql) ? QSqlError() : requete.lastError();
}

QSqlError versLaVersion1(const QSqlDatabase &base)
{
    for (const ColonneAjoutee &ajout : Version1) {
        const QString table = QString::fromLatin1(ajout.table);
        const QString colonne = QString::fromLatin1(ajout.colonne);
        if (aLaColonne(base, table, colonne))
            continue;
        const QSqlError erreur
            = executer(base,
                       QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                           .arg(table, colonne, QLatin1String(ajout.definition)));
        if (erreur.isValid())
            return erreurMiseAJour(QStringLiteral("la colonne %1 n'a pas pu être ajoutée à la "
                                                  "table %2 : %3")
                                       .arg(colonne, table, messageBaseEnFrancais(erreur)));
    }
    // A cancelled stay frees its dates: the states named so, in the files of the first release,
    // occupy nothing. The owner can change it in the settings.
    return executer(base, QStringLiteral("UPDATE ETATS SET occupe = 0 WHERE Nom LIKE 'Annul%'"));
}

// Version 2. An index of that name made by hand is kept as it is.
QSqlError versLaVersion2(const QSqlDatabase &base)
{
    for (const char *instruction :
         {"CREATE INDEX IF NOT EXISTS ReservationsParArrivee ON RESERVATIONS (DateDebut)",
          "CREATE INDEX IF NOT EXISTS ReservationsParDepart ON RESERVATIONS (DateFin)"}) {
        const QSqlError erreur = executer(base, QString::fromLatin1(instruction));
        if (erreur.isValid())
            return erreurMiseAJour(QStringLiteral("un index des réservations n'a pas pu être "
                                                  "créé : %1")
                                       .arg(messageBaseEnFrancais(erreur)));
    }
    return QSqlError();
}

// Version 3: a reservation's stores counted, by a trigger so that no writer can forget it.
QSqlError versLaVersion3(const QSqlDatabase &base)
{
    QSqlError erreur;
    if (!aLaColonne(base, QStringLiteral("RESERVATIONS"), QStringLiteral("version")))
        erreur = executer(base,
                          QStringLiteral("ALTER TABLE RESERVATIONS ADD COLUMN version "
                                         "INTEGER NOT NULL DEFAULT 0"));
    if (!erreur.isValid())
        erreur = executer(base,
                          QStringLiteral("CREATE TRIGGER IF NOT EXISTS ReservationsVersion AFTER "
                                         "UPDATE ON RESERVATIONS WHEN NEW.version IS OLD.version "
                                         "BEGIN UPDATE RESERVATIONS SET version = OLD.version + 1 "
                                         "WHERE NumeroReservation = NEW.NumeroReservation; END"));
    if (erreur.isValid())
        return erreurMiseAJour(QStringLiteral("le suivi des modifications des réservations n'a "
                                              "pas pu être ajouté : %1")
                                   .arg(messageBaseEnFrancais(erreur)));
    return QSqlError();
}

// Version 4: the journal's chain, its rows so far chained once in the order they were written.
QSqlError versLaVersion4(const QSqlDatabase &base)
{
    const bool serveur = base.driverName() == QLatin1String("QPSQL");
    QSqlError erreur;
    for (const char *colonne : {"sequence BIGINT NULL", "empreinte TEXT NULL"}) {
        const QString definition = QString::fromLatin1(colonne);
        if (erreur.isValid())
            break;
        if (serveur)
            erreur = executer(base,
                              QStringLiteral("ALTER TABLE OPERATIONS ADD COLUMN IF NOT "
                                             "EXISTS ")
                                  + definition);
        else if (!aLaColonne(base, QStringLiteral("OPERATIONS"), definition.section(u' ', 0, 0)))
            erreur
                = executer(base, QStringLiteral("ALTER TABLE OPERATIONS ADD COLUMN ") + definition);
    }
    if (!erreur.isValid())
        erreur = executer(base,
                          QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS "
                                         "OperationsParSequence ON OPERATIONS (sequence)"));
    if (!erreur.isValid())
        erreur = ChaineJournal::chainerLesLignesNonChainees(base);
    if (erreur.isValid())
        return erreurMiseAJour(QStringLiteral("le journal n'a pas pu être chaîné : %1")
                                   .arg(messageBaseEnFrancais(erreur)));
    return QSqlError();
}

} // namespace

int lire(const QSqlDatabase &base)
{
    QSqlQuery requete(base);
    const QString texte = base.driverName() == QLatin1String("QPSQL")
        ? QStringLiteral("SELECT max(version) FROM razarivu_version")
        : QStringLiteral("PRAGMA user_version");
    if (!requete.exec(texte) || !requete.next() || requete.value(0).isNull())
        return -1;
    return requete.value(0).toInt();
}

QSqlError mettreAJour(const QSqlDatabase &base)
{
    const int version = lire(base);
    if (version < 0)
        return erreurMiseAJour(QStringLiteral("la version de la base de données est illisible."));
    if (version == Courante)
        return QSqlError();
    if (version > Courante) {
        return erreurMiseAJour(
            QStringLiteral("cette base de données vient d'une version plus récente du programme "
                           "(version %1 du schéma, celle-ci connaît la version %2) : mettez "
                           "Razarivu à jour avant de l'ouvrir.")
                .arg(version)
                .arg(Courante));
    }

    // The first tables made on a server were already of version 3.
    const bool serveur = base.driverName() == QLatin1String("QPSQL");
    if (serveur && version < 3)
        return erreurMiseAJour(QStringLiteral("cette base PostgreSQL est d'une version du schéma "
                                              "que ce programme ne sait pas mettre à jour (%1).")
                                   .arg(version));
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return erreurMiseAJour(messageBaseEnFrancais(transaction.erreur()));
    QSqlError erreur;
    if (version < 1)
        erreur = versLaVersion1(base);
    if (!erreur.isValid() && version < 2)
        erreur = versLaVersion2(base);
    if (!erreur.isValid() && version < 3)
        erreur = versLaVersion3(base);
    if (!erreur.isValid() && version < 4)
        erreur = versLaVersion4(base);
    if (!erreur.isValid() && version < 5) {
        erreur = creerTablesDesComptes(base);
        if (erreur.isValid())
            erreur = erreurMiseAJour(QStringLiteral("les tables des tarifs et des factures n'ont "
                                                    "pas pu être ajoutées : %1")
                                         .arg(messageBaseEnFrancais(erreur)));
    }
    if (!erreur.isValid())
        erreur = executer(
            base,
            serveur ? QStringLiteral("UPDATE razarivu_version SET version = %1").arg(Courante)
                    : QStringLiteral("PRAGMA user_version = %1").arg(Courante));
    if (!erreur.isValid())
        erreur = transaction.valider();
    // The columns read so far are those of the old tables.
    oublierSchema(base.connectionName());
    Recordset::oublierRequetes(base.connectionName());
    return erreur.isValid() ? erreurMiseAJour(messageBaseEnFrancais(erreur)) : QSqlError();
}

} // namespace VersionSchema

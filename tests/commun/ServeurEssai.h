#pragma once

#include "data/AdresseBase.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

// The PostgreSQL server the tests start for themselves (tests/pg/serveur-pg.sh), when a test is
// run "on the server": RAZARIVU_PG_DOSSIER names the cluster's folder, whose file "adresse" holds
// the address of its maintenance base. Each test base is a database of its own, made empty and
// dropped at the end.
namespace ServeurEssai {

inline QString dossier()
{
    return qEnvironmentVariable("RAZARIVU_PG_DOSSIER");
}

inline bool actif()
{
    return !dossier().isEmpty();
}

// The maintenance address, "postgresql://razarivu@127.0.0.1:port/razarivu".
inline QString adresseMaintenance()
{
    QFile fichier(dossier() + QStringLiteral("/adresse"));
    return fichier.open(QIODevice::ReadOnly) ? QString::fromUtf8(fichier.readAll()).trimmed()
                                             : QString();
}

// Runs `sql` on the maintenance base; the error, if any.
inline QString maintenance(const QString &sql)
{
    const QString connexion = QStringLiteral("essai_maintenance");
    QString erreur;
    {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connexion);
        const AdressePostgres adresse
            = lireAdressePostgres(adresseMaintenance()).value_or(AdressePostgres());
        base.setUserName(adresse.utilisateur);
        base.setHostName(adresse.hote);
        base.setPort(adresse.port);
        base.setDatabaseName(adresse.base);
        if (!base.open())
            erreur = base.lastError().text();
        else if (QSqlQuery requete(base); !requete.exec(sql))
            erreur = requete.lastError().text();
        base.close();
    }
    QSqlDatabase::removeDatabase(connexion);
    return erreur;
}

// A new empty database on the server; its address, or an empty text with `erreur` set.
inline QString nouvelleBase(QString &erreur)
{
    static int compteur = 0;
    const QString nom
        = QStringLiteral("essai_%1_%2").arg(QCoreApplication::applicationPid()).arg(++compteur);
    erreur = maintenance(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(nom));
    if (erreur.isEmpty())
        erreur = maintenance(QStringLiteral("CREATE DATABASE %1").arg(nom));
    if (!erreur.isEmpty())
        return QString();
    const QString adresse = adresseMaintenance();
    return adresse.left(adresse.lastIndexOf(u'/') + 1) + nom;
}

inline void supprimerBase(const QString &adresse)
{
    if (!adresse.isEmpty())
        maintenance(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                        .arg(adresse.mid(adresse.lastIndexOf(u'/') + 1)));
}

} // namespace ServeurEssai

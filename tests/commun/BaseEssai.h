#pragma once

#include "commun/ServeurEssai.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The first column of the first row of `sql`; an invalid value when it does not run or gives no
// row, so that a failing query never passes for a Null.
inline QVariant valeurSql(const QSqlDatabase &base, const QString &sql)
{
    QSqlQuery requete(base);
    if (!requete.exec(sql)) {
        qWarning("%s : %s", qPrintable(sql), qPrintable(requete.lastError().text()));
        return QVariant();
    }
    return requete.next() ? requete.value(0) : QVariant();
}

// A new base of our schema in a fresh temporary folder, opened as the program opens its base,
// under one connection name; for the tests of the data layer, which need no window. When the
// tests run on the server (ServeurEssai), the base is a database of its own there instead.
class BaseEssai
{
public:
    explicit BaseEssai(const QString &connexion) : m_connexion(connexion) { }
    ~BaseEssai() { fermer(); }

    // A fresh empty folder, for tests that make their own files in it.
    bool preparer()
    {
        fermer();
        m_dossier = std::make_unique<QTemporaryDir>();
        m_echec = m_dossier->isValid() ? QString() : m_dossier->errorString();
        return m_echec.isEmpty();
    }

    // The same, with "planning.mdb" created in it (the demo rows or none) and opened.
    bool ouvrir(bool demo = false)
    {
        if (!preparer())
            return false;
        if (ServeurEssai::actif()) {
            m_adresse = ServeurEssai::nouvelleBase(m_echec);
            if (m_adresse.isEmpty())
                return false;
        }
        QSqlError erreur = creerBase(chemin(), demo);
        if (!erreur.isValid())
            erreur = BaseDeDonnees::ouvrir(chemin(), m_connexion);
        m_echec = erreur.text();
        return !erreur.isValid();
    }
    // Why the last preparer() or ouvrir() failed.
    QString echec() const { return m_echec; }

    void fermer()
    {
        BaseDeDonnees::fermer(m_connexion);
        m_dossier.reset();
        ServeurEssai::supprimerBase(m_adresse);
        m_adresse.clear();
    }
    bool surServeur() const { return !m_adresse.isEmpty(); }

    QSqlDatabase base() const { return QSqlDatabase::database(m_connexion, false); }
    QString connexion() const { return m_connexion; }
    QString chemin() const
    {
        return m_adresse.isEmpty() ? fichier(QStringLiteral("planning.mdb")) : m_adresse;
    }
    QString dossier() const { return m_dossier ? m_dossier->path() : QString(); }
    // A path in the temporary folder.
    QString fichier(const QString &nom) const
    {
        return m_dossier ? m_dossier->filePath(nom) : QString();
    }

    QVariant valeur(const QString &sql) const { return valeurSql(base(), sql); }
    int nombre(const QString &table) const
    {
        const QVariant compte = valeur(QStringLiteral("SELECT count(*) FROM ") + table);
        return compte.isValid() ? compte.toInt() : -1;
    }
    bool executer(const QString &sql) const
    {
        QSqlQuery requete(base());
        if (requete.exec(sql))
            return true;
        qWarning("%s : %s", qPrintable(sql), qPrintable(requete.lastError().text()));
        return false;
    }

    // A stay stored straight into RESERVATIONS, with bound values: object 1, client "Test",
    // from 10 July 2024 14:00 to 14 July 12:00, state 2, unless `champs` says otherwise. Its
    // number, or -1.
    qint64 reserver(const QVariantMap &champs = {}) const
    {
        QVariantMap ligne {{QStringLiteral("Objet"), 1},
                           {QStringLiteral("nomclient"), QStringLiteral("Test")},
                           {QStringLiteral("DateDebut"), QStringLiteral("2024-07-10 14:00:00")},
                           {QStringLiteral("DateFin"), QStringLiteral("2024-07-14 12:00:00")},
                           {QStringLiteral("Etat"), 2}};
        for (auto champ = champs.cbegin(); champ != champs.cend(); ++champ)
            ligne.insert(champ.key(), champ.value());
        QSqlQuery requete(base());
        requete.prepare(
            QStringLiteral("INSERT INTO RESERVATIONS (%1) VALUES (%2)%3")
                .arg(ligne.keys().join(QStringLiteral(", ")),
                     QStringList(ligne.size(), QStringLiteral("?")).join(QStringLiteral(", ")),
                     surServeur() ? QStringLiteral(" RETURNING NumeroReservation") : QString()));
        for (const QVariant &valeur : std::as_const(ligne))
            requete.addBindValue(valeur);
        if (!requete.exec()) {
            qWarning("%s", qPrintable(requete.lastError().text()));
            return -1;
        }
        if (surServeur())
            return requete.next() ? requete.value(0).toLongLong() : -1;
        return requete.lastInsertId().toLongLong();
    }

private:
    QString m_connexion;
    QString m_echec;
    std::unique_ptr<QTemporaryDir> m_dossier;
    QString m_adresse; // the test's database on the server, when there is one
};

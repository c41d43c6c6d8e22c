#pragma once

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/Demarrage.h"
#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/CreationBase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A demo database in a fresh application folder, opened as the program opens it, for the windows
// under test; message boxes are answered in advance.
class BaseDemo
{
public:
    // A fresh application folder holding a new base (the demo rows, or none), the clock set to
    // 8 December 2026 at 15:45 and message boxes answered; for windows that open the base
    // themselves.
    bool preparer(bool demo = true)
    {
        m_dossier = std::make_unique<QTemporaryDir>();
        if (!m_dossier->isValid())
            return false;
        qputenv("RAZARIVU_DOSSIER", m_dossier->path().toUtf8());
        Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(15, 45)));
        BoiteMessage::repondreAutomatiquement(true);
        return !creerBase(m_dossier->filePath("Razarivu.mdb"), demo).isValid();
    }

    // The same, and the base opened in `contexte` as the program opens it.
    bool ouvrir(bool demo = true)
    {
        if (!preparer(demo))
            return false;
        contexte = std::make_unique<Contexte>();
        Demarrage::preparer(*contexte);
        return !Demarrage::ouvrirBase(*contexte).isValid();
    }

    void fermer()
    {
        contexte.reset();
        m_dossier.reset();
        BoiteMessage::repondreAutomatiquement(false);
        Horloge::fixer(QDateTime());
    }

    QVariant valeur(const QString &sql) const { return valeurSql(contexte->BasePlanning(), sql); }

    // The journal rows of one reservation, as "prix|paiement|libelle", oldest first.
    QStringList journal(int numero) const
    {
        QSqlQuery requete(contexte->BasePlanning());
        requete.exec(QStringLiteral("select prix, paiement, libelle from OPERATIONS where "
                                    "numeroreservation = %1 order by rowid")
                         .arg(numero));
        QStringList lignes;
        while (requete.next()) {
            lignes << requete.value(0).toString() + u'|' + requete.value(1).toString() + u'|'
                    + requete.value(2).toString();
        }
        return lignes;
    }

    QString dossier() const { return m_dossier ? m_dossier->path() : QString(); }

    std::unique_ptr<Contexte> contexte;

private:
    std::unique_ptr<QTemporaryDir> m_dossier;
};

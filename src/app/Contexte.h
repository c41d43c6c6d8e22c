#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <memory>

class VeilleBase;

// One reservation state as the windows use it.
struct Etat
{
    qint32 Code = 0;
    QString Intitule; // Code + " - " + Nom
    qint32 Couleur = 0; // 0x00BBGGRR
};

// What the whole run shares, created at start-up and handed to the windows. A test builds its own
// on a temporary folder.
class Contexte
{
public:
    Contexte();
    ~Contexte();
    Contexte(const Contexte &) = delete;
    Contexte &operator=(const Contexte &) = delete;

    // The single connection of the run; invalid until the start-up has opened it.
    QSqlDatabase BasePlanning() const;
    const QString &nomConnexion() const { return m_nomConnexion; }
    // What tells the windows that another desk stored something; made on first use, started
    // by the planning once the base is open.
    VeilleBase &veille();

    QString FichierINIPrincipal;
    QString cheminBase;
    QVector<Etat> ListeEtats;
    qint16 NbClignotements = 10;
    QString ChampsDansBarre;
    // Why this start's backup of the database failed, in French; empty when it did not.
    QString problemeSauvegarde;

private:
    QString m_nomConnexion;
    std::unique_ptr<VeilleBase> m_veille;
};

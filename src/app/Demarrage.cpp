#include "app/Demarrage.h"

#include "app/CheminsApplication.h"
#include "app/Contexte.h"
#include "app/Langues.h"
#include "app/ReglageEntier.h"
#include "app/Sauvegardes.h"
#include "app/ValeurINI.h"
#include "data/AdresseBase.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "data/VersionSchema.h"

#include <QFileInfo>

#include <limits>

namespace Demarrage {

int preparer(Contexte &contexte)
{
    const QString dossier = CheminsApplication::dossierApplication();
    contexte.FichierINIPrincipal = CheminsApplication::fichierINIPrincipal();
    contexte.cheminBase
        = ValeurINI("system", "database",
                    dossier + QLatin1Char('/') + QLatin1String(CheminsApplication::NomExecutable)
                        + QLatin1String(".mdb"),
                    contexte.FichierINIPrincipal, LIRE_ET_CREER);
    const Sauvegardes::Bilan bilan
        = Sauvegardes::effectuer(dossier, contexte.FichierINIPrincipal, contexte.cheminBase,
                                 CheminsApplication::fichierExecutable());
    contexte.problemeSauvegarde = bilan.probleme;
    return bilan.emplacement;
}

void lireClignotements(Contexte &contexte)
{
    // A 16-bit count: anything beyond reads as 0, which stops the blink at its first step.
    contexte.NbClignotements = qint16(
        entierDuReglage(ValeurINI("reservation", "nb clignotement", "10",
                                  contexte.FichierINIPrincipal, LIRE_ET_CREER),
                        std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

QSqlError ouvrirBase(Contexte &contexte)
{
    // A server's password may sit in the settings file, for a desk without ~/.pgpass.
    const QString motDePasse = estAdressePostgres(contexte.cheminBase)
        ? ValeurINI("system", "database motdepasse", "", contexte.FichierINIPrincipal, LIRE)
        : QString();
    return BaseDeDonnees::ouvrir(contexte.cheminBase, contexte.nomConnexion(), motDePasse);
}

QString messageEchecOuverture(const Contexte &contexte)
{
    return Traduire(QStringLiteral("Problème d'ouverture de la Base de Données : "))
        + contexte.cheminBase;
}

bool baseAbsente(const Contexte &contexte)
{
    // A server's base is made by its administrator (razarivu-creer-base), never from a desk.
    if (estAdressePostgres(contexte.cheminBase))
        return false;
    const QFileInfo fichier(contexte.cheminBase);
    return !contexte.cheminBase.isEmpty() && !fichier.exists() && !fichier.isSymLink();
}

QString questionNouvelleBase()
{
    return QStringLiteral("Aucune base de données n'existe à cet endroit. En créer une nouvelle ?");
}

QSqlError creerNouvelleBase(Contexte &contexte)
{
    const QSqlError creation = creerBaseVide(contexte.cheminBase);
    if (creation.isValid())
        return creation;
    const QSqlError ouverture = ouvrirBase(contexte);
    if (ouverture.isValid())
        return QSqlError(messageEchecOuverture(contexte) + QLatin1String("\n") + ouverture.text(),
                         QString(), QSqlError::ConnectionError);
    return QSqlError();
}

QSqlError mettreAJourBase(Contexte &contexte)
{
    const QSqlError erreur = VersionSchema::mettreAJour(contexte.BasePlanning());
    if (!erreur.isValid())
        return erreur;
    return QSqlError(QStringLiteral("La base de données %1 n'a pas pu être mise à jour pour cette "
                                    "version du programme ; elle est restée telle qu'elle "
                                    "était.\nCause : %2")
                         .arg(contexte.cheminBase, erreur.text()),
                     QString(), QSqlError::TransactionError);
}

void chargerEtats(Contexte &contexte)
{
    Recordset etats(contexte.BasePlanning(), TextesSQL::tousLesEtats);
    for (; !etats.fin(); etats.suivant()) {
        Etat etat;
        etat.Code = etats.champ("Code").toInt();
        etat.Intitule
            = QString::number(etat.Code) + QLatin1String(" - ") + etats.champ("Nom").toString();
        etat.Couleur = etats.champ("CouleurPrincipale").toInt();
        contexte.ListeEtats.append(etat);
    }
}

void lireChampsDansBarre(Contexte &contexte)
{
    contexte.ChampsDansBarre = ValeurINI("planning", "champsdansbarre", ChampsDansBarreParDefaut,
                                         contexte.FichierINIPrincipal, LIRE_ET_CREER);
}

} // namespace Demarrage

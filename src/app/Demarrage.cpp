#include "app/Demarrage.h"

#include "app/CheminsApplication.h"
#include "app/Contexte.h"
#include "app/Langues.h"
#include "app/ReglageEntier.h"
#include "app/Sauvegardes.h"
#include "app/ValeurINI.h"
#include "data/BaseDeDonnees.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

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
    return Sauvegardes::effectuer(dossier, contexte.FichierINIPrincipal, contexte.cheminBase,
                                  CheminsApplication::fichierExecutable());
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
    return BaseDeDonnees::ouvrir(contexte.cheminBase, contexte.nomConnexion());
}

QString messageEchecOuverture(const Contexte &contexte)
{
    return Traduire(QStringLiteral("Problème d'ouverture de la Base de Données : "))
        + contexte.cheminBase;
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

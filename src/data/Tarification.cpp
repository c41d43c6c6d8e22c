#include "data/Tarification.h"

#include "data/ArticlesBar.h"

#include <algorithm>
#include <cmath>

namespace Tarification {

namespace {

constexpr qint64 PrixMaximal = 10000000; // 100 000 € in cents
constexpr int TauxMaximal = 10000; // 100 %

// a / b rounded half away from zero, b > 0, in integers: no double ever holds money.
qint64 diviser(qint64 a, qint64 b)
{
    const qint64 quotient = a / b;
    const qint64 reste = a % b;
    if (2 * std::abs(reste) >= b)
        return quotient + (a < 0 ? -1 : 1);
    return quotient;
}

const Saison *saisonDe(const QVector<Saison> &saisons, const QDate &nuit)
{
    for (const Saison &saison : saisons) {
        if (saison.debut <= nuit && nuit <= saison.fin)
            return &saison;
    }
    return nullptr;
}

} // namespace

qint64 partDe(qint64 montant, int centiemes)
{
    return diviser(montant * centiemes, 10000);
}

QString refusDesSaisons(const QVector<Saison> &saisons)
{
    for (qsizetype i = 0; i < saisons.size(); ++i) {
        const Saison &saison = saisons.at(i);
        const QString nom = QStringLiteral("La saison du %1 au %2")
                                .arg(saison.debut.toString(QStringLiteral("dd/MM/yyyy")),
                                     saison.fin.toString(QStringLiteral("dd/MM/yyyy")));
        if (!saison.debut.isValid() || !saison.fin.isValid() || saison.fin < saison.debut)
            return QStringLiteral("Une saison doit avoir une date de début et une date de fin, "
                                  "la fin après le début.");
        for (const qint64 prix :
             {saison.prixNuit, saison.supplementAdulte, saison.supplementEnfant}) {
            if (prix < 0 || prix > PrixMaximal)
                return nom + QStringLiteral(" a un prix impossible (de 0 à 100 000 €).");
        }
        if (saison.tauxTva < 0 || saison.tauxTva > TauxMaximal)
            return nom + QStringLiteral(" a un taux de TVA impossible (de 0 à 100 %).");
        if (saison.personnesIncluses < 1)
            return nom + QStringLiteral(" doit comprendre au moins une personne.");
        for (qsizetype j = 0; j < i; ++j) {
            const Saison &autre = saisons.at(j);
            if (saison.debut <= autre.fin && autre.debut <= saison.fin)
                return nom
                    + QStringLiteral(" chevauche celle du %1 au %2.")
                          .arg(autre.debut.toString(QStringLiteral("dd/MM/yyyy")),
                               autre.fin.toString(QStringLiteral("dd/MM/yyyy")));
        }
    }
    return QString();
}

qint64 Loyer::total() const
{
    qint64 somme = 0;
    for (const LigneLoyer &ligne : lignes)
        somme += ligne.montant();
    return somme;
}

int Loyer::nuits() const
{
    int somme = 0;
    for (const LigneLoyer &ligne : lignes)
        somme += ligne.nuits;
    return somme;
}

Loyer loyer(const QVector<Saison> &saisons, const QDate &arrivee, const QDate &depart, int adultes,
            int enfants)
{
    Loyer resultat;
    if (!arrivee.isValid() || !depart.isValid() || depart <= arrivee) {
        resultat.refus = QStringLiteral("Les dates du séjour ne donnent aucune nuit à compter.");
        return resultat;
    }
    if (adultes < 1) {
        resultat.refus = QStringLiteral("Un séjour sans adulte ne peut pas être compté.");
        return resultat;
    }
    if (const QString refus = refusDesSaisons(saisons); !refus.isEmpty()) {
        resultat.refus = refus;
        return resultat;
    }
    for (QDate nuit = arrivee; nuit < depart; nuit = nuit.addDays(1)) {
        const Saison *saison = saisonDe(saisons, nuit);
        if (!saison) {
            resultat.lignes.clear();
            resultat.refus = QStringLiteral("La nuit du %1 n'a pas de tarif : ajoutez une saison "
                                            "qui la couvre.")
                                 .arg(nuit.toString(QStringLiteral("dd/MM/yyyy")));
            return resultat;
        }
        // The persons beyond those included: adults first, then children.
        const int adultesEnPlus = std::max(0, adultes - saison->personnesIncluses);
        const int placesRestantes = std::max(0, saison->personnesIncluses - adultes);
        const int enfantsEnPlus = std::max(0, enfants - placesRestantes);
        const qint64 prix = saison->prixNuit + adultesEnPlus * saison->supplementAdulte
            + enfantsEnPlus * saison->supplementEnfant;
        if (!resultat.lignes.isEmpty() && resultat.lignes.last().prixNuit == prix
            && resultat.lignes.last().tauxTva == saison->tauxTva
            && saisonDe(saisons, nuit.addDays(-1)) == saison) {
            ++resultat.lignes.last().nuits;
            continue;
        }
        resultat.lignes.append({nuit, 1, prix, saison->tauxTva});
    }
    return resultat;
}

QString libelleLoyer(const QString &categorie, const LigneLoyer &ligne)
{
    return QStringLiteral("%1 – %2 %3 × %4")
        .arg(categorie)
        .arg(ligne.nuits)
        .arg(ligne.nuits > 1 ? QStringLiteral("nuits") : QStringLiteral("nuit"),
             ArticlesBar::textePrix(ligne.prixNuit));
}

Taxe taxeDeSejour(const ReglageTaxe &reglage, qint64 loyerTtc, int tauxTva, int nuits, int adultes,
                  int enfants, int adultesExoneres)
{
    Taxe taxe;
    taxe.nuits = std::max(0, nuits);
    taxe.assujettis = std::clamp(adultes - adultesExoneres, 0, std::max(0, adultes));
    taxe.exoneres = std::max(0, enfants) + std::max(0, adultes) - taxe.assujettis;
    const int occupants = std::max(0, adultes) + std::max(0, enfants);
    if (taxe.nuits == 0 || occupants == 0)
        return taxe;
    if (reglage.mode == ReglageTaxe::Mode::Fixe) {
        taxe.parPersonneEtNuit = reglage.tarifFixe;
    } else {
        // The price of a night excluding VAT, shared among every occupant, then the rate.
        const qint64 nuitHorsTaxe
            = diviser(loyerTtc * 10000, qint64(taxe.nuits) * (10000 + tauxTva));
        const qint64 parPersonne = diviser(nuitHorsTaxe, occupants);
        taxe.parPersonneEtNuit = partDe(parPersonne, reglage.pourcentage);
        if (reglage.plafond > 0)
            taxe.parPersonneEtNuit = std::min(taxe.parPersonneEtNuit, reglage.plafond);
    }
    taxe.base = taxe.parPersonneEtNuit * taxe.assujettis * taxe.nuits;
    taxe.majoration = partDe(taxe.base, reglage.majoration);
    return taxe;
}

Ventilation ventiler(qint64 toutesTaxes, int tauxTva)
{
    Ventilation resultat;
    resultat.horsTaxe = diviser(toutesTaxes * 10000, 10000 + tauxTva);
    resultat.tva = toutesTaxes - resultat.horsTaxe;
    return resultat;
}

} // namespace Tarification

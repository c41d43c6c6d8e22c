#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

// What a stay costs, in whole cents: the rent night by night from the seasons of its object's
// category, the tourist tax, and the VAT of amounts that include it. Pure rules, no base.
namespace Tarification {

// `montant` × `centiemes` / 10000 (a rate in hundredths of a percent), rounded half away from
// zero, in integers: no floating point ever holds money here.
qint64 partDe(qint64 montant, int centiemes);

// A season of one category: from `debut` to `fin`, both nights included. The price of a night
// holds `personnesIncluses` persons; each adult and child beyond pays its supplement.
struct Saison
{
    QDate debut, fin;
    qint64 prixNuit = 0;
    int personnesIncluses = 2;
    qint64 supplementAdulte = 0;
    qint64 supplementEnfant = 0;
    int tauxTva = 1000; // hundredths of a percent: 1000 is 10 %
};

// Why a set of seasons cannot be used, in French (overlapping seasons, a price below zero or
// beyond 100 000 €, a VAT rate beyond 100 %); empty when they can.
QString refusDesSaisons(const QVector<Saison> &saisons);

// One line of the rent: consecutive nights of one season at one price.
struct LigneLoyer
{
    QDate premiereNuit;
    int nuits = 0;
    qint64 prixNuit = 0; // supplements included
    int tauxTva = 1000;
    qint64 montant() const { return prixNuit * nuits; }
};

struct Loyer
{
    QVector<LigneLoyer> lignes;
    QString refus; // a night without a tariff, dates that make no stay...: nothing is priced
    qint64 total() const;
    int nuits() const;
};

// The rent of the nights from `arrivee` (included) to `depart` (excluded) for those persons: a
// line per run of nights in one season. A night no season covers is said, never priced 0.
Loyer loyer(const QVector<Saison> &saisons, const QDate &arrivee, const QDate &depart, int adultes,
            int enfants);

// The text of a rent line as the "Prest." tab shows it: "Chalet – 3 nuits × 95,00 €".
QString libelleLoyer(const QString &categorie, const LigneLoyer &ligne);

// The tourist tax of the commune.
struct ReglageTaxe
{
    enum class Mode { Fixe, Pourcentage };
    Mode mode = Mode::Fixe;
    qint64 tarifFixe = 0; // per adult and night, the commune's tariff for the establishment's class
    int pourcentage = 500; // of the price per person and night excluding VAT (100 to 500: 1 to 5 %)
    qint64 plafond = 0; // the most per person and night in percentage mode; 0: none
    int majoration = 0; // the departmental surcharge, in hundredths of a percent (1000: 10 %)
};

struct Taxe
{
    qint64 parPersonneEtNuit = 0; // before the surcharge
    int assujettis = 0; // adults not declared exempt
    int exoneres = 0; // children and the adults declared exempt
    int nuits = 0;
    qint64 base = 0; // parPersonneEtNuit × assujettis × nuits
    qint64 majoration = 0;
    qint64 total() const { return base + majoration; }
};

// The tax of a stay: `loyerTtc` is the rent for all its nights, VAT at `tauxTva` included; every
// occupant counts for the price per person, only adults not declared exempt pay.
Taxe taxeDeSejour(const ReglageTaxe &reglage, qint64 loyerTtc, int tauxTva, int nuits, int adultes,
                  int enfants, int adultesExoneres);

// An amount that includes its VAT, split.
struct Ventilation
{
    qint64 horsTaxe = 0;
    qint64 tva = 0;
};
Ventilation ventiler(qint64 toutesTaxes, int tauxTva);

} // namespace Tarification

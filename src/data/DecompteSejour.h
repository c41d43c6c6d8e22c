#pragma once

#include "data/TarifsEtablissement.h"
#include "documents/Facture.h"

#include <QSqlDatabase>
#include <QSqlError>

// What a stay costs, line by line, as the "Prest." tab shows it, the account receives it and the
// invoice prints it: the rent per run of one season's nights, each service chosen, the tourist
// tax. All VAT included, in whole cents.
namespace DecompteSejour {

struct Sejour
{
    QString categorie; // the object's category: its seasons price the rent
    QDate arrivee, depart; // nights from arrivee (included) to depart (excluded)
    int adultes = 0, enfants = 0;
    int adultesExoneres = 0;
    QVector<TarifsEtablissement::Choix> choix;
};

struct Decompte
{
    QVector<LigneFacture> lignes;
    QString refus; // why nothing could be priced (a night without a tariff...): no line then
    Tarification::Taxe taxe;
    qint64 total() const;
};

// The tax line's text: "Taxe de séjour – 2 adultes × 3 nuits".
QString libelleTaxe(const Tarification::Taxe &taxe);
// "Électricité – 3 nuits × 4,50 €", "Ménage – 1 × 40,00 €", "Petit-déjeuner – 4 pers. × 3 nuits
// × 8,00 €"
QString libellePrestation(const TarifsEtablissement::Prestation &prestation, int quantite,
                          int nuits);

Decompte calculer(const Sejour &sejour, const QVector<Tarification::Saison> &saisons,
                  const QVector<TarifsEtablissement::Prestation> &catalogue,
                  const Tarification::ReglageTaxe &reglage);

// "La réservation 12 n'est plus dans la base.": a stay read by its number and not found.
QSqlError sejourDisparu(int reservation);

// The stay `reservation` as stored: its object's category, dates, persons, services and exempt
// adults. The error says in French when the stay is not in the base.
QSqlError lireSejour(const QSqlDatabase &base, int reservation, Sejour &sejour);

// The seasons of the stay's category and the catalogue from the base, then calculer: the stay may
// be as the dialog holds it, not yet stored.
QSqlError calculerDepuisLaBase(const QSqlDatabase &base, const Sejour &sejour,
                               const Tarification::ReglageTaxe &reglage, Decompte &decompte);

} // namespace DecompteSejour

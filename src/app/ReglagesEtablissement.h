#pragma once

#include "data/Tarification.h"

#include <QString>
#include <QStringList>

// Who the establishment is, as its invoices and contracts say it, and how the commune's tourist
// tax is reckoned: section [etablissement] of the settings file.
struct Etablissement
{
    QString nom;
    QString adresse;
    QString codePostal;
    QString ville;
    QString telephone;
    QString email;
    QString siret;
    QString numeroTva;
    QString mentions; // the invoice's legal mentions (several lines)
    QString conditions; // the contract's conditions (several lines)
    Tarification::ReglageTaxe taxe;

    // What an invoice cannot go without and is not filled in, in French ("le nom", "l'adresse",
    // ...); empty when nothing lacks.
    QStringList manquePourFacturer() const;
};

namespace ReglagesEtablissement {

// Keys of [etablissement]. Texts of several lines are kept on one line, their line breaks
// written "\n" (a carriage return "\r", a backslash "\\"). Amounts are money text ("0,88" is 88
// cents); rates are percent text ("5" is 5 %, "5,5" is 5.5 %). A value that cannot be read gives
// the default.
Etablissement lire();
void ecrire(const Etablissement &etablissement);

// The longest value the settings file gives back whole (the read buffer of its format).
inline constexpr int LongueurMaximale = 589;
// The invoice's mentions and the contract's conditions run over several keys ("conditions",
// "conditions2", "conditions3"...), each shorter than LongueurMaximale, up to this length.
inline constexpr int LongueurTexteLong = 12000;

// How long the one-line form of that field may be.
int longueurPermise(QString Etablissement::*champ);

// Why `etablissement` cannot be stored as it is, in French; empty when it can: a tax
// percentage beyond 1 to 5 %, a surcharge beyond 100 %, a text whose one-line form is longer
// than longueurPermise (it would come back cut).
QString refus(const Etablissement &etablissement);

// The one-line form of a text of several lines, and back: any text comes back as it was. A
// backslash before anything but "n", "r" or a backslash is kept as it stands.
QString enUneLigne(const QString &texte);
QString depuisUneLigne(const QString &ligne);

} // namespace ReglagesEtablissement

#pragma once

#include "documents/PdfContrat.h"

// The stay the documents' tests print: two VAT rates, the tourist tax, two payments.
inline Etablissement etablissementExemple()
{
    return {QStringLiteral("Camping Les Églantiers"),
            QStringLiteral("12, chemin des Écureuils"),
            QStringLiteral("40150"),
            QStringLiteral("Hossegor"),
            QStringLiteral("05 58 00 00 00"),
            QStringLiteral("accueil@eglantiers.fr"),
            QStringLiteral("123 456 789 00012"),
            QStringLiteral("FR12 123456789"),
            QStringLiteral("Pas d'escompte.\nIndemnité de recouvrement : 40 €."),
            QStringLiteral("Les arrhes ne sont pas remboursées.\nAnimaux acceptés."),
            {Tarification::ReglageTaxe::Mode::Pourcentage, 88, 300, 420, 1000}};
}

inline DocumentFacture factureExemple()
{
    DocumentFacture d;
    d.numero = QStringLiteral("2026-0001");
    d.date = QDate(2026, 12, 10);
    d.etablissement = etablissementExemple();
    d.reservation = 12;
    d.client = QStringLiteral("Mme Françoise Dupré");
    d.objet = QStringLiteral("12 : Chalet Les Pins");
    d.arrivee = QDate(2026, 7, 1);
    d.depart = QDate(2026, 7, 4);
    d.adultes = 2;
    d.enfants = 2;
    d.lignes = {{QStringLiteral("Petit-déjeuner"), 1200, 2000, false},
                {QStringLiteral("Chalet – 3 nuits × 110,00 €"), 33000, 1000, false},
                {QStringLiteral("Taxe de séjour"), 825, 0, true}};
    d.paiements = {{QDate(2026, 6, 1), QStringLiteral("Arrhes (chèque)"), 10000},
                   {QDate(2026, 7, 4), QStringLiteral("Carte bancaire"), 5000}};
    return d;
}

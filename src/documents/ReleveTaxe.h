#pragma once

#include "app/ReglagesEtablissement.h"
#include "documents/MiseEnPage.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

// The month's statement of the tourist tax the establishment collected, for the commune.
struct LigneReleve
{
    int reservation = 0;
    QString client;
    QDate arrivee, depart;
    int nuits = 0;
    int assujettis = 0;
    int exoneres = 0;
    qint64 tarif = 0; // per person and night, cents, the surcharge excluded
    qint64 montant = 0; // cents, the surcharge included
};

struct Releve
{
    Etablissement etablissement;
    QDate mois; // its first day
    QVector<LigneReleve> lignes;

    qint64 nuiteesAssujetties() const; // nights × persons who pay
    qint64 nuiteesExonerees() const;
    qint64 total() const;
};

// "Taxe de séjour – décembre 2026"
QString titreReleve(const Releve &releve);
MiseEnPage::Document miseEnPageReleve(const Releve &releve);

// Empty when written, or the French sentence of the failure; nothing is left of a refused write.
QString ecrireRelevePdf(const Releve &releve, const QString &chemin);

// For a spreadsheet: UTF-8 with its mark, ";" between fields, CRLF, French dates and amounts
// ("1,25", no currency sign), a last "Total" row with the nights of persons and the amount.
QByteArray releveCsv(const Releve &releve);

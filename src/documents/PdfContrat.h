#pragma once

#include "documents/Facture.h"
#include "documents/MiseEnPage.h"

#include <QDateTime>
#include <QString>

// The booking contract the guest signs: the stay, its price and the deposit asked.
struct Contrat
{
    Etablissement etablissement;
    int reservation = 0;
    QString client, telephone, email, objet;
    QDateTime arrivee, depart;
    int adultes = 0, enfants = 0;
    QVector<LigneFacture> lignes; // the rent, the services, the tax
    qint64 arrhes = 0; // cents
    QDate datelimite; // by when the deposit is due; null: not said
    QDate date; // of the contract

    qint64 prixTotal() const;
};

MiseEnPage::Document miseEnPageContrat(const Contrat &contrat);

// Empty when written, or the French sentence of the failure; nothing is left of a refused write.
QString ecrireContratPdf(const Contrat &contrat, const QString &chemin);

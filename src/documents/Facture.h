#pragma once

#include "app/ReglagesEtablissement.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

// An invoice or a credit note as the guest gets it: what is stored in FACTURES.contenu when it
// is issued, and what its PDF is made from, so printing it again gives the same paper. Money in
// whole cents, VAT included in every price; VAT rates in hundredths of a percent.
struct LigneFacture
{
    QString libelle;
    qint64 montant = 0; // VAT included; negative on a credit note
    int tauxTva = 1000;
    bool horsTva = false; // the tourist tax: outside the VAT base
};

struct PaiementFacture
{
    QDate date;
    QString libelle;
    qint64 montant = 0;
};

// The VAT of one rate: derived once from the sum of the lines of that rate, VAT included.
struct TotalTaux
{
    int tauxTva = 0;
    qint64 horsTaxe = 0;
    qint64 tva = 0;
    qint64 toutesTaxes = 0;
};

struct DocumentFacture
{
    static inline const QString Facture = QStringLiteral("Facture");
    static inline const QString Avoir = QStringLiteral("Avoir");

    QString numero; // "2026-0001"; empty in a preview
    QString nature = Facture;
    QString reference; // a credit note: the number of the invoice it corrects
    QDate date;
    Etablissement etablissement;
    int reservation = 0;
    QString client;
    QString objet; // "12 : Chalet Les Pins"
    QDate arrivee, depart;
    int adultes = 0, enfants = 0;
    QVector<LigneFacture> lignes;
    QVector<PaiementFacture> paiements;

    // By rate, lowest first; the tax lines are not in it.
    QVector<TotalTaux> parTaux() const;
    qint64 totalHorsTaxe() const;
    qint64 totalTva() const;
    qint64 horsChampTva() const; // the tax lines
    qint64 totalToutesTaxes() const; // every line, the tax included
    qint64 paye() const;
    qint64 solde() const; // totalToutesTaxes() - paye(): what the guest still owes

    // The credit note that cancels this invoice: every line negated, no payment, referring to it.
    DocumentFacture avoir() const;
};

// The stored form (compact JSON, UTF-8) and back; nothing when the text is not one of ours.
QByteArray versJson(const DocumentFacture &document);
std::optional<DocumentFacture> depuisJson(const QByteArray &json);

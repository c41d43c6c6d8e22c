#pragma once

#include "documents/Facture.h"

#include <QSqlDatabase>
#include <QSqlError>

// Invoices and credit notes of a stay: made from what it costs, its bar sales and its payments,
// numbered in one unbroken series a year ("2026-0001"), stored as issued (FACTURES) and written
// as PDF into a folder.
namespace Facturation {

// "2026-0001"
QString numero(int annee, int rang);

// The invoice the stay would get now, not numbered: its lines (rent, services, tax, bar sales)
// and payments. `refus` says in French why it cannot be priced (a night without a tariff...).
QSqlError preparer(const QSqlDatabase &base, int reservation, const Etablissement &etablissement,
                   DocumentFacture &document, QString &refus);

struct Emise
{
    QString numero;
    QString nature;
    QString reference;
    QDate date;
    qint64 totalToutesTaxes = 0;
};

// The stay's invoices and credit notes, in the order they were issued.
QSqlError lireEmises(const QSqlDatabase &base, int reservation, QVector<Emise> &emises);
// An issued document as it was issued.
QSqlError lireDocument(const QSqlDatabase &base, const QString &numero, DocumentFacture &document);

// `dossier`/`numero`.pdf
QString cheminPdf(const QString &dossier, const QString &numero);

// Numbers `document` (the next of today's year) and dates it, stores it with a history note,
// and writes its PDF into `dossier`, all or nothing: a PDF that cannot be written leaves no
// number used, a store refused leaves no PDF. `chemin` receives the PDF's path.
QSqlError emettre(const QSqlDatabase &base, DocumentFacture &document, const QString &dossier,
                  QString &chemin);

// The credit note cancelling the invoice `facture`, issued as emettre() does. An invoice is
// cancelled once: a second credit note is refused in French.
QSqlError emettreAvoir(const QSqlDatabase &base, const QString &facture, const QString &dossier,
                       DocumentFacture &avoir, QString &chemin);

} // namespace Facturation

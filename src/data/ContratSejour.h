#pragma once

#include "documents/PdfContrat.h"

#include <QSqlDatabase>
#include <QSqlError>

// The booking contract of a stored stay: its row as stored, its price as the "Prest." tab counts
// it, and the establishment. Written to "Contrats/Contrat-<number>.pdf" in the application folder.
namespace ContratSejour {

// `prixRefuse` says in French why the price could not be counted (the contract then goes
// without its price lines).
QSqlError preparer(const QSqlDatabase &base, int reservation, const Etablissement &etablissement,
                   Contrat &contrat, QString &prixRefuse);

// "Contrat-12.pdf"
QString nomFichier(int reservation);

// The mail that carries it.
QString sujet(const Contrat &contrat);
QString corps(const Contrat &contrat);

} // namespace ContratSejour

#pragma once

#include "documents/Facture.h"
#include "documents/MiseEnPage.h"

#include <QString>

// The invoice or credit note as the guest gets it.
MiseEnPage::Document miseEnPageFacture(const DocumentFacture &document);

// Empty when written, or the French sentence of the failure; nothing is left of a refused write.
QString ecrireFacturePdf(const DocumentFacture &document, const QString &chemin);

// The same content as lines of text, for the preview of the stay's invoice tab.
QString texteFacture(const DocumentFacture &document);

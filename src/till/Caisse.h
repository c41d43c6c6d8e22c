#pragma once

#include <QString>

#include <optional>

// The till's arithmetic and texts, without a window: quantities, price texts, the lines of a
// sale and the amounts a payment may take.
namespace Caisse {

// What a sale or a payment refuses, in words the desk reads.
inline constexpr char QuantiteRefusee[]
    = "La quantité doit être un nombre entier entre -32768 et 32767.";
inline constexpr char MontantRefuse[]
    = "Ce montant est trop grand : il doit rester sous 10 000 000 000 000.";

// The price of an article as its button keeps it: a decimal comma, every digit that tells
// (2.5 gives "2,5"). Read back by prixDuTexte to the same number.
QString texteDuPrix(double prix);
double prixDuTexte(const QString &texte);

// The quantity of a sale from the display's text: its numeric value (a comma ends the number),
// rounded to the nearest whole number, halves to the even one. Nothing when it falls outside
// -32768..32767 or is no number at all (an infinity).
std::optional<qint16> quantite(const QString &afficheur);

// Whether an amount may enter the journal and the money picture: finite and under 10^13.
bool montantAcceptable(double montant);

// "3 x 2,5 = 7,50 €": the receipt line of a sale.
QString ligneDeVente(qint16 quantite, const QString &prixTexte, double montant);
// "BAR Café crème\r\n3 x 2,5": the journal label of a sale.
QString libelleDeVente(const QString &nom, qint16 quantite, const QString &prixTexte);

// The amount of a payment: every comma a decimal point, blanks skipped, the leading number;
// a text without one gives 0. Nothing when the amount is not acceptable.
std::optional<double> montantEncaisse(const QString &texte);

} // namespace Caisse

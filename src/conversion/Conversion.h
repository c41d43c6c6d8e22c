#pragma once

#include <QString>
#include <QVariant>

// Small stateless routines shared by every window. Values the callers pass around untyped
// are QVariant: an invalid QVariant is "empty" (never assigned), a null one is the database's
// Null.
namespace Conversion {

// Replaces every occurrence of `cherche` (letter case ignored) by `remplace`; the replacement
// itself is never searched again. An empty `cherche` returns the text unchanged.
QString Remplacer(const QString &texte, const QString &cherche, const QString &remplace);

// The folder of a path with its final separator ("/", "\" or ":"), or empty.
QString ExtraireChemin(const QString &chemin);

// `siVrai` when the condition is true, `siFaux` when false or Null; a condition that cannot be
// read as a Boolean gives `siVrai`.
QVariant SiAlorsSinon(const QVariant &condition, const QVariant &siVrai, const QVariant &siFaux);

// Edges count as inside.
bool PointDansRectangle(float x, float y, float gauche, float haut, float droite, float bas);

// Numbers compare numerically, texts as texts.
QVariant Maximum(const QVariant &a, const QVariant &b);
QVariant Minimum(const QVariant &a, const QVariant &b);

// Type code of the database's money fields.
inline constexpr int TypeMonetaire = 5;

// Money text for type 5, SansNull(valeur) otherwise.
QVariant FormaterChamp(int type, const QVariant &valeur);

// "Janvier" ... "Décembre"; empty outside 1 to 12.
QString NomDuMois(qint16 mois);

// Exact, case-sensitive; an invalid QVariant (empty) when no name matches.
QVariant NumeroDuMois(const QString &nom);

// Null becomes an empty text; anything else is returned unchanged.
QVariant SansNull(const QVariant &valeur);

// Field `n` (from 1) of `texte` cut at each `separateur`; empty when there is no such field.
QString ExtraireChamp(const QString &texte, const QString &separateur, qint16 n);

// Replaces the characters that cannot stand in a file name by "_".
QString NettoyerNom(const QString &texte);

// The longest leading number of the text, blanks, tabs and line feeds ignored (a carriage
// return ends it), "." as the only decimal separator; 0 when the text does not start with a
// number.
// A number beyond the range of a double gives an infinity of its sign.
double ValeurNumerique(const QString &texte);

// "1 234,50 €": two decimals rounded half away from zero, groups of three digits separated by
// one plain blank (digits beyond the twelfth stay glued to the first group), the minus sign
// before the digits and never on a zero amount. No number or an infinity gives "0,00 €".
QString FormatMonetaire(double valeur);

} // namespace Conversion

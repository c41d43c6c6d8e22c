#include "till/Caisse.h"

#include "conversion/Conversion.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace Caisse {

namespace {
constexpr double Plafond = 1e13; // 13 digits before the decimals in the money picture
}

QString texteDuPrix(double prix)
{
    return QString::number(prix, 'g', QLocale::FloatingPointShortest).replace(u'.', u',');
}

double prixDuTexte(const QString &texte)
{
    return Conversion::ValeurNumerique(
        Conversion::Remplacer(texte, QStringLiteral(","), QStringLiteral(".")));
}

std::optional<qint16> quantite(const QString &afficheur)
{
    const double arrondie = std::nearbyint(Conversion::ValeurNumerique(afficheur));
    if (!std::isfinite(arrondie) || arrondie < std::numeric_limits<qint16>::min()
        || arrondie > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(arrondie);
}

bool montantAcceptable(double montant)
{
    return std::isfinite(montant) && std::fabs(montant) < Plafond;
}

QString ligneDeVente(qint16 quantite, const QString &prixTexte, double montant)
{
    return QString::number(quantite) + QStringLiteral(" x ") + prixTexte + QStringLiteral(" = ")
        + Conversion::FormatMonetaire(montant);
}

QString libelleDeVente(const QString &nom, qint16 quantite, const QString &prixTexte)
{
    return QStringLiteral("BAR ") + nom + QStringLiteral("\r\n") + QString::number(quantite)
        + QStringLiteral(" x ") + prixTexte;
}

std::optional<double> montantEncaisse(const QString &texte)
{
    const double montant = prixDuTexte(texte);
    if (!montantAcceptable(montant))
        return std::nullopt;
    return montant;
}

} // namespace Caisse

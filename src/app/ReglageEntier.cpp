#include "app/ReglageEntier.h"

#include "conversion/Conversion.h"

#include <cmath>

qint64 entierDuReglage(const QString &texte, qint64 minimum, qint64 maximum)
{
    const double valeur = std::nearbyint(Conversion::ValeurNumerique(texte));
    if (!std::isfinite(valeur) || valeur < double(minimum) || valeur > double(maximum))
        return 0;
    return qint64(valeur);
}

#include "planning/Navigation.h"

#include <QRegularExpression>

namespace Navigation {

std::optional<QDate> dateJourMoisAnnee(const QString &jour, const QString &mois,
                                       const QString &annee)
{
    static const QRegularExpression nombre(QStringLiteral(R"(^\s*\d{1,4}\s*$)"));
    if (!nombre.match(jour).hasMatch() || !nombre.match(mois).hasMatch()
        || !nombre.match(annee).hasMatch())
        return std::nullopt;
    const QDate date(annee.trimmed().toInt(), mois.trimmed().toInt(), jour.trimmed().toInt());
    if (!date.isValid() || date.year() < 100)
        return std::nullopt;
    return date;
}

int joursDePanoramique(int ecart, int largeurjour)
{
    if (largeurjour <= 0)
        return 0;
    // Integer division truncates towards zero; the pan wants the floor.
    int jours = ecart / largeurjour;
    if (ecart % largeurjour != 0 && ecart < 0)
        --jours;
    return jours;
}

} // namespace Navigation

#include "data/NumeroReservation.h"

#include "data/Recordset.h"
#include "data/TextesSQL.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The column "a" of a maximum text: 0 for an empty table (Null).
QSqlError plusGrandNumero(const QSqlDatabase &base, const char *texte, double &plusGrand)
{
    Recordset maximum(base, QString::fromLatin1(texte));
    if (maximum.erreur().isValid())
        return maximum.erreur();
    const double lu = maximum.fin() ? 0 : maximum.champ(QStringLiteral("a")).toDouble();
    plusGrand = std::isfinite(lu) ? std::max(plusGrand, lu) : plusGrand;
    return QSqlError();
}

} // namespace

QSqlError numeroDeLaNouvelleReservation(const QSqlDatabase &base, qint32 &numero)
{
    double plusGrand = 0;
    for (const char *texte : {TextesSQL::maximumNumero, TextesSQL::maximumNumeroDuJournal}) {
        if (const QSqlError erreur = plusGrandNumero(base, texte, plusGrand); erreur.isValid())
            return erreur;
    }
    // A journal row may carry a fraction (its writers pass a floating-point number): the next
    // whole number after it is free.
    const double suivant = std::floor(plusGrand) + 1;
    if (suivant > std::numeric_limits<qint32>::max()) {
        return QSqlError(QStringLiteral("Plus aucun numéro de réservation n'est libre."), QString(),
                         QSqlError::StatementError);
    }
    numero = qint32(suivant);
    return QSqlError();
}

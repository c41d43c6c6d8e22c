#include "data/ValeursChamps.h"

#include "data/BaseDeDonnees.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace {

QDateTime dateDeLaValeur(const QVariant &valeur)
{
    switch (valeur.typeId()) {
    case QMetaType::QDateTime:
        return valeur.toDateTime();
    case QMetaType::QDate:
        return valeur.toDate().startOfDay();
    case QMetaType::QString: {
        const QString texte = valeur.toString().trimmed();
        const QDateTime iso = BaseDeDonnees::dateDepuisTexte(texte);
        return iso.isValid() ? iso : BaseDeDonnees::dateAvecBarres(texte, false);
    }
    default:
        return QDateTime();
    }
}

// A number as Jet takes it: numbers, Booleans, and texts written with "." as decimal point.
bool nombreDeLaValeur(const QVariant &valeur, double *nombre)
{
    bool lu = false;
    switch (valeur.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return false;
    case QMetaType::QString:
        *nombre = valeur.toString().trimmed().toDouble(&lu);
        break;
    case QMetaType::Bool:
        *nombre = valeur.toBool() ? 1 : 0;
        lu = true;
        break;
    default:
        *nombre = valeur.toDouble(&lu);
    }
    return lu && std::isfinite(*nombre);
}

} // namespace

QVariant valeurPourColonne(GenreColonne genre, const QVariant &valeur, QString *refus)
{
    const auto refuser = [&](const QString &raison) {
        *refus = raison;
        return QVariant();
    };
    if (!valeur.isValid() || valeur.isNull())
        return QVariant();

    double nombre = 0;
    switch (genre) {
    case GenreColonne::Date: {
        const QDateTime moment = dateDeLaValeur(valeur);
        if (!moment.isValid())
            return refuser(QStringLiteral("attend une date"));
        return BaseDeDonnees::texteDate(moment);
    }
    case GenreColonne::Booleen: {
        const QString texte = valeur.toString().trimmed().toLower();
        if (texte == QLatin1String("true") || texte == QLatin1String("vrai"))
            return qint64(1);
        if (texte == QLatin1String("false") || texte == QLatin1String("faux"))
            return qint64(0);
        if (!nombreDeLaValeur(valeur, &nombre))
            return refuser(QStringLiteral("attend Vrai ou Faux"));
        return qint64(nombre != 0 ? 1 : 0);
    }
    case GenreColonne::Entier16:
    case GenreColonne::Entier32:
    case GenreColonne::Entier64: {
        if (!nombreDeLaValeur(valeur, &nombre))
            return refuser(QStringLiteral("attend un nombre"));
        nombre = std::nearbyint(nombre); // halves to even, as Jet rounds
        double minimum = -9223372036854775808.0; // -2^63, exact as a double
        double maximum = 9223372036854775807.0;
        if (genre == GenreColonne::Entier16) {
            minimum = std::numeric_limits<qint16>::min();
            maximum = std::numeric_limits<qint16>::max();
        } else if (genre == GenreColonne::Entier32) {
            minimum = std::numeric_limits<qint32>::min();
            maximum = std::numeric_limits<qint32>::max();
        }
        if (nombre < minimum || nombre > maximum || nombre >= 9223372036854775807.0)
            return refuser(QStringLiteral("reçoit un nombre hors de ses limites"));
        return qint64(nombre);
    }
    case GenreColonne::Reel:
        if (!nombreDeLaValeur(valeur, &nombre))
            return refuser(QStringLiteral("attend un nombre"));
        return nombre;
    case GenreColonne::Texte:
        if (valeur.typeId() == QMetaType::QDateTime)
            return BaseDeDonnees::texteDate(valeur.toDateTime());
        if (!valeur.canConvert<QString>())
            return refuser(QStringLiteral("attend un texte"));
        return valeur.toString();
    case GenreColonne::Autre:
        break;
    }
    return valeur;
}

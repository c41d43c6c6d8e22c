#include "reservations/SaisieReservation.h"

#include "data/BaseDeDonnees.h"
#include "till/Caisse.h"

#include <QLocale>

#include <cmath>

namespace SaisieReservation {

QString messageDeValidation(const QString &heuredebut, const QString &heurefin,
                            const QString &datedebut, const QString &datefin)
{
    QString message;
    if (heuredebut.isEmpty())
        message = QStringLiteral("Veuillez indiquer une heure de début de séjour");
    if (heurefin.isEmpty())
        message = QStringLiteral("Veuillez indiquer une heure de fin de séjour");
    const QDateTime debut = dateSaisie(datedebut);
    const QDateTime fin = dateSaisie(datefin);
    if (!debut.isValid() || !fin.isValid() || fin.date() < debut.date())
        message = QStringLiteral("La date de fin DOIT être postérieure à la date de début");
    return message;
}

QString nomClientParDefaut(const QString &etat)
{
    const qsizetype tiret = etat.indexOf(u'-');
    return etat.mid(tiret >= 0 ? tiret + 2 : 1);
}

QDateTime dateSaisie(const QString &texte)
{
    return BaseDeDonnees::dateAvecBarres(texte, false);
}

std::optional<QString> nombreDeNuits(const QString &datedebut, const QString &datefin)
{
    const QDateTime debut = dateSaisie(datedebut);
    const QDateTime fin = dateSaisie(datefin);
    if (!debut.isValid() || !fin.isValid())
        return std::nullopt;
    // Counted on the calendar and the clock, so a night across a change of summer time is
    // still one night.
    const double jours = double(debut.date().daysTo(fin.date()))
        + (fin.time().msecsSinceStartOfDay() - debut.time().msecsSinceStartOfDay()) / 86400000.0;
    if (jours == std::floor(jours))
        return QString::number(qint64(jours));
    return QString::number(jours, 'g', 15).replace(u'.', u',');
}

std::optional<double> arrhesSaisies(const QString &texte)
{
    // Read as the till reads a price or a payment: commas are decimal points.
    const double valeur = Caisse::prixDuTexte(texte);
    if (!std::isfinite(valeur))
        return std::nullopt;
    return valeur;
}

QString texteArrhes(double arrhes)
{
    // The shortest text that reads back as the same number ("12.5", "0.1", "1e+308").
    return QString::number(arrhes, 'g', QLocale::FloatingPointShortest);
}

} // namespace SaisieReservation

#include "planning/InfoBulle.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace {

QString moment(const QDateTime &date)
{
    // "mer. 09/12/2026 14:00": the weekday matters at the desk more than the year.
    return QLocale(QLocale::French, QLocale::France)
        .toString(date, QStringLiteral("ddd dd/MM/yyyy HH:mm"));
}

QString compte(int nombre, const char *singulier, const char *pluriel)
{
    return QString::number(nombre) + u' '
        + QLatin1String(std::abs(nombre) > 1 ? pluriel : singulier);
}

// A deposit read as a double, shown in whole cents.
QString montant(double valeur)
{
    const qint64 centimes = qRound64(valeur * 100);
    const QLocale francais(QLocale::French, QLocale::France);
    return francais.toString(double(centimes) / 100, 'f', 2) + QStringLiteral(" €");
}

} // namespace

QString texteInfobulle(const ReservationAffichee &barre, const QString &nomObjet)
{
    QStringList lignes;
    lignes << barre.nomclient.trimmed();
    if (!nomObjet.isEmpty())
        lignes << nomObjet;
    if (barre.DateDebut.isValid())
        lignes << QStringLiteral("Arrivée : ") + moment(barre.DateDebut);
    if (barre.DateFin.isValid())
        lignes << QStringLiteral("Départ : ") + moment(barre.DateFin);
    QStringList sejour;
    if (barre.DateDebut.isValid() && barre.DateFin.isValid())
        sejour << compte(int(barre.DateDebut.date().daysTo(barre.DateFin.date())), "nuit", "nuits");
    sejour << compte(barre.nbadultes, "adulte", "adultes")
           << compte(barre.nbenfants, "enfant", "enfants");
    lignes << sejour.join(QStringLiteral(", "));
    if (!barre.libelleetat.trimmed().isEmpty() && barre.libelleetat.trimmed() != QLatin1String("-"))
        lignes << QStringLiteral("État : ") + barre.libelleetat;
    if (barre.arrhes != 0 && std::isfinite(barre.arrhes))
        lignes << QStringLiteral("Arrhes : ") + montant(barre.arrhes);
    const QString remarque = barre.remarque.trimmed().section(u'\n', 0, 0).trimmed();
    if (!remarque.isEmpty())
        lignes << QStringLiteral("Remarque : ") + remarque;
    lignes.removeAll(QString());
    return lignes.join(u'\n');
}

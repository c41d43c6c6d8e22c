#include "reservations/ConflitDeVersion.h"

#include "reservations/SaisieReservation.h"

namespace ConflitDeVersion {

namespace {

QString moment(const QDateTime &quand, const QString &forme)
{
    return quand.isValid() ? quand.toString(forme) : QString();
}

} // namespace

QVector<Champ> champsDuSejour(const ReservationAffichee &sejour,
                              const std::function<QString(qint32)> &nomObjet)
{
    const QString jourHeure = QStringLiteral("dd/MM/yyyy HH:mm");
    return {
        {QStringLiteral("Objet"), nomObjet(sejour.objet)},
        {QStringLiteral("Client"), sejour.nomclient},
        {QStringLiteral("Arrivée"), moment(sejour.DateDebut, jourHeure)},
        {QStringLiteral("Départ"), moment(sejour.DateFin, jourHeure)},
        {QStringLiteral("Arrhes"), SaisieReservation::texteArrhes(sejour.arrhes)},
        {QStringLiteral("Date attendue"), moment(sejour.datelimite, QStringLiteral("dd/MM/yyyy"))},
        {QStringLiteral("État"), sejour.libelleetat},
        {QStringLiteral("Adultes"), QString::number(sejour.nbadultes)},
        {QStringLiteral("Enfants"), QString::number(sejour.nbenfants)},
        // Stored as typed with one blank after it; the box shows it so.
        {QStringLiteral("Remarque"), sejour.remarque},
        {QStringLiteral("Téléphone"), sejour.telephone},
        {QStringLiteral("E-mail"), sejour.email},
    };
}

QVector<Difference> differences(const QVector<Champ> &ouverte, const QVector<Champ> &actuelle,
                                const QVector<Champ> &saisie)
{
    QVector<Difference> resultat;
    const qsizetype n = std::min({ouverte.size(), actuelle.size(), saisie.size()});
    for (qsizetype i = 0; i < n; ++i) {
        // Every save adds a blank after the remark, the phone and the e-mail: not a change.
        if (ouverte.at(i).texte.trimmed() != actuelle.at(i).texte.trimmed())
            resultat.append({actuelle.at(i).libelle, actuelle.at(i).texte, saisie.at(i).texte});
    }
    return resultat;
}

QString texteDuConflit(const QString &sujet, const QVector<Difference> &differences)
{
    const auto vide = [](const QString &texte) {
        const QString net = texte.trimmed();
        return net.isEmpty() ? QStringLiteral("(vide)") : net;
    };
    QString texte = sujet
        + QStringLiteral(" a été modifié à un autre poste depuis que vous l'avez ouvert.\n\n"
                         "Champ : leur version / la vôtre");
    for (const Difference &difference : differences) {
        texte += u'\n' + difference.libelle + QStringLiteral(" : ") + vide(difference.leur)
            + QStringLiteral(" / ") + vide(difference.votre);
    }
    texte += QStringLiteral("\n\n« Reprendre leur version » remplace ce que vous avez saisi ; "
                            "« Garder la mienne » enregistre votre saisie par-dessus la leur.");
    return texte;
}

} // namespace ConflitDeVersion

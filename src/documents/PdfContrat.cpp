#include "documents/PdfContrat.h"

#include "data/ArticlesBar.h"

using ArticlesBar::textePrix;
using MiseEnPage::Bloc;
using MiseEnPage::paragraphe;

qint64 Contrat::prixTotal() const
{
    qint64 total = 0;
    for (const LigneFacture &ligne : lignes)
        total += ligne.montant;
    return total;
}

namespace {

QString moment(const QDateTime &quand)
{
    return QStringLiteral("le %1 à %2")
        .arg(MiseEnPage::date(quand.date()), quand.time().toString(QStringLiteral("HH:mm")));
}

} // namespace

MiseEnPage::Document miseEnPageContrat(const Contrat &contrat)
{
    const QString titre = QStringLiteral("Contrat de réservation n° %1").arg(contrat.reservation);
    MiseEnPage::Document page {titre, false, {}};
    QStringList entete {titre};
    if (contrat.date.isValid())
        entete << QStringLiteral("Date : %1").arg(MiseEnPage::date(contrat.date));
    QStringList client {contrat.client};
    for (const QString &ligne : {contrat.telephone, contrat.email}) {
        if (!ligne.trimmed().isEmpty())
            client << ligne.trimmed();
    }
    page.blocs << MiseEnPage::enTete(contrat.etablissement, entete, client);

    page.blocs << paragraphe({QStringLiteral("Hébergement : %1").arg(contrat.objet),
                              QStringLiteral("Arrivée %1").arg(moment(contrat.arrivee)),
                              QStringLiteral("Départ %1").arg(moment(contrat.depart)),
                              MiseEnPage::personnes(contrat.adultes, contrat.enfants)},
                             8);

    Bloc prix;
    prix.colonnes = {{QStringLiteral("Désignation"), 4}, {QStringLiteral("Montant TTC"), 1, true}};
    for (const LigneFacture &ligne : contrat.lignes)
        prix.rangees << QStringList {ligne.libelle, textePrix(ligne.montant)};
    page.blocs << prix;

    QString arrhes = QStringLiteral("Arrhes demandées : %1").arg(textePrix(contrat.arrhes));
    if (contrat.datelimite.isValid())
        arrhes
            += QStringLiteral(", à verser avant le %1").arg(MiseEnPage::date(contrat.datelimite));
    Bloc reglement
        = paragraphe({QStringLiteral("Prix total : %1").arg(textePrix(contrat.prixTotal())), arrhes,
                      QStringLiteral("Solde à régler : %1")
                          .arg(textePrix(contrat.prixTotal() - contrat.arrhes))});
    reglement.premiere = MiseEnPage::Style::Gras;
    reglement.insecable = true;
    page.blocs << reglement;

    if (!contrat.etablissement.conditions.trimmed().isEmpty()) {
        Bloc conditions = paragraphe(contrat.etablissement.conditions.trimmed().split(u'\n'), 8);
        conditions.lignes.prepend(QStringLiteral("Conditions"));
        conditions.premiere = MiseEnPage::Style::Gras;
        page.blocs << conditions;
    }

    if (contrat.date.isValid())
        page.blocs << paragraphe({QStringLiteral("Fait le %1, en deux exemplaires.")
                                      .arg(MiseEnPage::date(contrat.date))},
                                 10);
    // A box to sign in under each name, kept on one page.
    Bloc signatures;
    signatures.colonnes = {{QStringLiteral("Le client")}, {QStringLiteral("L'établissement")}};
    signatures.rangees = {{QStringLiteral("Lu et approuvé\n\n\n\n\n"), QString()}};
    signatures.insecable = true;
    page.blocs << signatures;
    return page;
}

QString ecrireContratPdf(const Contrat &contrat, const QString &chemin)
{
    return MiseEnPage::ecrirePdf(miseEnPageContrat(contrat), chemin);
}

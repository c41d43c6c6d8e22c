#include "documents/PdfFacture.h"

#include "data/ArticlesBar.h"

using ArticlesBar::textePrix;
using MiseEnPage::Bloc;
using MiseEnPage::Colonne;

namespace {

QString titre(const DocumentFacture &document)
{
    if (document.numero.isEmpty())
        return document.nature + QStringLiteral(" (aperçu)");
    return QStringLiteral("%1 n° %2").arg(document.nature, document.numero);
}

// The summaries under the lines: on the right of the page, never cut.
Bloc recapitulatif(const QVector<Colonne> &colonnes, const QVector<QStringList> &rangees,
                   int grasses)
{
    Bloc bloc;
    bloc.colonnes = colonnes;
    bloc.rangees = rangees;
    bloc.grasses = grasses;
    bloc.gauche = 0.4;
    bloc.largeur = 0.6;
    bloc.insecable = true;
    return bloc;
}

} // namespace

MiseEnPage::Document miseEnPageFacture(const DocumentFacture &document)
{
    MiseEnPage::Document page {titre(document), false, {}};
    QStringList entete {titre(document)};
    if (!document.reference.isEmpty())
        entete << QStringLiteral("Avoir sur la facture n° %1").arg(document.reference);
    if (document.date.isValid())
        entete << QStringLiteral("Date : %1").arg(MiseEnPage::date(document.date));
    QStringList client {document.client};
    if (document.reservation > 0)
        client << QStringLiteral("Réservation n° %1").arg(document.reservation);
    if (!document.objet.isEmpty())
        client << document.objet;
    if (document.arrivee.isValid() && document.depart.isValid())
        client << QStringLiteral("Séjour du %1 au %2")
                      .arg(MiseEnPage::date(document.arrivee), MiseEnPage::date(document.depart));
    if (document.adultes + document.enfants > 0)
        client << MiseEnPage::personnes(document.adultes, document.enfants);
    page.blocs << MiseEnPage::enTete(document.etablissement, entete, client);

    Bloc lignes;
    lignes.espaceAvant = 8;
    lignes.colonnes = {{QStringLiteral("Désignation"), 7},
                       {QStringLiteral("TVA"), 1, true},
                       {QStringLiteral("Montant TTC"), 2, true}};
    for (const LigneFacture &ligne : document.lignes)
        lignes.rangees << QStringList {ligne.libelle,
                                       ligne.horsTva ? QStringLiteral("—")
                                                     : ArticlesBar::texteTaux(ligne.tauxTva),
                                       textePrix(ligne.montant)};
    page.blocs << lignes;

    QVector<QStringList> parTaux;
    for (const TotalTaux &taux : document.parTaux())
        parTaux << QStringList {ArticlesBar::texteTaux(taux.tauxTva), textePrix(taux.horsTaxe),
                                textePrix(taux.tva), textePrix(taux.toutesTaxes)};
    if (!parTaux.isEmpty())
        page.blocs << recapitulatif({{QStringLiteral("Taux"), 1, true},
                                     {QStringLiteral("Base HT"), 1, true},
                                     {QStringLiteral("TVA"), 1, true},
                                     {QStringLiteral("TTC"), 1, true}},
                                    parTaux, 0);

    QVector<QStringList> sommes {{QStringLiteral("Total HT"), textePrix(document.totalHorsTaxe())},
                                 {QStringLiteral("Total TVA"), textePrix(document.totalTva())}};
    if (document.horsChampTva() != 0)
        sommes << QStringList {QStringLiteral("Taxe de séjour (hors TVA)"),
                               textePrix(document.horsChampTva())};
    sommes << QStringList {QStringLiteral("Total TTC"), textePrix(document.totalToutesTaxes())};
    page.blocs << recapitulatif({{QString(), 3}, {QString(), 2, true}}, sommes, 1);
    page.blocs.last().entete = false;

    // A credit note settles nothing by itself: what is owed back is the caller's business.
    const bool facture = document.nature == DocumentFacture::Facture;
    if (facture || !document.paiements.isEmpty()) {
        QVector<QStringList> paiements;
        for (const PaiementFacture &paiement : document.paiements)
            paiements << QStringList {MiseEnPage::date(paiement.date), paiement.libelle,
                                      textePrix(paiement.montant)};
        if (facture)
            paiements << QStringList {QString(), QStringLiteral("Reste à payer"),
                                      textePrix(document.solde())};
        page.blocs << recapitulatif({{QStringLiteral("Date"), 2},
                                     {QStringLiteral("Paiements reçus"), 5},
                                     {QStringLiteral("Montant"), 3, true}},
                                    paiements, facture ? 1 : 0);
        page.blocs.last().entete = !document.paiements.isEmpty();
    }

    if (!document.etablissement.mentions.trimmed().isEmpty()) {
        Bloc mentions
            = MiseEnPage::paragraphe(document.etablissement.mentions.trimmed().split(u'\n'), 10);
        mentions.style = MiseEnPage::Style::Petit;
        mentions.enBas = true;
        page.blocs << mentions;
    }
    return page;
}

QString ecrireFacturePdf(const DocumentFacture &document, const QString &chemin)
{
    return MiseEnPage::ecrirePdf(miseEnPageFacture(document), chemin);
}

QString texteFacture(const DocumentFacture &document)
{
    return MiseEnPage::texte(miseEnPageFacture(document));
}

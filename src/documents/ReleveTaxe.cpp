#include "documents/ReleveTaxe.h"

#include "data/ArticlesBar.h"

#include <QLocale>

qint64 Releve::nuiteesAssujetties() const
{
    qint64 total = 0;
    for (const LigneReleve &ligne : lignes)
        total += qint64(ligne.nuits) * ligne.assujettis;
    return total;
}

qint64 Releve::nuiteesExonerees() const
{
    qint64 total = 0;
    for (const LigneReleve &ligne : lignes)
        total += qint64(ligne.nuits) * ligne.exoneres;
    return total;
}

qint64 Releve::total() const
{
    qint64 total = 0;
    for (const LigneReleve &ligne : lignes)
        total += ligne.montant;
    return total;
}

namespace {

const QStringList Titres {
    QStringLiteral("Réservation"), QStringLiteral("Client"), QStringLiteral("Arrivée"),
    QStringLiteral("Départ"),      QStringLiteral("Nuits"),  QStringLiteral("Assujettis"),
    QStringLiteral("Exonérés"),    QStringLiteral("Tarif"),  QStringLiteral("Montant")};

// The rows as both forms show them, the total last; `prix` writes an amount.
QVector<QStringList> rangees(const Releve &releve, QString (*prix)(qint64))
{
    QVector<QStringList> rangees;
    for (const LigneReleve &ligne : releve.lignes)
        rangees << QStringList {QString::number(ligne.reservation),
                                ligne.client,
                                MiseEnPage::date(ligne.arrivee),
                                MiseEnPage::date(ligne.depart),
                                QString::number(ligne.nuits),
                                QString::number(ligne.assujettis),
                                QString::number(ligne.exoneres),
                                prix(ligne.tarif),
                                prix(ligne.montant)};
    rangees << QStringList {QStringLiteral("Total"),
                            {},
                            {},
                            {},
                            {},
                            QString::number(releve.nuiteesAssujetties()),
                            QString::number(releve.nuiteesExonerees()),
                            {},
                            prix(releve.total())};
    return rangees;
}

QByteArray champCsv(const QString &texte)
{
    QByteArray champ = texte.toUtf8();
    if (champ.contains(';') || champ.contains('"') || champ.contains('\n') || champ.contains('\r'))
        champ = '"' + champ.replace('"', "\"\"") + '"';
    return champ;
}

} // namespace

QString titreReleve(const Releve &releve)
{
    return QStringLiteral("Taxe de séjour – %1 %2")
        .arg(QLocale(QLocale::French).standaloneMonthName(releve.mois.month()).toLower())
        .arg(releve.mois.year());
}

MiseEnPage::Document miseEnPageReleve(const Releve &releve)
{
    const QString titre = titreReleve(releve);
    MiseEnPage::Document page {titre, true, {}};
    MiseEnPage::Bloc entete;
    entete.lignes << titre << releve.etablissement.nom;
    if (!releve.etablissement.siret.isEmpty())
        entete.lignes << QStringLiteral("SIRET : %1").arg(releve.etablissement.siret);
    entete.premiere = MiseEnPage::Style::Titre;
    page.blocs << entete;

    MiseEnPage::Bloc tableau;
    const int parts[] = {2, 6, 2, 2, 1, 2, 2, 2, 2};
    for (int c = 0; c < Titres.size(); ++c)
        tableau.colonnes << MiseEnPage::Colonne {Titres[c], parts[c], c != 1 && c != 2 && c != 3};
    tableau.rangees = rangees(releve, ArticlesBar::textePrix);
    tableau.grasses = 1;
    tableau.espaceAvant = 8;
    page.blocs << tableau;

    MiseEnPage::Bloc totaux;
    totaux.lignes
        << QStringLiteral("Nuitées assujetties : %1").arg(releve.nuiteesAssujetties())
        << QStringLiteral("Nuitées exonérées : %1").arg(releve.nuiteesExonerees())
        << QStringLiteral("Montant à reverser : %1").arg(ArticlesBar::textePrix(releve.total()));
    totaux.insecable = true;
    page.blocs << totaux;
    return page;
}

QString ecrireRelevePdf(const Releve &releve, const QString &chemin)
{
    return MiseEnPage::ecrirePdf(miseEnPageReleve(releve), chemin);
}

QByteArray releveCsv(const Releve &releve)
{
    QByteArray csv("\xEF\xBB\xBF");
    QVector<QStringList> lignes = rangees(releve, ArticlesBar::montant);
    lignes.prepend(Titres);
    for (const QStringList &ligne : std::as_const(lignes)) {
        QByteArrayList champs;
        for (const QString &texte : ligne)
            champs << champCsv(texte);
        csv += champs.join(';') + "\r\n";
    }
    return csv;
}

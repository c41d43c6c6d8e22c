#include "data/DecompteSejour.h"

#include "conversion/MessageErreur.h"
#include "data/ArticlesBar.h"

#include "data/BaseDeDonnees.h"

#include <QSqlQuery>
#include <QVariant>

namespace DecompteSejour {

namespace {

QString pluriel(int nombre, const QString &singulier, const QString &plurielDuMot)
{
    return QStringLiteral("%1 %2").arg(nombre).arg(nombre > 1 ? plurielDuMot : singulier);
}

} // namespace

qint64 Decompte::total() const
{
    qint64 somme = 0;
    for (const LigneFacture &ligne : lignes)
        somme += ligne.montant;
    return somme;
}

QString libelleTaxe(const Tarification::Taxe &taxe)
{
    return QStringLiteral("Taxe de séjour – %1 × %2")
        .arg(pluriel(taxe.assujettis, QStringLiteral("adulte"), QStringLiteral("adultes")),
             pluriel(taxe.nuits, QStringLiteral("nuit"), QStringLiteral("nuits")));
}

QString libellePrestation(const TarifsEtablissement::Prestation &prestation, int quantite,
                          int nuits)
{
    using TarifsEtablissement::Unite;
    const QString prix = ArticlesBar::textePrix(prestation.prix);
    const QString fois = QStringLiteral(" × ");
    QString detail;
    switch (prestation.unite) {
    case Unite::ParNuit:
        detail = (quantite > 1 ? QString::number(quantite) + fois : QString())
            + pluriel(nuits, QStringLiteral("nuit"), QStringLiteral("nuits"));
        break;
    case Unite::ParSejour:
        detail = QString::number(quantite);
        break;
    case Unite::ParPersonneEtNuit:
        detail = QStringLiteral("%1 pers.").arg(quantite) + fois
            + pluriel(nuits, QStringLiteral("nuit"), QStringLiteral("nuits"));
        break;
    }
    return prestation.libelle + QStringLiteral(" – ") + detail + fois + prix;
}

Decompte calculer(const Sejour &sejour, const QVector<Tarification::Saison> &saisons,
                  const QVector<TarifsEtablissement::Prestation> &catalogue,
                  const Tarification::ReglageTaxe &reglage)
{
    Decompte decompte;
    const Tarification::Loyer loyer = Tarification::loyer(saisons, sejour.arrivee, sejour.depart,
                                                          sejour.adultes, sejour.enfants);
    if (!loyer.refus.isEmpty()) {
        decompte.refus = loyer.refus;
        return decompte;
    }
    const QString hebergement
        = sejour.categorie.isEmpty() ? QStringLiteral("Hébergement") : sejour.categorie;
    for (const Tarification::LigneLoyer &ligne : loyer.lignes)
        decompte.lignes.append(
            {Tarification::libelleLoyer(hebergement, ligne), ligne.montant(), ligne.tauxTva});

    const int nuits = loyer.nuits();
    for (const TarifsEtablissement::Choix &choix : sejour.choix) {
        if (choix.quantite <= 0)
            continue;
        const auto prestation
            = std::find_if(catalogue.cbegin(), catalogue.cend(),
                           [&](const auto &p) { return p.numero == choix.prestation; });
        if (prestation == catalogue.cend())
            continue;
        const qint64 fois = prestation->unite == TarifsEtablissement::Unite::ParSejour
            ? choix.quantite
            : qint64(choix.quantite) * nuits;
        decompte.lignes.append({libellePrestation(*prestation, choix.quantite, nuits),
                                prestation->prix * fois, prestation->tauxTva});
    }

    // A percentage of the night's price is taken on the rent alone, at the rate of its first
    // season: seasons of one category share their rate in practice.
    const int tauxLoyer = loyer.lignes.isEmpty() ? 1000 : loyer.lignes.first().tauxTva;
    decompte.taxe
        = Tarification::taxeDeSejour(reglage, loyer.total(), tauxLoyer, nuits, sejour.adultes,
                                     sejour.enfants, sejour.adultesExoneres);
    if (decompte.taxe.total() > 0) {
        LigneFacture taxe {libelleTaxe(decompte.taxe), decompte.taxe.total(), 0};
        taxe.horsTva = true;
        decompte.lignes.append(taxe);
    }
    return decompte;
}

QSqlError sejourDisparu(int reservation)
{
    return QSqlError(QStringLiteral("La réservation %1 n'est plus dans la base.").arg(reservation),
                     QString(), QSqlError::StatementError);
}

QSqlError lireSejour(const QSqlDatabase &base, int reservation, Sejour &sejour)
{
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral(
        "SELECT RESERVATIONS.DateDebut, RESERVATIONS.DateFin, RESERVATIONS.nbadultes, "
        "RESERVATIONS.nbenfants, OBJETS.Categorie FROM RESERVATIONS LEFT JOIN OBJETS ON "
        "OBJETS.Numero = RESERVATIONS.Objet WHERE RESERVATIONS.NumeroReservation = ?"));
    requete.addBindValue(reservation);
    if (!requete.exec())
        return requete.lastError();
    if (!requete.next())
        return sejourDisparu(reservation);
    sejour = Sejour();
    sejour.arrivee = BaseDeDonnees::dateDepuisValeur(requete.value(0)).date();
    sejour.depart = BaseDeDonnees::dateDepuisValeur(requete.value(1)).date();
    sejour.adultes = requete.value(2).toInt();
    sejour.enfants = requete.value(3).toInt();
    sejour.categorie = requete.value(4).toString().trimmed();
    requete.finish();
    QSqlError erreur = TarifsEtablissement::lireChoix(base, reservation, sejour.choix);
    if (!erreur.isValid())
        erreur = TarifsEtablissement::lireExoneres(base, reservation, sejour.adultesExoneres);
    return erreur;
}

QSqlError calculerDepuisLaBase(const QSqlDatabase &base, const Sejour &sejour,
                               const Tarification::ReglageTaxe &reglage, Decompte &decompte)
{
    QVector<Tarification::Saison> saisons;
    QVector<TarifsEtablissement::Prestation> catalogue;
    QSqlError erreur = TarifsEtablissement::lireSaisons(base, sejour.categorie, saisons);
    if (!erreur.isValid())
        erreur = TarifsEtablissement::lirePrestations(base, catalogue);
    if (!erreur.isValid())
        decompte = calculer(sejour, saisons, catalogue, reglage);
    return erreur;
}

} // namespace DecompteSejour

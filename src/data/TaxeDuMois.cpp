#include "data/TaxeDuMois.h"

#include "data/TarifsEtablissement.h"

#include "data/BaseDeDonnees.h"
#include <QHash>

#include <QSqlQuery>
#include <QVariant>

namespace TaxeDuMois {

namespace {

QString texteDate(const QDate &jour)
{
    return jour.toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
}

QSqlError lireExonerations(const QSqlDatabase &base, QHash<int, int> &exoneres)
{
    QSqlQuery requete(base);
    if (!requete.exec(QStringLiteral("SELECT numeroreservation, adultes FROM EXONERATIONS")))
        return requete.lastError();
    while (requete.next())
        exoneres.insert(requete.value(0).toInt(), requete.value(1).toInt());
    return requete.lastError();
}

} // namespace

QString nomFichiers(const QDate &mois)
{
    return QStringLiteral("Taxe-de-sejour-") + mois.toString(QStringLiteral("yyyy-MM"));
}

QSqlError releve(const QSqlDatabase &base, const QDate &mois, const Etablissement &etablissement,
                 Releve &resultat, QStringList &avertissements)
{
    resultat = Releve();
    resultat.etablissement = etablissement;
    resultat.mois = QDate(mois.year(), mois.month(), 1);
    avertissements.clear();
    const QDate premier = resultat.mois;
    const QDate suivant = premier.addMonths(1);

    QHash<int, int> exoneres;
    QSqlError erreur = lireExonerations(base, exoneres);
    if (erreur.isValid())
        return erreur;
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    // Arrivals before the month's end, departures after its start: the departure is not read
    // from an index, the arrival is.
    requete.prepare(QStringLiteral(
        "SELECT RESERVATIONS.NumeroReservation, RESERVATIONS.nomclient, RESERVATIONS.DateDebut, "
        "RESERVATIONS.DateFin, RESERVATIONS.nbadultes, RESERVATIONS.nbenfants, "
        "OBJETS.Categorie FROM RESERVATIONS LEFT JOIN OBJETS ON OBJETS.Numero = "
        "RESERVATIONS.Objet LEFT JOIN ETATS ON ETATS.Code = RESERVATIONS.Etat WHERE "
        "RESERVATIONS.DateDebut < ? AND RESERVATIONS.DateFin > ? AND ifnull(ETATS.occupe, 1) "
        "<> 0 ORDER BY RESERVATIONS.DateDebut, RESERVATIONS.NumeroReservation"));
    requete.addBindValue(texteDate(suivant));
    requete.addBindValue(texteDate(premier));
    if (!requete.exec())
        return requete.lastError();

    struct Lu
    {
        LigneReleve ligne;
        int adultes = 0, enfants = 0;
        QString categorie;
    };
    // Read whole before the seasons are: a server answers one query at a time.
    QVector<Lu> lus;
    while (requete.next()) {
        Lu lu;
        lu.ligne.reservation = requete.value(0).toInt();
        lu.ligne.client = requete.value(1).toString();
        lu.ligne.arrivee = BaseDeDonnees::dateDepuisValeur(requete.value(2)).date();
        lu.ligne.depart = BaseDeDonnees::dateDepuisValeur(requete.value(3)).date();
        lu.adultes = requete.value(4).toInt();
        lu.enfants = requete.value(5).toInt();
        lu.categorie = requete.value(6).toString().trimmed();
        lus.append(lu);
    }
    if (requete.lastError().isValid())
        return requete.lastError();
    requete.finish();

    const Tarification::ReglageTaxe &reglage = etablissement.taxe;
    QHash<QString, QVector<Tarification::Saison>> saisons;
    for (Lu &lu : lus) {
        LigneReleve &ligne = lu.ligne;
        if (!ligne.arrivee.isValid() || !ligne.depart.isValid())
            continue;
        const qint64 nuitsDuSejour = ligne.arrivee.daysTo(ligne.depart);
        ligne.nuits = int(std::max(premier, ligne.arrivee).daysTo(std::min(suivant, ligne.depart)));
        if (ligne.nuits <= 0 || nuitsDuSejour <= 0)
            continue;

        // The price per person and night is the stay's whole: a stay across two months pays
        // the same rate in each.
        qint64 loyer = 0;
        int taux = 1000;
        if (reglage.mode == Tarification::ReglageTaxe::Mode::Pourcentage) {
            if (!saisons.contains(lu.categorie)) {
                erreur
                    = TarifsEtablissement::lireSaisons(base, lu.categorie, saisons[lu.categorie]);
                if (erreur.isValid())
                    return erreur;
            }
            const Tarification::Loyer compte = Tarification::loyer(
                saisons.value(lu.categorie), ligne.arrivee, ligne.depart, lu.adultes, lu.enfants);
            if (!compte.refus.isEmpty()) {
                avertissements << QStringLiteral("Réservation %1 (%2) : %3")
                                      .arg(ligne.reservation)
                                      .arg(ligne.client, compte.refus);
                continue;
            }
            loyer = compte.total();
            taux = compte.lignes.first().tauxTva;
        }
        const Tarification::Taxe taxe
            = Tarification::taxeDeSejour(reglage, loyer, taux, int(nuitsDuSejour), lu.adultes,
                                         lu.enfants, exoneres.value(ligne.reservation));
        ligne.assujettis = taxe.assujettis;
        ligne.exoneres = taxe.exoneres;
        ligne.tarif = taxe.parPersonneEtNuit;
        const qint64 assiette = taxe.parPersonneEtNuit * taxe.assujettis * ligne.nuits;
        ligne.montant = assiette + Tarification::partDe(assiette, reglage.majoration);
        resultat.lignes.append(ligne);
    }
    return QSqlError();
}

} // namespace TaxeDuMois

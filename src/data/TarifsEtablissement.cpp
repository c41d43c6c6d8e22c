#include "data/TarifsEtablissement.h"

#include "data/ArticlesBar.h"
#include "data/ConflitEcriture.h"
#include "data/TransactionEcriture.h"

#include "data/BaseDeDonnees.h"
#include <QCollator>
#include <QLocale>
#include <QSet>

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace TarifsEtablissement {

namespace {

using Tarification::Saison;

constexpr qint64 PrixMaximal = 10000000; // 100 000 € in cents

QSqlError refusee(const QString &raison)
{
    // French already, without an engine code: messageBaseEnFrancais() gives it as it stands.
    return QSqlError(raison, QString(), QSqlError::StatementError);
}

QSqlError executer(QSqlQuery &requete, const QString &sql, const QVariantList &valeurs)
{
    if (!requete.prepare(sql))
        return requete.lastError();
    for (const QVariant &valeur : valeurs)
        requete.addBindValue(valeur);
    return requete.exec() ? QSqlError() : requete.lastError();
}

QSqlError executer(const QSqlDatabase &base, const QString &sql, const QVariantList &valeurs)
{
    QSqlQuery requete(base);
    return executer(requete, sql, valeurs);
}

// The category as SAISONS keys it: never a Null, which the column refuses and no row matches.
QString cleDeCategorie(const QString &categorie)
{
    const QString cle = categorie.trimmed();
    return cle.isNull() ? QStringLiteral("") : cle;
}

// Dates are stored as the rest of the base stores them, text that sorts as it reads.
QString texteDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

const QString SelectionPrestations
    = QStringLiteral("SELECT Numero, Libelle, prix, unite, tauxtva, retire FROM PRESTATIONS ");

Prestation prestationDeLaLigne(const QSqlQuery &requete)
{
    Prestation prestation;
    prestation.numero = requete.value(0).toInt();
    prestation.libelle = requete.value(1).toString();
    prestation.prix = requete.value(2).toLongLong();
    prestation.unite = Unite(std::clamp(requete.value(3).toInt(), 0, 2));
    prestation.tauxTva = requete.value(4).toInt();
    prestation.retire = requete.value(5).toInt() != 0;
    return prestation;
}

bool memeSaison(const Saison &a, const Saison &b)
{
    return a.debut == b.debut && a.fin == b.fin && a.prixNuit == b.prixNuit
        && a.personnesIncluses == b.personnesIncluses && a.supplementAdulte == b.supplementAdulte
        && a.supplementEnfant == b.supplementEnfant && a.tauxTva == b.tauxTva;
}

QString refusDeLaPrestation(const Prestation &prestation)
{
    QString refus = ArticlesBar::refusDuLibelle(prestation.libelle);
    if (refus.isEmpty() && (prestation.prix < 0 || prestation.prix > PrixMaximal))
        refus = QStringLiteral("Le prix d'une prestation doit être compris entre 0 et "
                               "100 000,00 €.");
    if (refus.isEmpty() && (prestation.tauxTva < 0 || prestation.tauxTva > 10000))
        refus = QStringLiteral("Le taux de TVA doit être compris entre 0 et 100 %.");
    if (refus.isEmpty() && (int(prestation.unite) < 0 || int(prestation.unite) > 2))
        refus = QStringLiteral("L'unité de la prestation est inconnue.");
    return refus;
}

QSqlError ecrireSaisons(const QSqlDatabase &base, const QString &categorie,
                        const QVector<Saison> &saisons, const QVector<Saison> *attendues)
{
    if (const QString refus = Tarification::refusDesSaisons(saisons); !refus.isEmpty())
        return refusee(refus);
    const QString nom = cleDeCategorie(categorie);
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    if (attendues) {
        QVector<Saison> stockees;
        if (const QSqlError erreur = lireSaisons(base, nom, stockees); erreur.isValid())
            return erreur;
        if (!std::equal(stockees.cbegin(), stockees.cend(), attendues->cbegin(), attendues->cend(),
                        memeSaison))
            return erreurConflit(QStringLiteral("Les saisons de cette catégorie ont été "
                                                "modifiées à un autre poste."));
    }
    if (const QSqlError erreur
        = executer(base, QStringLiteral("DELETE FROM SAISONS WHERE Categorie = ?"), {nom});
        erreur.isValid())
        return erreur;
    QSqlQuery insertion(base);
    for (const Saison &saison : saisons) {
        if (const QSqlError erreur = executer(
                insertion,
                QStringLiteral("INSERT INTO SAISONS (Categorie, debut, fin, prixnuit, personnes, "
                               "supplementadulte, supplementenfant, tauxtva) VALUES (?, ?, ?, ?, "
                               "?, ?, ?, ?)"),
                {nom, texteDate(saison.debut), texteDate(saison.fin), saison.prixNuit,
                 saison.personnesIncluses, saison.supplementAdulte, saison.supplementEnfant,
                 saison.tauxTva});
            erreur.isValid())
            return erreur;
    }
    return transaction.valider();
}

QSqlError ecrirePrestation(const QSqlDatabase &base, Prestation &prestation,
                           const Prestation *attendue)
{
    if (const QString refus = refusDeLaPrestation(prestation); !refus.isEmpty())
        return refusee(refus);
    // Under the write lock from the reading of the highest number, or of the row, to the store.
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    const QVariantList valeurs {prestation.libelle, prestation.prix, int(prestation.unite),
                                prestation.tauxTva, prestation.retire ? 1 : 0};
    QSqlQuery requete(base);
    if (prestation.numero <= 0) {
        if (const QSqlError erreur = executer(
                requete, QStringLiteral("SELECT coalesce(max(Numero), 0) FROM PRESTATIONS"), {});
            erreur.isValid())
            return erreur;
        const int numero = requete.next() ? requete.value(0).toInt() + 1 : 1;
        if (const QSqlError erreur = executer(
                requete,
                QStringLiteral("INSERT INTO PRESTATIONS (Libelle, prix, unite, tauxtva, retire, "
                               "Numero) VALUES (?, ?, ?, ?, ?, ?)"),
                valeurs + QVariantList {numero});
            erreur.isValid())
            return erreur;
        if (const QSqlError erreur = transaction.valider(); erreur.isValid())
            return erreur;
        prestation.numero = numero;
        return QSqlError();
    }
    std::optional<Prestation> stockee;
    if (const QSqlError erreur = lirePrestation(base, prestation.numero, stockee); erreur.isValid())
        return erreur;
    if (!stockee)
        return refusee(QStringLiteral("Cette prestation n'existe plus : un autre poste l'a "
                                      "peut-être supprimée."));
    if (attendue && !memePrestation(*stockee, *attendue))
        return erreurConflit(QStringLiteral("Cette prestation a été modifiée à un autre poste."));
    if (const QSqlError erreur = executer(
            requete,
            QStringLiteral("UPDATE PRESTATIONS SET Libelle = ?, prix = ?, unite = ?, tauxtva = ?, "
                           "retire = ? WHERE Numero = ?"),
            valeurs + QVariantList {prestation.numero});
        erreur.isValid())
        return erreur;
    return transaction.valider();
}

} // namespace

QSqlError categories(const QSqlDatabase &base, QStringList &categories)
{
    QSqlQuery requete(base);
    if (const QSqlError erreur
        = executer(requete,
                   QStringLiteral("SELECT trim(coalesce(Categorie, '')) FROM OBJETS UNION SELECT "
                                  "Categorie FROM SAISONS"),
                   {});
        erreur.isValid())
        return erreur;
    QStringList lues;
    bool sansCategorie = false;
    while (requete.next()) {
        const QString categorie = requete.value(0).toString();
        if (categorie.isEmpty())
            sansCategorie = true;
        else
            lues << categorie;
    }
    QCollator collation {QLocale(QLocale::French, QLocale::France)};
    std::sort(lues.begin(), lues.end(), collation);
    if (sansCategorie)
        lues << QString();
    categories = lues;
    return QSqlError();
}

QSqlError lireSaisons(const QSqlDatabase &base, const QString &categorie,
                      QVector<Tarification::Saison> &saisons)
{
    QSqlQuery requete(base);
    if (const QSqlError erreur = executer(
            requete,
            QStringLiteral("SELECT debut, fin, prixnuit, personnes, supplementadulte, "
                           "supplementenfant, tauxtva FROM SAISONS WHERE Categorie = ? ORDER BY "
                           "debut"),
            {cleDeCategorie(categorie)});
        erreur.isValid())
        return erreur;
    QVector<Saison> lues;
    while (requete.next()) {
        Saison saison;
        saison.debut = BaseDeDonnees::dateDepuisValeur(requete.value(0)).date();
        saison.fin = BaseDeDonnees::dateDepuisValeur(requete.value(1)).date();
        saison.prixNuit = requete.value(2).toLongLong();
        saison.personnesIncluses = requete.value(3).toInt();
        saison.supplementAdulte = requete.value(4).toLongLong();
        saison.supplementEnfant = requete.value(5).toLongLong();
        saison.tauxTva = requete.value(6).toInt();
        lues << saison;
    }
    saisons = lues;
    return QSqlError();
}

QSqlError ecrireSaisons(const QSqlDatabase &base, const QString &categorie,
                        const QVector<Tarification::Saison> &saisons)
{
    return ecrireSaisons(base, categorie, saisons, nullptr);
}

QSqlError ecrireSaisons(const QSqlDatabase &base, const QString &categorie,
                        const QVector<Tarification::Saison> &saisons,
                        const QVector<Tarification::Saison> &attendues)
{
    return ecrireSaisons(base, categorie, saisons, &attendues);
}

QString texteUnite(Unite unite)
{
    switch (unite) {
    case Unite::ParNuit:
        break;
    case Unite::ParSejour:
        return QStringLiteral("par séjour");
    case Unite::ParPersonneEtNuit:
        return QStringLiteral("par personne et nuit");
    }
    return QStringLiteral("par nuit");
}

QSqlError lirePrestations(const QSqlDatabase &base, QVector<Prestation> &prestations)
{
    QSqlQuery requete(base);
    if (const QSqlError erreur
        = executer(requete, SelectionPrestations + QStringLiteral("ORDER BY Numero"), {});
        erreur.isValid())
        return erreur;
    QVector<Prestation> lues;
    while (requete.next())
        lues << prestationDeLaLigne(requete);
    prestations = lues;
    return QSqlError();
}

QSqlError lirePrestation(const QSqlDatabase &base, int numero,
                         std::optional<Prestation> &prestation)
{
    prestation.reset();
    QSqlQuery requete(base);
    if (const QSqlError erreur
        = executer(requete, SelectionPrestations + QStringLiteral("WHERE Numero = ?"), {numero});
        erreur.isValid())
        return erreur;
    if (requete.next())
        prestation = prestationDeLaLigne(requete);
    return QSqlError();
}

bool memePrestation(const Prestation &a, const Prestation &b)
{
    return a.numero == b.numero && a.libelle == b.libelle && a.prix == b.prix && a.unite == b.unite
        && a.tauxTva == b.tauxTva && a.retire == b.retire;
}

QSqlError ecrirePrestation(const QSqlDatabase &base, Prestation &prestation)
{
    return ecrirePrestation(base, prestation, nullptr);
}

QSqlError ecrirePrestation(const QSqlDatabase &base, Prestation &prestation,
                           const Prestation &attendue)
{
    return ecrirePrestation(base, prestation, &attendue);
}

QSqlError lireChoix(const QSqlDatabase &base, int reservation, QVector<Choix> &choix)
{
    QSqlQuery requete(base);
    if (const QSqlError erreur
        = executer(requete,
                   QStringLiteral("SELECT prestation, quantite FROM PRESTATIONSSEJOUR WHERE "
                                  "numeroreservation = ? ORDER BY prestation"),
                   {reservation});
        erreur.isValid())
        return erreur;
    QVector<Choix> lus;
    while (requete.next())
        lus << Choix {requete.value(0).toInt(), requete.value(1).toInt()};
    choix = lus;
    return QSqlError();
}

QSqlError lireExoneres(const QSqlDatabase &base, int reservation, int &adultes)
{
    QSqlQuery requete(base);
    if (const QSqlError erreur = executer(
            requete, QStringLiteral("SELECT adultes FROM EXONERATIONS WHERE numeroreservation = ?"),
            {reservation});
        erreur.isValid())
        return erreur;
    adultes = requete.next() ? requete.value(0).toInt() : 0;
    return QSqlError();
}

QSqlError ecrireChoix(const QSqlDatabase &base, int reservation, const QVector<Choix> &choix,
                      int adultesExoneres)
{
    if (adultesExoneres < 0)
        return refusee(QStringLiteral("Le nombre d'adultes exonérés ne peut pas être négatif."));
    QSet<int> vues;
    for (const Choix &un : choix) {
        if (un.quantite < 0)
            return refusee(QStringLiteral("La quantité d'une prestation ne peut pas être "
                                          "négative."));
        if (vues.contains(un.prestation))
            return refusee(
                QStringLiteral("La prestation n° %1 est choisie deux fois.").arg(un.prestation));
        vues.insert(un.prestation);
    }
    // Inside a save of the stay, its transaction holds the lock already: a second one cannot
    // start on the same connection, and the choices must go or stay with the rest.
    std::optional<TransactionEcriture> propre;
    if (!TransactionEcriture::estOuverte(base)) {
        propre.emplace(base);
        if (propre->erreur().isValid())
            return propre->erreur();
    }
    QSqlQuery requete(base);
    for (const Choix &un : choix) {
        if (const QSqlError erreur
            = executer(requete, QStringLiteral("SELECT count(*) FROM PRESTATIONS WHERE Numero = ?"),
                       {un.prestation});
            erreur.isValid())
            return erreur;
        if (!requete.next() || requete.value(0).toInt() == 0)
            return refusee(QStringLiteral("La prestation n° %1 n'existe pas.").arg(un.prestation));
    }
    const QVariantList cle {reservation};
    for (const QString &sql :
         {QStringLiteral("DELETE FROM PRESTATIONSSEJOUR WHERE numeroreservation = ?"),
          QStringLiteral("DELETE FROM EXONERATIONS WHERE numeroreservation = ?")}) {
        if (const QSqlError erreur = executer(requete, sql, cle); erreur.isValid())
            return erreur;
    }
    for (const Choix &un : choix) {
        if (un.quantite == 0)
            continue;
        if (const QSqlError erreur = executer(
                requete,
                QStringLiteral("INSERT INTO PRESTATIONSSEJOUR (numeroreservation, prestation, "
                               "quantite) VALUES (?, ?, ?)"),
                {reservation, un.prestation, un.quantite});
            erreur.isValid())
            return erreur;
    }
    if (adultesExoneres > 0) {
        if (const QSqlError erreur = executer(
                requete,
                QStringLiteral("INSERT INTO EXONERATIONS (numeroreservation, adultes) VALUES "
                               "(?, ?)"),
                {reservation, adultesExoneres});
            erreur.isValid())
            return erreur;
    }
    return propre ? propre->valider() : QSqlError();
}

} // namespace TarifsEtablissement

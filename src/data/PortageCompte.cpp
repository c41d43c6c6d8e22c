#include "data/PortageCompte.h"

#include "data/AjoutOperation.h"
#include "data/DecompteSejour.h"
#include "data/TransactionEcriture.h"

#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <optional>

namespace PortageCompte {

QVector<Ecriture> ecrituresAPorter(const QVector<Ecriture> &dejaPortees,
                                   const QVector<LigneFacture> &lignes)
{
    // Net carried and wanted per label, the labels in the order they first appear: the
    // account then reads in the order the tab shows.
    QStringList ordre;
    QHash<QString, qint64> porte, voulu;
    for (const Ecriture &ecriture : dejaPortees) {
        const QString cle = ecriture.libelle.startsWith(Annulation)
            ? ecriture.libelle.mid(Annulation.size())
            : ecriture.libelle;
        if (!porte.contains(cle) && !voulu.contains(cle))
            ordre.append(cle);
        porte[cle] += ecriture.prix;
    }
    for (const LigneFacture &ligne : lignes) {
        if (!porte.contains(ligne.libelle) && !voulu.contains(ligne.libelle))
            ordre.append(ligne.libelle);
        voulu[ligne.libelle] -= ligne.montant;
    }
    QVector<Ecriture> ecritures;
    for (const QString &cle : ordre) {
        const qint64 net = porte.value(cle);
        const qint64 attendu = voulu.value(cle);
        if (net == attendu)
            continue;
        if (net != 0)
            ecritures.append({Annulation + cle, -net});
        if (attendu != 0)
            ecritures.append({cle, attendu});
    }
    return ecritures;
}

QSqlError lirePortees(const QSqlDatabase &base, int reservation, QVector<Ecriture> &portees)
{
    portees.clear();
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT libelle, prix FROM OPERATIONS WHERE "
                                   "numeroreservation = ? AND paiement = ? ORDER BY sequence"));
    requete.addBindValue(reservation);
    requete.addBindValue(CodePrestation);
    if (!requete.exec())
        return requete.lastError();
    while (requete.next())
        portees.append(
            {requete.value(0).toString(), qint64(std::llround(requete.value(1).toDouble() * 100))});
    return QSqlError();
}

QSqlError porter(const QSqlDatabase &base, int reservation, const QVector<LigneFacture> &lignes,
                 const QVector<TarifsEtablissement::Choix> &choix, int adultesExoneres,
                 int &ecrites)
{
    ecrites = 0;
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    // Read under the write lock: another desk carrying the same stay meanwhile is seen.
    QVector<Ecriture> portees;
    QSqlError erreur = lirePortees(base, reservation, portees);
    if (!erreur.isValid())
        erreur = TarifsEtablissement::ecrireChoix(base, reservation, choix, adultesExoneres);
    const QVector<Ecriture> ecritures = ecrituresAPorter(portees, lignes);
    for (const Ecriture &ecriture : ecritures) {
        if (erreur.isValid())
            break;
        erreur = AjoutOperation(base, reservation, double(ecriture.prix) / 100.0, CodePrestation,
                                ecriture.libelle);
    }
    if (!erreur.isValid())
        erreur = transaction.valider();
    if (!erreur.isValid())
        ecrites = int(ecritures.size());
    return erreur;
}

QSqlError suivreLeSejour(const QSqlDatabase &base, int reservation,
                         const Tarification::ReglageTaxe &reglage, QString &refus)
{
    refus.clear();
    std::optional<TransactionEcriture> propre;
    if (!TransactionEcriture::estOuverte(base)) {
        propre.emplace(base);
        if (propre->erreur().isValid())
            return propre->erreur();
    }
    QVector<Ecriture> portees;
    QSqlError erreur = lirePortees(base, reservation, portees);
    if (erreur.isValid() || portees.isEmpty())
        return erreur;
    DecompteSejour::Sejour sejour;
    DecompteSejour::Decompte decompte;
    erreur = DecompteSejour::lireSejour(base, reservation, sejour);
    if (!erreur.isValid())
        erreur = DecompteSejour::calculerDepuisLaBase(base, sejour, reglage, decompte);
    if (erreur.isValid())
        return erreur;
    if (!decompte.refus.isEmpty()) {
        refus = decompte.refus;
        return QSqlError();
    }
    for (const Ecriture &ecriture : ecrituresAPorter(portees, decompte.lignes)) {
        erreur = AjoutOperation(base, reservation, double(ecriture.prix) / 100.0, CodePrestation,
                                ecriture.libelle);
        if (erreur.isValid())
            return erreur;
    }
    return propre ? propre->valider() : QSqlError();
}

} // namespace PortageCompte

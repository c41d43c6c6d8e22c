#include "data/ModificationSejour.h"

#include "app/ReglagesEtablissement.h"
#include "data/AjoutOperation.h"
#include "data/BaseDeDonnees.h"
#include "data/PortageCompte.h"
#include "data/TransactionEcriture.h"

#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

QDateTime decale(const QDateTime &moment, int jours)
{
    return moment.isValid() ? moment.addDays(jours) : moment;
}

QString periode(const QDateTime &arrivee, const QDateTime &depart)
{
    const auto jour = [](const QDateTime &moment) {
        return moment.isValid() ? moment.toString(QStringLiteral("dd/MM/yyyy"))
                                : QStringLiteral("?");
    };
    return QStringLiteral("du %1 au %2").arg(jour(arrivee), jour(depart));
}

// A date as the program stores it, Null when missing.
QVariant valeurStockee(const QDateTime &moment)
{
    return moment.isValid() ? QVariant(BaseDeDonnees::texteDate(moment))
                            : QVariant(QMetaType::fromType<QString>());
}

} // namespace

ModificationSejour ModificationSejour::inverse() const
{
    ModificationSejour inverse = *this;
    std::swap(inverse.objetAvant, inverse.objetApres);
    std::swap(inverse.arriveeAvant, inverse.arriveeApres);
    std::swap(inverse.departAvant, inverse.departApres);
    return inverse;
}

bool ModificationSejour::changeQuelqueChose() const
{
    return objetAvant != objetApres || arriveeAvant != arriveeApres || departAvant != departApres;
}

ModificationSejour deplacement(qint32 numero, qint32 objet, const QDateTime &arrivee,
                               const QDateTime &depart, int jours, qint32 objetApres)
{
    ModificationSejour modification;
    modification.numero = numero;
    modification.genre = ModificationSejour::Genre::Deplacement;
    modification.objetAvant = objet;
    modification.objetApres = objetApres;
    modification.arriveeAvant = arrivee;
    modification.departAvant = depart;
    modification.arriveeApres = decale(arrivee, jours);
    modification.departApres = decale(depart, jours);
    return modification;
}

std::optional<ModificationSejour> etirement(qint32 numero, qint32 objet, const QDateTime &arrivee,
                                            const QDateTime &depart, bool parLArrivee, int jours)
{
    if (!arrivee.isValid() || !depart.isValid() || depart < arrivee)
        return std::nullopt;
    // At least the last night: the arrival day stays before the departure day.
    const int nuits = int(arrivee.date().daysTo(depart.date()));
    const int pas = parLArrivee ? std::min(jours, nuits - 1) : std::max(jours, 1 - nuits);
    ModificationSejour modification = deplacement(numero, objet, arrivee, depart, 0, objet);
    modification.genre = ModificationSejour::Genre::Dates;
    if (parLArrivee)
        modification.arriveeApres = arrivee.addDays(pas);
    else
        modification.departApres = depart.addDays(pas);
    return modification;
}

QString noteDeModification(const ModificationSejour &modification, const QString &nomAvant,
                           const QString &nomApres, bool annulation)
{
    const bool deplace = modification.genre == ModificationSejour::Genre::Deplacement;
    QString note
        = deplace ? QStringLiteral("Déplacement : ") : QStringLiteral("Modification des dates : ");
    note += (deplace ? nomAvant + u' ' : QString())
        + periode(modification.arriveeAvant, modification.departAvant) + QStringLiteral(" → ")
        + (deplace ? nomApres + u' ' : QString())
        + periode(modification.arriveeApres, modification.departApres);
    return annulation ? QStringLiteral("Annulation : ") + note : note;
}

QSqlError enregistrerModification(const QSqlDatabase &base, const ModificationSejour &modification,
                                  const QString &note, bool *changeAilleurs,
                                  QString *compteNonSuivi)
{
    if (changeAilleurs)
        *changeAilleurs = false;
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    // Read under the write lock, as the program reads dates (whatever form they were stored
    // in): what another desk or the dialog wrote since the bar was drawn is not overwritten.
    QSqlQuery lecture(base);
    lecture.prepare(QStringLiteral(
        "SELECT Objet, DateDebut, DateFin FROM RESERVATIONS WHERE NumeroReservation = ?"));
    lecture.addBindValue(modification.numero);
    if (!lecture.exec())
        return lecture.lastError();
    const auto date = [&lecture](int champ) {
        const QVariant valeur = lecture.value(champ);
        return valeur.isNull() ? QDateTime() : BaseDeDonnees::dateDepuisTexte(valeur.toString());
    };
    if (!lecture.next() || lecture.value(0).toInt() != modification.objetAvant
        || date(1) != modification.arriveeAvant || date(2) != modification.departAvant) {
        if (changeAilleurs)
            *changeAilleurs = true;
        return QSqlError();
    }
    lecture.finish();
    QSqlQuery ecriture(base);
    ecriture.prepare(QStringLiteral("UPDATE RESERVATIONS SET Objet = ?, DateDebut = ?, DateFin = ? "
                                    "WHERE NumeroReservation = ?"));
    ecriture.addBindValue(modification.objetApres);
    ecriture.addBindValue(valeurStockee(modification.arriveeApres));
    ecriture.addBindValue(valeurStockee(modification.departApres));
    ecriture.addBindValue(modification.numero);
    if (!ecriture.exec())
        return ecriture.lastError();
    const QSqlError journal = AjoutOperation(base, modification.numero, 0, QString(), note);
    if (journal.isValid())
        return journal;
    // What its account was charged follows the stay to its new nights.
    QString sansPrix;
    const QSqlError compte = PortageCompte::suivreLeSejour(
        base, modification.numero, ReglagesEtablissement::lire().taxe, sansPrix);
    if (compte.isValid())
        return compte;
    if (compteNonSuivi)
        *compteNonSuivi = sansPrix;
    return transaction.valider();
}

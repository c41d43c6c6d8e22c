#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <optional>

// A stay moved or stretched on the planning: what it was, what it becomes, how the journal
// says it, and its storing, which never writes over a change made elsewhere meanwhile.
struct ModificationSejour
{
    enum class Genre { Deplacement, Dates };

    qint32 numero = 0;
    Genre genre = Genre::Deplacement;
    qint32 objetAvant = 0;
    qint32 objetApres = 0;
    QDateTime arriveeAvant, departAvant;
    QDateTime arriveeApres, departApres;

    // The same change the other way round, as an undo stores it.
    ModificationSejour inverse() const;
    bool changeQuelqueChose() const;
};

// The stay moved by whole days onto `objetApres`: both ends shift, their hours kept; a missing
// date stays missing.
ModificationSejour deplacement(qint32 numero, qint32 objet, const QDateTime &arrivee,
                               const QDateTime &depart, int jours, qint32 objetApres);

// One end moved by whole days, never past the other: the stay keeps at least its last night.
// Nothing for an end that is missing, or for a stay whose departure comes before its arrival
// (which end is which is then anybody's guess).
std::optional<ModificationSejour> etirement(qint32 numero, qint32 objet, const QDateTime &arrivee,
                                            const QDateTime &depart, bool parLArrivee, int jours);

// The journal's words: "Déplacement : <avant> du 01/08/2027 au 05/08/2027 → <après> du …",
// "Modification des dates : …"; with `annulation`, "Annulation : " before it.
QString noteDeModification(const ModificationSejour &modification, const QString &nomAvant,
                           const QString &nomApres, bool annulation = false);

// Stores the change and its note in one transaction, only if the stay still holds what it held
// (`avant`); otherwise nothing is written and `changeAilleurs` says so. Services carried into its
// account follow it in the same transaction; `compteNonSuivi` receives why they could not (its
// new nights have no tariff), empty when they could.
QSqlError enregistrerModification(const QSqlDatabase &base, const ModificationSejour &modification,
                                  const QString &note, bool *changeAilleurs,
                                  QString *compteNonSuivi = nullptr);

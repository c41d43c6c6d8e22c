#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <optional>

// The reservation states the owner adds, renames and removes in the settings. Stays refer to a
// state by its code, which therefore never changes once given; the table order is the list's
// order, and its first state is the one a new reservation takes.
namespace EtatsEtablissement {

// A longer name would not fit the state selector of the reservation dialog.
inline constexpr int LongueurMaximaleNom = 60;

// How a write ended: done, refused by one of the rules below (the French reason), or failed in
// the base. Either way nothing was written unless it is reussie().
struct Issue
{
    QString refus;
    QSqlError erreur;
    // Another desk renamed the state since it was shown: its name now; nothing was stored.
    std::optional<QString> leurNom;

    bool reussie() const { return refus.isEmpty() && !erreur.isValid(); }
    // What the owner reads: the reason of a refusal as it stands, a failure of the base after
    // `echec` ("L'état n'a pas pu être ajouté :").
    QString message(const QString &echec) const;
};

struct NouvelEtat
{
    qint32 code = 0;
    QString nom;
    quint32 couleur = 0; // 0x00BBGGRR
    bool surinternet = false;
    bool occupe = true;
};

// The code typed: a whole number from 1 to 2147483647, blanks around ignored; or the French
// reason it is refused (`refus` set).
struct LectureCode
{
    qint32 code = 0;
    QString refus;
};
LectureCode lireCode(const QString &texte);
// Empty when the name may be stored: not blank, at most LongueurMaximaleNom characters, no line
// break nor tab. The name is stored as typed.
QString refusDuNom(const QString &nom);

// The name of the state `code`, nothing when there is none (or it cannot be read).
std::optional<QString> nomDeLEtat(const QSqlDatabase &base, qint32 code);
// How many stays are in the state `code`; -1 when the base cannot tell.
qint64 nombreDeSejoursDansLEtat(const QSqlDatabase &base, qint32 code);

// Appended at the end of the list. Refused when the code or the name breaks a rule above or
// the code is another state's already.
Issue ajouterEtat(const QSqlDatabase &base, const NouvelEtat &etat);
// The code stays; only the name changes.
// With `ancien` (the name shown), nothing is stored when the state is named otherwise by now:
// `leurNom` then holds that name.
Issue renommerEtat(const QSqlDatabase &base, qint32 code, const QString &nom,
                   const std::optional<QString> &ancien = std::nullopt);
// Whether the state may go: not while a stay is in it, nor when it is the last one. Read
// without writing, so the owner can be asked before supprimerEtat(), which checks again.
Issue refusDeSuppression(const QSqlDatabase &base, qint32 code);
Issue supprimerEtat(const QSqlDatabase &base, qint32 code);
Issue fixerOccupe(const QSqlDatabase &base, qint32 code, bool occupe);

} // namespace EtatsEtablissement

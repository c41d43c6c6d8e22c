#pragma once

#include "data/Tarification.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The tariffs stored in the base: the seasons of each category (SAISONS) and the catalogue of
// services (PRESTATIONS), with what each stay chose (PRESTATIONSSEJOUR, EXONERATIONS). Works on
// a file and on a server alike.
namespace TarifsEtablissement {

// The categories to price: those of the objects, and those that still have seasons though no
// object has them any more, sorted the French way; "" (objects without one) last.
QSqlError categories(const QSqlDatabase &base, QStringList &categories);

// The seasons of a category ("" for objects without one), by first night. The category is
// taken without its surrounding blanks, here and in the writes.
QSqlError lireSaisons(const QSqlDatabase &base, const QString &categorie,
                      QVector<Tarification::Saison> &saisons);
// Replaces every season of the category in one transaction, after Tarification::refusDesSaisons
// (its French reason comes back as the error, and nothing is stored).
QSqlError ecrireSaisons(const QSqlDatabase &base, const QString &categorie,
                        const QVector<Tarification::Saison> &saisons);
// The same, when the category's seasons are still `attendues` (as the editor showed them):
// otherwise nothing is stored and the error is a conflict (estUnConflit).
QSqlError ecrireSaisons(const QSqlDatabase &base, const QString &categorie,
                        const QVector<Tarification::Saison> &saisons,
                        const QVector<Tarification::Saison> &attendues);

enum class Unite { ParNuit = 0, ParSejour = 1, ParPersonneEtNuit = 2 };

struct Prestation
{
    int numero = 0;
    QString libelle;
    qint64 prix = 0; // cents, VAT included
    Unite unite = Unite::ParNuit;
    int tauxTva = 1000;
    bool retire = false;
};

// "par nuit", "par séjour", "par personne et nuit"
QString texteUnite(Unite unite);

// The whole catalogue by number, retired services included (a stay may still hold one).
QSqlError lirePrestations(const QSqlDatabase &base, QVector<Prestation> &prestations);
// Adds (numero 0: the next free number is given and set) or replaces a service, refused in
// French for a blank label, a price beyond 0 to 100 000 € or a rate beyond 0 to 100 %.
QSqlError ecrirePrestation(const QSqlDatabase &base, Prestation &prestation);
// The same for a service stored as `attendue` (as the editor showed it): when another desk
// changed it since, nothing is stored and the error is a conflict (estUnConflit).
QSqlError ecrirePrestation(const QSqlDatabase &base, Prestation &prestation,
                           const Prestation &attendue);
// The service as stored now; nothing when there is none of that number.
QSqlError lirePrestation(const QSqlDatabase &base, int numero,
                         std::optional<Prestation> &prestation);
bool memePrestation(const Prestation &a, const Prestation &b);

// What a stay chose: quantities by service number (a quantity of 0 is not stored).
struct Choix
{
    int prestation = 0;
    int quantite = 1;
};
QSqlError lireChoix(const QSqlDatabase &base, int reservation, QVector<Choix> &choix);
// The adults of the stay declared exempt from the tourist tax.
QSqlError lireExoneres(const QSqlDatabase &base, int reservation, int &adultes);
// Both in one transaction (the caller's, when one is open).
QSqlError ecrireChoix(const QSqlDatabase &base, int reservation, const QVector<Choix> &choix,
                      int adultesExoneres);

} // namespace TarifsEtablissement

#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

// The rooms, pitches and chalets of the establishment as the settings edit them. Table order
// (the rowid) is the planning's line order, so every routine here keeps it meaningful: a new
// object goes last, a copy right after its source, a move exchanges two rowids.
//
// Every write is one transaction: on an error nothing has changed. What a value may be is
// RegleObjet's business; what only the base can tell (a number taken, an object with stays)
// is checked here, inside the transaction, and refused with a French sentence of our own:
// such an error has no engine code nor engine text (see estUnRefus).

struct ObjetEtablissement
{
    qint64 rowid = 0;
    qint32 numero = 0;
    QString nom;
    QVariant nomInternet, fichierPlanningHTML, categorie, capacite; // null: Null in the base
    bool retire = false;
};

namespace ObjetsEtablissement {

// The categories offered before any the base holds.
QStringList categoriesCourantes();

// True when `erreur` is one of our refusals, whose text is the whole French sentence.
bool estUnRefus(const QSqlError &erreur);

// Every object, retired ones included, in planning order.
QSqlError lireObjets(const QSqlDatabase &base, QVector<ObjetEtablissement> &objets);
// The row `rowid`; a refusal when it has gone (deleted from another desk).
QSqlError lireObjet(const QSqlDatabase &base, qint64 rowid, ObjetEtablissement &objet);
// categoriesCourantes() in their order, then every other non-empty category the base holds,
// sorted the French way, each once.
QSqlError categoriesUtilisees(const QSqlDatabase &base, QStringList &categories);
// The categories of the objects the planning draws (retired ones left out), each once, in the
// order they first come on the planning; empty when the base cannot tell.
QStringList categoriesDuPlanning(const QSqlDatabase &base);
// How many stays (RESERVATIONS rows) name `numero` as their object.
QSqlError nombreDeSejours(const QSqlDatabase &base, qint32 numero, int &nombre);

// A new object last in the planning: the highest number + 1 (1 in an empty table), named
// "Objet " + its number, of category `categorie`. `ajoute` receives it.
QSqlError ajouterObjet(const QSqlDatabase &base, const QVariant &categorie,
                       ObjetEtablissement &ajoute);
// A copy of `rowidSource` right after it in the planning, under the smallest free number above
// the source's; named as the source + " (copie)", same category and capacity, neither web name
// nor page (two objects must not write the same page), not retired.
QSqlError dupliquerObjet(const QSqlDatabase &base, qint64 rowidSource, ObjetEtablissement &copie);
// Stores one column ("Numero", "Nom", "NomInternet", "FichierPlanningHTML", "Categorie",
// "Capacite" or "retire") of one object, the value already read by RegleObjet. A new number
// is refused when another object has it, and takes the object's stays along. With `attendue`
// (what the editor showed), nothing is stored when the column holds something else by now: the
// error is then a conflict (estUnConflit) and the owner chooses.
QSqlError modifierChamp(const QSqlDatabase &base, qint64 rowid, const QString &colonne,
                        const QVariant &valeur,
                        const std::optional<QVariant> &attendue = std::nullopt);

// One column of an object as stored ("Numero" ... "Capacite"), and whether two such values are
// the same (Null only equals Null).
QVariant valeurDuChamp(const ObjetEtablissement &objet, const QString &colonne);
bool memeValeur(const QVariant &a, const QVariant &b);
// Exchanges the planning places of two objects.
QSqlError echangerOrdre(const QSqlDatabase &base, qint64 rowidA, qint64 rowidB);
QSqlError fixerRetire(const QSqlDatabase &base, qint64 rowid, bool retire);
// Deletes an object; refused while stays name it (their history would be lost with it).
QSqlError supprimerObjet(const QSqlDatabase &base, qint64 rowid);

// "« Chambre 3 » a 12 séjours enregistrés" (one stay: "a 1 séjour enregistré").
QString sejoursEnregistres(const QString &nom, int nombre);

} // namespace ObjetsEtablissement

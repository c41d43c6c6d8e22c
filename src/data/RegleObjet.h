#pragma once

#include <QString>
#include <QVariant>

// What an object of the establishment may hold, whether typed in the settings or read from an
// imported list. Each reading gives the value to store, or the French sentence that says why
// the text is refused; whether a number is already used is for the caller, who knows the base.
namespace RegleObjet {

// Names longer than this would not fit the planning's column nor a web page's title.
inline constexpr int LongueurMaximale = 100;
inline constexpr int CapaciteMaximale = 9999;

struct Lecture
{
    QVariant valeur; // a null QVariant stores Null
    QString refus; // empty when the text is accepted

    bool acceptee() const { return refus.isEmpty(); }
};

// A whole number from 1 to 2147483647; blanks around are ignored.
Lecture numero(const QString &texte);
// Not empty once trimmed, at most LongueurMaximale characters; kept as typed.
Lecture nom(const QString &texte);
// The web name: empty stores Null (the name is then published).
Lecture nomInternet(const QString &texte);
// The page's file name: empty stores Null (made from the name); otherwise a plain file name
// ending in .html or .htm, with no folder in it.
Lecture fichierPlanningHTML(const QString &texte);
// Free text, empty stores Null.
Lecture categorie(const QString &texte);
// Persons: empty stores Null, otherwise a whole number from 1 to CapaciteMaximale.
Lecture capacite(const QString &texte);

// The rule of every one-line text of the settings (objects, states, articles): at most
// `longueurMaximale` characters, no line break nor tab; the French refusal, empty when accepted.
// The second also refuses a blank text.
QString refusDUnTexte(const QString &texte, const QString &quoi, int longueurMaximale);
QString refusDUnTexteObligatoire(const QString &texte, const QString &quoi, int longueurMaximale);

// "Le numéro 12 est déjà utilisé par « Chambre 12 »."
QString numeroDejaUtilise(qint32 numero, const QString &nomDuTitulaire);

} // namespace RegleObjet

#pragma once

#include "app/ReglagesEtablissement.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The papers are described once as a column of blocks, then either drawn into a PDF (flowed
// over as many pages as they need, the tables' header repeated, "Page 1 / 2" at each foot) or
// joined as plain text for a preview: both say the same thing.
namespace MiseEnPage {

enum class Style { Normal, Gras, Petit, Titre };

struct Colonne
{
    QString titre;
    int parts = 1; // share of the table's width
    bool aDroite = false; // amounts and counts
};

struct Bloc
{
    QStringList lignes; // a text: each line wraps within the block's width
    Style style = Style::Normal;
    std::optional<Style> premiere; // a text: its first line's own style (a name, a title)
    QVector<Colonne> colonnes; // a table when not empty
    QVector<QStringList> rangees;
    bool entete = true; // the header row, repeated on each page the table runs on
    int grasses = 0; // the last rows in bold, a rule over them: the totals
    double gauche = 0, largeur = 1; // fractions of the width between the margins
    bool aCote = false; // beside the previous block, at the same height
    bool insecable = false; // moved whole to the next page rather than cut
    bool enBas = false; // pushed down to the foot of the page
    double espaceAvant = 4; // millimetres
};

struct Document
{
    QString titre; // the PDF's own title
    bool paysage = false;
    QVector<Bloc> blocs;
};

// Empty when written, or the French sentence of the failure. The file is written aside in its
// folder then put in place: a refused write never leaves half a file, nor spoils an older one.
QString ecrirePdf(const Document &document, const QString &chemin);
QString texte(const Document &document);

// What the three papers share.
QString date(const QDate &jour); // "10/12/2026"
QString personnes(int adultes, int enfants); // "2 adultes, 1 enfant"
Bloc paragraphe(const QStringList &lignes, double espaceAvant = 4);
// The head of the invoice and the contract: the establishment on the left, beside it the title
// (its first line large) and under it the guest (the first line, the name, in bold).
QVector<Bloc> enTete(const Etablissement &etablissement, const QStringList &titre,
                     const QStringList &client);
// The sentence of a refused write of `chemin`, from the system's error.
QString refusEcriture(const QString &chemin, const QString &raison);

} // namespace MiseEnPage

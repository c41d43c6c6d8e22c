#pragma once

#include <QByteArray>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVector>

// A list of objects (rooms, pitches, chalets) saved by a spreadsheet as CSV, read and checked
// before anything is written: what would be added, and each line refused with its reason.
//
// Line numbers are those the spreadsheet shows: the header is line 1, an empty line counts, and
// a quoted cell holding a line break keeps its row one line.

// Past these the file is refused as a whole: a list of rooms and pitches is never that large,
// and the preview must stay quick.
inline constexpr qint64 TailleMaximaleImport = 5 * 1024 * 1024;
inline constexpr int LignesMaximalesImport = 10000;

struct LigneImportee
{
    int ligne = 0;
    qint32 numero = 0;
    QString nom;
    QVariant categorie; // null stores Null
    QVariant capacite; // null stores Null
};

struct LigneRefusee
{
    int ligne = 0;
    QString contenu; // the line's first characters, as the owner would recognise it
    QString raison;
};

struct ApercuImportation
{
    // Why the whole file is refused (French); when set, the two lists are empty.
    QString refusGlobal;
    QVector<LigneImportee> ajouts; // in file order
    QVector<LigneRefusee> refus; // in file order
};

// The objects of `contenu` (the file's bytes: UTF-8 with or without its mark, otherwise
// Windows-1252; cells separated by ';' or ',' as the header line is), each checked with
// RegleObjet and against `numerosPris` (number -> name of the object of the base holding it)
// and the earlier lines of the file.
ApercuImportation lireListeObjets(const QByteArray &contenu,
                                  const QHash<qint32, QString> &numerosPris);

// The same for the file `chemin` and the objects of `base`, retired ones included since they
// keep their number. A file that cannot be read, or a base that cannot be, is a whole refusal.
ApercuImportation lireFichierObjets(const QString &chemin, const QSqlDatabase &base);

// Adds `lignes` after the objects of `base`, in their order, as one write: all or none. The
// numbers are checked again once the base is locked, since another desk may have taken one
// since the preview; such a refusal is an error of ours, in French.
QSqlError ajouterObjetsImportes(const QSqlDatabase &base, const QVector<LigneImportee> &lignes);

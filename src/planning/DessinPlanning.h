#pragma once

#include "planning/ReservationAffichee.h"

#include <QDate>
#include <QHash>
#include <QSqlDatabase>

class SurfaceImage;

// The surfaces the planning draws on, sized by the window before each redraw.
struct SurfacesPlanning
{
    SurfaceImage *lesmois; // month strip
    SurfaceImage *TexteColonnes; // weekday and day headings
    SurfaceImage *objets; // object names
    SurfaceImage *planning; // the grid and its bars
};

struct ResultatDessin
{
    ReservationsAffichees barres; // index 0 unused
    qint32 reservation_courante = 0; // index of the bar of reservation_encours, 0 when none
    int nombreDeJours = 0; // day columns drawn; the query's end date is datedepart + this
    QHash<qint32, QString> nomsDesObjets; // of the lines drawn, by number
    QVector<qint32> numerosDesLignes; // the object of each line drawn, top first
};

// Bar rectangle of a stay on the row whose top is `ligne`: 2 pixels in from each end of the
// stay and from the row's edges, day fractions counted (a noon start is half a column in),
// rounded to the nearest pixel, halves to even. A missing date leaves its x at 0. Days count
// on the calendar, so a daylight-saving day is one column like any other. A stay of years
// keeps its side of the grid but stays within +-2^30 pixels, so that callers may add or
// subtract two edges without overflow.
void calculerBarre(ReservationAffichee &barre, const QDate &datedepart, int largeurjour, int ligne,
                   int hauteurligne);

// The whole redraw of the planning from the database (objects, then one query per object), on
// surfaces already sized. Never fails: a statement that cannot run is skipped. Only the stays
// whose bar can still reach the first column are read, so past years cost nothing; what is
// drawn is the same as if every earlier stay had been read. The queries run in one read
// transaction when the connection has none open. A column width or row height below 1 is
// taken as 1. `recyclees`, the bars of the previous redraw, lends its memory to the new ones.
// A `categorie` draws only the objects of that category; empty, every object. Retired objects
// are never drawn.
ResultatDessin dessinerPlanning(const SurfacesPlanning &surfaces, const QSqlDatabase &base,
                                const QDate &datedepart, int largeurjour, int hauteurligne,
                                qint32 reservation_encours,
                                ReservationsAffichees recyclees = ReservationsAffichees(),
                                const QString &categorie = QString());

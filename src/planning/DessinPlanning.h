#pragma once

#include "planning/ReservationAffichee.h"

#include <QDate>
#include <QHash>
#include <QSqlDatabase>

#include <optional>

class SurfaceImage;

// The surfaces the planning draws on, sized by the window before each redraw.
struct SurfacesPlanning
{
    SurfaceImage *lesmois; // month strip
    SurfaceImage *TexteColonnes; // weekday and day headings
    SurfaceImage *objets; // object names
    SurfaceImage *planning; // the grid and its bars
};

// What the window shows: from which day, at which scale, which lines.
struct VuePlanning
{
    QDate datedepart;
    int largeurjour = 20;
    int hauteurligne = 20;
    qint32 reservation_encours = 0;
    QString categorie; // only the objects of that category; empty, every object
    int premiereLigne = 0; // the line asked for at the top, brought within the lines there are
    qint32 objetAMontrer = 0; // an object whose line must be in view; 0, none
    // The height of the grid that shows, when the window hides the foot of the picture; 0, all
    // of it.
    int hauteurVisible = 0;
};

struct ResultatDessin
{
    ReservationsAffichees barres; // index 0 unused
    qint32 reservation_courante = 0; // index of the bar of reservation_encours, 0 when none
    int nombreDeJours = 0; // day columns drawn; the query's end date is datedepart + this
    QHash<qint32, QString> nomsDesObjets; // of the lines drawn, by number
    QVector<qint32> numerosDesLignes; // the object of each line drawn, top first
    int nombreDeLignes = 0; // every line of the selection, drawn or not
    int premiereLigne = 0; // the line drawn at the top
    bool objetMontre = false; // `objetAMontrer` is among the lines drawn
    // The base could not be read (held by another desk past the wait). When the list of lines
    // could not be read, nothing was drawn and `barres` are the ones handed in.
    bool lectureEchouee = false;
    bool imageGardee = false;
};

// Bar rectangle of a stay on the row whose top is `ligne`: 2 pixels in from each end of the
// stay and from the row's edges, day fractions counted (a noon start is half a column in),
// rounded to the nearest pixel, halves to even. A missing date leaves its x at 0. Days count
// on the calendar, so a daylight-saving day is one column like any other. A stay of years
// keeps its side of the grid but stays within +-2^30 pixels, so that callers may add or
// subtract two edges without overflow.
void calculerBarre(ReservationAffichee &barre, const QDate &datedepart, int largeurjour, int ligne,
                   int hauteurligne);

// The whole redraw of the planning from the database (objects, then one query per line shown),
// on surfaces already sized. A statement that cannot run is skipped and said in
// `lectureEchouee`; when the objects cannot be read the surfaces are left as they were. Only the
// stays whose bar can still reach the first column are read, so past years cost nothing; what
// is drawn is the same as if every earlier stay had been read. Only the lines that show are
// read, so a site of a thousand objects costs what one screen of them does. The queries run in
// one read transaction when the connection has none open. A column width or row height below 1
// is taken as 1. `recyclees`, the bars of the previous redraw, lends its memory to the new ones.
// Retired objects are never drawn.
//
// The first line drawn is the one asked for, moved so that the last line is no higher than the
// bottom of the grid and so that `objetAMontrer`, when among the lines, shows whole.
ResultatDessin dessinerPlanning(const SurfacesPlanning &surfaces, const QSqlDatabase &base,
                                const VuePlanning &vue,
                                ReservationsAffichees recyclees = ReservationsAffichees());

// The bar of one stay read from the base as the planning reads it, its rectangle not placed;
// nothing when there is no such stay or it cannot be read.
std::optional<ReservationAffichee> lireReservationAffichee(const QSqlDatabase &base, qint32 numero);

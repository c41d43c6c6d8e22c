#pragma once

#include "planning/ReservationAffichee.h"

class Appelante;
class QWidget;
class reservations;

// How the planning hands a bar to the reservation dialog and waits for it.
namespace OuvertureReservation {

// Puts the dialog in modify mode and fills it from the bar, in the order the dialog relies on
// (the window caption and `numreservation` carry the number it saves under), shows it, counts
// the nights, fills the account and names `appelante` as the window to give control back to.
// A field the bar cannot give (a missing date) is left as the dialog had it.
void remplir(reservations &dialogue, const ReservationAffichee &barre, Appelante *appelante);

// Returns once `fenetre` is enabled again or `dialogue` is gone (closed by any means), letting
// every event run meanwhile; sleeps in the event loop rather than spinning.
void attendreReactivation(QWidget *fenetre, QWidget *dialogue);

// Returns once `dialogue` is gone.
void attendreFermeture(QWidget *dialogue);

} // namespace OuvertureReservation

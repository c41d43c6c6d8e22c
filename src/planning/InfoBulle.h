#pragma once

#include "planning/ReservationAffichee.h"

#include <QString>

// What hovering a bar tells: client, object, arrival and departure with their hours, nights,
// persons, state, deposit and the first line of the remark. Lines without a value are left
// out.
QString texteInfobulle(const ReservationAffichee &barre, const QString &nomObjet);

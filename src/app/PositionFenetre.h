#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// What the window-position memory writes and reads, without a window.
namespace PositionFenetre {

// "left|top|width|height".
QString texte(const QRect &geometrie);
// The four numbers of a "Positions" value; nothing for "0" (nothing stored) or a value without
// four fields.
std::optional<QRect> lire(const QString &valeur);

// "0" normal, "1" minimised, "2" maximised; and back (anything else is normal).
QString texteEtat(Qt::WindowStates etat);
Qt::WindowStates etatDepuis(const QString &texte);

// A stored place that lies wholly off every screen (a monitor since unplugged) is brought
// back onto `principal`, centred, keeping its size as far as it fits. A place larger than the
// screen it lies on most is cut to that screen's size and moved wholly onto it. Any other place
// is kept as stored, even half off its screen.
QRect surUnEcran(const QRect &geometrie, const QList<QRect> &ecrans, const QRect &principal);

} // namespace PositionFenetre

#pragma once

#include <QDate>

class QWidget;

// What the reservation dialog may touch of the window that opened it, and of the planning: the
// stay to highlight, the first day shown, a redraw, and the window itself to enable again. The
// dialog knows no more of them than this.
class Appelante
{
public:
    virtual ~Appelante() = default;
    virtual void fixerReservationEncours(qint32 numero) = 0;
    virtual void fixerDatedepart(const QDate &jour) = 0;
    virtual void rafraichir() = 0;
    virtual QWidget *fenetre() = 0;
};

#pragma once

#include <QSqlDatabase>
#include <QSqlError>

// The number a new reservation takes: one more than the highest number found in RESERVATIONS
// and in the journal OPERATIONS together. The store alone would give the highest reservation's
// number + 1, which is the number of a reservation just deleted when it was the highest one:
// the new stay would then show the old stay's payments and notes as its own.
//
// To hold until the row is stored, call it inside the TransactionEcriture that stores it.
// An error (a table unreadable, every number taken) leaves `numero` untouched.
QSqlError numeroDeLaNouvelleReservation(const QSqlDatabase &base, qint32 &numero);

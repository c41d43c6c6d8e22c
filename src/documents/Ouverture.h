#pragma once

#include <QString>

// Hands a paper over to the desktop's own programs. Each gives back an empty text when handed
// over, or the French sentence of why it could not be.

// Opens the file in the program the desktop has for its kind (a PDF reader, a spreadsheet).
QString ouvrirDocument(const QString &chemin);

// Opens a new mail in the desktop's mail program, `pieceJointe` attached when given; an empty
// `adresse` leaves the recipient for the owner to fill in.
QString envoyerParCourriel(const QString &adresse, const QString &sujet, const QString &corps,
                           const QString &pieceJointe);

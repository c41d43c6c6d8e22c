#pragma once

#include "data/SchemaBase.h"

#include <QString>
#include <QVariant>

// The value to bind for a column of this genre, converted as Jet would have stored it. A Null
// passes as it is. When the column cannot hold the value, `refus` receives the reason, worded to
// follow "Le champ « nom »", and the result is an invalid QVariant.
QVariant valeurPourColonne(GenreColonne genre, const QVariant &valeur, QString *refus);

#pragma once

#include <QSqlError>
#include <QString>

// A store refused because another desk changed the row since this one showed it: nothing was
// written, and the window asks the owner whose version to keep.
QSqlError erreurConflit(const QString &texte);
bool estUnConflit(const QSqlError &erreur);

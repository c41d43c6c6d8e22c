#pragma once

#include <QFileDevice>
#include <QString>

// What the system says about a failure is English and technical; what the user reads must be
// French. These routines only translate: no file, no window, no database.

// The French sentence for a system error number (ENAMETOOLONG, EACCES, EPERM, ENOSPC, EDQUOT,
// ENOENT, EROFS, EISDIR), or an empty text for any other number.
QString messageErrnoEnFrancais(int numero);

// A French sentence for a failed file operation, from the device's error and its errorString().
// When the system text is that of one of the numbers above, its sentence alone; otherwise a
// French sentence for `erreur` followed by the system text in parentheses, so that nothing
// useful is lost. Empty when there is neither an error nor a text.
QString messageFichierEnFrancais(QFileDevice::FileError erreur, const QString &texteSysteme);

#pragma once

#include <QFileDevice>
#include <QSqlError>
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

// A French sentence for a failure of the database, from the engine's own error code (SQLite's
// result code in nativeErrorCode(), extended codes included): read-only, busy or locked, disk
// full, disk error, file missing or unopenable, permission, a rule of the base refused the row,
// file damaged. For a code without a sentence, a general French sentence followed by the
// engine's English text in parentheses, so that nothing useful is lost. An error of our own
// making (no engine code, no engine text) is French already and comes back as it stands.
// Empty for no error.
QString messageBaseEnFrancais(const QSqlError &erreur);

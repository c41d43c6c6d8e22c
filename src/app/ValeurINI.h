#pragma once

#include <QString>

// Modes of ValeurINI. Any non-zero value other than LIRE_ET_CREER behaves as LIRE.
enum ModeINI : qint16 { ECRIRE = 0, LIRE = 1, LIRE_ET_CREER = 2 };

// Reads or writes one setting. In the read modes `valeur` is the default; in ECRIRE it is the
// value to store. `fichier` is empty (main settings file), "$" + a key path (the registry
// store), or a file name (without a folder: in the application folder).
// Never fails towards the caller: a read that cannot be done returns the default, a write that
// cannot be done returns the value all the same. Nothing is cached.
QString ValeurINI(const QString &section, const QString &cle, const QString &valeur,
                  const QString &fichier, qint16 mode);

// The registry store: a separate settings file in the user's configuration folder, one section
// per key path ("HKEY_CURRENT_USER\Software\X\S"). Unknown root names select nothing.
QString LireRegistre(const QString &cheminCle, const QString &nomValeur);
void EcrireRegistre(const QString &cheminCle, const QString &nomValeur, const QString &valeur);

// Path of the file that backs the registry store.
QString fichierRegistre();

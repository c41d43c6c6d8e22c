#pragma once

#include <QString>

#include <functional>

// The software-update request: one FTP download with a user name and a password, made on a
// thread of its own so the window never waits for the network.
namespace RequeteMiseAJour {

struct Requete
{
    QString serveur; // "ftp://host[:port]/" from the settings; empty: nothing is sent
    QString utilisateur;
    QString motDePasse;
    QString fichierDistant; // relative to the server's folder
    QString fichierLocal;
};

// Starts the download and returns at once. `fin`, if given, is called on that thread when the
// transfer ends, with an empty text or what went wrong. False when nothing was started (no
// server).
bool lancer(const Requete &requete, std::function<void(const QString &erreur)> fin = {});

} // namespace RequeteMiseAJour

#include "web/RequeteMiseAJour.h"

#include <QFile>

#include <curl/curl.h>

#include <thread>

namespace RequeteMiseAJour {

namespace {

size_t ecrire(char *octets, size_t taille, size_t nombre, void *fichier)
{
    auto *sortie = static_cast<QFile *>(fichier);
    return size_t(sortie->write(octets, qint64(taille * nombre)));
}

QString telecharger(const Requete &requete)
{
    QFile sortie(requete.fichierLocal);
    if (!sortie.open(QIODevice::WriteOnly))
        return QStringLiteral("le fichier « %1 » ne peut pas être écrit").arg(requete.fichierLocal);
    CURL *curl = curl_easy_init();
    if (!curl)
        return QStringLiteral("la bibliothèque de transfert ne démarre pas");
    QString adresse = requete.serveur;
    if (!adresse.endsWith(u'/'))
        adresse += u'/';
    const QByteArray url = (adresse + requete.fichierDistant).toUtf8();
    const QByteArray utilisateur = requete.utilisateur.toUtf8();
    const QByteArray motDePasse = requete.motDePasse.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_USERNAME, utilisateur.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, motDePasse.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &ecrire);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sortie);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    const CURLcode resultat = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (resultat != CURLE_OK)
        return QString::fromUtf8(curl_easy_strerror(resultat));
    return QString();
}

} // namespace

bool lancer(const Requete &requete, std::function<void(const QString &erreur)> fin)
{
    if (requete.serveur.trimmed().isEmpty())
        return false;
    static const bool initialise = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialise)
        return false;
    std::thread([requete, fin = std::move(fin)] {
        const QString erreur = telecharger(requete);
        if (fin)
            fin(erreur);
    }).detach();
    return true;
}

} // namespace RequeteMiseAJour

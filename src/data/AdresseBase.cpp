#include "data/AdresseBase.h"

#include <QByteArray>
#include <QUrl>

namespace {

QString sansGuillemets(const QString &texte)
{
    QString net = texte.trimmed();
    if (net.size() >= 2
        && ((net.startsWith(u'"') && net.endsWith(u'"'))
            || (net.startsWith(u'\'') && net.endsWith(u'\''))))
        net = net.mid(1, net.size() - 2).trimmed();
    return net;
}

QString decode(QStringView texte)
{
    return QUrl::fromPercentEncoding(texte.toUtf8());
}

std::optional<AdressePostgres> refuser(QString *refus, const QString &raison)
{
    if (refus)
        *refus = raison;
    return std::nullopt;
}

} // namespace

bool estAdressePostgres(const QString &texte)
{
    const QString net = sansGuillemets(texte);
    return net.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || net.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

std::optional<AdressePostgres> lireAdressePostgres(const QString &texte, QString *refus)
{
    const QString net = sansGuillemets(texte);
    if (!estAdressePostgres(net))
        return refuser(refus, QStringLiteral("l'adresse ne commence pas par « postgresql:// »."));
    QStringView reste = QStringView(net).mid(net.indexOf(QLatin1String("://")) + 3);
    AdressePostgres adresse;

    // The query after '?', the base after the first '/' of what is left.
    if (const qsizetype point = reste.indexOf(u'?'); point >= 0) {
        QStringList options;
        for (const QStringView paire : reste.mid(point + 1).split(u'&', Qt::SkipEmptyParts)) {
            const qsizetype egal = paire.indexOf(u'=');
            const QString cle = decode(egal < 0 ? paire : paire.left(egal)).trimmed();
            const QString valeur = egal < 0 ? QString() : decode(paire.mid(egal + 1));
            if (cle.isEmpty() || cle.contains(u';') || valeur.contains(u';'))
                return refuser(refus,
                               QStringLiteral("l'option « %1 » de l'adresse est illisible.")
                                   .arg(paire.toString()));
            options << cle + u'=' + valeur;
        }
        adresse.options = options.join(u';');
        reste = reste.left(point);
    }
    const qsizetype barre = reste.indexOf(u'/');
    if (barre < 0 || decode(reste.mid(barre + 1)).trimmed().isEmpty())
        return refuser(refus,
                       QStringLiteral("le nom de la base manque à la fin de l'adresse "
                                      "(…/nom_de_la_base)."));
    adresse.base = decode(reste.mid(barre + 1));
    reste = reste.left(barre);

    // "user[:password]@" before the host: the last '@', a password may hold one encoded or not.
    if (const qsizetype arobase = reste.lastIndexOf(u'@'); arobase >= 0) {
        const QStringView identite = reste.left(arobase);
        const qsizetype deuxPoints = identite.indexOf(u':');
        adresse.utilisateur = decode(deuxPoints < 0 ? identite : identite.left(deuxPoints));
        if (deuxPoints >= 0)
            adresse.motDePasse = decode(identite.mid(deuxPoints + 1));
        reste = reste.mid(arobase + 1);
    }

    // "host[:port]", the host between brackets when it is an IPv6 address.
    QStringView hote = reste;
    QStringView port;
    if (reste.startsWith(u'[')) {
        const qsizetype fin = reste.indexOf(u']');
        if (fin < 0)
            return refuser(refus, QStringLiteral("l'adresse du serveur est illisible."));
        hote = reste.mid(1, fin - 1);
        if (reste.mid(fin + 1).startsWith(u':'))
            port = reste.mid(fin + 2);
    } else if (const qsizetype deuxPoints = reste.lastIndexOf(u':'); deuxPoints >= 0) {
        hote = reste.left(deuxPoints);
        port = reste.mid(deuxPoints + 1);
    }
    if (!hote.trimmed().isEmpty())
        adresse.hote = decode(hote).trimmed();
    if (!port.isEmpty()) {
        bool lu = false;
        adresse.port = port.toInt(&lu);
        if (!lu || adresse.port < 1 || adresse.port > 65535)
            return refuser(
                refus,
                QStringLiteral("le port « %1 » n'est pas un numéro de port.").arg(port.toString()));
    }
    return adresse;
}

QString adresseLisible(const AdressePostgres &adresse)
{
    QString texte = QStringLiteral("postgresql://");
    if (!adresse.utilisateur.isEmpty())
        texte += adresse.utilisateur + u'@';
    const bool ipv6 = adresse.hote.contains(u':');
    texte += (ipv6 ? u'[' + adresse.hote + u']' : adresse.hote) + u':'
        + QString::number(adresse.port) + u'/' + adresse.base;
    return texte;
}

#include "app/FichierIni.h"

#include <QStringDecoder>

namespace {

const QLatin1String FinDeLigne("\r\n");

// A value or a name must stay on one line, or the next read would see a different file.
QString surUneLigne(QString texte)
{
    texte.replace(QLatin1Char('\r'), QLatin1Char(' '));
    texte.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return texte;
}

bool entreGuillemets(const QString &texte)
{
    return texte.size() >= 2 && texte.startsWith(QLatin1Char('"'))
        && texte.endsWith(QLatin1Char('"'));
}

bool estEntete(const QString &ligne, QString *nom)
{
    const QString texte = ligne.trimmed();
    if (!texte.startsWith(QLatin1Char('[')))
        return false;
    const int fin = texte.indexOf(QLatin1Char(']'), 1);
    *nom = (fin < 0 ? texte.mid(1) : texte.mid(1, fin - 1)).trimmed();
    return true;
}

bool estCle(const QString &ligne, QString *nom)
{
    const QString texte = ligne.trimmed();
    if (texte.startsWith(QLatin1Char(';')) || texte.startsWith(QLatin1Char('[')))
        return false;
    const int egal = ligne.indexOf(QLatin1Char('='));
    if (egal < 0)
        return false;
    *nom = ligne.left(egal).trimmed();
    return true;
}

bool memeNom(const QString &nomDansFichier, const QString &nomEffectif)
{
    return nomDansFichier.compare(nomEffectif, Qt::CaseInsensitive) == 0;
}

QString pourEcriture(const QString &valeur)
{
    const QString texte = surUneLigne(valeur);
    if (texte != texte.trimmed() || entreGuillemets(texte))
        return QLatin1Char('"') + texte + QLatin1Char('"');
    return texte;
}

QString decoder(QByteArray octets)
{
    // Tools that add a mark without looking may stack several; one left behind would hide the
    // first section and come back as a mark at the next write.
    while (octets.startsWith("\xEF\xBB\xBF"))
        octets.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texte = utf8.decode(octets);
    if (!utf8.hasError())
        return texte;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(octets);
    return QString::fromLatin1(octets);
}

} // namespace

FichierIni FichierIni::depuisOctets(const QByteArray &octets)
{
    FichierIni fichier;
    fichier.m_lignes = decoder(octets).split(QLatin1Char('\n'));
    // A last line break ends the last line; it does not start an empty one.
    if (fichier.m_lignes.last().isEmpty())
        fichier.m_lignes.removeLast();
    for (QString &ligne : fichier.m_lignes) {
        if (ligne.endsWith(QLatin1Char('\r')))
            ligne.chop(1);
    }
    return fichier;
}

QByteArray FichierIni::versOctets() const
{
    QString texte;
    for (const QString &ligne : m_lignes)
        texte += ligne + FinDeLigne;
    return texte.toUtf8();
}

std::optional<QString> FichierIni::valeur(const QString &section, const QString &cle) const
{
    const int entete = ligneSection(nomEffectif(section));
    if (entete < 0)
        return std::nullopt;
    const int ligne = ligneCle(entete, nomEffectif(cle));
    if (ligne < 0)
        return std::nullopt;
    const QString &texte = m_lignes.at(ligne);
    QString resultat = texte.mid(texte.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (entreGuillemets(resultat))
        resultat = resultat.mid(1, resultat.size() - 2);
    return resultat;
}

void FichierIni::ecrire(const QString &section, const QString &cle, const QString &valeur)
{
    const QString nomSection = nomEffectif(section);
    const QString nomCle = nomEffectif(cle);
    const QString texte = pourEcriture(valeur);

    const int entete = ligneSection(nomSection);
    if (entete < 0) {
        m_lignes << QLatin1Char('[') + nomSection + QLatin1Char(']');
        m_lignes << nomCle + QLatin1Char('=') + texte;
        return;
    }
    const int ligne = ligneCle(entete, nomCle);
    if (ligne >= 0) {
        // Keep the key as the file spells it, and the blanks after "=": only the value changes.
        QString &existante = m_lignes[ligne];
        int debut = existante.indexOf(QLatin1Char('=')) + 1;
        while (debut < existante.size()
               && (existante.at(debut) == QLatin1Char(' ')
                   || existante.at(debut) == QLatin1Char('\t')))
            ++debut;
        existante = existante.left(debut) + texte;
        return;
    }
    // After the section's last non-blank line, so the blank line that separates it from the
    // next section stays where it was.
    int fin = finSection(entete);
    while (fin > entete + 1 && m_lignes.at(fin - 1).trimmed().isEmpty())
        --fin;
    m_lignes.insert(fin, nomCle + QLatin1Char('=') + texte);
}

QString FichierIni::nomEffectif(const QString &nom)
{
    return surUneLigne(couper(nom, LongueurMaxNom)).trimmed();
}

QString FichierIni::couper(const QString &texte, int longueur)
{
    if (texte.size() <= longueur)
        return texte;
    if (longueur > 0 && texte.at(longueur - 1).isHighSurrogate())
        --longueur;
    return texte.left(longueur);
}

int FichierIni::ligneSection(const QString &section) const
{
    QString nom;
    for (int i = 0; i < m_lignes.size(); ++i) {
        if (estEntete(m_lignes.at(i), &nom) && memeNom(nom, section))
            return i;
    }
    return -1;
}

int FichierIni::finSection(int entete) const
{
    QString nom;
    int fin = entete + 1;
    while (fin < m_lignes.size() && !estEntete(m_lignes.at(fin), &nom))
        ++fin;
    return fin;
}

int FichierIni::ligneCle(int entete, const QString &cle) const
{
    QString nom;
    const int fin = finSection(entete);
    for (int i = entete + 1; i < fin; ++i) {
        if (estCle(m_lignes.at(i), &nom) && memeNom(nom, cle))
            return i;
    }
    return -1;
}

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// A settings file in the private-profile format, kept as its lines so that a rewrite leaves
// every line it does not touch as it was: comments, blank lines and lines it cannot make sense
// of included. No file access here; the caller reads and writes the bytes.
//
// Section and key names compare without case and without surrounding blanks, and only their
// first LongueurMaxNom characters count. Where a section or a key appears twice, the first one
// is read and written; the later ones are kept but never seen.
class FichierIni
{
public:
    static constexpr int LongueurMaxNom = 600;

    FichierIni() = default;

    // Accepts CR LF and LF endings and skips a UTF-8 byte-order mark. Bytes that are not valid
    // UTF-8 are taken as Windows-1252, the encoding of files edited with older tools.
    static FichierIni depuisOctets(const QByteArray &octets);

    // UTF-8 without byte-order mark, every line ended by CR LF.
    QByteArray versOctets() const;

    // The value without its surrounding blanks and without one pair of surrounding double
    // quotes; nothing when the section or the key is missing. An empty value is not "nothing".
    std::optional<QString> valeur(const QString &section, const QString &cle) const;

    // Replaces the value in place, or adds the key at the end of its section, or adds the
    // section at the end of the file. A value must stay on one line: its line breaks become
    // blanks. A value that would lose something when read back (blanks around it, quotes around
    // it) is written between double quotes.
    void ecrire(const QString &section, const QString &cle, const QString &valeur);

    // The part of a name that takes effect: its first LongueurMaxNom characters, trimmed.
    static QString nomEffectif(const QString &nom);

    // `texte` cut to at most `longueur` characters, never between the two halves of a
    // surrogate pair.
    static QString couper(const QString &texte, int longueur);

private:
    // Line index of the first header of `section`, or -1.
    int ligneSection(const QString &section) const;
    // Index one past the last line of the section whose header is at `entete`.
    int finSection(int entete) const;
    // Line index of the first `cle` in the section whose header is at `entete`, or -1.
    int ligneCle(int entete, const QString &cle) const;

    QStringList m_lignes;
};

#include "Exiger.h"

#include "app/FichierIni.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

// Names the format itself cannot hold: a "]" ends a section name, an "=" ends a key, and a key
// line starting with ";" or "[" is a comment or a header. The program never uses such names.
bool nomsRelisibles(const QString &section, const QString &cle)
{
    const QString nomSection = FichierIni::nomEffectif(section);
    const QString nomCle = FichierIni::nomEffectif(cle);
    return !nomSection.contains(u']') && !nomCle.contains(u'=') && !nomCle.startsWith(u';')
        && !nomCle.startsWith(u'[');
}

// What a value reads back as once written: it had to fit on one line.
QString valeurRelue(QString valeur)
{
    valeur.replace(u'\r', u' ');
    valeur.replace(u'\n', u' ');
    return valeur;
}

} // namespace

// The input is the file's bytes, then the section, the key and the value to write, cut at NUL
// bytes; the file part is fed raw, so that invalid UTF-8 takes the Windows-1252 way.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *octets, std::size_t taille)
{
    const QList<QByteArray> parties
        = QByteArray(reinterpret_cast<const char *>(octets), qsizetype(taille)).split('\0');
    const QString section = QString::fromUtf8(parties.value(1));
    const QString cle = QString::fromUtf8(parties.value(2));
    const QString valeur = QString::fromUtf8(parties.value(3));

    FichierIni fichier = FichierIni::depuisOctets(parties.value(0));
    const QByteArray reecrit = fichier.versOctets();
    exiger(!reecrit.startsWith("\xEF\xBB\xBF"), "versOctets écrit sans marque d'ordre");
    exiger(FichierIni::depuisOctets(reecrit).versOctets() == reecrit,
           "un fichier réécrit se relit et se réécrit à l'identique");

    // The lookup before any write walks the file as it came.
    const std::optional<QString> avant = fichier.valeur(section, cle);
    if (avant)
        exiger(!avant->contains(u'\n'), "une valeur lue tient sur une ligne");

    fichier.ecrire(section, cle, valeur);
    if (!nomsRelisibles(section, cle))
        return 0;
    exiger(fichier.valeur(section, cle) == valeurRelue(valeur),
           "une valeur écrite se relit telle quelle");
    exiger(FichierIni::depuisOctets(fichier.versOctets()).valeur(section, cle)
               == valeurRelue(valeur),
           "une valeur écrite se relit telle quelle après passage par les octets");
    return 0;
}

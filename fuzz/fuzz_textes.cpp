#include "Exiger.h"

#include "conversion/Conversion.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

const QString Interdits = QStringLiteral(" '%-+,=@*()/\\");

// The first two bytes make the field number, so that zero, negative and large numbers all come
// up; the rest is the text, the searched text and the replacement, cut at NUL bytes.
struct Arguments
{
    qint16 numero = 0;
    QString texte;
    QString cherche;
    QString remplace;
};

Arguments lireArguments(const std::uint8_t *octets, std::size_t taille)
{
    Arguments arguments;
    if (taille < 2)
        return arguments;
    arguments.numero = qint16(std::uint16_t(octets[0] | (octets[1] << 8)));
    const QList<QByteArray> parties
        = QByteArray(reinterpret_cast<const char *>(octets + 2), qsizetype(taille - 2)).split('\0');
    arguments.texte = QString::fromUtf8(parties.value(0));
    arguments.cherche = QString::fromUtf8(parties.value(1));
    arguments.remplace = QString::fromUtf8(parties.value(2));
    return arguments;
}

void verifierRemplacer(const Arguments &a)
{
    const QString resultat = Conversion::Remplacer(a.texte, a.cherche, a.remplace);
    if (a.cherche.isEmpty()) {
        exiger(resultat == a.texte, "Remplacer sans texte cherché rend le texte tel quel");
        return;
    }
    if (!a.texte.contains(a.cherche, Qt::CaseInsensitive))
        exiger(resultat == a.texte, "Remplacer sans occurrence rend le texte tel quel");
    // Left to right, without overlaps, the replacement never searched again: what Qt does.
    exiger(resultat == QString(a.texte).replace(a.cherche, a.remplace, Qt::CaseInsensitive),
           "Remplacer remplace comme QString::replace sans la casse");
}

void verifierExtraireChamp(const Arguments &a)
{
    const QString champ = Conversion::ExtraireChamp(a.texte, a.cherche, a.numero);
    if (a.cherche.isEmpty() || a.numero < 1) {
        exiger(champ.isEmpty(), "ExtraireChamp sans séparateur ou sans numéro rend un vide");
        return;
    }
    exiger(!champ.contains(a.cherche), "un champ ne contient pas son séparateur");
    exiger(champ == a.texte.split(a.cherche).value(a.numero - 1),
           "ExtraireChamp rend le champ que QString::split découpe");
}

void verifierNettoyerNom(const QString &texte)
{
    const QString nom = Conversion::NettoyerNom(texte);
    exiger(nom.size() == texte.size(), "NettoyerNom garde la longueur");
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const bool interdit = Interdits.contains(texte.at(i));
        exiger(interdit ? nom.at(i) == u'_' : nom.at(i) == texte.at(i),
               "NettoyerNom ne change que les caractères interdits, en « _ »");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *octets, std::size_t taille)
{
    const Arguments arguments = lireArguments(octets, taille);
    verifierRemplacer(arguments);
    verifierExtraireChamp(arguments);
    verifierNettoyerNom(arguments.texte);
    return 0;
}

#include "Exiger.h"

#include "conversion/Conversion.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// The first character the reader does not step over, or a null character.
QChar premierSignificatif(const QString &texte)
{
    for (const QChar c : texte) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            return c;
    }
    return QChar();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Users run under French settings; the reading must not borrow their decimal comma.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *octets, std::size_t taille)
{
    const QString texte
        = QString::fromUtf8(reinterpret_cast<const char *>(octets), qsizetype(taille));
    const double valeur = Conversion::ValeurNumerique(texte);
    exiger(!std::isnan(valeur), "ValeurNumerique ne rend jamais NaN");
    exiger(Conversion::ValeurNumerique(QStringLiteral(" \t\n") + texte) == valeur,
           "les blancs en tête ne changent pas le nombre");
    exiger(Conversion::ValeurNumerique(QStringLiteral("\r") + texte) == 0.0,
           "un retour chariot en tête arrête la lecture");
    exiger(Conversion::ValeurNumerique(texte + QStringLiteral("\r1")) == valeur,
           "rien n'est lu après un retour chariot");

    const QChar premier = premierSignificatif(texte);
    if (premier != u'+' && premier != u'-') {
        exiger(Conversion::ValeurNumerique(u'-' + texte) == -valeur,
               "un signe moins devant le texte donne l'opposé");
        exiger(Conversion::ValeurNumerique(u'+' + texte) == valeur,
               "un signe plus devant le texte ne change rien");
    }

    // The till writes what it read: any reading must give a money text.
    const QString montant = Conversion::FormatMonetaire(valeur);
    exiger(montant.endsWith(QStringLiteral(" €")) && montant.size() >= 6
               && montant.at(montant.size() - 5) == u',',
           "FormatMonetaire rend « …,cc € »");
    return 0;
}

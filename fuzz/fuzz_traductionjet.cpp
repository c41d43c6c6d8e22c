#include "Exiger.h"

#include "data/TraductionJet.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

// Text the translation has no reason to touch: no quote, bracket or number sign, and no word
// that could be a Boolean.
bool sansRienATraduire(const QString &texte)
{
    for (const QChar c : texte) {
        if (c == u'\'' || c == u'"' || c == u'[' || c == u'#')
            return false;
    }
    return !texte.contains(QStringLiteral("true"), Qt::CaseInsensitive)
        && !texte.contains(QStringLiteral("false"), Qt::CaseInsensitive);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *octets, std::size_t taille)
{
    const QString jet
        = QString::fromUtf8(reinterpret_cast<const char *>(octets), qsizetype(taille));
    const QString sqlite = traduireJet(jet);
    if (sansRienATraduire(jet))
        exiger(sqlite == jet, "un texte sans rien à traduire reste tel quel");
    // Everything the translation writes is already SQLite: names and dates come out quoted and
    // the Booleans as digits. A number sign it could not read is left for SQLite to reject, and
    // what it encloses may read as a date once its words are translated (#True/2/2024#), so
    // only a text without one must stay as it is.
    if (!sqlite.contains(u'#'))
        exiger(traduireJet(sqlite) == sqlite, "un texte traduit ne change plus à la traduction");
    return 0;
}

#include "Exiger.h"

#include "data/AnalyseSelect.h"
#include "data/TexteParametre.h"
#include "data/TexteSql.h"
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

// `contenu` written back as a quoted run, its quotes doubled.
QString cite(QChar guillemet, QString contenu, bool ferme)
{
    contenu.replace(QString(guillemet), QString(2, guillemet));
    return guillemet + contenu + (ferme ? QString(guillemet) : QString());
}

// Every quoted run met from the start, as the readers of SQL texts meet them, is what it
// stands for once quoted again, and ends where the text says.
void verifierLesGuillemets(const QString &texte)
{
    qsizetype i = 0;
    while (i < texte.size()) {
        const QChar c = texte.at(i);
        if (c != u'\'' && c != u'"') {
            ++i;
            continue;
        }
        const EntreGuillemets run = lireEntreGuillemets(texte, i);
        exiger(run.fin > i && run.fin <= texte.size(), "un passage entre guillemets avance");
        exiger(run.ferme || run.fin == texte.size(), "seul un passage ouvert va jusqu'au bout");
        exiger(cite(c, contenuEntreGuillemets(texte, i, run), run.ferme)
                   == QStringView(texte).mid(i, run.fin - i),
               "un passage est son contenu remis entre guillemets");
        i = run.fin;
    }
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

    verifierLesGuillemets(jet);
    for (const QChar guillemet : {QChar(u'\''), QChar(u'"')}) {
        // Any text, quoted as our SQL texts quote a value, reads back whole as one closed run.
        const QString litteral = cite(guillemet, jet, true);
        const EntreGuillemets run = lireEntreGuillemets(litteral + QStringLiteral(" x"), 0);
        exiger(run.ferme && run.fin == litteral.size(), "un texte cité se ferme à sa fin");
        exiger(contenuEntreGuillemets(litteral, 0, run) == jet, "un texte cité se relit tel quel");
    }

    // A parameter only ever takes the place of a value: without a '?' of its own, the template
    // holds one per value taken out.
    const TexteParametre parametre = parametrer(jet);
    if (!jet.contains(u'?'))
        exiger(parametre.gabarit.count(u'?') == parametre.valeurs.size(),
               "un « ? » par valeur sortie du texte");
    const AnalyseSelect analyse = analyserSelect(sqlite);
    exiger(analyse.finDuSelect <= sqlite.size(), "le rowid se place dans le texte");
    return 0;
}

#include "app/Langues.h"

#include "app/ValeurINI.h"

namespace {

// The section of the main settings file that holds the interface texts. Only one language
// exists; the name is chosen on first use so a future choice of language has one place to go.
QString LangueCourante;

} // namespace

QString Traduire(const QString &texte)
{
    if (LangueCourante.isEmpty())
        LangueCourante = QStringLiteral("Francais");
    return ValeurINI(LangueCourante, texte, texte, QString(), LIRE_ET_CREER);
}

#include "data/TexteSql.h"

EntreGuillemets lireEntreGuillemets(QStringView texte, qsizetype debut)
{
    const QChar guillemet = texte.at(debut);
    const qsizetype n = texte.size();
    qsizetype i = debut + 1;
    while (i < n) {
        const qsizetype suivant = texte.indexOf(guillemet, i);
        if (suivant < 0)
            break;
        if (suivant + 1 < n && texte.at(suivant + 1) == guillemet) {
            i = suivant + 2;
            continue;
        }
        return {suivant + 1, true};
    }
    return {n, false};
}

QString contenuEntreGuillemets(QStringView texte, qsizetype debut, const EntreGuillemets &run)
{
    const QChar guillemet = texte.at(debut);
    // Between the quotes there is nothing but other characters and doubled quotes: a single
    // one would have closed the run.
    QString contenu = texte.mid(debut + 1, run.fin - debut - 1 - (run.ferme ? 1 : 0)).toString();
    contenu.replace(QString(2, guillemet), QString(guillemet));
    return contenu;
}

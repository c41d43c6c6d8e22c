#include "data/TexteParametre.h"

#include "data/TexteSql.h"
#include "data/TraductionJet.h"

#include <QHash>

namespace {

bool estOperateurDeComparaison(QStringView jeton)
{
    return jeton == u"=" || jeton == u"<" || jeton == u">" || jeton == u"<=" || jeton == u">="
        || jeton == u"<>";
}

// The SQLite text of a Jet date literal "#...#", or empty when the translation leaves it as it
// stands (a date it cannot read). The same few dates come back in every text of a redraw.
QString dateTraduite(QStringView litteral)
{
    constexpr int Capacite = 1024;
    thread_local QHash<QString, QString> dates;
    const QString cle = litteral.toString();
    const auto connue = dates.constFind(cle);
    if (connue != dates.constEnd())
        return connue.value();
    const QString traduite = traduireJet(cle);
    QString valeur;
    if (traduite.size() >= 2 && traduite.startsWith(u'\'') && traduite.endsWith(u'\''))
        valeur = traduite.mid(1, traduite.size() - 2);
    if (dates.size() >= Capacite)
        dates.clear();
    dates.insert(cle, valeur);
    return valeur;
}

} // namespace

TexteParametre parametrer(const QString &jet)
{
    TexteParametre resultat;
    resultat.gabarit.reserve(jet.size());
    QStringView precedent; // last operator, word or literal met, to know what a literal follows
    const QStringView texte(jet);
    qsizetype i = 0;
    const qsizetype n = texte.size();
    while (i < n) {
        const QChar c = texte.at(i);
        qsizetype j = i + 1;
        if (c.isSpace()) {
            resultat.gabarit += c;
            ++i;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            const EntreGuillemets run = lireEntreGuillemets(texte, i);
            j = run.fin;
            if (c == u'\'' && run.ferme && estOperateurDeComparaison(precedent)) {
                resultat.gabarit += u'?';
                resultat.valeurs << contenuEntreGuillemets(texte, i, run);
            } else {
                resultat.gabarit += texte.mid(i, j - i);
            }
        } else if (c == u'[') {
            const qsizetype fin = texte.indexOf(u']', i + 1);
            j = fin < 0 ? n : fin + 1;
            resultat.gabarit += texte.mid(i, j - i);
        } else if (c == u'#') {
            const qsizetype fin = texte.indexOf(u'#', i + 1);
            const QString date = fin < 0 || !estOperateurDeComparaison(precedent)
                ? QString()
                : dateTraduite(texte.mid(i, fin + 1 - i));
            if (date.isEmpty()) {
                resultat.gabarit += c; // left for the translation, as it leaves what it cannot read
            } else {
                j = fin + 1;
                resultat.gabarit += u'?';
                resultat.valeurs << date;
            }
        } else if (c.isDigit() || (c == u'.' && j < n && texte.at(j).isDigit())) {
            j = i;
            while (
                j < n
                && (texte.at(j).isLetterOrNumber() || texte.at(j) == u'.' || texte.at(j) == u'_'))
                ++j;
            const QStringView nombre = texte.mid(i, j - i);
            bool entier = false, reel = false;
            const qlonglong valeurEntiere = nombre.toLongLong(&entier);
            const double valeurReelle = entier ? 0 : nombre.toDouble(&reel);
            if ((entier || reel) && estOperateurDeComparaison(precedent)) {
                resultat.gabarit += u'?';
                resultat.valeurs << (entier ? QVariant(valeurEntiere) : QVariant(valeurReelle));
            } else {
                resultat.gabarit += nombre;
            }
        } else if (c.isLetter() || c == u'_') {
            while (j < n && (texte.at(j).isLetterOrNumber() || texte.at(j) == u'_'))
                ++j;
            resultat.gabarit += texte.mid(i, j - i);
        } else {
            if ((c == u'<' || c == u'>') && j < n
                && (texte.at(j) == u'=' || (c == u'<' && texte.at(j) == u'>')))
                ++j;
            resultat.gabarit += texte.mid(i, j - i);
        }
        precedent = texte.mid(i, j - i);
        i = j;
    }
    return resultat;
}

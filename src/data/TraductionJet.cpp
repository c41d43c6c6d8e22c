#include "data/TraductionJet.h"

#include "data/AnalyseSelect.h"
#include "data/BaseDeDonnees.h"
#include "data/TexteSql.h"

#include <QRegularExpression>

namespace {

bool estCaractereDeMot(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// "m/d/yyyy" with an optional "h:nn" or "h:nn:ss", as Jet reads between number signs.
QString dateSqlite(QStringView contenu)
{
    const QDateTime moment = BaseDeDonnees::dateAvecBarres(contenu, true);
    if (!moment.isValid())
        return QString();
    return u'\'' + BaseDeDonnees::texteDate(moment) + u'\'';
}

} // namespace

QString traduireJet(const QString &texteJet)
{
    QString sortie;
    sortie.reserve(texteJet.size() + 16);
    qsizetype i = 0;
    while (i < texteJet.size()) {
        const QChar c = texteJet.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype fin = lireEntreGuillemets(texteJet, i).fin;
            sortie += QStringView(texteJet).mid(i, fin - i);
            i = fin;
        } else if (c == u'[') {
            const qsizetype fin = texteJet.indexOf(u']', i + 1);
            if (fin < 0) {
                sortie += QStringView(texteJet).mid(i);
                break;
            }
            // Lower case: SQLite takes names in any case, a server only unquoted ones, which it
            // folds to lower case.
            QString nom = texteJet.mid(i + 1, fin - i - 1).toLower();
            nom.replace(u'"', QStringLiteral("\"\""));
            sortie += u'"' + nom + u'"';
            i = fin + 1;
        } else if (c == u'#') {
            // An unreadable date is left as it stands: SQLite then rejects the '#', which is
            // better than comparing against a wrong date.
            const qsizetype fin = texteJet.indexOf(u'#', i + 1);
            const QString date
                = fin < 0 ? QString() : dateSqlite(QStringView(texteJet).mid(i + 1, fin - i - 1));
            if (date.isEmpty()) {
                sortie += c;
                ++i;
            } else {
                sortie += date;
                i = fin + 1;
            }
        } else if (estCaractereDeMot(c)) {
            qsizetype fin = i;
            while (fin < texteJet.size() && estCaractereDeMot(texteJet.at(fin)))
                ++fin;
            const QStringView mot = QStringView(texteJet).mid(i, fin - i);
            // A qualified name such as ETATS.True is a column, not the Boolean.
            const bool qualifie = i > 0 && texteJet.at(i - 1) == u'.';
            if (!qualifie && mot.compare(u"True", Qt::CaseInsensitive) == 0)
                sortie += u'1';
            else if (!qualifie && mot.compare(u"False", Qt::CaseInsensitive) == 0)
                sortie += u'0';
            else
                sortie += mot;
            i = fin;
        } else {
            sortie += c;
            ++i;
        }
    }
    return sortie;
}

QString ordonnerCommeUnFichier(const QString &sql)
{
    const AnalyseSelect analyse = analyserSelect(sql);
    // Only the tables have a rowid; a view has none.
    static const QStringList Tables
        = {QStringLiteral("etats"), QStringLiteral("objets"), QStringLiteral("reservations"),
           QStringLiteral("operations"), QStringLiteral("consommations")};
    if (!analyse.estSelect || !analyse.simple || !Tables.contains(analyse.table.toLower()))
        return sql;
    // The words outside the literals and quoted names.
    QString mots;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            i = lireEntreGuillemets(sql, i).fin;
            mots += u' ';
        } else {
            mots += c.toLower();
            ++i;
        }
    }
    static const QRegularExpression dejaOrdonne(
        QStringLiteral(R"(\b(order|group|limit|union|offset)\b)"));
    if (dejaOrdonne.match(mots).hasMatch())
        return sql;
    QString texte = sql.trimmed();
    if (texte.endsWith(u';'))
        texte.chop(1);
    return texte + QStringLiteral(" ORDER BY ") + analyse.reference.toLower()
        + QStringLiteral(".rowid");
}

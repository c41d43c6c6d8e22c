#include "data/AnalyseSelect.h"

#include "data/TexteSql.h"

#include <QSet>
#include <QVector>

namespace {

struct Jeton
{
    enum class Genre { Mot, Identifiant, Litteral, Symbole };
    Genre genre;
    QString texte; // an identifier without its quotes
    qsizetype fin; // index just past the token

    bool estMot(QLatin1String mot) const
    {
        return genre == Genre::Mot && texte.compare(mot, Qt::CaseInsensitive) == 0;
    }
    bool estSymbole(QChar c) const { return genre == Genre::Symbole && texte == c; }
    bool estNom() const { return genre == Genre::Mot || genre == Genre::Identifiant; }
};

QVector<Jeton> decouper(const QString &sql)
{
    QVector<Jeton> jetons;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype fin = sql.indexOf(QLatin1String("*/"), i + 2);
            i = fin < 0 ? n : fin + 2;
        } else if (c == u'\'' || c == u'"') {
            const EntreGuillemets run = lireEntreGuillemets(sql, i);
            jetons.append({c == u'"' ? Jeton::Genre::Identifiant : Jeton::Genre::Litteral,
                           contenuEntreGuillemets(sql, i, run), run.fin});
            i = run.fin;
        } else if (c.isLetterOrNumber() || c == u'_') {
            qsizetype j = i;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
                ++j;
            jetons.append({Jeton::Genre::Mot, sql.mid(i, j - i), j});
            i = j;
        } else {
            jetons.append({Jeton::Genre::Symbole, QString(c), i + 1});
            ++i;
        }
    }
    return jetons;
}

bool estMotCle(const QString &mot)
{
    static const QSet<QString> motsCles = {
        QStringLiteral("where"),  QStringLiteral("left"),      QStringLiteral("right"),
        QStringLiteral("inner"),  QStringLiteral("outer"),     QStringLiteral("full"),
        QStringLiteral("cross"),  QStringLiteral("natural"),   QStringLiteral("join"),
        QStringLiteral("on"),     QStringLiteral("using"),     QStringLiteral("order"),
        QStringLiteral("group"),  QStringLiteral("limit"),     QStringLiteral("union"),
        QStringLiteral("except"), QStringLiteral("intersect"), QStringLiteral("having"),
        QStringLiteral("window"), QStringLiteral("indexed"),   QStringLiteral("not"),
    };
    return motsCles.contains(mot.toLower());
}

AnalyseSelect analyser(const QVector<Jeton> &jetons)
{
    AnalyseSelect analyse;
    const int n = jetons.size();
    if (n == 0 || !jetons[0].estMot(QLatin1String("select")))
        return analyse;
    analyse.estSelect = true;
    analyse.finDuSelect = jetons[0].fin;

    int i = 1;
    if (i < n && jetons[i].estMot(QLatin1String("distinct")))
        analyse.simple = false;
    // A parenthesis in the select list means a function, often an aggregate: the result rows
    // are then not rows of the table.
    int profondeur = 0;
    for (; i < n; ++i) {
        if (jetons[i].estSymbole(u'(')) {
            ++profondeur;
            analyse.simple = false;
        } else if (jetons[i].estSymbole(u')')) {
            --profondeur;
        } else if (profondeur == 0 && jetons[i].estMot(QLatin1String("from"))) {
            break;
        }
    }
    ++i;
    if (i >= n || !jetons[i].estNom()) {
        analyse.simple = false;
        return analyse;
    }
    analyse.table = jetons[i++].texte;
    if (i + 1 < n && jetons[i].estSymbole(u'.') && jetons[i + 1].estNom()) {
        analyse.table = jetons[i + 1].texte; // schema.table
        i += 2;
    }
    analyse.reference = analyse.table;
    if (i + 1 < n && jetons[i].estMot(QLatin1String("as")) && jetons[i + 1].estNom()) {
        analyse.reference = jetons[i + 1].texte;
        i += 2;
    } else if (i < n && jetons[i].estNom() && !estMotCle(jetons[i].texte)) {
        analyse.reference = jetons[i++].texte;
    }
    profondeur = 0;
    for (; i < n; ++i) {
        const Jeton &jeton = jetons[i];
        if (jeton.estSymbole(u'('))
            ++profondeur;
        else if (jeton.estSymbole(u')'))
            --profondeur;
        else if (profondeur == 0
                 && (jeton.estMot(QLatin1String("group")) || jeton.estMot(QLatin1String("union"))
                     || jeton.estMot(QLatin1String("except"))
                     || jeton.estMot(QLatin1String("intersect"))
                     || jeton.estMot(QLatin1String("having"))))
            analyse.simple = false;
    }
    return analyse;
}

} // namespace

AnalyseSelect analyserSelect(const QString &sql)
{
    return analyser(decouper(sql));
}

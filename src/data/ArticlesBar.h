#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// What the bar sells, as the owner keeps it in the settings. CONSOMMATIONS has no key of its
// own: an article is known by its rowid. Prices are handled in whole cents and stored as
// cents / 100.0, the double nearest to them, which the till reads back to the same cents.
namespace ArticlesBar {

// A longer label or family would not fit the bar's buttons nor the settings' table.
inline constexpr int LongueurMaximale = 60;
inline constexpr qint64 PrixMaximal = 9999999; // 99 999,99 €
// Hundredths of a percent: 1000 is 10 %.
inline constexpr int TauxParDefaut = 1000;

struct Article
{
    qint64 rowid = 0;
    QString famille;
    QString libelle;
    qint64 centimes = 0;
    int tauxTva = TauxParDefaut;
};

// A number typed by the owner, or the French reason it is refused (`refus` set).
struct LectureNombre
{
    qint64 valeur = 0;
    QString refus;

    bool acceptee() const { return refus.isEmpty(); }
};

// A price in cents from "2,50", "2.5", " 3 " or "2,50 €": from 0 to PrixMaximal, at most two
// decimals.
LectureNombre lirePrix(const QString &texte);
// A rate in hundredths of a percent from "5,5 %", "20" or "19.25": from 0 to 100, at most two
// decimals.
LectureNombre lireTaux(const QString &texte);
// Empty when accepted: not blank, at most LongueurMaximale characters, on one line.
QString refusDuLibelle(const QString &libelle);
QString refusDeLaFamille(const QString &famille);

// "2,50": the price as the owner types it.
QString montant(qint64 centimes);
// "2,50 €"
QString textePrix(qint64 centimes);
// "5,5 %", "10 %", "19,25 %"
QString texteTaux(int centiemes);

// Every article, by family then label (then rowid, for two alike).
QSqlError lireArticles(const QSqlDatabase &base, QVector<Article> &articles);
// The families in use, sorted, without the blank one.
QStringList familles(const QSqlDatabase &base);

// The writes refuse what the rules above refuse, with an error of their own in French; each is
// one transaction. ajouterArticle() sets the new rowid into `article`.
QSqlError ajouterArticle(const QSqlDatabase &base, Article &article);
// With `attendu` (the article as the editor showed it), nothing is stored when another desk
// changed it since: the error is then a conflict (estUnConflit).
QSqlError modifierArticle(const QSqlDatabase &base, const Article &article,
                          const Article *attendu = nullptr);
// The article as stored now; nothing when it has gone.
QSqlError lireArticle(const QSqlDatabase &base, qint64 rowid, std::optional<Article> &article);
bool memeArticle(const Article &a, const Article &b);
QSqlError supprimerArticle(const QSqlDatabase &base, qint64 rowid);

} // namespace ArticlesBar

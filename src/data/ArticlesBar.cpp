#include "data/ArticlesBar.h"

#include "data/ConflitEcriture.h"

#include "data/RegleObjet.h"
#include "data/TransactionEcriture.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace ArticlesBar {

namespace {

enum class Forme { Valide, Vide, Negatif, PasUnNombre, TropDeDecimales, TropGrand };

struct Centiemes
{
    Forme forme = Forme::Valide;
    qint64 valeur = 0;
};

// Hundredths from a French or English decimal, `unite` ("€", "%") allowed after it. Counted on
// the digits, never through a double, so that "0,29" is 29 and not 28.999...
Centiemes lireCentiemes(const QString &texte, QChar unite, qint64 maximum)
{
    QString nombre = texte.trimmed();
    if (nombre.endsWith(unite))
        nombre = nombre.chopped(1).trimmed();
    if (nombre.isEmpty())
        return {Forme::Vide};
    if (nombre.startsWith(u'-'))
        return {Forme::Negatif};
    static const QRegularExpression forme(QStringLiteral("^([0-9]*)(?:[.,]([0-9]*))?$"));
    const QRegularExpressionMatch lu = forme.match(nombre);
    const QString entiers = lu.captured(1);
    const QString decimales = lu.captured(2);
    if (!lu.hasMatch() || (entiers.isEmpty() && decimales.isEmpty()))
        return {Forme::PasUnNombre};
    if (decimales.size() > 2)
        return {Forme::TropDeDecimales};
    // Past 12 digits the whole part is too large for any maximum, and for qint64 once in cents.
    int premier = 0;
    while (premier < entiers.size() - 1 && entiers.at(premier) == u'0')
        ++premier;
    if (entiers.size() - premier > 12)
        return {Forme::TropGrand};
    const qint64 valeur = QStringView(entiers).mid(premier).toLongLong() * 100
        + QString(decimales).leftJustified(2, u'0').toLongLong();
    if (valeur > maximum)
        return {Forme::TropGrand};
    return {Forme::Valide, valeur};
}

QString refusDuTexte(const QString &texte, const QString &quoi)
{
    return RegleObjet::refusDUnTexteObligatoire(texte, quoi, LongueurMaximale);
}

QSqlError refusee(const QString &raison)
{
    // French already, without an engine code: messageBaseEnFrancais() gives it as it stands.
    return QSqlError(raison, QString(), QSqlError::StatementError);
}

QString refusDeLArticle(const Article &article)
{
    QString refus = refusDeLaFamille(article.famille);
    if (refus.isEmpty())
        refus = refusDuLibelle(article.libelle);
    if (refus.isEmpty() && (article.centimes < 0 || article.centimes > PrixMaximal))
        refus = QStringLiteral("Le prix doit être compris entre 0 et %1.")
                    .arg(textePrix(PrixMaximal));
    if (refus.isEmpty() && (article.tauxTva < 0 || article.tauxTva > 10000))
        refus = QStringLiteral("Le taux de TVA doit être compris entre 0 et 100 %.");
    return refus;
}

// One statement with its values bound in a write of its own; `rowid` receives the new row's.
// One statement inside the caller's transaction.
QSqlError executerEcriture(const QSqlDatabase &base, const QString &sql,
                           const QVariantList &valeurs, qint64 *rowid = nullptr)
{
    QSqlQuery requete(base);
    if (!requete.prepare(sql))
        return requete.lastError();
    for (const QVariant &valeur : valeurs)
        requete.addBindValue(valeur);
    if (!requete.exec())
        return requete.lastError();
    if (requete.numRowsAffected() == 0)
        return refusee(QStringLiteral("Cet article n'existe plus : un autre poste l'a peut-être "
                                      "supprimé."));
    if (rowid)
        *rowid = requete.lastInsertId().toLongLong();
    return QSqlError();
}

QSqlError ecrire(const QSqlDatabase &base, const QString &sql, const QVariantList &valeurs,
                 qint64 *rowid = nullptr)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    if (const QSqlError erreur = executerEcriture(base, sql, valeurs, rowid); erreur.isValid())
        return erreur;
    return transaction.valider();
}

} // namespace

LectureNombre lirePrix(const QString &texte)
{
    const Centiemes lu = lireCentiemes(texte, u'€', PrixMaximal);
    switch (lu.forme) {
    case Forme::Valide:
        return {lu.valeur, QString()};
    case Forme::Vide:
        return {0, QStringLiteral("Le prix ne peut pas être vide.")};
    case Forme::Negatif:
        return {0, QStringLiteral("Le prix ne peut pas être négatif.")};
    case Forme::PasUnNombre:
        return {0,
                QStringLiteral("Le prix doit être un nombre, par exemple 2,50 (« %1 »).")
                    .arg(texte.trimmed().left(20))};
    case Forme::TropDeDecimales:
        return {0, QStringLiteral("Le prix se compte en centimes : deux décimales au plus.")};
    case Forme::TropGrand:
        break;
    }
    return {0, QStringLiteral("Le prix ne peut pas dépasser %1.").arg(textePrix(PrixMaximal))};
}

LectureNombre lireTaux(const QString &texte)
{
    const Centiemes lu = lireCentiemes(texte, u'%', 10000);
    switch (lu.forme) {
    case Forme::Valide:
        return {lu.valeur, QString()};
    case Forme::Vide:
        return {0, QStringLiteral("Le taux de TVA ne peut pas être vide.")};
    case Forme::Negatif:
        return {0, QStringLiteral("Le taux de TVA ne peut pas être négatif.")};
    case Forme::PasUnNombre:
        return {0,
                QStringLiteral("Le taux de TVA doit être un pourcentage, par exemple 5,5 ou "
                               "20 (« %1 »).")
                    .arg(texte.trimmed().left(20))};
    case Forme::TropDeDecimales:
        return {0, QStringLiteral("Le taux de TVA a deux décimales au plus.")};
    case Forme::TropGrand:
        break;
    }
    return {0, QStringLiteral("Le taux de TVA ne peut pas dépasser 100 %.")};
}

QString refusDuLibelle(const QString &libelle)
{
    return refusDuTexte(libelle, QStringLiteral("Le libellé"));
}

QString refusDeLaFamille(const QString &famille)
{
    return refusDuTexte(famille, QStringLiteral("La famille"));
}

QString montant(qint64 centimes)
{
    const qint64 absolu = centimes < 0 ? -centimes : centimes;
    return QStringLiteral("%1%2,%3")
        .arg(centimes < 0 ? QStringLiteral("-") : QString())
        .arg(absolu / 100)
        .arg(absolu % 100, 2, 10, QLatin1Char('0'));
}

QString textePrix(qint64 centimes)
{
    return montant(centimes) + QStringLiteral(" €");
}

QString texteTaux(int centiemes)
{
    QString texte = QString::number(centiemes / 100);
    if (const int reste = centiemes % 100; reste != 0)
        texte += u','
            + (reste % 10 == 0 ? QString::number(reste / 10)
                               : QStringLiteral("%1").arg(reste, 2, 10, QLatin1Char('0')));
    return texte + QStringLiteral(" %");
}

QSqlError lireArticles(const QSqlDatabase &base, QVector<Article> &articles)
{
    articles.clear();
    QSqlQuery requete(base);
    if (!requete.exec(QStringLiteral("SELECT rowid, Famille, Libelle, prixTTC, TauxTVA FROM "
                                     "CONSOMMATIONS ORDER BY Famille, Libelle, rowid")))
        return requete.lastError();
    while (requete.next()) {
        Article article;
        article.rowid = requete.value(0).toLongLong();
        article.famille = requete.value(1).toString();
        article.libelle = requete.value(2).toString();
        article.centimes = std::llround(requete.value(3).toDouble() * 100);
        article.tauxTva = requete.value(4).toInt();
        articles << article;
    }
    return requete.lastError();
}

QStringList familles(const QSqlDatabase &base)
{
    QSqlQuery requete(base);
    QStringList resultat;
    if (requete.exec(QStringLiteral("SELECT DISTINCT Famille FROM CONSOMMATIONS WHERE "
                                    "trim(Famille) <> '' ORDER BY Famille"))) {
        while (requete.next())
            resultat << requete.value(0).toString();
    }
    return resultat;
}

QSqlError ajouterArticle(const QSqlDatabase &base, Article &article)
{
    if (const QString refus = refusDeLArticle(article); !refus.isEmpty())
        return refusee(refus);
    return ecrire(base,
                  QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC, TauxTVA) "
                                 "VALUES (?, ?, ?, ?)"),
                  {article.famille, article.libelle, article.centimes / 100.0, article.tauxTva},
                  &article.rowid);
}

bool memeArticle(const Article &a, const Article &b)
{
    return a.famille == b.famille && a.libelle == b.libelle && a.centimes == b.centimes
        && a.tauxTva == b.tauxTva;
}

QSqlError lireArticle(const QSqlDatabase &base, qint64 rowid, std::optional<Article> &article)
{
    article.reset();
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT Famille, Libelle, prixTTC, TauxTVA FROM CONSOMMATIONS "
                                   "WHERE rowid = ?"));
    requete.addBindValue(rowid);
    if (!requete.exec())
        return requete.lastError();
    if (requete.next()) {
        Article lu;
        lu.rowid = rowid;
        lu.famille = requete.value(0).toString();
        lu.libelle = requete.value(1).toString();
        lu.centimes = std::llround(requete.value(2).toDouble() * 100);
        lu.tauxTva = requete.value(3).toInt();
        article = lu;
    }
    return requete.lastError();
}

QSqlError modifierArticle(const QSqlDatabase &base, const Article &article, const Article *attendu)
{
    if (const QString refus = refusDeLArticle(article); !refus.isEmpty())
        return refusee(refus);
    // Under the write lock from the reading to the store: no other desk between the two.
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    if (attendu) {
        std::optional<Article> stocke;
        if (const QSqlError erreur = lireArticle(base, article.rowid, stocke); erreur.isValid())
            return erreur;
        if (stocke && !memeArticle(*stocke, *attendu))
            return erreurConflit(QStringLiteral("Cet article a été modifié à un autre poste."));
    }
    if (const QSqlError erreur = executerEcriture(
            base,
            QStringLiteral("UPDATE CONSOMMATIONS SET Famille = ?, Libelle = ?, prixTTC = ?, "
                           "TauxTVA = ? WHERE rowid = ?"),
            {article.famille, article.libelle, article.centimes / 100.0, article.tauxTva,
             article.rowid});
        erreur.isValid())
        return erreur;
    return transaction.valider();
}

QSqlError supprimerArticle(const QSqlDatabase &base, qint64 rowid)
{
    return ecrire(base, QStringLiteral("DELETE FROM CONSOMMATIONS WHERE rowid = ?"), {rowid});
}

} // namespace ArticlesBar

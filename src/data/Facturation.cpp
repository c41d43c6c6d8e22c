#include "data/Facturation.h"

#include "app/Horloge.h"
#include "data/AjoutOperation.h"
#include "data/ArticlesBar.h"
#include "data/DecompteSejour.h"
#include "data/TransactionEcriture.h"
#include "documents/PdfFacture.h"

#include "data/BaseDeDonnees.h"
#include <QDir>
#include <QFile>

#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace Facturation {

namespace {

QSqlError erreur(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::StatementError);
}

qint64 centimes(const QVariant &valeur)
{
    return std::llround(valeur.toDouble() * 100);
}

// The bar writes "BAR <article>\r\n<quantity> x <price>": the article names its VAT rate.
QSqlError ajouterVentesEtPaiements(const QSqlDatabase &base, DocumentFacture &document)
{
    QVector<ArticlesBar::Article> articles;
    if (const QSqlError erreurArticles = ArticlesBar::lireArticles(base, articles);
        erreurArticles.isValid())
        return erreurArticles;
    QHash<QString, int> taux;
    for (const ArticlesBar::Article &article : articles)
        taux.insert(article.libelle.simplified(), article.tauxTva);

    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT date, prix, paiement, libelle FROM OPERATIONS WHERE "
                                   "numeroreservation = ? AND prix <> 0 ORDER BY sequence"));
    requete.addBindValue(document.reservation);
    if (!requete.exec())
        return requete.lastError();
    const QString prefixeBar = QStringLiteral("BAR ");
    while (requete.next()) {
        const qint64 prix = centimes(requete.value(1));
        const QString code = requete.value(2).toString().trimmed();
        const QString libelle = requete.value(3).toString();
        // What the "Prest." tab carried is on the invoice from its own reckoning.
        if (code == QLatin1String("PRE"))
            continue;
        if (prix > 0) {
            document.paiements.append(
                {BaseDeDonnees::dateDepuisValeur(requete.value(0)).date(), libelle, prix});
        } else {
            const QString article = libelle.section(QStringLiteral("\r\n"), 0, 0);
            const QString nom
                = article.startsWith(prefixeBar) ? article.mid(prefixeBar.size()) : article;
            document.lignes.append({libelle.simplified(), -prix,
                                    taux.value(nom.simplified(), ArticlesBar::TauxParDefaut)});
        }
    }
    return requete.lastError();
}

// The next rank of the year, read under the write lock the caller holds.
QSqlError rangSuivant(const QSqlDatabase &base, int annee, int &rang)
{
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT max(rang) FROM FACTURES WHERE annee = ?"));
    requete.addBindValue(annee);
    if (!requete.exec() || !requete.next())
        return requete.lastError();
    rang = requete.value(0).toInt() + 1;
    return QSqlError();
}

QSqlError stocker(const QSqlDatabase &base, const DocumentFacture &document, int rang)
{
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral(
        "INSERT INTO FACTURES (numero, annee, rang, numeroreservation, date, nature, reference, "
        "contenu, totalht, totaltva, totalttc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    requete.addBindValue(document.numero);
    requete.addBindValue(document.date.year());
    requete.addBindValue(rang);
    requete.addBindValue(document.reservation);
    requete.addBindValue(Horloge::maintenant().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    requete.addBindValue(document.nature);
    requete.addBindValue(document.reference.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                                      : QVariant(document.reference));
    requete.addBindValue(QString::fromUtf8(versJson(document)));
    requete.addBindValue(document.totalHorsTaxe());
    requete.addBindValue(document.totalTva());
    requete.addBindValue(document.totalToutesTaxes());
    return requete.exec() ? QSqlError() : requete.lastError();
}

} // namespace

QString numero(int annee, int rang)
{
    return QStringLiteral("%1-%2").arg(annee).arg(rang, 4, 10, QLatin1Char('0'));
}

QString cheminPdf(const QString &dossier, const QString &numeroDocument)
{
    return QDir(dossier).filePath(numeroDocument + QStringLiteral(".pdf"));
}

QSqlError preparer(const QSqlDatabase &base, int reservation, const Etablissement &etablissement,
                   DocumentFacture &document, QString &refus)
{
    document = DocumentFacture();
    document.etablissement = etablissement;
    document.reservation = reservation;
    document.date = Horloge::aujourdhui();
    refus.clear();

    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT nomclient, Objet, NomObjet FROM RESERVATION_NOMINATIVE "
                                   "WHERE NumeroReservation = ?"));
    requete.addBindValue(reservation);
    if (!requete.exec())
        return requete.lastError();
    if (requete.next()) {
        document.client = requete.value(0).toString();
        document.objet
            = requete.value(1).toString() + QStringLiteral(" : ") + requete.value(2).toString();
    }
    requete.finish();

    DecompteSejour::Sejour sejour;
    QSqlError probleme = DecompteSejour::lireSejour(base, reservation, sejour);
    if (probleme.isValid())
        return probleme;
    document.arrivee = sejour.arrivee;
    document.depart = sejour.depart;
    document.adultes = sejour.adultes;
    document.enfants = sejour.enfants;
    DecompteSejour::Decompte decompte;
    probleme = DecompteSejour::calculerDepuisLaBase(base, sejour, etablissement.taxe, decompte);
    if (probleme.isValid())
        return probleme;
    refus = decompte.refus;
    document.lignes = decompte.lignes;
    // The tax closes the list, after the bar.
    QVector<LigneFacture> taxe;
    if (!document.lignes.isEmpty() && document.lignes.last().horsTva)
        taxe.append(document.lignes.takeLast());
    probleme = ajouterVentesEtPaiements(base, document);
    document.lignes += taxe;
    return probleme;
}

QSqlError lireEmises(const QSqlDatabase &base, int reservation, QVector<Emise> &emises)
{
    emises.clear();
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT numero, nature, reference, date, totalttc FROM "
                                   "FACTURES WHERE numeroreservation = ? ORDER BY annee, rang"));
    requete.addBindValue(reservation);
    if (!requete.exec())
        return requete.lastError();
    while (requete.next())
        emises.append({requete.value(0).toString(), requete.value(1).toString(),
                       requete.value(2).toString(),
                       BaseDeDonnees::dateDepuisValeur(requete.value(3)).date(),
                       requete.value(4).toLongLong()});
    return requete.lastError();
}

QSqlError lireDocument(const QSqlDatabase &base, const QString &numeroDocument,
                       DocumentFacture &document)
{
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT contenu FROM FACTURES WHERE numero = ?"));
    requete.addBindValue(numeroDocument);
    if (!requete.exec())
        return requete.lastError();
    if (!requete.next())
        return erreur(QStringLiteral("La facture %1 n'existe pas.").arg(numeroDocument));
    const std::optional<DocumentFacture> lu = depuisJson(requete.value(0).toString().toUtf8());
    if (!lu)
        return erreur(
            QStringLiteral("La facture %1 est illisible dans la base.").arg(numeroDocument));
    document = *lu;
    return QSqlError();
}

namespace {

// Numbers, stores and writes the PDF under the write lock the caller took; the caller's commit
// makes it all count.
QSqlError numeroterEtEcrire(const QSqlDatabase &base, DocumentFacture &document,
                            const QString &dossier, QString &fichier)
{
    document.date = Horloge::aujourdhui();
    int rang = 0;
    QSqlError probleme = rangSuivant(base, document.date.year(), rang);
    if (probleme.isValid())
        return probleme;
    document.numero = numero(document.date.year(), rang);
    probleme = stocker(base, document, rang);
    if (!probleme.isValid()) {
        const QString note = document.nature == DocumentFacture::Avoir
            ? QStringLiteral("Avoir %1 émis sur la facture %2")
                  .arg(document.numero, document.reference)
            : QStringLiteral("Facture %1 émise").arg(document.numero);
        probleme = AjoutOperation(base, document.reservation, 0, QString(), note);
    }
    if (probleme.isValid())
        return probleme;
    // The paper before the commit: a number is used only with its PDF written.
    if (!QDir().mkpath(dossier))
        return erreur(QStringLiteral("Le dossier « %1 » n'a pas pu être créé : la facture n'est "
                                     "pas émise.")
                          .arg(QDir::toNativeSeparators(dossier)));
    fichier = cheminPdf(dossier, document.numero);
    if (const QString refus = ecrireFacturePdf(document, fichier); !refus.isEmpty()) {
        fichier.clear();
        return erreur(refus + QStringLiteral(" La facture n'est pas émise."));
    }
    return QSqlError();
}

QSqlError valider(TransactionEcriture &transaction, const QString &fichier, QString &chemin)
{
    const QSqlError probleme = transaction.valider();
    if (probleme.isValid())
        QFile::remove(fichier);
    else
        chemin = fichier;
    return probleme;
}

} // namespace

QSqlError emettre(const QSqlDatabase &base, DocumentFacture &document, const QString &dossier,
                  QString &chemin)
{
    chemin.clear();
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    QString fichier;
    const QSqlError probleme = numeroterEtEcrire(base, document, dossier, fichier);
    return probleme.isValid() ? probleme : valider(transaction, fichier, chemin);
}

QSqlError emettreAvoir(const QSqlDatabase &base, const QString &facture, const QString &dossier,
                       DocumentFacture &avoir, QString &chemin)
{
    DocumentFacture origine;
    QSqlError probleme = lireDocument(base, facture, origine);
    if (probleme.isValid())
        return probleme;
    if (origine.nature != DocumentFacture::Facture)
        return erreur(
            QStringLiteral("%1 est un avoir : seule une facture peut être annulée.").arg(facture));
    chemin.clear();
    // Under the lock: two desks cancelling one invoice make one credit note.
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral("SELECT numero FROM FACTURES WHERE reference = ?"));
    requete.addBindValue(facture);
    if (!requete.exec())
        return requete.lastError();
    if (requete.next())
        return erreur(QStringLiteral("La facture %1 est déjà annulée par l'avoir %2.")
                          .arg(facture, requete.value(0).toString()));
    requete.finish();
    avoir = origine.avoir();
    QString fichier;
    probleme = numeroterEtEcrire(base, avoir, dossier, fichier);
    return probleme.isValid() ? probleme : valider(transaction, fichier, chemin);
}

} // namespace Facturation

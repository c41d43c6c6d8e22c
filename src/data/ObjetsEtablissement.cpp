#include "data/ObjetsEtablissement.h"

#include "data/ConflitEcriture.h"
#include "data/RegleObjet.h"
#include "data/TransactionEcriture.h"

#include <QCollator>
#include <QLocale>
#include <QSqlQuery>

#include <algorithm>
#include <limits>

namespace ObjetsEtablissement {

namespace {

const QStringList Colonnes {QStringLiteral("Numero"),      QStringLiteral("Nom"),
                            QStringLiteral("NomInternet"), QStringLiteral("FichierPlanningHTML"),
                            QStringLiteral("Categorie"),   QStringLiteral("Capacite"),
                            QStringLiteral("retire")};

const QString Selection = QStringLiteral("select rowid, Numero, Nom, NomInternet, "
                                         "FichierPlanningHTML, Categorie, Capacite, retire "
                                         "from OBJETS ");

QSqlError refus(const QString &phrase)
{
    return QSqlError(phrase, QString(), QSqlError::StatementError);
}

// Prepares and runs `sql` with `valeurs` bound in order; on failure `erreur` says why.
bool executer(QSqlQuery &requete, const QString &sql, const QVariantList &valeurs,
              QSqlError &erreur)
{
    bool reussi = requete.prepare(sql);
    if (reussi) {
        for (const QVariant &valeur : valeurs)
            requete.addBindValue(valeur);
        reussi = requete.exec();
    }
    if (!reussi)
        erreur = requete.lastError();
    return reussi;
}

// The first column of the first row; invalid when there is no row (a Null is valid).
QSqlError lireValeur(const QSqlDatabase &base, const QString &sql, const QVariantList &valeurs,
                     QVariant &valeur)
{
    QSqlQuery requete(base);
    QSqlError erreur;
    if (executer(requete, sql, valeurs, erreur)) {
        const bool trouvee = requete.next();
        valeur = trouvee ? requete.value(0) : QVariant();
        if (trouvee && !valeur.isValid())
            valeur = QVariant(QMetaType::fromType<QString>());
    }
    return erreur;
}

ObjetEtablissement objetDeLaLigne(const QSqlQuery &requete)
{
    ObjetEtablissement objet;
    objet.rowid = requete.value(0).toLongLong();
    objet.numero = requete.value(1).toInt();
    objet.nom = requete.value(2).toString();
    objet.nomInternet = requete.value(3);
    objet.fichierPlanningHTML = requete.value(4);
    objet.categorie = requete.value(5);
    objet.capacite = requete.value(6);
    objet.retire = requete.value(7).toInt() != 0;
    return objet;
}

// At most `longueur` UTF-16 units, never half a character.
QString tronquer(const QString &texte, int longueur)
{
    if (texte.size() <= longueur)
        return texte;
    if (longueur > 0 && texte.at(longueur).isLowSurrogate())
        --longueur;
    return texte.left(longueur);
}

} // namespace

QStringList categoriesCourantes()
{
    return {QStringLiteral("Chambre"), QStringLiteral("Emplacement"), QStringLiteral("Chalet"),
            QStringLiteral("Mobil-home")};
}

bool estUnRefus(const QSqlError &erreur)
{
    return erreur.isValid() && erreur.nativeErrorCode().isEmpty()
        && erreur.databaseText().isEmpty();
}

QSqlError lireObjets(const QSqlDatabase &base, QVector<ObjetEtablissement> &objets)
{
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    QSqlError erreur;
    if (!executer(requete, Selection + QStringLiteral("order by rowid"), {}, erreur))
        return erreur;
    QVector<ObjetEtablissement> lus;
    while (requete.next())
        lus.append(objetDeLaLigne(requete));
    objets = lus;
    return QSqlError();
}

QSqlError lireObjet(const QSqlDatabase &base, qint64 rowid, ObjetEtablissement &objet)
{
    QSqlQuery requete(base);
    QSqlError erreur;
    if (!executer(requete, Selection + QStringLiteral("where rowid = ?"), {rowid}, erreur))
        return erreur;
    if (!requete.next())
        return refus(QStringLiteral("Cet objet n'existe plus : un autre poste l'a peut-être "
                                    "supprimé."));
    objet = objetDeLaLigne(requete);
    return QSqlError();
}

QSqlError categoriesUtilisees(const QSqlDatabase &base, QStringList &categories)
{
    QSqlQuery requete(base);
    QSqlError erreur;
    if (!executer(requete,
                  QStringLiteral("select distinct Categorie from OBJETS where Categorie is not "
                                 "null and trim(Categorie) <> ''"),
                  {}, erreur))
        return erreur;
    const QStringList courantes = categoriesCourantes();
    QStringList autres;
    while (requete.next()) {
        const QString categorie = requete.value(0).toString();
        if (!courantes.contains(categorie))
            autres.append(categorie);
    }
    QCollator collation {QLocale(QLocale::French, QLocale::France)};
    std::sort(autres.begin(), autres.end(), collation);
    categories = courantes + autres;
    return QSqlError();
}

QStringList categoriesDuPlanning(const QSqlDatabase &base)
{
    QSqlQuery requete(base);
    QStringList categories;
    if (!requete.exec(
            QStringLiteral("select Categorie from OBJETS where retire = 0 order by rowid")))
        return categories;
    while (requete.next()) {
        const QString categorie = requete.value(0).toString().trimmed();
        if (!categorie.isEmpty() && !categories.contains(categorie))
            categories << categorie;
    }
    return categories;
}

QSqlError nombreDeSejours(const QSqlDatabase &base, qint32 numero, int &nombre)
{
    QVariant compte;
    const QSqlError erreur
        = lireValeur(base, QStringLiteral("select count(*) from RESERVATIONS where Objet = ?"),
                     {numero}, compte);
    if (!erreur.isValid())
        nombre = compte.toInt();
    return erreur;
}

QSqlError ajouterObjet(const QSqlDatabase &base, const QVariant &categorie,
                       ObjetEtablissement &ajoute)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    QVariant plusGrand;
    QSqlError erreur
        = lireValeur(base, QStringLiteral("select max(Numero) from OBJETS"), {}, plusGrand);
    if (erreur.isValid())
        return erreur;
    if (plusGrand.toLongLong() >= std::numeric_limits<qint32>::max())
        return refus(QStringLiteral("Aucun numéro n'est libre après %1 : changez d'abord le "
                                    "numéro du dernier objet.")
                         .arg(plusGrand.toLongLong()));
    const qint32 numero = qint32(plusGrand.toLongLong() + 1);
    QSqlQuery requete(base);
    if (!executer(requete,
                  QStringLiteral("insert into OBJETS (Numero, Nom, Categorie) values (?, ?, ?)"),
                  {numero, QStringLiteral("Objet %1").arg(numero), categorie}, erreur))
        return erreur;
    ObjetEtablissement lu;
    erreur = lireObjet(base, requete.lastInsertId().toLongLong(), lu);
    if (!erreur.isValid())
        erreur = transaction.valider();
    if (!erreur.isValid())
        ajoute = lu;
    return erreur;
}

QSqlError dupliquerObjet(const QSqlDatabase &base, qint64 rowidSource, ObjetEtablissement &copie)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    ObjetEtablissement source;
    QSqlError erreur = lireObjet(base, rowidSource, source);
    if (erreur.isValid())
        return erreur;
    // The end of the run of numbers in use that starts at the source's.
    QVariant libre;
    erreur = lireValeur(base,
                        QStringLiteral("select min(Numero) + 1 from OBJETS where Numero >= ? "
                                       "and Numero + 1 not in (select Numero from OBJETS)"),
                        {source.numero}, libre);
    if (erreur.isValid())
        return erreur;
    if (libre.toLongLong() > std::numeric_limits<qint32>::max())
        return refus(QStringLiteral("Aucun numéro n'est libre après %1.").arg(source.numero));
    const QString suffixe = QStringLiteral(" (copie)");
    const QString nom
        = tronquer(source.nom, RegleObjet::LongueurMaximale - int(suffixe.size())) + suffixe;

    // The rows after the source move one place down to make room. SQLite checks the rowid's
    // uniqueness row by row during an UPDATE, so a plain "rowid + 1" collides with the next
    // row: they go through negative rowids, which no row ever keeps, and back.
    QSqlQuery requete(base);
    if (!executer(requete, QStringLiteral("update OBJETS set rowid = -rowid - 1 where rowid > ?"),
                  {rowidSource}, erreur)
        || !executer(requete, QStringLiteral("update OBJETS set rowid = -rowid where rowid < 0"),
                     {}, erreur))
        return erreur;
    if (!executer(requete,
                  QStringLiteral("insert into OBJETS (rowid, Numero, Nom, NomInternet, "
                                 "FichierPlanningHTML, Categorie, Capacite, retire) "
                                 "values (?, ?, ?, null, null, ?, ?, 0)"),
                  {rowidSource + 1, libre.toInt(), nom, source.categorie, source.capacite}, erreur))
        return erreur;
    ObjetEtablissement lu;
    erreur = lireObjet(base, rowidSource + 1, lu);
    if (!erreur.isValid())
        erreur = transaction.valider();
    if (!erreur.isValid())
        copie = lu;
    return erreur;
}

QVariant valeurDuChamp(const ObjetEtablissement &objet, const QString &colonne)
{
    if (colonne == QLatin1String("Numero"))
        return objet.numero;
    if (colonne == QLatin1String("Nom"))
        return objet.nom;
    if (colonne == QLatin1String("NomInternet"))
        return objet.nomInternet;
    if (colonne == QLatin1String("FichierPlanningHTML"))
        return objet.fichierPlanningHTML;
    if (colonne == QLatin1String("Categorie"))
        return objet.categorie;
    if (colonne == QLatin1String("retire"))
        return objet.retire;
    return objet.capacite;
}

bool memeValeur(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

QSqlError modifierChamp(const QSqlDatabase &base, qint64 rowid, const QString &colonne,
                        const QVariant &valeur, const std::optional<QVariant> &attendue)
{
    if (!Colonnes.contains(colonne))
        return refus(QStringLiteral("La colonne « %1 » n'est pas un champ d'objet.").arg(colonne));
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    ObjetEtablissement objet;
    QSqlError erreur = lireObjet(base, rowid, objet);
    if (erreur.isValid())
        return erreur;
    if (attendue && !memeValeur(valeurDuChamp(objet, colonne), *attendue))
        return erreurConflit(QStringLiteral("Cet objet a été modifié à un autre poste."));
    QSqlQuery requete(base);
    if (colonne == QLatin1String("Numero")) {
        const qint32 numero = valeur.toInt();
        QVariant titulaire;
        erreur = lireValeur(
            base, QStringLiteral("select Nom from OBJETS where Numero = ? and rowid <> ?"),
            {numero, rowid}, titulaire);
        if (erreur.isValid())
            return erreur;
        if (titulaire.isValid())
            return refus(RegleObjet::numeroDejaUtilise(numero, titulaire.toString()));
        // The stays name their object by its number: left behind, they would vanish from the
        // planning and wait for whichever object takes the old number next.
        if (!executer(requete, QStringLiteral("update RESERVATIONS set Objet = ? where Objet = ?"),
                      {numero, objet.numero}, erreur))
            return erreur;
    }
    const QVariant stockee
        = colonne == QLatin1String("retire") ? QVariant(int(valeur.toBool())) : valeur;
    if (!executer(
            requete,
            QStringLiteral("update OBJETS set \"%1\" = ? where rowid = ?").arg(colonne.toLower()),
            {stockee, rowid}, erreur))
        return erreur;
    return transaction.valider();
}

QSqlError echangerOrdre(const QSqlDatabase &base, qint64 rowidA, qint64 rowidB)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    ObjetEtablissement objet;
    QSqlError erreur = lireObjet(base, rowidA, objet);
    if (!erreur.isValid())
        erreur = lireObjet(base, rowidB, objet);
    QVariant plusPetit;
    if (!erreur.isValid())
        erreur = lireValeur(base, QStringLiteral("select min(rowid) from OBJETS"), {}, plusPetit);
    if (erreur.isValid())
        return erreur;
    // A rowid no row holds, below them all.
    const qint64 attente = plusPetit.toLongLong() - 1;
    QSqlQuery requete(base);
    const QString deplacer = QStringLiteral("update OBJETS set rowid = ? where rowid = ?");
    if (!executer(requete, deplacer, {attente, rowidA}, erreur)
        || !executer(requete, deplacer, {rowidA, rowidB}, erreur)
        || !executer(requete, deplacer, {rowidB, attente}, erreur))
        return erreur;
    return transaction.valider();
}

QSqlError fixerRetire(const QSqlDatabase &base, qint64 rowid, bool retire)
{
    return modifierChamp(base, rowid, QStringLiteral("retire"), retire);
}

QSqlError supprimerObjet(const QSqlDatabase &base, qint64 rowid)
{
    TransactionEcriture transaction(base);
    if (transaction.erreur().isValid())
        return transaction.erreur();
    ObjetEtablissement objet;
    QSqlError erreur = lireObjet(base, rowid, objet);
    int sejours = 0;
    if (!erreur.isValid())
        erreur = nombreDeSejours(base, objet.numero, sejours);
    if (erreur.isValid())
        return erreur;
    if (sejours > 0)
        return refus(sejoursEnregistres(objet.nom, sejours)
                     + QStringLiteral(" : il ne peut pas être supprimé sans perdre leur "
                                      "historique."));
    QSqlQuery requete(base);
    if (!executer(requete, QStringLiteral("delete from OBJETS where rowid = ?"), {rowid}, erreur))
        return erreur;
    return transaction.valider();
}

QString sejoursEnregistres(const QString &nom, int nombre)
{
    return nombre == 1
        ? QStringLiteral("« %1 » a 1 séjour enregistré").arg(nom)
        : QStringLiteral("« %1 » a %2 séjours enregistrés").arg(nom, QString::number(nombre));
}

} // namespace ObjetsEtablissement

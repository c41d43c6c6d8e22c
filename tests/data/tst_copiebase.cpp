#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/CopieBase.h"

#include <QSqlRecord>
#include <QtTest>

// A base poured into another and back: a file into a server's base (or another file, without
// a server), then into a new file, which must hold every row as the first did, in its order.
class TestCopieBase : public QObject
{
    Q_OBJECT

private slots:
    void allerEtRetour();
    void uneCibleOccupeeNEstPasTouchee();

private:
    // Every row of the five tables, in rowid order, as text.
    static QStringList lignes(const QString &chemin);
};

QStringList TestCopieBase::lignes(const QString &chemin)
{
    QStringList resultat;
    if (BaseDeDonnees::ouvrir(chemin, "lecture").isValid())
        return {"illisible"};
    {
        QSqlDatabase base = QSqlDatabase::database("lecture", false);
        for (const char *table :
             {"ETATS", "OBJETS", "RESERVATIONS", "OPERATIONS", "CONSOMMATIONS"}) {
            QSqlQuery requete(base);
            requete.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
            while (requete.next()) {
                QStringList champs;
                const QSqlRecord ligne = requete.record();
                for (int c = 0; c < ligne.count(); ++c) {
                    if (ligne.fieldName(c).toLower() != "rowid")
                        champs << ligne.fieldName(c).toLower() + '=' + ligne.value(c).toString();
                }
                champs.sort();
                resultat << QString(table) + ':' + champs.join('|');
            }
        }
    }
    BaseDeDonnees::fermer("lecture");
    return resultat;
}

void TestCopieBase::allerEtRetour()
{
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    QTemporaryDir dossier;
    QString refus;
    const QString milieu = ServeurEssai::actif() ? ServeurEssai::nouvelleBase(refus)
                                                 : dossier.filePath("milieu.mdb");
    QVERIFY2(!milieu.isEmpty(), qPrintable(refus));
    const QString depart = dossier.filePath("depart.mdb");
    const QString arrivee = dossier.filePath("arrivee.mdb");
    QVERIFY(!creerBase(depart, true).isValid());
    QStringList compteRendu;
    QSqlError erreur = copierBase(depart, milieu, &compteRendu);
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
    QCOMPARE(compteRendu.value(1), QStringLiteral("OBJETS : 31 lignes"));
    erreur = copierBase(milieu, arrivee, &compteRendu);
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
    const QStringList avant = lignes(depart);
    QVERIFY(avant.size() > 400);
    QCOMPARE(lignes(milieu), avant);
    QCOMPARE(lignes(arrivee), avant);
    Horloge::fixer(QDateTime());
    if (ServeurEssai::actif())
        ServeurEssai::supprimerBase(milieu);
}

void TestCopieBase::uneCibleOccupeeNEstPasTouchee()
{
    BaseEssai cible("tst_copiebase_cible");
    QVERIFY2(cible.ouvrir(), qPrintable(cible.echec()));
    QTemporaryDir dossier;
    const QString source = dossier.filePath("source.mdb");
    QVERIFY(!creerBase(source, true).isValid());
    const QSqlError erreur = copierBase(source, cible.chemin(), nullptr);
    QVERIFY(erreur.isValid());
    QVERIFY2(erreur.text().contains(cible.surServeur() ? "contient déjà" : "existe déjà"),
             qPrintable(erreur.text()));
    QCOMPARE(cible.nombre("RESERVATIONS"), 0);
}

QTEST_GUILESS_MAIN(TestCopieBase)
#include "tst_copiebase.moc"

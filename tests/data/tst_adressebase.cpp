#include "commun/ServeurEssai.h"
#include "data/AdresseBase.h"
#include "data/BaseDeDonnees.h"

#include <QtTest>

// The address of a server's base as the settings file holds it, and the French words of a
// connection the server refuses.
class TestAdresseBase : public QObject
{
    Q_OBJECT

private slots:
    void lecture_data();
    void lecture();
    void connexionRefuseeEnFrancais_data();
    void connexionRefuseeEnFrancais();
};

void TestAdresseBase::lecture_data()
{
    QTest::addColumn<QString>("texte");
    // user|password|host|port|base|options, or "refus:" and a piece of the reason
    QTest::addColumn<QString>("attendu");

    QTest::newRow("plain") << "postgresql://hotel@192.168.1.10:5433/planning"
                           << "hotel||192.168.1.10|5433|planning|";
    QTest::newRow("no user, no port") << "postgres://serveur/planning"
                                      << "||serveur|5432|planning|";
    QTest::newRow("a password with an @ and a colon")
        << "postgresql://hotel:p@ss:w0rd@serveur/planning"
        << "hotel|p@ss:w0rd|serveur|5432|planning|";
    QTest::newRow("blanks and quotes around, as the settings file may hold it")
        << "  \"postgresql://hotel@serveur/planning\"  "
        << "hotel||serveur|5432|planning|";
    QTest::newRow("percent-encoded blanks and accents")
        << "postgresql://h%C3%B4tel%20du%20lac@serveur/mon%20planning"
        << "hôtel du lac||serveur|5432|mon planning|";
    QTest::newRow("an IPv6 server") << "postgresql://hotel@[::1]:5434/planning"
                                    << "hotel||::1|5434|planning|";
    QTest::newRow("options after ?")
        << "postgresql://hotel@serveur/planning?sslmode=require&connect_timeout=3"
        << "hotel||serveur|5432|planning|sslmode=require;connect_timeout=3";
    QTest::newRow("no base") << "postgresql://hotel@serveur"
                             << "refus:nom de la base";
    QTest::newRow("a port that is no port") << "postgresql://hotel@serveur:99999/planning"
                                            << "refus:port";
    QTest::newRow("an option that would slip another one in")
        << "postgresql://hotel@serveur/planning?sslmode=disable;host=ailleurs"
        << "refus:option";
    QTest::newRow("a file path") << "/home/hotel/Razarivu.mdb"
                                 << "refus:postgresql://";
}

void TestAdresseBase::lecture()
{
    QFETCH(QString, texte);
    QFETCH(QString, attendu);
    QString refus;
    const std::optional<AdressePostgres> adresse = lireAdressePostgres(texte, &refus);
    if (attendu.startsWith("refus:")) {
        QVERIFY(!adresse);
        QVERIFY2(refus.contains(attendu.mid(6)), qPrintable(refus));
        return;
    }
    QVERIFY2(adresse, qPrintable(refus));
    QCOMPARE(QStringList({adresse->utilisateur, adresse->motDePasse, adresse->hote,
                          QString::number(adresse->port), adresse->base, adresse->options})
                 .join('|'),
             attendu);
    QVERIFY(!adresseLisible(*adresse).contains(
        adresse->motDePasse.isEmpty() ? QStringLiteral("\x01") : adresse->motDePasse));
}

void TestAdresseBase::connexionRefuseeEnFrancais_data()
{
    QTest::addColumn<QString>("changement"); // what replaces "razarivu@" or "/razarivu"
    QTest::addColumn<QString>("attendu");

    QTest::newRow("a base that is not there")
        << "/base_absente"
        << "Cette base de données n'existe pas sur le serveur.";
    QTest::newRow("a user the server does not know")
        << "inconnu@"
        << "Le serveur de la base de données refuse cet utilisateur ou ce mot de passe.";
    QTest::newRow("a server that does not answer")
        << ":1"
        << "Le serveur de la base de données ne répond pas";
}

void TestAdresseBase::connexionRefuseeEnFrancais()
{
    QFETCH(QString, changement);
    QFETCH(QString, attendu);
    if (!ServeurEssai::actif())
        QSKIP("Needs the tests' server.");
    QString adresse = ServeurEssai::adresseMaintenance();
    if (changement.startsWith('/'))
        adresse = adresse.left(adresse.lastIndexOf('/')) + changement;
    else if (changement.endsWith('@'))
        adresse.replace("razarivu@", changement);
    else
        adresse.replace(QRegularExpression(":[0-9]+/"), changement + '/');
    const QSqlError erreur = BaseDeDonnees::ouvrir(adresse, "refusee");
    QVERIFY(erreur.isValid());
    QVERIFY2(erreur.text().contains(attendu), qPrintable(erreur.text()));
}

QTEST_GUILESS_MAIN(TestAdresseBase)
#include "tst_adressebase.moc"

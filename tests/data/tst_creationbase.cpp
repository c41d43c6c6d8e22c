#include "app/Horloge.h"
#include "commun/BaseEssai.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "data/VersionSchema.h"

#include <QCryptographicHash>
#include <QFile>

namespace {
const QDateTime Maintenant(QDate(2024, 6, 15), QTime(10, 30));
} // namespace

class TestCreationBase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fichierExistantRefuse();
    void echecSansFichier();
    void lignesDeReference_data();
    void lignesDeReference();
    void unSeulEtatHorsInternet();
    void demonstration_data();
    void demonstration();
    void journalDeLaDemonstration();
    void memeJourMemeBase();
    void uneBaseDuServeurDejaFaiteOuEnRetard();

private:
    QSqlDatabase base() const { return m_base.base(); }
    QByteArray empreinte(const QString &chemin);

    BaseEssai m_base {QStringLiteral("tst_creationbase")};
};

void TestCreationBase::init()
{
    Horloge::fixer(Maintenant);
    QVERIFY(m_base.preparer());
}

void TestCreationBase::cleanup()
{
    m_base.fermer();
    Horloge::fixer(QDateTime());
}

QByteArray TestCreationBase::empreinte(const QString &chemin)
{
    // The rows, not the file bytes: SQLite may lay out equal contents differently.
    const QString connexion = QStringLiteral("empreinte");
    QCryptographicHash hachage(QCryptographicHash::Sha256);
    if (!BaseDeDonnees::ouvrir(chemin, connexion).isValid()) {
        QSqlQuery requete(QSqlDatabase::database(connexion, false));
        for (const char *table :
             {"ETATS", "OBJETS", "RESERVATIONS", "OPERATIONS", "CONSOMMATIONS"}) {
            requete.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
            while (requete.next()) {
                for (int c = 0; c < requete.record().count(); ++c)
                    hachage.addData(requete.value(c).toString().toUtf8() + '\x1f');
            }
        }
    }
    BaseDeDonnees::fermer(connexion);
    return hachage.result();
}

void TestCreationBase::fichierExistantRefuse()
{
    const QString chemin = m_base.fichier("Razarivu.mdb");
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write("Ne pas écraser");
    fichier.close();

    const QSqlError erreur = creerBase(chemin, true);
    QVERIFY(erreur.isValid());
    QVERIFY(erreur.text().contains(chemin));
    QVERIFY(fichier.open(QIODevice::ReadOnly));
    QCOMPARE(fichier.readAll(), QByteArray("Ne pas écraser"));
}

void TestCreationBase::echecSansFichier()
{
    const QString chemin = m_base.fichier("absent/Razarivu.mdb");
    QVERIFY(creerBase(chemin, false).isValid());
    QVERIFY(!QFileInfo::exists(chemin));
    QVERIFY(QDir(m_base.dossier()).isEmpty());
}

void TestCreationBase::lignesDeReference_data()
{
    QTest::addColumn<QString>("requete");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");

    QTest::newRow("At least four reservation states") << "SELECT count(*) FROM ETATS" << 4 << 20;
    QTest::newRow("At least thirty objects on the planning")
        << "SELECT count(*) FROM OBJETS" << 30 << 200;
    QTest::newRow("Rooms are among the objects")
        << "SELECT count(*) FROM OBJETS WHERE Nom LIKE 'Chambre %'" << 5 << 100;
    QTest::newRow("Pitches are among the objects")
        << "SELECT count(*) FROM OBJETS WHERE Nom LIKE 'Emplacement %'" << 5 << 100;
    QTest::newRow("The lake chalet is there by its exact name")
        << "SELECT count(*) FROM OBJETS WHERE Nom = 'Chalet (vue lac)'" << 1 << 1;
    QTest::newRow("Object numbers are unique")
        << "SELECT count(*) - count(DISTINCT Numero) FROM OBJETS" << 0 << 0;
    QTest::newRow("Twenty-five bar articles") << "SELECT count(*) FROM CONSOMMATIONS" << 25 << 25;
    QTest::newRow("In four families")
        << "SELECT count(DISTINCT Famille) FROM CONSOMMATIONS" << 4 << 4;
    QTest::newRow("The white coffee is there by its exact name")
        << "SELECT count(*) FROM CONSOMMATIONS WHERE Libelle = 'Café crème'" << 1 << 1;
    QTest::newRow("Every article costs between 50 cents and 20 euros")
        << "SELECT count(*) FROM CONSOMMATIONS WHERE prixTTC < 0.5 OR prixTTC > 20" << 0 << 0;
    QTest::newRow("No reservation without the demonstration")
        << "SELECT count(*) FROM RESERVATIONS" << 0 << 0;
    QTest::newRow("No journal row without the demonstration")
        << "SELECT count(*) FROM OPERATIONS" << 0 << 0;
}

void TestCreationBase::lignesDeReference()
{
    QFETCH(QString, requete);
    QFETCH(int, minimum);
    QFETCH(int, maximum);

    QVERIFY2(m_base.ouvrir(false), qPrintable(m_base.echec()));
    const QVariant nombre = m_base.valeur(requete);
    QVERIFY(nombre.isValid());
    QVERIFY2(nombre.toInt() >= minimum && nombre.toInt() <= maximum, qPrintable(nombre.toString()));
}

void TestCreationBase::unSeulEtatHorsInternet()
{
    QVERIFY(m_base.ouvrir(false));
    int horsInternet = 0;
    Recordset etats(base(), TextesSQL::tousLesEtats);
    QVERIFY(etats.nombre() >= 4);
    for (; !etats.fin(); etats.suivant()) {
        QCOMPARE(etats.champ("internet").toInt(), etats.champ("surinternet").toInt());
        if (!etats.champ("surinternet").toBool())
            ++horsInternet;
        // White names on the bars: no colour so light that they vanish.
        const quint32 couleur = etats.champ("CouleurPrincipale").toUInt();
        const int luminance = (299 * int(couleur & 0xFF) + 587 * int((couleur >> 8) & 0xFF)
                               + 114 * int((couleur >> 16) & 0xFF))
            / 1000;
        QVERIFY2(luminance < 160, qPrintable(etats.champ("Nom").toString()));
        QVERIFY(couleur <= 0x00FFFFFF);
    }
    QCOMPARE(horsInternet, 1);
}

void TestCreationBase::demonstration_data()
{
    QTest::addColumn<QString>("requete");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");

    QTest::newRow("About eighty reservations") << "SELECT count(*) FROM RESERVATIONS" << 70 << 90;
    QTest::newRow("Every reservation has its creation note")
        << "SELECT count(*) FROM RESERVATIONS WHERE NumeroReservation NOT IN (SELECT "
           "numeroreservation FROM OPERATIONS WHERE libelle = 'Création de la reservation')"
        << 0 << 0;
    QTest::newRow("Journal rows belong to existing reservations")
        << "SELECT count(*) FROM OPERATIONS WHERE numeroreservation NOT IN "
           "(SELECT NumeroReservation FROM RESERVATIONS)"
        << 0 << 0;
    QTest::newRow("Every state is used")
        << "SELECT count(DISTINCT Etat) FROM RESERVATIONS" << 5 << 5;
    QTest::newRow("Every reservation is on an existing object")
        << "SELECT count(*) FROM RESERVATIONS WHERE Objet NOT IN (SELECT Numero FROM OBJETS)" << 0
        << 0;
    QTest::newRow("Every stay ends after it begins")
        << "SELECT count(*) FROM RESERVATIONS WHERE DateFin <= DateDebut" << 0 << 0;
    QTest::newRow("Stays lie between two months before and four months after today")
        << "SELECT count(*) FROM RESERVATIONS WHERE DateDebut < '2024-04-15' OR DateFin > "
           "'2024-10-16'"
        << 0 << 0;
    QTest::newRow("Both past and future stays are there")
        << "SELECT CASE WHEN passe < futur THEN passe ELSE futur END FROM (SELECT "
           "sum(CASE WHEN DateDebut < '2024-06-15' THEN 1 ELSE 0 END) AS passe, "
           "sum(CASE WHEN DateDebut > '2024-06-16' THEN 1 ELSE 0 END) AS futur "
           "FROM RESERVATIONS) AS t"
        << 10 << 80;
    QTest::newRow("Most arrivals are at two and departures at noon")
        << "SELECT sum(CASE WHEN substr(DateDebut, 12) = '14:00:00' AND substr(DateFin, 12) = "
           "'12:00:00' THEN 1 ELSE 0 END) * 100 / count(*) FROM RESERVATIONS"
        << 30 << 100;
    QTest::newRow("Remark, telephone and e-mail end with one blank")
        << "SELECT count(*) FROM RESERVATIONS WHERE substr(remarque, length(remarque)) <> ' ' "
           "OR substr(telephone, length(telephone)) <> ' ' OR substr(email, length(email)) <> ' '"
        << 0 << 0;
    QTest::newRow("Two stays on one object never overlap")
        << "SELECT count(*) FROM RESERVATIONS a JOIN RESERVATIONS b ON a.Objet = b.Objet AND "
           "a.NumeroReservation < b.NumeroReservation AND a.DateDebut < b.DateFin AND "
           "b.DateDebut < a.DateFin"
        << 0 << 0;
}

void TestCreationBase::demonstration()
{
    QFETCH(QString, requete);
    QFETCH(int, minimum);
    QFETCH(int, maximum);

    QVERIFY2(m_base.ouvrir(true), qPrintable(m_base.echec()));
    const QVariant nombre = m_base.valeur(requete);
    QVERIFY(nombre.isValid());
    QVERIFY2(nombre.toInt() >= minimum && nombre.toInt() <= maximum, qPrintable(nombre.toString()));
}

void TestCreationBase::journalDeLaDemonstration()
{
    QVERIFY(m_base.ouvrir(true));
    Recordset journal(base(), TextesSQL::toutesLesOperations);
    QVERIFY(journal.nombre() > 100);
    QSet<QString> codes;
    int ventesAuBar = 0;
    for (; !journal.fin(); journal.suivant()) {
        const QString paiement = journal.champ("paiement").toString();
        const double prix = journal.champ("prix").toDouble();
        const QString libelle = journal.champ("libelle").toString();
        QCOMPARE(paiement.size(), 3);
        QVERIFY(journal.champ("date").toDateTime() <= Maintenant);
        if (prix > 0) {
            QVERIFY2(QStringList({"ESP", "CB ", "CHQ", "VIR"}).contains(paiement),
                     qPrintable(paiement));
            codes << paiement;
        } else {
            QCOMPARE(paiement, QStringLiteral("   "));
        }
        if (libelle.startsWith("BAR ")) {
            ++ventesAuBar;
            QVERIFY(prix < 0);
            QVERIFY2(libelle.contains("\r\n") && libelle.contains(" x "), qPrintable(libelle));
        }
    }
    QCOMPARE(codes.size(), 4);
    QVERIFY(ventesAuBar >= 10);
}

void TestCreationBase::memeJourMemeBase()
{
    const QString premiere = m_base.fichier("premiere.mdb");
    const QString seconde = m_base.fichier("seconde.mdb");
    QVERIFY(!creerBase(premiere, true).isValid());
    QVERIFY(!creerBase(seconde, true).isValid());
    QCOMPARE(empreinte(premiere), empreinte(seconde));

    Horloge::fixer(Maintenant.addMonths(1));
    const QString plusTard = m_base.fichier("plustard.mdb");
    QVERIFY(!creerBase(plusTard, true).isValid());
    QVERIFY(empreinte(plusTard) != empreinte(premiere));
}

// On a server the base is the administrator's: its tables are made once, and tables of a version
// this program cannot bring up to date are refused with a French reason.
void TestCreationBase::uneBaseDuServeurDejaFaiteOuEnRetard()
{
    if (!ServeurEssai::actif())
        QSKIP("Needs the tests' server.");
    QString refus;
    const QString adresse = ServeurEssai::nouvelleBase(refus);
    QVERIFY2(!adresse.isEmpty(), qPrintable(refus));
    QVERIFY(!creerBase(adresse, false).isValid());
    const QSqlError encore = creerBase(adresse, true);
    QVERIFY(encore.isValid());
    QVERIFY2(encore.text().contains("contient déjà des tables"), qPrintable(encore.text()));

    QVERIFY(!BaseDeDonnees::ouvrir(adresse, "en_retard").isValid());
    {
        const QSqlDatabase base = QSqlDatabase::database("en_retard", false);
        QCOMPARE(VersionSchema::lire(base), VersionSchema::Courante);
        QVERIFY(QSqlQuery(base).exec("UPDATE razarivu_version SET version = 2"));
        const QSqlError erreur = VersionSchema::mettreAJour(base);
        QVERIFY(erreur.isValid());
        QVERIFY2(erreur.text().contains("ne sait pas mettre à jour"), qPrintable(erreur.text()));

        // A base of version 4 gets the tariff and invoice tables.
        QSqlQuery requete(base);
        QVERIFY(requete.exec("UPDATE razarivu_version SET version = 4"));
        QVERIFY(requete.exec("DROP TABLE SAISONS, PRESTATIONS, PRESTATIONSSEJOUR, EXONERATIONS, "
                             "FACTURES, CLOTURES"));
        QVERIFY(!VersionSchema::mettreAJour(base).isValid());
        QCOMPARE(VersionSchema::lire(base), VersionSchema::Courante);
        QVERIFY(requete.exec("SELECT count(*) FROM FACTURES, CLOTURES, SAISONS"));
        QVERIFY(requete.exec("INSERT INTO CLOTURES (sequence, jour, date, dernieresequence, "
                             "derniereempreinte, contenu, empreinte) VALUES (1, '', '', 0, '', "
                             "'', '')"));
        QVERIFY(!requete.exec("DELETE FROM CLOTURES"));
    }
    BaseDeDonnees::fermer("en_retard");
    ServeurEssai::supprimerBase(adresse);
}

QTEST_GUILESS_MAIN(TestCreationBase)
#include "tst_creationbase.moc"

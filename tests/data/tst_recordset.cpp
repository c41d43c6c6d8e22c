#include "commun/BaseEssai.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

#include <QFile>

#include <unistd.h>

namespace {
const QString Connexion = QStringLiteral("tst_recordset");
}

class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void champSansEgardALaCasse_data();
    void champSansEgardALaCasse();
    void datesLuesCommeDates_data();
    void datesLuesCommeDates();
    void maximumDUneTableVide();
    void numeroApresSuppression_data();
    void numeroApresSuppression();
    void allerRetour_data();
    void allerRetour();
    void valeurRefusee_data();
    void valeurRefusee();
    void fixerHorsEdition();
    void texteMalveillant_data();
    void texteMalveillant();
    void lectureSeule_data();
    void lectureSeule();
    void champJoint_data();
    void champJoint();
    void internetSuitSurinternet_data();
    void internetSuitSurinternet();
    void texteQuiNEstPasUnSelect_data();
    void texteQuiNEstPasUnSelect();
    void suppressionPasseALaSuivante();
    void ajoutGardeLaPosition();
    void ajoutSansLecture();
    void etatsDansLOrdreDeLaTable();
    void ouvertureRefusee_data();
    void ouvertureRefusee();
    void cheminParticulier_data();
    void cheminParticulier();
    void connexionDejaOuverte();
    void memeTexteAutresValeurs_data();
    void memeTexteAutresValeurs();
    void connexionRouverte();

private:
    QSqlDatabase base() const { return m_base.base(); }
    int nombreDeLignes(const QString &table) const { return m_base.nombre(table); }
    qint64 reserver(const QString &client);

    BaseEssai m_base {Connexion};
};

void TestRecordset::init()
{
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
    // A connection removed while a handle is still held is a leak in our own code.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("removeDatabase")));
}

void TestRecordset::cleanup()
{
    m_base.fermer();
}

qint64 TestRecordset::reserver(const QString &client)
{
    Recordset jeu(base(), TextesSQL::toutesLesReservations);
    jeu.ajouter();
    jeu.fixerChamp("Objet", 1);
    jeu.fixerChamp("nomclient", client);
    jeu.fixerChamp("DateDebut", QDateTime(QDate(2024, 7, 10), QTime(14, 0)));
    jeu.fixerChamp("DateFin", QDateTime(QDate(2024, 7, 14), QTime(12, 0)));
    jeu.fixerChamp("Etat", 2);
    if (jeu.valider().isValid())
        return -1;
    jeu.dernier(); // the row just added
    return jeu.champ("NumeroReservation").toLongLong();
}

void TestRecordset::champSansEgardALaCasse_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QStringList>("noms");

    QTest::newRow("The arrival is one column however it is spelt")
        << TextesSQL::reservationsDeLObjet(1, QDate(2030, 1, 1))
        << QStringList {"DateDebut", "datedebut", "Datedebut", "DATEDEBUT"};
    QTest::newRow("The reservation number is one column however it is spelt")
        << QString(TextesSQL::toutesLesReservations)
        << QStringList {"NumeroReservation", "numeroreservation"};
    QTest::newRow("The highest number is read as a")
        << QString(TextesSQL::maximumNumero) << QStringList {"A", "a"};
    QTest::newRow("The article family is one column however it is spelt")
        << QString(TextesSQL::consommationsParFamille) << QStringList {"Famille", "famille"};
}

void TestRecordset::champSansEgardALaCasse()
{
    QFETCH(QString, texte);
    QFETCH(QStringList, noms);
    QVERIFY(reserver(QStringLiteral("Martin")) > 0);

    Recordset jeu(base(), texte);
    QVERIFY2(jeu.estOuvert(), qPrintable(jeu.erreur().text()));
    QVERIFY(jeu.nombre() > 0);
    const QVariant reference = jeu.champ(noms.first());
    QVERIFY(reference.isValid());
    for (const QString &nom : noms) {
        QVERIFY2(jeu.aLeChamp(nom), qPrintable(nom));
        QCOMPARE(jeu.champ(nom), reference);
    }
}

void TestRecordset::datesLuesCommeDates_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("champ");
    QTest::addColumn<bool>("nulle");

    QTest::newRow("An arrival read through the planning's join is a date")
        << TextesSQL::reservationsDeLObjet(1, QDate(2030, 1, 1)) << "datedebut" << false;
    QTest::newRow("An arrival read through the named reservation view is a date")
        << TextesSQL::reservationNominative(1) << "DateDebut" << false;
    QTest::newRow("A departure read through the web query is a date")
        << TextesSQL::reservationsPubliees(1, QDate(2030, 1, 1)) << "DateFin" << false;
    QTest::newRow("A journal date is a date")
        << QString(TextesSQL::toutesLesOperations) << "date" << false;
    QTest::newRow("A deadline never given stays Null")
        << QString(TextesSQL::toutesLesReservations) << "datelimite" << true;
}

void TestRecordset::datesLuesCommeDates()
{
    QFETCH(QString, texte);
    QFETCH(QString, champ);
    QFETCH(bool, nulle);
    QVERIFY(reserver(QStringLiteral("Martin")) > 0);
    QSqlQuery journal(base());
    QVERIFY(
        journal.exec("INSERT INTO OPERATIONS (numeroreservation, date, prix, paiement, libelle) "
                     "VALUES (1, '2024-07-10 09:15:00', 0, '   ', 'x')"));

    Recordset jeu(base(), texte);
    QCOMPARE(jeu.nombre(), 1);
    const QVariant valeur = jeu.champ(champ);
    QCOMPARE(valeur.isNull(), nulle);
    if (!nulle) {
        QCOMPARE(valeur.typeId(), QMetaType::QDateTime);
        QVERIFY(valeur.toDateTime().isValid());
        QCOMPARE(valeur.toDateTime().date().year(), 2024);
    }
}

void TestRecordset::maximumDUneTableVide()
{
    Recordset maximum(base(), TextesSQL::maximumNumero);
    QVERIFY2(maximum.estOuvert(), qPrintable(maximum.erreur().text()));
    QCOMPARE(maximum.nombre(), 1);
    QVERIFY(maximum.champ("a").isValid());
    QVERIFY(maximum.champ("a").isNull());
    QCOMPARE(maximum.champ("a").toLongLong() + 1, 1);

    QCOMPARE(reserver(QStringLiteral("Premier")), 1);
}

void TestRecordset::numeroApresSuppression_data()
{
    QTest::addColumn<QList<int>>("supprimes");
    QTest::addColumn<int>("attendu");

    QTest::newRow("Deleting the highest number frees it again") << QList<int> {4} << 4;
    QTest::newRow("Deleting a number in the middle does not reuse it") << QList<int> {2} << 5;
    QTest::newRow("Deleting the two highest goes back to the one still present plus one")
        << QList<int> {3, 4} << 3;
    QTest::newRow("Deleting every reservation starts again at one") << QList<int> {1, 2, 3, 4} << 1;
}

void TestRecordset::numeroApresSuppression()
{
    QFETCH(QList<int>, supprimes);
    QFETCH(int, attendu);

    for (int i = 1; i <= 4; ++i)
        QCOMPARE(reserver(QStringLiteral("Client %1").arg(i)), i);
    for (int numero : supprimes) {
        Recordset jeu(base(), TextesSQL::reservationParNumero(QString::number(numero)));
        QCOMPARE(jeu.nombre(), 1);
        QVERIFY(!jeu.supprimer().isValid());
    }

    // What the reservation dialog predicts, and what the store then gives.
    Recordset maximum(base(), TextesSQL::maximumNumero);
    const qint64 prevu = maximum.champ("a").toLongLong() + 1;
    QCOMPARE(prevu, attendu);
    QCOMPARE(reserver(QStringLiteral("Nouveau")), attendu);
}

void TestRecordset::allerRetour_data()
{
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QVariant>("ecrit");
    QTest::addColumn<QVariant>("lu");
    QTest::addColumn<QVariant>("ecritEnsuite");
    QTest::addColumn<QVariant>("luEnsuite");

    const QDateTime arrivee(QDate(2024, 7, 10), QTime(14, 0));
    const QDateTime autreArrivee(QDate(2024, 7, 11), QTime(15, 30));
    QTest::newRow("A client name with accents and quotes comes back unchanged")
        << "nomclient" << QVariant("Lefèvre d'Arc") << QVariant("Lefèvre d'Arc")
        << QVariant("Müller \"fils\"") << QVariant("Müller \"fils\"");
    QTest::newRow("A deposit keeps its cents")
        << "arrhes" << QVariant(12.5) << QVariant(12.5) << QVariant(0.1) << QVariant(0.1);
    QTest::newRow("An arrival comes back as date and hour")
        << "DateDebut" << QVariant(arrivee) << QVariant(arrivee) << QVariant(autreArrivee)
        << QVariant(autreArrivee);
    QTest::newRow("A departure typed day first is read day first")
        << "datefin" << QVariant("14/07/2024 12:00")
        << QVariant(QDateTime(QDate(2024, 7, 14), QTime(12, 0))) << QVariant(QDate(2024, 7, 15))
        << QVariant(QDateTime(QDate(2024, 7, 15), QTime(0, 0)));
    QTest::newRow("A Null deadline stays Null until one is given")
        << "datelimite" << QVariant() << QVariant() << QVariant(arrivee) << QVariant(arrivee);
    QTest::newRow("A deadline can be set back to Null")
        << "datelimite" << QVariant(arrivee) << QVariant(arrivee) << QVariant() << QVariant();
    QTest::newRow("A remark keeps its line break and its trailing blank")
        << "remarque" << QVariant("Arrivée tardive\r\nvers 21 h ")
        << QVariant("Arrivée tardive\r\nvers 21 h ") << QVariant(" ") << QVariant(" ");
    QTest::newRow("A count given as a floating-point number is stored whole, halves to even")
        << "nbadultes" << QVariant(2.0) << QVariant(2) << QVariant(2.5) << QVariant(2);
    QTest::newRow("An odd half rounds up to the even neighbour")
        << "nbenfants" << QVariant(0.4) << QVariant(0) << QVariant(3.5) << QVariant(4);
    QTest::newRow("A state code given as text is stored as a number")
        << "Etat" << QVariant("3") << QVariant(3) << QVariant(" 2 ") << QVariant(2);
}

void TestRecordset::allerRetour()
{
    QFETCH(QString, champ);
    QFETCH(QVariant, ecrit);
    QFETCH(QVariant, lu);
    QFETCH(QVariant, ecritEnsuite);
    QFETCH(QVariant, luEnsuite);

    const auto verifier = [&](const QVariant &valeur, const QVariant &attendu) {
        if (attendu.isNull()) {
            QVERIFY2(valeur.isNull(), qPrintable(valeur.toString()));
        } else if (attendu.typeId() == QMetaType::QDateTime) {
            QCOMPARE(valeur.typeId(), QMetaType::QDateTime);
            QCOMPARE(valeur.toDateTime(), attendu.toDateTime());
        } else if (attendu.typeId() == QMetaType::Int) {
            QCOMPARE(valeur.toLongLong(), attendu.toLongLong());
        } else if (attendu.typeId() == QMetaType::Double) {
            QCOMPARE(valeur.toDouble(), attendu.toDouble());
        } else {
            QCOMPARE(valeur.toString(), attendu.toString());
        }
    };

    {
        Recordset ajout(base(), TextesSQL::toutesLesReservations);
        ajout.ajouter();
        ajout.fixerChamp("Objet", 3);
        ajout.fixerChamp(champ, ecrit);
        QCOMPARE(ajout.valider(), QSqlError());
    }
    Recordset jeu(base(), TextesSQL::reservationParNumero("1"));
    QCOMPARE(jeu.nombre(), 1);
    verifier(jeu.champ(champ), lu);
    if (QTest::currentTestFailed())
        return;

    jeu.modifier();
    jeu.fixerChamp(champ, ecritEnsuite);
    QCOMPARE(jeu.valider(), QSqlError());
    verifier(jeu.champ(champ), luEnsuite); // the set shows what the store holds
    QCOMPARE(jeu.champ("Objet").toInt(), 3);
    {
        Recordset relu(base(), TextesSQL::reservationParNumero("1"));
        verifier(relu.champ(champ), luEnsuite);
    }

    QCOMPARE(jeu.supprimer(), QSqlError());
    QVERIFY(jeu.fin());
    QCOMPARE(nombreDeLignes("RESERVATIONS"), 0);
}

void TestRecordset::valeurRefusee_data()
{
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QVariant>("valeur");

    QTest::newRow("A word where a date is expected") << "DateDebut" << QVariant("demain");
    QTest::newRow("A day that February does not have") << "DateDebut" << QVariant("31/02/2024");
    QTest::newRow("An empty text where a date is expected") << "datelimite" << QVariant("");
    QTest::newRow("An invalid date value") << "DateFin" << QVariant(QDateTime());
    QTest::newRow("A word where an amount is expected") << "arrhes" << QVariant("douze");
    QTest::newRow("A date where an amount is expected")
        << "arrhes" << QVariant(QDateTime::currentDateTime());
    QTest::newRow("Too many adults for a 16-bit count") << "nbadultes" << QVariant(40000);
    QTest::newRow("A state code past 32 bits") << "Etat" << QVariant(3e9);
    QTest::newRow("A field the table does not have") << "couleur" << QVariant(1);
}

void TestRecordset::valeurRefusee()
{
    QFETCH(QString, champ);
    QFETCH(QVariant, valeur);

    Recordset jeu(base(), TextesSQL::toutesLesReservations);
    jeu.ajouter();
    jeu.fixerChamp("nomclient", "Gardé");
    QVERIFY(!jeu.accepte(champ, valeur));
    jeu.fixerChamp(champ, valeur);
    QVERIFY(jeu.valider().isValid());
    // One refused field spoils the row: nothing half-filled reaches the table.
    QCOMPARE(nombreDeLignes("RESERVATIONS"), 0);
    QCOMPARE(jeu.nombre(), 0);

    // The refusal does not outlive its row.
    jeu.ajouter();
    jeu.fixerChamp("nomclient", "Suivant");
    QCOMPARE(jeu.valider(), QSqlError());
    QCOMPARE(nombreDeLignes("RESERVATIONS"), 1);
}

void TestRecordset::fixerHorsEdition()
{
    Recordset jeu(base(), TextesSQL::tousLesEtats);
    jeu.fixerChamp("Nom", "Perdu");
    QVERIFY(jeu.valider().isValid());
    QVERIFY(jeu.champ("Nom").toString() != QLatin1String("Perdu"));
    Recordset relu(base(), "select * from ETATS where Nom = 'Perdu'");
    QCOMPARE(relu.nombre(), 0);
}

void TestRecordset::texteMalveillant_data()
{
    QTest::addColumn<QString>("client");

    QTest::newRow("A name that tries to close the statement is stored as it stands")
        << "O'Brien\"; DROP TABLE RESERVATIONS; --";
    QTest::newRow("A name with Jet brackets, dates and Booleans is not translated")
        << "[Martin] #1/2/2024# True";
    QTest::newRow("A name that looks like a condition is not evaluated") << "x' OR '1'='1";
}

void TestRecordset::texteMalveillant()
{
    QFETCH(QString, client);

    const qint64 numero = reserver(client);
    QVERIFY(numero > 0);
    {
        Recordset jeu(base(), TextesSQL::reservationParNumero(QString::number(numero)));
        QCOMPARE(jeu.champ("nomclient").toString(), client);
        jeu.modifier();
        jeu.fixerChamp("remarque", client);
        QCOMPARE(jeu.valider(), QSqlError());
    }
    Recordset relu(base(), TextesSQL::reservationNominative(qint32(numero)));
    QCOMPARE(relu.champ("nomclient").toString(), client);
    QCOMPARE(nombreDeLignes("RESERVATIONS"), 1);
    // Nothing dropped (a server also holds the table of the schema version).
    QCOMPARE(base().tables().size(), 11 + int(BaseDeDonnees::estPostgres(base())));
    QCOMPARE(nombreDeLignes("ETATS"), 5);
}

void TestRecordset::lectureSeule_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QString>("table");

    QTest::newRow("The named reservation view cannot be written")
        << TextesSQL::reservationNominative(1) << "nomclient"
        << "RESERVATIONS";
    QTest::newRow("The highest number cannot be written")
        << QString(TextesSQL::maximumNumero) << "A"
        << "RESERVATIONS";
    QTest::newRow("A grouped result cannot be written")
        << "select Famille, count(*) as n from CONSOMMATIONS group by Famille"
        << "Famille"
        << "CONSOMMATIONS";
    QTest::newRow("A distinct result cannot be written")
        << "select distinct Famille from CONSOMMATIONS"
        << "Famille"
        << "CONSOMMATIONS";
}

void TestRecordset::lectureSeule()
{
    QFETCH(QString, texte);
    QFETCH(QString, champ);
    QFETCH(QString, table);
    QVERIFY(reserver(QStringLiteral("Martin")) > 0);
    const int avant = nombreDeLignes(table);

    Recordset jeu(base(), texte);
    QVERIFY2(jeu.estOuvert(), qPrintable(jeu.erreur().text()));
    QVERIFY(!jeu.estModifiable());
    const QVariant valeur = jeu.champ(champ);

    jeu.modifier();
    jeu.fixerChamp(champ, "Changé");
    QVERIFY(jeu.valider().isValid());
    jeu.ajouter();
    jeu.fixerChamp(champ, "Ajouté");
    QVERIFY(jeu.valider().isValid());
    QVERIFY(jeu.supprimer().isValid());

    QCOMPARE(nombreDeLignes(table), avant);
    QCOMPARE(jeu.champ(champ), valeur);
}

void TestRecordset::champJoint_data()
{
    QTest::addColumn<QString>("champ");
    QTest::addColumn<bool>("ecrit");

    QTest::newRow("The reservation's own client name can be written") << "nomclient" << true;
    QTest::newRow("The state's code joined to it cannot") << "code" << false;
    QTest::newRow("The state's name joined to it cannot") << "nom" << false;
    QTest::newRow("The state's colour under another name cannot") << "couleur" << false;
}

void TestRecordset::champJoint()
{
    QFETCH(QString, champ);
    QFETCH(bool, ecrit);
    QVERIFY(reserver(QStringLiteral("Martin")) > 0);

    Recordset jeu(base(), TextesSQL::reservationsDeLObjet(1, QDate(2030, 1, 1)));
    QCOMPARE(jeu.nombre(), 1);
    jeu.modifier();
    jeu.fixerChamp(champ, "Durand");
    QCOMPARE(!jeu.valider().isValid(), ecrit);

    Recordset etats(base(), TextesSQL::etatParCode(2));
    QCOMPARE(etats.champ("Nom").toString(), QStringLiteral("Confirmée"));
    Recordset reservation(base(), TextesSQL::reservationParNumero("1"));
    QCOMPARE(reservation.champ("nomclient").toString(),
             ecrit ? QStringLiteral("Durand") : QStringLiteral("Martin"));
}

void TestRecordset::internetSuitSurinternet_data()
{
    QTest::addColumn<QVariant>("valeur");
    QTest::addColumn<int>("attendu");

    QTest::newRow("A true Boolean shows the state on the web") << QVariant(true) << 1;
    QTest::newRow("A false Boolean takes it off") << QVariant(false) << 0;
    QTest::newRow("Jet's True, minus one, is stored as true") << QVariant(-1) << 1;
    QTest::newRow("Zero is false") << QVariant(0) << 0;
    QTest::newRow("The French word for true is understood") << QVariant("Vrai") << 1;
}

void TestRecordset::internetSuitSurinternet()
{
    QFETCH(QVariant, valeur);
    QFETCH(int, attendu);

    // State 5 starts off the web, state 2 on it: each row changes one of them.
    const int code = attendu ? 5 : 2;
    Recordset jeu(base(), TextesSQL::etatParCode(code));
    QCOMPARE(jeu.nombre(), 1);
    jeu.modifier();
    jeu.fixerChamp("surinternet", valeur);
    jeu.fixerChamp("CouleurPrincipale", 0x00112233);
    QCOMPARE(jeu.valider(), QSqlError());
    QCOMPARE(jeu.champ("internet").toInt(), attendu);

    Recordset relu(base(), TextesSQL::etatsDuParametrage);
    for (; !relu.fin(); relu.suivant()) {
        QCOMPARE(relu.champ("internet").toInt(), relu.champ("surinternet").toInt());
        if (relu.champ("code").toInt() == code)
            QCOMPARE(relu.champ("CouleurPrincipale").toInt(), 0x00112233);
    }
    Recordset surLeWeb(base(),
                       "select * from ETATS where surinternet = True and [code] = "
                           + QString::number(code));
    QCOMPARE(surLeWeb.nombre(), attendu);

    // The copy shown by the settings dialog follows its source and is never written itself.
    relu.premier();
    relu.modifier();
    relu.fixerChamp("internet", 1 - relu.champ("internet").toInt());
    QVERIFY(relu.valider().isValid());
}

void TestRecordset::texteQuiNEstPasUnSelect_data()
{
    QTest::addColumn<QString>("texte");

    QTest::newRow("A DELETE text does not run") << "delete from ETATS";
    QTest::newRow("A DROP text does not run") << "DROP TABLE ETATS";
    QTest::newRow("An UPDATE text does not run") << "update ETATS set Nom = 'x'";
    QTest::newRow("A second statement after a SELECT does not run")
        << "select * from ETATS; delete from ETATS";
}

void TestRecordset::texteQuiNEstPasUnSelect()
{
    QFETCH(QString, texte);
    Recordset jeu(base(), texte);
    QVERIFY(!jeu.estOuvert());
    QVERIFY(jeu.erreur().isValid());
    QCOMPARE(nombreDeLignes("ETATS"), 5);
    Recordset etats(base(), "select * from ETATS where Nom = 'x'");
    QCOMPARE(etats.nombre(), 0);
}

void TestRecordset::suppressionPasseALaSuivante()
{
    Recordset jeu(base(), TextesSQL::tousLesEtats);
    QCOMPARE(jeu.nombre(), 5);
    jeu.suivant();
    QCOMPARE(jeu.champ("Code").toInt(), 2);
    QCOMPARE(jeu.supprimer(), QSqlError());
    QCOMPARE(jeu.champ("Code").toInt(), 3);
    while (jeu.nombre() > 0 && jeu.champ("Code").toInt() != 5)
        jeu.suivant();
    QCOMPARE(jeu.supprimer(), QSqlError());
    QVERIFY(jeu.fin());
    QVERIFY(!jeu.champ("Code").isValid());
    QVERIFY(jeu.supprimer().isValid());

    QList<int> codes;
    Recordset relu(base(), TextesSQL::tousLesEtats);
    for (; !relu.fin(); relu.suivant())
        codes << relu.champ("code").toInt();
    QCOMPARE(codes, (QList<int> {1, 3, 4}));
}

void TestRecordset::ajoutGardeLaPosition()
{
    Recordset jeu(base(), TextesSQL::objetsDuSelecteur);
    const int avant = jeu.nombre();
    jeu.suivant();
    const QVariant deuxieme = jeu.champ("Numero");
    jeu.ajouter();
    jeu.fixerChamp("Numero", 0);
    jeu.fixerChamp("Nom", "Annexe");
    QCOMPARE(jeu.champ("nom").toString(), QStringLiteral("Annexe"));
    QCOMPARE(jeu.valider(), QSqlError());
    QCOMPARE(jeu.champ("Numero"), deuxieme);
    QCOMPARE(jeu.nombre(), avant + 1);
    jeu.dernier();
    QCOMPARE(jeu.champ("nom").toString(), QStringLiteral("Annexe"));
    QVERIFY(jeu.champ("NomInternet").isNull());

    // Lines keep the order they were entered in, not the order of their numbers.
    Recordset relu(base(), TextesSQL::objetsDuPlanning);
    relu.dernier();
    QCOMPARE(relu.champ("numero").toInt(), 0);
    QCOMPARE(relu.nombre(), avant + 1);
}

void TestRecordset::etatsDansLOrdreDeLaTable()
{
    {
        Recordset jeu(base(), TextesSQL::tousLesEtats);
        jeu.ajouter();
        jeu.fixerChamp("Code", 0);
        jeu.fixerChamp("Nom", "Libre");
        QCOMPARE(jeu.valider(), QSqlError());
    }
    QList<int> codes;
    Recordset etats(base(), TextesSQL::etatsDuParametrage);
    for (; !etats.fin(); etats.suivant())
        codes << etats.champ("code").toInt();
    // The first state stays the default of a new reservation.
    QCOMPARE(codes, (QList<int> {1, 2, 3, 4, 5, 0}));
}

void TestRecordset::ajoutSansLecture()
{
    QVERIFY(reserver(QStringLiteral("Martin")) > 0);
    Recordset jeu(base(), TextesSQL::toutesLesReservations, Recordset::Mode::AjoutSeulement);
    QVERIFY(jeu.estOuvert());
    QCOMPARE(jeu.nombre(), 0);
    QVERIFY(jeu.aLeChamp("nomclient"));
    jeu.ajouter();
    jeu.fixerChamp("nomclient", "Durand");
    QCOMPARE(jeu.valider(), QSqlError());
    QCOMPARE(jeu.nombre(), 1);
    jeu.premier();
    QCOMPARE(jeu.champ("NumeroReservation").toInt(), 2);
    QCOMPARE(nombreDeLignes("RESERVATIONS"), 2);
}

void TestRecordset::ouvertureRefusee_data()
{
    QTest::addColumn<QString>("cas");
    QTest::newRow("A missing file is refused, and not created") << "absent";
    QTest::newRow("A text file is not a database") << "texte";
    QTest::newRow("An SQLite file without our tables is refused") << "etrangere";
    QTest::newRow("A database that lost its named reservation view is refused") << "sansvue";
    QTest::newRow("A folder is not a database") << "dossier";
    QTest::newRow("An unreadable file is refused") << "illisible";
}

void TestRecordset::ouvertureRefusee()
{
    QFETCH(QString, cas);
    const QString chemin = m_base.fichier("essai.mdb");
    QByteArray contenu;
    if (cas == "texte") {
        contenu = QByteArray("Réservations de l'été\r\n").repeated(200);
        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(contenu);
    } else if (cas == "etrangere" || cas == "sansvue") {
        {
            QSqlDatabase autre = QSqlDatabase::addDatabase("QSQLITE", "autre");
            autre.setDatabaseName(chemin);
            QVERIFY(autre.open());
            QSqlQuery requete(autre);
            QVERIFY(requete.exec("CREATE TABLE CLIENTS (nom TEXT)"));
            if (cas == "sansvue") {
                autre.close();
                QFile::remove(chemin);
                QVERIFY(!creerBase(chemin, false).isValid());
                QVERIFY(autre.open());
                QSqlQuery vue(autre);
                QVERIFY(vue.exec("DROP VIEW RESERVATION_NOMINATIVE"));
            }
            autre.close();
        }
        QSqlDatabase::removeDatabase("autre");
    } else if (cas == "dossier") {
        QVERIFY(QDir().mkdir(chemin));
    } else if (cas == "illisible") {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(!creerBase(chemin, false).isValid());
        QVERIFY(QFile::setPermissions(chemin, QFileDevice::WriteOwner));
    }

    const QSqlError erreur = BaseDeDonnees::ouvrir(chemin, "refusee");
    QVERIFY(erreur.isValid());
    QVERIFY(!erreur.text().trimmed().isEmpty());
    QVERIFY(!QSqlDatabase::contains("refusee"));
    if (cas == "absent")
        QVERIFY(!QFileInfo::exists(chemin));
    if (cas == "texte") {
        QFile fichier(chemin);
        QVERIFY(fichier.open(QIODevice::ReadOnly));
        QCOMPARE(fichier.readAll(), contenu);
    }
}

void TestRecordset::cheminParticulier_data()
{
    QTest::addColumn<QString>("dossier");
    QTest::newRow("A folder with blanks") << "mes plannings";
    QTest::newRow("A folder with a question mark") << "quoi?mode=ro";
    QTest::newRow("A folder with a number sign") << "hôtel#2";
    QTest::newRow("A folder with a percent sign that looks encoded") << "cent%20pour%cent";
    QTest::newRow("A folder with accents") << "Réservations été";
}

void TestRecordset::cheminParticulier()
{
    QFETCH(QString, dossier);
    if (m_base.surServeur())
        QSKIP("A file's path: nothing of it on a server.");
    QVERIFY(QDir(m_base.dossier()).mkdir(dossier));
    const QString chemin = m_base.fichier(dossier + "/Razarivu.mdb");
    QVERIFY(!creerBase(chemin, false).isValid());

    QCOMPARE(BaseDeDonnees::ouvrir(chemin, "particulier"), QSqlError());
    {
        Recordset jeu(QSqlDatabase::database("particulier", false), TextesSQL::tousLesEtats);
        QCOMPARE(jeu.nombre(), 5);
        jeu.modifier();
        jeu.fixerChamp("CouleurPrincipale", 0x00FF00FF);
        QCOMPARE(jeu.valider(), QSqlError());
    }
    BaseDeDonnees::fermer("particulier");
    // The file opened was that one, read-write, and no other was made beside it.
    QCOMPARE(QDir(m_base.fichier(dossier)).entryList(QDir::Files), QStringList {"Razarivu.mdb"});
    QCOMPARE(QDir(m_base.dossier()).entryList(QDir::Files), QStringList {"planning.mdb"});
}

void TestRecordset::connexionDejaOuverte()
{
    if (m_base.surServeur())
        QSKIP("A file's path: nothing of it on a server.");
    const QString autre = m_base.fichier("autre.mdb");
    QVERIFY(!creerBase(autre, false).isValid());
    QVERIFY(BaseDeDonnees::ouvrir(autre, Connexion).isValid());
    // The connection already open is left working on its own file.
    QVERIFY(base().isOpen());
    QVERIFY(base().databaseName().contains("planning.mdb"));
}

void TestRecordset::memeTexteAutresValeurs_data()
{
    // Texts that differ only in the values they compare run one after the other: each must
    // read its own rows, whatever the set before it kept.
    QTest::addColumn<QStringList>("textes");
    QTest::addColumn<QList<int>>("nombres");

    QTest::newRow("The same query for another object reads that object's rows")
        << QStringList {TextesSQL::reservationsDeLObjet(1, QDate(2030, 1, 1)),
                        TextesSQL::reservationsDeLObjet(2, QDate(2030, 1, 1)),
                        TextesSQL::reservationsDeLObjet(3, QDate(2030, 1, 1))}
        << QList<int> {2, 1, 0};
    QTest::newRow("Another date reads up to that date")
        << QStringList {"select * from RESERVATIONS where [DateDebut] < #08/01/2024#",
                        "select * from RESERVATIONS where [DateDebut] < #01/01/2026#",
                        "select * from RESERVATIONS where [DateDebut] < #1/1/2020 10:00#"}
        << QList<int> {1, 3, 0};
    QTest::newRow("A name with an apostrophe is compared as it is written")
        << QStringList {"select * from RESERVATIONS where [nomclient] = 'O''Brien'",
                        "select * from RESERVATIONS where [nomclient] = 'Martin'",
                        "select * from RESERVATIONS where [nomclient] = 'o''brien '"}
        << QList<int> {1, 1, 0};
    QTest::newRow("A date that cannot be read fails rather than matching")
        << QStringList {"select * from RESERVATIONS where [DateDebut] < #08/01/2024#",
                        "select * from RESERVATIONS where [DateDebut] < #31/31/2024#"}
        << QList<int> {1, -1};
    QTest::newRow("A negative number is compared with its sign")
        << QStringList {"select * from RESERVATIONS where [Objet] = -1",
                        "select * from RESERVATIONS where [Objet] > -1"}
        << QList<int> {0, 3};
    QTest::newRow("A quoted name after a comparison is not taken for a value")
        << QStringList {"select * from RESERVATIONS where [Objet] = \"objet\"",
                        "select * from RESERVATIONS where [Objet] = [Objet]"}
        << QList<int> {3, 3};
}

void TestRecordset::memeTexteAutresValeurs()
{
    QFETCH(QStringList, textes);
    QFETCH(QList<int>, nombres);
    const auto ajouter = [this](int objet, const QString &client, const QDateTime &debut) {
        Recordset jeu(base(), TextesSQL::toutesLesReservations);
        jeu.ajouter();
        jeu.fixerChamp("Objet", objet);
        jeu.fixerChamp("nomclient", client);
        jeu.fixerChamp("DateDebut", debut);
        jeu.fixerChamp("DateFin", debut.addDays(3));
        return !jeu.valider().isValid();
    };
    QVERIFY(ajouter(1, "O'Brien", QDateTime(QDate(2024, 7, 10), QTime(14, 0))));
    QVERIFY(ajouter(2, "Martin", QDateTime(QDate(2024, 8, 1), QTime(14, 0))));
    QVERIFY(ajouter(1, "Durand", QDateTime(QDate(2025, 1, 5), QTime(14, 0))));

    for (int i = 0; i < textes.size(); ++i) {
        Recordset jeu(base(), textes[i]);
        QCOMPARE(jeu.estOuvert() ? jeu.nombre() : -1, nombres[i]);
    }
}

void TestRecordset::connexionRouverte()
{
    QVERIFY(reserver(QStringLiteral("Martin")) > 0);
    QCOMPARE(Recordset(base(), TextesSQL::toutesLesReservations).nombre(), 1);

    // Closed and opened again by its owner: the same text still reads.
    {
        QSqlDatabase connexion = base();
        connexion.close();
        QVERIFY(connexion.open());
    }
    QCOMPARE(Recordset(base(), TextesSQL::toutesLesReservations).nombre(), 1);

    // The same connection name on another file reads that file, with its own schema.
    BaseDeDonnees::fermer(Connexion);
    const QString autre = m_base.fichier(QStringLiteral("autre.mdb"));
    QVERIFY(!creerBase(autre, false).isValid());
    QVERIFY(!BaseDeDonnees::ouvrir(autre, Connexion).isValid());
    Recordset vide(base(), TextesSQL::toutesLesReservations);
    QVERIFY(vide.estOuvert());
    QCOMPARE(vide.nombre(), 0);
    QVERIFY(reserver(QStringLiteral("Durand")) > 0);
    QCOMPARE(Recordset(base(), TextesSQL::toutesLesReservations).nombre(), 1);
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"

#include "commun/BaseDemo.h"
#include "commun/BaseEssai.h"
#include "data/RechercheSejours.h"
#include "outils/Recherche.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

// Finding a client: the matching on a base of awkward names, then the window as the desk uses
// it on the demo base.
class TestRecherche : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void correspondance_data();
    void correspondance();
    void baseFermee();
    void fenetre();

private:
    BaseEssai m_essai {QStringLiteral("tst_recherche")};
    IndexRecherche m_index;
};

namespace {

// The stays on a common name, numbered from there, one day apart.
constexpr int PremierCommun = 5000, Communs = 250;

} // namespace

void TestRecherche::initTestCase()
{
    QVERIFY2(m_essai.ouvrir(), qPrintable(m_essai.echec()));
    const auto sejour
        = [this](const QString &client, const QString &arrivee, const QVariantMap &autres = {}) {
              QVariantMap champs = autres;
              champs.insert(QStringLiteral("nomclient"), client);
              champs.insert(QStringLiteral("DateDebut"), arrivee + QStringLiteral(" 14:00:00"));
              QVERIFY(m_essai.reserver(champs) > 0);
          };
    const QString tel = QStringLiteral("telephone"), mel = QStringLiteral("email");
    sejour(QStringLiteral("Lefèvre Jean"), QStringLiteral("2024-07-10"),
           {{tel, QStringLiteral("06 12 34 56 78 ")},
            {mel, QStringLiteral("jean.lefevre@example.fr ")}});
    sejour(QStringLiteral("LEFÈVRE Marie"), QStringLiteral("2024-08-01"),
           {{tel, QStringLiteral("06.12.34.56.79")}, {mel, QStringLiteral("marie@exemple.com")}});
    sejour(QStringLiteral("Cœur Lætitia Straße"), QStringLiteral("2024-06-01"));
    sejour(QStringLiteral("100% Bio_Club"), QStringLiteral("2024-05-01"));
    // What the patterns above would also find, were they patterns.
    sejour(QStringLiteral("1000 Biographes"), QStringLiteral("2024-05-02"));
    sejour(QStringLiteral("O'Brien"), QStringLiteral("2024-04-01"),
           {{tel, QStringLiteral("+33 6 98 76 54 32")}});
    sejour(QStringLiteral("Famille 😀 Soleil"), QStringLiteral("2024-03-01"));
    sejour(QStringLiteral("Dupont"), QStringLiteral("2023-01-01"),
           {{QStringLiteral("NumeroReservation"), 4242},
            {tel, QStringLiteral("07 00 00 00 00 (soir)")}});
    // 4243 and 4244, on the same arrival.
    sejour(QStringLiteral("Égalité A"), QStringLiteral("2024-09-01"));
    sejour(QStringLiteral("Égalité B"), QStringLiteral("2024-09-01"));
    QVERIFY(m_essai.base().transaction());
    for (int i = 0; i < Communs; ++i)
        sejour(QStringLiteral("Client commun"), QDate(2020, 1, 1).addDays(i).toString(Qt::ISODate),
               {{QStringLiteral("NumeroReservation"), PremierCommun + i}});
    QVERIFY(m_essai.base().commit());
    QVERIFY(!m_index.charger(m_essai.base()).isValid());
    QCOMPARE(m_index.taille(), 10 + Communs);
}

void TestRecherche::cleanupTestCase()
{
    m_essai.fermer();
}

void TestRecherche::correspondance_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QVector<qint32>>("attendus");
    QTest::addColumn<bool>("plusNombreux");

    const QVector<qint32> lefevre {2, 1};
    QTest::newRow("sans accent") << "Lefevre" << lefevre << false;
    QTest::newRow("capitales accentuées") << "LEFÈVRE" << lefevre << false;
    QTest::newRow("accent décomposé, blancs autour") << "  Lefe\u0300vre  " << lefevre << false;
    QTest::newRow("œ") << "coeur" << QVector<qint32> {3} << false;
    QTest::newRow("æ") << "LAETITIA" << QVector<qint32> {3} << false;
    QTest::newRow("ß") << "strasse" << QVector<qint32> {3} << false;
    QTest::newRow("ß tapé") << "STRAßE" << QVector<qint32> {3} << false;
    QTest::newRow("pour cent") << "0% b" << QVector<qint32> {4} << false;
    QTest::newRow("souligné") << "_" << QVector<qint32> {4} << false;
    QTest::newRow("apostrophe") << "o'br" << QVector<qint32> {6} << false;
    QTest::newRow("SQL") << "'; DROP TABLE RESERVATIONS; --" << QVector<qint32> {} << false;
    QTest::newRow("chiffres sans blancs") << "0612" << lefevre << false;
    QTest::newRow("autres blancs") << "06 12 34" << lefevre << false;
    QTest::newRow("tirets") << "12-34-56-79" << QVector<qint32> {2} << false;
    QTest::newRow("indicatif") << "+33 6 98" << QVector<qint32> {6} << false;
    QTest::newRow("texte du téléphone") << "soir" << QVector<qint32> {4242} << false;
    QTest::newRow("numéro") << "4242" << QVector<qint32> {4242} << false;
    QTest::newRow("zéro devant : un téléphone") << "04242" << QVector<qint32> {} << false;
    // Stay 5 first, then the phones holding a 5.
    QTest::newRow("numéro et téléphones") << "5" << QVector<qint32> {5, 2, 1, 6} << false;
    QTest::newRow("e-mail") << "example.fr" << QVector<qint32> {1} << false;
    QTest::newRow("domaine") << "@EXEMPLE" << QVector<qint32> {2} << false;
    QTest::newRow("emoji") << "😀" << QVector<qint32> {7} << false;
    QTest::newRow("même arrivée") << "egalite" << QVector<qint32> {4244, 4243} << false;
    QVector<qint32> recents;
    for (int i = Communs - 1; i >= Communs - 200; --i)
        recents << PremierCommun + i;
    QTest::newRow("limite, les plus récents") << "commun" << recents << true;
    QTest::newRow("vide") << "" << QVector<qint32> {} << false;
    QTest::newRow("blancs") << "   " << QVector<qint32> {} << false;
    QTest::newRow("5 000 caractères") << QString(5000, u'a') << QVector<qint32> {} << false;
}

void TestRecherche::correspondance()
{
    QFETCH(QString, texte);
    QFETCH(QVector<qint32>, attendus);
    QFETCH(bool, plusNombreux);
    bool auDela = !plusNombreux;
    QCOMPARE(m_index.chercher(texte, 200, &auDela), attendus);
    QCOMPARE(auDela, plusNombreux);
}

void TestRecherche::baseFermee()
{
    IndexRecherche index;
    QVERIFY(index.charger(QSqlDatabase()).isValid());
    QVERIFY(index.chercher(QStringLiteral("a"), 200).isEmpty());
    QSqlError erreur;
    QVERIFY(sejoursTrouves(QSqlDatabase(), {1}, &erreur).isEmpty());
    QVERIFY(erreur.isValid());
}

// Typed, moved through with the arrows, opened with Enter; shown again, a stay recorded
// meanwhile is there, and a double click opens it.
void TestRecherche::fenetre()
{
    BaseDemo demo;
    QVERIFY(demo.ouvrir());
    QVector<qint32> attendus;
    QSqlQuery requete(demo.contexte->BasePlanning());
    QVERIFY(requete.exec(QStringLiteral(
        "SELECT NumeroReservation FROM RESERVATIONS WHERE nomclient LIKE '%françois%' "
        "OR email LIKE '%francois%' ORDER BY DateDebut DESC, NumeroReservation DESC")));
    while (requete.next())
        attendus << requete.value(0).toInt();
    QVERIFY(attendus.size() >= 2);

    Recherche recherche(*demo.contexte);
    qint32 ouvert = 0;
    recherche.ouvrirSejour = [&ouvert](qint32 numero) {
        ouvert = numero;
    };
    recherche.show();
    QVERIFY(QTest::qWaitForWindowActive(&recherche));
    QTest::keyClicks(recherche.texteRecherche, QStringLiteral("Francois"));
    const auto numerosAffiches = [&recherche] {
        QVector<qint32> numeros;
        for (int i = 0; i < recherche.resultats->topLevelItemCount(); ++i)
            numeros << recherche.resultats->topLevelItem(i)->text(0).toInt();
        return numeros;
    };
    QCOMPARE(numerosAffiches(), attendus);
    QCOMPARE(recherche.compte->text(), QStringLiteral("%1 séjours trouvés").arg(attendus.size()));
    QVERIFY(requete.exec(QStringLiteral("SELECT nomclient, NomObjet, DateDebut, DateFin, NomEtat "
                                        "FROM RESERVATION_NOMINATIVE WHERE NumeroReservation = %1")
                             .arg(attendus.first())));
    QVERIFY(requete.next());
    const QTreeWidgetItem *premiere = recherche.resultats->topLevelItem(0);
    QCOMPARE(premiere->text(1), requete.value(0).toString().trimmed());
    QCOMPARE(premiere->text(2), requete.value(1).toString());
    const auto jour = [](const QVariant &date) {
        return QDate::fromString(date.toString().left(10), Qt::ISODate)
            .toString(QStringLiteral("dd/MM/yyyy"));
    };
    QCOMPARE(premiere->text(3), jour(requete.value(2)));
    QCOMPARE(premiere->text(4), jour(requete.value(3)));
    QCOMPARE(premiere->text(5), requete.value(4).toString());

    QTest::keyClick(recherche.texteRecherche, Qt::Key_Down);
    QTest::keyClick(recherche.texteRecherche, Qt::Key_Down);
    QTest::keyClick(recherche.texteRecherche, Qt::Key_Return);
    QCOMPARE(ouvert, attendus.at(1));
    QVERIFY(!recherche.isVisible());

    QVERIFY(requete.exec(QStringLiteral(
        "INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat) VALUES "
        "(1, 'François Nouveau', '2030-01-01 14:00:00', '2030-01-03 12:00:00', 1)")));
    const qint32 nouveau = requete.lastInsertId().toInt();
    recherche.show();
    QVERIFY(QTest::qWaitForWindowActive(&recherche));
    QCOMPARE(numerosAffiches(), QVector<qint32> {nouveau} + attendus);
    const QRect place = recherche.resultats->visualItemRect(recherche.resultats->topLevelItem(0));
    // As the system sends a double click: the first click, then the second as a double one.
    QTest::mouseClick(recherche.resultats->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(recherche.resultats->viewport(), Qt::LeftButton, {}, place.center());
    QCOMPARE(ouvert, nouveau);
    QVERIFY(!recherche.isVisible());
    requete = QSqlQuery();
    demo.fermer();
}

QTEST_MAIN(TestRecherche)
#include "tst_recherche.moc"

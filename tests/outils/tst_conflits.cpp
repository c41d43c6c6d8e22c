#include "commun/BaseDemo.h"
#include "data/ListeConflits.h"
#include "data/TraductionJet.h"
#include "outils/Conflits.h"

#include <QLabel>
#include <QTreeWidget>

// The places sold twice: the pairs read from a small base, the plan that keeps the history
// unread, and the window driven on the demo base.
class TestConflits : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void lesPaires_data();
    void lesPaires();
    void laListeSuitLIndexDeLaPortee();
    void laFenetre();

private:
    BaseDemo m_demo;
};

namespace {

QString moment(const QDateTime &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("…");
}

// "object:first/second from..to", one pair after the other.
QString decrire(const QVector<PaireEnConflit> &paires)
{
    QStringList textes;
    for (const PaireEnConflit &paire : paires)
        textes << QStringLiteral("%1:%2/%3 %4..%5")
                      .arg(paire.objet)
                      .arg(paire.premier)
                      .arg(paire.second)
                      .arg(moment(paire.debutCommun), moment(paire.finCommune));
    return textes.join(QStringLiteral(", "));
}

} // namespace

void TestConflits::cleanup()
{
    m_demo.fermer();
}

void TestConflits::lesPaires_data()
{
    // Each stay "object arrival departure state", numbered 1, 2, ... in this order; "-" for no
    // departure. Listed from 1 July 2027.
    QTest::addColumn<QStringList>("sejours");
    QTest::addColumn<QString>("paires");

    QTest::newRow("two stays, a retired object, a state gone from the list")
        << QStringList {"2 2027-07-10T14:00 2027-07-14T10:00 2",
                        "2 2027-07-12T14:00 2027-07-16T10:00 99"}
        << "2:1/2 2027-07-12 14:00..2027-07-14 10:00";
    QTest::newRow("leaving the morning another arrives")
        << QStringList {"1 2027-07-10T14:00 2027-07-14T10:00 2",
                        "1 2027-07-14T14:00 2027-07-16T10:00 2"}
        << "";
    QTest::newRow("cancelled") << QStringList {"1 2027-07-10T14:00 2027-07-14T10:00 2",
                                               "1 2027-07-12T14:00 2027-07-16T10:00 5"}
                               << "";
    QTest::newRow("past clashes left out, the one ending on the first morning kept")
        << QStringList {"1 2027-06-20T14:00 2027-06-25T10:00 2",
                        "1 2027-06-22T14:00 2027-06-26T10:00 2",
                        "2 2027-06-27T14:00 2027-07-01T00:00 2",
                        "2 2027-06-28T14:00 2027-07-05T10:00 2",
                        "3 2027-06-28T14:00 2027-07-01T10:00 2",
                        "3 2027-06-29T14:00 2027-07-03T10:00 2"}
        << "3:5/6 2027-06-29 14:00..2027-07-01 10:00";
    QTest::newRow("no departure, one of them arrived years ago")
        << QStringList {"1 2027-07-10T14:00 - 2", "1 2027-08-01T14:00 2027-08-03T10:00 2",
                        "1 2020-01-01T14:00 - 2"}
        << "1:3/1 2027-07-10 14:00..…, 1:3/2 2027-08-01 14:00..2027-08-03 10:00, "
           "1:1/2 2027-08-01 14:00..2027-08-03 10:00";
    QTest::newRow("stays making pairs, listed by their common start")
        << QStringList {"1 2027-07-10T14:00 2027-07-30T10:00 2",
                        "1 2027-07-12T14:00 2027-07-16T10:00 2",
                        "1 2027-07-14T14:00 2027-07-15T10:00 2",
                        "1 2027-07-20T14:00 2027-07-22T10:00 2"}
        << "1:1/2 2027-07-12 14:00..2027-07-16 10:00, 1:1/3 2027-07-14 14:00..2027-07-15 10:00, "
           "1:2/3 2027-07-14 14:00..2027-07-15 10:00, 1:1/4 2027-07-20 14:00..2027-07-22 10:00";
    QTest::newRow("planning order, then the common start; one arrival: lower number first")
        << QStringList {"1 2027-07-20T14:00 2027-07-22T10:00 2",
                        "1 2027-07-21T14:00 2027-07-23T10:00 2",
                        "3 2027-08-01T14:00 2027-08-09T10:00 2",
                        "3 2027-08-01T14:00 2027-08-03T10:00 2",
                        "1 2027-07-05T14:00 2027-07-07T10:00 2",
                        "1 2027-07-06T14:00 2027-07-08T10:00 2"}
        << "3:3/4 2027-08-01 14:00..2027-08-03 10:00, 1:5/6 2027-07-06 14:00..2027-07-07 10:00, "
           "1:1/2 2027-07-21 14:00..2027-07-22 10:00";
    QTest::newRow("a departure typed before the arrival holds the days between")
        << QStringList {"1 2027-07-14T10:00 2027-07-10T14:00 2",
                        "1 2027-07-12T14:00 2027-07-13T10:00 2"}
        << "1:1/2 2027-07-12 14:00..2027-07-13 10:00";
}

void TestConflits::lesPaires()
{
    QFETCH(QStringList, sejours);
    QFETCH(QString, paires);
    BaseEssai base(QStringLiteral("tst_conflits"));
    QVERIFY2(base.ouvrir(), qPrintable(base.echec()));
    // Planning order is not number order; object 2 is retired.
    QVERIFY(base.executer("DELETE FROM OBJETS"));
    QVERIFY(base.executer("INSERT INTO OBJETS (Numero, Nom, retire) VALUES (3, 'Bleue', 0), "
                          "(1, 'Rose', 0), (2, 'Pins', 1)"));
    for (const QString &sejour : std::as_const(sejours)) {
        const QStringList champs = sejour.split(u' ');
        const auto date = [](const QString &texte) {
            return texte == "-" ? QVariant(QMetaType::fromType<QString>())
                                : QVariant(QString(texte).replace(u'T', u' ') + ":00");
        };
        QVERIFY(base.reserver({{"Objet", champs[0].toInt()},
                               {"DateDebut", date(champs[1])},
                               {"DateFin", date(champs[2])},
                               {"Etat", champs[3].toInt()}})
                > 0);
    }
    QVector<PaireEnConflit> resultat;
    const QSqlError erreur = listeDesConflits(base.base(), QDate(2027, 7, 1), resultat);
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
    QCOMPARE(decrire(resultat), paires);
}

void TestConflits::laListeSuitLIndexDeLaPortee()
{
    BaseEssai base(QStringLiteral("tst_conflits_plan"));
    QVERIFY2(base.ouvrir(), qPrintable(base.echec()));
    QSqlQuery plan(base.base());
    QVERIFY2(plan.exec("EXPLAIN QUERY PLAN " + traduireJet(texteDesSejoursSuivis({2027, 7, 1}))),
             qPrintable(plan.lastError().text()));
    QStringList etapes;
    while (plan.next())
        etapes << plan.value(3).toString();
    QVERIFY2(
        etapes.join(" | ").contains("USING INDEX ReservationsParPortee (Objet=? AND <expr>>?)"),
        qPrintable(etapes.join(" | ")));
}

void TestConflits::laFenetre()
{
    QVERIFY(m_demo.ouvrir());
    const auto executer = [this](const QString &sql) {
        QSqlQuery requete(m_demo.contexte->BasePlanning());
        return requete.exec(sql);
    };
    QVERIFY(executer("INSERT INTO RESERVATIONS (NumeroReservation, Objet, nomclient, DateDebut, "
                     "DateFin, Etat) VALUES (901, 41, 'Dupuis ', '2027-07-25 14:00:00', "
                     "'2027-08-02 10:00:00', 2), (902, 41, 'Peeters', '2027-07-28 14:00:00', "
                     "'2027-08-09 10:00:00', 1)"));
    Conflits fenetre(*m_demo.contexte);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    QCOMPARE(fenetre.windowTitle(), QString("Conflits"));

    QList<QTreeWidgetItem *> lignes
        = fenetre.conflits->findItems("n° 902 – Peeters", Qt::MatchExactly, 2);
    QCOMPARE(lignes.size(), 1);
    QTreeWidgetItem *ligne = lignes.first();
    QCOMPARE((QStringList {ligne->text(0), ligne->text(1), ligne->text(3)}),
             (QStringList {"Chalet (vue lac)", "n° 901 – Dupuis", "du 28/07/2027 au 02/08/2027"}));
    // The demo's own stays never clash.
    QCOMPARE(fenetre.conflits->topLevelItemCount(), 1);
    QCOMPARE(fenetre.compte->text(), QString("1 conflit"));

    // The later stay is moved while its dialog is open: the list shows the clash gone.
    QVector<qint32> ouverts;
    fenetre.ouvrirSejour = [&](qint32 numero) {
        ouverts << numero;
        executer("UPDATE RESERVATIONS SET Objet = 42 WHERE NumeroReservation = 902");
    };
    fenetre.conflits->scrollToItem(ligne);
    const QPoint centre = fenetre.conflits->visualItemRect(ligne).center();
    QTest::mouseClick(fenetre.conflits->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(fenetre.conflits->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(ouverts, QVector<qint32> {902});
    QCOMPARE(fenetre.conflits->topLevelItemCount(), 0);
    QCOMPARE(fenetre.compte->text(), QString("Aucun conflit"));

    // Closed, kept, and read again when shown.
    fenetre.close();
    QVERIFY(executer("UPDATE RESERVATIONS SET Objet = 41 WHERE NumeroReservation = 902"));
    fenetre.show();
    QCOMPARE(fenetre.compte->text(), QString("1 conflit"));

    // A base that cannot be read: said in the window, nothing listed.
    QVERIFY(executer("DROP VIEW RESERVATION_NOMINATIVE") && executer("DROP TABLE RESERVATIONS"));
    fenetre.actualiser();
    QCOMPARE(fenetre.conflits->topLevelItemCount(), 0);
    QVERIFY2(fenetre.compte->text().startsWith("Les conflits n'ont pas pu être lus : "),
             qPrintable(fenetre.compte->text()));
}

QTEST_MAIN(TestConflits)
#include "tst_conflits.moc"

#include "commun/BaseDemo.h"
#include "data/DisponibiliteObjets.h"
#include "outils/PlacesLibres.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

// Which objects are free: the rule on a base of four objects, then the window driven on the
// demo base as the desk drives it.
class TestPlacesLibres : public QObject
{
    Q_OBJECT

private slots:
    void regle_data();
    void regle();
    void fenetre();
    void departAvantArrivee();
    void erreurDeLecture();
    void cleanup();

private:
    void ouvrirFenetre();
    // Replaces the whole text of a field by `texte`, typed.
    static void saisir(QWidget *champ, const QString &texte)
    {
        QTest::mouseClick(champ, Qt::LeftButton);
        QTest::keyClick(champ, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(champ, texte);
    }
    bool executer(const char *sql) const
    {
        QSqlQuery requete(m_demo.contexte->BasePlanning());
        return requete.exec(QString::fromUtf8(sql));
    }
    QStringList liste() const
    {
        QStringList lignes;
        for (int i = 0; i < m_fenetre->libres->topLevelItemCount(); ++i)
            lignes << m_fenetre->libres->topLevelItem(i)->text(0);
        return lignes;
    }

    BaseDemo m_demo;
    QPointer<PlacesLibres> m_fenetre;
};

void TestPlacesLibres::cleanup()
{
    delete m_fenetre.data();
    m_demo.fermer();
}

void TestPlacesLibres::regle_data()
{
    QTest::addColumn<QString>("debut"); // of one stay on object 3; empty: no stay
    QTest::addColumn<QVariant>("fin");
    QTest::addColumn<QVariant>("etat");
    QTest::addColumn<int>("personnes");
    QTest::addColumn<QString>("categorie");
    QTest::addColumn<QString>("libres"); // searched from 10 to 12 July 2024

    const QVariant nul;
    const QString tous = QStringLiteral("3,1,2");
    const QString pris = QStringLiteral("1,2");
    QTest::newRow("planning order, retired hidden") << "" << nul << nul << 1 << "" << tous;
    QTest::newRow("leaving on the arrival day")
        << "2024-07-07 14:00:00" << QVariant("2024-07-10 12:00:00") << QVariant(2) << 1 << ""
        << tous;
    QTest::newRow("arriving on the departure day")
        << "2024-07-12 14:00:00" << QVariant("2024-07-15 10:00:00") << QVariant(2) << 1 << ""
        << tous;
    QTest::newRow("the last night taken")
        << "2024-07-11 14:00:00" << QVariant("2024-07-12 10:00:00") << QVariant(2) << 1 << ""
        << pris;
    QTest::newRow("the whole month") << "2024-07-01 14:00:00" << QVariant("2024-07-31 10:00:00")
                                     << QVariant(1) << 1 << "" << pris;
    QTest::newRow("departure stored without its hour")
        << "2024-07-09 14:00:00" << QVariant("2024-07-11") << QVariant(2) << 1 << "" << pris;
    QTest::newRow("cancelled") << "2024-07-10 14:00:00" << QVariant("2024-07-12 10:00:00")
                               << QVariant(5) << 1 << "" << tous;
    QTest::newRow("state gone from the list")
        << "2024-07-10 14:00:00" << QVariant("2024-07-12 10:00:00") << QVariant(99) << 1 << ""
        << pris;
    QTest::newRow("no state") << "2024-07-10 14:00:00" << QVariant("2024-07-12 10:00:00") << nul
                              << 1 << "" << pris;
    QTest::newRow("no departure, arrived long ago")
        << "2020-01-01 14:00:00" << nul << QVariant(2) << 1 << "" << pris;
    QTest::newRow("departure before arrival reads as the arrival")
        << "2024-07-11 14:00:00" << QVariant("2024-07-01 10:00:00") << QVariant(2) << 1 << ""
        << pris;
    QTest::newRow("capacity 2 too small, 4 and unknown kept")
        << "" << nul << nul << 3 << "" << pris;
    QTest::newRow("only the unknown capacity") << "" << nul << nul << 5 << ""
                                               << "2";
    QTest::newRow("one category") << "" << nul << nul << 1 << "Chambre"
                                  << "3,1";
    QTest::newRow("category stored with a blank") << "" << nul << nul << 1 << "Chalet"
                                                  << "2";
}

void TestPlacesLibres::regle()
{
    QFETCH(QString, debut);
    QFETCH(QVariant, fin);
    QFETCH(QVariant, etat);
    QFETCH(int, personnes);
    QFETCH(QString, categorie);
    QFETCH(QString, libres);

    BaseEssai base(QStringLiteral("tst_placeslibres"));
    QVERIFY2(base.ouvrir(), qPrintable(base.echec()));
    // Planning order is not number order; object 4 is retired and free.
    QVERIFY(base.executer("DELETE FROM OBJETS"));
    QVERIFY(base.executer("INSERT INTO OBJETS (Numero, Nom, Categorie, Capacite, retire) VALUES "
                          "(3, 'Bleue', 'Chambre', 2, 0), (1, 'Rose', 'Chambre', 4, 0), "
                          "(2, 'Pins', 'Chalet ', NULL, 0), (4, 'Vieille', 'Chambre', 2, 1)"));
    if (!debut.isEmpty()) {
        QVERIFY(
            base.reserver({{"Objet", 3}, {"DateDebut", debut}, {"DateFin", fin}, {"Etat", etat}})
            > 0);
    }
    QVector<PlaceLibre> places;
    // "Toutes" comes from the window as a null text.
    const QString filtre = categorie.isEmpty() ? QString() : categorie;
    const QSqlError erreur = DisponibiliteObjets::placesLibres(
        base.base(), QDate(2024, 7, 10), QDate(2024, 7, 12), personnes, filtre, places);
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
    QStringList numeros;
    for (const PlaceLibre &place : std::as_const(places))
        numeros << QString::number(place.numero);
    QCOMPARE(numeros.join(u','), libres);
}

void TestPlacesLibres::ouvrirFenetre()
{
    QVERIFY(m_demo.ouvrir());
    m_fenetre = new PlacesLibres(*m_demo.contexte);
    m_fenetre->show();
    QVERIFY(QTest::qWaitForWindowActive(m_fenetre));
}

void TestPlacesLibres::fenetre()
{
    ouvrirFenetre();
    QCOMPARE(m_fenetre->arrivee->text(), QStringLiteral("08/12/2026"));
    QCOMPARE(m_fenetre->depart->text(), QStringLiteral("09/12/2026"));
    QCOMPARE(m_fenetre->categorie->itemText(0), QStringLiteral("Toutes"));
    // Beyond the demo's stays but for one on the lakeside chalet.
    QVERIFY(executer("INSERT INTO RESERVATIONS (Objet, DateDebut, DateFin, Etat) VALUES (41, "
                     "'2027-08-30 14:00:00', '2027-09-02 10:00:00', 2)"));
    saisir(m_fenetre->arrivee, QStringLiteral("01/09/2027"));
    saisir(m_fenetre->depart, QStringLiteral("04/09/2027"));
    saisir(m_fenetre->personnes, QStringLiteral("5"));
    QTest::mouseClick(m_fenetre->chercher, Qt::LeftButton);

    // Rooms and mobile homes are too small; the pitches and two chalets remain.
    QStringList attendus;
    for (int numero : {21, 22, 23, 24, 25, 26, 27})
        attendus << QStringLiteral("%1 : Emplacement A%2").arg(numero).arg(numero - 20);
    for (int numero : {31, 32, 33, 34, 35, 36, 37})
        attendus << QStringLiteral("%1 : Emplacement B%2").arg(numero).arg(numero - 30);
    attendus << QStringLiteral("42 : Chalet des Pins") << QStringLiteral("43 : Chalet du Moulin");
    QCOMPARE(liste(), attendus);
    QCOMPARE(m_fenetre->compte->text(), QStringLiteral("16 places libres"));
    QVERIFY(BoiteMessage::messagesAffiches().isEmpty());

    // The new stay is saved before the call returns: the chalet is no longer offered.
    QVector<QVariantList> appels;
    m_fenetre->nouveauSejour = [&](qint32 objet, const QDate &arrivee, const QDate &depart) {
        appels.append({objet, arrivee, depart});
        QVERIFY(executer("INSERT INTO RESERVATIONS (Objet, DateDebut, DateFin, Etat) VALUES (42, "
                         "'2027-09-01 14:00:00', '2027-09-04 10:00:00', 1)"));
    };
    QTreeWidgetItem *chalet = m_fenetre->libres->topLevelItem(14);
    m_fenetre->libres->scrollToItem(chalet);
    // A double click as the system delivers it: press and release, then the second press.
    const QPoint ligne = m_fenetre->libres->visualItemRect(chalet).center();
    QTest::mouseClick(m_fenetre->libres->viewport(), Qt::LeftButton, {}, ligne);
    QTest::mouseDClick(m_fenetre->libres->viewport(), Qt::LeftButton, {}, ligne);
    QCOMPARE(appels, QVector<QVariantList>({{42, QDate(2027, 9, 1), QDate(2027, 9, 4)}}));
    attendus.removeAt(14);
    QCOMPARE(liste(), attendus);
}

void TestPlacesLibres::departAvantArrivee()
{
    ouvrirFenetre();
    saisir(m_fenetre->depart, QStringLiteral("07/12/2026"));
    QTest::keyClick(m_fenetre->depart, Qt::Key_Return);
    const QString refus = QStringLiteral("La date de départ doit être après la date d'arrivée.");
    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList {refus});
    QCOMPARE(m_fenetre->libres->topLevelItemCount(), 0);
    QCOMPARE(m_fenetre->compte->text(), refus);
}

void TestPlacesLibres::erreurDeLecture()
{
    ouvrirFenetre();
    QVERIFY2(m_fenetre->libres->topLevelItemCount() > 0, qPrintable(m_fenetre->compte->text()));
    QVERIFY(executer("DROP TABLE ETATS"));
    QTest::mouseClick(m_fenetre->chercher, Qt::LeftButton);
    QCOMPARE(m_fenetre->libres->topLevelItemCount(), 0);
    QVERIFY2(m_fenetre->compte->text().startsWith(
                 QStringLiteral("Les places libres n'ont pas pu être lues : ")),
             qPrintable(m_fenetre->compte->text()));
}

QTEST_MAIN(TestPlacesLibres)
#include "tst_placeslibres.moc"

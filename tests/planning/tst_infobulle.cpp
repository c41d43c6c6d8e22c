#include "planning/InfoBulle.h"

#include <QtTest>

// What hovering a bar tells.
class TestInfoBulle : public QObject
{
    Q_OBJECT

private slots:
    void texte_data();
    void texte();
};

void TestInfoBulle::texte_data()
{
    QTest::addColumn<QString>("remarque");
    QTest::addColumn<double>("arrhes");
    QTest::addColumn<int>("enfants");
    QTest::addColumn<QString>("attendu");

    const QString debut = "Martin Sophie\nChambre 3\nArrivée : mer. 09/12/2026 14:00\n"
                          "Départ : ven. 11/12/2026 12:00\n";
    QTest::newRow("every line") << "Lit bébé\r\nÀ l'étage " << 150.5 << 1
                                << debut
            + "2 nuits, 2 adultes, 1 enfant\nÉtat : 2 - Confirmée\nArrhes : 150,50 €\n"
              "Remarque : Lit bébé";
    QTest::newRow("no deposit nor remark")
        << " " << 0.0 << 0 << debut + "2 nuits, 2 adultes, 0 enfant\nÉtat : 2 - Confirmée";
}

void TestInfoBulle::texte()
{
    QFETCH(QString, remarque);
    QFETCH(double, arrhes);
    QFETCH(int, enfants);
    QFETCH(QString, attendu);
    ReservationAffichee barre;
    barre.nomclient = "Martin Sophie";
    barre.DateDebut = QDateTime(QDate(2026, 12, 9), QTime(14, 0));
    barre.DateFin = QDateTime(QDate(2026, 12, 11), QTime(12, 0));
    barre.nbadultes = 2;
    barre.nbenfants = qint16(enfants);
    barre.libelleetat = "2 - Confirmée";
    barre.arrhes = arrhes;
    barre.remarque = remarque;
    QCOMPARE(texteInfobulle(barre, "Chambre 3"), attendu);
}

QTEST_GUILESS_MAIN(TestInfoBulle)
#include "tst_infobulle.moc"

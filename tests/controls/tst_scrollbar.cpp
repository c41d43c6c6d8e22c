#include "app/intro.h"
#include "controls/ScrollBar.h"

#include <QPainter>
#include <QtTest>

// The splash's progress strip shows its value as the share of the strip uncovered from the left.
class TestScrollBar : public QObject
{
    Q_OBJECT

private slots:
    void laValeurDecouvreLaBandeDepuisLaGauche_data();
    void laValeurDecouvreLaBandeDepuisLaGauche();
    void laValeurResteEntre0Et100_data();
    void laValeurResteEntre0Et100();
    void lEcranDAccueilPorteSaBande();

private:
    static QImage peindre(int valeur)
    {
        QImage image(465, 20, QImage::Format_RGB32);
        QPainter peintre(&image);
        ScrollBar::dessiner(peintre, image.rect(), valeur);
        return image;
    }
    static QColor fond() { return peindre(0).pixelColor(232, 10); }
};

void TestScrollBar::laValeurDecouvreLaBandeDepuisLaGauche_data()
{
    QTest::addColumn<int>("valeur");
    QTest::addColumn<int>("dernierDecouvert"); // x of the last uncovered pixel, -1 for none

    QTest::newRow("nothing is uncovered at 0") << 0 << -1;
    QTest::newRow("a tenth is uncovered at 10") << 10 << 45;
    QTest::newRow("half is uncovered at 50") << 50 << 231;
    QTest::newRow("nearly all is uncovered at 90") << 90 << 417;
    QTest::newRow("the whole strip is uncovered at 100") << 100 << 463;
}

void TestScrollBar::laValeurDecouvreLaBandeDepuisLaGauche()
{
    QFETCH(int, valeur);
    QFETCH(int, dernierDecouvert);
    const QImage image = peindre(valeur);
    if (dernierDecouvert >= 0)
        QVERIFY(image.pixelColor(dernierDecouvert, 10) != fond());
    if (dernierDecouvert + 2 < image.width() - 1)
        QCOMPARE(image.pixelColor(dernierDecouvert + 2, 10), fond());
}

void TestScrollBar::laValeurResteEntre0Et100_data()
{
    QTest::addColumn<int>("donnee");
    QTest::addColumn<int>("attendue");

    QTest::newRow("a negative value is 0") << -5 << 0;
    QTest::newRow("a value past 100 is 100") << 250 << 100;
    QTest::newRow("a value inside is kept") << 70 << 70;
}

void TestScrollBar::laValeurResteEntre0Et100()
{
    QFETCH(int, donnee);
    QFETCH(int, attendue);
    ScrollBar barre;
    barre.setValue(donnee);
    QCOMPARE(barre.value(), attendue);
}

void TestScrollBar::lEcranDAccueilPorteSaBande()
{
    intro accueil;
    auto *barre = accueil.findChild<ScrollBar *>("ScrollBar");
    QVERIFY(barre);
    QCOMPARE(barre->size(), QSize(465, 20));
    barre->setValue(90);
    const QImage image = accueil.grab().toImage();
    if (qEnvironmentVariableIsSet("RAZARIVU_CAPTURES"))
        image.save(qEnvironmentVariable("RAZARIVU_CAPTURES") + "/intro.png");
    const QPoint gauche = barre->geometry().topLeft() + QPoint(20, 10);
    QVERIFY(image.pixelColor(gauche) != fond());
}

QTEST_MAIN(TestScrollBar)
#include "tst_scrollbar.moc"

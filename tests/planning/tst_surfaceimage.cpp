#include "app/Horloge.h"
#include "planning/Librairie_Graphique.h"
#include "planning/SurfaceImage.h"

#include <QPainter>
#include <QtTest>

#include <climits>

namespace {

const QColor Fond(0xE0, 0xE0, 0xE0);
const QColor Encre(0xFF, 0x00, 0x00); // a text colour no frame uses

// The smallest rectangle holding every pixel of `couleur`, or an empty one.
QRect etendue(const QImage &image, const QColor &couleur)
{
    const QRgb cherche = couleur.rgb();
    QRect zone;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == cherche)
                zone |= QRect(x, y, 1, 1);
        }
    }
    return zone;
}

int nombreDePixels(const QImage &image, const QColor &couleur)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == couleur.rgb();
    }
    return n;
}

} // namespace

class TestSurfaceImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void remplir_data();
    void remplir();
    void ligne_data();
    void ligne();
    void tailles_data();
    void tailles();
    void effacerRevientAuDebut();
    void imprimerAvance_data();
    void imprimerAvance();
    void zoneModifiee();
    void ecrireDansCoupe_data();
    void ecrireDansCoupe();
    void commeLePeintre_data();
    void commeLePeintre();

    void cadre_data();
    void cadre();
    void placement_data();
    void placement();
    void texteDansSaBoite_data();
    void texteDansSaBoite();
};

void TestSurfaceImage::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
}

void TestSurfaceImage::cleanupTestCase()
{
    Horloge::fixer(QDateTime());
}

void TestSurfaceImage::remplir_data()
{
    QTest::addColumn<QRect>("coins"); // corners as given: left/top = first, right/bottom = second
    QTest::addColumn<QRect>("attendu");

    QTest::newRow("Both corners are part of the box")
        << QRect(QPoint(2, 3), QPoint(58, 17)) << QRect(QPoint(2, 3), QPoint(58, 17));
    QTest::newRow("Corners given right to left fill the same box")
        << QRect(QPoint(58, 17), QPoint(2, 3)) << QRect(QPoint(2, 3), QPoint(58, 17));
    QTest::newRow("A box one pixel across is one pixel")
        << QRect(QPoint(5, 5), QPoint(5, 5)) << QRect(5, 5, 1, 1);
    QTest::newRow("A box starting left of the surface is cut at its edge")
        << QRect(QPoint(-38, 2), QPoint(18, 18)) << QRect(QPoint(0, 2), QPoint(18, 18));
    QTest::newRow("A box from one end of the int range to the other covers the surface")
        << QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)) << QRect(0, 0, 100, 40);
    QTest::newRow("A box wholly left of the surface leaves it alone")
        << QRect(QPoint(-500, 2), QPoint(-1, 18)) << QRect();
    QTest::newRow("A box wholly below the surface leaves it alone")
        << QRect(QPoint(0, 40), QPoint(99, 60)) << QRect();
}

void TestSurfaceImage::remplir()
{
    QFETCH(QRect, coins);
    QFETCH(QRect, attendu);
    SurfaceImage surface(Fond);
    surface.redimensionner(100, 40);
    surface.remplir(coins.left(), coins.top(), coins.right(), coins.bottom(), Qt::blue);
    QCOMPARE(etendue(surface.image(), Qt::blue), attendu);
    QCOMPARE(nombreDePixels(surface.image(), Qt::blue), attendu.width() * attendu.height());
}

void TestSurfaceImage::ligne_data()
{
    QTest::addColumn<QLine>("trait");
    QTest::addColumn<QRect>("attendu");
    QTest::addColumn<int>("pixels");

    QTest::newRow("A vertical line over the full height reaches the bottom row")
        << QLine(20, 0, 20, 40) << QRect(20, 0, 1, 40) << 40;
    QTest::newRow("A horizontal line includes both ends")
        << QLine(3, 7, 9, 7) << QRect(3, 7, 7, 1) << 7;
    QTest::newRow("A line drawn backwards is the same line")
        << QLine(9, 7, 3, 7) << QRect(3, 7, 7, 1) << 7;
    QTest::newRow("A line right of the surface draws nothing")
        << QLine(100, 0, 100, 40) << QRect() << 0;
    QTest::newRow("A slanted line has both of its ends")
        << QLine(0, 0, 10, 5) << QRect(0, 0, 11, 6) << 11;
    QTest::newRow("A slanted line from far outside only crosses the surface")
        << QLine(-1000000, -1000000, 1000000, 1000000) << QRect(0, 0, 40, 40) << 40;
}

void TestSurfaceImage::ligne()
{
    QFETCH(QLine, trait);
    QFETCH(QRect, attendu);
    QFETCH(int, pixels);
    SurfaceImage surface(Fond);
    surface.redimensionner(100, 40);
    surface.ligne(trait.x1(), trait.y1(), trait.x2(), trait.y2(), Qt::blue);
    QCOMPARE(etendue(surface.image(), Qt::blue), attendu);
    QCOMPARE(nombreDePixels(surface.image(), Qt::blue), pixels);
}

void TestSurfaceImage::tailles_data()
{
    QTest::addColumn<QSize>("demandee");
    QTest::addColumn<QSize>("obtenue");

    QTest::newRow("A window shrunk to nothing keeps one pixel") << QSize(0, -5) << QSize(1, 1);
    QTest::newRow("One pixel is one pixel") << QSize(1, 1) << QSize(1, 1);
    QTest::newRow("A grid 4000 pixels wide") << QSize(4000, 943) << QSize(4000, 943);
}

void TestSurfaceImage::tailles()
{
    QFETCH(QSize, demandee);
    QFETCH(QSize, obtenue);
    SurfaceImage surface(Fond);
    surface.remplir(0, 0, 10, 10, Qt::blue);
    surface.redimensionner(demandee.width(), demandee.height());
    QCOMPARE(surface.image().size(), obtenue);
    QCOMPARE(QSize(surface.largeur(), surface.hauteur()), obtenue);
    // A new size starts blank.
    QCOMPARE(nombreDePixels(surface.image(), Fond), obtenue.width() * obtenue.height());
}

void TestSurfaceImage::effacerRevientAuDebut()
{
    SurfaceImage surface(Fond);
    surface.redimensionner(80, 30);
    surface.remplir(0, 0, 79, 29, Qt::blue);
    surface.positionX = 40;
    surface.positionY = 12;
    surface.couleurFond = Qt::yellow;
    surface.effacer();
    QCOMPARE(nombreDePixels(surface.image(), Qt::yellow), 80 * 30);
    QCOMPARE(surface.positionX, 0);
    QCOMPARE(surface.positionY, 0);
}

void TestSurfaceImage::imprimerAvance_data()
{
    QTest::addColumn<bool>("finDeLigne");
    QTest::newRow("Ending the line goes to the start of the next one") << true;
    QTest::newRow("Without ending the line, the next text follows on the right") << false;
}

void TestSurfaceImage::imprimerAvance()
{
    QFETCH(bool, finDeLigne);
    SurfaceImage surface(Fond, Encre);
    surface.redimensionner(200, 60);
    const QString texte = QStringLiteral("mar.");
    surface.positionX = 20;
    surface.positionY = 5;
    surface.imprimer(texte, finDeLigne);

    const int largeur = surface.largeurTexte(texte);
    const int hauteur = surface.hauteurTexte(texte);
    QVERIFY(largeur > 0);
    QVERIFY(hauteur > 0);
    QCOMPARE(surface.positionX, finDeLigne ? 0 : 20 + largeur);
    QCOMPARE(surface.positionY, finDeLigne ? 5 + hauteur : 5);

    // The text stands with its top-left at the print position, within its own size.
    const QRect encre = etendue(surface.image(), Encre);
    QVERIFY(!encre.isEmpty());
    QVERIFY2(QRect(20, 5, largeur, hauteur).contains(encre),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(encre.x())
                            .arg(encre.y())
                            .arg(encre.width())
                            .arg(encre.height())));
}

void TestSurfaceImage::zoneModifiee()
{
    SurfaceImage surface(Fond);
    surface.redimensionner(100, 40);
    surface.zoneModifiee(); // the clearing of the new size
    QVERIFY(surface.zoneModifiee().isEmpty());

    surface.remplir(10, 5, 20, 8, Qt::blue);
    surface.ligne(30, 0, 30, 100, Qt::blue);
    QCOMPARE(surface.zoneModifiee(), QRect(QPoint(10, 0), QPoint(30, 39)));
    QVERIFY(surface.zoneModifiee().isEmpty());

    surface.remplir(-50, -50, -1, -1, Qt::blue);
    QVERIFY2(surface.zoneModifiee().isEmpty(), "nothing drawn, nothing to repaint");
    surface.effacer();
    QCOMPARE(surface.zoneModifiee(), QRect(0, 0, 100, 40));
}

void TestSurfaceImage::ecrireDansCoupe_data()
{
    QTest::addColumn<QRect>("zone");
    QTest::addColumn<QString>("texte");

    const QString nom = QStringLiteral("Durand-Lefèvre");
    QTest::newRow("A name fits its rectangle") << QRect(10, 10, 150, 16) << nom;
    QTest::newRow("A name wider than its rectangle is cut on the right")
        << QRect(10, 10, 25, 16) << nom;
    QTest::newRow("A rectangle lower than the text cuts it at the bottom")
        << QRect(10, 10, 150, 5) << nom;
    QTest::newRow("A rectangle starting left of the surface cuts the start of the text")
        << QRect(-20, 10, 60, 16) << nom;
    QTest::newRow("A name of five thousand letters stays in its rectangle")
        << QRect(10, 10, 60, 16) << QString(5000, u'W');
    QTest::newRow("Emoji stay in their rectangle")
        << QRect(10, 10, 30, 12)
        << QStringLiteral("🏕️👨‍👩‍👧‍👦 Camping 🌲🌲🌲");
}

void TestSurfaceImage::ecrireDansCoupe()
{
    QFETCH(QRect, zone);
    QFETCH(QString, texte);
    SurfaceImage surface(Fond, Encre);
    surface.redimensionner(200, 40);
    surface.ecrireDans(zone, texte);
    const QImage &image = surface.image();
    int dedans = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == Fond.rgb())
                continue;
            QVERIFY2(zone.contains(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            ++dedans;
        }
    }
    QVERIFY2(dedans > 0, "some of the text shows");
}

void TestSurfaceImage::commeLePeintre_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QRect>("zone");
    QTest::addColumn<QPoint>("ailleurs"); // where the same text is written a second time

    const QString nom = QStringLiteral("Durand-Lefèvre");
    QTest::newRow("a name in its box") << nom << QRect(10, 10, 150, 16) << QPoint(3, 22);
    QTest::newRow("a name cut on the right") << nom << QRect(10, 10, 25, 16) << QPoint(170, 5);
    QTest::newRow("a name cut at the bottom") << nom << QRect(10, 10, 150, 5) << QPoint(40, 35);
    QTest::newRow("a name starting left of the picture")
        << nom << QRect(-20, 10, 60, 16) << QPoint(-7, -4);
    QTest::newRow("letters that reach below the line and above the capitals")
        << QStringLiteral("gjpqy ÀÉÎÕÜ Çç ß |[]") << QRect(0, 0, 200, 20) << QPoint(1, 19);
    QTest::newRow("digits and punctuation of the headings")
        << QStringLiteral("sam. 08 — 31 déc.") << QRect(5, 2, 120, 14) << QPoint(60, 25);
    QTest::newRow("a single letter") << QStringLiteral("W") << QRect(0, 0, 6, 6) << QPoint(195, 35);
}

// Texts drawn without antialiasing are put down from a mask of their pixels after the first
// time: the picture must be the painter's own, pixel for pixel, first time and after.
void TestSurfaceImage::commeLePeintre()
{
    QFETCH(QString, texte);
    QFETCH(QRect, zone);
    QFETCH(QPoint, ailleurs);
    SurfaceImage surface(Fond, Encre);
    surface.redimensionner(200, 40);
    surface.effacer();
    surface.ecrireDans(zone, texte);
    surface.positionX = ailleurs.x();
    surface.positionY = ailleurs.y();
    surface.imprimer(texte);

    QImage attendue(200, 40, QImage::Format_RGB32);
    attendue.setDotsPerMeterX(surface.image().dotsPerMeterX());
    attendue.setDotsPerMeterY(surface.image().dotsPerMeterY());
    attendue.fill(Fond);
    {
        QPainter p(&attendue);
        p.setFont(surface.police);
        p.setPen(Encre);
        QStaticText dispose(texte);
        dispose.setTextFormat(Qt::PlainText);
        p.setClipRect(zone.intersected(attendue.rect()));
        p.drawStaticText(zone.topLeft(), dispose);
        p.setClipRect(attendue.rect());
        p.drawStaticText(ailleurs, dispose);
    }
    QCOMPARE(surface.image(), attendue);
}

void TestSurfaceImage::cadre_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("cadre"); // 0 none, 1 white box, 2 raised panel

    QTest::newRow("Style 10 has no frame") << 10 << 0;
    QTest::newRow("Style 0 has no frame") << 0 << 0;
    QTest::newRow("Style 111 is a white box") << 111 << 1;
    QTest::newRow("Style 100 is a white box") << 100 << 1;
    QTest::newRow("Style 222 is a raised panel") << 222 << 2;
    QTest::newRow("Style 200 is a raised panel") << 200 << 2;
    // The frame digit is style / 100 rounded, halves to even.
    QTest::newRow("Style 149 rounds down to a white box") << 149 << 1;
    QTest::newRow("Style 150 rounds up to the raised panel") << 150 << 2;
    QTest::newRow("Style 250 rounds to the even two") << 250 << 2;
    QTest::newRow("Style 50 rounds to the even nought: no frame") << 50 << 0;
    QTest::newRow("Style 51 already rounds up to a white box") << 51 << 1;
    QTest::newRow("Style 260 rounds to an unknown three: no frame") << 260 << 0;
    QTest::newRow("Style 1100 keeps only the last digit of eleven: a white box") << 1100 << 1;
    QTest::newRow("Style 1000 keeps nought of ten: no frame") << 1000 << 0;
}

void TestSurfaceImage::cadre()
{
    QFETCH(int, style);
    QFETCH(int, cadre);
    SurfaceImage surface(Fond, Encre);
    surface.redimensionner(120, 40);
    const int x1 = 10, y1 = 5, x2 = 90, y2 = 30;
    DessinerTexte(surface, QString(), x1, y1, x2, y2, style);
    const QImage &image = surface.image();

    // The box's inside, its outline and what lies just beyond it.
    const QRgb dedans = image.pixel(50, 20);
    const QRgb coin = image.pixel(x1, y1);
    const QRgb basDroite = image.pixel(x2, y2);
    QCOMPARE(image.pixel(x2 + 1, y2 + 1), Fond.rgb());
    QCOMPARE(image.pixel(x1 - 1, y1 - 1), Fond.rgb());
    switch (cadre) {
    case 0:
        QCOMPARE(dedans, Fond.rgb());
        QCOMPARE(coin, Fond.rgb());
        QCOMPARE(surface.couleurTexte, Encre);
        break;
    case 1:
        QCOMPARE(dedans, qRgb(255, 255, 255));
        QCOMPARE(coin, qRgb(255, 255, 255));
        QCOMPARE(basDroite, qRgb(255, 255, 255));
        QCOMPARE(surface.couleurTexte, Encre);
        break;
    case 2:
        QCOMPARE(dedans, qRgb(0xD4, 0xD0, 0xC8));
        QCOMPARE(coin, qRgb(0, 0, 0));
        QCOMPARE(basDroite, qRgb(0, 0, 0));
        QCOMPARE(image.pixel(x2, y1), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(x1, y2), qRgb(0, 0, 0));
        // Light on the left and top edges, one pixel in; none on the right or bottom.
        QCOMPARE(image.pixel(x1 + 1, y2 - 1), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(x1 + 1, y1 + 1), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(x2 - 1, y1 + 1), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(x2 - 1, y2 - 1), qRgb(0xD4, 0xD0, 0xC8));
        QCOMPARE(image.pixel(x1 + 1, y2), qRgb(0, 0, 0));
        // The panel's text is black from now on.
        QCOMPARE(surface.couleurTexte, QColor(Qt::black));
        break;
    }
}

void TestSurfaceImage::placement_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("horizontal"); // 0 left, 1 centred, 2 right
    QTest::addColumn<int>("vertical"); // 0 top, 1 centred, 2 bottom

    QTest::newRow("Style 0 puts the text in the top-left corner") << 0 << 0 << 0;
    QTest::newRow("Style 10 puts it at the left, centred up and down") << 10 << 0 << 1;
    QTest::newRow("Style 1 centres it across, at the top") << 1 << 1 << 0;
    QTest::newRow("Style 11 centres it both ways") << 11 << 1 << 1;
    QTest::newRow("Style 2 puts it at the right") << 2 << 2 << 0;
    QTest::newRow("Style 22 puts it in the bottom-right corner") << 22 << 2 << 2;
    QTest::newRow("Style 20 puts it at the bottom left") << 20 << 0 << 2;
    QTest::newRow("Style 12 puts it at the right, centred up and down") << 12 << 2 << 1;
    QTest::newRow("Style 7 knows no such placement: top left") << 7 << 0 << 0;
}

void TestSurfaceImage::placement()
{
    QFETCH(int, style);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    SurfaceImage surface(Fond, Encre);
    surface.redimensionner(300, 100);
    const int x1 = 20, y1 = 10, x2 = 220, y2 = 70;
    const QString texte = QStringLiteral("Martin");
    DessinerTexte(surface, texte, x1, y1, x2, y2, style);

    const QRect encre = etendue(surface.image(), Encre);
    QVERIFY(!encre.isEmpty());
    const double largeur = surface.largeurTexte(texte);
    const double hauteur = surface.hauteurTexte(texte);
    // Where the text's own box should start; the ink lies within that box, a pixel or two in.
    const double gauche[] = {double(x1), x1 + (x2 - x1 - largeur) / 2, x2 - largeur};
    const double haut[] = {double(y1), y1 + (y2 - y1 - hauteur) / 2, y2 - hauteur};
    const QRectF boite(gauche[horizontal], haut[vertical], largeur, hauteur);
    QVERIFY2(boite.adjusted(-1, -1, 1, 1).contains(QRectF(encre)),
             qPrintable(QStringLiteral("ink %1,%2 %3x%4")
                            .arg(encre.x())
                            .arg(encre.y())
                            .arg(encre.width())
                            .arg(encre.height())));
    // And it fills most of it: not a sliver left at another place.
    QVERIFY(encre.width() >= largeur - 4);
}

void TestSurfaceImage::texteDansSaBoite_data()
{
    QTest::addColumn<QRect>("boite"); // corners as DessinerTexte takes them
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("visible");

    const QString nom = QStringLiteral("Lefèvre-Beauregard");
    QTest::newRow("A name longer than its bar is cut at the bar's right edge")
        << QRect(QPoint(2, 2), QPoint(38, 18)) << nom << 10 << true;
    QTest::newRow("Centred, a long name still starts inside the box and is cut on the right")
        << QRect(QPoint(2, 2), QPoint(38, 18)) << nom << 11 << true;
    QTest::newRow("Right-aligned, a long name still starts at the left edge")
        << QRect(QPoint(2, 2), QPoint(38, 18)) << nom << 12 << true;
    QTest::newRow("A bar lower than the text cuts it at the bottom")
        << QRect(QPoint(2, 2), QPoint(78, 6)) << nom << 0 << true;
    QTest::newRow("A name of five thousand letters stays in its bar")
        << QRect(QPoint(2, 2), QPoint(58, 18)) << QString(5000, u'M') << 10 << true;
    QTest::newRow("Emoji stay in their bar")
        << QRect(QPoint(2, 2), QPoint(58, 18)) << QStringLiteral("🎉 Fête des Lumières 🎆") << 10
        << true;
    QTest::newRow("A bar that began left of the surface shows the end of its text")
        << QRect(QPoint(-30, 2), QPoint(58, 18)) << nom << 10 << true;
    QTest::newRow("A bar whose end comes before its start holds no text")
        << QRect(QPoint(58, 2), QPoint(2, 18)) << nom << 10 << false;
    QTest::newRow("A bar across the whole int range centres its text without overflowing")
        << QRect(QPoint(INT_MIN, 2), QPoint(INT_MAX, 18)) << nom << 11 << true;
    QTest::newRow("A bar wholly right of the surface draws nothing")
        << QRect(QPoint(500, 2), QPoint(900, 18)) << nom << 222 << false;
}

void TestSurfaceImage::texteDansSaBoite()
{
    QFETCH(QRect, boite);
    QFETCH(QString, texte);
    QFETCH(int, style);
    QFETCH(bool, visible);
    SurfaceImage surface(Fond, Encre);
    surface.redimensionner(200, 40);
    DessinerTexte(surface, texte, boite.left(), boite.top(), boite.right(), boite.bottom(), style);
    const QRect encre = etendue(surface.image(), surface.couleurTexte);
    QCOMPARE(!encre.isEmpty(), visible);
    if (!visible)
        return;
    // The text's rectangle ends where the box ends (the right and bottom edges excluded).
    // Compared edge by edge: a rectangle across the whole int range has no width in an int.
    QVERIFY2(encre.left() >= boite.left() && encre.right() < boite.right()
                 && encre.top() >= boite.top() && encre.bottom() < boite.bottom(),
             qPrintable(QStringLiteral("ink %1,%2 %3x%4")
                            .arg(encre.x())
                            .arg(encre.y())
                            .arg(encre.width())
                            .arg(encre.height())));
}

QTEST_MAIN(TestSurfaceImage)
#include "tst_surfaceimage.moc"

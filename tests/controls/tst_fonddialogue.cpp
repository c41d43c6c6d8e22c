#include "controls/FondDialogue.h"

#include <QGuiApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>
#include <QtTest>

// The backdrop of the full-screen dialogs: the dimmed desktop and the panel centred on it.
class TestFondDialogue : public QObject
{
    Q_OBJECT

private slots:
    void assombrirGardeLesBits0x77_data();
    void assombrirGardeLesBits0x77();
    void assombrirTraiteChaquePixel();
    void assombrirDeuxFoisCommeUne();
    void positionPanneau_data();
    void positionPanneau();
    void sansImageLeBureauEstGrisSombre_data();
    void sansImageLeBureauEstGrisSombre();
    void leFondCouvreLEcranSousLePanneauCentre_data();
    void leFondCouvreLEcranSousLePanneauCentre();

private:
    static QImage hasard(int largeur, int hauteur)
    {
        QImage image(largeur, hauteur, QImage::Format_ARGB32);
        QRandomGenerator alea(20240611);
        for (int y = 0; y < hauteur; ++y)
            for (int x = 0; x < largeur; ++x)
                image.setPixel(x, y, alea.generate());
        return image;
    }
};

void TestFondDialogue::assombrirGardeLesBits0x77_data()
{
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<QRgb>("pixel");
    QTest::addColumn<QRgb>("attendu");

    QTest::newRow("white") << QImage::Format_RGB32 << 0xFFFFFFFFu << 0xFF777777u;
    QTest::newRow("black") << QImage::Format_RGB32 << 0xFF000000u << 0xFF000000u;
    QTest::newRow("0x89ABCD") << QImage::Format_RGB32 << 0xFF89ABCDu << 0xFF012345u;
    QTest::newRow("0x123456 lies within the mask")
        << QImage::Format_RGB32 << 0xFF123456u << 0xFF123456u;
    QTest::newRow("0xFEDCBA") << QImage::Format_RGB32 << 0xFFFEDCBAu << 0xFF765432u;
    QTest::newRow("the pen's grey goes black")
        << QImage::Format_RGB32 << 0xFF888888u << 0xFF000000u;
    QTest::newRow("already dark stays") << QImage::Format_RGB32 << 0xFF333333u << 0xFF333333u;
    QTest::newRow("half transparent keeps its channels")
        << QImage::Format_ARGB32 << 0x8089ABCDu << 0xFF012345u;
    QTest::newRow("fully transparent white") << QImage::Format_ARGB32 << 0x00FFFFFFu << 0xFF777777u;
    QTest::newRow("opaque premultiplied")
        << QImage::Format_ARGB32_Premultiplied << 0xFFFEDCBAu << 0xFF765432u;
    QTest::newRow("24-bit picture") << QImage::Format_RGB888 << 0xFF89ABCDu << 0xFF012345u;
}

void TestFondDialogue::assombrirGardeLesBits0x77()
{
    QFETCH(QImage::Format, format);
    QFETCH(QRgb, pixel);
    QFETCH(QRgb, attendu);

    QImage image(5, 3, format);
    image.fill(QColor::fromRgba(pixel));
    const QImage sombre = assombrir(image);
    QCOMPARE(sombre.size(), image.size());
    QVERIFY(!sombre.hasAlphaChannel());
    for (int y = 0; y < sombre.height(); ++y)
        for (int x = 0; x < sombre.width(); ++x)
            QCOMPARE(sombre.pixel(x, y), attendu);
}

void TestFondDialogue::assombrirTraiteChaquePixel()
{
    // Odd sizes: no pixel may be skipped at the end of a row or of the picture.
    const QImage image = hasard(37, 11);
    const QImage sombre = assombrir(image);
    QCOMPARE(sombre.size(), image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(sombre.pixel(x, y), (image.pixel(x, y) & 0x777777u) | 0xFF000000u);
}

void TestFondDialogue::assombrirDeuxFoisCommeUne()
{
    const QImage une = assombrir(hasard(64, 48));
    QCOMPARE(assombrir(une), une);
}

void TestFondDialogue::positionPanneau_data()
{
    QTest::addColumn<QSize>("ecran");
    QTest::addColumn<QSize>("panneau");
    QTest::addColumn<QPoint>("attendu");

    QTest::newRow("even spare room") << QSize(1024, 768) << QSize(800, 600) << QPoint(112, 84);
    QTest::newRow("odd spare room rounds down")
        << QSize(1025, 769) << QSize(800, 600) << QPoint(112, 84);
    QTest::newRow("panel as large as the screen")
        << QSize(800, 600) << QSize(800, 600) << QPoint(0, 0);
    QTest::newRow("panel larger than the screen")
        << QSize(800, 600) << QSize(1000, 700) << QPoint(-100, -50);
    QTest::newRow("odd overflow rounds towards zero")
        << QSize(800, 600) << QSize(1001, 703) << QPoint(-100, -51);
    QTest::newRow("too tall but narrow enough")
        << QSize(1280, 720) << QSize(1000, 900) << QPoint(140, -90);
    QTest::newRow("empty panel sits in the middle")
        << QSize(1920, 1080) << QSize(0, 0) << QPoint(960, 540);
}

void TestFondDialogue::positionPanneau()
{
    QFETCH(QSize, ecran);
    QFETCH(QSize, panneau);
    QFETCH(QPoint, attendu);

    QCOMPARE(::positionPanneau(ecran, panneau), attendu);
}

void TestFondDialogue::sansImageLeBureauEstGrisSombre_data()
{
    QTest::addColumn<QSize>("taille");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("plain screen") << QSize(800, 600) << qreal(1) << QSize(800, 600);
    QTest::newRow("double density screen") << QSize(640, 480) << qreal(2) << QSize(1280, 960);
    QTest::newRow("no ratio taken as one") << QSize(320, 200) << qreal(0) << QSize(320, 200);
}

void TestFondDialogue::sansImageLeBureauEstGrisSombre()
{
    QFETCH(QSize, taille);
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);

    const QImage bureau = imageDuBureau(QPixmap(), taille, ratio);
    QCOMPARE(bureau.size(), pixels);
    QCOMPARE(bureau.deviceIndependentSize().toSize(), taille);
    QImage gris(pixels, QImage::Format_RGB32);
    gris.fill(0xFF333333u);
    gris.setDevicePixelRatio(bureau.devicePixelRatio());
    QCOMPARE(bureau.convertToFormat(QImage::Format_RGB32), gris);
    QCOMPARE(assombrir(bureau), gris);
}

void TestFondDialogue::leFondCouvreLEcranSousLePanneauCentre_data()
{
    QTest::addColumn<QSize>("panneau");
    QTest::addColumn<bool>("panneauDAbord"); // the panel was made before the backdrop

    QTest::newRow("small panel") << QSize(300, 200) << false;
    QTest::newRow("odd spare room") << QSize(301, 201) << false;
    QTest::newRow("panel larger than the screen") << QSize(1001, 703) << false;
    QTest::newRow("panel made first is raised") << QSize(300, 200) << true;
}

void TestFondDialogue::leFondCouvreLEcranSousLePanneauCentre()
{
    QFETCH(QSize, panneau);
    QFETCH(bool, panneauDAbord);

    QScreen *ecran = QGuiApplication::primaryScreen();
    // Something on the desktop under the dialog, to find again in its backdrop.
    QWidget bureau;
    bureau.setGeometry(100, 100, 50, 50);
    QPalette rouge = bureau.palette();
    rouge.setColor(QPalette::Window, QColor(0xFF, 0x80, 0x00));
    bureau.setPalette(rouge);
    bureau.setAutoFillBackground(true);
    bureau.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bureau));
    const bool capture = !ecran->grabWindow(0).isNull();

    QWidget hote;
    hote.setGeometry(40, 30, 200, 100);
    QWidget *Fond = nullptr;
    if (panneauDAbord)
        Fond = new QWidget(&hote);
    auto *dessin = new QLabel(&hote);
    dessin->setGeometry(5, 5, 20, 20);
    dessin->setPixmap(QPixmap(20, 20));
    dessin->hide();
    if (!Fond)
        Fond = new QWidget(&hote);
    Fond->resize(panneau);

    MontrerFondDialogue(dessin, Fond);

    const QRect surface = ecran->geometry();
    QCOMPARE(hote.geometry(), surface);
    QCOMPARE(dessin->geometry(), QRect(QPoint(0, 0), surface.size()));
    QVERIFY(dessin->isVisibleTo(&hote));
    QCOMPARE(
        Fond->pos(),
        QPoint((surface.width() - panneau.width()) / 2, (surface.height() - panneau.height()) / 2));
    QVERIFY(hote.children().indexOf(Fond) > hote.children().indexOf(dessin));

    const QImage montre = dessin->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(montre.deviceIndependentSize().toSize(), surface.size());
    // The desktop's orange window, darkened; or, from a platform without pictures, plain grey.
    // Elsewhere the offscreen platform's screen holds whatever its memory held: only its
    // darkening can be checked.
    QCOMPARE(montre.pixel(120, 120), capture ? 0xFF770000u : 0xFF333333u);
    for (int y = 0; y < montre.height(); ++y)
        for (int x = 0; x < montre.width(); ++x)
            QCOMPARE(montre.pixel(x, y) & 0x888888u, 0u);
}

QTEST_MAIN(TestFondDialogue)
#include "tst_fonddialogue.moc"

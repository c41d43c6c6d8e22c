#include "app/PositionFenetre.h"
#include "app/SavePosition.h"
#include "app/ValeurINI.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

// The window-position memory: what it writes, when, and where it puts a window back.
class TestSavePosition : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void lecture_data();
    void lecture();
    void etats();
    void horsDesEcrans_data();
    void horsDesEcrans();
    void premierLancementPuisDeplacement();
    void maximiseeGardeLaPlaceNormale();
    void cacheeEcritNon();
    void remiseEnPlace();

private:
    QString cle(const QString &nom) const
    {
        return ValeurINI(QStringLiteral("essai"), nom, QStringLiteral("absente"),
                         QStringLiteral("positions-essai.ini"), LIRE);
    }
    QScopedPointer<QTemporaryDir> m_dossier;
};

void TestSavePosition::init()
{
    m_dossier.reset(new QTemporaryDir);
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", m_dossier->path().toUtf8());
}

void TestSavePosition::lecture_data()
{
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<QRect>("place"); // null: nothing to restore

    QTest::newRow("a stored place") << "10|20|300|200" << QRect(10, 20, 300, 200);
    QTest::newRow("decimals as a single-precision text")
        << "10.4|20.6|300|200" << QRect(10, 21, 300, 200);
    QTest::newRow("negative corner on a left screen")
        << "-1200|5|800|600" << QRect(-1200, 5, 800, 600);
    QTest::newRow("nothing stored") << "0" << QRect();
    QTest::newRow("three fields") << "10|20|300" << QRect();
    QTest::newRow("no size") << "10|20|0|0" << QRect();
    QTest::newRow("words") << "a|b|c|d" << QRect();
    QTest::newRow("beyond any screen") << "10|20|1e30|200" << QRect();
}

void TestSavePosition::lecture()
{
    QFETCH(QString, valeur);
    QFETCH(QRect, place);
    const std::optional<QRect> lue = PositionFenetre::lire(valeur);
    QCOMPARE(lue.value_or(QRect()), place);
    if (lue)
        QCOMPARE(PositionFenetre::lire(PositionFenetre::texte(*lue)).value_or(QRect()), *lue);
}

void TestSavePosition::etats()
{
    QCOMPARE(PositionFenetre::texteEtat(Qt::WindowNoState), QStringLiteral("0"));
    QCOMPARE(PositionFenetre::texteEtat(Qt::WindowMinimized), QStringLiteral("1"));
    QCOMPARE(PositionFenetre::texteEtat(Qt::WindowMaximized), QStringLiteral("2"));
    for (const char *texte : {"0", "1", "2"})
        QCOMPARE(PositionFenetre::texteEtat(PositionFenetre::etatDepuis(texte)), QString(texte));
    QCOMPARE(PositionFenetre::etatDepuis("7"), Qt::WindowStates(Qt::WindowNoState));
}

void TestSavePosition::horsDesEcrans_data()
{
    QTest::addColumn<QRect>("stockee");
    QTest::addColumn<QRect>("attendue");

    const QRect principal(0, 0, 1280, 800);
    QTest::newRow("on the screen") << QRect(100, 100, 400, 300) << QRect(100, 100, 400, 300);
    QTest::newRow("half off, still reachable")
        << QRect(1200, 700, 400, 300) << QRect(1200, 700, 400, 300);
    QTest::newRow("on a screen since unplugged")
        << QRect(1500, 100, 400, 300) << QRect(440, 250, 400, 300);
    QTest::newRow("larger than the screen, far away")
        << QRect(-5000, -5000, 2000, 1000) << QRect(0, 0, 1280, 800);
    QTest::newRow("a size no screen has is cut to the screen")
        << QRect(0, 0, 50000, 50000) << QRect(0, 0, 1280, 800);
    QTest::newRow("too wide and half off is cut, then moved onto the screen")
        << QRect(600, 100, 3000, 300) << QRect(0, 100, 1280, 300);
    QTest::newRow("too tall from above the screen")
        << QRect(-100, -300, 400, 900) << QRect(0, 0, 400, 800);
}

void TestSavePosition::horsDesEcrans()
{
    QFETCH(QRect, stockee);
    QFETCH(QRect, attendue);
    const QRect principal(0, 0, 1280, 800);
    QCOMPARE(PositionFenetre::surUnEcran(stockee, {principal}, principal), attendue);
}

void TestSavePosition::premierLancementPuisDeplacement()
{
    QWidget fenetre;
    fenetre.setGeometry(50, 60, 320, 240);
    SavePosition memoire(&fenetre);
    memoire.init(&fenetre, QStringLiteral("positions-essai.ini"), QStringLiteral("essai"));
    QCOMPARE(fenetre.geometry(), QRect(50, 60, 320, 240)); // nothing stored: stays
    QCOMPARE(cle("Positions"), QStringLiteral("absente"));
    fenetre.show(); // the first tick, at once: it restores
    memoire.Timer1_Timer();
    const QRect place(fenetre.pos(), fenetre.size());
    QCOMPARE(cle("Positions"), PositionFenetre::texte(place));
    QCOMPARE(cle("PositionsTaille"), QStringLiteral("0"));
    QCOMPARE(cle("Visible"), QStringLiteral("OUI"));

    // An unmoved window writes nothing: the file, taken away, is not made again.
    const QString fichier = m_dossier->filePath(QStringLiteral("positions-essai.ini"));
    QVERIFY(QFile::remove(fichier));
    memoire.Timer1_Timer();
    QVERIFY(!QFile::exists(fichier));

    fenetre.move(place.topLeft() + QPoint(30, 40));
    memoire.Timer1_Timer();
    QCOMPARE(cle("Positions"), PositionFenetre::texte(QRect(fenetre.pos(), fenetre.size())));
}

void TestSavePosition::maximiseeGardeLaPlaceNormale()
{
    QWidget fenetre;
    fenetre.setGeometry(50, 60, 320, 240);
    SavePosition memoire(&fenetre);
    memoire.init(&fenetre, QStringLiteral("positions-essai.ini"), QStringLiteral("essai"));
    fenetre.show();
    memoire.Timer1_Timer();
    const QString normale = cle("Positions");
    fenetre.showMaximized();
    QTRY_VERIFY(fenetre.size() != QSize(320, 240));
    memoire.Timer1_Timer();
    QCOMPARE(cle("PositionsTaille"), QStringLiteral("2"));
    QCOMPARE(cle("Positions"), normale);
}

void TestSavePosition::cacheeEcritNon()
{
    QWidget fenetre;
    SavePosition memoire(&fenetre);
    memoire.init(&fenetre, QStringLiteral("positions-essai.ini"), QStringLiteral("essai"));
    fenetre.show();
    memoire.Timer1_Timer();
    fenetre.hide();
    memoire.Timer1_Timer();
    QCOMPARE(cle("Visible"), QStringLiteral("NON"));
}

void TestSavePosition::remiseEnPlace()
{
    const QRect ecran = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect voulue(ecran.x() + 40, ecran.y() + 30, 300, 200);
    ValeurINI("essai", "Positions", PositionFenetre::texte(voulue), "positions-essai.ini", ECRIRE);
    ValeurINI("essai", "PositionsTaille", "0", "positions-essai.ini", ECRIRE);
    {
        QWidget fenetre;
        SavePosition memoire(&fenetre);
        memoire.init(&fenetre, QStringLiteral("positions-essai.ini"), QStringLiteral("essai"));
        QCOMPARE(QRect(fenetre.pos(), fenetre.size()), voulue);
    }
    // Stored on a screen that is gone: brought back onto the primary screen.
    ValeurINI("essai", "Positions", PositionFenetre::texte(voulue.translated(ecran.width() * 3, 0)),
              "positions-essai.ini", ECRIRE);
    QWidget fenetre;
    SavePosition memoire(&fenetre);
    memoire.init(&fenetre, QStringLiteral("positions-essai.ini"), QStringLiteral("essai"));
    QVERIFY(ecran.intersects(QRect(fenetre.pos(), fenetre.size())));
}

QTEST_MAIN(TestSavePosition)
#include "tst_saveposition.moc"

#include "controls/PeauBouton.h"
#include "controls/xpcmdbutton.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <memory>

// The command button: its skin, its looks, the order of its events and its caption. Mouse
// gestures are written as short scripts (see jouer) so that each row reads as what a person does.
class TestXpcmdbutton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void laPeauPorteLesCouleursDeChaqueFace_data();
    void laPeauPorteLesCouleursDeChaqueFace();
    void laFaceEstEtireeEnNeufMorceaux_data();
    void laFaceEstEtireeEnNeufMorceaux();
    void laFaceSuitLesGestes_data();
    void laFaceSuitLesGestes();
    void lesEvenementsArriventDansLOrdre_data();
    void lesEvenementsArriventDansLOrdre();
    void lesBordsLointainsComptentDedans_data();
    void lesBordsLointainsComptentDedans();
    void laSourisEstDecriteParSesCodes_data();
    void laSourisEstDecriteParSesCodes();
    void lesTouchesSontTransmisesSansClic_data();
    void lesTouchesSontTransmisesSansClic();
    void laToucheDAccesCliqueLeBouton_data();
    void laToucheDAccesCliqueLeBouton();
    void laLegendeResteCentree_data();
    void laLegendeResteCentree();
    void laLegendeGriseAvecLeBouton_data();
    void laLegendeGriseAvecLeBouton();
    void sansLegendeLeBoutonMontreSonNom_data();
    void sansLegendeLeBoutonMontreSonNom();

private:
    void creer(xpcmdbutton *bouton);
    void jouer(const QStringList &gestes);
    void deplacer(const QPoint &position);
    QTimer *minuterie() const { return m_bouton->findChild<QTimer *>("Timer1"); }
    QLabel *legende() const { return m_bouton->findChild<QLabel *>("lbl"); }

    std::unique_ptr<xpcmdbutton> m_bouton;
    QStringList m_journal;
    // Where the leave check finds the pointer, in the button's coordinates.
    QPoint m_pointeur;
    int m_survols = 0;
};

void TestXpcmdbutton::init()
{
    QLocale::setDefault(QLocale::c());
    // The platform drops a move to where the pointer already is; start every test away from
    // where the windows open.
    QCursor::setPos(QPoint(3000, 3000));
    creer(new xpcmdbutton);
}

void TestXpcmdbutton::cleanup()
{
    // A row may end with a button held; the next one must start with none.
    m_bouton->setEnabled(true);
    for (const Qt::MouseButton bouton : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        QTest::mouseRelease(m_bouton.get(), bouton);
    m_bouton.reset();
    m_journal.clear();
    m_survols = 0;
}

void TestXpcmdbutton::creer(xpcmdbutton *bouton)
{
    m_bouton.reset(bouton);
    m_journal.clear();
    m_pointeur = QPoint(-100, -100);
    bouton->setSourcePointeur([this] { return m_bouton->mapToGlobal(m_pointeur); });
    bouton->setCaption("Ok");
    bouton->resize(75, 23);

    connect(bouton, &xpcmdbutton::Click, this, [this] { m_journal << "Click"; });
    connect(bouton, &xpcmdbutton::MouseOut, this, [this] { m_journal << "MouseOut"; });
    connect(bouton, &xpcmdbutton::MouseDown, this, [this](qint16 &b, qint16 &, float &, float &) {
        m_journal << QString("MouseDown %1").arg(b);
    });
    connect(bouton, &xpcmdbutton::MouseMove, this, [this](qint16 &b, qint16 &, float &, float &) {
        m_journal << QString("MouseMove %1").arg(b);
    });
    connect(bouton, &xpcmdbutton::MouseUp, this, [this](qint16 &b, qint16 &, float &, float &) {
        m_journal << QString("MouseUp %1").arg(b);
    });
    connect(bouton, &xpcmdbutton::KeyDown, this, [this](qint16 &code, qint16 &shift) {
        m_journal << QString("KeyDown %1 %2").arg(code).arg(shift);
    });
    connect(bouton, &xpcmdbutton::KeyPress, this,
            [this](qint16 &ascii) { m_journal << QString("KeyPress %1").arg(ascii); });
    connect(bouton, &xpcmdbutton::KeyUp, this, [this](qint16 &code, qint16 &shift) {
        m_journal << QString("KeyUp %1 %2").arg(code).arg(shift);
    });

    bouton->show();
    QVERIFY(QTest::qWaitForWindowExposed(bouton));
}

// Moves both the mouse (as the platform reports it to the button) and the pointer the leave
// check reads.
void TestXpcmdbutton::deplacer(const QPoint &position)
{
    m_pointeur = position;
    QTest::mouseMove(m_bouton.get(), position);
}

// Gestures:
//   survol          the pointer passes over the face, no button held (a new spot each time)
//   appui, appuiDroit, relache, relacheDroit   at the pointer
//   glisse          moves inside with the button held
//   glisseDehors, glisseLoin   moves out with the button held, then lets the leave check run
//   sortie          the pointer leaves with no button held, then the leave check runs
//   doubleClic, clicSurLaLegende (through the window, where the caption lies)
//   desactive, active, etat0, etat1, etat7, attente
void TestXpcmdbutton::jouer(const QStringList &gestes)
{
    // QTest's own warning when the button turns a mouse event down, as a disabled one must.
    const auto refuse = [](const char *action) {
        return QByteArray("Mouse event \"") + action + "\" not accepted by receiving widget";
    };
    for (const QString &geste : gestes) {
        if (geste == "survol") {
            deplacer(QPoint(10 + 3 * m_survols++, 8));
        } else if (geste == "appui" || geste == "appuiDroit") {
            if (!m_bouton->isEnabled())
                QTest::ignoreMessage(QtWarningMsg, refuse("MousePress").constData());
            QTest::mousePress(m_bouton.get(), geste == "appui" ? Qt::LeftButton : Qt::RightButton,
                              {}, m_pointeur);
        } else if (geste == "relache" || geste == "relacheDroit") {
            if (!m_bouton->isEnabled())
                QTest::ignoreMessage(QtWarningMsg, refuse("MouseRelease").constData());
            QTest::mouseRelease(m_bouton.get(),
                                geste == "relache" ? Qt::LeftButton : Qt::RightButton, {},
                                m_pointeur);
        } else if (geste == "glisse") {
            deplacer(QPoint(40, 12));
        } else if (geste == "glisseDehors" || geste == "sortie") {
            deplacer(geste == "sortie" ? QPoint(-15, 5) : QPoint(120, 40));
            QTRY_VERIFY(!minuterie()->isActive());
        } else if (geste == "glisseLoin") {
            deplacer(QPoint(200, 90));
            QTest::qWait(50);
        } else if (geste == "doubleClic") {
            // As the platform sends it: the second press comes as a double click.
            QTest::mouseClick(m_bouton.get(), Qt::LeftButton, {}, m_pointeur);
            QTest::mouseDClick(m_bouton.get(), Qt::LeftButton, {}, m_pointeur);
            QTest::mouseRelease(m_bouton.get(), Qt::LeftButton, {}, m_pointeur);
        } else if (geste == "clicSurLaLegende") {
            const QPoint centre = legende()->geometry().center();
            QTest::mouseClick(m_bouton->windowHandle(), Qt::LeftButton, {}, centre);
        } else if (geste == "desactive" || geste == "active") {
            m_bouton->setEnabled(geste == "active");
        } else if (geste.startsWith("etat")) {
            m_bouton->setState(geste.mid(4).toInt());
        } else if (geste == "attente") {
            QTest::qWait(50);
        } else {
            QFAIL(qPrintable("unknown gesture " + geste));
        }
    }
}

void TestXpcmdbutton::laPeauPorteLesCouleursDeChaqueFace_data()
{
    QTest::addColumn<int>("cellule");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("couleur");

    const QColor bleuFonce(0, 60, 116);
    const QColor clair(243, 243, 239);
    QTest::newRow("the resting face is light") << 0 << QPoint(9, 10) << clair;
    QTest::newRow("the resting border is dark blue") << 0 << QPoint(9, 0) << bleuFonce;
    QTest::newRow("the pressed face is darker") << 1 << QPoint(9, 10) << QColor(226, 225, 218);
    QTest::newRow("the disabled face is pale") << 2 << QPoint(9, 10) << QColor(245, 244, 234);
    QTest::newRow("the disabled border is grey") << 2 << QPoint(9, 20) << QColor(201, 199, 186);
    QTest::newRow("the lit face keeps the resting centre") << 3 << QPoint(9, 10) << clair;
    QTest::newRow("the lit rim ends orange along the bottom")
        << 3 << QPoint(9, 19) << QColor(229, 151, 0);
    QTest::newRow("the marked face keeps the resting centre") << 4 << QPoint(9, 10) << clair;
    QTest::newRow("the marked rim is blue along the left side")
        << 4 << QPoint(1, 10) << QColor(160, 190, 236);
    QTest::newRow("a rounded corner lets the window show through")
        << 0 << QPoint(0, 0) << QColor(Qt::transparent);
    QTest::newRow("the disabled face is rounded too")
        << 2 << QPoint(17, 20) << QColor(Qt::transparent);
}

void TestXpcmdbutton::laPeauPorteLesCouleursDeChaqueFace()
{
    QFETCH(int, cellule);
    QFETCH(QPoint, point);
    QFETCH(QColor, couleur);
    const QImage peau = peauBouton();
    QCOMPARE(peau.size(), QSize(90, 21));
    QCOMPARE(peau.pixelColor(point + QPoint(cellule * 18, 0)), couleur);
}

void TestXpcmdbutton::laFaceEstEtireeEnNeufMorceaux_data()
{
    QTest::addColumn<int>("cellule");
    QTest::addColumn<QSize>("taille");

    QTest::newRow("a resting 75 x 23 button") << 0 << QSize(75, 23);
    QTest::newRow("a lit 75 x 23 button") << 3 << QSize(75, 23);
    QTest::newRow("a marked planning button, smaller than the cell in height")
        << 4 << QSize(33, 17);
    QTest::newRow("a pressed face the size of a cell") << 1 << QSize(18, 21);
    QTest::newRow("a tall and narrow disabled button") << 2 << QSize(7, 60);
}

void TestXpcmdbutton::laFaceEstEtireeEnNeufMorceaux()
{
    QFETCH(int, cellule);
    QFETCH(QSize, taille);
    const QImage peau = peauBouton();
    const int x0 = cellule * 18;
    const int w = taille.width();
    const int h = taille.height();

    // Room around the face shows whether anything is painted past it.
    QImage image(taille + QSize(4, 4), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter peintre(&image);
    dessinerCellule(peintre, peau, cellule, taille);
    peintre.end();

    const auto source = [&](int x, int y) {
        return peau.pixel(x0 + x, y);
    };
    for (int dy = 0; dy < 3; ++dy) {
        for (int dx = 0; dx < 3; ++dx) {
            QCOMPARE(image.pixel(dx, dy), source(dx, dy));
            QCOMPARE(image.pixel(w - 3 + dx, dy), source(15 + dx, dy));
            QCOMPARE(image.pixel(dx, h - 3 + dy), source(dx, 18 + dy));
            QCOMPARE(image.pixel(w - 3 + dx, h - 3 + dy), source(15 + dx, 18 + dy));
        }
    }
    // Rows of the top and bottom edges are even in the skin, so stretched they stay even.
    for (int x = 3; x < w - 3; ++x) {
        for (int d = 0; d < 3; ++d) {
            QCOMPARE(image.pixel(x, d), source(8, d));
            QCOMPARE(image.pixel(x, h - 3 + d), source(8, 18 + d));
        }
    }
    // The side edges start and end on the skin's first and last side rows.
    for (int d = 0; d < 3; ++d) {
        QCOMPARE(image.pixel(d, 3), source(d, 3));
        QCOMPARE(image.pixel(d, h - 4), source(d, 17));
        QCOMPARE(image.pixel(w - 3 + d, 3), source(15 + d, 3));
        QCOMPARE(image.pixel(w - 3 + d, h - 4), source(15 + d, 17));
    }
    for (int y = 3; y < h - 3; ++y)
        for (int x = 3; x < w - 3; ++x)
            QCOMPARE(image.pixel(x, y), source(9, 10));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (x >= w || y >= h)
                QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    if (taille == QSize(18, 21))
        QCOMPARE(image.copy(0, 0, 18, 21), peau.copy(x0, 0, 18, 21));
}

void TestXpcmdbutton::laFaceSuitLesGestes_data()
{
    QTest::addColumn<QStringList>("gestes");
    QTest::addColumn<int>("cellule");

    QTest::newRow("a new button rests on the plain face") << QStringList() << 0;
    QTest::newRow("the pointer over it lights the rim") << QStringList {"survol"} << 3;
    QTest::newRow("a press shows it pressed") << QStringList {"survol", "appui"} << 1;
    QTest::newRow("a right press shows it pressed too")
        << QStringList {"survol", "appuiDroit"} << 1;
    QTest::newRow("moving with the left button held keeps it pressed")
        << QStringList {"survol", "appui", "glisse"} << 1;
    QTest::newRow("moving with the right button held lights the rim")
        << QStringList {"survol", "appuiDroit", "glisse"} << 3;
    QTest::newRow("a release brings it back to rest")
        << QStringList {"survol", "appui", "relache"} << 0;
    QTest::newRow("dragging out brings it back to rest while still held")
        << QStringList {"survol", "appui", "glisse", "glisseDehors"} << 0;
    QTest::newRow("the pointer leaving brings it back to rest")
        << QStringList {"survol", "sortie"} << 0;
    QTest::newRow("a disabled button is grey") << QStringList {"desactive"} << 2;
    QTest::newRow("a disabled button ignores the pointer")
        << QStringList {"desactive", "survol", "appui"} << 2;
    QTest::newRow("enabled again, it rests") << QStringList {"desactive", "active"} << 0;
    QTest::newRow("state 1 rests on the blue rim") << QStringList {"etat1"} << 4;
    QTest::newRow("state 1 still lights up under the pointer")
        << QStringList {"etat1", "survol"} << 3;
    QTest::newRow("state 1 comes back to the blue rim when the pointer leaves")
        << QStringList {"etat1", "survol", "sortie"} << 4;
    QTest::newRow("state 1 comes back to the blue rim after a click")
        << QStringList {"etat1", "survol", "appui", "relache"} << 4;
    QTest::newRow("state 0 goes back to the plain face") << QStringList {"etat1", "etat0"} << 0;
    QTest::newRow("another state keeps the blue rim") << QStringList {"etat1", "etat7"} << 4;
    QTest::newRow("another state keeps the plain face") << QStringList {"etat7"} << 0;
    QTest::newRow("a disabled button in state 1 is grey")
        << QStringList {"etat1", "desactive"} << 2;
}

void TestXpcmdbutton::laFaceSuitLesGestes()
{
    QFETCH(QStringList, gestes);
    QFETCH(int, cellule);
    jouer(gestes);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_bouton->celluleAffichee(), cellule);

    // What the window shows is that cell, stretched.
    QImage attendu(m_bouton->size(), QImage::Format_ARGB32_Premultiplied);
    attendu.fill(Qt::transparent);
    QPainter peintre(&attendu);
    dessinerCellule(peintre, peauBouton(), cellule, attendu.size());
    peintre.end();
    // The face is redrawn many times over; its translucent corners must not build up.
    QCOMPARE(m_bouton->face(), attendu);
    const QImage vu = m_bouton->grab().toImage();
    for (const QPoint &point : {QPoint(1, 11), QPoint(20, 1), QPoint(20, 21), QPoint(5, 5)})
        QCOMPARE(vu.pixelColor(point), attendu.pixelColor(point));
}

void TestXpcmdbutton::lesEvenementsArriventDansLOrdre_data()
{
    QTest::addColumn<bool>("eclaire");
    QTest::addColumn<QStringList>("gestes");
    QTest::addColumn<QStringList>("journal");

    QTest::newRow("passing over and out gives moves, then exactly one MouseOut")
        << false << QStringList {"survol", "survol", "sortie", "attente"}
        << QStringList {"MouseMove 0", "MouseMove 0", "MouseOut"};
    QTest::newRow("a press and release over the button clicks")
        << false << QStringList {"survol", "appui", "relache"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseUp 1", "Click"};
    QTest::newRow("a right press and release does not click")
        << false << QStringList {"survol", "appuiDroit", "relacheDroit"}
        << QStringList {"MouseMove 0", "MouseDown 2", "MouseUp 2"};
    QTest::newRow("pressing, dragging out and releasing outside gives MouseOut and no click")
        << false << QStringList {"survol", "appui", "glisse", "glisseDehors", "relache"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseMove 1", "MouseOut", "MouseUp 1"};
    QTest::newRow("dragging further outside raises no second MouseOut")
        << false
        << QStringList {"survol", "appui", "glisse", "glisseDehors", "glisseLoin", "relache"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseMove 1", "MouseOut", "MouseUp 1"};
    QTest::newRow("dragging out and back before releasing still clicks")
        << false << QStringList {"survol", "appui", "glisse", "glisseDehors", "glisse", "relache"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseMove 1", "MouseOut",
                        "MouseMove 1", "MouseUp 1",   "Click"};
    QTest::newRow("a double click counts as two clicks")
        << false << QStringList {"survol", "doubleClic"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseUp 1", "Click",
                        "MouseDown 1", "MouseUp 1",   "Click"};
    QTest::newRow("a click on the caption is a click on the button")
        << false << QStringList {"clicSurLaLegende"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseUp 1", "Click"};
    QTest::newRow("a disabled button reports nothing")
        << false << QStringList {"desactive", "survol", "appui", "relache", "clicSurLaLegende"}
        << QStringList();
    QTest::newRow("an article button clicks as the command button does")
        << true << QStringList {"survol", "appui", "relache", "sortie"}
        << QStringList {"MouseMove 0", "MouseDown 1", "MouseUp 1", "Click", "MouseOut"};
}

void TestXpcmdbutton::lesEvenementsArriventDansLOrdre()
{
    QFETCH(bool, eclaire);
    QFETCH(QStringList, gestes);
    QFETCH(QStringList, journal);
    if (eclaire) {
        creer(new BoutonEclaire);
        QCOMPARE(m_bouton->metaObject()->className(), "BoutonEclaire");
    }
    jouer(gestes);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_journal, journal);
}

void TestXpcmdbutton::lesBordsLointainsComptentDedans_data()
{
    QTest::addColumn<QPoint>("pointeur"); // where the pointer comes to rest, on a 75 x 23 button
    QTest::addColumn<bool>("dedans");

    QTest::newRow("the top left corner is inside") << QPoint(0, 0) << true;
    QTest::newRow("the right edge, at the width, is inside") << QPoint(75, 10) << true;
    QTest::newRow("the bottom edge, at the height, is inside") << QPoint(10, 23) << true;
    QTest::newRow("the far corner is inside") << QPoint(75, 23) << true;
    QTest::newRow("one past the right edge is out") << QPoint(76, 10) << false;
    QTest::newRow("one past the bottom edge is out") << QPoint(10, 24) << false;
    QTest::newRow("one left of the left edge is out") << QPoint(-1, 10) << false;
    QTest::newRow("one above the top edge is out") << QPoint(10, -1) << false;
}

// The pointer rests where the platform sends the button no move: only the leave check sees it.
void TestXpcmdbutton::lesBordsLointainsComptentDedans()
{
    QFETCH(QPoint, pointeur);
    QFETCH(bool, dedans);
    jouer({"survol"});
    m_pointeur = pointeur;
    QTest::qWait(60);
    QCOMPARE(m_journal.contains("MouseOut"), !dedans);
    QCOMPARE(minuterie()->isActive(), dedans);
    QCOMPARE(m_bouton->celluleAffichee(), dedans ? 3 : 0);
}

void TestXpcmdbutton::laSourisEstDecriteParSesCodes_data()
{
    QTest::addColumn<int>("bouton"); // Qt::MouseButton
    QTest::addColumn<Qt::KeyboardModifiers>("touches");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("codeBouton");
    QTest::addColumn<int>("codeShift");

    QTest::newRow("the left button is 1")
        << int(Qt::LeftButton) << Qt::KeyboardModifiers() << QPoint(10, 8) << 1 << 0;
    QTest::newRow("the right button is 2, Shift is 1")
        << int(Qt::RightButton) << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(0, 3) << 2
        << 1;
    QTest::newRow("the middle button is 4, Ctrl and Alt are 2 and 4")
        << int(Qt::MiddleButton) << (Qt::ControlModifier | Qt::AltModifier) << QPoint(74, 22) << 4
        << 6;
}

void TestXpcmdbutton::laSourisEstDecriteParSesCodes()
{
    QFETCH(int, bouton);
    QFETCH(Qt::KeyboardModifiers, touches);
    QFETCH(QPoint, position);
    QFETCH(int, codeBouton);
    QFETCH(int, codeShift);

    // Moves carry the buttons held but, as sent here, no keyboard state.
    QList<QVariantList> recus;
    QObject contexte; // ends the connections with this function
    const auto noter = [&](qint16 &b, qint16 &s, float &x, float &y) {
        recus << QVariantList {b, s, x, y};
    };
    connect(m_bouton.get(), &xpcmdbutton::MouseDown, &contexte, noter);
    connect(m_bouton.get(), &xpcmdbutton::MouseUp, &contexte, noter);
    qint16 boutonsTenus = -1;
    connect(m_bouton.get(), &xpcmdbutton::MouseMove, &contexte,
            [&](qint16 &b, qint16 &, float &, float &) { boutonsTenus = b; });
    const auto b = Qt::MouseButton(bouton);
    QTest::mousePress(m_bouton.get(), b, touches, position);
    QTest::mouseMove(m_bouton.get(), position + QPoint(0, -1));
    QTest::mouseRelease(m_bouton.get(), b, touches, position);

    QCOMPARE(boutonsTenus, qint16(codeBouton));
    QCOMPARE(recus.size(), 2);
    for (const QVariantList &recu : recus) {
        QCOMPARE(recu.at(0).toInt(), codeBouton);
        QCOMPARE(recu.at(1).toInt(), codeShift);
        QCOMPARE(recu.at(2).toFloat(), float(position.x()));
        QCOMPARE(recu.at(3).toFloat(), float(position.y()));
    }
}

void TestXpcmdbutton::lesTouchesSontTransmisesSansClic_data()
{
    QTest::addColumn<int>("cle"); // Qt::Key
    QTest::addColumn<QString>("texte");
    QTest::addColumn<Qt::KeyboardModifiers>("touches");
    QTest::addColumn<QStringList>("journal");

    QTest::newRow("a letter gives its code and its character")
        << int(Qt::Key_A) << "a" << Qt::KeyboardModifiers()
        << QStringList {"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"};
    QTest::newRow("a capital comes with Shift held")
        << int(Qt::Key_A) << "A" << Qt::KeyboardModifiers(Qt::ShiftModifier)
        << QStringList {"KeyDown 16 1", "KeyDown 65 1", "KeyPress 65", "KeyUp 65 1", "KeyUp 16 0"};
    QTest::newRow("Enter does not click")
        << int(Qt::Key_Return) << "\r" << Qt::KeyboardModifiers()
        << QStringList {"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"};
    QTest::newRow("the space bar does not click")
        << int(Qt::Key_Space) << " " << Qt::KeyboardModifiers()
        << QStringList {"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0"};
    QTest::newRow("a function key has no character")
        << int(Qt::Key_F1) << "" << Qt::KeyboardModifiers()
        << QStringList {"KeyDown 112 0", "KeyUp 112 0"};
    QTest::newRow("an arrow with Ctrl held")
        << int(Qt::Key_Left) << "" << Qt::KeyboardModifiers(Qt::ControlModifier)
        << QStringList {"KeyDown 17 2", "KeyDown 37 2", "KeyUp 37 2", "KeyUp 17 0"};
    QTest::newRow("a keypad digit is told from a row digit")
        << int(Qt::Key_5) << "5" << Qt::KeyboardModifiers(Qt::KeypadModifier)
        << QStringList {"KeyDown 101 0", "KeyPress 53", "KeyUp 101 0"};
}

void TestXpcmdbutton::lesTouchesSontTransmisesSansClic()
{
    QFETCH(int, cle);
    QFETCH(QString, texte);
    QFETCH(Qt::KeyboardModifiers, touches);
    QFETCH(QStringList, journal);
    QTest::sendKeyEvent(QTest::Click, m_bouton.get(), Qt::Key(cle), texte, touches);
    QCOMPARE(m_journal, journal);
}

void TestXpcmdbutton::laToucheDAccesCliqueLeBouton_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("cle"); // Qt::Key
    QTest::addColumn<bool>("actif");
    QTest::addColumn<int>("clics");

    QTest::newRow("Alt and the marked letter clicks") << "&Ajouter" << int(Qt::Key_A) << true << 1;
    QTest::newRow("the mark may stand inside the word")
        << "Enre&gistrer" << int(Qt::Key_G) << true << 1;
    QTest::newRow("Alt and another letter does not click")
        << "&Ajouter" << int(Qt::Key_B) << true << 0;
    QTest::newRow("a caption without a mark has no access key")
        << "Ajouter" << int(Qt::Key_A) << true << 0;
    QTest::newRow("a doubled mark is a plain ampersand") << "R&&D" << int(Qt::Key_D) << true << 0;
    QTest::newRow("a disabled button ignores its access key")
        << "&Ajouter" << int(Qt::Key_A) << false << 0;
}

void TestXpcmdbutton::laToucheDAccesCliqueLeBouton()
{
    QFETCH(QString, texte);
    QFETCH(int, cle);
    QFETCH(bool, actif);
    QFETCH(int, clics);

    m_bouton->setCaption(texte);
    m_bouton->setEnabled(actif);
    m_bouton->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_bouton.get()));
    QSignalSpy clic(m_bouton.get(), &xpcmdbutton::Click);
    if (!actif) {
        // Alt down, the letter down and up, Alt up: none reaches a disabled button.
        for (int i = 0; i < 4; ++i)
            QTest::ignoreMessage(QtWarningMsg, "Keyboard event not accepted by receiving widget");
    }
    QTest::keyClick(m_bouton.get(), Qt::Key(cle), Qt::AltModifier);
    QCOMPARE(clic.count(), clics);

    // The mark itself is not shown, so it takes no room.
    QLabel sansMarque;
    sansMarque.setFont(legende()->font());
    sansMarque.setText(QString(texte).remove(QRegularExpression("&(?!&)")));
    QCOMPARE(legende()->width(), sansMarque.sizeHint().width());
}

void TestXpcmdbutton::laLegendeResteCentree_data()
{
    QTest::addColumn<QSize>("taille");
    QTest::addColumn<QString>("police");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<bool>("tientEnLargeur");

    const QString planning = "MS Sans Serif";
    QTest::newRow("the back button of the planning")
        << QSize(33, 17) << planning << 8.25 << "<" << true;
    QTest::newRow("the today button of the planning")
        << QSize(41, 17) << planning << 8.25 << "Auj." << true;
    QTest::newRow("the today caption fits even the narrow planning size")
        << QSize(33, 17) << planning << 8.25 << "Auj." << true;
    QTest::newRow("the add button of the planning")
        << QSize(33, 17) << planning << 8.25 << "+" << true;
    QTest::newRow("a caption wider than the face overhangs both sides alike")
        << QSize(33, 17) << planning << 8.25 << "Nouvelle réservation" << false;
    QTest::newRow("a font taller than the face overhangs above and below alike")
        << QSize(33, 17) << planning << 20.0 << "+" << true;
    QTest::newRow("a default-sized button with a long word")
        << QSize(75, 23) << "DejaVu Sans" << 9.0 << "Enregistrer" << true;
}

void TestXpcmdbutton::laLegendeResteCentree()
{
    QFETCH(QSize, taille);
    QFETCH(QString, police);
    QFETCH(qreal, points);
    QFETCH(QString, texte);
    QFETCH(bool, tientEnLargeur);

    QLabel *lbl = legende();
    // Checked without letting any event run: the caption must move at once.
    const auto verifierCentrage = [&](const char *apres) {
        const QRect g = lbl->geometry();
        const int gauche = g.left();
        const int droite = m_bouton->width() - 1 - g.right();
        const int haut = g.top();
        const int bas = m_bouton->height() - 1 - g.bottom();
        if (qAbs(gauche - droite) > 1 || qAbs(haut - bas) > 1)
            QFAIL(qPrintable(QString("caption off centre after %1: %2, %3, %4, %5")
                                 .arg(apres)
                                 .arg(gauche)
                                 .arg(droite)
                                 .arg(haut)
                                 .arg(bas)));
        QCOMPARE(g.size(), lbl->sizeHint());
    };

    m_bouton->setCaption("Razarivu");
    verifierCentrage("the first caption");
    m_bouton->resize(taille);
    verifierCentrage("a resize");
    QCOMPARE(m_bouton->face().size(), taille);
    QFont font(police);
    font.setPointSizeF(points);
    m_bouton->setFont(font);
    QCOMPARE(lbl->font().pointSizeF(), points);
    verifierCentrage("a font change");
    m_bouton->setCaption(texte);
    QCOMPARE(m_bouton->Caption(), texte);
    verifierCentrage("a caption change");
    if (qEnvironmentVariableIsSet("RAZARIVU_CAPTURES")) {
        const QString nom = QString(QTest::currentDataTag()).replace(' ', '-');
        m_bouton->grab().save(qEnvironmentVariable("RAZARIVU_CAPTURES") + "/bouton-" + nom
                              + ".png");
    }
    if (tientEnLargeur) {
        QVERIFY(lbl->x() >= 0);
        QVERIFY(lbl->geometry().right() < m_bouton->width());
    }
}

void TestXpcmdbutton::laLegendeGriseAvecLeBouton_data()
{
    QTest::addColumn<bool>("actif");
    QTest::addColumn<QColor>("presente");
    QTest::addColumn<QColor>("absente");

    const QColor gris(161, 161, 146);
    QTest::newRow("an enabled caption is black") << true << QColor(Qt::black) << gris;
    QTest::newRow("a disabled caption is grey") << false << gris << QColor(Qt::black);
}

void TestXpcmdbutton::laLegendeGriseAvecLeBouton()
{
    QFETCH(bool, actif);
    QFETCH(QColor, presente);
    QFETCH(QColor, absente);

    // Large letters have stems wide enough for whole pixels of the pen colour.
    QFont font("DejaVu Sans");
    font.setPixelSize(40);
    m_bouton->setFont(font);
    m_bouton->resize(160, 60);
    m_bouton->setCaption("HHH");
    m_bouton->setEnabled(!actif);
    m_bouton->setEnabled(actif);

    const QImage vu = m_bouton->grab().toImage();
    bool trouvee = false;
    for (int y = 0; y < vu.height(); ++y) {
        for (int x = 0; x < vu.width(); ++x) {
            QVERIFY(vu.pixelColor(x, y) != absente);
            trouvee = trouvee || vu.pixelColor(x, y) == presente;
        }
    }
    QVERIFY(trouvee);
}

void TestXpcmdbutton::sansLegendeLeBoutonMontreSonNom_data()
{
    QTest::addColumn<bool>("eclaire");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("legende"); // null: none given
    QTest::addColumn<QString>("renomme"); // null: not renamed afterwards
    QTest::addColumn<QString>("attendu");

    QTest::newRow("a named button without a caption shows its name")
        << false << "Valider" << QString() << QString() << "Valider";
    QTest::newRow("an article button without a caption shows its name")
        << true << "Consommation" << QString() << QString() << "Consommation";
    QTest::newRow("a button with neither name nor caption shows nothing")
        << false << "" << QString() << QString() << "";
    QTest::newRow("renamed before any caption, it shows its new name")
        << false << "Valider" << QString() << "Fermer"
        << "Fermer";
    QTest::newRow("a caption replaces the name") << false << "Valider"
                                                 << "OK" << QString() << "OK";
    QTest::newRow("renamed after its caption, it keeps the caption") << false << "Valider"
                                                                     << "OK"
                                                                     << "Fermer"
                                                                     << "OK";
}

void TestXpcmdbutton::sansLegendeLeBoutonMontreSonNom()
{
    QFETCH(bool, eclaire);
    QFETCH(QString, nom);
    QFETCH(QString, legende);
    QFETCH(QString, renomme);
    QFETCH(QString, attendu);

    QWidget fenetre;
    xpcmdbutton *bouton = eclaire ? new BoutonEclaire(&fenetre) : new xpcmdbutton(&fenetre);
    bouton->setObjectName(nom);
    bouton->resize(120, 23);
    if (!legende.isNull())
        bouton->setCaption(legende);
    if (!renomme.isNull())
        bouton->setObjectName(renomme);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));

    QCOMPARE(bouton->Caption(), attendu);
    const QLabel *lbl = bouton->findChild<QLabel *>("lbl");
    QCOMPARE(lbl->text(), attendu);
    QCOMPARE(lbl->size(), lbl->sizeHint());
    QCOMPARE(lbl->x(), (120 - lbl->width()) / 2);
}

QTEST_MAIN(TestXpcmdbutton)
#include "tst_xpcmdbutton.moc"

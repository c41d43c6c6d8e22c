#include "app/ROOT.h"
#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "planning/Form1.h"
#include "planning/SurfaceDessin.h"
#include "web/MiseAJourInternet.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

// The frame and the planning inside it as the owner handles them: maximised, restored, resized
// by the corner, and found again as they were left.
class TestCadre : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lePlanningSeRedessineApresChaqueRedimensionnement();
    void unPlanningMaximiseRevientMaximise();
    void unCadreMaximiseRevientMaximise();
    void uneTailleStockeeTropGrandeEstRameneeALEcran();
    void laMiseAJourInternetSOuvreEnModal();

private:
    void demarrer();
    QMdiSubWindow *sousFenetre() const;
    // The four surfaces as they are now, and as a fresh redraw at their present size makes them.
    void verifierDessinEntier();

    BaseDemo m_base;
    std::unique_ptr<ROOT> m_cadre;
};

void TestCadre::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QStandardPaths::setTestModeEnabled(true);
}

void TestCadre::init()
{
    QVERIFY(m_base.preparer());
}

void TestCadre::cleanup()
{
    m_cadre.reset();
    m_base.contexte.reset();
    m_base.fermer();
}

void TestCadre::demarrer()
{
    m_base.contexte = std::make_unique<Contexte>();
    m_cadre = std::make_unique<ROOT>(*m_base.contexte);
    m_cadre->show();
    QVERIFY(m_cadre->demarrer());
    QVERIFY(QTest::qWaitForWindowExposed(m_cadre.get()));
    m_cadre->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_cadre.get()));
}

QMdiSubWindow *TestCadre::sousFenetre() const
{
    return qobject_cast<QMdiSubWindow *>(m_cadre->planning()->parentWidget());
}

void TestCadre::verifierDessinEntier()
{
    Form1 *f = m_cadre->planning();
    QCoreApplication::processEvents();
    const QList<SurfaceDessin *> surfaces = {f->lesmois, f->TexteColonnes, f->objets, f->planning};
    QList<QImage> vues;
    for (SurfaceDessin *surface : surfaces) {
        QCOMPARE(surface->surface().image().size(), surface->size());
        vues << surface->surface().image().copy();
    }
    f->rafraichir();
    for (int i = 0; i < surfaces.size(); ++i)
        QVERIFY2(vues.at(i) == surfaces.at(i)->surface().image(),
                 surfaces.at(i)->objectName().toUtf8());
    // The grid is as wide as the sub-window lets it be, less the scroll bar when it shows, not
    // the size it had before.
    const int barre = f->defilement->isHidden() ? 0 : f->defilement->width();
    QCOMPARE(f->planning->width(), f->fondplanning->width() - f->planning->x() - barre);
}

// One window handled in turn, as at the desk: maximised by a double click on its title,
// restored, then made larger by its corner; after each the planning is drawn whole.
void TestCadre::lePlanningSeRedessineApresChaqueRedimensionnement()
{
    demarrer();
    QMdiSubWindow *cadre = sousFenetre();
    const QPoint titre(cadre->width() / 2, 10);
    // The pointer comes over the title bar first, as a hand brings it there.
    QTest::mouseMove(cadre, titre - QPoint(4, 0));
    QTest::mouseMove(cadre, titre);
    QTest::mouseDClick(cadre, Qt::LeftButton, {}, titre);
    QTRY_VERIFY(cadre->isMaximized());
    verifierDessinEntier();

    // Maximised, its title bar is gone into the frame's menu bar, whose restore button does this.
    cadre->showNormal();
    QTRY_VERIFY(!cadre->isMaximized());
    verifierDessinEntier();

    const QSize avant = cadre->size();
    // Where a drag of the corner ends.
    cadre->resize(avant + QSize(120, 60));
    QTRY_COMPARE(cadre->size(), avant + QSize(120, 60));
    verifierDessinEntier();
}

void TestCadre::unPlanningMaximiseRevientMaximise()
{
    const QString ini = m_base.dossier() + "/Razarivu.ini";
    ValeurINI("Razarivu", "Positions", "0|0|677|414", ini, ECRIRE);
    ValeurINI("Razarivu", "PositionsTaille", "2", ini, ECRIRE);
    demarrer();
    QMdiSubWindow *cadre = sousFenetre();
    auto *zone = m_cadre->findChild<QMdiArea *>("zoneFenetres");
    // Past the memory's first tick, which restores once more.
    QTest::qWait(1300);
    QVERIFY(cadre->isMaximized());
    QCOMPARE(cadre->size(), zone->viewport()->size());
    verifierDessinEntier();
}

void TestCadre::unCadreMaximiseRevientMaximise()
{
    const QString ini = m_base.dossier() + "/reriveved.ini";
    ValeurINI("root", "Positions", "10|20|800|500", ini, ECRIRE);
    ValeurINI("root", "PositionsTaille", "2", ini, ECRIRE);
    demarrer();
    QTest::qWait(1300);
    QVERIFY(m_cadre->isMaximized());
    QTRY_COMPARE(m_cadre->frameGeometry(), m_cadre->screen()->availableGeometry());
    verifierDessinEntier();
}

void TestCadre::uneTailleStockeeTropGrandeEstRameneeALEcran()
{
    ValeurINI("root", "Positions", "0|0|50000|50000", m_base.dossier() + "/reriveved.ini", ECRIRE);
    ValeurINI("Razarivu", "Positions", "0|0|50000|50000", m_base.dossier() + "/Razarivu.ini",
              ECRIRE);
    demarrer();
    const QRect ecran = m_cadre->screen()->availableGeometry();
    // Its corner on the screen, and no larger than it (the frame's own border aside).
    QVERIFY(ecran.contains(m_cadre->pos()));
    QVERIFY(m_cadre->width() <= ecran.width());
    QVERIFY(m_cadre->height() <= ecran.height());
    QVERIFY(sousFenetre()->width() <= ecran.width());
    QVERIFY(sousFenetre()->height() <= ecran.height());
    verifierDessinEntier();
}

void TestCadre::laMiseAJourInternetSOuvreEnModal()
{
    demarrer();
    QMenu *outils = m_cadre->menuBar()->findChild<QMenu *>("menuOutils");
    QAction *miseAJour = outils->findChild<QAction *>("menuMiseAJourInternet");
    QVERIFY(miseAJour);
    miseAJour->trigger();
    auto *publication = m_cadre->findChild<MiseAJourInternet *>();
    QVERIFY(publication);
    QTRY_VERIFY(publication->windowHandle());
    // The frame and its menus wait for it.
    QTRY_COMPARE(QGuiApplication::modalWindow(), publication->windowHandle());
    // However it is asked for again, one window.
    miseAJour->trigger();
    QCOMPARE(m_cadre->findChildren<MiseAJourInternet *>().size(), 1);
    publication->close();
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestCadre)
#include "tst_cadre.moc"

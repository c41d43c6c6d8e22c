#include "app/ValeurINI.h"
#include "controls/BarreSeparatrice.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The splitter bar in a 600 × 300 container: a left pane of 200 pixels, a right pane after it.
class TestBarreSeparatrice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void laDispositionLaisseUnPixelDeChaqueCote();
    void configurerSansMemoirePlaceLaBarre();
    void configurerAvecMemoireLitOuEcritLaLargeur_data();
    void configurerAvecMemoireLitOuEcritLaLargeur();
    void glisserLaBarreDeplaceLesVolets_data();
    void glisserLaBarreDeplaceLesVolets();
    void unGlissementNeDonneJamaisDeLargeurNegative_data();
    void unGlissementNeDonneJamaisDeLargeurNegative();
    void unMouvementLibreApresUnAppuiAppliqueLaDisposition();
    void uneBarreNonConfigureeNeBougeRien();
    void changedNeRelancePasLaBarre();
    void leClignotementFinitToujoursGris_data();
    void leClignotementFinitToujoursGris();

private:
    void souris(QEvent::Type type, int xGlobal, Qt::MouseButton bouton, Qt::MouseButtons boutons);
    void glisser(int deplacement);
    QString memoire() const;

    std::unique_ptr<QTemporaryDir> m_dossier;
    std::unique_ptr<QWidget> m_conteneur;
    QWidget *m_gauche = nullptr;
    QWidget *m_droite = nullptr;
    BarreSeparatrice *m_barre = nullptr;
};

void TestBarreSeparatrice::init()
{
    m_dossier.reset(new QTemporaryDir);
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", m_dossier->path().toUtf8());
    m_conteneur.reset(new QWidget);
    m_conteneur->resize(600, 300);
    m_gauche = new QWidget(m_conteneur.get());
    m_gauche->setGeometry(0, 0, 200, 300);
    m_droite = new QWidget(m_conteneur.get());
    m_droite->setGeometry(210, 0, 390, 300);
    m_barre = new BarreSeparatrice(m_conteneur.get());
    m_barre->setGeometry(201, 0, BarreSeparatrice::Largeur, 300);
}

void TestBarreSeparatrice::cleanup()
{
    m_conteneur.reset();
}

void TestBarreSeparatrice::souris(QEvent::Type type, int xGlobal, Qt::MouseButton bouton,
                                  Qt::MouseButtons boutons)
{
    const QPointF global(xGlobal, 50);
    QMouseEvent evenement(type, m_barre->mapFromGlobal(global), global, bouton, boutons,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(m_barre, &evenement);
}

void TestBarreSeparatrice::glisser(int deplacement)
{
    const int depart = m_barre->mapToGlobal(QPoint(2, 0)).x();
    souris(QEvent::MouseButtonPress, depart, Qt::LeftButton, Qt::LeftButton);
    // Several steps, as a hand moves: only where the mouse ends counts.
    souris(QEvent::MouseMove, depart + deplacement / 2, Qt::NoButton, Qt::LeftButton);
    souris(QEvent::MouseMove, depart + deplacement, Qt::NoButton, Qt::LeftButton);
    souris(QEvent::MouseButtonRelease, depart + deplacement, Qt::LeftButton, Qt::NoButton);
}

QString TestBarreSeparatrice::memoire() const
{
    return ValeurINI(QStringLiteral("essai"), QStringLiteral("barre"), QStringLiteral("absente"),
                     QStringLiteral("barre.ini"), LIRE);
}

void TestBarreSeparatrice::laDispositionLaisseUnPixelDeChaqueCote()
{
    const DispositionBarre disposition = DispositionBarre::calculer(
        QRect(40, 0, 100, 50), QRect(180, -900, 5, 2700), QSize(600, 300));
    QCOMPARE(disposition.gauche, QRect(0, 0, 139, 300));
    QCOMPARE(disposition.droite, QRect(146, 0, 454, 300));
    QCOMPARE(disposition.positionReelle, 139 * 15);
}

void TestBarreSeparatrice::configurerSansMemoirePlaceLaBarre()
{
    QSignalSpy changements(m_barre, &BarreSeparatrice::Changed);
    m_barre->Controle_GAUCHEDROITE(m_gauche, m_droite, 250, m_conteneur.get());
    QCOMPARE(m_gauche->geometry(), QRect(0, 0, 250, 300));
    QCOMPARE(m_barre->x(), 251);
    QCOMPARE(m_barre->width(), BarreSeparatrice::Largeur);
    // Taller than the container on both sides, so it always covers it whole.
    QVERIFY(m_barre->y() < 0);
    QVERIFY(m_barre->geometry().bottom() > 300);
    QCOMPARE(m_droite->geometry(), QRect(257, 0, 343, 300));
    QCOMPARE(m_barre->PositionReelle(), 250 * 15);
    QCOMPARE(changements.count(), 1);
    QVERIFY(!m_barre->appuye());
    // The bar stays in front of the panes it sits between.
    const QObjectList enfants = m_conteneur->children();
    QVERIFY(enfants.indexOf(m_barre) > enfants.indexOf(m_gauche));
    QVERIFY(enfants.indexOf(m_barre) > enfants.indexOf(m_droite));
    QCOMPARE(memoire(), QStringLiteral("absente"));
}

void TestBarreSeparatrice::configurerAvecMemoireLitOuEcritLaLargeur_data()
{
    QTest::addColumn<QString>("enregistree"); // empty: no key yet
    QTest::addColumn<int>("largeur");
    QTest::addColumn<QString>("ecrite");

    QTest::newRow("a missing key is written with the current width and kept")
        << QString() << 200 << "3000";
    QTest::newRow("a stored width in twips") << "4500" << 300 << "4500";
    QTest::newRow("a width stored with decimals") << "1507.5" << 101 << "1515";
    QTest::newRow("junk reads as zero") << "abc" << 0 << "0";
    QTest::newRow("a negative width is brought to zero") << "-600" << 0 << "0";
    QTest::newRow("a width past the container leaves the bar inside it")
        << "999999" << 593 << "8895";
    QTest::newRow("a number too large to hold keeps the current width") << "1e400" << 200 << "3000";
}

void TestBarreSeparatrice::configurerAvecMemoireLitOuEcritLaLargeur()
{
    QFETCH(QString, enregistree);
    QFETCH(int, largeur);
    QFETCH(QString, ecrite);

    if (!enregistree.isEmpty())
        ValeurINI("essai", "barre", enregistree, "barre.ini", ECRIRE);
    m_gauche->move(20, 0);
    QSignalSpy changements(m_barre, &BarreSeparatrice::Changed);
    m_barre->Controle_GAUCHEDROITE_avecMEMOIRE(m_gauche, m_droite, m_conteneur.get(), "essai",
                                               "barre", "barre.ini");
    QCOMPARE(m_gauche->geometry(), QRect(0, 0, largeur, 300));
    QCOMPARE(m_barre->x(), largeur + 1);
    QCOMPARE(m_droite->geometry(), QRect(largeur + 7, 0, 600 - largeur - 7, 300));
    QCOMPARE(m_barre->PositionReelle(), largeur * 15);
    QCOMPARE(memoire(), ecrite);
    QCOMPARE(changements.count(), 1);
}

void TestBarreSeparatrice::glisserLaBarreDeplaceLesVolets_data()
{
    QTest::addColumn<bool>("avecMemoire");
    QTest::addColumn<int>("deplacement");

    QTest::newRow("30 pixels to the right, remembered") << true << 30;
    QTest::newRow("30 pixels to the left, remembered") << true << -30;
    QTest::newRow("30 pixels to the right, without memory") << false << 30;
    QTest::newRow("a press without a move changes nothing but lays out again") << true << 0;
}

void TestBarreSeparatrice::glisserLaBarreDeplaceLesVolets()
{
    QFETCH(bool, avecMemoire);
    QFETCH(int, deplacement);

    if (avecMemoire)
        m_barre->Controle_GAUCHEDROITE_avecMEMOIRE(m_gauche, m_droite, m_conteneur.get(), "essai",
                                                   "barre", "barre.ini");
    else
        m_barre->Controle_GAUCHEDROITE(m_gauche, m_droite, 200, m_conteneur.get());
    const QRect gauche = m_gauche->geometry();
    const QRect droite = m_droite->geometry();
    QSignalSpy changements(m_barre, &BarreSeparatrice::Changed);

    glisser(deplacement);

    QCOMPARE(m_gauche->geometry(), gauche.adjusted(0, 0, deplacement, 0));
    QCOMPARE(m_droite->geometry(), droite.adjusted(deplacement, 0, 0, 0));
    QCOMPARE(m_barre->x(), 201 + deplacement);
    QCOMPARE(m_barre->PositionReelle(), (200 + deplacement) * 15);
    QCOMPARE(memoire(),
             avecMemoire ? QString::number((200 + deplacement) * 15) : QStringLiteral("absente"));
    QCOMPARE(changements.count(), 1);
    QVERIFY(!m_barre->appuye());
    // Moving on afterwards, no button held, only blinks.
    souris(QEvent::MouseMove, m_barre->mapToGlobal(QPoint(2, 0)).x(), Qt::NoButton, Qt::NoButton);
    QCOMPARE(changements.count(), 1);
    QCOMPARE(m_barre->compteurClignotement(), 5);
}

void TestBarreSeparatrice::unGlissementNeDonneJamaisDeLargeurNegative_data()
{
    QTest::addColumn<int>("deplacement");
    QTest::addColumn<int>("largeurGauche");
    QTest::addColumn<int>("largeurDroite");

    QTest::newRow("dragged past the left edge") << -5000 << 0 << 593;
    QTest::newRow("dragged past the right edge") << 5000 << 593 << 0;
}

void TestBarreSeparatrice::unGlissementNeDonneJamaisDeLargeurNegative()
{
    QFETCH(int, deplacement);
    QFETCH(int, largeurGauche);
    QFETCH(int, largeurDroite);

    m_barre->Controle_GAUCHEDROITE(m_gauche, m_droite, 200, m_conteneur.get());
    glisser(deplacement);
    QCOMPARE(m_gauche->width(), largeurGauche);
    QCOMPARE(m_droite->width(), largeurDroite);
    QCOMPARE(m_droite->x() + m_droite->width(), 600);
}

void TestBarreSeparatrice::unMouvementLibreApresUnAppuiAppliqueLaDisposition()
{
    // The button may come up where the bar does not see it: the next free move lays out.
    m_barre->Controle_GAUCHEDROITE(m_gauche, m_droite, 200, m_conteneur.get());
    QSignalSpy changements(m_barre, &BarreSeparatrice::Changed);
    const int depart = m_barre->mapToGlobal(QPoint(2, 0)).x();
    souris(QEvent::MouseButtonPress, depart, Qt::LeftButton, Qt::LeftButton);
    souris(QEvent::MouseMove, depart + 40, Qt::NoButton, Qt::LeftButton);
    QVERIFY(m_barre->appuye());
    QCOMPARE(changements.count(), 0);
    souris(QEvent::MouseMove, depart + 40, Qt::NoButton, Qt::NoButton);
    QCOMPARE(changements.count(), 1);
    QCOMPARE(m_gauche->width(), 240);
    QCOMPARE(m_barre->compteurClignotement(), 0);
}

void TestBarreSeparatrice::uneBarreNonConfigureeNeBougeRien()
{
    QSignalSpy changements(m_barre, &BarreSeparatrice::Changed);
    const QRect barre = m_barre->geometry();
    m_barre->REFRESHING();
    glisser(30);
    QCOMPARE(m_barre->geometry(), barre);
    QCOMPARE(m_gauche->geometry(), QRect(0, 0, 200, 300));
    QCOMPARE(m_droite->geometry(), QRect(210, 0, 390, 300));
    QCOMPARE(changements.count(), 0);
    QVERIFY(!m_barre->appuye());

    // Other buttons than the left one drag nothing either, even on a configured bar.
    m_barre->Controle_GAUCHEDROITE(m_gauche, m_droite, 200, m_conteneur.get());
    const int depart = m_barre->mapToGlobal(QPoint(2, 0)).x();
    souris(QEvent::MouseButtonPress, depart, Qt::RightButton, Qt::RightButton);
    souris(QEvent::MouseMove, depart + 30, Qt::NoButton, Qt::RightButton);
    souris(QEvent::MouseButtonRelease, depart + 30, Qt::RightButton, Qt::NoButton);
    QCOMPARE(m_gauche->width(), 200);
    QCOMPARE(changements.count(), 1);
}

void TestBarreSeparatrice::changedNeRelancePasLaBarre()
{
    int appels = 0;
    connect(m_barre, &BarreSeparatrice::Changed, this, [&] {
        ++appels;
        m_gauche->resize(100, m_gauche->height());
        m_barre->REFRESHING();
    });
    m_barre->Controle_GAUCHEDROITE(m_gauche, m_droite, 200, m_conteneur.get());
    QCOMPARE(appels, 1);
    QCOMPARE(m_barre->x(), 201);
    // Once the handler is done the bar answers again.
    m_barre->REFRESHING();
    QCOMPARE(appels, 2);
    QCOMPARE(m_barre->x(), 101);
}

void TestBarreSeparatrice::leClignotementFinitToujoursGris_data()
{
    QTest::addColumn<int>("survolApres"); // ticks before the pointer passes again; -1: never
    QTest::addColumn<QString>("couleurs");

    QTest::newRow("one pass: black, grey, black, grey, then grey")
        << -1 << "000000 808080 000000 808080 808080";
    QTest::newRow("passing again restarts the count and still ends grey")
        << 2 << "000000 808080 000000 808080 000000 808080 808080";
}

void TestBarreSeparatrice::leClignotementFinitToujoursGris()
{
    QFETCH(int, survolApres);
    QFETCH(QString, couleurs);

    const int x = m_barre->mapToGlobal(QPoint(2, 0)).x();
    souris(QEvent::MouseMove, x, Qt::NoButton, Qt::NoButton);
    QCOMPARE(m_barre->compteurClignotement(), 5);
    QStringList vues;
    for (int tic = 0; m_barre->compteurClignotement() > 0; ++tic) {
        if (tic == survolApres)
            souris(QEvent::MouseMove, x, Qt::NoButton, Qt::NoButton);
        m_barre->clignotement_Timer();
        vues << m_barre->couleur().name().mid(1);
    }
    QCOMPARE(vues.join(' '), couleurs);
    // The timer itself drives it too, at its own pace.
    souris(QEvent::MouseMove, x, Qt::NoButton, Qt::NoButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_barre->compteurClignotement(), 0, 3000);
    QCOMPARE(m_barre->couleur(), QColor(128, 128, 128));
}

QTEST_MAIN(TestBarreSeparatrice)
#include "tst_barreseparatrice.moc"

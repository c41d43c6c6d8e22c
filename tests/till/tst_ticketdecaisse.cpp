#include "till/TicketDeCaisse.h"

#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <memory>

// The till receipt: how the strip grows, where lines land, how it is kept on the lower bar and
// scrolled by hand. Timers are ticked by hand so that each step is exact.
class TestTicketDeCaisse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unRubanNeufEstVideEtArrete();
    void unRubanVideTientSurLaBarreDuBas();
    void chaqueTexteAllongeLeRuban_data();
    void chaqueTexteAllongeLeRuban();
    void laHauteurSeMesureALaPoliceDuControle();
    void lesLignesSImprimentAuPixelPres_data();
    void lesLignesSImprimentAuPixelPres();
    void grandirGardeCeQuiEstImprime();
    void initEffaceLeRuban();
    void tenirUneBarreFaitDefiler_data();
    void tenirUneBarreFaitDefiler();
    void unNouveauTexteRameneLeRubanApresUnDefilement();
    void redimensionnerReplaceLesBarresSansBougerLeRuban_data();
    void redimensionnerReplaceLesBarresSansBougerLeRuban();
    void unDefilementALaMainSurvitAuRedimensionnement();
    void elargirMontreLeTexteImprimeEtroit();
    void unTresLongRubanSeDechireParLeHaut();
    void unTexteEnormeNeGardeQueSaFin();

private:
    QTimer *minuterie(const char *nom) const { return m_ticket->findChild<QTimer *>(nom); }
    QWidget *enfant(const char *nom) const { return m_ticket->findChild<QWidget *>(nom); }
    void tic(const char *nom) const
    {
        QVERIFY(QMetaObject::invokeMethod(minuterie(nom), "timeout", Qt::DirectConnection));
    }
    int ligne() const { return hauteurLigne(m_ticket->font()); }
    // Top the strip must have to stand on the lower bar.
    int hautAttendu() const { return m_ticket->height() - m_ticket->hauteurRuban() - 9; }

    static int hauteurLigne(const QFont &police)
    {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return QFontMetrics(police, &image).height();
    }
    // Black pixels in rows premiere to derniere (both included) and columns from `gauche` on.
    static int encre(const QImage &image, int premiere, int derniere, int gauche = 0)
    {
        int n = 0;
        for (int y = std::max(premiere, 0); y <= std::min(derniere, image.height() - 1); ++y)
            for (int x = gauche; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    }

    std::unique_ptr<TicketDeCaisse> m_ticket;
};

void TestTicketDeCaisse::init()
{
    m_ticket = std::make_unique<TicketDeCaisse>();
    m_ticket->resize(200, 300);
    m_ticket->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_ticket.get()));
    m_ticket->init();
    tic("repositionnement");
}

void TestTicketDeCaisse::cleanup()
{
    m_ticket.reset();
}

void TestTicketDeCaisse::unRubanNeufEstVideEtArrete()
{
    TicketDeCaisse neuf;
    for (const char *nom : {"repositionnement", "Scrolleur"}) {
        QTimer *minuterie = neuf.findChild<QTimer *>(nom);
        QVERIFY2(minuterie, nom);
        QVERIFY(!minuterie->isActive());
        QCOMPARE(minuterie->interval(), 100);
    }
    for (const char *nom : {"Ruban", "haut", "bas"})
        QVERIFY2(neuf.findChild<QWidget *>(nom), nom);
    QCOMPARE(neuf.hauteurRuban(), 10);
}

void TestTicketDeCaisse::unRubanVideTientSurLaBarreDuBas()
{
    QCOMPARE(m_ticket->hauteurRuban(), 10);
    QCOMPARE(m_ticket->hautRuban(), 300 - 10 - 9);
    QCOMPARE(enfant("Ruban")->geometry(), QRect(10, 281, 180, 10));
    QCOMPARE(enfant("bas")->geometry(), QRect(0, 291, 200, 9));
    const QImage image = m_ticket->imageRuban();
    QCOMPARE(image.size(), QSize(180, 10));
    QCOMPARE(encre(image, 0, 9), 0);
}

void TestTicketDeCaisse::chaqueTexteAllongeLeRuban_data()
{
    QTest::addColumn<QStringList>("textes");
    QTest::addColumn<int>("lignes"); // line heights taken by all the texts

    QTest::newRow("one line") << QStringList {"Chambre 12"} << 1;
    QTest::newRow("an empty text still takes a line") << QStringList {""} << 1;
    QTest::newRow("three lines one after the other") << QStringList {"Café", "Thé", "Eau"} << 3;
    QTest::newRow("CR LF makes two lines") << QStringList {"Total\r\nMerci"} << 2;
    QTest::newRow("a lone LF makes two lines") << QStringList {"Total\nMerci"} << 2;
    QTest::newRow("a trailing CR LF opens an empty line") << QStringList {"Total\r\n"} << 2;
    QTest::newRow("a lone CR is no line break") << QStringList {"Total\rMerci"} << 1;
    QTest::newRow("mixed") << QStringList {"a\r\nb\r\nc", "d", "e\nf"} << 6;
}

void TestTicketDeCaisse::chaqueTexteAllongeLeRuban()
{
    QFETCH(QStringList, textes);
    QFETCH(int, lignes);

    for (const QString &texte : textes)
        m_ticket->AjoutTexte(texte);
    QCOMPARE(m_ticket->hauteurRuban(), 10 + lignes * ligne() + int(textes.size()) * 4);
    QVERIFY(minuterie("repositionnement")->isActive());
    tic("repositionnement");
    QCOMPARE(m_ticket->hautRuban(), hautAttendu());
}

void TestTicketDeCaisse::laHauteurSeMesureALaPoliceDuControle()
{
    // A font far taller than the strip's own: the room must follow it, not the strip's.
    QFont grande = m_ticket->font();
    grande.setPixelSize(40);
    m_ticket->setFont(grande);
    QVERIFY(hauteurLigne(grande) > 40);
    m_ticket->AjoutTexte("a\r\nb");
    QCOMPARE(m_ticket->hauteurRuban(), 10 + 2 * hauteurLigne(grande) + 4);
}

void TestTicketDeCaisse::lesLignesSImprimentAuPixelPres_data()
{
    QTest::addColumn<QStringList>("textes");

    QTest::newRow("one line, below an empty band of 10") << QStringList {"Chambre 12"};
    QTest::newRow("each text below the last, 4 apart")
        << QStringList {"Café", "1 x 1,5 = 1,50 €", "Thé"};
    QTest::newRow("the lines of one text in their own slots, an empty one blank")
        << QStringList {"MMMM\r\n\r\nMMMM", "Fin"};
}

// Built from the layout alone: slots as high as a line of the control's font, the first at 10,
// 4 between texts, ink in Courier New 4 pixels from the left.
void TestTicketDeCaisse::lesLignesSImprimentAuPixelPres()
{
    QFETCH(QStringList, textes);
    for (const QString &texte : textes)
        m_ticket->AjoutTexte(texte);

    const int h = ligne();
    int hauteur = 10;
    for (const QString &texte : textes)
        hauteur += int(texte.count(u'\n') + 1) * h + 4;
    QImage attendu(180, hauteur, QImage::Format_RGB32);
    attendu.setDotsPerMeterX(3780);
    attendu.setDotsPerMeterY(3780);
    attendu.fill(Qt::white);
    QPainter peintre(&attendu);
    QFont courier("Courier New");
    courier.setPointSizeF(8.25);
    courier.setStyleStrategy(QFont::NoAntialias);
    peintre.setFont(courier);
    peintre.setPen(Qt::black);
    int y = 10;
    for (const QString &texte : textes) {
        for (QString morceau : texte.split(u'\n')) {
            peintre.drawText(4, y + peintre.fontMetrics().ascent(), morceau.remove(u'\r'));
            y += h;
        }
        y += 4;
    }
    peintre.end();
    QCOMPARE(m_ticket->imageRuban(), attendu);
}

void TestTicketDeCaisse::grandirGardeCeQuiEstImprime()
{
    m_ticket->AjoutTexte("Première ligne");
    const QImage avant = m_ticket->imageRuban();
    // Enough lines to make the picture grow several times over.
    for (int i = 0; i < 200; ++i)
        m_ticket->AjoutTexte(QString("Ligne %1").arg(i));
    const QImage apres = m_ticket->imageRuban();
    QCOMPARE(apres.copy(avant.rect()), avant);
    // The newest line is just above the strip's bottom.
    QVERIFY(encre(apres, apres.height() - 4 - ligne(), apres.height() - 5) > 0);
}

void TestTicketDeCaisse::initEffaceLeRuban()
{
    for (int i = 0; i < 30; ++i)
        m_ticket->AjoutTexte("MMMMMMMM");
    tic("repositionnement");
    m_ticket->init();
    QVERIFY(minuterie("repositionnement")->isActive());
    QCOMPARE(m_ticket->hauteurRuban(), 10);
    m_ticket->AjoutTexte("");
    QCOMPARE(encre(m_ticket->imageRuban(), 0, 10 + ligne() + 3), 0);
    tic("repositionnement");
    QCOMPARE(m_ticket->hautRuban(), hautAttendu());
}

void TestTicketDeCaisse::tenirUneBarreFaitDefiler_data()
{
    QTest::addColumn<QString>("barre");
    QTest::addColumn<bool>("doubleClic"); // the press comes as the second click of a double click
    QTest::addColumn<Qt::MouseButton>("bouton");
    QTest::addColumn<int>("deplacement"); // downward, after ten ticks

    QTest::newRow("the upper bar lowers the strip") << "haut" << false << Qt::LeftButton << 150;
    QTest::newRow("the lower bar raises the strip") << "bas" << false << Qt::LeftButton << -150;
    QTest::newRow("a double click holds as well") << "bas" << true << Qt::LeftButton << -150;
    QTest::newRow("the right button does nothing") << "haut" << false << Qt::RightButton << 0;
}

void TestTicketDeCaisse::tenirUneBarreFaitDefiler()
{
    QFETCH(QString, barre);
    QFETCH(bool, doubleClic);
    QFETCH(Qt::MouseButton, bouton);
    QFETCH(int, deplacement);

    for (int i = 0; i < 5; ++i)
        m_ticket->AjoutTexte("Ligne");
    tic("repositionnement");
    const int depart = m_ticket->hautRuban();
    QWidget *cible = enfant(barre.toLatin1());
    if (doubleClic) {
        QTest::mouseClick(cible, bouton, {}, QPoint(5, 4));
        QTest::mouseDClick(cible, bouton, {}, QPoint(5, 4));
    } else {
        QTest::mousePress(cible, bouton, {}, QPoint(5, 4));
    }
    const bool defile = deplacement != 0;
    QCOMPARE(minuterie("Scrolleur")->isActive(), defile);
    if (!defile) {
        QTest::mouseRelease(cible, bouton, {}, QPoint(5, 4));
        return;
    }
    QVERIFY(!minuterie("repositionnement")->isActive());
    for (int i = 0; i < 10; ++i)
        tic("Scrolleur");
    QCOMPARE(m_ticket->hautRuban(), depart + deplacement);

    QTest::mouseRelease(cible, bouton, {}, QPoint(5, 4));
    QVERIFY(!minuterie("Scrolleur")->isActive());
    QVERIFY(!minuterie("repositionnement")->isActive());
    QCOMPARE(m_ticket->hautRuban(), depart + deplacement);
}

void TestTicketDeCaisse::unNouveauTexteRameneLeRubanApresUnDefilement()
{
    m_ticket->AjoutTexte("Ligne");
    tic("repositionnement");
    QTest::mousePress(enfant("bas"), Qt::LeftButton, {}, QPoint(5, 4));
    for (int i = 0; i < 7; ++i)
        tic("Scrolleur");
    QTest::mouseRelease(enfant("bas"), Qt::LeftButton, {}, QPoint(5, 4));
    QVERIFY(m_ticket->hautRuban() != hautAttendu());

    m_ticket->AjoutTexte("Encore une");
    tic("repositionnement");
    QCOMPARE(m_ticket->hautRuban(), hautAttendu());
}

void TestTicketDeCaisse::redimensionnerReplaceLesBarresSansBougerLeRuban_data()
{
    QTest::addColumn<QSize>("taille");

    QTest::newRow("wider and taller") << QSize(320, 500);
    QTest::newRow("narrower and shorter") << QSize(120, 100);
    QTest::newRow("shorter than the strip") << QSize(200, 40);
    QTest::newRow("narrower than the margins") << QSize(15, 300);
}

void TestTicketDeCaisse::redimensionnerReplaceLesBarresSansBougerLeRuban()
{
    QFETCH(QSize, taille);

    for (int i = 0; i < 4; ++i)
        m_ticket->AjoutTexte("Ligne");
    tic("repositionnement");
    const int avant = m_ticket->hautRuban();
    m_ticket->resize(taille);
    QCOMPARE(enfant("haut")->geometry(), QRect(0, 0, taille.width(), 9));
    QCOMPARE(enfant("bas")->geometry(), QRect(0, taille.height() - 9, taille.width(), 9));
    QCOMPARE(enfant("Ruban")->geometry(),
             QRect(10, avant, std::max(taille.width() - 20, 0), m_ticket->hauteurRuban()));
    tic("repositionnement");
    QCOMPARE(m_ticket->hautRuban(), hautAttendu());
}

void TestTicketDeCaisse::unDefilementALaMainSurvitAuRedimensionnement()
{
    m_ticket->AjoutTexte("Ligne");
    tic("repositionnement");
    QTest::mousePress(enfant("haut"), Qt::LeftButton, {}, QPoint(5, 4));
    tic("Scrolleur");
    QTest::mouseRelease(enfant("haut"), Qt::LeftButton, {}, QPoint(5, 4));
    const int laisse = m_ticket->hautRuban();
    m_ticket->resize(250, 400);
    QVERIFY(!minuterie("repositionnement")->isActive());
    QCOMPARE(m_ticket->hautRuban(), laisse);
}

void TestTicketDeCaisse::elargirMontreLeTexteImprimeEtroit()
{
    m_ticket->resize(60, 300);
    m_ticket->AjoutTexte(QString(40, u'M'));
    m_ticket->resize(600, 300);
    QVERIFY(encre(m_ticket->imageRuban(), 10, 10 + ligne() - 1, 60) > 0);
}

void TestTicketDeCaisse::unTresLongRubanSeDechireParLeHaut()
{
    for (int i = 0; i < 6000; ++i)
        m_ticket->AjoutTexte(QString("Ligne %1").arg(i));
    const int hauteur = m_ticket->hauteurRuban();
    QVERIFY(hauteur <= TicketDeCaisse::hauteurMaximale);
    QVERIFY(hauteur >= TicketDeCaisse::hauteurMaximale * 3 / 4);
    const QImage image = m_ticket->imageRuban();
    QCOMPARE(image.height(), hauteur);
    QVERIFY(encre(image, hauteur - 4 - ligne(), hauteur - 5) > 0);
    tic("repositionnement");
    QCOMPARE(m_ticket->hautRuban(), hautAttendu());
}

void TestTicketDeCaisse::unTexteEnormeNeGardeQueSaFin()
{
    m_ticket->AjoutTexte("Avant");
    QString enorme = QString("Ligne\r\n").repeated(500000) + "Fin";
    enorme += QString(2'000'000, u'W');
    m_ticket->AjoutTexte(enorme);
    const int hauteur = m_ticket->hauteurRuban();
    QVERIFY(hauteur <= TicketDeCaisse::hauteurMaximale);
    const QImage image = m_ticket->imageRuban();
    QVERIFY(encre(image, hauteur - 4 - ligne(), hauteur - 5) > 0);
    // The strip is all that text: nothing of "Avant" is left, and its top is printed.
    QVERIFY(encre(image, 0, ligne()) > 0);
    tic("repositionnement");
    QCOMPARE(m_ticket->hautRuban(), hautAttendu());
}

QTEST_MAIN(TestTicketDeCaisse)
#include "tst_ticketdecaisse.moc"

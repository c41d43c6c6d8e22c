#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "controls/xpcmdbutton.h"
#include "data/AttenteBase.h"
#include "planning/Form1.h"
#include "planning/Navigation.h"
#include "planning/ReservationAffichee.h"
#include "planning/SurfaceDessin.h"
#include "reservations/reservations.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSqlQuery>
#include <QToolTip>
#include <QtTest>

// The planning window as a person uses it: pressing bars, panning, the selectors, the move
// buttons and the blink of the reservation just edited.
class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lesSurfacesSuiventLaFenetre();
    void uneFenetreExtremeSeRedessine_data();
    void uneFenetreExtremeSeRedessine();
    void unAppuiChoisitLaPremiereBarreTouchee_data();
    void unAppuiChoisitLaPremiereBarreTouchee();
    void unAppuiSurUneBarreOuvreLaReservationPuisClignote();
    void lePanoramiqueCompteLesJoursDepuisSonDebut_data();
    void lePanoramiqueCompteLesJoursDepuisSonDebut();
    void lePanoramiqueSuitLePointeurEtSArreteAuRelachement();
    void leBoutonDroitNOuvrePasDePanoramique();
    void lesSelecteursChoisissentLePremierDuMois_data();
    void lesSelecteursChoisissentLePremierDuMois();
    void aujourdhuiRevientAuJourSansHeure();
    void lesCategoriesChoisissentLesLignes();
    void unDoubleClicSurUneCaseVideOuvreUnSejour();
    void unClicAvanceDUnJour_data();
    void unClicAvanceDUnJour();
    void maintenirSuivantAvanceJusquAuRelachement();
    void leClignotementAlterneLeTexte_data();
    void leClignotementAlterneLeTexte();
    void leClignotementSArreteSansBarre();
    void lesBoutonsDeNavigationSontEnPlace();
    void lesSelecteursQuiPerdentLeFocusGardentLeJour();
    void laMoletteEtLesTouchesFontDefilerLesLignes();
    void lAffichageEstGardeDUnLancementALAutre_data();
    void lAffichageEstGardeDUnLancementALAutre();
    void unSejourOuvertAilleursVientEnVue();
    void glisserUneBarreLaDeplaceEtCtrlZLaRamene();
    void unGesteQuiNePeutAboutirLaisseLeSejour();
    void leTravailDUnAutrePosteSeVoitSansGener();

private:
    void ajouterSejour(int objet, const QString &client, const QDateTime &debut,
                       const QDateTime &fin);
    int premierObjet();
    int nombreDObjets();
    // A fresh window on the same base, as at the next start of the program.
    void relancer();

    BaseDemo m_base;
    std::unique_ptr<Contexte> m_contexte;
    std::unique_ptr<Form1> m_fenetre;
    QPoint m_pointeur;
};

const QDate Aujourdhui(2026, 12, 8);

void TestForm1::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    QStandardPaths::setTestModeEnabled(true);
}

void TestForm1::init()
{
    QVERIFY(m_base.preparer(false));
    m_contexte = std::make_unique<Contexte>();
    m_fenetre = std::make_unique<Form1>(*m_contexte);
    m_fenetre->positionPointeur = [this] {
        return m_pointeur;
    };
    QVERIFY(m_fenetre->charger());
    m_fenetre->resize(669, 386);
}

void TestForm1::cleanup()
{
    m_fenetre.reset();
    m_contexte.reset();
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    m_base.fermer();
}

void TestForm1::ajouterSejour(int objet, const QString &client, const QDateTime &debut,
                              const QDateTime &fin)
{
    QSqlQuery requete(m_contexte->BasePlanning());
    requete.prepare(
        "insert into RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat, "
        "nbadultes, nbenfants, arrhes, remarque, telephone, email) "
        "values (?, ?, ?, ?, (select Code from ETATS limit 1), 2, 0, 0, ' ', ' ', ' ')");
    requete.addBindValue(objet);
    requete.addBindValue(client);
    requete.addBindValue(debut.toString("yyyy-MM-dd HH:mm:ss"));
    requete.addBindValue(fin.toString("yyyy-MM-dd HH:mm:ss"));
    QVERIFY2(requete.exec(), qPrintable(requete.lastError().text()));
}

int TestForm1::premierObjet()
{
    QSqlQuery requete("select Numero from OBJETS limit 1", m_contexte->BasePlanning());
    return requete.next() ? requete.value(0).toInt() : -1;
}

int TestForm1::nombreDObjets()
{
    return valeurSql(m_contexte->BasePlanning(), "select count(*) from OBJETS where not retire")
        .toInt();
}

void TestForm1::relancer()
{
    m_fenetre.reset();
    m_contexte = std::make_unique<Contexte>();
    m_fenetre = std::make_unique<Form1>(*m_contexte);
    QVERIFY(m_fenetre->charger());
    m_fenetre->resize(669, 386);
}

namespace {
void tourner(QWidget *surface, int angle, Qt::KeyboardModifiers touches = {})
{
    QWheelEvent molette(QPointF(30, 30), surface->mapToGlobal(QPointF(30, 30)), QPoint(),
                        QPoint(0, angle), Qt::NoButton, touches, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(surface, &molette);
}
} // namespace

void TestForm1::lesSurfacesSuiventLaFenetre()
{
    Form1 &f = *m_fenetre;
    // The lines of the demo site do not fit: the scroll bar takes its width from the grid.
    const int barre = f.defilement->width();
    QVERIFY(!f.defilement->isHidden() && barre > 0);
    QCOMPARE(f.defilement->geometry(), QRect(152 + 501 - barre, 64, barre, 370 - 64));
    QCOMPARE(f.planning->geometry(), QRect(152, 64, 501 - barre, 329));
    QCOMPARE(f.lesmois->width(), 501 - barre);
    // A category whose lines fit is drawn as a site without a scroll bar always was.
    f.ChoixSelection_Click(f.ChoixSelection->findText("Chalet"));
    QVERIFY(f.defilement->isHidden());
    QCOMPARE(f.fondplanning->geometry(), QRect(8, 8, 653, 370));
    QCOMPARE(f.planning->geometry(), QRect(152, 64, 501, 329));
    QCOMPARE(f.objets->geometry(), QRect(0, 64, 153, 329));
    QCOMPARE(f.TexteColonnes->geometry(), QRect(152, 24, 501, 41));
    QCOMPARE(f.lesmois->geometry(), QRect(152, 0, 501, 25));
    QCOMPARE(f.colonnes->geometry(), QRect(0, 0, 153, 68));
    QCOMPARE(f.planning->surface().image().size(), QSize(501, 329));

    f.resize(1000, 600);
    QCOMPARE(f.planning->geometry(), QRect(152, 64, 832, 543));
    QCOMPARE(f.lesmois->width(), 832);
}

void TestForm1::uneFenetreExtremeSeRedessine_data()
{
    QTest::addColumn<QSize>("taille");
    QTest::newRow("a window of one pixel") << QSize(1, 1);
    QTest::newRow("a window 4000 pixels wide") << QSize(4000, 400);
}

void TestForm1::uneFenetreExtremeSeRedessine()
{
    QFETCH(QSize, taille);
    ajouterSejour(premierObjet(), "Martin", QDateTime(Aujourdhui, QTime()),
                  QDateTime(Aujourdhui.addDays(3), QTime()));
    m_fenetre->resize(taille);
    m_fenetre->rafraichir();
    QCOMPARE(m_fenetre->ReservationsAffichees.size(), 2);
}

void TestForm1::unAppuiChoisitLaPremiereBarreTouchee_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("barre");

    // Row 1: stays D..D+3 (x 2..58) and D+3..D+5 (x 62..98); row top 0, bars y 2..18.
    QTest::newRow("the left edge pixel hits the bar") << QPoint(2, 10) << 1;
    QTest::newRow("the right edge pixel hits the bar") << QPoint(58, 10) << 1;
    QTest::newRow("the top and bottom edges hit the bar") << QPoint(30, 18) << 1;
    QTest::newRow("the gap between two stays is empty grid") << QPoint(60, 10) << 0;
    QTest::newRow("left of the first bar is empty grid") << QPoint(1, 10) << 0;
    QTest::newRow("between two rows is empty grid") << QPoint(30, 20) << 0;
    QTest::newRow("the second stay is hit past the gap") << QPoint(62, 2) << 2;
    QTest::newRow("where stays overlap the upper half is the earlier bar's")
        << QPoint(120, 10) << 3;
    QTest::newRow("where stays overlap the lower half is the later bar's") << QPoint(120, 14) << 4;
    QTest::newRow("past the overlap the longer stay is alone") << QPoint(150, 14) << 4;
}

void TestForm1::unAppuiChoisitLaPremiereBarreTouchee()
{
    QFETCH(QPoint, point);
    QFETCH(int, barre);
    const int objet = premierObjet();
    const QDateTime d(Aujourdhui, QTime());
    ajouterSejour(objet, "Premier", d, d.addDays(3));
    ajouterSejour(objet, "Second", d.addDays(3), d.addDays(5));
    ajouterSejour(objet, "Long", d.addDays(5), d.addDays(9));
    ajouterSejour(objet, "Chevauche", d.addDays(5), d.addDays(7));
    m_fenetre->rafraichir();
    QCOMPARE(m_fenetre->ReservationsAffichees.size(), 5);
    QCOMPARE(m_fenetre->barreSous(point), barre);
}

void TestForm1::unAppuiSurUneBarreOuvreLaReservationPuisClignote()
{
    const QDateTime d(Aujourdhui, QTime());
    ajouterSejour(premierObjet(), "Dupont", d, d.addDays(3));
    m_fenetre->rafraichir();
    QString ouvert;
    m_fenetre->ouvrirReservation = [&](const ReservationAffichee &barre) {
        ouvert = barre.nomclient;
        m_fenetre->reservation_encours = barre.NumeroReservation;
    };

    QTest::mouseClick(m_fenetre->planning, Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(ouvert, QString("Dupont"));
    QVERIFY(m_fenetre->Clignotement.isActive());
    QCOMPARE(m_fenetre->reservation_courante, 1);
    QVERIFY(!m_fenetre->Deplaceur.isActive());
}

void TestForm1::lePanoramiqueCompteLesJoursDepuisSonDebut_data()
{
    QTest::addColumn<int>("ecart");
    QTest::addColumn<int>("jours");

    QTest::newRow("19 pixels right do not move the period") << 19 << 0;
    QTest::newRow("20 pixels right show one day earlier") << 20 << -1;
    QTest::newRow("1 pixel left shows one day later") << -1 << 1;
    QTest::newRow("20 pixels left show one day later") << -20 << 1;
    QTest::newRow("21 pixels left show two days later") << -21 << 2;
    QTest::newRow("65 pixels right show three days earlier") << 65 << -3;
}

void TestForm1::lePanoramiqueCompteLesJoursDepuisSonDebut()
{
    QFETCH(int, ecart);
    QFETCH(int, jours);
    QCOMPARE(-Navigation::joursDePanoramique(ecart, 20), jours);

    m_pointeur = QPoint(300, 200);
    QTest::mousePress(m_fenetre->planning, Qt::LeftButton, {}, QPoint(200, 100));
    // Stored meanwhile: only a redraw shows it, and a move of less than a day redraws nothing.
    ajouterSejour(premierObjet(), "Pendant", QDateTime(Aujourdhui, QTime()),
                  QDateTime(Aujourdhui.addDays(4), QTime()));
    m_pointeur = QPoint(300 + ecart, 250);
    m_fenetre->Deplaceur_Timer();
    QCOMPARE(m_fenetre->datedepart, Aujourdhui.addDays(jours));
    QCOMPARE(m_fenetre->ReservationsAffichees.size(), jours == 0 ? 1 : 2);
    // Each tick measures from the start of the pan, not from the previous tick.
    m_fenetre->Deplaceur_Timer();
    QCOMPARE(m_fenetre->datedepart, Aujourdhui.addDays(jours));
}

void TestForm1::lePanoramiqueSuitLePointeurEtSArreteAuRelachement()
{
    m_pointeur = QPoint(500, 300);
    QTest::mousePress(m_fenetre->planning, Qt::LeftButton, {}, QPoint(200, 100));
    QVERIFY(m_fenetre->Deplaceur.isActive());
    QCOMPARE(m_fenetre->Deplaceur.interval(), 100);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);

    m_pointeur = QPoint(440, 300);
    QTRY_COMPARE(m_fenetre->datedepart, Aujourdhui.addDays(3));

    QTest::mouseRelease(m_fenetre->planning, Qt::RightButton, {}, QPoint(140, 100));
    QVERIFY(!m_fenetre->Deplaceur.isActive());
    QVERIFY(!QGuiApplication::overrideCursor());
    m_pointeur = QPoint(300, 300);
    QTest::qWait(250);
    QCOMPARE(m_fenetre->datedepart, Aujourdhui.addDays(3));
}

void TestForm1::leBoutonDroitNOuvrePasDePanoramique()
{
    QTest::mousePress(m_fenetre->planning, Qt::RightButton, {}, QPoint(200, 100));
    QVERIFY(!m_fenetre->Deplaceur.isActive());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestForm1::lesSelecteursChoisissentLePremierDuMois_data()
{
    QTest::addColumn<QString>("selecteur");
    QTest::addColumn<int>("entree");
    QTest::addColumn<QString>("texteAnnee");
    QTest::addColumn<QString>("texteMois");
    QTest::addColumn<QDate>("attendue");

    QTest::newRow("the second month of the year shown is 1 February") << "mois" << 1 << "2027"
                                                                      << "" << QDate(2027, 2, 1);
    QTest::newRow("a year picked keeps the month shown") << "annee" << 3 << ""
                                                         << "Août" << QDate(2028, 8, 1);
    QTest::newRow("a typed year that is no year leaves the period") << "mois" << 4 << "deux mille"
                                                                    << "" << Aujourdhui;
    QTest::newRow("a typed month that is no month leaves the period") << "annee" << 0 << ""
                                                                      << "Brumaire" << Aujourdhui;
}

void TestForm1::lesSelecteursChoisissentLePremierDuMois()
{
    QFETCH(QString, selecteur);
    QFETCH(int, entree);
    QFETCH(QString, texteAnnee);
    QFETCH(QString, texteMois);
    QFETCH(QDate, attendue);
    Form1 &f = *m_fenetre;
    if (!texteAnnee.isEmpty())
        f.choixannee->setEditText(texteAnnee);
    if (!texteMois.isEmpty())
        f.choixmois->setEditText(texteMois);

    if (selecteur == "mois")
        f.choixmois_Click(entree);
    else
        f.choixannee_Click(entree);

    QCOMPARE(f.datedepart, attendue);
    QCOMPARE(f.choixannee->currentText(), f.datedepart.toString("yyyy"));
}

void TestForm1::aujourdhuiRevientAuJourSansHeure()
{
    m_fenetre->datedepart = QDate(2020, 3, 5);
    QTest::mouseClick(m_fenetre->mouvementaujourdhui, Qt::LeftButton);
    QCOMPARE(m_fenetre->datedepart, Aujourdhui);
    QCOMPARE(m_fenetre->choixmois->currentText(), QString("Décembre"));
}

void TestForm1::lesCategoriesChoisissentLesLignes()
{
    QComboBox *choix = m_fenetre->ChoixSelection;
    QStringList entrees;
    for (int i = 0; i < choix->count(); ++i)
        entrees << choix->itemText(i);
    QCOMPARE(entrees, QStringList({"Tous", "Chambre", "Emplacement", "Chalet", "Mobil-home"}));

    const auto sejour = [this](int objet) {
        QSqlQuery(m_contexte->BasePlanning())
            .exec(QString("insert into RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat) "
                          "values (%1, 'C%1', '2026-12-09 14:00:00', '2026-12-11 12:00:00', 2)")
                      .arg(objet));
    };
    sejour(1);
    sejour(42);
    m_fenetre->ChoixSelection_Click(3);
    QCOMPARE(m_fenetre->ReservationsAffichees.size(), 2);
    QCOMPARE(m_fenetre->ReservationsAffichees[1].nomclient, QString("C42"));
    QCOMPARE(m_fenetre->ReservationsAffichees[1].y1, 20 + 2); // the second chalet's line

    // Hovering the bar tells who stays, on which object.
    const ReservationAffichee &barre = m_fenetre->ReservationsAffichees[1];
    QHelpEvent survol(QEvent::ToolTip, QPoint((barre.x1 + barre.x2) / 2, barre.y1 + 4),
                      m_fenetre->planning->mapToGlobal(QPoint(barre.x1 + 4, barre.y1 + 4)));
    QCoreApplication::sendEvent(m_fenetre->planning, &survol);
    QVERIFY2(QToolTip::text().startsWith("C42\nChalet des Pins\nArrivée : mer. 09/12/2026 14:00"),
             qPrintable(QToolTip::text()));

    // Every chalet retired: the category goes, and every object shows again.
    QSqlQuery(m_contexte->BasePlanning())
        .exec("update OBJETS set retire = 1 where Categorie = 'Chalet'");
    m_fenetre->actualiserCategories();
    m_fenetre->rafraichir();
    QCOMPARE(choix->count(), 4);
    QCOMPARE(choix->currentText(), QString("Tous"));
    QCOMPARE(m_fenetre->ReservationsAffichees.size(), 2);
    QCOMPARE(m_fenetre->ReservationsAffichees[1].nomclient, QString("C1"));
}

void TestForm1::unClicAvanceDUnJour_data()
{
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<int>("pas");

    QTest::newRow("> moves one day on") << "MvtJourSuivant" << 1;
    QTest::newRow("< moves one day back") << "MvtJourPrecedent" << -1;
}

void TestForm1::unClicAvanceDUnJour()
{
    QFETCH(QString, bouton);
    QFETCH(int, pas);
    auto *fleche = m_fenetre->findChild<xpcmdbutton *>(bouton);
    QVERIFY(fleche);
    for (int clic = 1; clic <= 3; ++clic) {
        QTest::mouseClick(fleche, Qt::LeftButton);
        QCOMPARE(m_fenetre->datedepart, Aujourdhui.addDays(clic * pas));
    }
    QTest::qWait(500); // past the pause before a held button repeats
    QCOMPARE(m_fenetre->datedepart, Aujourdhui.addDays(3 * pas));
}

void TestForm1::maintenirSuivantAvanceJusquAuRelachement()
{
    QTest::mousePress(m_fenetre->MvtJourSuivant, Qt::LeftButton);
    QCOMPARE(m_fenetre->datedepart, Aujourdhui.addDays(1));
    QVERIFY(!m_fenetre->mouvements.isActive());
    QTRY_VERIFY(m_fenetre->mouvements.isActive());
    QTRY_VERIFY(m_fenetre->datedepart >= Aujourdhui.addDays(3));
    QTest::mouseRelease(m_fenetre->MvtJourSuivant, Qt::LeftButton);
    QVERIFY(!m_fenetre->mouvements.isActive());
    const QDate arret = m_fenetre->datedepart;
    QTest::qWait(50);
    QCOMPARE(m_fenetre->datedepart, arret);

    QTest::mousePress(m_fenetre->MvtJourPrecedent, Qt::LeftButton);
    QTRY_VERIFY(m_fenetre->datedepart < arret);
    QTest::mouseRelease(m_fenetre->MvtJourPrecedent, Qt::LeftButton);
    QVERIFY(!m_fenetre->mouvements.isActive());
}

void TestForm1::leClignotementAlterneLeTexte_data()
{
    QTest::addColumn<int>("nombre");
    QTest::addColumn<QString>("couleurs"); // text colour after each tick: B black, W white

    QTest::newRow("ten steps alternate and end white") << 10 << "WBWBWBWBWW";
    QTest::newRow("one step draws the text once in white") << 1 << "W";
    QTest::newRow("no step at all still ends at the first tick") << 0 << "W";
}

void TestForm1::leClignotementAlterneLeTexte()
{
    QFETCH(int, nombre);
    QFETCH(QString, couleurs);
    m_contexte->NbClignotements = qint16(nombre);
    const QDateTime d(Aujourdhui, QTime());
    ajouterSejour(premierObjet(), "Clignote", d, d.addDays(4));
    m_fenetre->rafraichir();
    m_fenetre->reservation_encours = m_fenetre->ReservationsAffichees.at(1).NumeroReservation;
    m_fenetre->rafraichir();
    QCOMPARE(m_fenetre->reservation_courante, 1);

    const ReservationAffichee barre = m_fenetre->ReservationsAffichees.at(1);
    const QRect dansLaBarre(QPoint(barre.x1, barre.y1), QPoint(barre.x2, barre.y2));
    const QRgb fond = m_fenetre->planning->surface().image().pixel(dansLaBarre.topLeft());

    m_fenetre->Clignotement.start();
    QString vues;
    while (m_fenetre->Clignotement.isActive() && vues.size() < 20) {
        // Whatever lay over the bar is painted over by each step.
        m_fenetre->planning->surface().ligne(dansLaBarre.left(), dansLaBarre.center().y(),
                                             dansLaBarre.right(), dansLaBarre.center().y(),
                                             Qt::red);
        m_fenetre->Clignotement_Timer();
        const QColor texte = m_fenetre->planning->surface().couleurTexte;
        vues += texte == QColor(Qt::black) ? 'B' : 'W';
        // The name is drawn again, in exactly the text colour (no blended edge): every pixel of
        // the bar is its colour or the text's.
        const QImage image = m_fenetre->planning->surface().image();
        int pixelsDuTexte = 0;
        for (int y = dansLaBarre.top(); y <= dansLaBarre.bottom(); ++y) {
            for (int x = std::max(0, dansLaBarre.left()); x <= dansLaBarre.right(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                pixelsDuTexte += pixel == texte.rgb();
                QVERIFY2(pixel == fond || pixel == texte.rgb(),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(pixelsDuTexte > 10);
    }
    QCOMPARE(vues, couleurs);
    QCOMPARE(m_fenetre->compteurclignotement, qint16(0));
}

void TestForm1::leClignotementSArreteSansBarre()
{
    m_fenetre->reservation_encours = 999999;
    m_fenetre->rafraichir();
    QCOMPARE(m_fenetre->reservation_courante, 0);
    m_fenetre->compteurclignotement = 3;
    m_fenetre->Clignotement.start();
    m_fenetre->Clignotement_Timer();
    QVERIFY(!m_fenetre->Clignotement.isActive());
    QCOMPARE(m_fenetre->compteurclignotement, qint16(0));
}

void TestForm1::lesBoutonsDeNavigationSontEnPlace()
{
    const struct
    {
        const char *nom;
        const char *legende;
        QRect place;
    } attendus[] = {
        {"MvtJourPrecedent", "<", QRect(8, 21, 33, 17)},
        {"mouvementaujourdhui", "Auj.", QRect(40, 21, 41, 17)},
        {"MvtJourSuivant", ">", QRect(80, 21, 33, 17)},
        {"ajouter", "+", QRect(112, 21, 33, 17)},
    };
    for (const auto &attendu : attendus) {
        auto *bouton = m_fenetre->colonnes->findChild<xpcmdbutton *>(attendu.nom);
        QVERIFY2(bouton, attendu.nom);
        QCOMPARE(bouton->Caption(), QString(attendu.legende));
        QCOMPARE(bouton->geometry(), attendu.place);
    }
    bool ajoute = false;
    m_fenetre->ajouterReservation = [&] {
        ajoute = true;
    };
    QTest::mouseClick(m_fenetre->ajouter, Qt::LeftButton);
    QVERIFY(ajoute);
}

void TestForm1::unDoubleClicSurUneCaseVideOuvreUnSejour()
{
    QSqlQuery(m_contexte->BasePlanning())
        .exec("insert into RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat) values (1, "
              "'Pris', '2026-12-08 14:00:00', '2026-12-12 12:00:00', 2)");
    m_fenetre->rafraichir();
    // The third line (object 3), five days on; then on the stay of the first line.
    QString ouvert;
    QTimer attente;
    attente.start(10);
    connect(&attente, &QTimer::timeout, this, [&] {
        reservations *dialogue = nullptr;
        for (QWidget *fenetre : QApplication::topLevelWidgets())
            dialogue = dialogue ? dialogue : qobject_cast<reservations *>(fenetre);
        if (!dialogue || !dialogue->isVisible())
            return;
        attente.stop();
        ouvert = dialogue->Objets->currentText() + ' ' + dialogue->datedebut->text() + ' '
            + dialogue->heuredebut->text() + ' ' + dialogue->datefin->text() + ' '
            + dialogue->heurefin->text() + ' ' + dialogue->numreservation->text() + ' '
            + dialogue->Nbjour->text();
        dialogue->close();
    });
    QTest::mouseDClick(m_fenetre->planning, Qt::LeftButton, {}, QPoint(5 * 20 + 10, 2 * 20 + 10));
    QCOMPARE(ouvert, QString("3 : Chambre 3 13/12/2026 14:00 14/12/2026 12:00 nouveau 1"));

    int ouvertures = 0;
    m_fenetre->ajouterReservationSur = [&](qint32, const QDate &, const QDate &) {
        ++ouvertures;
    };
    QTest::mouseDClick(m_fenetre->planning, Qt::LeftButton, {}, QPoint(2 * 20 + 10, 10));
    QTest::mouseDClick(m_fenetre->planning, Qt::LeftButton, {}, QPoint(10, 200 * 20));
    QCOMPARE(ouvertures, 0);
}

// The year box loses the focus whenever a dialog opens over the planning: a period set by the
// program (the arrival day after a save) must stay as it is.
void TestForm1::lesSelecteursQuiPerdentLeFocusGardentLeJour()
{
    m_fenetre->datedepart = QDate(2027, 7, 10);
    m_fenetre->rafraichir();
    for (QComboBox *liste : {m_fenetre->choixannee, m_fenetre->choixmois}) {
        if (liste->lineEdit())
            emit liste->lineEdit()->editingFinished();
    }
    QCOMPARE(m_fenetre->datedepart, QDate(2027, 7, 10));
    QCOMPARE(m_fenetre->choixannee->currentText(), QStringLiteral("2027"));
}

void TestForm1::laMoletteEtLesTouchesFontDefilerLesLignes()
{
    Form1 &f = *m_fenetre;
    // Lower, so that there is more than a page to scroll: 11 whole lines show.
    f.resize(669, 300);
    const int objets = nombreDObjets();
    const int page = (f.fondplanning->height() - f.planning->y()) / 20;
    QCOMPARE(page, 11);
    QVERIFY(objets > 2 * page);
    const QImage noms = f.objets->surface().image().copy();
    const int bas = noms.height() - 3 * 20;

    tourner(f.planning, -120);
    QCOMPARE(f.premiereLigne, 3);
    QCOMPARE(f.defilement->value(), 3);
    // The names moved up by three lines, pixel for pixel.
    QCOMPARE(f.objets->surface().image().copy(0, 0, noms.width(), bas),
             noms.copy(0, 3 * 20, noms.width(), bas));
    // A double click on the top line now is on the fourth object.
    qint32 objet = 0;
    f.ajouterReservationSur = [&](qint32 numero, const QDate &, const QDate &) {
        objet = numero;
    };
    QTest::mouseDClick(f.planning, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(objet,
             valeurSql(m_contexte->BasePlanning(),
                       "select Numero from OBJETS where not retire order by rowid "
                       "limit 1 offset 3")
                 .toInt());

    tourner(f.objets, 120);
    QCOMPARE(f.premiereLigne, 0);
    QTest::keyClick(f.planning, Qt::Key_PageDown);
    QCOMPARE(f.premiereLigne, page);
    QTest::keyClick(f.planning, Qt::Key_End);
    QCOMPARE(f.premiereLigne, objets - page);
    QTest::keyClick(f.planning, Qt::Key_PageDown);
    QCOMPARE(f.premiereLigne, objets - page);
    QTest::keyClick(f.planning, Qt::Key_Home);
    QCOMPARE(f.premiereLigne, 0);
    f.defilement->setValue(5); // as a drag of the bar does
    QCOMPARE(f.premiereLigne, 5);

    // Shift: a day a notch; Ctrl: the day widths, never past the ends.
    const QDate jour = f.datedepart;
    tourner(f.planning, -120, Qt::ShiftModifier);
    QCOMPARE(f.datedepart, jour.addDays(1));
    QCOMPARE(f.premiereLigne, 5);
    const QList<int> largeurs = {30, 40, 40, 30, 20, 12, 12};
    QList<int> vues;
    for (int angle : {120, 120, 120, -120, -120, -120, -120}) {
        tourner(f.planning, angle, Qt::ControlModifier);
        vues << f.largeurjour;
    }
    QCOMPARE(vues, largeurs);
    // Saturday 12 December, the fourth column, in its grey at the new width.
    QCOMPARE(f.planning->surface().image().pixelColor(3 * 12 + 5, 205), QColor(0xC0C0C0));
}

void TestForm1::lAffichageEstGardeDUnLancementALAutre_data()
{
    QTest::addColumn<QString>("ligne");
    QTest::addColumn<QString>("largeur");
    QTest::addColumn<int>("premiere"); // -1: the last screen
    QTest::addColumn<int>("largeurLue");

    QTest::newRow("Values of the last run") << "7"
                                            << "30" << 7 << 30;
    QTest::newRow("Junk reads as the defaults") << "dix"
                                                << "25" << 0 << 20;
    QTest::newRow("Out of range reads as the defaults") << "-4"
                                                        << "400" << 0 << 20;
    QTest::newRow("Past the last line shows the last screen") << "100000"
                                                              << "12" << -1 << 12;
}

void TestForm1::lAffichageEstGardeDUnLancementALAutre()
{
    QFETCH(QString, ligne);
    QFETCH(QString, largeur);
    QFETCH(int, premiere);
    QFETCH(int, largeurLue);
    ValeurINI("planning", "premiereligne", ligne, QString(), ECRIRE);
    ValeurINI("planning", "largeurjour", largeur, QString(), ECRIRE);
    relancer();
    const int page = (m_fenetre->fondplanning->height() - m_fenetre->planning->y()) / 20;
    QCOMPARE(m_fenetre->premiereLigne, premiere < 0 ? nombreDObjets() - page : premiere);
    QCOMPARE(m_fenetre->largeurjour, largeurLue);

    // What the wheel chose is what the next start shows.
    tourner(m_fenetre->planning, -120);
    const int apres = m_fenetre->premiereLigne;
    relancer();
    QCOMPARE(m_fenetre->premiereLigne, apres);
}

void TestForm1::unSejourOuvertAilleursVientEnVue()
{
    // A stay in March on the last line, the planning on today's chambres only.
    const int dernier = valeurSql(m_contexte->BasePlanning(),
                                  "select Numero from OBJETS where not retire order by rowid desc")
                            .toInt();
    ajouterSejour(dernier, "Loin", QDateTime(QDate(2027, 3, 10), QTime(14, 0)),
                  QDateTime(QDate(2027, 3, 14), QTime(12, 0)));
    const int numero
        = valeurSql(m_contexte->BasePlanning(), "select max(NumeroReservation) from RESERVATIONS")
              .toInt();
    m_fenetre->ChoixSelection_Click(m_fenetre->ChoixSelection->findText("Chambre"));
    QString ouvert;
    m_fenetre->ouvrirReservation = [&](const ReservationAffichee &barre) {
        ouvert = barre.nomclient;
    };
    m_fenetre->ouvrirSejour(numero);
    QCOMPARE(ouvert, QString("Loin"));
    QCOMPARE(m_fenetre->datedepart, QDate(2027, 3, 10));
    QCOMPARE(m_fenetre->ChoixSelection->currentText(), QString("Tous"));
    QVERIFY(m_fenetre->reservation_courante > 0);
    const ReservationAffichee &barre
        = m_fenetre->ReservationsAffichees.at(m_fenetre->reservation_courante);
    QVERIFY(barre.y2 <= m_fenetre->planning->height());
    QVERIFY(m_fenetre->Clignotement.isActive());
}

namespace {
void glisser(QWidget *surface, const QPoint &position)
{
    QMouseEvent deplacement(QEvent::MouseMove, QPointF(position),
                            QPointF(surface->mapToGlobal(position)), Qt::NoButton, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &deplacement);
}
} // namespace

void TestForm1::glisserUneBarreLaDeplaceEtCtrlZLaRamene()
{
    Form1 &f = *m_fenetre;
    const QSqlDatabase base = m_contexte->BasePlanning();
    ajouterSejour(premierObjet(), "Glisse", QDateTime(Aujourdhui, QTime(14, 0)),
                  QDateTime(Aujourdhui.addDays(3), QTime(10, 0)));
    const int numero = valeurSql(base, "select max(NumeroReservation) from RESERVATIONS").toInt();
    const auto ou = [&] {
        return valeurSql(base,
                         QString("select Objet || ' ' || DateDebut || ' ' || DateFin from "
                                 "RESERVATIONS where NumeroReservation = %1")
                             .arg(numero))
            .toString();
    };
    const QString depart = ou();
    f.rafraichir();
    int ouvertures = 0;
    f.ouvrirReservation = [&](const ReservationAffichee &) {
        ++ouvertures;
    };

    // Four pixels are a click; Escape drops a drag; each leaves the stay as it was.
    QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(30, 10));
    glisser(f.planning, QPoint(34, 10));
    QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(34, 10));
    QCOMPARE(ouvertures, 1);
    QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(30, 10));
    glisser(f.planning, QPoint(90, 50));
    QTest::keyClick(f.planning, Qt::Key_Escape);
    QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(90, 50));
    QCOMPARE(ou(), depart);
    QCOMPARE(ouvertures, 1);

    // Two days later, two lines down: the hours kept, the note in the journal.
    QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(30, 10));
    glisser(f.planning, QPoint(50, 30));
    glisser(f.planning, QPoint(71, 51));
    QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(71, 51));
    const QString vers = valeurSql(base,
                                   "select Numero || ' ' || Nom from OBJETS where not "
                                   "retire order by rowid limit 1 offset 2")
                             .toString();
    QCOMPARE(ou(), vers.section(' ', 0, 0) + " 2026-12-10 14:00:00 2026-12-13 10:00:00");
    const QString note
        = valeurSql(base, "select libelle from OPERATIONS order by rowid desc").toString();
    QCOMPARE(note,
             "Déplacement : Chambre 1 du 08/12/2026 au 11/12/2026 → " + vers.section(' ', 1)
                 + " du 10/12/2026 au 13/12/2026");

    QTest::keyClick(f.planning, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ou(), depart);
    QCOMPARE(valeurSql(base, "select libelle from OPERATIONS order by rowid desc").toString(),
             "Annulation : Déplacement : " + vers.section(' ', 1)
                 + " du 10/12/2026 au 13/12/2026 → Chambre 1 du 08/12/2026 au 11/12/2026");
    QTest::keyClick(f.planning, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(ou(), vers.section(' ', 0, 0) + " 2026-12-10 14:00:00 2026-12-13 10:00:00");

    // Changed by the dialog meanwhile: the undo stores nothing over it, and says so.
    QSqlQuery(base).exec(QString("update RESERVATIONS set DateFin = '2026-12-20 10:00:00' where "
                                 "NumeroReservation = %1")
                             .arg(numero));
    QTest::keyClick(f.planning, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(ou().endsWith("2026-12-20 10:00:00"));
    QVERIFY(BoiteMessage::messagesAffiches().last().startsWith("Ce séjour a été modifié"));

    // Its right end taken and pulled a day on: only the departure moves.
    f.datedepart = QDate(2026, 12, 10);
    f.afficherAPartirDe(2);
    f.rafraichir();
    const ReservationAffichee &barre = f.ReservationsAffichees.at(1);
    QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(barre.x2 - 1, barre.y1 + 5));
    glisser(f.planning, QPoint(barre.x2 + 19, barre.y1 + 5));
    QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(barre.x2 + 19, barre.y1 + 5));
    QVERIFY2(ou().endsWith("2026-12-10 14:00:00 2026-12-21 10:00:00"), qPrintable(ou()));
}

void TestForm1::unGesteQuiNePeutAboutirLaisseLeSejour()
{
    Form1 &f = *m_fenetre;
    const QSqlDatabase base = m_contexte->BasePlanning();
    ajouterSejour(premierObjet(), "Glisse", QDateTime(Aujourdhui, QTime(14, 0)),
                  QDateTime(Aujourdhui.addDays(3), QTime(10, 0)));
    const auto sejour = [&] {
        return valeurSql(base,
                         "select Objet || ' ' || DateDebut || ' ' || DateFin from "
                         "RESERVATIONS where nomclient = 'Glisse'")
            .toString();
    };
    const auto etat = [&] {
        return sejour() + valeurSql(base, "select count(*) from OPERATIONS").toString();
    };
    f.rafraichir();
    int ouvertures = 0;
    f.ouvrirReservation = [&](const ReservationAffichee &) {
        ++ouvertures;
    };
    const auto deplacerDe = [&](int jours, int x = 30) {
        QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(x, 10));
        glisser(f.planning, QPoint(x + 20 * jours, 10));
        QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(x + 20 * jours, 10));
    };

    // A read-only base: the French refusal, the bar back in its place, nothing half-stored.
    const QString avant = etat();
    const int gauche = f.ReservationsAffichees.at(1).x1;
    QSqlQuery(QStringLiteral("PRAGMA query_only = 1"), base).exec();
    deplacerDe(2);
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), base).exec();
    QCOMPARE(etat(), avant);
    QVERIFY(BoiteMessage::messagesAffiches().last().startsWith(
        "Le séjour n'a pas pu être enregistré : La base de données est en lecture seule"));
    QCOMPARE(f.ReservationsAffichees.at(1).x1, gauche);

    // A stay opened from elsewhere (the search's Enter) in the middle of a drag: the drag is
    // dropped, and the release that follows changes nothing.
    QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(30, 10));
    glisser(f.planning, QPoint(90, 10));
    f.ouvrirSejour(valeurSql(base, "select max(NumeroReservation) from RESERVATIONS").toInt());
    QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(90, 10));
    QCOMPARE(ouvertures, 1);
    QCOMPARE(etat(), avant);

    // Two drags in a row: both stored, and two Ctrl+Z bring the stay back.
    const QString depart = sejour();
    deplacerDe(1);
    deplacerDe(1, 50);
    QVERIFY2(sejour().contains("2026-12-10 14:00:00 2026-12-13 10:00:00"), qPrintable(sejour()));
    QTest::keyClick(f.planning, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(f.planning, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sejour(), depart);
}

void TestForm1::leTravailDUnAutrePosteSeVoitSansGener()
{
    Form1 &f = *m_fenetre;
    f.show();
    // Another desk: its own connection to the same file.
    QSqlDatabase autre = QSqlDatabase::addDatabase("QSQLITE", "autre_poste");
    autre.setDatabaseName(m_contexte->cheminBase);
    QVERIFY(autre.open());
    const auto clients = [&] {
        QStringList noms;
        for (int k = 1; k < f.ReservationsAffichees.size(); ++k)
            noms << f.ReservationsAffichees.at(k).nomclient;
        return noms;
    };
    const auto reserver = [&](const QString &client) {
        QVERIFY(QSqlQuery(autre).exec(
            QString("insert into RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat) "
                    "values ((select Numero from OBJETS limit 1 offset 3), '%1', "
                    "'2026-12-09 14:00:00', '2026-12-11 10:00:00', 1)")
                .arg(client)));
    };
    reserver("Poste2");
    QTRY_VERIFY_WITH_TIMEOUT(clients().contains("Poste2"), 2500);

    // A bar held here: the other desk's stay waits for the drag to end.
    ajouterSejour(premierObjet(), "Tenu", QDateTime(Aujourdhui, QTime(14, 0)),
                  QDateTime(Aujourdhui.addDays(3), QTime(10, 0)));
    f.rafraichir();
    QTest::mousePress(f.planning, Qt::LeftButton, {}, QPoint(30, 10));
    glisser(f.planning, QPoint(90, 10));
    reserver("Pendant");
    QTest::qWait(1500);
    QVERIFY(!clients().contains("Pendant"));
    QTest::keyClick(f.planning, Qt::Key_Escape);
    QTest::mouseRelease(f.planning, Qt::LeftButton, {}, QPoint(90, 10));
    QTRY_VERIFY_WITH_TIMEOUT(clients().contains("Pendant"), 1500);

    // The base held by the other desk: the planning keeps its picture, says so, tries again.
    fixerAttenteMaximale(100);
    QVERIFY(QSqlQuery(autre).exec("begin exclusive"));
    const QStringList avant = clients();
    f.rafraichir();
    QCOMPARE(clients(), avant);
    QVERIFY(f.baseOccupee->isVisible());
    QVERIFY(QSqlQuery(autre).exec("rollback"));
    QTRY_VERIFY_WITH_TIMEOUT(!f.baseOccupee->isVisible(), 3000);
    fixerAttenteMaximale(5000);
    autre.close();
    autre = QSqlDatabase();
    QSqlDatabase::removeDatabase("autre_poste");
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"

#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "planning/DessinPlanning.h"
#include "planning/SurfaceImage.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <cmath>
#include <memory>

namespace {

const QString Connexion = QStringLiteral("tst_dessinplanning");
// A Tuesday; the Saturday after it is column 4.
const QDate Mardi(2026, 12, 8);
constexpr int Jour = 20; // column width
constexpr int Ligne = 20; // row height

const QColor FondMois(0xFF, 0xFF, 0xC0);
const QColor FondEntetes(0xD4, 0xD0, 0xC8);
const QColor FondObjets(0x80, 0x80, 0xFF);
const QColor FondGrille(0xE0, 0xE0, 0xE0);
constexpr QRgb Grille = 0xFF808080;
constexpr QRgb Samedi = 0xFFC0C0C0;
constexpr QRgb Separateur = 0xFF888888;
constexpr QRgb Blanc = 0xFFFFFFFF;
constexpr QRgb Confirmee = 0xFF2E8C50; // state 2, stored as 0x00508C2E
constexpr QRgb Option = 0xFFD66F1C; // state 1, stored as 0x001C6FD6

QString texteDate(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime a(const QDate &jour, int heure = 0, int minute = 0)
{
    return QDateTime(jour, QTime(heure, minute));
}

} // namespace

class TestDessinPlanning : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void geometrie_data();
    void geometrie();
    void colonnes_data();
    void colonnes();
    void samediSeulOmbre();
    void moisAuPassage();
    void entetesEnFrancais();
    void barreEtSonNom();
    void champsRecopies_data();
    void champsRecopies();
    void sansObjets();
    void unObjetRetireNAPlusDeLigne();
    void reservationCourante_data();
    void reservationCourante();
    void sejourCommenceAvant();
    void deuxSejoursQuiSeChevauchentSeVoient();
    void seulesLesLignesVisiblesSontLues_data();
    void seulesLesLignesVisiblesSontLues();
    void borneInferieure_data();
    void borneInferieure();
    void historiqueSansEffet();
    void mauvaisesDonnees_data();
    void mauvaisesDonnees();
    void taillesExtremes_data();
    void taillesExtremes();

private:
    QSqlDatabase base() const { return QSqlDatabase::database(Connexion, false); }
    void objet(int numero, const QString &nom);
    qint32 reserver(int objet, const QVariant &debut, const QVariant &fin, const QVariant &etat,
                    const QString &client = QStringLiteral("Martin"));
    ResultatDessin dessiner(const QDate &datedepart, qint32 encours = 0);
    SurfacesPlanning surfaces()
    {
        return {m_lesmois.get(), m_TexteColonnes.get(), m_objets.get(), m_planning.get()};
    }
    void dimensionner(int largeur, int hauteur);

    QScopedPointer<QTemporaryDir> m_dossier;
    std::unique_ptr<SurfaceImage> m_lesmois, m_TexteColonnes, m_objets, m_planning;
};

void TestDessinPlanning::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestDessinPlanning::cleanupTestCase()
{
    Horloge::fixer(QDateTime());
}

void TestDessinPlanning::init()
{
    Horloge::fixer(a(Mardi, 9));
    m_dossier.reset(new QTemporaryDir);
    const QString chemin = m_dossier->filePath(QStringLiteral("planning.mdb"));
    QVERIFY(!creerBase(chemin, false).isValid());
    QVERIFY(!BaseDeDonnees::ouvrir(chemin, Connexion).isValid());
    QSqlQuery requete(base());
    QVERIFY(requete.exec(QStringLiteral("DELETE FROM OBJETS")));

    m_lesmois = std::make_unique<SurfaceImage>(FondMois);
    m_TexteColonnes = std::make_unique<SurfaceImage>(FondEntetes);
    m_objets = std::make_unique<SurfaceImage>(FondObjets);
    m_planning = std::make_unique<SurfaceImage>(FondGrille, QColor(0xC0, 0xC0, 0xC0));
    dimensionner(600, 200);
}

void TestDessinPlanning::cleanup()
{
    BaseDeDonnees::fermer(Connexion);
    m_dossier.reset();
}

void TestDessinPlanning::dimensionner(int largeur, int hauteur)
{
    m_lesmois->redimensionner(largeur, 25);
    m_TexteColonnes->redimensionner(largeur, 41);
    m_objets->redimensionner(153, hauteur);
    m_planning->redimensionner(largeur, hauteur);
}

void TestDessinPlanning::objet(int numero, const QString &nom)
{
    QSqlQuery requete(base());
    requete.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (?, ?)"));
    requete.addBindValue(numero);
    requete.addBindValue(nom);
    QVERIFY2(requete.exec(), qPrintable(requete.lastError().text()));
}

qint32 TestDessinPlanning::reserver(int objet, const QVariant &debut, const QVariant &fin,
                                    const QVariant &etat, const QString &client)
{
    const auto date = [](const QVariant &valeur) {
        return valeur.typeId() == QMetaType::QDateTime ? QVariant(texteDate(valeur.toDateTime()))
                                                       : valeur;
    };
    QSqlQuery requete(base());
    requete.prepare(QStringLiteral(
        "INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat, arrhes, "
        "datelimite, nbadultes, nbenfants, remarque, telephone, email) "
        "VALUES (?, ?, ?, ?, ?, 150.5, '2026-11-30 00:00:00', 2, 1, 'Lit bébé ', "
        "'06 12 34 56 78 ', 'martin@exemple.fr ')"));
    requete.addBindValue(objet);
    requete.addBindValue(client);
    requete.addBindValue(date(debut));
    requete.addBindValue(date(fin));
    requete.addBindValue(etat);
    if (!requete.exec())
        return -1;
    return requete.lastInsertId().toInt();
}

ResultatDessin TestDessinPlanning::dessiner(const QDate &datedepart, qint32 encours)
{
    VuePlanning vue;
    vue.datedepart = datedepart;
    vue.largeurjour = Jour;
    vue.hauteurligne = Ligne;
    vue.reservation_encours = encours;
    return dessinerPlanning(surfaces(), base(), vue);
}

void TestDessinPlanning::geometrie_data()
{
    QTest::addColumn<QDateTime>("debut");
    QTest::addColumn<QDateTime>("fin");
    QTest::addColumn<int>("x1");
    QTest::addColumn<int>("x2");

    QTest::newRow("Three nights from the first day at midnight span three columns less 2 px")
        << a(Mardi) << a(Mardi.addDays(3)) << 2 << 58;
    QTest::newRow("A noon arrival starts half a column in")
        << a(Mardi, 12) << a(Mardi.addDays(1), 12) << 12 << 28;
    QTest::newRow("An arrival at 3:00 is 4.5 px in, rounded to the even 4")
        << a(Mardi, 3) << a(Mardi.addDays(1), 3) << 4 << 20;
    QTest::newRow("An arrival at 9:00 is 9.5 px in, rounded to the even 10")
        << a(Mardi, 9) << a(Mardi.addDays(1), 9) << 10 << 26;
    QTest::newRow("A departure at 2:24 on the first day ends right on the grid's left edge")
        << a(Mardi.addDays(-1)) << a(Mardi, 2, 24) << -18 << 0;
    QTest::newRow("A departure at 15:00 ends 10.5 px in, rounded to the even 10")
        << a(Mardi) << a(Mardi, 15) << 2 << 10;
    QTest::newRow("A stay that began two days before has a negative start")
        << a(Mardi.addDays(-2)) << a(Mardi.addDays(1)) << -38 << 18;
    QTest::newRow("A departure before the arrival gives an end before the start")
        << a(Mardi.addDays(3)) << a(Mardi.addDays(1)) << 62 << 18;
    QTest::newRow("A missing arrival leaves its x at 0")
        << QDateTime() << a(Mardi.addDays(2)) << 0 << 38;
    QTest::newRow("A missing departure leaves its x at 0")
        << a(Mardi.addDays(2)) << QDateTime() << 42 << 0;
    QTest::newRow("A stay from 1900 to 2100 keeps its true pixels")
        << a(QDate(1900, 1, 1)) << a(QDate(2100, 1, 1)) << -46362 * 20 + 2 << 26687 * 20 - 2;
    QTest::newRow("Dates millions of years off stay on their side, within half the int range")
        << a(QDate(-3000000, 1, 1)) << a(QDate(3000000, 1, 1)) << -(1 << 30) << (1 << 30);
}

void TestDessinPlanning::geometrie()
{
    QFETCH(QDateTime, debut);
    QFETCH(QDateTime, fin);
    QFETCH(int, x1);
    QFETCH(int, x2);
    ReservationAffichee barre;
    barre.DateDebut = debut;
    barre.DateFin = fin;
    calculerBarre(barre, Mardi, Jour, 60, Ligne);
    QCOMPARE(barre.x1, x1);
    QCOMPARE(barre.x2, x2);
    QCOMPARE(barre.y1, 62);
    QCOMPARE(barre.y2, 78);
    QCOMPARE(barre.ligne, 60);
}

void TestDessinPlanning::colonnes_data()
{
    QTest::addColumn<int>("largeur");
    QTest::addColumn<int>("jours");

    QTest::newRow("A grid 600 px wide shows 31 columns, both ends included") << 600 << 31;
    QTest::newRow("One pixel less loses the column at its right edge") << 599 << 30;
    QTest::newRow("A grid of one pixel still has the first day") << 1 << 1;
    QTest::newRow("A grid 4000 px wide shows 201 columns") << 4000 << 201;
}

void TestDessinPlanning::colonnes()
{
    QFETCH(int, largeur);
    QFETCH(int, jours);
    dimensionner(largeur, 60);
    objet(1, QStringLiteral("Chambre 1"));
    // One stay starts late on the last day shown, the other on the first day not shown.
    const qint32 dernier
        = reserver(1, a(Mardi.addDays(jours - 1), 23), a(Mardi.addDays(jours + 2)), 2);
    reserver(1, a(Mardi.addDays(jours)), a(Mardi.addDays(jours + 2)), 2);

    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.nombreDeJours, jours);
    QCOMPARE(dessin.barres.size(), 2);
    QCOMPARE(dessin.barres[1].NumeroReservation, dernier);

    // A grey line at every column, on the grid and on the headings.
    const QImage &grille = m_planning->image();
    const QImage &entetes = m_TexteColonnes->image();
    for (int j = 0; j < jours && j * Jour < largeur; ++j) {
        QCOMPARE(grille.pixel(j * Jour, 45), Grille);
        QCOMPARE(entetes.pixel(j * Jour, 40), Grille);
    }
    if (largeur > Jour)
        QVERIFY(grille.pixel(Jour + 5, 45) != Grille);
}

void TestDessinPlanning::samediSeulOmbre()
{
    objet(1, QStringLiteral("Chambre 1"));
    dessiner(Mardi);
    const QImage &grille = m_planning->image();
    // Tuesday 8 is column 0, so Saturday 12 is column 4 and Sunday 13 column 5.
    for (int y : {1, 10, 100, 199}) {
        QCOMPARE(grille.pixel(4 * Jour + 1, y), Samedi);
        QCOMPARE(grille.pixel(4 * Jour + 19, y), Samedi);
        QCOMPARE(grille.pixel(5 * Jour + 1, y), FondGrille.rgb());
        QCOMPARE(grille.pixel(3 * Jour + 19, y), FondGrille.rgb());
        // The next Saturday too, a week on.
        QCOMPARE(grille.pixel(11 * Jour + 10, y), Samedi);
    }
    // Lines cross the shading.
    QCOMPARE(grille.pixel(4 * Jour, 100), Grille);
    QCOMPARE(grille.pixel(5 * Jour, 100), Grille);
}

void TestDessinPlanning::moisAuPassage()
{
    // From Sunday 20 December 2026: 1 January is column 12, at x = 240; 31 columns, so the loop
    // ends at x = 620.
    dessiner(QDate(2026, 12, 20));
    const QImage &mois = m_lesmois->image();
    for (int y = 0; y < 25; ++y)
        QCOMPARE(mois.pixel(240, y), Separateur);
    QCOMPARE(mois.pixel(0, 2), FondMois.rgb());
    QCOMPARE(mois.pixel(220, 2), FondMois.rgb());

    // Each label, in French and in lower case as the locale writes it, is centred over its
    // columns: the first from 0 to 240, the last from 240 to just past the last column.
    SurfaceImage temoin(FondMois, m_lesmois->couleurTexte);
    temoin.redimensionner(600, 25);
    for (const auto &[libelle, debut, fin] :
         {std::tuple {QStringLiteral("décembre 2026"), 0, 240},
          std::tuple {QStringLiteral("janvier 2027"), 240, 620}}) {
        // Halves to even, as every coordinate of the redraw.
        const double gauche = debut + (fin - debut) / 2.0 - temoin.largeurTexte(libelle) / 2.0;
        temoin.positionX = int(std::nearbyint(gauche));
        temoin.positionY = int(std::nearbyint((25 - temoin.hauteurTexte(libelle)) / 2.0));
        temoin.imprimer(libelle);
    }
    temoin.ligne(240, 0, 240, 25, QColor::fromRgb(Separateur));
    QCOMPARE(mois, temoin.image());
}

void TestDessinPlanning::entetesEnFrancais()
{
    dimensionner(60, 40);
    dessiner(Mardi);
    // Weekday as the French locale abbreviates it, then the two-digit day on the next line.
    SurfaceImage temoin(FondEntetes, m_TexteColonnes->couleurTexte);
    temoin.redimensionner(60, 41);
    const QStringList courts = {QStringLiteral("mar."), QStringLiteral("mer."),
                                QStringLiteral("jeu."), QStringLiteral("ven.")};
    const QStringList jours
        = {QStringLiteral("08"), QStringLiteral("09"), QStringLiteral("10"), QStringLiteral("11")};
    for (int j = 0; j < 4; ++j) {
        temoin.ligne(j * Jour, 0, j * Jour, 41, QColor::fromRgb(Grille));
        temoin.positionX = j * Jour;
        temoin.positionY = 0;
        temoin.imprimer(courts[j]);
        temoin.positionX = j * Jour;
        temoin.imprimer(jours[j]);
    }
    QCOMPARE(m_TexteColonnes->image(), temoin.image());
}

void TestDessinPlanning::barreEtSonNom()
{
    objet(1, QStringLiteral("Chambre 1"));
    objet(2, QStringLiteral("Chambre 2"));
    reserver(2, a(Mardi), a(Mardi.addDays(3)), 2, QStringLiteral("Beauregard-Lefèvre"));
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size(), 2);
    QCOMPARE(m_planning->couleurTexte, QColor(Qt::white));

    // Row 2 starts at y = 20: the bar covers x 2..58, y 22..38 in the state's colour.
    const QImage &grille = m_planning->image();
    QCOMPARE(grille.pixel(2, 22), Confirmee);
    QCOMPARE(grille.pixel(58, 38), Confirmee);
    QCOMPARE(grille.pixel(1, 30), FondGrille.rgb());
    QCOMPARE(grille.pixel(59, 30), FondGrille.rgb());
    QCOMPARE(grille.pixel(30, 21), FondGrille.rgb());
    QCOMPARE(grille.pixel(30, 39), FondGrille.rgb());
    // The row lines.
    QCOMPARE(grille.pixel(30, 20), Grille);
    QCOMPARE(grille.pixel(30, 40), Grille);

    // The name is written in white inside the bar and cut at its right edge.
    int blancs = 0;
    for (int y = 0; y < grille.height(); ++y) {
        for (int x = 0; x < grille.width(); ++x) {
            if (grille.pixel(x, y) != Blanc)
                continue;
            ++blancs;
            QVERIFY2(x >= 2 && x < 58 && y >= 22 && y < 38,
                     qPrintable(QStringLiteral("white at %1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(blancs > 20);
    // The name is longer than the bar, so the text runs up to its end.
    bool jusquAuBout = false;
    for (int y = 22; y < 38; ++y) {
        for (int x = 50; x < 58; ++x)
            jusquAuBout |= grille.pixel(x, y) == Blanc;
    }
    QVERIFY(jusquAuBout);
    // ... and centred in the bar's height: the same pixels as the name written from the middle.
    const QString nom = QStringLiteral("Beauregard-Lefèvre");
    SurfaceImage auMilieu(QColor::fromRgb(Confirmee), Qt::white);
    auMilieu.redimensionner(grille.width(), grille.height());
    const int hauteur = m_planning->hauteurTexte(nom);
    const int haut = 22 + int(std::nearbyint((38 - 22) / 2.0 - hauteur / 2.0));
    auMilieu.ecrireDans(QRect(QPoint(2, haut), QPoint(57, std::min(haut + hauteur, 38) - 1)), nom);
    for (int y = 22; y < 38; ++y) {
        for (int x = 2; x < 58; ++x)
            QCOMPARE(grille.pixel(x, y) == Blanc, auMilieu.image().pixel(x, y) == Blanc);
    }

    // The object names, one per row.
    const QImage &noms = m_objets->image();
    QCOMPARE(noms.pixel(100, 0), Grille);
    QCOMPARE(noms.pixel(100, 20), Grille);
    QCOMPARE(noms.pixel(100, 40), Grille);
    QVERIFY(noms.pixel(100, 60) != Grille);
}

void TestDessinPlanning::champsRecopies_data()
{
    QTest::addColumn<QVariant>("etat");
    QTest::addColumn<QString>("libelleetat");
    QTest::addColumn<qint32>("couleur");

    QTest::newRow("A known state gives its label and colour")
        << QVariant(2) << QStringLiteral("2 - Confirmée") << qint32(0x00508C2E);
    QTest::newRow("A state missing from ETATS leaves the label empty and the colour black")
        << QVariant(99) << QString() << qint32(0);
    QTest::newRow("A Null state leaves the label empty and the colour black")
        << QVariant(QMetaType::fromType<int>()) << QString() << qint32(0);
}

void TestDessinPlanning::champsRecopies()
{
    QFETCH(QVariant, etat);
    QFETCH(QString, libelleetat);
    QFETCH(qint32, couleur);
    objet(7, QStringLiteral("Chalet"));
    const qint32 numero
        = reserver(7, a(Mardi.addDays(1), 14), a(Mardi.addDays(4), 12), etat, "Dupont");
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size(), 2);
    const ReservationAffichee &barre = dessin.barres[1];
    QCOMPARE(barre.NumeroReservation, numero);
    QCOMPARE(barre.objet, 7);
    QCOMPARE(barre.nomclient, QStringLiteral("Dupont"));
    QCOMPARE(barre.DateDebut, a(Mardi.addDays(1), 14));
    QCOMPARE(barre.DateFin, a(Mardi.addDays(4), 12));
    QCOMPARE(barre.libelleetat, libelleetat);
    QCOMPARE(barre.arrhes, 150.5);
    QCOMPARE(barre.datelimite, a(QDate(2026, 11, 30)));
    QCOMPARE(barre.nbadultes, qint16(2));
    QCOMPARE(barre.nbenfants, qint16(1));
    QCOMPARE(barre.remarque, QStringLiteral("Lit bébé "));
    QCOMPARE(barre.telephone, QStringLiteral("06 12 34 56 78 "));
    QCOMPARE(barre.email, QStringLiteral("martin@exemple.fr "));
    QCOMPARE(barre.couleur, couleur);
    QCOMPARE(barre.ligne, 0);
    QCOMPARE(barre.x1, 34); // 1 day 14 h = 33.67 px + 2
    QCOMPARE(barre.x2, 88);
    QCOMPARE(m_planning->image().pixel(86, 3), couleur ? Confirmee : 0xFF000000);
}

void TestDessinPlanning::unObjetRetireNAPlusDeLigne()
{
    objet(1, QStringLiteral("A"));
    objet(2, QStringLiteral("B"));
    objet(3, QStringLiteral("C"));
    QVERIFY(
        QSqlQuery(base()).exec(QStringLiteral("UPDATE OBJETS SET retire = 1 WHERE Numero = 2")));
    for (int numero = 1; numero <= 3; ++numero)
        reserver(numero, a(Mardi), a(Mardi.addDays(2)), 2, QStringLiteral("Client %1").arg(numero));

    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size(), 3); // index 0, then A's and C's
    QCOMPARE(dessin.barres[1].nomclient, QStringLiteral("Client 1"));
    QCOMPARE(dessin.barres[2].nomclient, QStringLiteral("Client 3"));
    QCOMPARE(dessin.barres[2].y1, Ligne + 2); // C takes the line B had
}

void TestDessinPlanning::sansObjets()
{
    reserver(1, a(Mardi), a(Mardi.addDays(3)), 2); // a stay whose line is gone
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size(), 1); // index 0 only
    QCOMPARE(dessin.reservation_courante, 0);
    QCOMPARE(dessin.nombreDeJours, 31);

    const QImage &grille = m_planning->image();
    const QImage &noms = m_objets->image();
    for (int x = 0; x < 600; x += 7)
        QCOMPARE(grille.pixel(x, 0), Grille);
    for (int x = 0; x < 153; x += 7)
        QCOMPARE(noms.pixel(x, 0), Grille);
    // Nothing below the top line but the day columns and the Saturday shading.
    for (int y = 1; y < 200; ++y) {
        QCOMPARE(grille.pixel(10, y), FondGrille.rgb());
        QCOMPARE(grille.pixel(4 * Jour + 10, y), Samedi);
        for (int x = 0; x < 153; x += 19)
            QCOMPARE(noms.pixel(x, y), FondObjets.rgb());
    }
    // The headings are there.
    SurfaceImage vide(FondEntetes);
    vide.redimensionner(600, 41);
    QVERIFY(m_TexteColonnes->image() != vide.image());
}

void TestDessinPlanning::reservationCourante_data()
{
    QTest::addColumn<int>("cherchee"); // 0 none, else 1-based order of the stay to highlight
    QTest::addColumn<int>("indice");

    QTest::newRow("The highlighted reservation's bar is found by its index") << 2 << 2;
    QTest::newRow("The first bar is index 1, never 0") << 1 << 1;
    QTest::newRow("A reservation without a drawn bar leaves 0") << -1 << 0;
}

void TestDessinPlanning::reservationCourante()
{
    QFETCH(int, cherchee);
    QFETCH(int, indice);
    objet(1, QStringLiteral("Chambre 1"));
    objet(2, QStringLiteral("Chambre 2"));
    const qint32 premier = reserver(1, a(Mardi), a(Mardi.addDays(2)), 2);
    const qint32 second = reserver(2, a(Mardi.addDays(4)), a(Mardi.addDays(6)), 1);
    const qint32 passe = reserver(2, a(Mardi.addDays(-30)), a(Mardi.addDays(-20)), 1);
    const qint32 encours = cherchee == 1 ? premier : cherchee == 2 ? second : passe;
    const ResultatDessin dessin = dessiner(Mardi, encours);
    QCOMPARE(dessin.reservation_courante, indice);
    if (indice)
        QCOMPARE(dessin.barres[indice].NumeroReservation, encours);
}

void TestDessinPlanning::sejourCommenceAvant()
{
    const QString nom = QStringLiteral("Garcia-Fernández de la Vega");
    objet(1, QStringLiteral("Chambre 1"));
    reserver(1, a(Mardi.addDays(-2)), a(Mardi.addDays(2)), 2, nom);
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size(), 2);
    QCOMPARE(dessin.barres[1].x1, -38);
    QCOMPARE(dessin.barres[1].x2, 38);

    // The bar starts at the grid's left edge and ends at 38.
    const QImage &grille = m_planning->image();
    for (int y = 2; y <= 18; ++y) {
        QVERIFY(grille.pixel(0, y) == Confirmee || grille.pixel(0, y) == Blanc);
        QCOMPARE(grille.pixel(39, y), FondGrille.rgb());
    }
    // What shows of the name is its middle, 38 px in, not its start moved to the edge: the
    // same name drawn from the edge looks otherwise.
    SurfaceImage depuisLeBord(FondGrille, Qt::white);
    depuisLeBord.redimensionner(600, 200);
    depuisLeBord.ecrireDans(QRect(QPoint(0, 4), QPoint(37, 16)), nom);
    int blancs = 0, communs = 0;
    for (int y = 2; y < 18; ++y) {
        for (int x = 0; x < 38; ++x) {
            const bool blanc = grille.pixel(x, y) == Blanc;
            blancs += blanc;
            communs += blanc && depuisLeBord.image().pixel(x, y) == Blanc;
        }
    }
    QVERIFY(blancs > 10);
    QVERIFY(communs < blancs);
}

void TestDessinPlanning::deuxSejoursQuiSeChevauchentSeVoient()
{
    // Row 1: a confirmed stay D..D+4 (x 2..78), an option D+2..D+6 (x 42..118) drawn after it;
    // row 2 the same stays one after the other, drawn as always.
    objet(1, QStringLiteral("Emplacement 1"));
    objet(2, QStringLiteral("Emplacement 2"));
    reserver(1, a(Mardi), a(Mardi.addDays(4)), 2, QStringLiteral(" "));
    reserver(1, a(Mardi.addDays(2)), a(Mardi.addDays(6)), 1, QStringLiteral(" "));
    reserver(2, a(Mardi), a(Mardi.addDays(2)), 2, QStringLiteral(" "));
    reserver(2, a(Mardi.addDays(2)), a(Mardi.addDays(6)), 1, QStringLiteral(" "));
    dessiner(Mardi);
    const QImage &grille = m_planning->image();
    QCOMPARE(grille.pixel(20, 10), Confirmee); // the first alone
    QCOMPARE(grille.pixel(60, 6), Confirmee); // shared: the upper half is the first's
    QCOMPARE(grille.pixel(60, 14), Option); // and the lower half the second's
    QCOMPARE(grille.pixel(100, 6), Option); // the second alone
    const QRgb rouge = qRgb(255, 0, 0);
    QCOMPARE(grille.pixel(60, 2), rouge);
    QCOMPARE(grille.pixel(60, 18), rouge);
    QCOMPARE(grille.pixel(42, 10), rouge);
    QCOMPARE(grille.pixel(78, 10), rouge);
    // Touching stays share nothing: no red, full bars.
    for (int x = 0; x < 140; ++x)
        QVERIFY(grille.pixel(x, 22) != rouge && grille.pixel(x, 38) != rouge);
    QCOMPARE(grille.pixel(60, 24), Option);
}

void TestDessinPlanning::seulesLesLignesVisiblesSontLues_data()
{
    QTest::addColumn<int>("premiere"); // asked for
    QTest::addColumn<int>("objetAMontrer");
    QTest::addColumn<int>("premiereDessinee");
    QTest::addColumn<QList<int>>("objets"); // of the bars drawn, top first

    QTest::newRow("The top: two lines and a bit show") << 0 << 0 << 0 << QList<int> {1, 2, 3};
    QTest::newRow("Further down") << 2 << 0 << 2 << QList<int> {3, 4, 5};
    QTest::newRow("Past the end the last line sits at the bottom")
        << 9 << 0 << 3 << QList<int> {4, 5};
    QTest::newRow("Before the start is the top") << -4 << 0 << 0 << QList<int> {1, 2, 3};
    QTest::newRow("An object below comes up to the bottom") << 0 << 4 << 2 << QList<int> {3, 4, 5};
    QTest::newRow("An object above comes down to the top") << 3 << 2 << 1 << QList<int> {2, 3, 4};
    QTest::newRow("An object in view leaves the lines alone")
        << 1 << 2 << 1 << QList<int> {2, 3, 4};
}

void TestDessinPlanning::seulesLesLignesVisiblesSontLues()
{
    QFETCH(int, premiere);
    QFETCH(int, objetAMontrer);
    QFETCH(int, premiereDessinee);
    QFETCH(QList<int>, objets);
    dimensionner(600, 45); // two lines and a bit
    for (int numero = 1; numero <= 5; ++numero) {
        objet(numero, QStringLiteral("Emplacement %1").arg(numero));
        reserver(numero, a(Mardi.addDays(numero)), a(Mardi.addDays(numero + 2)), 2);
    }
    VuePlanning vue;
    vue.datedepart = Mardi;
    vue.largeurjour = Jour;
    vue.hauteurligne = Ligne;
    vue.premiereLigne = premiere;
    vue.objetAMontrer = objetAMontrer;
    const ResultatDessin dessin = dessinerPlanning(surfaces(), base(), vue);
    QCOMPARE(dessin.nombreDeLignes, 5);
    QCOMPARE(dessin.premiereLigne, premiereDessinee);
    QCOMPARE(dessin.objetMontre, objetAMontrer != 0);
    QList<int> dessines;
    for (int i = 1; i < dessin.barres.size(); ++i) {
        dessines << dessin.barres[i].objet;
        QCOMPARE(dessin.barres[i].y1, (i - 1) * Ligne + 2);
    }
    QCOMPARE(dessines, objets);
    QCOMPARE(dessin.numerosDesLignes, QVector<qint32>(objets.cbegin(), objets.cend()));
}

void TestDessinPlanning::borneInferieure_data()
{
    QTest::addColumn<QVariant>("debut");
    QTest::addColumn<QVariant>("fin");
    QTest::addColumn<bool>("chargee");

    const QVariant nulle(QMetaType::fromType<QString>());
    QTest::newRow("A stay that ended years ago is not read")
        << QVariant(a(QDate(2017, 7, 1), 14)) << QVariant(a(QDate(2017, 7, 8), 12)) << false;
    QTest::newRow("A stay that ended two days before is not read")
        << QVariant(a(Mardi.addDays(-6), 14)) << QVariant(a(Mardi.addDays(-2), 12)) << false;
    QTest::newRow("A stay that ends on the first day is read")
        << QVariant(a(Mardi.addDays(-3), 14)) << QVariant(a(Mardi, 12)) << true;
    QTest::newRow("A stay leaving the morning before is read though it shows nothing")
        << QVariant(a(Mardi.addDays(-3), 14)) << QVariant(a(Mardi.addDays(-1), 10)) << true;
    QTest::newRow("A stay without departure that began years ago still shows at column 0")
        << QVariant(a(QDate(2016, 3, 1), 14)) << nulle << true;
    QTest::newRow("A departure typed before an arrival three hours before the first day shows")
        << QVariant(a(Mardi.addDays(-1), 21)) << QVariant(a(Mardi.addDays(-4), 12)) << true;
    QTest::newRow("A departure typed before an arrival days before shows nothing, is not read")
        << QVariant(a(Mardi.addDays(-3), 14)) << QVariant(a(Mardi.addDays(-5), 12)) << false;
    QTest::newRow("A stay of years that goes on past the first day is read")
        << QVariant(a(QDate(2001, 1, 1))) << QVariant(a(QDate(2040, 1, 1))) << true;
    QTest::newRow("A stay without arrival is never read, as before")
        << nulle << QVariant(a(Mardi.addDays(3))) << false;
}

void TestDessinPlanning::borneInferieure()
{
    QFETCH(QVariant, debut);
    QFETCH(QVariant, fin);
    QFETCH(bool, chargee);
    objet(1, QStringLiteral("Chambre 1"));
    reserver(1, debut, fin, 2);
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size() - 1, chargee ? 1 : 0);

    // Whatever the store leaves out never shows: the same stay's bar, computed as the redraw
    // would, lies wholly left of the grid.
    ReservationAffichee barre;
    barre.DateDebut = debut.toDateTime();
    barre.DateFin = fin.toDateTime();
    calculerBarre(barre, Mardi, Jour, 0, Ligne);
    const bool visible = std::max(barre.x1, barre.x2) >= 0 && barre.DateDebut.isValid();
    if (visible)
        QVERIFY2(chargee, "a bar that would show must be read");
    // And the grid shows the bar exactly when one was read and reaches column 0 or beyond.
    QCOMPARE(m_planning->image().pixel(0, 10) == Confirmee, visible);
}

void TestDessinPlanning::historiqueSansEffet()
{
    // The same period drawn from a database with ten years of history and from one without:
    // every surface is identical, and none of the past stays is read.
    const auto remplir = [this](bool historique) {
        for (int numero = 1; numero <= 4; ++numero)
            objet(numero, QStringLiteral("Chambre %1").arg(numero));
        if (historique) {
            QSqlDatabase connexion = base();
            connexion.transaction();
            for (int jour = 0; jour < 3650; jour += 9) {
                const QDate arrivee = Mardi.addDays(-3700 + jour);
                reserver(1 + jour % 4, a(arrivee, 14), a(arrivee.addDays(5), 12), 1 + jour % 5);
            }
            connexion.commit();
        }
        reserver(1, a(Mardi.addDays(-2), 14), a(Mardi.addDays(2), 12), 2);
        reserver(2, a(Mardi.addDays(5), 14), a(Mardi.addDays(12), 12), 3);
        reserver(3, a(QDate(2019, 1, 1), 14), QVariant(QMetaType::fromType<QString>()), 4);
        reserver(4, a(Mardi, 1), a(Mardi.addDays(-3), 12), 1);
    };
    remplir(true);
    const ResultatDessin avec = dessiner(Mardi);
    const QImage grille = m_planning->image(), noms = m_objets->image(),
                 entetes = m_TexteColonnes->image(), mois = m_lesmois->image();

    QSqlQuery requete(base());
    QVERIFY(requete.exec(QStringLiteral("DELETE FROM RESERVATIONS")));
    QVERIFY(requete.exec(QStringLiteral("DELETE FROM OBJETS")));
    remplir(false);
    const ResultatDessin sans = dessiner(Mardi);

    QCOMPARE(avec.barres.size(), 5);
    QCOMPARE(sans.barres.size(), 5);
    QCOMPARE(m_planning->image(), grille);
    QCOMPARE(m_objets->image(), noms);
    QCOMPARE(m_TexteColonnes->image(), entetes);
    QCOMPARE(m_lesmois->image(), mois);
    for (int i = 1; i < 5; ++i) {
        QCOMPARE(avec.barres[i].x1, sans.barres[i].x1);
        QCOMPARE(avec.barres[i].x2, sans.barres[i].x2);
    }
}

void TestDessinPlanning::mauvaisesDonnees_data()
{
    QTest::addColumn<QVariant>("debut");
    QTest::addColumn<QVariant>("fin");
    QTest::addColumn<QVariant>("etat");
    QTest::addColumn<QString>("client");
    QTest::addColumn<int>("barres");

    const QVariant nulle(QMetaType::fromType<QString>());
    const QVariant arrivee(a(Mardi.addDays(1), 14));
    const QVariant depart(a(Mardi.addDays(4), 12));
    QTest::newRow("A Null arrival draws no bar")
        << nulle << depart << QVariant(2) << QStringLiteral("Martin") << 0;
    QTest::newRow("A Null departure draws back to the first column")
        << arrivee << nulle << QVariant(2) << QStringLiteral("Martin") << 1;
    QTest::newRow("A Null state draws a black bar")
        << arrivee << depart << QVariant(QMetaType::fromType<int>()) << QStringLiteral("Martin")
        << 1;
    QTest::newRow("A state missing from ETATS draws a black bar")
        << arrivee << depart << QVariant(42) << QStringLiteral("Martin") << 1;
    QTest::newRow("A departure before the arrival fills the span between")
        << QVariant(a(Mardi.addDays(5), 14)) << arrivee << QVariant(2) << QStringLiteral("Martin")
        << 1;
    QTest::newRow("A stay of years fills its whole row")
        << QVariant(a(QDate(1990, 1, 1))) << QVariant(a(QDate(2090, 1, 1))) << QVariant(2)
        << QStringLiteral("Martin") << 1;
    QTest::newRow("A client name of five thousand letters stays in its bar")
        << arrivee << depart << QVariant(2) << QString(5000, u'W') << 1;
    QTest::newRow("A client name with emoji stays in its bar")
        << arrivee << depart << QVariant(2)
        << QStringLiteral("👨‍👩‍👧‍👦 Famille Nguyễn 🏖️🏖️🏖️🏖️")
        << 1;
    QTest::newRow("A date that is not a date is read as missing")
        << arrivee << QVariant(QStringLiteral("bientôt")) << QVariant(2) << QStringLiteral("Martin")
        << 1;
}

void TestDessinPlanning::mauvaisesDonnees()
{
    QFETCH(QVariant, debut);
    QFETCH(QVariant, fin);
    QFETCH(QVariant, etat);
    QFETCH(QString, client);
    QFETCH(int, barres);
    objet(1, QStringLiteral("Chambre 1"));
    objet(2, client); // the name column too
    reserver(2, debut, fin, etat, client);
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.barres.size() - 1, barres);

    // White is the bars' text only: none outside the rectangle of a bar.
    const QImage &grille = m_planning->image();
    for (int y = 0; y < grille.height(); ++y) {
        for (int x = 0; x < grille.width(); ++x) {
            if (grille.pixel(x, y) != Blanc)
                continue;
            bool dansUneBarre = false;
            for (int i = 1; i < dessin.barres.size(); ++i) {
                const ReservationAffichee &b = dessin.barres[i];
                dansUneBarre |= x >= std::min(b.x1, b.x2) && x < std::max(b.x1, b.x2) && y >= b.y1
                    && y < b.y2;
            }
            QVERIFY2(dansUneBarre, qPrintable(QStringLiteral("white at %1,%2").arg(x).arg(y)));
        }
    }
    if (barres) {
        const ReservationAffichee &b = dessin.barres[1];
        QCOMPARE(b.ligne, Ligne);
        // The bar's colour shows where it lies on the grid.
        const int milieu = std::clamp((qint64(b.x1) + b.x2) / 2, qint64(0), qint64(599));
        const QRgb pixel = grille.pixel(int(milieu), 30);
        QVERIFY(pixel != FondGrille.rgb());
    }
}

void TestDessinPlanning::taillesExtremes_data()
{
    QTest::addColumn<int>("largeur");
    QTest::addColumn<int>("hauteur");
    QTest::addColumn<int>("jours");

    QTest::newRow("A window of one pixel redraws") << 1 << 1 << 1;
    QTest::newRow("A window 4000 pixels wide redraws") << 4000 << 300 << 201;
}

void TestDessinPlanning::taillesExtremes()
{
    QFETCH(int, largeur);
    QFETCH(int, hauteur);
    QFETCH(int, jours);
    dimensionner(largeur, hauteur);
    objet(1, QStringLiteral("Chambre 1"));
    reserver(1, a(Mardi.addDays(-400)), a(Mardi.addDays(400)), 2, QStringLiteral("Martin"));
    const ResultatDessin dessin = dessiner(Mardi);
    QCOMPARE(dessin.nombreDeJours, jours);
    QCOMPARE(dessin.barres.size(), 2);
    QCOMPARE(m_planning->image().size(), QSize(largeur, hauteur));
}

QTEST_MAIN(TestDessinPlanning)
#include "tst_dessinplanning.moc"

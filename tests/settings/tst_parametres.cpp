#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "controls/BarreSeparatrice.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Couleurs.h"
#include "planning/Form1.h"
#include "planning/SurfaceDessin.h"
#include "settings/EditionEtat.h"
#include "settings/parametres.h"
#include "web/PublicationWeb.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

// The settings dialog's states: colours, web and occupation flags, each stored at once; states
// added, renamed and removed.
class TestParametres : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.ouvrir()); }
    void cleanup() { m_base.fermer(); }

    void uneLigneParEtat();
    void changerCouleur_data();
    void changerCouleur();
    void caseInternet();
    void sansEtat();
    void couleursIllisibles_data();
    void couleursIllisibles();
    void cinquanteEtatsRestentAtteignables();
    void baseEnLectureSeule_data();
    void baseEnLectureSeule();
    void laCouleurRedessineLePlanning();
    void laPublicationSuitLaCaseInternet();
    void laBarreDesObjetsGardeSaPlace();
    void ajouterUnEtat_data();
    void ajouterUnEtat();
    void renommerUnEtat();
    void supprimerUnEtat_data();
    void supprimerUnEtat();
    void caseOccupe();

private:
    // The state dialog the row's or the tab's button opened.
    static EditionEtat *edition(const parametres &dialogue)
    {
        EditionEtat *ouverte = dialogue.findChild<EditionEtat *>();
        return ouverte && ouverte->isVisible() ? ouverte : nullptr;
    }
    QString etats() const
    {
        return m_base
            .valeur("select group_concat(Code || '|' || Nom || '|' || CouleurPrincipale || '|' "
                    "|| surinternet || '|' || occupe, ';') from (select * from ETATS order by "
                    "rowid)")
            .toString();
    }

    // The dialog's row of the state `code`, or the number of rows when it has none.
    static int ligneDeLEtat(const parametres &dialogue, int code);

    BaseDemo m_base;
};

int TestParametres::ligneDeLEtat(const parametres &dialogue, int code)
{
    return int(std::find_if(dialogue.fondetats.begin(), dialogue.fondetats.end(),
                            [&](QLabel *nom) { return nom->property("Tag").toInt() == code; })
               - dialogue.fondetats.begin());
}

void TestParametres::uneLigneParEtat()
{
    parametres dialogue(*m_base.contexte);
    const int etats = m_base.valeur("select count(*) from ETATS").toInt();
    QCOMPARE(dialogue.fondetats.size(), etats);
    QCOMPARE(dialogue.SSTab1->count(), 5);
    QCOMPARE(dialogue.SSTab1->tabText(1), QStringLiteral("Objets"));
    QCOMPARE(dialogue.SSTab1->tabText(3), QStringLiteral("Établissement"));
    QCOMPARE(dialogue.SSTab1->tabText(4), QStringLiteral("Tarifs"));
    QCOMPARE(dialogue.windowTitle(), QStringLiteral("Parametres"));
    QCOMPARE(dialogue.Label1->text(), QStringLiteral("Paramétres"));
    for (int i = 0; i < etats; ++i) {
        const QString code = dialogue.fondetats[i]->property("Tag").toString();
        QCOMPARE(dialogue.fondetats[i]->text(),
                 m_base.valeur("select Nom from ETATS where Code = " + code).toString());
        QCOMPARE(dialogue.fondetatcouleurs[i]->palette().color(QPalette::Window),
                 couleurDepuisVB(
                     m_base.valeur("select CouleurPrincipale from ETATS where Code = " + code)
                         .toUInt()));
        QCOMPARE(dialogue.internet[i]->isChecked(),
                 m_base.valeur("select surinternet from ETATS where Code = " + code).toBool());
        QVERIFY(!dialogue.internet[i]->isHidden());
        if (i > 0)
            QCOMPARE(dialogue.fondetats[i]->y() - dialogue.fondetats[i - 1]->y(),
                     dialogue.fondetats[1]->y() - dialogue.fondetats[0]->y());
    }
    QCOMPARE(dialogue.fondcouleurs->height(),
             dialogue.fondetats.last()->y() + dialogue.fondetats.last()->height());
}

void TestParametres::changerCouleur_data()
{
    QTest::addColumn<bool>("choisie");
    QTest::newRow("a colour chosen") << true;
    QTest::newRow("the picker cancelled changes nothing") << false;
}

void TestParametres::changerCouleur()
{
    QFETCH(bool, choisie);
    parametres dialogue(*m_base.contexte);
    int signaux = 0;
    connect(&dialogue, &parametres::couleurChangee, this, [&] { ++signaux; });
    dialogue.choisirCouleur = [&](const QColor &) -> std::optional<QColor> {
        return choisie ? std::optional<QColor>(QColor(0x12, 0x34, 0x56)) : std::nullopt;
    };
    const QString code = dialogue.fondetats[1]->property("Tag").toString();
    const QVariant avant
        = m_base.valeur("select CouleurPrincipale from ETATS where Code = " + code);
    dialogue.fondchangercouleurs_Click(1);
    const QVariant apres
        = m_base.valeur("select CouleurPrincipale from ETATS where Code = " + code);
    if (choisie) {
        QCOMPARE(apres.toUInt(), 0x563412u);
        QCOMPARE(dialogue.fondetatcouleurs[1]->palette().color(QPalette::Window),
                 QColor(0x12, 0x34, 0x56));
        QCOMPARE(signaux, 1);
    } else {
        QCOMPARE(apres, avant);
        QCOMPARE(signaux, 0);
    }
}

void TestParametres::caseInternet()
{
    parametres dialogue(*m_base.contexte);
    const int annulee = ligneDeLEtat(
        dialogue, m_base.valeur("select Code from ETATS where Nom = 'Annulée'").toInt());
    QVERIFY(annulee < dialogue.fondetats.size());
    QVERIFY(!dialogue.internet[annulee]->isChecked());
    dialogue.internet[annulee]->click();
    QCOMPARE(m_base.valeur("select surinternet from ETATS where Nom = 'Annulée'").toInt(), 1);
    QCOMPARE(m_base.valeur("select internet from ETATS where Nom = 'Annulée'").toInt(), 1);
}

void TestParametres::sansEtat()
{
    QSqlQuery(QStringLiteral("delete from ETATS"), m_base.contexte->BasePlanning());
    parametres dialogue(*m_base.contexte);
    QCOMPARE(dialogue.fondetats.size(), 1);
    QCOMPARE(dialogue.fondetats[0]->text(), QStringLiteral("Label2"));
}

void TestParametres::couleursIllisibles_data()
{
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<bool>("lue");

    QTest::newRow("a plain colour is shown") << "65280" << true;
    QTest::newRow("a system colour is shown") << "-2147483640" << true;
    QTest::newRow("Null leaves the swatch as designed") << "NULL" << false;
    QTest::newRow("a value past 32 bits leaves the swatch as designed") << "1099511627776" << false;
    QTest::newRow("a text leaves the swatch as designed") << "'vert'" << false;
}

void TestParametres::couleursIllisibles()
{
    QFETCH(QString, valeur);
    QFETCH(bool, lue);

    const int code = m_base.valeur("select Code from ETATS limit 1").toInt();
    QSqlQuery(QStringLiteral("update ETATS set CouleurPrincipale = %1 where Code = %2")
                  .arg(valeur)
                  .arg(code),
              m_base.contexte->BasePlanning());
    parametres dialogue(*m_base.contexte);
    const QColor vue = dialogue.fondetatcouleurs[0]->palette().color(QPalette::Window);
    const QColor dessinee = QWidget().palette().color(QPalette::Window);
    if (lue)
        QCOMPARE(vue, couleurDepuisVB(quint32(valeur.toLongLong()), QPalette()));
    else
        QCOMPARE(vue, dessinee);
    // The other rows are read all the same.
    QCOMPARE(dialogue.fondetats.size(), m_base.valeur("select count(*) from ETATS").toInt());
}

void TestParametres::cinquanteEtatsRestentAtteignables()
{
    QSqlQuery requete(m_base.contexte->BasePlanning());
    QVERIFY(requete.exec("delete from ETATS"));
    for (int code = 1; code <= 50; ++code)
        QVERIFY(requete.exec(QStringLiteral("insert into ETATS (Code, Nom, CouleurPrincipale, "
                                            "surinternet) values (%1, 'État %1', %2, 1)")
                                 .arg(code)
                                 .arg(code * 4000)));
    parametres dialogue(*m_base.contexte);
    QCOMPARE(dialogue.fondetats.size(), 50);
    QCOMPARE(dialogue.fondetats.last()->text(), QStringLiteral("État 50"));
    QCOMPARE(dialogue.fondcouleurs->height(),
             dialogue.fondetats.last()->y() + dialogue.fondetats.last()->height());
    dialogue.show();
    auto *defilement = qobject_cast<QScrollArea *>(dialogue.SSTab1->widget(0));
    QVERIFY(defilement);
    defilement->ensureWidgetVisible(dialogue.fondchangercouleurs.last());
    QVERIFY(defilement->verticalScrollBar()->value() > 0);
    const QPoint dansLaVue = dialogue.fondchangercouleurs.last()->mapTo(
        defilement->viewport(), dialogue.fondchangercouleurs.last()->rect().center());
    QVERIFY(defilement->viewport()->rect().contains(dansLaVue));
}

void TestParametres::baseEnLectureSeule_data()
{
    QTest::addColumn<bool>("couleur"); // false: the web box
    QTest::newRow("a colour that cannot be stored") << true;
    QTest::newRow("a web choice that cannot be stored") << false;
}

void TestParametres::baseEnLectureSeule()
{
    QFETCH(bool, couleur);

    parametres dialogue(*m_base.contexte);
    int signaux = 0;
    connect(&dialogue, &parametres::couleurChangee, this, [&] { ++signaux; });
    dialogue.choisirCouleur = [](const QColor &) -> std::optional<QColor> {
        return QColor(0x12, 0x34, 0x56);
    };
    const QColor pastille = dialogue.fondetatcouleurs[0]->palette().color(QPalette::Window);
    const bool coche = dialogue.internet[0]->isChecked();
    const QString avant = m_base
                              .valeur("select group_concat(CouleurPrincipale || '/' || "
                                      "surinternet) from ETATS")
                              .toString();
    QVERIFY(QSqlQuery(m_base.contexte->BasePlanning()).exec("PRAGMA query_only = 1"));
    BoiteMessage::messagesAffiches().clear();

    if (couleur)
        dialogue.fondchangercouleurs_Click(0);
    else
        dialogue.internet[0]->click();

    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY2(BoiteMessage::messagesAffiches().first().contains(
                 couleur ? "La couleur n'a pas pu être enregistrée"
                         : "Le choix n'a pas pu être enregistré"),
             qPrintable(BoiteMessage::messagesAffiches().first()));
    // Said in French, not in the engine's words.
    QVERIFY(!BoiteMessage::messagesAffiches().first().contains("readonly"));
    QCOMPARE(dialogue.fondetatcouleurs[0]->palette().color(QPalette::Window), pastille);
    QCOMPARE(dialogue.internet[0]->isChecked(), coche);
    QCOMPARE(signaux, 0);
    QVERIFY(QSqlQuery(m_base.contexte->BasePlanning()).exec("PRAGMA query_only = 0"));
    QCOMPARE(m_base
                 .valeur("select group_concat(CouleurPrincipale || '/' || surinternet) from "
                         "ETATS")
                 .toString(),
             avant);
}

void TestParametres::laCouleurRedessineLePlanning()
{
    // The planning holds its own connection, as in the program.
    Contexte contextePlanning;
    Form1 planning(contextePlanning);
    QVERIFY(planning.charger());
    planning.resize(1200, 700);
    planning.rafraichir();
    QVERIFY(planning.ReservationsAffichees.size() > 1);
    const ReservationAffichee barre = planning.ReservationsAffichees.at(1);
    const QColor nouvelle(0x12, 0x34, 0x56);
    auto pixelsDeLaCouleur = [&] {
        const QImage &image = planning.planning->surface().image();
        int compte = 0;
        for (int y = qMax(0, barre.y1); y <= qMin(image.height() - 1, barre.y2); ++y)
            for (int x = qMax(0, barre.x1); x <= qMin(image.width() - 1, barre.x2); ++x)
                compte += image.pixelColor(x, y) == nouvelle;
        return compte;
    };
    QCOMPARE(pixelsDeLaCouleur(), 0);

    parametres dialogue(*m_base.contexte);
    connect(&dialogue, &parametres::couleurChangee, &planning, &Form1::rafraichir);
    dialogue.choisirCouleur = [&](const QColor &) -> std::optional<QColor> {
        return nouvelle;
    };
    const QString code
        = m_base
              .valeur(QStringLiteral("select Etat from RESERVATIONS where NumeroReservation = %1")
                          .arg(barre.NumeroReservation))
              .toString();
    const int ligne = ligneDeLEtat(dialogue, code.toInt());
    QVERIFY(ligne < dialogue.fondetats.size());
    dialogue.fondchangercouleurs_Click(ligne);
    QVERIFY(pixelsDeLaCouleur() > 0);

    // Opened again, the dialog shows the colour stored.
    parametres rouvert(*m_base.contexte);
    QCOMPARE(rouvert.fondetatcouleurs[ligne]->palette().color(QPalette::Window), nouvelle);
}

void TestParametres::laPublicationSuitLaCaseInternet()
{
    QSqlQuery requete(m_base.contexte->BasePlanning());
    QVERIFY(requete.exec("delete from RESERVATIONS"));
    const int code = m_base.valeur("select Code from ETATS where surinternet <> 0 limit 1").toInt();
    const int objet = m_base.valeur("select Numero from OBJETS limit 1").toInt();
    QVERIFY(requete.exec(QStringLiteral("insert into RESERVATIONS (Objet, nomclient, Etat, "
                                        "DateDebut, DateFin) values (%1, 'Dupont', %2, "
                                        "'2026-12-10 14:00:00', '2026-12-12 12:00:00')")
                             .arg(objet)
                             .arg(code)));
    auto publier = [&] {
        const QString erreur = PublicationWeb::procedureMiseAjourInternet(
            m_base.contexte->BasePlanning(), m_base.dossier(), objet,
            PublicationWeb::texteDeFin(QDate(2026, 12, 8)), QStringLiteral("essai.html"),
            QStringLiteral("Essai"), QDate(2026, 12, 8),
            QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        QFile page(QDir(m_base.dossier()).filePath(QStringLiteral("essai.html")));
        return erreur.isEmpty() && page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
    };
    QVERIFY(publier().contains("#FF0000"));

    parametres dialogue(*m_base.contexte);
    const int ligne = ligneDeLEtat(dialogue, code);
    QVERIFY(ligne < dialogue.fondetats.size());
    QVERIFY(dialogue.internet[ligne]->isChecked());
    dialogue.internet[ligne]->click();
    QVERIFY(!publier().contains("#FF0000"));
    dialogue.internet[ligne]->click();
    QVERIFY(publier().contains("#FF0000"));
}

void TestParametres::laBarreDesObjetsGardeSaPlace()
{
    const QString fichier = m_base.contexte->FichierINIPrincipal;
    auto memoire = [&] {
        return ValeurINI("parametres", "BarreSeparatrice1", "absente", fichier, LIRE);
    };
    QCOMPARE(memoire(), QStringLiteral("absente"));
    int largeur = 0;
    {
        parametres dialogue(*m_base.contexte);
        largeur = dialogue.fondgauche->width();
        QCOMPARE(memoire(), QString::number(largeur * 15));
        QCOMPARE(dialogue.BarreSeparatrice1->x(), largeur + 1);
        QCOMPARE(dialogue.fonddroite->x(), largeur + 7);
        QCOMPARE(dialogue.fonddroite->x() + dialogue.fonddroite->width(),
                 dialogue.BaseDeDonnees1->width());
        dialogue.show();
        dialogue.SSTab1->setCurrentIndex(1);
        BarreSeparatrice *barre = dialogue.BarreSeparatrice1;
        const QPoint depart = barre->mapToGlobal(QPoint(2, 40));
        const QPoint arrivee = depart + QPoint(30, 0);
        QMouseEvent appui(QEvent::MouseButtonPress, barre->mapFromGlobal(depart), depart,
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(barre, &appui);
        QMouseEvent glisse(QEvent::MouseMove, barre->mapFromGlobal(arrivee), arrivee, Qt::NoButton,
                           Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(barre, &glisse);
        QMouseEvent relache(QEvent::MouseButtonRelease, barre->mapFromGlobal(arrivee), arrivee,
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(barre, &relache);
        QCOMPARE(dialogue.fondgauche->width(), largeur + 30);
        QCOMPARE(memoire(), QString::number((largeur + 30) * 15));
        dialogue.quitter_Click();
    }
    parametres rouvert(*m_base.contexte);
    QCOMPARE(rouvert.fondgauche->width(), largeur + 30);
    QCOMPARE(rouvert.BarreSeparatrice1->x(), largeur + 31);
}

void TestParametres::ajouterUnEtat_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("nom");
    QTest::addColumn<bool>("lectureSeule");
    QTest::addColumn<QString>("refus"); // empty: stored

    QTest::newRow("A new state goes at the end of the list")
        << "12"
        << "Liste d'attente « <b>VIP</b> »" << false << "";
    QTest::newRow("A code already used is refused")
        << "2"
        << "Doublon" << false << "Le code 2 est déjà celui de l'état « Confirmée ».";
    QTest::newRow("A blank name is refused")
        << "12"
        << "  " << false << "Le nom de l'état ne peut pas être vide.";
    QTest::newRow("A read-only base stores nothing")
        << "12"
        << "Liste d'attente" << true << "L'état n'a pas pu être ajouté :";
}

void TestParametres::ajouterUnEtat()
{
    QFETCH(QString, code);
    QFETCH(QString, nom);
    QFETCH(bool, lectureSeule);
    QFETCH(QString, refus);

    parametres dialogue(*m_base.contexte);
    dialogue.choisirCouleur = [](const QColor &) -> std::optional<QColor> {
        return QColor(0x12, 0x34, 0x56);
    };
    QSignalSpy modifie(&dialogue, &parametres::etablissementModifie);
    dialogue.show();
    const QString avant = etats();
    const int lignes = int(dialogue.fondetats.size());
    QTest::mouseClick(dialogue.ajouteretat, Qt::LeftButton);
    EditionEtat *ajout = edition(dialogue);
    QVERIFY(ajout && ajout->isModal());
    QTest::keyClicks(ajout->Code, code);
    QTest::keyClicks(ajout->Nom, nom);
    QTest::mouseClick(ajout->choisir, Qt::LeftButton);
    QTest::mouseClick(ajout->surinternet, Qt::LeftButton);
    QTest::mouseClick(ajout->occupe, Qt::LeftButton);
    if (lectureSeule)
        QVERIFY(QSqlQuery(m_base.contexte->BasePlanning()).exec("PRAGMA query_only = 1"));
    BoiteMessage::repondreAutomatiquement(true);
    QTest::mouseClick(ajout->enregistrer, Qt::LeftButton);
    QVERIFY(QSqlQuery(m_base.contexte->BasePlanning()).exec("PRAGMA query_only = 0"));

    if (refus.isEmpty()) {
        QCOMPARE(etats(), avant + QStringLiteral(";12|%1|%2|1|0").arg(nom).arg(0x563412));
        QCOMPARE(m_base.contexte->ListeEtats.last().Intitule, "12 - " + nom);
        QCOMPARE(m_base.contexte->ListeEtats.last().Couleur, 0x563412);
        QCOMPARE(dialogue.fondetats.size(), lignes + 1);
        QCOMPARE(dialogue.fondetats.last()->text(), nom);
        QVERIFY(dialogue.fondetats.last()->isVisible());
        QCOMPARE(modifie.size(), 1);
        QVERIFY(!edition(dialogue));
        return;
    }
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY2(BoiteMessage::messagesAffiches().first().startsWith(refus),
             qPrintable(BoiteMessage::messagesAffiches().first()));
    QCOMPARE(etats(), avant);
    QCOMPARE(modifie.size(), 0);
    QCOMPARE(edition(dialogue), ajout);
    QCOMPARE(ajout->Code->text(), code);
    QCOMPARE(ajout->Nom->text(), nom);
}

void TestParametres::renommerUnEtat()
{
    parametres dialogue(*m_base.contexte);
    dialogue.show();
    QTest::mouseClick(dialogue.renommeretats[1], Qt::LeftButton);
    EditionEtat *renommage = edition(dialogue);
    QVERIFY(renommage);
    QCOMPARE(renommage->Code->text(), QStringLiteral("2"));
    QVERIFY(renommage->Code->isReadOnly());
    QVERIFY(!renommage->occupe->isVisible());
    renommage->Nom->selectAll();
    QTest::keyClicks(renommage->Nom, QStringLiteral("Sur demande"));
    QTest::mouseClick(renommage->enregistrer, Qt::LeftButton);
    QCOMPARE(m_base.valeur("select Nom from ETATS where Code = 2").toString(),
             QStringLiteral("Sur demande"));
    QCOMPARE(dialogue.fondetats[1]->text(), QStringLiteral("Sur demande"));
    QCOMPARE(m_base.contexte->ListeEtats.at(1).Intitule, QStringLiteral("2 - Sur demande"));

    // Renamed at another desk while this one types: asked, and "Revenir" keeps theirs and the
    // text typed; "Garder la mienne" stores it.
    QTRY_VERIFY(!dialogue.findChild<EditionEtat *>());
    QTest::mouseClick(dialogue.renommeretats[1], Qt::LeftButton);
    renommage = edition(dialogue);
    QVERIFY(renommage);
    QSqlQuery(QStringLiteral("update ETATS set Nom = 'Ferme' where Code = 2"),
              m_base.contexte->BasePlanning());
    renommage->Nom->selectAll();
    QTest::keyClicks(renommage->Nom, QStringLiteral("Acompte"));
    QTest::mouseClick(renommage->enregistrer, Qt::LeftButton);
    QVERIFY(BoiteMessage::messagesAffiches().last().contains("Nom : Ferme / Acompte"));
    QCOMPARE(m_base.valeur("select Nom from ETATS where Code = 2").toString(),
             QStringLiteral("Ferme"));
    QCOMPARE(renommage->Nom->text(), QStringLiteral("Acompte"));
    BoiteMessage::repondreAuChoix(1);
    QTest::mouseClick(renommage->enregistrer, Qt::LeftButton);
    QCOMPARE(m_base.valeur("select Nom from ETATS where Code = 2").toString(),
             QStringLiteral("Acompte"));
}

void TestParametres::supprimerUnEtat_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("oui");
    QTest::addColumn<bool>("supprime");
    QTest::addColumn<QString>("message");

    QTest::newRow("A state of stays is refused without a question")
        << 1 << true << false << "L'état « Option » est celui de ";
    QTest::newRow("A free state goes once confirmed")
        << 9 << true << true << "Supprimer l'état « Inutile » ?";
    QTest::newRow("A free state stays when the answer is no")
        << 9 << false << false << "Supprimer l'état « Inutile » ?";
}

void TestParametres::supprimerUnEtat()
{
    QFETCH(int, code);
    QFETCH(bool, oui);
    QFETCH(bool, supprime);
    QFETCH(QString, message);

    QSqlQuery(QStringLiteral("insert into ETATS (Code, Nom) values (9, 'Inutile')"),
              m_base.contexte->BasePlanning());
    parametres dialogue(*m_base.contexte);
    dialogue.show();
    BoiteMessage::repondreAuxQuestions(oui);
    QTest::mouseClick(dialogue.supprimeretats[ligneDeLEtat(dialogue, code)], Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY(BoiteMessage::messagesAffiches().first().startsWith(message));
    QCOMPARE(m_base.valeur(QStringLiteral("select count(*) from ETATS where Code = %1").arg(code))
                 .toInt(),
             supprime ? 0 : 1);
    QCOMPARE(ligneDeLEtat(dialogue, code) == dialogue.fondetats.size(), supprime);
    QCOMPARE(dialogue.fondetats.size(), m_base.valeur("select count(*) from ETATS").toInt());
    if (supprime)
        QCOMPARE(m_base.contexte->ListeEtats.size(), dialogue.fondetats.size());
}

void TestParametres::caseOccupe()
{
    parametres dialogue(*m_base.contexte);
    const int annulee = ligneDeLEtat(dialogue, 5);
    QVERIFY(!dialogue.occupe[annulee]->isChecked());
    QVERIFY(!dialogue.occupe[annulee]->toolTip().isEmpty());
    dialogue.occupe[annulee]->click();
    QCOMPARE(m_base.valeur("select occupe from ETATS where Code = 5").toInt(), 1);
    QVERIFY(QSqlQuery(m_base.contexte->BasePlanning()).exec("PRAGMA query_only = 1"));
    dialogue.occupe[annulee]->click();
    QVERIFY(QSqlQuery(m_base.contexte->BasePlanning()).exec("PRAGMA query_only = 0"));
    QVERIFY(dialogue.occupe[annulee]->isChecked());
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QCOMPARE(m_base.valeur("select occupe from ETATS where Code = 5").toInt(), 1);
}

QTEST_MAIN(TestParametres)
#include "tst_parametres.moc"

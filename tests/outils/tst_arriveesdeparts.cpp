#include "app/ValeurINI.h"
#include "commun/BaseDemo.h"
#include "data/MouvementsDuJour.h"
#include "outils/ArriveesDeparts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTextDocument>
#include <QTreeWidget>

// The day's movements: the lists read from the base, the printed page, and the window used as
// the desk uses it.
class TestArriveesDeparts : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void lesListesDuJour_data();
    void lesListesDuJour();
    void lesListesCherchentLesIndex();
    void lePapier_data();
    void lePapier();
    void laFenetreSuitLesJours();
    void unJourTape_data();
    void unJourTape();
    void sansImprimanteUnPdf();

private:
    bool ouvrirFenetre();
    static QStringList lignes(const QTreeWidget *liste);

    BaseEssai m_essai {QStringLiteral("mouvements")};
    BaseDemo m_demo;
    std::unique_ptr<ArriveesDeparts> m_fenetre;
};

namespace {

// "client|object|nights|adults/children|deposit|balance", one stay after the other.
QString decrire(const QVector<MouvementsDuJour::Mouvement> &sejours)
{
    QStringList textes;
    for (const MouvementsDuJour::Mouvement &sejour : sejours)
        textes << QStringList {sejour.client,
                               sejour.objet,
                               QString::number(sejour.nuits),
                               QStringLiteral("%1/%2").arg(sejour.adultes).arg(sejour.enfants),
                               MouvementsDuJour::texteMontant(sejour.arrhes),
                               MouvementsDuJour::texteMontant(sejour.solde)}
                      .join(u'|');
    return textes.join(QStringLiteral("; "));
}

} // namespace

void TestArriveesDeparts::cleanup()
{
    m_fenetre.reset();
    m_essai.fermer();
    m_demo.fermer();
}

void TestArriveesDeparts::lesListesDuJour_data()
{
    QTest::addColumn<QDate>("jour");
    QTest::addColumn<QString>("arrivees");
    QTest::addColumn<QString>("departs");

    // The same hour: Chambre 2 comes before Chambre 1, which was moved to the end of the planning.
    QTest::newRow("by hour then planning order") << QDate(2026, 12, 9)
                                                 << "Petit|Chambre 3|1|1/0|0,00 €|0,00 €; "
                                                    "Durand|Chambre 2|3|2/1|1 234,50 €|-80,00 €; "
                                                    "Martin|Chambre 1|2|2/0|0,00 €|0,00 €"
                                                 << "Leroy|Chambre 4|3|2/0|0,00 €|0,80 €";
    QTest::newRow("edges of the day")
        << QDate(2026, 12, 8) << "Veille|Chambre 5|2|2/0|0,00 €|0,00 €"
        << "Tardif|Chambre 8|1|2/0|0,00 €|0,00 €";
    QTest::newRow("departures only") << QDate(2026, 12, 10) << ""
                                     << "Veille|Chambre 5|2|2/0|0,00 €|0,00 €; "
                                        "Petit|Chambre 3|1|1/0|0,00 €|0,00 €";
}

void TestArriveesDeparts::lesListesDuJour()
{
    QFETCH(QDate, jour);
    QFETCH(QString, arrivees);
    QFETCH(QString, departs);
    QVERIFY2(m_essai.ouvrir(), qPrintable(m_essai.echec()));
    QVERIFY(m_essai.executer("update OBJETS set rowid = 1000 where Numero = 1"));
    // The cancelled stays arrive and leave on the 9th; Veille and Tardif hold the first and the
    // last second of the 8th.
    const struct
    {
        const char *client;
        int objet;
        const char *debut, *fin;
        int etat, adultes, enfants;
        double arrhes;
    } sejours[] = {{"Durand", 2, "2026-12-09 14:00:00", "2026-12-12 10:00:00", 2, 2, 1, 1234.5},
                   {"Leroy", 4, "2026-12-06 14:00:00", "2026-12-09 10:00:00", 2, 2, 0, 0},
                   {"Martin", 1, "2026-12-09 14:00:00", "2026-12-11 12:00:00", 2, 2, 0, 0},
                   {"Petit", 3, "2026-12-09 11:00:00", "2026-12-10 12:00:00", 3, 1, 0, 0},
                   {"Annulé", 6, "2026-12-09 09:00:00", "2026-12-12 10:00:00", 5, 2, 0, 0},
                   {"Annulée", 7, "2026-12-07 14:00:00", "2026-12-09 11:00:00", 5, 2, 0, 0},
                   {"Veille", 5, "2026-12-08 00:00:00", "2026-12-10 00:00:00", 2, 2, 0, 0},
                   {"Tardif", 8, "2026-12-07 23:59:59", "2026-12-08 23:59:59", 2, 2, 0, 0}};
    for (const auto &sejour : sejours)
        QVERIFY(m_essai.reserver({{"nomclient", sejour.client},
                                  {"Objet", sejour.objet},
                                  {"DateDebut", sejour.debut},
                                  {"DateFin", sejour.fin},
                                  {"Etat", sejour.etat},
                                  {"nbadultes", sejour.adultes},
                                  {"nbenfants", sejour.enfants},
                                  {"arrhes", sejour.arrhes}})
                > 0);
    // Durand (1) and Leroy (2) have several rows, whose sum as doubles is not whole cents.
    for (const char *compte :
         {"(1, -100.7)", "(1, 0.7)", "(1, 20)", "(1, 0)", "(2, 0.7)", "(2, 0.1)"})
        QVERIFY(m_essai.executer(QString("insert into OPERATIONS (numeroreservation, prix) values ")
                                 + compte));

    const MouvementsDuJour::Journee journee = MouvementsDuJour::lire(m_essai.base(), jour);
    QVERIFY2(journee.erreur.isEmpty(), qPrintable(journee.erreur));
    QCOMPARE(decrire(journee.arrivees), arrivees);
    QCOMPARE(decrire(journee.departs), departs);
}

void TestArriveesDeparts::lesListesCherchentLesIndex()
{
    QVERIFY2(m_essai.ouvrir(), qPrintable(m_essai.echec()));
    const QStringList textes {MouvementsDuJour::texteDesSejours(MouvementsDuJour::Sens::Arrivees),
                              MouvementsDuJour::texteDesSejours(MouvementsDuJour::Sens::Departs),
                              MouvementsDuJour::texteDesComptes({4, 8})};
    const QStringList index {"ReservationsParArrivee (DateDebut>? AND DateDebut<?)",
                             "ReservationsParDepart (DateFin>? AND DateFin<?)",
                             "OperationsParReservation (numeroreservation=?)"};
    for (int i = 0; i < textes.size(); ++i) {
        QSqlQuery plan(m_essai.base());
        QVERIFY(plan.prepare("EXPLAIN QUERY PLAN " + textes[i]));
        plan.bindValue(":debut", "2026-12-09");
        plan.bindValue(":fin", "2026-12-10");
        QVERIFY2(plan.exec(), qPrintable(plan.lastError().text()));
        QStringList etapes;
        while (plan.next())
            etapes << plan.value(3).toString();
        QVERIFY2(etapes.value(0).endsWith("USING INDEX " + index[i]),
                 qPrintable(etapes.join(" | ")));
    }
}

void TestArriveesDeparts::lePapier_data()
{
    QTest::addColumn<QDate>("jour");
    QTest::addColumn<QString>("etablissement");
    QTest::addColumn<QString>("debut");

    QTest::newRow("named establishment")
        << QDate(2026, 12, 9) << "Hôtel <Les Pins> & Spa"
        << "Hôtel <Les Pins> & Spa\nArrivées et départs du mercredi 9 décembre 2026\n";
    QTest::newRow("no name") << QDate(2026, 12, 1) << " "
                             << "Arrivées et départs du mardi 1er décembre 2026\n";
}

void TestArriveesDeparts::lePapier()
{
    QFETCH(QDate, jour);
    QFETCH(QString, etablissement);
    QFETCH(QString, debut);
    MouvementsDuJour::Journee journee;
    journee.jour = jour;
    MouvementsDuJour::Mouvement sejour;
    sejour.client = "O'Brien <b>&amp;</b>";
    sejour.objet = "Chalet <vue lac>";
    sejour.nuits = 2;
    sejour.solde = -123456;
    journee.arrivees = {sejour, sejour};
    journee.departs = {sejour};

    QTextDocument document;
    document.setHtml(
        MouvementsDuJour::documentHtml(journee, etablissement, QDateTime(jour, QTime(7, 5))));
    const QString texte = document.toPlainText();
    QVERIFY2(texte.startsWith(debut), qPrintable(texte));
    for (const QString &attendu :
         {QString("Arrivées\n2 arrivées\n"), QString("Départs\n1 départ\n"),
          QString("O'Brien <b>&amp;</b>"), QString("Chalet <vue lac>"), QString("-1 234,56 €"),
          "Imprimé le " + jour.toString("dd/MM/yyyy") + " à 07:05"})
        QVERIFY2(texte.contains(attendu), qPrintable(attendu + " / " + texte));
    QCOMPARE(texte.count("O'Brien"), 3);
}

bool TestArriveesDeparts::ouvrirFenetre()
{
    if (!m_demo.ouvrir())
        return false;
    m_fenetre = std::make_unique<ArriveesDeparts>(*m_demo.contexte);
    m_fenetre->show();
    return QTest::qWaitForWindowExposed(m_fenetre.get());
}

QStringList TestArriveesDeparts::lignes(const QTreeWidget *liste)
{
    QStringList textes;
    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
        QStringList colonnes;
        for (int c = 0; c < liste->columnCount(); ++c)
            colonnes << liste->topLevelItem(i)->text(c);
        textes << colonnes.join(u'|');
    }
    return textes;
}

void TestArriveesDeparts::laFenetreSuitLesJours()
{
    QVERIFY(ouvrirFenetre());
    ArriveesDeparts &fenetre = *m_fenetre;
    QCOMPARE(fenetre.jour->text(), QString("08/12/2026"));
    QCOMPARE(fenetre.jourEnLettres->text(), QString("mardi 8 décembre 2026"));
    const MouvementsDuJour::Journee huit
        = MouvementsDuJour::lire(m_demo.contexte->BasePlanning(), QDate(2026, 12, 8));
    QVERIFY(!huit.arrivees.isEmpty());
    const MouvementsDuJour::Mouvement &premier = huit.arrivees.first();
    QCOMPARE(fenetre.arrivees->topLevelItem(0)->text(0), premier.client);

    // The stay is paid 10 € while its dialog is open: the list shows it once it is closed.
    QVector<qint32> ouverts;
    fenetre.ouvrirSejour = [&](qint32 numero) {
        ouverts << numero;
        m_demo.valeur(QString("insert into OPERATIONS (numeroreservation, date, prix) values "
                              "(%1, '2026-12-08 15:50:00', 10)")
                          .arg(numero));
    };
    QTreeWidget *liste = fenetre.arrivees;
    // A person's double click: a click, then the second press that makes it double.
    const QPoint ligne = liste->visualItemRect(liste->topLevelItem(0)).center();
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, ligne);
    QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, ligne);
    QCOMPARE(ouverts, QVector<qint32> {premier.numero});
    QCOMPARE(liste->topLevelItem(0)->text(5), MouvementsDuJour::texteMontant(premier.solde + 1000));

    const QStringList avant = lignes(fenetre.arrivees) + lignes(fenetre.departs);
    QTest::mouseClick(fenetre.jourSuivant, Qt::LeftButton);
    QCOMPARE(fenetre.jour->text(), QString("09/12/2026"));
    QCOMPARE(fenetre.jourEnLettres->text(), QString("mercredi 9 décembre 2026"));
    const MouvementsDuJour::Journee neuf
        = MouvementsDuJour::lire(m_demo.contexte->BasePlanning(), QDate(2026, 12, 9));
    QCOMPARE(fenetre.arrivees->topLevelItemCount(), neuf.arrivees.size());
    QCOMPARE(fenetre.departs->topLevelItemCount(), neuf.departs.size());
    QCOMPARE(fenetre.nombreArrivees->text(),
             MouvementsDuJour::nombreArrivees(int(neuf.arrivees.size())));
    QCOMPARE(fenetre.nombreDeparts->text(),
             MouvementsDuJour::nombreDeparts(int(neuf.departs.size())));
    QVERIFY(lignes(fenetre.arrivees) + lignes(fenetre.departs) != avant);

    // A base that cannot be read: said in the window, nothing listed.
    m_demo.valeur("drop table OPERATIONS");
    QTest::mouseClick(fenetre.jourPrecedent, Qt::LeftButton);
    QCOMPARE(fenetre.jour->text(), QString("08/12/2026"));
    QVERIFY(fenetre.erreur->isVisible());
    QVERIFY2(fenetre.erreur->text().startsWith("Les arrivées et départs n'ont pas pu être lus"),
             qPrintable(fenetre.erreur->text()));
    QCOMPARE(fenetre.arrivees->topLevelItemCount() + fenetre.departs->topLevelItemCount(), 0);
}

void TestArriveesDeparts::unJourTape_data()
{
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("jour");
    QTest::addColumn<QString>("message");

    QTest::newRow("a day") << "1/1/2027"
                           << "01/01/2027"
                           << "";
    QTest::newRow("no such day") << "31/02/2027"
                                 << "08/12/2026"
                                 << "« 31/02/2027 » n'est pas une date";
}

void TestArriveesDeparts::unJourTape()
{
    QFETCH(QString, tape);
    QFETCH(QString, jour);
    QFETCH(QString, message);
    QVERIFY(ouvrirFenetre());
    m_fenetre->jour->setFocus();
    m_fenetre->jour->selectAll();
    QTest::keyClick(m_fenetre->jour, Qt::Key_Backspace);
    QTest::keyClicks(m_fenetre->jour, tape);
    QTest::keyClick(m_fenetre->jour, Qt::Key_Return);
    QCOMPARE(m_fenetre->jour->text(), jour);
    QCOMPARE(m_fenetre->jourAffiche(), QDate::fromString(jour, "dd/MM/yyyy"));
    QCOMPARE(BoiteMessage::messagesAffiches().size(), message.isEmpty() ? 0 : 1);
    QCOMPARE(BoiteMessage::messagesAffiches().value(0).left(message.size()), message);
}

void TestArriveesDeparts::sansImprimanteUnPdf()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is set up here: the print dialog would wait for an answer");
    QVERIFY(ouvrirFenetre());
    const QString maison = m_demo.dossier() + "/maison";
    qputenv("HOME", maison.toUtf8());
    qputenv("XDG_CONFIG_HOME", (maison + "/.config").toUtf8());
    qputenv("XDG_DOCUMENTS_DIR", (maison + "/Documents").toUtf8());
    ValeurINI("etablissement", "Nom", "Camping des Pins", QString(), ECRIRE);
    const QString chemin = maison + "/Documents/Razarivu/Arrivées et départs du 2026-12-08.pdf";
    // A list of that day printed before is replaced.
    QVERIFY(QDir().mkpath(maison + "/Documents/Razarivu"));
    QFile ancien(chemin);
    QVERIFY(ancien.open(QIODevice::WriteOnly) && ancien.write("ancien") == 6);
    ancien.close();

    QTest::mouseClick(m_fenetre->imprimer, Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches().value(0).left(31),
             QString("La liste a été enregistrée dans"));
    QVERIFY2(BoiteMessage::messagesAffiches().value(0).contains(chemin),
             qPrintable(BoiteMessage::messagesAffiches().value(0)));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", chemin, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString texte = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QVERIFY2(pdftotext.exitCode() == 0, pdftotext.readAllStandardError().constData());
    QVERIFY(m_fenetre->arrivees->topLevelItemCount() > 0);
    for (const QString &attendu :
         {QString("Camping des Pins"), QString("Arrivées et départs du mardi 8 décembre 2026"),
          m_fenetre->arrivees->topLevelItem(0)->text(0)})
        QVERIFY2(texte.contains(attendu), qPrintable(attendu + " / " + texte));
}

QTEST_MAIN(TestArriveesDeparts)
#include "tst_arriveesdeparts.moc"

#include "commun/BaseDemo.h"
#include "data/RegleObjet.h"
#include "settings/OngletObjets.h"
#include "settings/parametres.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

// The objects tab of the settings, driven as the owner does: a click on a line, text typed and
// Enter, the buttons pressed; each change read back from the base.
class TestOngletObjets : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saisieRefusee_data();
    void saisieRefusee();
    void saisieEnregistree_data();
    void saisieEnregistree();
    void boutons_data();
    void boutons();
    void supprimer_data();
    void supprimer();
    void laListe();
    void unNomChangeAUnAutrePoste_data();
    void unNomChangeAUnAutrePoste();

private:
    template<class T> T *champ(const char *nom) const
    {
        return m_dialogue->findChild<T *>(QLatin1String(nom));
    }
    void ouvrir();
    // Clicks the line of the object `numero`.
    void choisir(int numero);
    void saisir(const char *nom, const QString &texte);
    QString table() const
    {
        return m_base
            .valeur("select group_concat(quote(rowid) || quote(Numero) || quote(Nom) || "
                    "quote(NomInternet) || quote(Categorie) || quote(Capacite) || "
                    "quote(retire), '/') from OBJETS")
            .toString();
    }

    BaseDemo m_base;
    std::unique_ptr<parametres> m_dialogue;
    QListWidget *m_liste = nullptr;
    std::unique_ptr<QSignalSpy> m_modifie;
};

void TestOngletObjets::init()
{
    QVERIFY(m_base.ouvrir());
    QSqlQuery(
        QStringLiteral("update OBJETS set Categorie = 'Cabane', retire = 1 where Numero = 45"),
        m_base.contexte->BasePlanning());
    ouvrir();
}

void TestOngletObjets::cleanup()
{
    m_modifie.reset();
    m_dialogue.reset();
    m_base.fermer();
}

void TestOngletObjets::ouvrir()
{
    m_dialogue = std::make_unique<parametres>(*m_base.contexte);
    m_dialogue->setAttribute(Qt::WA_DeleteOnClose, false);
    m_dialogue->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialogue.get()));
    m_dialogue->SSTab1->setCurrentIndex(1);
    m_liste = champ<QListWidget>("listeObjets");
    m_modifie = std::make_unique<QSignalSpy>(m_dialogue->ongletObjets, &OngletObjets::modifie);
}

void TestOngletObjets::choisir(int numero)
{
    const QList<QListWidgetItem *> lignes
        = m_liste->findItems(QString::number(numero) + " : ", Qt::MatchStartsWith);
    QCOMPARE(lignes.size(), 1);
    m_liste->scrollToItem(lignes[0]);
    QTest::mouseClick(m_liste->viewport(), Qt::LeftButton, {},
                      m_liste->visualItemRect(lignes[0]).center());
    QCOMPARE(m_liste->currentItem(), lignes[0]);
}

void TestOngletObjets::saisir(const char *nom, const QString &texte)
{
    QLineEdit *saisie
        = champ<QLineEdit>(nom) ? champ<QLineEdit>(nom) : champ<QComboBox>(nom)->lineEdit();
    saisie->setFocus();
    saisie->selectAll();
    QTest::keyClick(saisie, Qt::Key_Backspace);
    QTest::keyClicks(saisie, texte);
    QTest::keyClick(saisie, Qt::Key_Return);
}

void TestOngletObjets::saisieRefusee_data()
{
    QTest::addColumn<QByteArray>("nom");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message");

    QTest::newRow("A number another object has")
        << QByteArray("Numero") << "2" << RegleObjet::numeroDejaUtilise(2, "Chambre 2");
    for (const char *texte : {"0", "-3", "12a", "4294967296"})
        QTest::addRow("The number %s", texte)
            << QByteArray("Numero") << texte << RegleObjet::numero(texte).refus;
    QTest::newRow("An empty name") << QByteArray("Nom") << "" << RegleObjet::nom("").refus;
    QTest::newRow("A name of 5000 letters")
        << QByteArray("Nom") << QString(5000, u'x') << RegleObjet::nom(QString(5000, u'x')).refus;
    QTest::newRow("A name the base, read-only, cannot take")
        << QByteArray("Nom") << "Chambre bleue"
        << "L'objet n'a pas pu être enregistré :\nLa base de données est en lecture seule : rien "
           "ne peut y être enregistré.";
}

void TestOngletObjets::saisieRefusee()
{
    QFETCH(QByteArray, nom);
    QFETCH(QString, texte);
    QFETCH(QString, message);
    const QString avant = table();
    QSqlQuery(
        QStringLiteral("PRAGMA query_only = %1").arg(message.contains("lecture seule") ? 1 : 0),
        m_base.contexte->BasePlanning());

    saisir(nom.constData(), texte);
    // Leaving the field ends its editing again: the owner has been told already.
    champ<QLineEdit>("NomInternet")->setFocus();
    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList {message});
    QCOMPARE(champ<QLineEdit>(nom.constData())->text(), texte);
    QCOMPARE(m_modifie->count(), 0);
    QSqlQuery(QStringLiteral("PRAGMA query_only = 0"), m_base.contexte->BasePlanning());
    QCOMPARE(table(), avant);
}

void TestOngletObjets::saisieEnregistree_data()
{
    QTest::addColumn<QByteArray>("nom");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("stocke"); // as quote() gives it

    QTest::newRow("A new number takes the stays along") << QByteArray("Numero") << " 500 "
                                                        << "500";
    QTest::newRow("A name") << QByteArray("Nom") << "Suite « Lac »"
                            << "'Suite « Lac »'";
    QTest::newRow("A category of the list typed in another case is the list's")
        << QByteArray("Categorie") << "cabane"
        << "'Cabane'";
    QTest::newRow("No capacity") << QByteArray("Capacite") << ""
                                 << "NULL";
}

void TestOngletObjets::saisieEnregistree()
{
    QFETCH(QByteArray, nom);
    QFETCH(QString, texte);
    QFETCH(QString, stocke);
    const QString rowid = m_base
                              .valeur("select rowid from OBJETS where Numero = (select Objet "
                                      "from RESERVATIONS group by 1 order by count(*) desc)")
                              .toString();
    const QString sejours = "select count(*) from RESERVATIONS where Objet = (select Numero from "
                            "OBJETS where rowid = "
        + rowid + ")";
    const int avant = m_base.valeur(sejours).toInt();
    choisir(m_base.valeur("select Numero from OBJETS where rowid = " + rowid).toInt());

    saisir(nom.constData(), texte);
    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList());
    QCOMPARE(
        m_base.valeur("select quote(" + nom + ") from OBJETS where rowid = " + rowid).toString(),
        stocke);
    QCOMPARE(m_base.valeur(sejours).toInt(), avant);
    QCOMPARE(m_modifie->count(), 1);
    QCOMPARE(m_liste->currentItem()->text(),
             m_base.valeur("select Numero || ' : ' || Nom from OBJETS where rowid = " + rowid)
                 .toString());
}

void TestOngletObjets::boutons_data()
{
    QTest::addColumn<int>("numero"); // the object chosen first
    QTest::addColumn<QByteArray>("bouton");
    QTest::addColumn<QString>("ordre"); // the first three numbers, then the last and its category
    QTest::addColumn<QString>("choisi");

    const QString fin = "45:Cabane";
    QTest::newRow("Ajouter puts a new object last, of the chosen one's category")
        << 1 << QByteArray("ajouterObjet") << "1,2,3/46:Chambre"
        << "46 : Objet 46";
    QTest::newRow("Dupliquer puts the copy right after its source")
        << 2 << QByteArray("dupliquerObjet") << "1,2,13/" + fin << "13 : Chambre 2 (copie)";
    QTest::newRow("Monter") << 2 << QByteArray("monterObjet") << "2,1,3/" + fin << "2 : Chambre 2";
    QTest::newRow("Descendre") << 2 << QByteArray("descendreObjet") << "1,3,2/" + fin
                               << "2 : Chambre 2";
    QTest::newRow("Retirer") << 3 << QByteArray("retirerObjet") << "1,2,3/" + fin
                             << "3 : Chambre 3 (retiré)";
    QTest::newRow("The box Retiré du planning")
        << 3 << QByteArray("retire") << "1,2,3/" + fin << "3 : Chambre 3 (retiré)";
    QTest::newRow("Remettre") << 45 << QByteArray("retirerObjet") << "1,2,3/" + fin
                              << "45 : Mobil-home Lavande";
}

void TestOngletObjets::boutons()
{
    QFETCH(int, numero);
    QFETCH(QByteArray, bouton);
    QFETCH(QString, ordre);
    QFETCH(QString, choisi);
    choisir(numero);

    // Near the left edge: a check box takes clicks on its box only.
    QAbstractButton *presse = champ<QAbstractButton>(bouton.constData());
    QTest::mouseClick(presse, Qt::LeftButton, {}, QPoint(presse->height(), presse->height()) / 2);
    QCOMPARE(m_modifie->count(), 1);
    QCOMPARE(m_liste->currentItem()->text(), choisi);
    QCOMPARE(m_base
                 .valeur("select (select group_concat(Numero) from (select Numero from OBJETS "
                         "order by rowid limit 3)) || '/' || (select Numero || ':' || Categorie "
                         "from OBJETS order by rowid desc)")
                 .toString(),
             ordre);
    QCOMPARE(champ<QPushButton>("retirerObjet")->text(),
             choisi.endsWith("(retiré)") ? QStringLiteral("Remettre") : QStringLiteral("Retirer"));
    // A new object is named at once.
    if (bouton == "ajouterObjet") {
        QCOMPARE(QApplication::focusWidget(), champ<QLineEdit>("Nom"));
        QCOMPARE(champ<QLineEdit>("Nom")->selectedText(), QStringLiteral("Objet 46"));
    }
}

void TestOngletObjets::supprimer_data()
{
    QTest::addColumn<bool>("avecSejours");
    QTest::addColumn<QString>("reste"); // its "retire", or nothing once deleted
    QTest::addColumn<QString>("question");

    QTest::newRow("An object with stays is retired instead, when the owner agrees")
        << true << "1"
        << "séjours enregistrés : il ne peut pas être supprimé";
    QTest::newRow("An object without stays is deleted once confirmed") << false << ""
                                                                       << "Supprimer « ";
}

void TestOngletObjets::supprimer()
{
    QFETCH(bool, avecSejours);
    QFETCH(QString, reste);
    QFETCH(QString, question);
    const QString numero
        = m_base
              .valeur(QStringLiteral("select Numero from OBJETS where retire = 0 and Numero %1 in "
                                     "(select Objet from RESERVATIONS)")
                          .arg(avecSejours ? "" : "not"))
              .toString();
    choisir(numero.toInt());
    BoiteMessage::repondreAuxQuestions(true);

    QTest::mouseClick(champ<QPushButton>("supprimerObjet"), Qt::LeftButton);
    QCOMPARE(BoiteMessage::messagesAffiches().size(), 1);
    QVERIFY2(BoiteMessage::messagesAffiches()[0].contains(question),
             qPrintable(BoiteMessage::messagesAffiches()[0]));
    QCOMPARE(m_base.valeur("select retire from OBJETS where Numero = " + numero).toString(), reste);
    QCOMPARE(m_liste->count(), m_base.valeur("select count(*) from OBJETS").toInt());
    QCOMPARE(m_modifie->count(), 1);
}

void TestOngletObjets::laListe()
{
    QCOMPARE(m_liste->currentItem()->text(), QStringLiteral("1 : Chambre 1"));
    QCOMPARE(champ<QLineEdit>("Nom")->text() + champ<QLineEdit>("Capacite")->text(),
             QStringLiteral("Chambre 12"));
    QVERIFY(!champ<QPushButton>("monterObjet")->isEnabled());
    QListWidgetItem *retire = m_liste->item(m_liste->count() - 1);
    QCOMPARE(retire->text(), QStringLiteral("45 : Mobil-home Lavande (retiré)"));
    QVERIFY(retire->foreground().color() != m_liste->item(0)->foreground().color());
    auto *categories = champ<QComboBox>("Categorie");
    QCOMPARE(categories->count(), 5);
    QCOMPARE(categories->itemText(3) + categories->itemText(4), QStringLiteral("Mobil-homeCabane"));

    // 200 more: the last is reached by scrolling.
    QSqlQuery requete(m_base.contexte->BasePlanning());
    for (int numero = 1000; numero < 1200; ++numero)
        QVERIFY(
            requete.exec(QStringLiteral("insert into OBJETS (Numero, Nom) values (%1, 'Tente %1')")
                             .arg(numero)));
    ouvrir();
    QListWidgetItem *dernier = m_liste->item(m_liste->count() - 1);
    QCOMPARE(dernier->text(), QStringLiteral("1199 : Tente 1199"));
    m_liste->scrollToItem(dernier);
    QVERIFY(m_liste->viewport()->rect().contains(m_liste->visualItemRect(dernier)));
}

void TestOngletObjets::unNomChangeAUnAutrePoste_data()
{
    QTest::addColumn<int>("choix");
    QTest::addColumn<QString>("stocke");
    QTest::addColumn<QString>("affiche");

    QTest::newRow("Revenir") << -1 << "Chambre 1 bis"
                             << "Suite";
    QTest::newRow("Reprendre leur version") << 0 << "Chambre 1 bis"
                                            << "Chambre 1 bis";
    QTest::newRow("Garder la mienne") << 1 << "Suite"
                                      << "Suite";
}

void TestOngletObjets::unNomChangeAUnAutrePoste()
{
    QFETCH(int, choix);
    QFETCH(QString, stocke);
    QFETCH(QString, affiche);
    choisir(1);
    // Renamed at another desk after this one showed it; the capacity changed there stays.
    QSqlQuery(QStringLiteral("update OBJETS set Nom = 'Chambre 1 bis', Capacite = 9 where "
                             "Numero = 1"),
              m_base.contexte->BasePlanning());
    BoiteMessage::repondreAuChoix(choix);
    saisir("Nom", "Suite");
    QCOMPARE(BoiteMessage::messagesAffiches().value(0).section('\n', 0, 3),
             QStringLiteral("Cet objet a été modifié à un autre poste depuis que vous l'avez "
                            "ouvert.\n\nChamp : leur version / la vôtre\nNom : Chambre 1 bis / "
                            "Suite"));
    QCOMPARE(m_base.valeur("select Nom || Capacite from OBJETS where Numero = 1").toString(),
             stocke + "9");
    QCOMPARE(champ<QLineEdit>("Nom")->text(), affiche);
}

QTEST_MAIN(TestOngletObjets)
#include "tst_ongletobjets.moc"

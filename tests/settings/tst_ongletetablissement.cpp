#include "commun/BaseDemo.h"
#include "settings/OngletEtablissement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

// The "Établissement" tab typed in and stored through its button; checked in the settings file,
// read without the program.
class TestOngletEtablissement : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.preparer(false)); }
    void cleanup() { m_base.fermer(); }

    void enregistreEtRelu();
    void saisieRefusee_data();
    void saisieRefusee();

private:
    static void saisir(QLineEdit *champ, const QString &texte)
    {
        champ->selectAll();
        QTest::keyClick(champ, Qt::Key_Backspace);
        QTest::keyClicks(champ, texte);
    }
    // Radio buttons take a click on their round.
    static void cocher(QRadioButton *bouton)
    {
        QTest::mouseClick(bouton, Qt::LeftButton, {}, QPoint(8, bouton->height() / 2));
    }
    // The lines of [etablissement], as the file holds them.
    QStringList section() const
    {
        QFile fichier(m_base.dossier() + QStringLiteral("/Razarivu.ini"));
        if (!fichier.open(QIODevice::ReadOnly))
            return {};
        const QStringList lignes
            = QString::fromUtf8(fichier.readAll()).split(QStringLiteral("\r\n"));
        const qsizetype debut = lignes.indexOf(QStringLiteral("[etablissement]"));
        return debut < 0 ? QStringList() : lignes.mid(debut + 1);
    }

    BaseDemo m_base;
};

void TestOngletEtablissement::enregistreEtRelu()
{
    QFile fichier(m_base.dossier() + QStringLiteral("/Razarivu.ini"));
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write("[etablissement]\r\nnom=Ancien nom\r\nmentions=a\\nb\r\ntaxemode=pourcentage\r\n"
                  "taxepourcentage=4\r\n");
    fichier.close();

    OngletEtablissement onglet;
    onglet.show();
    QCOMPARE(onglet.nom->text(), QStringLiteral("Ancien nom"));
    QCOMPARE(onglet.mentions->toPlainText(), QStringLiteral("a\nb"));
    QVERIFY(onglet.taxePourcentage->isChecked());
    QCOMPARE(onglet.pourcentage->text(), QStringLiteral("4"));
    QVERIFY(!onglet.tarif->isEnabled());

    saisir(onglet.nom, QStringLiteral("Camping des Pins"));
    QTest::keyClicks(onglet.ville, QStringLiteral("Mimizan"));
    onglet.mentions->moveCursor(QTextCursor::End);
    QTest::keyClick(onglet.mentions, Qt::Key_Return);
    QTest::keyClicks(onglet.mentions, QStringLiteral("C:\\dossier"));
    cocher(onglet.taxeFixe);
    QVERIFY(onglet.tarif->isEnabled() && !onglet.pourcentage->isEnabled());
    saisir(onglet.tarif, QStringLiteral("0.88"));
    QTest::keyClicks(onglet.majoration, QStringLiteral("10"));
    QTest::mouseClick(onglet.enregistrer, Qt::LeftButton);

    QVERIFY2(BoiteMessage::messagesAffiches().isEmpty(),
             qPrintable(BoiteMessage::messagesAffiches().join('\n')));
    QCOMPARE(onglet.etat->text(), QStringLiteral("Réglages enregistrés."));
    const QStringList lignes = section();
    for (const char *attendue :
         {"nom=Camping des Pins", "ville=Mimizan", "mentions=a\\nb\\nC:\\\\dossier",
          "taxemode=fixe", "taxetarif=0,88", "taxepourcentage=4", "taxemajoration=10", "siret="})
        QVERIFY2(lignes.contains(QString::fromUtf8(attendue)), attendue);

    OngletEtablissement rouvert;
    QCOMPARE(rouvert.mentions->toPlainText(), QStringLiteral("a\nb\nC:\\dossier"));
    QVERIFY(rouvert.taxeFixe->isChecked());
    QCOMPARE(rouvert.tarif->text(), QStringLiteral("0,88"));
    QCOMPARE(rouvert.majoration->text(), QStringLiteral("10"));
}

void TestOngletEtablissement::saisieRefusee_data()
{
    QTest::addColumn<bool>("fixe");
    QTest::addColumn<QString>("champ");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("refus");

    QTest::newRow("A percentage of 6 %")
        << false << "pourcentage"
        << "6"
        << "Le pourcentage de la taxe de séjour doit être compris entre 1 et 5 % (par exemple 5 "
           "ou 3,5).";
    QTest::newRow("A tariff in letters")
        << true << "tarif"
        << "abc"
        << "Tarif de la taxe de séjour : le prix doit être un nombre, par exemple 2,50 (« abc »).";
    QTest::newRow("A negative cap") << false << "plafond"
                                    << "-2"
                                    << "Plafond de la taxe de séjour : le prix ne peut pas être "
                                       "négatif.";
    QTest::newRow("A surcharge in letters")
        << true << "majoration"
        << "dix"
        << "La taxe additionnelle départementale doit être un pourcentage de 0 à 100, par "
           "exemple 10.";
    QTest::newRow("An address too long for the file")
        << true << "adresse" << QString(600, u'x')
        << "Le texte « Adresse » est trop long : 589 caractères au plus, chaque saut de ligne "
           "comptant pour deux (600 ici).";
}

void TestOngletEtablissement::saisieRefusee()
{
    QFETCH(bool, fixe);
    QFETCH(QString, champ);
    QFETCH(QString, texte);
    QFETCH(QString, refus);

    OngletEtablissement onglet;
    onglet.show();
    QTest::keyClicks(onglet.nom, QStringLiteral("Les Pins"));
    cocher(fixe ? onglet.taxeFixe : onglet.taxePourcentage);
    auto *ligne = onglet.findChild<QLineEdit *>(champ);
    auto *texteLong = onglet.findChild<QPlainTextEdit *>(champ);
    QVERIFY(ligne || texteLong);
    if (ligne)
        saisir(ligne, texte);
    else
        QTest::keyClicks(texteLong, texte);
    QTest::mouseClick(onglet.enregistrer, Qt::LeftButton);

    QCOMPARE(BoiteMessage::messagesAffiches(), QStringList(refus));
    QCOMPARE(ligne ? ligne->text() : texteLong->toPlainText(), texte);
    QCOMPARE(onglet.nom->text(), QStringLiteral("Les Pins"));
    QVERIFY(section().isEmpty());
}

QTEST_MAIN(TestOngletEtablissement)
#include "tst_ongletetablissement.moc"

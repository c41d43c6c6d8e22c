#include "commun/BaseDemo.h"
#include "settings/ApercuImport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

// The import preview as the owner uses it: the counts shown, then Importer or Annuler clicked.
class TestApercuImport : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.ouvrir(false)); }
    void cleanup() { m_base.fermer(); }

    void cliquer_data();
    void cliquer();

private:
    BaseDemo m_base;
};

namespace {
const QByteArray Liste("Numero;Nom\n901;Chalet <b>A</b>\n902;Chalet B\n1;Doublon\n");
}

void TestApercuImport::cliquer_data()
{
    QTest::addColumn<QByteArray>("contenu");
    QTest::addColumn<QString>("bouton"); // empty: no preview expected
    QTest::addColumn<int>("ajoutes");
    QTest::addColumn<QString>("message"); // with a preview: the base made read-only

    QTest::newRow("Importer adds the accepted objects") << Liste << "importer" << 2 << QString();
    QTest::newRow("Annuler adds nothing") << Liste << "annuler" << 0 << QString();
    QTest::newRow("A read-only base: said in French, the preview stays open")
        << Liste << "importer" << 0 << "lecture seule";
    QTest::newRow("A file that is no list: said, no preview")
        << QByteArray("\x01\x02\x03\x04\x05\x06\x07 Numero;Nom") << QString() << 0
        << "n'est pas une liste";
}

void TestApercuImport::cliquer()
{
    QFETCH(QByteArray, contenu);
    QFETCH(QString, bouton);
    QFETCH(int, ajoutes);
    QFETCH(QString, message);
    const bool lectureSeule = !bouton.isEmpty() && !message.isEmpty();
    QFile fichier(m_base.dossier() + "/liste.csv");
    QVERIFY(fichier.open(QIODevice::WriteOnly) && fichier.write(contenu) == contenu.size());
    fichier.close();
    const int avant = m_base.valeur("select count(*) from OBJETS").toInt();
    QSqlQuery requete(m_base.contexte->BasePlanning());

    QStringList vu;
    bool resteOuvert = false;
    QTimer::singleShot(0, this, [&] {
        auto *apercu = qobject_cast<ApercuImport *>(QApplication::activeModalWidget());
        if (!apercu)
            return;
        vu << apercu->titreAjouts->text() << apercu->ajouts->model()->index(0, 1).data().toString()
           << apercu->titreRefus->text() << apercu->refus->model()->index(0, 0).data().toString();
        requete.exec(lectureSeule ? "PRAGMA query_only = 1" : "PRAGMA query_only = 0");
        QTest::mouseClick(apercu->findChild<QPushButton *>(bouton), Qt::LeftButton);
        resteOuvert = apercu->isVisible();
        requete.exec("PRAGMA query_only = 0");
        apercu->reject();
    });
    QCOMPARE(importerObjets(nullptr, *m_base.contexte, fichier.fileName()), ajoutes);

    if (!bouton.isEmpty())
        QCOMPARE(vu,
                 QStringList(
                     {"2 objets seront ajoutés :", "Chalet <b>A</b>", "1 ligne refusée :", "4"}));
    QCOMPARE(resteOuvert, lectureSeule);
    QCOMPARE(m_base.valeur("select count(*) from OBJETS").toInt(), avant + ajoutes);
    QCOMPARE(BoiteMessage::messagesAffiches().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(BoiteMessage::messagesAffiches().first().contains(message),
                 qPrintable(BoiteMessage::messagesAffiches().first()));
}

QTEST_MAIN(TestApercuImport)
#include "tst_apercuimport.moc"

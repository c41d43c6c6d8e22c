#include "conversion/MessageErreur.h"

#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

// The French sentences of file failures, from the texts Qt and the C library really give.
class TestMessageErreur : public QObject
{
    Q_OBJECT

private slots:
    void parNumero_data();
    void parNumero();
    void parTexte_data();
    void parTexte();
    void echecsReels_data();
    void echecsReels();
};

void TestMessageErreur::parNumero_data()
{
    QTest::addColumn<int>("numero");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("a name too long") << ENAMETOOLONG << "Le nom du fichier est trop long.";
    QTest::newRow("a permission denied")
        << EACCES
        << "Accès refusé : les droits ne permettent pas d'utiliser ce fichier ou son "
           "dossier.";
    QTest::newRow("an operation not permitted") << EPERM << "Opération non permise sur ce fichier.";
    QTest::newRow("a full disk") << ENOSPC << "Le disque est plein.";
    QTest::newRow("a quota reached") << EDQUOT << "Le quota d'espace disque est atteint.";
    QTest::newRow("a missing file or folder")
        << ENOENT << "Le fichier ou son dossier n'existe pas.";
    QTest::newRow("a read-only file system") << EROFS << "Le disque est en lecture seule.";
    QTest::newRow("a folder where a file was expected")
        << EISDIR << "Ce nom est celui d'un dossier.";
    QTest::newRow("a number without a sentence gives nothing") << EBADF << QString();
}

void TestMessageErreur::parNumero()
{
    QFETCH(int, numero);
    QFETCH(QString, attendu);
    QCOMPARE(messageErrnoEnFrancais(numero), attendu);
}

void TestMessageErreur::parTexte_data()
{
    QTest::addColumn<int>("erreur");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("attendu");
    for (int numero : {ENAMETOOLONG, EACCES, EPERM, ENOSPC, EDQUOT, ENOENT, EROFS, EISDIR}) {
        QTest::addRow("Qt's text of error %d gives only its sentence", numero)
            << int(QFileDevice::OpenError) << qt_error_string(numero)
            << messageErrnoEnFrancais(numero);
    }
    QTest::newRow("the C library's text of a full disk gives its sentence")
        << int(QFileDevice::ResourceError) << QString::fromLocal8Bit(std::strerror(ENOSPC))
        << "Le disque est plein.";
    QTest::newRow("a save file refusing a folder gives the folder sentence")
        << int(QFileDevice::WriteError) << "Filename refers to a directory"
        << "Ce nom est celui d'un dossier.";
    QTest::newRow("an unknown text is kept after the French sentence")
        << int(QFileDevice::WriteError) << "Stale file handle"
        << "Le fichier ne peut pas être écrit (Stale file handle).";
    QTest::newRow("an unknown text of no known kind is kept too")
        << int(QFileDevice::UnspecifiedError) << "Bad thing"
        << "Erreur inconnue sur le fichier (Bad thing).";
    QTest::newRow("an error without a text has no empty parentheses")
        << int(QFileDevice::ReadError) << QString() << "Le fichier ne peut pas être lu.";
    QTest::newRow("no error and no text say nothing")
        << int(QFileDevice::NoError) << QString() << QString();
}

void TestMessageErreur::parTexte()
{
    QFETCH(int, erreur);
    QFETCH(QString, texte);
    QFETCH(QString, attendu);
    QCOMPARE(messageFichierEnFrancais(QFileDevice::FileError(erreur), texte), attendu);
}

void TestMessageErreur::echecsReels_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<bool>("enregistrement");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("a file in a missing folder")
        << "absent/page.html" << false << "Le fichier ou son dossier n'existe pas.";
    QTest::newRow("a name longer than the system allows")
        << QString(300, u'n') + ".html" << false << "Le nom du fichier est trop long.";
    QTest::newRow("a name longer than the system allows, saved whole")
        << QString(300, u'n') + ".html" << true << "Le nom du fichier est trop long.";
    QTest::newRow("a folder where the file goes, saved whole")
        << "dossier" << true << "Ce nom est celui d'un dossier.";
}

void TestMessageErreur::echecsReels()
{
    QFETCH(QString, nom);
    QFETCH(bool, enregistrement);
    QFETCH(QString, attendu);
    QTemporaryDir dossier;
    QVERIFY(QDir(dossier.path()).mkdir(QStringLiteral("dossier")));
    const QString chemin = dossier.filePath(nom);
    if (enregistrement) {
        // Linux may open an unnamed file in the folder and meet the name only at the commit.
        QSaveFile fichier(chemin);
        if (fichier.open(QIODevice::WriteOnly)) {
            fichier.write("x");
            QVERIFY(!fichier.commit());
        }
        QCOMPARE(messageFichierEnFrancais(fichier.error(), fichier.errorString()), attendu);
    } else {
        QFile fichier(chemin);
        QVERIFY(!fichier.open(QIODevice::WriteOnly));
        QCOMPARE(messageFichierEnFrancais(fichier.error(), fichier.errorString()), attendu);
    }
}

QTEST_GUILESS_MAIN(TestMessageErreur)
#include "tst_messageerreur.moc"

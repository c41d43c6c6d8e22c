#include "app/ValeurINI.h"
#include "web/MAJ.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMutex>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

// The update request: the folder, the settings it reads, and one download from a local FTP
// server with the program's user name.
class TestMAJ : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sansServeurRienNEstEnvoye();
    void telechargeDepuisLeServeur();

private:
    QScopedPointer<QTemporaryDir> m_dossier;
};

void TestMAJ::init()
{
    m_dossier.reset(new QTemporaryDir);
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", m_dossier->path().toUtf8());
}

void TestMAJ::sansServeurRienNEstEnvoye()
{
    MAJ fenetre;
    QCOMPARE(fenetre.Label1->text(), QStringLiteral("Mise à jour INTERNET"));
    // Twice: a folder left by the first request is no error.
    QVERIFY(!fenetre.miseajour_logiciel());
    QVERIFY(!fenetre.miseajour_logiciel());
    QVERIFY(QDir(m_dossier->filePath(QStringLiteral("versions/maj"))).exists());
    // Both keys wait in the settings file, empty, for whoever installs the program.
    QFile reglages(m_dossier->filePath(QStringLiteral("Razarivu.ini")));
    QVERIFY(reglages.open(QIODevice::ReadOnly));
    const QByteArray texte = reglages.readAll();
    QVERIFY(texte.contains("maj serveur=\r\n"));
    QVERIFY(texte.contains("maj motdepasse=\r\n"));
}

void TestMAJ::telechargeDepuisLeServeur()
{
    if (!QFile::exists(QStringLiteral("/usr/lib/python3/dist-packages/pyftpdlib")))
        QSKIP("pyftpdlib (Debian python3-pyftpdlib) is not installed");
    QTemporaryDir serveur;
    QFile fichier(QDir(serveur.path()).filePath(QStringLiteral("test.txt")));
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write("version 0.2\n");
    fichier.close();
    const int port = 20000 + int(QRandomGenerator::global()->bounded(30000));
    QProcess ftp;
    ftp.start(QStringLiteral("/usr/bin/python3"),
              {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", QString::number(port), "-u", "logiciels",
               "-P", "abcdef12345", "-d", serveur.path()});
    QVERIFY(ftp.waitForStarted());
    ValeurINI("system", "maj serveur", QStringLiteral("ftp://127.0.0.1:%1/").arg(port), QString(),
              ECRIRE);
    ValeurINI("system", "maj motdepasse", "abcdef12345", QString(), ECRIRE);

    MAJ fenetre;
    const QString recu = m_dossier->filePath(QStringLiteral("versions/maj/test.txt"));
    // The server needs a moment to listen: the request is sent again until it answers.
    QMutex verrou;
    QString erreur = QStringLiteral("en cours");
    for (int essai = 0; essai < 20; ++essai) {
        {
            QMutexLocker garde(&verrou);
            erreur = QStringLiteral("en cours");
        }
        QVERIFY(fenetre.miseajour_logiciel([&](const QString &fin) {
            QMutexLocker garde(&verrou);
            erreur = fin.isEmpty() ? QStringLiteral("ok") : fin;
        }));
        const auto fini = [&] {
            QMutexLocker garde(&verrou);
            return erreur != QStringLiteral("en cours");
        };
        QTRY_VERIFY_WITH_TIMEOUT(fini(), 40000);
        QMutexLocker garde(&verrou);
        if (erreur == QStringLiteral("ok"))
            break;
        QTest::qWait(250);
    }
    ftp.kill();
    ftp.waitForFinished();
    QCOMPARE(erreur, QStringLiteral("ok"));
    QFile lu(recu);
    QVERIFY(lu.open(QIODevice::ReadOnly));
    QCOMPARE(lu.readAll(), QByteArray("version 0.2\n"));
}

QTEST_MAIN(TestMAJ)
#include "tst_maj.moc"

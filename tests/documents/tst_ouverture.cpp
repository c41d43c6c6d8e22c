#include "documents/Ouverture.h"

#include <QTemporaryDir>
#include <QtTest>

// The desktop's programs are stood in for by scripts first on PATH that note their arguments.
class TestOuverture : public QObject
{
    Q_OBJECT

private slots:
    void courriel_data();
    void courriel();
    void ouverture();

private:
    // A folder holding `programme`, a script that notes its arguments and exits with `code`;
    // the folder alone is then the PATH.
    void remplacer(const QString &programme, int code);
    // The arguments it was given, one per element.
    QStringList arguments() const;

    QTemporaryDir m_dossier;
    int m_numero = 0;
};

void TestOuverture::remplacer(const QString &programme, int code)
{
    const QString dossier = m_dossier.filePath(QString::number(++m_numero));
    QDir().mkpath(dossier);
    QFile::remove(m_dossier.filePath(QStringLiteral("arguments")));
    if (code >= 0) {
        QFile script(dossier + u'/' + programme);
        if (!script.open(QIODevice::WriteOnly))
            return;
        script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > "
                                    "'%1'\nexit %2\n")
                         .arg(m_dossier.filePath(QStringLiteral("arguments")))
                         .arg(code)
                         .toUtf8());
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(dossier));
}

namespace {

const QString Sujet = QStringLiteral("Contrat de réservation n° 12");
const QString Corps = QStringLiteral("Bonjour,\n\nVoici votre contrat « été ».");

} // namespace

QStringList TestOuverture::arguments() const
{
    QFile fichier(m_dossier.filePath(QStringLiteral("arguments")));
    if (!fichier.open(QIODevice::ReadOnly))
        return {QStringLiteral("(not run)")};
    return QString::fromUtf8(fichier.readAll()).split(QChar(0), Qt::SkipEmptyParts);
}

void TestOuverture::courriel_data()
{
    QTest::addColumn<int>("code"); // of the script; -1: no mail program at all
    QTest::addColumn<QString>("adresse");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QStringList>("attendus");
    QTest::addColumn<QString>("refus");

    const QString piece = QStringLiteral("/srv/Contrats/Contrat-12.pdf");
    const QStringList texte {"--subject", Sujet, "--body", Corps};
    const QString aucun = QStringLiteral("Aucun programme de courrier électronique n'est configuré "
                                         "sur ce poste : le contrat est dans « %1 ».")
                              .arg(piece);
    QTest::newRow("recipient and attachment")
        << 0 << "f.dupre@example.fr" << piece
        << texte + QStringList {"--attach", piece, "f.dupre@example.fr"} << QString();
    QTest::newRow("no attachment") << 0 << "f.dupre@example.fr" << QString()
                                   << texte + QStringList {"f.dupre@example.fr"} << QString();
    QTest::newRow("no recipient") << 0 << QString() << piece
                                  << texte + QStringList {"--attach", piece} << QString();
    QTest::newRow("the mail program fails")
        << 3 << "f.dupre@example.fr" << piece << QStringList() << aucun;
    QTest::newRow("no mail program")
        << -1 << "f.dupre@example.fr" << piece << QStringList() << aucun;
}

void TestOuverture::courriel()
{
    QFETCH(int, code);
    QFETCH(QString, adresse);
    QFETCH(QString, piece);
    QFETCH(QStringList, attendus);
    QFETCH(QString, refus);

    const QByteArray path = qgetenv("PATH");
    remplacer(QStringLiteral("xdg-email"), code);
    const QString obtenu = envoyerParCourriel(adresse, Sujet, Corps, piece);
    qputenv("PATH", path);
    QCOMPARE(obtenu, refus);
    if (code == 0)
        QCOMPARE(arguments(), attendus);
}

void TestOuverture::ouverture()
{
    const QByteArray path = qgetenv("PATH");
    const QString fichier = QStringLiteral("/srv/Factures/Facture 2026-0001.pdf");
    remplacer(QStringLiteral("xdg-open"), 0);
    QCOMPARE(ouvrirDocument(fichier), QString());
    QTRY_COMPARE(arguments(), QStringList {fichier});

    remplacer(QStringLiteral("xdg-open"), -1);
    const QString refus = ouvrirDocument(fichier);
    qputenv("PATH", path);
    QCOMPARE(refus,
             QStringLiteral("Aucun programme n'est installé pour ouvrir « %1 ».").arg(fichier));
}

QTEST_GUILESS_MAIN(TestOuverture)
#include "tst_ouverture.moc"

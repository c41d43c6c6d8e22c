#include "documents/Ouverture.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

QString ouvrirDocument(const QString &chemin)
{
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (programme.isEmpty() || !QProcess::startDetached(programme, {chemin}))
        return QStringLiteral("Aucun programme n'est installé pour ouvrir « %1 ».")
            .arg(QDir::toNativeSeparators(chemin));
    return QString();
}

QString envoyerParCourriel(const QString &adresse, const QString &sujet, const QString &corps,
                           const QString &pieceJointe)
{
    QStringList arguments {QStringLiteral("--subject"), sujet, QStringLiteral("--body"), corps};
    if (!pieceJointe.isEmpty())
        arguments << QStringLiteral("--attach") << pieceJointe;
    if (!adresse.trimmed().isEmpty())
        arguments << adresse.trimmed();

    // xdg-email returns once the mail program has the message, or at once when there is none;
    // a mail program started by it may keep it until it closes: after a short wait, it is left
    // to run on its own rather than killed with the message the owner is writing, and the desk
    // is not held up.
    const QString programme = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    auto *processus = new QProcess;
    processus->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    processus->setStandardOutputFile(QProcess::nullDevice());
    bool remis = false;
    if (!programme.isEmpty()) {
        processus->start(programme, arguments);
        if (processus->waitForFinished(3000)) {
            remis = processus->exitStatus() == QProcess::NormalExit && processus->exitCode() == 0;
        } else if (processus->state() != QProcess::NotRunning) {
            QObject::connect(processus, &QProcess::finished, processus, &QObject::deleteLater);
            return QString();
        }
    }
    delete processus;
    if (remis)
        return QString();
    const QString sansPiece
        = QStringLiteral("Aucun programme de courrier électronique n'est configuré sur ce poste.");
    if (pieceJointe.isEmpty())
        return sansPiece;
    return QStringLiteral("Aucun programme de courrier électronique n'est configuré sur ce poste : "
                          "le contrat est dans « %1 ».")
        .arg(QDir::toNativeSeparators(pieceJointe));
}

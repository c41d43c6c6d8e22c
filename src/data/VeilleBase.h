#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Tells when another desk has stored something in the base. On SQLite the connection's view of
// the file's change counter (PRAGMA data_version) is read once a second: it moves only for the
// commits of other connections, so this desk's own saves never wake it. A read that finds the
// base locked is not waited for: the next one will see the change. On a PostgreSQL server
// nothing is read: the server notifies every change (LISTEN / NOTIFY), and only the other
// desks' notices count.
class VeilleBase : public QObject
{
    Q_OBJECT
public:
    explicit VeilleBase(const QString &connexion, QObject *parent = nullptr);

    void demarrer(int intervalleMs = 1000);
    void arreter();
    bool estActive() const { return m_minuterie.isActive() || m_serveur; }

    // The channel the server's triggers notify on.
    static const QString Canal;

    // Reads the counter now; true, and `changementAilleurs` sent, when it moved since the last
    // reading.
    bool verifier();

signals:
    void changementAilleurs();

private:
    QString m_connexion;
    QTimer m_minuterie;
    qint64 m_derniere = -1;
    bool m_serveur = false;
    QMetaObject::Connection m_notification;
};

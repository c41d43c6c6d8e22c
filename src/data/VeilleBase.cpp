#include "data/VeilleBase.h"

#include "data/AttenteBase.h"
#include "data/LectureDirecte.h"

#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

const QString VeilleBase::Canal = QStringLiteral("razarivu");

VeilleBase::VeilleBase(const QString &connexion, QObject *parent)
    : QObject(parent), m_connexion(connexion)
{
    connect(&m_minuterie, &QTimer::timeout, this, &VeilleBase::verifier);
}

void VeilleBase::demarrer(int intervalleMs)
{
    QSqlDatabase base = QSqlDatabase::database(m_connexion, false);
    if (base.isOpen() && base.driverName() == QLatin1String("QPSQL")) {
        // The server says it: every change of the tables ends in a NOTIFY (schema_pg.sql),
        // which comes through the connection's socket with nothing to read in between.
        // Asked again each time: a connection opened anew after a lost one listens to nothing.
        QSqlDriver *pilote = base.driver();
        if (pilote->subscribedToNotifications().contains(Canal))
            pilote->unsubscribeFromNotification(Canal);
        pilote->subscribeToNotification(Canal);
        disconnect(m_notification);
        m_notification = connect(
            pilote, &QSqlDriver::notification, this,
            [this](const QString &nom, QSqlDriver::NotificationSource source, const QVariant &) {
                if (nom == Canal && source == QSqlDriver::OtherSource)
                    emit changementAilleurs();
            });
        m_serveur = true;
        return;
    }
    m_derniere = -1;
    verifier();
    m_minuterie.start(intervalleMs);
}

void VeilleBase::arreter()
{
    m_minuterie.stop();
    QSqlDatabase base = QSqlDatabase::database(m_connexion, false);
    if (m_serveur && base.isOpen())
        base.driver()->unsubscribeFromNotification(Canal);
    m_serveur = false;
}

bool VeilleBase::verifier()
{
    sqlite3 *connexion = poigneeSqlite(QSqlDatabase::database(m_connexion, false));
    // Inside a transaction of ours the counter stands still; what others stored shows after it.
    if (!connexion || !sqlite3_get_autocommit(connexion))
        return false;
    sqlite3_stmt *requete = nullptr;
    if (sqlite3_prepare_v2(connexion, "PRAGMA data_version", -1, &requete, nullptr) != SQLITE_OK)
        return false;
    // The counter needs a glance at the file's header: never wait on another desk's lock for it.
    sqlite3_busy_handler(connexion, nullptr, nullptr);
    const int pas = sqlite3_step(requete);
    const qint64 version = pas == SQLITE_ROW ? sqlite3_column_int64(requete, 0) : -1;
    sqlite3_finalize(requete);
    attenteParDefaut(connexion);
    if (version < 0)
        return false;
    const bool change = m_derniere >= 0 && version != m_derniere;
    m_derniere = version;
    if (change)
        emit changementAilleurs();
    return change;
}

#include "data/AttenteBase.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <sqlite3.h>

namespace {

constexpr int PasMs = 10;
int attenteMaximale = 5000;

void montrerLAttente()
{
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application)
        return;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    // Handed back once the events run again, that is once the statement waited for is through.
    QTimer::singleShot(0, application, [] { QGuiApplication::restoreOverrideCursor(); });
}

// SQLite calls it again and again for one lock, `essais` counting the calls before.
int attendre(void *, int essais)
{
    if (essais == 0)
        montrerLAttente();
    if (essais * PasMs >= attenteMaximale)
        return 0;
    sqlite3_sleep(PasMs);
    return 1;
}

} // namespace

int attenteMaximaleMs()
{
    return attenteMaximale;
}

void fixerAttenteMaximale(int millisecondes)
{
    attenteMaximale = millisecondes;
}

void attenteParDefaut(sqlite3 *connexion)
{
    if (connexion)
        sqlite3_busy_handler(connexion, attendre, nullptr);
}

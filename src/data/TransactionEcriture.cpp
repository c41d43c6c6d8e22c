#include "data/TransactionEcriture.h"

#include "data/BaseDeDonnees.h"

#include <QSet>
#include <QSqlQuery>

namespace {
QSet<QString> &ouvertes()
{
    thread_local QSet<QString> connexions;
    return connexions;
}
} // namespace

bool TransactionEcriture::estOuverte(const QSqlDatabase &base)
{
    return ouvertes().contains(base.connectionName());
}

TransactionEcriture::TransactionEcriture(const QSqlDatabase &base) : m_base(base)
{
    QSqlQuery debut(m_base);
    if (m_base.driverName() == QLatin1String("QPSQL")) {
        // One writer at a time, as on a file: a lock every desk's writes take first, held until
        // the end of the transaction. What is read after it (the highest number in use) stays
        // true until the commit.
        // A server that went away and came back: the connection is opened again once.
        if (!debut.exec(QStringLiteral("BEGIN"))
            && !(BaseDeDonnees::retablir(m_base) && debut.exec(QStringLiteral("BEGIN")))) {
            m_erreur = debut.lastError();
            return;
        }
        m_enCours = true;
        ouvertes().insert(m_base.connectionName());
        if (!debut.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(VerrouEcriture))) {
            m_erreur = debut.lastError();
            annuler();
        }
        return;
    }
    // IMMEDIATE: a deferred start would let another desk write between our read and our write.
    if (debut.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_enCours = true;
        ouvertes().insert(m_base.connectionName());
    } else
        m_erreur = debut.lastError();
}

TransactionEcriture::~TransactionEcriture()
{
    annuler();
}

QSqlError TransactionEcriture::valider()
{
    if (!m_enCours)
        return m_erreur.isValid() ? m_erreur
                                  : QSqlError(QStringLiteral("Aucune écriture n'est en cours."),
                                              QString(), QSqlError::TransactionError);
    QSqlQuery fin(m_base);
    if (fin.exec(QStringLiteral("COMMIT"))) {
        m_enCours = false;
        ouvertes().remove(m_base.connectionName());
        return QSqlError();
    }
    // A commit that failed (the file locked by a reader too long, the disk full) leaves the
    // transaction open: it must be undone here, not left to swallow the next writes.
    m_erreur = fin.lastError();
    annuler();
    return m_erreur;
}

void TransactionEcriture::annuler()
{
    if (!m_enCours)
        return;
    QSqlQuery(m_base).exec(QStringLiteral("ROLLBACK"));
    m_enCours = false;
    ouvertes().remove(m_base.connectionName());
}

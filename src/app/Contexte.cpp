#include "app/Contexte.h"

#include "data/BaseDeDonnees.h"
#include "data/VeilleBase.h"

#include <QAtomicInt>

namespace {
QString nouveauNomConnexion()
{
    // Tests build several contexts in one process: each gets its own connection.
    static QAtomicInt compteur;
    const int n = compteur.fetchAndAddRelaxed(1);
    return n == 0 ? QStringLiteral("BasePlanning") : QStringLiteral("BasePlanning%1").arg(n);
}
} // namespace

Contexte::Contexte() : m_nomConnexion(nouveauNomConnexion()) { }

Contexte::~Contexte()
{
    m_veille.reset();
    BaseDeDonnees::fermer(m_nomConnexion);
}

VeilleBase &Contexte::veille()
{
    if (!m_veille)
        m_veille = std::make_unique<VeilleBase>(m_nomConnexion);
    return *m_veille;
}

QSqlDatabase Contexte::BasePlanning() const
{
    return QSqlDatabase::database(m_nomConnexion, false);
}

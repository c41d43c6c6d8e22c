#include "data/ConflitEcriture.h"

namespace {
const QString Marque = QStringLiteral("conflit");
} // namespace

QSqlError erreurConflit(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::StatementError, Marque);
}

bool estUnConflit(const QSqlError &erreur)
{
    return erreur.isValid() && erreur.nativeErrorCode() == Marque;
}

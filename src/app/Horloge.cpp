#include "app/Horloge.h"

namespace {
QDateTime &momentFixe()
{
    static QDateTime moment;
    return moment;
}
} // namespace

QDateTime Horloge::maintenant()
{
    const QDateTime &fixe = momentFixe();
    return fixe.isValid() ? fixe : QDateTime::currentDateTime();
}

QDate Horloge::aujourdhui()
{
    return maintenant().date();
}

void Horloge::fixer(const QDateTime &moment)
{
    momentFixe() = moment;
}

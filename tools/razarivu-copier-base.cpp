// razarivu-copier-base SOURCE CIBLE: copies a Razarivu base, an SQLite file or a PostgreSQL
// server's base, into a new one of either kind.
#include "data/CopieBase.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream sortie(stdout);
    QTextStream erreurs(stderr);

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 2 || arguments.first().startsWith(u'-')) {
        erreurs << "Usage : razarivu-copier-base SOURCE CIBLE\n"
                << "Copie toute une base Razarivu (fichier SQLite ou adresse\n"
                << "postgresql://utilisateur@serveur:port/base) dans une nouvelle : un fichier\n"
                << "qui n'existe pas encore, ou une base PostgreSQL vide. Les nombres de lignes\n"
                << "sont comparés table par table ; en cas d'échec, rien n'est gardé.\n";
        return 2;
    }
    QStringList compteRendu;
    const QSqlError erreur = copierBase(arguments.at(0), arguments.at(1), &compteRendu);
    if (erreur.isValid()) {
        erreurs << "razarivu-copier-base : " << erreur.text() << "\n";
        return 1;
    }
    for (const QString &ligne : compteRendu)
        sortie << ligne << "\n";
    return 0;
}

// razarivu-creer-base CHEMIN [--demo]: makes a new database file for Razarivu, or its tables in
// an empty base of a PostgreSQL server.
#include "data/CreationBase.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream erreurs(stderr);

    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool avecDemo = arguments.removeAll(QStringLiteral("--demo")) > 0;
    if (arguments.size() != 1 || arguments.first().startsWith(u'-')) {
        erreurs
            << "Usage : razarivu-creer-base CHEMIN [--demo]\n"
            << "Crée une base Razarivu vide (les tables et les états de réservation) au chemin\n"
            << "donné ; avec --demo, y ajoute des chambres, emplacements, chalets, articles du\n"
            << "bar, réservations et leurs opérations d'exemple.\n"
            << "CHEMIN peut être l'adresse d'une base PostgreSQL vide :\n"
            << "postgresql://utilisateur@serveur:port/base (mot de passe dans ~/.pgpass).\n"
            << "Un fichier existant n'est jamais remplacé, ni une base qui a déjà ses tables.\n";
        return 2;
    }

    const QSqlError erreur
        = avecDemo ? creerBase(arguments.first(), true) : creerBaseVide(arguments.first());
    if (erreur.isValid()) {
        erreurs << "razarivu-creer-base : " << erreur.text() << "\n";
        return 1;
    }
    return 0;
}

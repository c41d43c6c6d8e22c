#include "GrandeBase.h"

#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/CreationBase.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVector>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <utility>

QSqlError remplirGrandeBase(const QString &chemin, const QString &connexion, TailleSite taille)
{
    const bool grande = taille == TailleSite::Grande;
    const int nombreObjets = grande ? 1000 : 200;
    const int sejoursParObjet = grande ? 1000 : 500;
    // The large site's thousand stays per object fit in the same ten years: its history is
    // denser (shorter stays, shorter gaps), but from two months before today to seven months
    // ahead it books as the smaller site does, so that both have the same present and future
    // and differ only in objects and history.
    const QDate finDeLHistoire = Horloge::aujourdhui().addDays(-60);
    const QDate horizon = Horloge::aujourdhui().addDays(215);
    QSqlError erreur = creerBase(chemin, false);
    if (erreur.isValid())
        return erreur;
    erreur = BaseDeDonnees::ouvrir(chemin, connexion);
    if (erreur.isValid())
        return erreur;
    QSqlDatabase base = QSqlDatabase::database(connexion, false);
    QSqlQuery requete(base);
    base.transaction();
    requete.exec(QStringLiteral("DELETE FROM OBJETS"));
    requete.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom) VALUES (?, ?)"));
    for (int numero = 1; numero <= nombreObjets; ++numero) {
        requete.addBindValue(numero);
        requete.addBindValue(QStringLiteral("Emplacement %1").arg(numero));
        requete.exec();
    }
    static const char *const Noms[] = {"Martin",  "Bernard", "Dubois", "Thomas",
                                       "Robert",  "Richard", "Petit",  "Durand",
                                       "Leroy",   "Moreau",  "Simon",  "Laurent",
                                       "Lefèvre", "Michel",  "Garcia", "de La Fontaine-Beauregard"};
    QRandomGenerator hasard(20261208);
    const QDate premier = Horloge::aujourdhui().addYears(-9);
    requete.prepare(QStringLiteral(
        "INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, DateFin, arrhes, Etat, "
        "nbadultes, nbenfants, remarque, telephone, email) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?)"));
    for (int numero = 1; numero <= nombreObjets; ++numero) {
        QVector<std::pair<QDate, QDate>> dates;
        if (!grande) {
            QDate arrivee = premier.addDays(hasard.bounded(7));
            while (dates.size() < sejoursParObjet) {
                const QDate depart = arrivee.addDays(1 + hasard.bounded(6));
                dates.append({arrivee, depart});
                arrivee = depart.addDays(hasard.bounded(8));
            }
        } else {
            // The recent months forward, then the history backward until the thousand.
            for (QDate arrivee = finDeLHistoire; arrivee < horizon;) {
                const QDate depart = arrivee.addDays(1 + hasard.bounded(6));
                dates.append({arrivee, depart});
                arrivee = depart.addDays(hasard.bounded(8));
            }
            QDate depart = finDeLHistoire.addDays(-1 - hasard.bounded(3));
            while (dates.size() < sejoursParObjet) {
                const QDate arrivee = depart.addDays(-1 - hasard.bounded(4));
                dates.prepend({arrivee, depart});
                depart = arrivee.addDays(-hasard.bounded(3));
            }
        }
        for (int sejour = 0; sejour < dates.size(); ++sejour) {
            const auto &[arrivee, depart] = dates.at(sejour);
            const QString nom = QString::fromUtf8(Noms[hasard.bounded(16)]);
            requete.addBindValue(numero);
            requete.addBindValue(nom + QStringLiteral(" ") + QString::number(sejour));
            requete.addBindValue(arrivee.toString(QStringLiteral("yyyy-MM-dd 14:00:00")));
            requete.addBindValue(depart.toString(QStringLiteral("yyyy-MM-dd 12:00:00")));
            requete.addBindValue(50.0 * hasard.bounded(5));
            requete.addBindValue(1 + hasard.bounded(5));
            requete.addBindValue(1 + hasard.bounded(4));
            requete.addBindValue(hasard.bounded(3));
            requete.addBindValue(QStringLiteral(" "));
            requete.addBindValue(QStringLiteral("06 12 34 56 78 "));
            requete.addBindValue(nom.toLower() + QStringLiteral("@exemple.fr "));
            if (!requete.exec())
                return requete.lastError();
        }
    }
    base.commit();
    return QSqlError();
}

int executerSurLeGrandSite(int argc, char **argv, const QString &connexion,
                           const std::function<bool()> &completer)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
    QTemporaryDir dossier;
    const QSqlError erreur = remplirGrandeBase(dossier.filePath(QStringLiteral("grande.mdb")),
                                               connexion, TailleSite::Grande);
    if (erreur.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(erreur.text()));
        return 1;
    }
    if (completer && !completer())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    BaseDeDonnees::fermer(connexion);
    return 0;
}

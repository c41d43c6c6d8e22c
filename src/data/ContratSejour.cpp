#include "data/ContratSejour.h"

#include "app/Horloge.h"
#include "data/BaseDeDonnees.h"
#include "data/DecompteSejour.h"

#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace ContratSejour {

QString nomFichier(int reservation)
{
    return QStringLiteral("Contrat-%1.pdf").arg(reservation);
}

QSqlError preparer(const QSqlDatabase &base, int reservation, const Etablissement &etablissement,
                   Contrat &contrat, QString &prixRefuse)
{
    contrat = Contrat();
    contrat.etablissement = etablissement;
    contrat.reservation = reservation;
    contrat.date = Horloge::aujourdhui();
    prixRefuse.clear();
    QSqlQuery requete(base);
    requete.prepare(QStringLiteral(
        "SELECT RESERVATIONS.nomclient, RESERVATIONS.telephone, RESERVATIONS.email, "
        "RESERVATIONS.Objet, OBJETS.Nom, RESERVATIONS.DateDebut, RESERVATIONS.DateFin, "
        "RESERVATIONS.nbadultes, RESERVATIONS.nbenfants, RESERVATIONS.arrhes, "
        "RESERVATIONS.datelimite FROM RESERVATIONS LEFT JOIN OBJETS ON OBJETS.Numero = "
        "RESERVATIONS.Objet WHERE RESERVATIONS.NumeroReservation = ?"));
    requete.addBindValue(reservation);
    if (!requete.exec())
        return requete.lastError();
    if (!requete.next())
        return DecompteSejour::sejourDisparu(reservation);
    contrat.client = requete.value(0).toString();
    contrat.telephone = requete.value(1).toString();
    contrat.email = requete.value(2).toString().trimmed();
    contrat.objet
        = requete.value(3).toString() + QStringLiteral(" : ") + requete.value(4).toString();
    contrat.arrivee = BaseDeDonnees::dateDepuisValeur(requete.value(5));
    contrat.depart = BaseDeDonnees::dateDepuisValeur(requete.value(6));
    contrat.adultes = requete.value(7).toInt();
    contrat.enfants = requete.value(8).toInt();
    contrat.arrhes = std::llround(requete.value(9).toDouble() * 100);
    contrat.datelimite = BaseDeDonnees::dateDepuisValeur(requete.value(10)).date();
    requete.finish();

    DecompteSejour::Sejour sejour;
    QSqlError erreur = DecompteSejour::lireSejour(base, reservation, sejour);
    DecompteSejour::Decompte decompte;
    if (!erreur.isValid())
        erreur = DecompteSejour::calculerDepuisLaBase(base, sejour, etablissement.taxe, decompte);
    if (erreur.isValid())
        return erreur;
    prixRefuse = decompte.refus;
    contrat.lignes = decompte.lignes;
    return QSqlError();
}

QString sujet(const Contrat &contrat)
{
    QString texte = QStringLiteral("Contrat de réservation n° %1").arg(contrat.reservation);
    if (!contrat.etablissement.nom.trimmed().isEmpty())
        texte += QStringLiteral(" – ") + contrat.etablissement.nom.trimmed();
    return texte;
}

QString corps(const Contrat &contrat)
{
    const QString format = QStringLiteral("dd/MM/yyyy");
    QString texte
        = QStringLiteral("Bonjour,\n\nVeuillez trouver ci-joint le contrat de votre "
                         "réservation du %1 au %2, à nous retourner signé.\n\n"
                         "Cordialement,\n")
              .arg(contrat.arrivee.date().toString(format), contrat.depart.date().toString(format));
    return texte + contrat.etablissement.nom.trimmed();
}

} // namespace ContratSejour

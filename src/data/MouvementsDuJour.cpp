#include "data/MouvementsDuJour.h"

#include "conversion/MessageErreur.h"
#include "data/BaseDeDonnees.h"

#include <QHash>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <cmath>

namespace MouvementsDuJour {

namespace {

// A stored amount in cents. A value no amount can be (not a number, an infinity, beyond a
// thousand billion euros) counts for nothing rather than overflowing the sum.
qint64 centimes(const QVariant &valeur)
{
    bool lu = false;
    const double montant = valeur.toDouble(&lu);
    if (!lu || !std::isfinite(montant) || std::abs(montant) > 1e12)
        return 0;
    return qRound64(montant * 100);
}

QString erreurDeLecture(const QSqlError &erreur)
{
    const QString texte = QStringLiteral("Les arrivées et départs n'ont pas pu être lus : ")
        + messageBaseEnFrancais(erreur);
    qWarning("%s", qPrintable(texte));
    return texte;
}

QSqlError lireSejours(const QSqlDatabase &base, Sens sens, const QDate &jour,
                      QVector<Mouvement> &sejours)
{
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    if (!requete.prepare(texteDesSejours(sens)))
        return requete.lastError();
    requete.bindValue(QStringLiteral(":debut"), jour.toString(Qt::ISODate));
    requete.bindValue(QStringLiteral(":fin"), jour.addDays(1).toString(Qt::ISODate));
    if (!requete.exec())
        return requete.lastError();
    while (requete.next()) {
        Mouvement sejour;
        sejour.numero = requete.value(0).toInt();
        sejour.client = requete.value(1).toString().trimmed();
        sejour.objet = requete.value(2).toString();
        sejour.arrivee = BaseDeDonnees::dateLue(requete.value(3).toString());
        sejour.depart = BaseDeDonnees::dateLue(requete.value(4).toString());
        if (sejour.arrivee.isValid() && sejour.depart.isValid())
            sejour.nuits = int(sejour.arrivee.date().daysTo(sejour.depart.date()));
        sejour.adultes = requete.value(5).toInt();
        sejour.enfants = requete.value(6).toInt();
        sejour.arrhes = centimes(requete.value(7));
        sejours.append(sejour);
    }
    return requete.lastError();
}

// Every row is rounded to its cents before it is added, so that a balance never drifts from
// the sum of the amounts the owner typed.
QSqlError lireSoldes(const QSqlDatabase &base, Journee &journee)
{
    QVector<qint32> numeros;
    for (const QVector<Mouvement> *liste : {&journee.arrivees, &journee.departs}) {
        for (const Mouvement &sejour : *liste)
            numeros.append(sejour.numero);
    }
    if (numeros.isEmpty())
        return QSqlError();
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    if (!requete.exec(texteDesComptes(numeros)))
        return requete.lastError();
    QHash<qint32, qint64> soldes;
    while (requete.next())
        soldes[requete.value(0).toInt()] += centimes(requete.value(1));
    if (requete.lastError().isValid())
        return requete.lastError();
    for (QVector<Mouvement> *liste : {&journee.arrivees, &journee.departs}) {
        for (Mouvement &sejour : *liste)
            sejour.solde = soldes.value(sejour.numero);
    }
    return QSqlError();
}

QString nombre(int n, const char *aucun, const char *singulier, const char *pluriel)
{
    if (n == 0)
        return QString::fromUtf8(aucun);
    return QString::number(n) + u' ' + QString::fromUtf8(n == 1 ? singulier : pluriel);
}

QString cellule(const QString &texte)
{
    return QStringLiteral("<td>") + texte + QStringLiteral("</td>");
}

// Figures keep to the right edge of their column and never break across two lines.
QString celluleChiffree(const QString &texte)
{
    return QStringLiteral("<td align=\"right\" style=\"white-space: nowrap\">") + texte
        + QStringLiteral("</td>");
}

QString celluleMontant(qint64 montant)
{
    return celluleChiffree(texteMontant(montant).toHtmlEscaped());
}

QString entete(const QStringList &colonnes)
{
    QString ligne = QStringLiteral("<tr>");
    for (const QString &colonne : colonnes)
        ligne += QStringLiteral("<th bgcolor=\"#e0e0e0\" align=\"left\">") + colonne
            + QStringLiteral("</th>");
    return ligne + QStringLiteral("</tr>");
}

QString tableau(const QString &intitule, const QString &compte, const QStringList &colonnes,
                const QStringList &lignes)
{
    QString html = QStringLiteral("<h2>") + intitule + QStringLiteral("</h2><p>") + compte
        + QStringLiteral("</p>");
    if (lignes.isEmpty())
        return html;
    return html
        + QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\" "
                         "style=\"border-collapse: collapse\">")
        + entete(colonnes) + lignes.join(QString()) + QStringLiteral("</table>");
}

} // namespace

QString texteDesSejours(Sens sens)
{
    // The bounds compare with the stored text, so that the index on the date is sought; a date
    // stored without its hour sorts first in its day.
    const QString colonne
        = sens == Sens::Arrivees ? QStringLiteral("DateDebut") : QStringLiteral("DateFin");
    return QStringLiteral("SELECT R.NumeroReservation, R.nomclient, O.Nom, R.DateDebut, R.DateFin, "
                          "R.nbadultes, R.nbenfants, R.arrhes FROM RESERVATIONS AS R "
                          "LEFT JOIN OBJETS AS O ON O.Numero = R.Objet "
                          "LEFT JOIN ETATS AS E ON E.Code = R.Etat "
                          "WHERE R.%1 >= :debut AND R.%1 < :fin AND coalesce(E.occupe, 1) <> 0 "
                          "ORDER BY R.%1, O.rowid IS NULL, O.rowid, R.NumeroReservation")
        .arg(colonne);
}

QString texteDesComptes(const QVector<qint32> &numeros)
{
    // Numbers read from the base, written as numbers: nothing else can get into the text.
    QStringList liste;
    liste.reserve(numeros.size());
    for (const qint32 numero : numeros)
        liste << QString::number(numero);
    return QStringLiteral("SELECT numeroreservation, prix FROM OPERATIONS WHERE "
                          "numeroreservation IN (%1)")
        .arg(liste.join(u','));
}

Journee lire(const QSqlDatabase &base, const QDate &jour)
{
    Journee journee;
    journee.jour = jour;
    QSqlError erreur = lireSejours(base, Sens::Arrivees, jour, journee.arrivees);
    if (!erreur.isValid())
        erreur = lireSejours(base, Sens::Departs, jour, journee.departs);
    if (!erreur.isValid())
        erreur = lireSoldes(base, journee);
    if (erreur.isValid()) {
        journee.arrivees.clear();
        journee.departs.clear();
        journee.erreur = erreurDeLecture(erreur);
    }
    return journee;
}

QString texteMontant(qint64 centimes)
{
    const quint64 absolu = centimes < 0 ? 0 - quint64(centimes) : quint64(centimes);
    QString euros = QString::number(absolu / 100);
    for (qsizetype position = euros.size() - 3; position > 0; position -= 3)
        euros.insert(position, u' ');
    return (centimes < 0 ? QStringLiteral("-") : QString()) + euros + u','
        + QStringLiteral("%1").arg(absolu % 100, 2, 10, QLatin1Char('0')) + QStringLiteral(" €");
}

QString nombreArrivees(int n)
{
    return nombre(n, "Aucune arrivée", "arrivée", "arrivées");
}

QString nombreDeparts(int n)
{
    return nombre(n, "Aucun départ", "départ", "départs");
}

QString jourEnLettres(const QDate &jour)
{
    const QLocale francais(QLocale::French, QLocale::France);
    return francais.dayName(jour.dayOfWeek()) + u' '
        + (jour.day() == 1 ? QStringLiteral("1er") : QString::number(jour.day())) + u' '
        + francais.monthName(jour.month()) + u' ' + QString::number(jour.year());
}

QString titre(const QDate &jour)
{
    return QStringLiteral("Arrivées et départs du ") + jourEnLettres(jour);
}

QString nomDuFichier(const QDate &jour)
{
    return QStringLiteral("Arrivées et départs du ") + jour.toString(Qt::ISODate)
        + QStringLiteral(".pdf");
}

QString documentHtml(const Journee &journee, const QString &etablissement,
                     const QDateTime &imprimeLe)
{
    const QString intitule = titre(journee.jour).toHtmlEscaped();
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>") + intitule
        + QStringLiteral("</title></head><body>");
    if (!etablissement.trimmed().isEmpty())
        html += QStringLiteral("<p><b>") + etablissement.trimmed().toHtmlEscaped()
            + QStringLiteral("</b></p>");
    // A long day's name still holds on one line of the page.
    html += QStringLiteral("<p style=\"font-size: 15pt\"><b>") + intitule
        + QStringLiteral("</b></p>");

    QStringList arrivees;
    for (const Mouvement &sejour : journee.arrivees) {
        arrivees << QStringLiteral("<tr>") + cellule(sejour.client.toHtmlEscaped())
                + cellule(sejour.objet.toHtmlEscaped())
                + celluleChiffree(sejour.nuits < 0 ? QString() : QString::number(sejour.nuits))
                + celluleChiffree(QStringLiteral("%1 / %2").arg(sejour.adultes).arg(sejour.enfants))
                + celluleMontant(sejour.arrhes) + celluleMontant(sejour.solde)
                + QStringLiteral("</tr>");
    }
    html += tableau(QStringLiteral("Arrivées"), nombreArrivees(int(journee.arrivees.size())),
                    {QStringLiteral("Client"), QStringLiteral("Objet"), QStringLiteral("Nuits"),
                     QStringLiteral("Adultes / enfants"), QStringLiteral("Arrhes"),
                     QStringLiteral("Solde")},
                    arrivees);

    QStringList departs;
    for (const Mouvement &sejour : journee.departs) {
        departs << QStringLiteral("<tr>") + cellule(sejour.client.toHtmlEscaped())
                + cellule(sejour.objet.toHtmlEscaped()) + celluleMontant(sejour.solde)
                + QStringLiteral("</tr>");
    }
    html += tableau(QStringLiteral("Départs"), nombreDeparts(int(journee.departs.size())),
                    {QStringLiteral("Client"), QStringLiteral("Objet"), QStringLiteral("Solde")},
                    departs);

    html += QStringLiteral("<p><small>Imprimé le %1 à %2</small></p></body></html>")
                .arg(imprimeLe.toString(QStringLiteral("dd/MM/yyyy")),
                     imprimeLe.toString(QStringLiteral("HH:mm")));
    return html;
}

} // namespace MouvementsDuJour

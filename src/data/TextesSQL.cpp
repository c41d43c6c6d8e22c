#include "data/TextesSQL.h"

#include <QRegularExpression>

#include <cstdio>

namespace TextesSQL {

namespace {

// Jet reads a date between number signs month first.
QString dateJet(const QDate &jour)
{
    // Written by hand for the years of four digits: the planning writes two dates per line at
    // every redraw, and the general date formatter costs more than the query it feeds.
    if (jour.isValid() && jour.year() >= 1000 && jour.year() <= 9999) {
        char texte[16];
        std::snprintf(texte, sizeof texte, "%02d/%02d/%04d", jour.month(), jour.day(), jour.year());
        return QString::fromLatin1(texte);
    }
    return jour.toString(QStringLiteral("MM/dd/yyyy"));
}

} // namespace

QString nombreOuNull(const QString &numeroTexte)
{
    static const QRegularExpression nombre(QStringLiteral(R"(^[+-]?\d+(\.\d+)?$)"));
    if (nombre.match(numeroTexte.trimmed()).hasMatch())
        return numeroTexte;
    return QStringLiteral("Null");
}

QString etatParCode(qint32 code)
{
    return QStringLiteral("select  * from ETATS where [code] = ") + QString::number(code);
}

QString reservationsDeLObjet(qint32 objet, const QDate &fin)
{
    return QStringLiteral("SELECT RESERVATIONS.*, ETATS.Code, ETATS.Nom, ETATS.CouleurPrincipale "
                          "AS couleur FROM RESERVATIONS LEFT JOIN ETATS ON RESERVATIONS.Etat = "
                          "ETATS.Code   where ([objet] = ")
        + QString::number(objet) + QStringLiteral(") AND ([DateDebut]<#") + dateJet(fin)
        + QStringLiteral("#);");
}

QString reservationsDeLObjet(qint32 objet, const QDate &debut, const QDate &fin)
{
    // The unbounded text without its closing ");", then the bound. #12/31/9999# is the last day
    // Jet knows: no lower bound can pass it.
    return reservationsDeLObjet(objet, fin).chopped(2)
        + QStringLiteral(") AND (IIf([DateFin] Is Null, #12/31/9999#, IIf([DateFin]<[DateDebut], "
                         "[DateDebut], [DateFin]))>=#")
        + dateJet(debut) + QStringLiteral("#);");
}

QString reservationAffichee(qint32 numero)
{
    return QStringLiteral("SELECT RESERVATIONS.*, ETATS.Code, ETATS.Nom, ETATS.CouleurPrincipale "
                          "AS couleur FROM RESERVATIONS LEFT JOIN ETATS ON RESERVATIONS.Etat = "
                          "ETATS.Code WHERE [NumeroReservation] = ")
        + QString::number(numero) + u';';
}

QString reservationsPubliees(qint32 objet, const QDate &fin)
{
    return QStringLiteral("SELECT RESERVATIONS.*, ETATS.surinternet FROM RESERVATIONS LEFT JOIN "
                          "ETATS ON RESERVATIONS.Etat = ETATS.Code WHERE "
                          "(((ETATS.surinternet)=True)) AND ([objet] = ")
        + QString::number(objet) + QStringLiteral(") AND ([Datedebut]<#") + dateJet(fin)
        + QStringLiteral("#);");
}

QString reservationParNumero(const QString &numeroTexte)
{
    return QStringLiteral("select * from RESERVATIONS where [NumeroReservation] = ")
        + nombreOuNull(numeroTexte);
}

QString reservationNominative(qint32 numero)
{
    return QStringLiteral("select * from RESERVATION_NOMINATIVE where [NumeroReservation] = ")
        + QString::number(numero) + u';';
}

QString compteDeLaReservation(const QString &numeroTexte)
{
    return QStringLiteral("select * from OPERATIONS where ([numeroreservation] = ")
        + nombreOuNull(numeroTexte) + QStringLiteral(") and ([prix] <> 0) order by date;");
}

QString historiqueDeLaReservation(const QString &numeroTexte)
{
    return QStringLiteral("select * from OPERATIONS where ([numeroreservation] = ")
        + nombreOuNull(numeroTexte) + QStringLiteral(") and ([prix] = 0) order by date;");
}

QVector<TexteExemple> tousLesTextes()
{
    const QDate fin(2024, 7, 14);
    return {
        {QStringLiteral("the state list"), QString::fromLatin1(tousLesEtats)},
        {QStringLiteral("the states of the settings dialog"),
         QString::fromLatin1(etatsDuParametrage)},
        {QStringLiteral("one state by its code"), etatParCode(3)},
        {QStringLiteral("the planning lines"), QString::fromLatin1(objetsDuPlanning)},
        {QStringLiteral("the object selector"), QString::fromLatin1(objetsDuSelecteur)},
        {QStringLiteral("the objects published on the web"), QString::fromLatin1(objetsPublies)},
        {QStringLiteral("the reservations by object"), QString::fromLatin1(reservationsParObjet)},
        {QStringLiteral("the bars of one planning line"),
         reservationsDeLObjet(12, QDate(2024, 6, 13), fin)},
        {QStringLiteral("every stay of one planning line"), reservationsDeLObjet(12, fin)},
        {QStringLiteral("the published reservations of one object"), reservationsPubliees(12, fin)},
        {QStringLiteral("the reservations a new one is added to"),
         QString::fromLatin1(toutesLesReservations)},
        {QStringLiteral("the highest reservation number"), QString::fromLatin1(maximumNumero)},
        {QStringLiteral("the highest number in the journal"),
         QString::fromLatin1(maximumNumeroDuJournal)},
        {QStringLiteral("one reservation by its number"),
         reservationParNumero(QStringLiteral(" 7"))},
        {QStringLiteral("one named reservation"), reservationNominative(7)},
        {QStringLiteral("the journal rows are added to"), QString::fromLatin1(toutesLesOperations)},
        {QStringLiteral("the account of one reservation"),
         compteDeLaReservation(QStringLiteral("7"))},
        {QStringLiteral("the history of one reservation"),
         historiqueDeLaReservation(QStringLiteral("7"))},
        {QStringLiteral("the bar articles by family"),
         QString::fromLatin1(consommationsParFamille)},
    };
}

} // namespace TextesSQL

#include "data/ListeConflits.h"

#include "data/Chevauchement.h"
#include "data/LectureDirecte.h"

#include <QLocale>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

struct SejourSuivi
{
    qint32 numero = 0;
    QString client;
    PeriodeSejour periode;
    // What the stay holds, its ends in order; an invalid end runs on for ever.
    QDateTime debut, fin;
    // The same ends as wall-clock milliseconds, for the sort and the walk: comparing local
    // date-times asks the time zone each time, thousands of times a list.
    qint64 cleDebut = 0, cleFin = 0;
};

constexpr qint64 Jamais = std::numeric_limits<qint64>::max();

qint64 cle(const QDateTime &moment)
{
    if (!moment.isValid())
        return Jamais;
    return moment.date().toJulianDay() * 86400000 + moment.time().msecsSinceStartOfDay();
}

// One object's stays in the order they take it, each compared with those that follow until one
// arrives after it has left: a few comparisons per stay, not every stay against every other.
void comparer(QVector<SejourSuivi> &sejours, qint32 objet, const QString &nomObjet,
              const QDateTime &borne, QVector<PaireEnConflit> &resultat)
{
    std::sort(sejours.begin(), sejours.end(), [](const SejourSuivi &a, const SejourSuivi &b) {
        return a.cleDebut != b.cleDebut ? a.cleDebut < b.cleDebut : a.numero < b.numero;
    });
    const qsizetype premiereDeLObjet = resultat.size();
    for (qsizetype i = 0; i < sejours.size(); ++i) {
        const SejourSuivi &premier = sejours.at(i);
        for (qsizetype j = i + 1; j < sejours.size(); ++j) {
            const SejourSuivi &second = sejours.at(j);
            if (second.cleDebut >= premier.cleFin)
                break;
            if (!seChevauchent(premier.periode, second.periode))
                continue;
            PaireEnConflit paire;
            paire.objet = objet;
            paire.nomObjet = nomObjet;
            paire.premier = premier.numero;
            paire.second = second.numero;
            paire.clientPremier = premier.client.trimmed();
            paire.clientSecond = second.client.trimmed();
            paire.debutCommun = second.debut;
            paire.finCommune = premier.cleFin < second.cleFin ? premier.fin : second.fin;
            if (!paire.finCommune.isValid() || paire.finCommune > borne)
                resultat.append(paire);
        }
    }
    std::stable_sort(resultat.begin() + premiereDeLObjet, resultat.end(),
                     [](const PaireEnConflit &a, const PaireEnConflit &b) {
                         return a.debutCommun < b.debutCommun;
                     });
}

// A state gone from the list occupies, as does a stay without one: a place sold twice costs
// more than a false alarm.
bool laisseLibre(const LectureDirecte &jeu, int position, const QVector<qint64> &libres)
{
    bool lu = false;
    const double code = jeu.nombre(position, &lu);
    return lu && std::abs(code) < 1e15 && std::trunc(code) == code && libres.contains(qint64(code));
}

QString jour(const QDateTime &moment)
{
    return moment.date().toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

QString texteDesSejoursSuivis(const QDate &depuis)
{
    // The reach is the planning's expression, word for word, or SQLite reads every stay of
    // every object. The states are left to the reader: a join on ETATS costs a third of the
    // read. The bound is a whole day; the exact cut is made on the common time.
    return QStringLiteral("SELECT OBJETS.Numero, OBJETS.Nom, RESERVATIONS.NumeroReservation, "
                          "RESERVATIONS.nomclient, RESERVATIONS.DateDebut, RESERVATIONS.DateFin, "
                          "RESERVATIONS.Etat FROM OBJETS INNER JOIN RESERVATIONS ON "
                          "RESERVATIONS.Objet = OBJETS.Numero WHERE (IIf([DateFin] Is Null, "
                          "#12/31/9999#, IIf([DateFin]<[DateDebut], [DateDebut], [DateFin]))>=#")
        + depuis.toString(QStringLiteral("MM/dd/yyyy"))
        + QStringLiteral("#) ORDER BY OBJETS.rowid;");
}

QSqlError listeDesConflits(const QSqlDatabase &base, const QDate &depuis,
                           QVector<PaireEnConflit> &resultat)
{
    resultat.clear();
    if (!depuis.isValid())
        return QSqlError(QStringLiteral("Le premier jour de la liste n'est pas une date."),
                         QString(), QSqlError::StatementError);
    QVector<qint64> libres; // the codes of the states that leave the object free
    {
        QSqlQuery etats(base);
        etats.setForwardOnly(true);
        if (!etats.exec(QStringLiteral("SELECT Code FROM ETATS WHERE occupe = 0")))
            return etats.lastError();
        while (etats.next())
            libres.append(etats.value(0).toLongLong());
        if (etats.lastError().isValid())
            return etats.lastError();
    }

    LectureDirecte jeu(base);
    if (!jeu.executer(texteDesSejoursSuivis(depuis)))
        return jeu.erreur();
    const QDateTime borne = depuis.startOfDay();
    QVector<PaireEnConflit> paires;
    QVector<SejourSuivi> sejours;
    qint32 objet = 0;
    QString nomObjet;
    bool objetEnCours = false;
    bool lu = false;
    while (jeu.suivant()) {
        const qint32 numeroObjet = qint32(jeu.nombre(0, &lu));
        if (!objetEnCours || numeroObjet != objet) {
            comparer(sejours, objet, nomObjet, borne, paires);
            sejours.clear();
            objet = numeroObjet;
            nomObjet = jeu.texte(1);
            objetEnCours = true;
        }
        if (laisseLibre(jeu, 6, libres))
            continue;
        SejourSuivi sejour;
        sejour.periode.arrivee = jeu.date(4);
        // Without an arrival a stay is nowhere on the planning and holds nothing.
        if (!sejour.periode.arrivee.isValid())
            continue;
        sejour.periode.depart = jeu.date(5);
        sejour.numero = qint32(jeu.nombre(2, &lu));
        sejour.client = jeu.texte(3);
        sejour.debut = sejour.periode.arrivee;
        sejour.fin = sejour.periode.depart;
        sejour.cleDebut = cle(sejour.debut);
        sejour.cleFin = cle(sejour.fin);
        if (sejour.cleFin < sejour.cleDebut) {
            std::swap(sejour.debut, sejour.fin);
            std::swap(sejour.cleDebut, sejour.cleFin);
        }
        sejours.append(sejour);
    }
    // A read that stops half-way must not pass for a short list.
    if (jeu.erreur().isValid())
        return jeu.erreur();
    comparer(sejours, objet, nomObjet, borne, paires);
    resultat = paires;
    return QSqlError();
}

QString texteSejourEnConflit(qint32 numero, const QString &client)
{
    const QString numeroTexte = QStringLiteral("n° ") + QString::number(numero);
    return client.isEmpty() ? numeroTexte : numeroTexte + QStringLiteral(" – ") + client;
}

QString texteNuitsEnCommun(const PaireEnConflit &paire)
{
    if (!paire.finCommune.isValid())
        return QStringLiteral("à partir du ") + jour(paire.debutCommun);
    if (paire.finCommune.date() == paire.debutCommun.date())
        return QStringLiteral("le ") + jour(paire.debutCommun);
    return QStringLiteral("du ") + jour(paire.debutCommun) + QStringLiteral(" au ")
        + jour(paire.finCommune);
}

QString nombreDeConflits(qsizetype nombre)
{
    if (nombre <= 0)
        return QStringLiteral("Aucun conflit");
    if (nombre == 1)
        return QStringLiteral("1 conflit");
    return QLocale(QLocale::French, QLocale::France).toString(qint64(nombre))
        + QStringLiteral(" conflits");
}

#pragma once

#include "planning/ReservationAffichee.h"

#include <QString>
#include <QVector>

#include <functional>

// A stay stored at another desk while this one had it open: which fields the other desk changed,
// what they hold now and what is typed here, in the dialog's words.
namespace ConflitDeVersion {

// One field as the dialog's boxes show it.
struct Champ
{
    QString libelle;
    QString texte;
};

struct Difference
{
    QString libelle;
    QString leur; // as the other desk stored it
    QString votre; // as typed here
};

// The fields of a stay in the dialog's order, written as its boxes write them; `nomObjet` gives
// the object's entry of the list ("12 : Chalet 3").
QVector<Champ> champsDuSejour(const ReservationAffichee &sejour,
                              const std::function<QString(qint32)> &nomObjet);

// The fields whose stored text differs between `ouverte` (as the dialog opened it) and
// `actuelle` (as stored now), blanks around left aside, with the text typed in `saisie` (same
// order and labels).
QVector<Difference> differences(const QVector<Champ> &ouverte, const QVector<Champ> &actuelle,
                                const QVector<Champ> &saisie);

// The question put to the owner about `sujet` ("Ce séjour", "Cet objet"...).
QString texteDuConflit(const QString &sujet, const QVector<Difference> &differences);

} // namespace ConflitDeVersion

#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The account journal cannot be altered unseen: each row carries a sequence number and a
// fingerprint (SHA-256, in hex) over the previous row's fingerprint and its own fields, so that a
// row changed, removed or slipped in by hand breaks the chain from there on.
namespace ChaineJournal {

// The fingerprint of one row, from the previous one's (empty for the first). `numero` and `prix`
// are taken as stored (a number, an amount counted in cents), `date` as its stored text.
QByteArray empreinte(const QByteArray &precedente, qint64 sequence, double numero,
                     const QString &date, double prix, const QString &paiement,
                     const QString &libelle);

struct Maillon
{
    qint64 sequence = 0; // 0: the journal is empty
    QByteArray empreinte;
};

// The last row of the chain. The caller holds the write lock, so that no other desk can add its
// row in between.
QSqlError dernierMaillon(const QSqlDatabase &base, Maillon &maillon);

// Chains the rows that have no sequence yet, in the order they were written: the rows of a base
// made before the chain existed, once, at its upgrade; the rows of a demonstration base. Inside
// the caller's transaction.
QSqlError chainerLesLignesNonChainees(const QSqlDatabase &base);

struct Verification
{
    bool intact = false;
    qint64 lignes = 0;
    QString message; // "Journal intact", or the first row altered, removed or added by hand
};

// Reads the whole journal in the order of its chain and checks every fingerprint.
Verification verifier(const QSqlDatabase &base);

} // namespace ChaineJournal

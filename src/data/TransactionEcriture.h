#pragma once

#include <QSqlDatabase>
#include <QSqlError>

// Several rows written as one: all of them reach the file, or none. The write lock is taken at
// the start, so what is read inside (the highest number in use) stays true until the end: no
// other desk can write in between. Left without valider(), everything written is undone.
class TransactionEcriture
{
public:
    explicit TransactionEcriture(const QSqlDatabase &base);
    ~TransactionEcriture();
    TransactionEcriture(const TransactionEcriture &) = delete;
    TransactionEcriture &operator=(const TransactionEcriture &) = delete;

    // Why the transaction could not start (the base busy, read-only...); nothing is then written.
    QSqlError erreur() const { return m_erreur; }
    // Makes the writes durable; on failure they are all undone and the error comes back.
    QSqlError valider();

    // Whether this thread holds a write transaction on that connection: a writer called inside
    // one (the journal's, within a save) takes no other.
    static bool estOuverte(const QSqlDatabase &base);

    // The key of the server's lock every writer takes first ("Raz" in ASCII).
    static constexpr int VerrouEcriture = 0x52617a;

private:
    void annuler();

    QSqlDatabase m_base;
    QSqlError m_erreur;
    bool m_enCours = false;
};

#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVector>

#include <array>
#include <string>
#include <string_view>
#include <vector>

// Finding a client among the stays as the owner types: part of a name, of an e-mail, of a
// phone, or a reservation number. A LIKE over a million rows takes far longer than a keystroke
// may, so the searched texts are read once into memory and scanned there.

// The form both sides are compared in: lower case, accents and other marks dropped, œ, æ and ß
// written oe, ae and ss, compatibility forms (ligatures, wide letters, no-break blanks) as their
// plain letters, control characters as blanks and invisible format characters dropped. Blanks
// are kept as they are, outer ones included.
QString normaliserPourRecherche(const QString &texte);

class IndexRecherche
{
public:
    // Reads every stay (number, arrival, client name, e-mail, phone) afresh. On an error the
    // index is left empty and the error says why.
    QSqlError charger(const QSqlDatabase &base);

    // The numbers of the stays whose client name, e-mail or phone holds `texte` (blanks around
    // ignored), at most `limite`, newest arrival first and, on the same arrival, highest number
    // first; stays without a readable arrival come last. The text is taken literally, wildcards
    // and quotes included. A text of digits, blanks, dots, dashes and + also finds the phones
    // holding its digits whatever their spacing; a number without leading zero also finds the
    // stay of that number, listed first. `plusNombreux`, when given, tells whether more than
    // `limite` stays match.
    QVector<qint32> chercher(const QString &texte, int limite, bool *plusNombreux = nullptr) const;

    // How many stays are indexed.
    qsizetype taille() const { return qsizetype(m_numeros.size()); }
    // The memory the index holds, in bytes.
    qsizetype octets() const;

private:
    // Texts laid end to end, one record per stay in the index's order, each followed by a
    // separator that no searched text holds, so a match never runs from one record into the
    // next.
    struct Tampon
    {
        std::string octets;
        std::vector<quint32> debuts; // where each record starts, and one past the last
        std::array<quint32, 256> frequences {}; // of each byte, to pick the rarest ones

        void vider();
        // The records holding `aiguille`, in order, at most `limite`, appended to `trouves`.
        void chercher(std::string_view aiguille, qsizetype limite,
                      std::vector<quint32> &trouves) const;
    };

    std::vector<qint32> m_numeros; // of each record, newest arrival first
    Tampon m_textes; // name, e-mail, and the phone when it holds more than digits and separators
    Tampon m_chiffres; // the digits of the phone
};

// One stay of the result list, as the window shows it.
struct SejourTrouve
{
    qint32 numero = 0;
    QString nomclient;
    QString nomObjet; // the object's number when it has no name (or has gone)
    QDateTime arrivee, depart; // invalid when missing or unreadable
    QString nomEtat; // the state's code when it has no name (or has gone)
};

// The details of the stays `numeros`, in that order; a number that no stay has is left out. On
// an error the list is empty and `erreur`, when given, says why.
QVector<SejourTrouve> sejoursTrouves(const QSqlDatabase &base, const QVector<qint32> &numeros,
                                     QSqlError *erreur = nullptr);

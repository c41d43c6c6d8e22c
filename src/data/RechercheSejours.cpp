#include "data/RechercheSejours.h"

#include "data/BaseDeDonnees.h"
#include "data/LectureDirecte.h"

#include <QHash>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <QtAlgorithms>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Ends every field and every record; control characters never survive the folding, so no
// searched text holds it.
constexpr char Separateur = '\x1f';

void ajouterUtf8(char32_t point, std::string &sortie)
{
    if (point < 0x80) {
        sortie += char(point);
    } else if (point < 0x800) {
        sortie += char(0xC0 | (point >> 6));
        sortie += char(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        sortie += char(0xE0 | (point >> 12));
        sortie += char(0x80 | ((point >> 6) & 0x3F));
        sortie += char(0x80 | (point & 0x3F));
    } else {
        sortie += char(0xF0 | (point >> 18));
        sortie += char(0x80 | ((point >> 12) & 0x3F));
        sortie += char(0x80 | ((point >> 6) & 0x3F));
        sortie += char(0x80 | (point & 0x3F));
    }
}

// Letters that have no decomposition, yet a reader takes as a plain letter with a mark, or as
// two letters.
const char *lettreSimple(char16_t c)
{
    switch (c) {
    case u'œ':
    case u'Œ':
        return "oe";
    case u'æ':
    case u'Æ':
        return "ae";
    case u'ß':
    case u'ẞ':
        return "ss";
    case u'ø':
    case u'Ø':
        return "o";
    case u'ł':
    case u'Ł':
        return "l";
    case u'đ':
    case u'Đ':
        return "d";
    case u'ħ':
    case u'Ħ':
        return "h";
    case u'ı':
        return "i";
    default:
        return nullptr;
    }
}

bool estControle(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

// One decomposed character: marks and invisible formatting dropped, the rest in lower case.
void plierDecompose(QChar c, std::string &sortie)
{
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return;
    default:
        break;
    }
    if (const char *simple = lettreSimple(c.unicode())) {
        sortie += simple;
        return;
    }
    const char16_t plie = c.toCaseFolded().unicode();
    if (estControle(plie))
        sortie += ' ';
    else if (!QChar::isSurrogate(plie))
        ajouterUtf8(plie, sortie);
}

// The folded form of every character of the Basic Multilingual Plane, worked out once: folding
// a million stays then costs one look-up a character instead of a Unicode decomposition.
class TableDePliage
{
public:
    TableDePliage()
    {
        m_debuts.reserve(0x10001);
        m_octets.reserve(1 << 18);
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            m_debuts.push_back(quint32(m_octets.size()));
            plier(char16_t(c));
        }
        m_debuts.push_back(quint32(m_octets.size()));
        m_octets.shrink_to_fit();
    }

    std::string_view de(char32_t c) const
    {
        return std::string_view(m_octets.data() + m_debuts[c], m_debuts[c + 1] - m_debuts[c]);
    }

private:
    void plier(char16_t c)
    {
        if (estControle(c)) {
            m_octets += ' ';
        } else if (QChar::isSurrogate(c)) {
            ajouterUtf8(QChar::ReplacementCharacter, m_octets);
        } else if (const char *simple = lettreSimple(c)) {
            m_octets += simple;
        } else {
            const QString decompose = QString(QChar(c)).normalized(QString::NormalizationForm_KD);
            for (const QChar partie : decompose)
                plierDecompose(partie, m_octets);
        }
    }

    std::vector<quint32> m_debuts;
    std::string m_octets;
};

const TableDePliage &tableDePliage()
{
    static const TableDePliage table;
    return table;
}

// Appends the folded form of a UTF-8 text. Bytes that are not UTF-8 read as the replacement
// character; characters beyond the Basic Multilingual Plane (emoji) are kept as they are.
void plierUtf8(const unsigned char *texte, std::size_t taille, std::string &sortie)
{
    const TableDePliage &table = tableDePliage();
    const unsigned char *fin = texte + taille;
    for (const unsigned char *p = texte; p < fin;) {
        const unsigned char octet = *p;
        if (octet < 0x80) {
            if (octet >= 'A' && octet <= 'Z')
                sortie += char(octet - 'A' + 'a');
            else if (estControle(octet))
                sortie += ' ';
            else
                sortie += char(octet);
            ++p;
            continue;
        }
        const int longueur = octet >= 0xC2 && octet <= 0xDF ? 2
            : octet >= 0xE0 && octet <= 0xEF                ? 3
            : octet >= 0xF0 && octet <= 0xF4                ? 4
                                                            : 0;
        // Overlong forms are refused, as a decoder must.
        const char32_t minimum = longueur == 2 ? 0x80 : longueur == 3 ? 0x800 : 0x10000;
        char32_t point = octet & (0x7F >> longueur);
        bool valide = longueur > 0 && fin - p >= longueur;
        for (int i = 1; valide && i < longueur; ++i) {
            valide = (p[i] & 0xC0) == 0x80;
            point = (point << 6) | (p[i] & 0x3F);
        }
        valide
            = valide && point >= minimum && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
        if (!valide) {
            sortie += table.de(QChar::ReplacementCharacter);
            ++p;
        } else if (point > 0xFFFF) {
            sortie.append(reinterpret_cast<const char *>(p), std::size_t(longueur));
            p += longueur;
        } else {
            sortie += table.de(point);
            p += longueur;
        }
    }
}

std::string plier(const QString &texte)
{
    const QByteArray utf8 = texte.toUtf8();
    std::string plie;
    plie.reserve(std::size_t(utf8.size()));
    plierUtf8(reinterpret_cast<const unsigned char *>(utf8.constData()), std::size_t(utf8.size()),
              plie);
    return plie;
}

bool estChiffre(char c)
{
    return c >= '0' && c <= '9';
}

// What a phone number is written with.
bool estDeTelephone(std::string_view texte)
{
    return std::all_of(texte.begin(), texte.end(), [](char c) {
        return estChiffre(c) || c == ' ' || c == '.' || c == '-' || c == '+';
    });
}

std::string_view sansBlancsAutour(std::string_view texte)
{
    const std::size_t debut = texte.find_first_not_of(' ');
    if (debut == std::string_view::npos)
        return std::string_view();
    return texte.substr(debut, texte.find_last_not_of(' ') - debut + 1);
}

// The first place in [p, fin) where `aiguille` starts, or `fin`. Sixteen places are tried at
// once on two of its bytes, `a` before `b`, chosen rare: only where both match are the other
// bytes compared.
const char *trouver(const char *p, const char *fin, std::string_view aiguille, std::size_t a,
                    std::size_t b)
{
    const std::size_t longueur = aiguille.size();
    if (std::size_t(fin - p) < longueur)
        return fin;
    if (longueur == 1) {
        const void *trouve = std::memchr(p, aiguille.front(), std::size_t(fin - p));
        return trouve ? static_cast<const char *>(trouve) : fin;
    }
#if defined(__SSE2__)
    const __m128i premier = _mm_set1_epi8(aiguille[a]);
    const __m128i second = _mm_set1_epi8(aiguille[b]);
    // Both loads end at most 15 bytes after the last byte of the last place tried.
    while (std::size_t(fin - p) >= longueur + 15) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + a));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + b));
        unsigned masque = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(x, premier), _mm_cmpeq_epi8(y, second))));
        while (masque) {
            const char *place = p + qCountTrailingZeroBits(masque);
            if (std::memcmp(place, aiguille.data(), longueur) == 0)
                return place;
            masque &= masque - 1;
        }
        p += 16;
    }
#else
    Q_UNUSED(a);
    Q_UNUSED(b);
#endif
    const std::size_t place = std::string_view(p, std::size_t(fin - p)).find(aiguille);
    return place == std::string_view::npos ? fin : p + place;
}

// The digits of a stored date, "yyyy-MM-dd HH:mm:ss" or "yyyy-MM-dd", as one number that sorts
// as the date; -1 for anything else.
qint64 cleDeDate(const unsigned char *texte, int octets)
{
    static constexpr char Forme[] = "0000-00-00 00:00:00";
    if (!texte || (octets != int(sizeof(Forme)) - 1 && octets != 10))
        return -1;
    qint64 cle = 0;
    for (int i = 0; i < int(sizeof(Forme)) - 1; ++i) {
        if (i >= octets) {
            cle *= 10;
        } else if (Forme[i] != '0') {
            if (texte[i] != Forme[i])
                return -1;
        } else if (!estChiffre(char(texte[i]))) {
            return -1;
        } else {
            cle = cle * 10 + (texte[i] - '0');
        }
    }
    return cle;
}

QSqlError erreurSqlite(sqlite3 *connexion)
{
    return QSqlError(QStringLiteral("Les séjours n'ont pas pu être lus."),
                     QString::fromUtf8(sqlite3_errmsg(connexion)), QSqlError::StatementError,
                     QString::number(sqlite3_extended_errcode(connexion)));
}

// One stay as read, before the index puts them in order.
struct Lu
{
    qint64 cle;
    qint32 numero;
    quint32 ligne;
};

// Records read in table order, moved into the index's order afterwards.
struct Brouillon
{
    std::string octets;
    std::vector<quint32> debuts {0};

    void finirEnregistrement() { debuts.push_back(quint32(octets.size())); }
    std::string_view enregistrement(quint32 ligne) const
    {
        return std::string_view(octets).substr(debuts[ligne], debuts[ligne + 1] - debuts[ligne]);
    }
};

// Whether a buffer of that many bytes can still be addressed by the index's offsets.
bool tientDansLesPositions(std::size_t octets)
{
    return octets < std::numeric_limits<quint32>::max() - 1024;
}

} // namespace

QString normaliserPourRecherche(const QString &texte)
{
    const std::string plie = plier(texte);
    return QString::fromUtf8(plie.data(), qsizetype(plie.size()));
}

void IndexRecherche::Tampon::vider()
{
    octets = std::string();
    debuts = std::vector<quint32>();
    frequences.fill(0);
}

void IndexRecherche::Tampon::chercher(std::string_view aiguille, qsizetype limite,
                                      std::vector<quint32> &trouves) const
{
    if (aiguille.empty() || debuts.size() < 2)
        return;
    // The two rarest bytes of the text let the fewest places through to a full comparison.
    std::size_t a = 0, b = aiguille.size() - 1;
    if (aiguille.size() > 2) {
        const auto frequence = [this](char c) {
            return frequences[uchar(c)];
        };
        a = std::size_t(
            std::min_element(aiguille.begin(), aiguille.end(),
                             [&](char x, char y) { return frequence(x) < frequence(y); })
            - aiguille.begin());
        b = a == 0 ? 1 : 0;
        for (std::size_t i = 0; i < aiguille.size(); ++i) {
            if (i != a && frequence(aiguille[i]) < frequence(aiguille[b]))
                b = i;
        }
        if (b < a)
            std::swap(a, b);
    }
    const char *debut = octets.data();
    const char *fin = debut + octets.size();
    for (const char *p = debut; qsizetype(trouves.size()) < limite;) {
        const char *place = trouver(p, fin, aiguille, a, b);
        if (place == fin)
            break;
        const auto suivant = std::upper_bound(debuts.begin(), debuts.end(), quint32(place - debut));
        trouves.push_back(quint32(suivant - debuts.begin() - 1));
        // One match is enough for a record: the scan goes on from the next one.
        p = debut + *suivant;
    }
}

QSqlError IndexRecherche::charger(const QSqlDatabase &base)
{
    m_numeros = std::vector<qint32>();
    m_textes.vider();
    m_chiffres.vider();
    std::vector<Lu> lus;
    Brouillon textes, chiffres;
    std::string telephone;
    // A searched text never begins nor ends with a blank, so the blanks around a field can
    // never be part of a match: they are left out.
    const auto champ = [](const unsigned char *octets, int taille, std::string &sortie) {
        const std::size_t debut = sortie.size();
        plierUtf8(octets, std::size_t(std::max(taille, 0)), sortie);
        const std::size_t fin = sortie.find_last_not_of(' ');
        sortie.resize(fin == std::string::npos || fin < debut ? debut : fin + 1);
        const std::size_t premier = sortie.find_first_not_of(' ', debut);
        if (premier != std::string::npos && premier > debut)
            sortie.erase(debut, premier - debut);
    };
    struct Texte
    {
        const unsigned char *octets;
        int taille;
    };
    // One stay: its number, arrival, client, e-mail and phone as UTF-8. False when the index
    // can hold no more.
    const auto ajouter = [&](qint64 numero, Texte arrivee, Texte client, Texte email, Texte tel) {
        if (numero < std::numeric_limits<qint32>::min()
            || numero > std::numeric_limits<qint32>::max())
            return true;
        lus.push_back(
            {cleDeDate(arrivee.octets, arrivee.taille), qint32(numero), quint32(lus.size())});
        champ(client.octets, client.taille, textes.octets);
        textes.octets += Separateur;
        champ(email.octets, email.taille, textes.octets);
        textes.octets += Separateur;
        telephone.clear();
        champ(tel.octets, tel.taille, telephone);
        // A phone written with digits and separators only is found through its digits: its
        // text would only take room.
        if (!estDeTelephone(telephone)) {
            textes.octets += telephone;
            textes.octets += Separateur;
        }
        std::copy_if(telephone.begin(), telephone.end(), std::back_inserter(chiffres.octets),
                     estChiffre);
        chiffres.octets += Separateur;
        textes.finirEnregistrement();
        chiffres.finirEnregistrement();
        return tientDansLesPositions(textes.octets.size());
    };
    const QSqlError tropDeSejours(QStringLiteral("Il y a trop de séjours pour les chercher en "
                                                 "mémoire."),
                                  QString(), QSqlError::StatementError);
    const char *const Lecture
        = "SELECT NumeroReservation, DateDebut, nomclient, email, telephone FROM RESERVATIONS";

    sqlite3 *connexion = poigneeSqlite(base);
    if (!connexion && base.isOpen() && base.driverName() == QLatin1String("QPSQL")) {
        // A server sends its rows through Qt's driver: the same fields, made UTF-8 here.
        QSqlQuery requete(base);
        requete.setForwardOnly(true);
        if (!requete.exec(QString::fromLatin1(Lecture)))
            return requete.lastError();
        QByteArray champs[4];
        while (requete.next()) {
            for (int c = 0; c < 4; ++c)
                champs[c] = requete.value(c + 1).toString().toUtf8();
            const auto texte = [&champs](int c) {
                return Texte {reinterpret_cast<const unsigned char *>(champs[c].constData()),
                              int(champs[c].size())};
            };
            if (!ajouter(requete.value(0).toLongLong(), texte(0), texte(1), texte(2), texte(3)))
                return tropDeSejours;
        }
        if (requete.lastError().isValid())
            return requete.lastError();
    } else {
        if (!connexion)
            return QSqlError(QStringLiteral("La base de données n'est pas ouverte."), QString(),
                             QSqlError::ConnectionError);
        sqlite3_stmt *requete = nullptr;
        if (sqlite3_prepare_v2(connexion, Lecture, -1, &requete, nullptr) != SQLITE_OK) {
            const QSqlError erreur = erreurSqlite(connexion);
            sqlite3_finalize(requete);
            return erreur;
        }
        const auto colonne = [requete](int c) {
            return Texte {sqlite3_column_text(requete, c), sqlite3_column_bytes(requete, c)};
        };
        int pas;
        while ((pas = sqlite3_step(requete)) == SQLITE_ROW) {
            if (!ajouter(sqlite3_column_int64(requete, 0), colonne(1), colonne(2), colonne(3),
                         colonne(4))) {
                sqlite3_finalize(requete);
                return tropDeSejours;
            }
        }
        const QSqlError erreur = pas == SQLITE_DONE ? QSqlError() : erreurSqlite(connexion);
        sqlite3_finalize(requete);
        if (erreur.isValid())
            return erreur;
    }

    std::sort(lus.begin(), lus.end(), [](const Lu &x, const Lu &y) {
        return x.cle != y.cle ? x.cle > y.cle : x.numero > y.numero;
    });
    m_numeros.reserve(lus.size());
    const auto ranger = [&lus](const Brouillon &brouillon, Tampon &tampon) {
        tampon.octets.resize(brouillon.octets.size());
        tampon.debuts.reserve(lus.size() + 1);
        char *place = tampon.octets.data();
        for (const Lu &lu : lus) {
            tampon.debuts.push_back(quint32(place - tampon.octets.data()));
            const std::string_view enregistrement = brouillon.enregistrement(lu.ligne);
            std::memcpy(place, enregistrement.data(), enregistrement.size());
            place += enregistrement.size();
        }
        tampon.debuts.push_back(quint32(place - tampon.octets.data()));
        for (const char c : tampon.octets)
            ++tampon.frequences[uchar(c)];
    };
    for (const Lu &lu : lus)
        m_numeros.push_back(lu.numero);
    ranger(textes, m_textes);
    ranger(chiffres, m_chiffres);
    return QSqlError();
}

QVector<qint32> IndexRecherche::chercher(const QString &texte, int limite, bool *plusNombreux) const
{
    if (plusNombreux)
        *plusNombreux = false;
    const std::string plie = plier(texte.trimmed());
    const std::string_view aiguille = sansBlancsAutour(plie);
    if (aiguille.empty() || m_numeros.empty())
        return {};
    const qsizetype assez = qsizetype(std::max(limite, 0)) + 1;

    std::vector<quint32> trouves;
    m_textes.chercher(aiguille, assez, trouves);
    const bool telephone
        = estDeTelephone(aiguille) && std::any_of(aiguille.begin(), aiguille.end(), estChiffre);
    if (telephone) {
        std::string chiffres;
        std::copy_if(aiguille.begin(), aiguille.end(), std::back_inserter(chiffres), estChiffre);
        std::vector<quint32> parChiffres, ensemble;
        m_chiffres.chercher(chiffres, assez, parChiffres);
        // Both lists are in the index's order: their union's first places come from their own.
        std::set_union(trouves.begin(), trouves.end(), parChiffres.begin(), parChiffres.end(),
                       std::back_inserter(ensemble));
        trouves.swap(ensemble);
    }

    QVector<qint32> numeros;
    // Reservation numbers are never written with a leading zero: "0612" is a phone.
    if (aiguille.size() <= 10 && aiguille.front() != '0'
        && std::all_of(aiguille.begin(), aiguille.end(), estChiffre)) {
        qint64 valeur = 0;
        for (const char c : aiguille)
            valeur = valeur * 10 + (c - '0');
        // The stay asked for by its number comes first, whatever its arrival.
        if (valeur <= std::numeric_limits<qint32>::max()
            && std::find(m_numeros.begin(), m_numeros.end(), qint32(valeur)) != m_numeros.end())
            numeros.append(qint32(valeur));
    }
    const bool avecNumero = !numeros.isEmpty();
    for (const quint32 ligne : trouves) {
        if (numeros.size() >= assez)
            break;
        if (!avecNumero || m_numeros[ligne] != numeros.front())
            numeros.append(m_numeros[ligne]);
    }
    if (numeros.size() > std::max(limite, 0)) {
        numeros.resize(std::max(limite, 0));
        if (plusNombreux)
            *plusNombreux = true;
    }
    return numeros;
}

qsizetype IndexRecherche::octets() const
{
    const auto tampon = [](const Tampon &t) {
        return qsizetype(t.octets.capacity() + t.debuts.capacity() * sizeof(quint32)
                         + sizeof(t.frequences));
    };
    return qsizetype(sizeof(*this) + m_numeros.capacity() * sizeof(qint32)) + tampon(m_textes)
        + tampon(m_chiffres);
}

QVector<SejourTrouve> sejoursTrouves(const QSqlDatabase &base, const QVector<qint32> &numeros,
                                     QSqlError *erreur)
{
    if (erreur)
        *erreur = QSqlError();
    // Well under SQLite's limit on bound values.
    constexpr qsizetype ParRequete = 500;
    QHash<qint32, SejourTrouve> lus;
    for (qsizetype debut = 0; debut < numeros.size(); debut += ParRequete) {
        const QVector<qint32> lot = numeros.mid(debut, ParRequete);
        QSqlQuery requete(base);
        requete.setForwardOnly(true);
        bool reussi = requete.prepare(
            QStringLiteral("SELECT NumeroReservation, nomclient, Objet, NomObjet, DateDebut, "
                           "DateFin, Etat, NomEtat FROM RESERVATION_NOMINATIVE "
                           "WHERE NumeroReservation IN (%1)")
                .arg(QStringList(lot.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
        if (reussi) {
            for (const qint32 numero : lot)
                requete.addBindValue(numero);
            reussi = requete.exec();
        }
        if (!reussi) {
            if (erreur)
                *erreur = requete.lastError();
            return {};
        }
        const auto date = [&requete](int colonne) {
            const QVariant valeur = requete.value(colonne);
            return valeur.typeId() == QMetaType::QDateTime
                ? valeur.toDateTime()
                : BaseDeDonnees::dateLue(valeur.toString());
        };
        const auto nom = [&requete](int colonneNom, int colonneCode) {
            const QVariant valeur = requete.value(colonneNom);
            return valeur.isNull() ? requete.value(colonneCode).toString() : valeur.toString();
        };
        while (requete.next()) {
            SejourTrouve sejour;
            sejour.numero = requete.value(0).toInt();
            sejour.nomclient = requete.value(1).toString();
            sejour.nomObjet = nom(3, 2);
            sejour.arrivee = date(4);
            sejour.depart = date(5);
            sejour.nomEtat = nom(7, 6);
            lus.insert(sejour.numero, sejour);
        }
        if (requete.lastError().isValid()) {
            if (erreur)
                *erreur = requete.lastError();
            return {};
        }
    }
    QVector<SejourTrouve> sejours;
    sejours.reserve(numeros.size());
    for (const qint32 numero : numeros) {
        const auto trouve = lus.constFind(numero);
        if (trouve != lus.constEnd())
            sejours.append(trouve.value());
    }
    return sejours;
}

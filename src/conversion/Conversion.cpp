#include "Conversion.h"

#include <QStringView>

#include <algorithm>
#include <cmath>
#include <optional>

namespace Conversion {

namespace {

// The database's Null, as opposed to "empty" (an invalid QVariant, never assigned).
bool estNull(const QVariant &valeur)
{
    return valeur.isValid() && valeur.isNull();
}

bool estNombre(const QVariant &valeur)
{
    switch (valeur.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool estTexte(const QVariant &valeur)
{
    const int type = valeur.metaType().id();
    return type == QMetaType::QString || type == QMetaType::QChar || type == QMetaType::QByteArray;
}

// Empty and Null both read as false; nullopt when the value has no Boolean reading.
std::optional<bool> lireBooleen(const QVariant &valeur)
{
    if (!valeur.isValid() || valeur.isNull())
        return false;
    if (valeur.metaType().id() == QMetaType::Bool)
        return valeur.toBool();
    if (estNombre(valeur))
        return valeur.toDouble() != 0.0;
    if (!estTexte(valeur))
        return std::nullopt;

    const QString texte = valeur.toString().trimmed();
    if (texte.compare(u"true", Qt::CaseInsensitive) == 0
        || texte.compare(u"vrai", Qt::CaseInsensitive) == 0)
        return true;
    if (texte.compare(u"false", Qt::CaseInsensitive) == 0
        || texte.compare(u"faux", Qt::CaseInsensitive) == 0)
        return false;
    bool lu = false;
    const double nombre = texte.toDouble(&lu);
    if (lu)
        return nombre != 0.0;
    return std::nullopt;
}

// a > b under the rules of the untyped values the windows pass around: an empty value stands
// for 0 or "" next to the other one, a number is below any text, and anything compared with
// Null (or two values without an order) is not greater.
bool estPlusGrand(QVariant a, QVariant b)
{
    if (estNull(a) || estNull(b))
        return false;
    if (!a.isValid() && !b.isValid())
        return false;
    if (!a.isValid())
        a = estTexte(b) ? QVariant(QString()) : QVariant(0);
    if (!b.isValid())
        b = estTexte(a) ? QVariant(QString()) : QVariant(0);
    if (estNombre(a) && estTexte(b))
        return false;
    if (estTexte(a) && estNombre(b))
        return true;
    if (estTexte(a) && estTexte(b))
        return a.toString().compare(b.toString()) > 0;
    return QVariant::compare(a, b) == QPartialOrdering::Greater;
}

// Adds one unit to the last digit of a string of decimal digits.
void incrementerChiffres(QString &chiffres)
{
    for (qsizetype i = chiffres.size() - 1; i >= 0; --i) {
        if (chiffres[i] != u'9') {
            chiffres[i] = QChar(chiffres[i].unicode() + 1);
            return;
        }
        chiffres[i] = u'0';
    }
    chiffres.prepend(u'1');
}

// Fifteen significant digits are what the amount "as written" holds: the binary noise beyond
// them would otherwise turn 1.005 into 1.00 instead of 1.01.
QString centimesEnChiffres(double montant)
{
    const qsizetype chiffresEntiers = QString::number(std::floor(montant), 'f', 0).size();
    const int decimales = std::max<int>(2, 15 - int(chiffresEntiers));
    const QString ecrit = QString::number(montant, 'f', decimales);
    const qsizetype point = ecrit.indexOf(u'.');
    QString chiffres = ecrit.left(point) + ecrit.mid(point + 1, 2);
    if (decimales > 2 && ecrit.at(point + 3) >= u'5')
        incrementerChiffres(chiffres);
    return chiffres;
}

// The money picture has twelve digit positions in four groups of three; digits beyond them
// stay glued to the front of the first group.
QString grouperChiffres(const QString &entiers)
{
    constexpr qsizetype positions = 12;
    const qsizetype tete = entiers.size() > positions ? entiers.size() - (positions - 3)
                                                      : (entiers.size() - 1) % 3 + 1;
    QString groupe = entiers.left(tete);
    for (qsizetype i = tete; i < entiers.size(); i += 3) {
        groupe += u' ';
        groupe += QStringView(entiers).mid(i, 3);
    }
    return groupe;
}

// Reads the characters of a text one by one, stepping over the ones a number may contain
// anywhere without effect.
class LecteurNombre
{
public:
    explicit LecteurNombre(const QString &texte)
        : position(texte.constBegin()), fin(texte.constEnd())
    {
    }

    // A carriage return is not stepped over: it ends the number, as any other character does.
    QChar regarder()
    {
        while (position != fin && (*position == u' ' || *position == u'\t' || *position == u'\n'))
            ++position;
        return position == fin ? QChar() : *position;
    }

    void avancer() { ++position; }

    // Appends the digits that follow and returns how many there were.
    qsizetype lireChiffres(QString &nombre)
    {
        qsizetype lus = 0;
        for (QChar c = regarder(); c >= u'0' && c <= u'9'; c = regarder()) {
            nombre += c;
            avancer();
            ++lus;
        }
        return lus;
    }

private:
    QString::const_iterator position;
    QString::const_iterator fin;
};

} // namespace

QString Remplacer(const QString &texte, const QString &cherche, const QString &remplace)
{
    if (cherche.isEmpty())
        return texte;
    QString resultat;
    qsizetype depuis = 0;
    for (qsizetype trouve = texte.indexOf(cherche, 0, Qt::CaseInsensitive); trouve >= 0;
         trouve = texte.indexOf(cherche, depuis, Qt::CaseInsensitive)) {
        resultat += QStringView(texte).mid(depuis, trouve - depuis);
        resultat += remplace;
        depuis = trouve + cherche.size();
    }
    if (depuis == 0)
        return texte;
    resultat += QStringView(texte).mid(depuis);
    return resultat;
}

QString ExtraireChemin(const QString &chemin)
{
    for (qsizetype i = chemin.size() - 1; i >= 0; --i) {
        const QChar c = chemin.at(i);
        if (c == u'/' || c == u'\\' || c == u':')
            return chemin.left(i + 1);
    }
    return QString();
}

QVariant SiAlorsSinon(const QVariant &condition, const QVariant &siVrai, const QVariant &siFaux)
{
    return lireBooleen(condition).value_or(true) ? siVrai : siFaux;
}

bool PointDansRectangle(float x, float y, float gauche, float haut, float droite, float bas)
{
    return gauche <= x && x <= droite && haut <= y && y <= bas;
}

QVariant Maximum(const QVariant &a, const QVariant &b)
{
    return estPlusGrand(a, b) ? a : b;
}

QVariant Minimum(const QVariant &a, const QVariant &b)
{
    return estPlusGrand(a, b) ? b : a;
}

QVariant FormaterChamp(int type, const QVariant &valeur)
{
    if (type == TypeMonetaire)
        return FormatMonetaire(valeur.toDouble());
    return SansNull(valeur);
}

QString NomDuMois(qint16 mois)
{
    static const QString noms[] = {
        QStringLiteral("Janvier"), QStringLiteral("Février"),  QStringLiteral("Mars"),
        QStringLiteral("Avril"),   QStringLiteral("Mai"),      QStringLiteral("Juin"),
        QStringLiteral("Juillet"), QStringLiteral("Août"),     QStringLiteral("Septembre"),
        QStringLiteral("Octobre"), QStringLiteral("Novembre"), QStringLiteral("Décembre"),
    };
    if (mois < 1 || mois > 12)
        return QString();
    return noms[mois - 1];
}

QVariant NumeroDuMois(const QString &nom)
{
    for (qint16 mois = 1; mois <= 12; ++mois) {
        if (NomDuMois(mois) == nom)
            return QVariant::fromValue<qint16>(mois);
    }
    return QVariant();
}

QVariant SansNull(const QVariant &valeur)
{
    return estNull(valeur) ? QVariant(QStringLiteral("")) : valeur;
}

QString ExtraireChamp(const QString &texte, const QString &separateur, qint16 n)
{
    if (separateur.isEmpty() || n < 1)
        return QString();
    qsizetype debut = 0;
    for (qint16 champ = 1; champ < n; ++champ) {
        const qsizetype trouve = texte.indexOf(separateur, debut);
        if (trouve < 0)
            return QString();
        debut = trouve + separateur.size();
    }
    const qsizetype fin = texte.indexOf(separateur, debut);
    return texte.mid(debut, fin < 0 ? -1 : fin - debut);
}

QString NettoyerNom(const QString &texte)
{
    static const QString interdits[] = {
        QStringLiteral(" "),  QStringLiteral("'"), QStringLiteral("%"), QStringLiteral("-"),
        QStringLiteral("+"),  QStringLiteral(","), QStringLiteral("="), QStringLiteral("@"),
        QStringLiteral("*"),  QStringLiteral("("), QStringLiteral(")"), QStringLiteral("/"),
        QStringLiteral("\\"),
    };
    QString nom = texte;
    for (const QString &interdit : interdits)
        nom = Remplacer(nom, interdit, QStringLiteral("_"));
    return nom;
}

double ValeurNumerique(const QString &texte)
{
    LecteurNombre lecteur(texte);
    QString nombre;
    if (lecteur.regarder() == u'+' || lecteur.regarder() == u'-') {
        nombre += lecteur.regarder();
        lecteur.avancer();
    }
    qsizetype chiffres = lecteur.lireChiffres(nombre);
    if (lecteur.regarder() == u'.') {
        nombre += u'.';
        lecteur.avancer();
        chiffres += lecteur.lireChiffres(nombre);
    }
    if (chiffres == 0)
        return 0.0;

    if (lecteur.regarder() == u'e' || lecteur.regarder() == u'E') {
        lecteur.avancer();
        QString exposant = QStringLiteral("e");
        if (lecteur.regarder() == u'+' || lecteur.regarder() == u'-') {
            exposant += lecteur.regarder();
            lecteur.avancer();
        }
        if (lecteur.lireChiffres(exposant) > 0)
            nombre += exposant;
    }
    // Beyond the range of a double this gives an infinity of the number's sign, below it 0.
    return nombre.toDouble();
}

QString FormatMonetaire(double valeur)
{
    if (!std::isfinite(valeur))
        return QStringLiteral("0,00 €");
    const QString chiffres = centimesEnChiffres(std::fabs(valeur));
    const QString entiers = chiffres.left(chiffres.size() - 2);
    const bool negatif = valeur < 0 && chiffres.count(u'0') != chiffres.size();
    return (negatif ? QStringLiteral("-") : QString()) + grouperChiffres(entiers) + u','
        + chiffres.right(2) + QStringLiteral(" €");
}

} // namespace Conversion

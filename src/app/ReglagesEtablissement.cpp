#include "app/ReglagesEtablissement.h"

#include "app/ValeurINI.h"
#include "data/ArticlesBar.h"

QStringList Etablissement::manquePourFacturer() const
{
    QStringList manque;
    const std::pair<const QString *, const char *> exiges[] = {
        {&nom, "le nom"},     {&adresse, "l'adresse"},     {&codePostal, "le code postal"},
        {&ville, "la ville"}, {&siret, "le numéro SIRET"},
    };
    for (const auto &[texte, quoi] : exiges) {
        if (texte->trimmed().isEmpty())
            manque << QString::fromUtf8(quoi);
    }
    return manque;
}

namespace ReglagesEtablissement {

namespace {

const QString Section = QStringLiteral("etablissement");

struct CleTexte
{
    const char *cle;
    QString Etablissement::*champ;
    const char *libelle; // as the settings tab names it
    bool long_ = false; // over several keys
};

const CleTexte Textes[] = {
    {"nom", &Etablissement::nom, "Nom"},
    {"adresse", &Etablissement::adresse, "Adresse"},
    {"codepostal", &Etablissement::codePostal, "Code postal"},
    {"ville", &Etablissement::ville, "Ville"},
    {"telephone", &Etablissement::telephone, "Téléphone"},
    {"email", &Etablissement::email, "E-mail"},
    {"siret", &Etablissement::siret, "SIRET"},
    {"tva", &Etablissement::numeroTva, "N° TVA"},
    {"mentions", &Etablissement::mentions, "Mentions de la facture", true},
    {"conditions", &Etablissement::conditions, "Conditions du contrat", true},
};

// A piece of a long text: well within what the file gives back, whatever its escapes.
constexpr int Morceau = 500;

QString lireCle(const QString &cle)
{
    return ValeurINI(Section, cle, QString(), QString(), LIRE);
}
QString lireCle(const char *cle)
{
    return lireCle(QLatin1String(cle));
}

void ecrireCle(const QString &cle, const QString &valeur)
{
    ValeurINI(Section, cle, valeur, QString(), ECRIRE);
}
void ecrireCle(const char *cle, const QString &valeur)
{
    ecrireCle(QLatin1String(cle), valeur);
}

QString cleDuMorceau(const char *cle, int rang)
{
    return rang == 0 ? QLatin1String(cle) : QLatin1String(cle) + QString::number(rang + 1);
}

// The pieces are read until one is missing or empty.
QString lireLong(const char *cle)
{
    QString ligne = lireCle(cle);
    for (int rang = 1; rang * Morceau < LongueurTexteLong + Morceau; ++rang) {
        const QString suite = lireCle(cleDuMorceau(cle, rang));
        if (suite.isEmpty())
            break;
        ligne += suite;
    }
    return ligne;
}

// Never cut between a backslash and what it escapes; a shorter text empties the pieces it no
// longer needs.
void ecrireLong(const char *cle, const QString &ligne)
{
    QStringList morceaux {QString()};
    for (qsizetype i = 0; i < ligne.size();) {
        const qsizetype taille = ligne.at(i) == u'\\' && i + 1 < ligne.size() ? 2 : 1;
        if (morceaux.last().size() + taille > Morceau)
            morceaux.append(QString());
        morceaux.last() += QStringView(ligne).mid(i, taille);
        i += taille;
    }
    int rang = 0;
    for (; rang < morceaux.size(); ++rang)
        ecrireCle(cleDuMorceau(cle, rang), morceaux.at(rang));
    for (; !lireCle(cleDuMorceau(cle, rang)).isEmpty(); ++rang)
        ecrireCle(cleDuMorceau(cle, rang), QString());
}

qint64 lireMontant(const char *cle, qint64 defaut)
{
    const ArticlesBar::LectureNombre lu = ArticlesBar::lirePrix(lireCle(cle));
    return lu.acceptee() ? lu.valeur : defaut;
}

int lireTaux(const char *cle, int defaut, int minimum)
{
    const ArticlesBar::LectureNombre lu = ArticlesBar::lireTaux(lireCle(cle));
    return lu.acceptee() && lu.valeur >= minimum ? int(lu.valeur) : defaut;
}

// "5,5": the rate without its sign, as the owner would type it in the file.
QString texteTaux(int centiemes)
{
    return ArticlesBar::texteTaux(centiemes).chopped(2);
}

} // namespace

Etablissement lire()
{
    Etablissement etablissement;
    for (const CleTexte &texte : Textes)
        etablissement.*texte.champ
            = depuisUneLigne(texte.long_ ? lireLong(texte.cle) : lireCle(texte.cle));
    Tarification::ReglageTaxe &taxe = etablissement.taxe;
    const Tarification::ReglageTaxe defaut;
    if (lireCle("taxemode").trimmed().compare(QLatin1String("pourcentage"), Qt::CaseInsensitive)
        == 0)
        taxe.mode = Tarification::ReglageTaxe::Mode::Pourcentage;
    taxe.tarifFixe = lireMontant("taxetarif", defaut.tarifFixe);
    // The law allows 1 to 5 %: a rate beyond is not one the commune can have voted.
    taxe.pourcentage = lireTaux("taxepourcentage", defaut.pourcentage, 100);
    if (taxe.pourcentage > 500)
        taxe.pourcentage = defaut.pourcentage;
    taxe.plafond = lireMontant("taxeplafond", defaut.plafond);
    taxe.majoration = lireTaux("taxemajoration", defaut.majoration, 0);
    return etablissement;
}

void ecrire(const Etablissement &etablissement)
{
    for (const CleTexte &texte : Textes) {
        if (texte.long_)
            ecrireLong(texte.cle, enUneLigne(etablissement.*texte.champ));
        else
            ecrireCle(texte.cle, enUneLigne(etablissement.*texte.champ));
    }
    const Tarification::ReglageTaxe &taxe = etablissement.taxe;
    ecrireCle("taxemode",
              taxe.mode == Tarification::ReglageTaxe::Mode::Pourcentage
                  ? QStringLiteral("pourcentage")
                  : QStringLiteral("fixe"));
    ecrireCle("taxetarif", ArticlesBar::montant(taxe.tarifFixe));
    ecrireCle("taxepourcentage", texteTaux(taxe.pourcentage));
    ecrireCle("taxeplafond", ArticlesBar::montant(taxe.plafond));
    ecrireCle("taxemajoration", texteTaux(taxe.majoration));
}

int longueurPermise(QString Etablissement::*champ)
{
    for (const CleTexte &texte : Textes) {
        if (texte.champ == champ)
            return texte.long_ ? LongueurTexteLong : LongueurMaximale;
    }
    return LongueurMaximale;
}

QString refus(const Etablissement &etablissement)
{
    const Tarification::ReglageTaxe &taxe = etablissement.taxe;
    if (taxe.pourcentage < 100 || taxe.pourcentage > 500)
        return QStringLiteral("Le pourcentage de la taxe de séjour doit être compris entre 1 et "
                              "5 %.");
    if (taxe.majoration < 0 || taxe.majoration > 10000)
        return QStringLiteral("La taxe additionnelle départementale doit être comprise entre 0 et "
                              "100 %.");
    if (taxe.tarifFixe < 0 || taxe.plafond < 0)
        return QStringLiteral("Les montants de la taxe de séjour ne peuvent pas être négatifs.");
    for (const CleTexte &texte : Textes) {
        const qsizetype longueur = enUneLigne(etablissement.*texte.champ).size();
        if (longueur > longueurPermise(texte.champ))
            return QStringLiteral("Le texte « %1 » est trop long : %2 caractères au plus, chaque "
                                  "saut de ligne comptant pour deux (%3 ici).")
                .arg(QString::fromUtf8(texte.libelle))
                .arg(longueurPermise(texte.champ))
                .arg(longueur);
    }
    return QString();
}

QString enUneLigne(const QString &texte)
{
    QString ligne;
    ligne.reserve(texte.size());
    for (const QChar c : texte) {
        if (c == u'\\')
            ligne += QStringLiteral("\\\\");
        else if (c == u'\n')
            ligne += QStringLiteral("\\n");
        else if (c == u'\r')
            ligne += QStringLiteral("\\r");
        else
            ligne += c;
    }
    return ligne;
}

QString depuisUneLigne(const QString &ligne)
{
    QString texte;
    texte.reserve(ligne.size());
    for (qsizetype i = 0; i < ligne.size(); ++i) {
        const QChar c = ligne.at(i);
        const QChar suivant = i + 1 < ligne.size() ? ligne.at(i + 1) : QChar();
        if (c != u'\\' || (suivant != u'n' && suivant != u'r' && suivant != u'\\')) {
            texte += c;
            continue;
        }
        texte += suivant == u'n' ? QChar(u'\n') : suivant == u'r' ? QChar(u'\r') : QChar(u'\\');
        ++i;
    }
    return texte;
}

} // namespace ReglagesEtablissement

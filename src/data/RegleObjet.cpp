#include "data/RegleObjet.h"

#include <limits>

namespace RegleObjet {

namespace {

Lecture acceptee(const QVariant &valeur)
{
    return {valeur, QString()};
}

Lecture refusee(const QString &raison)
{
    return {QVariant(), raison};
}

bool queDesChiffres(QStringView texte)
{
    for (const QChar c : texte) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return !texte.isEmpty();
}

bool aUnCaractereDeControle(QStringView texte)
{
    for (const QChar c : texte) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

QString refusDuTexte(const QString &texte, const QString &quoi)
{
    return refusDUnTexte(texte, quoi, LongueurMaximale);
}

Lecture texteFacultatif(const QString &texte, const QString &quoi)
{
    const QString refus = refusDuTexte(texte, quoi);
    if (!refus.isEmpty())
        return refusee(refus);
    return acceptee(texte.trimmed().isEmpty() ? QVariant() : QVariant(texte));
}

} // namespace

// Every text field: not too long, and no line break or tab, which the planning's one-line
// name and the lists of the settings cannot show.
QString refusDUnTexte(const QString &texte, const QString &quoi, int longueurMaximale)
{
    if (texte.size() > longueurMaximale)
        return QStringLiteral("%1 ne peut pas dépasser %2 caractères (%3 saisis).")
            .arg(quoi)
            .arg(longueurMaximale)
            .arg(texte.size());
    if (aUnCaractereDeControle(texte))
        return QStringLiteral("%1 ne peut contenir ni saut de ligne ni tabulation.").arg(quoi);
    return QString();
}

QString refusDUnTexteObligatoire(const QString &texte, const QString &quoi, int longueurMaximale)
{
    if (texte.trimmed().isEmpty())
        return QStringLiteral("%1 ne peut pas être vide.").arg(quoi);
    return refusDUnTexte(texte, quoi, longueurMaximale);
}

Lecture numero(const QString &texte)
{
    const QString nombre = texte.trimmed();
    if (nombre.isEmpty())
        return refusee(QStringLiteral("Le numéro ne peut pas être vide."));
    const bool negatif = nombre.startsWith(u'-');
    if (!queDesChiffres(QStringView(nombre).mid(negatif || nombre.startsWith(u'+') ? 1 : 0)))
        return refusee(QStringLiteral("Le numéro doit être un nombre entier, sans lettre ni "
                                      "virgule (« %1 »).")
                           .arg(nombre.left(20)));
    if (negatif)
        return refusee(QStringLiteral("Le numéro doit être supérieur à zéro."));
    bool lu = false;
    const qulonglong valeur = nombre.toULongLong(&lu);
    if (!lu || valeur > qulonglong(std::numeric_limits<qint32>::max()))
        return refusee(QStringLiteral("Le numéro ne peut pas dépasser %1.")
                           .arg(std::numeric_limits<qint32>::max()));
    if (valeur == 0)
        return refusee(QStringLiteral("Le numéro doit être supérieur à zéro."));
    return acceptee(qint32(valeur));
}

Lecture nom(const QString &texte)
{
    if (texte.trimmed().isEmpty())
        return refusee(QStringLiteral("Le nom ne peut pas être vide."));
    const QString refus = refusDuTexte(texte, QStringLiteral("Le nom"));
    return refus.isEmpty() ? acceptee(texte) : refusee(refus);
}

Lecture nomInternet(const QString &texte)
{
    return texteFacultatif(texte, QStringLiteral("Le nom sur Internet"));
}

Lecture fichierPlanningHTML(const QString &texte)
{
    const Lecture lecture = texteFacultatif(texte, QStringLiteral("Le nom de fichier"));
    if (!lecture.acceptee() || lecture.valeur.isNull())
        return lecture;
    const QString fichier = texte.trimmed();
    if (fichier.contains(u'/') || fichier.contains(u'\\'))
        return refusee(QStringLiteral("Le nom de fichier ne peut contenir ni « / » ni « \\ » : "
                                      "les pages sont toutes écrites dans le dossier du "
                                      "programme."));
    if (!fichier.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)
        && !fichier.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
        return refusee(QStringLiteral("Le nom de fichier doit se terminer par .html ou .htm."));
    if (fichier.startsWith(u'.'))
        return refusee(QStringLiteral("Le nom de fichier ne peut pas commencer par un point."));
    return acceptee(fichier);
}

Lecture categorie(const QString &texte)
{
    const Lecture lecture = texteFacultatif(texte, QStringLiteral("La catégorie"));
    return lecture.acceptee() && !lecture.valeur.isNull() ? acceptee(texte.trimmed()) : lecture;
}

Lecture capacite(const QString &texte)
{
    const QString nombre = texte.trimmed();
    if (nombre.isEmpty())
        return acceptee(QVariant());
    bool lu = false;
    const int valeur = nombre.toInt(&lu);
    if (!queDesChiffres(nombre) || !lu || valeur < 1 || valeur > CapaciteMaximale)
        return refusee(QStringLiteral("La capacité doit être un nombre de personnes, de 1 à %1 "
                                      "(ou rien).")
                           .arg(CapaciteMaximale));
    return acceptee(valeur);
}

QString numeroDejaUtilise(qint32 numero, const QString &nomDuTitulaire)
{
    return QStringLiteral("Le numéro %1 est déjà utilisé par « %2 ».")
        .arg(numero)
        .arg(nomDuTitulaire);
}

} // namespace RegleObjet

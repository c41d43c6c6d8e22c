#include "data/ImportObjets.h"

#include "conversion/MessageErreur.h"
#include "data/RegleObjet.h"
#include "data/TransactionEcriture.h"

#include <QFile>
#include <QLocale>
#include <QSqlQuery>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

const QString EnteteAttendue = QStringLiteral("Numero;Nom;Categorie;Capacite");
constexpr int LongueurContenu = 80;

// A file saved as text by a spreadsheet holds no NUL and hardly a control character; a few
// are let through for the odd stray form feed or end-of-file mark of older programs.
constexpr qsizetype DebutExamine = 4096;
constexpr int ControlesToleres = 4;

// Windows-1252 where it differs from Latin-1; the five codes it leaves undefined stay Latin-1.
const char16_t Windows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool estDuTexte(QByteArrayView octets)
{
    if (!octets.isEmpty() && std::memchr(octets.data(), 0, size_t(octets.size())))
        return false;
    int controles = 0;
    for (const char octet : octets.first(std::min(octets.size(), DebutExamine))) {
        const auto c = uchar(octet);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
            ++controles;
    }
    return controles <= ControlesToleres;
}

// UTF-8 when every byte sequence is one; otherwise the file comes from an older spreadsheet
// that saved in the Windows code page, which we decode ourselves so as not to depend on the
// codecs the Qt build happens to carry.
QString decoder(QByteArrayView octets)
{
    if (octets.startsWith("\xEF\xBB\xBF"))
        octets = octets.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString texte = utf8.decode(octets);
    if (!utf8.hasError())
        return texte;
    texte.resize(octets.size());
    QChar *caractere = texte.data();
    for (const char octet : octets) {
        const auto c = uchar(octet);
        *caractere++ = c >= 0x80 && c < 0xA0 ? QChar(Windows1252[c - 0x80]) : QChar(c);
    }
    return texte;
}

// The separator of the header line, the first line holding more than blanks.
QChar separateurDe(QStringView texte)
{
    qsizetype debut = 0;
    while (debut < texte.size()) {
        qsizetype fin = debut;
        while (fin < texte.size() && texte[fin] != u'\n' && texte[fin] != u'\r')
            ++fin;
        const QStringView ligne = texte.sliced(debut, fin - debut);
        if (!ligne.trimmed().isEmpty())
            return ligne.contains(u';') ? u';' : u',';
        debut = fin + 1;
    }
    return u';';
}

// One row of the spreadsheet: its cells, and where its text stands in the file's.
struct Rangee
{
    QStringList cellules;
    qsizetype debut = 0;
    qsizetype fin = 0;
    bool guillemetOuvert = false;

    bool vide() const
    {
        for (const QString &cellule : cellules) {
            if (!cellule.trimmed().isEmpty())
                return false;
        }
        return true;
    }
};

// Reads the rows one after the other, as a spreadsheet writes them: a cell may be quoted, a
// doubled quote in it is a quote, and a separator or a line break in it belongs to the cell.
class LecteurCsv
{
public:
    LecteurCsv(QStringView texte, QChar separateur) : m_texte(texte), m_separateur(separateur) { }

    bool fini() const { return m_position >= m_texte.size(); }

    Rangee suivante()
    {
        Rangee rangee;
        rangee.debut = m_position;
        QString cellule;
        bool citee = false, dansGuillemets = false;
        while (m_position < m_texte.size()) {
            const QChar c = m_texte[m_position++];
            if (dansGuillemets) {
                if (c != u'"')
                    cellule += c;
                else if (m_position < m_texte.size() && m_texte[m_position] == u'"')
                    cellule += m_texte[m_position++];
                else
                    dansGuillemets = false;
            } else if (c == m_separateur) {
                rangee.cellules.append(cellule);
                cellule.clear();
                citee = false;
            } else if (c == u'\n' || c == u'\r') {
                rangee.fin = m_position - 1;
                if (c == u'\r' && m_position < m_texte.size() && m_texte[m_position] == u'\n')
                    ++m_position;
                rangee.cellules.append(cellule);
                return rangee;
            } else if (c == u'"' && !citee && cellule.trimmed().isEmpty()) {
                // Blanks before the opening quote are the spreadsheet's padding, not the text.
                cellule.clear();
                citee = dansGuillemets = true;
            } else {
                cellule += c;
            }
        }
        rangee.fin = m_position;
        rangee.guillemetOuvert = dansGuillemets;
        rangee.cellules.append(cellule);
        return rangee;
    }

private:
    QStringView m_texte;
    QChar m_separateur;
    qsizetype m_position = 0;
};

// Column names compared as the owner means them: "Numéro ", "NUMERO" and "numero" alike.
QString cleDeColonne(const QString &nom)
{
    const QString decompose = nom.trimmed().normalized(QString::NormalizationForm_D);
    QString cle;
    cle.reserve(decompose.size());
    for (const QChar c : decompose) {
        if (c.category() != QChar::Mark_NonSpacing)
            cle += c.toCaseFolded();
    }
    return cle;
}

QString debutDe(QStringView texte)
{
    QString debut = texte.left(LongueurContenu).toString();
    for (QChar &c : debut) {
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    }
    return texte.size() > LongueurContenu ? debut + u'…' : debut;
}

struct Colonnes
{
    int numero = -1, nom = -1, categorie = -1, capacite = -1;
    QStringList noms; // as the header spells them
};

Colonnes colonnesDe(const QStringList &entete)
{
    Colonnes colonnes;
    for (int i = 0; i < entete.size(); ++i) {
        const QString cle = cleDeColonne(entete[i]);
        int *colonne = cle == u"numero" ? &colonnes.numero
            : cle == u"nom"             ? &colonnes.nom
            : cle == u"categorie"       ? &colonnes.categorie
            : cle == u"capacite"        ? &colonnes.capacite
                                        : nullptr;
        if (colonne && *colonne < 0)
            *colonne = i;
        colonnes.noms.append(entete[i].trimmed());
    }
    return colonnes;
}

QString refusDeLEntete(const Colonnes &colonnes, QStringView ligne)
{
    QStringList manquantes;
    if (colonnes.numero < 0)
        manquantes << QStringLiteral("« Numero »");
    if (colonnes.nom < 0)
        manquantes << QStringLiteral("« Nom »");
    if (manquantes.isEmpty())
        return QString();
    const QString quoi = manquantes.size() == 1
        ? QStringLiteral("La colonne %1 manque").arg(manquantes[0])
        : QStringLiteral("Les colonnes %1 et %2 manquent").arg(manquantes[0], manquantes[1]);
    return QStringLiteral("%1 dans la ligne d'en-tête (« %2 »). La première ligne du fichier doit "
                          "nommer ses colonnes, ainsi : %3 (les deux dernières sont "
                          "facultatives, dans n'importe quel ordre).")
        .arg(quoi, debutDe(ligne), EnteteAttendue);
}

// Why the row cannot become an object, or an empty text; `vus` keeps the first line of each
// number the file gives, so that a second one points to it.
QString refusDeLaRangee(const Rangee &rangee, int ligne, const Colonnes &colonnes,
                        const QHash<qint32, QString> &numerosPris, QHash<qint32, int> &vus,
                        LigneImportee &objet)
{
    for (const int colonne : {colonnes.numero, colonnes.nom}) {
        if (colonne >= rangee.cellules.size())
            return QStringLiteral("La colonne %1 manque sur cette ligne.")
                .arg(colonnes.noms[colonne]);
    }
    if (rangee.guillemetOuvert)
        return QStringLiteral("Un guillemet ouvert sur cette ligne n'est jamais fermé : la fin du "
                              "fichier a été lue comme une seule cellule.");
    const RegleObjet::Lecture numero = RegleObjet::numero(rangee.cellules[colonnes.numero]);
    if (!numero.acceptee())
        return numero.refus;
    objet.numero = numero.valeur.toInt();
    if (const auto titulaire = numerosPris.constFind(objet.numero); titulaire != numerosPris.cend())
        return RegleObjet::numeroDejaUtilise(objet.numero, *titulaire);
    if (const auto premiere = vus.constFind(objet.numero); premiere != vus.cend())
        return QStringLiteral("Le numéro %1 figure déjà à la ligne %2 du fichier.")
            .arg(objet.numero)
            .arg(*premiere);
    vus.insert(objet.numero, ligne);

    const RegleObjet::Lecture nom = RegleObjet::nom(rangee.cellules[colonnes.nom]);
    if (!nom.acceptee())
        return nom.refus;
    objet.nom = nom.valeur.toString();
    // A spreadsheet may leave out the empty cells at the end of a row: a short row only lacks
    // what is optional, which is then empty.
    const auto facultative = [&](int colonne, RegleObjet::Lecture (*regle)(const QString &)) {
        return regle(colonne >= 0 && colonne < rangee.cellules.size() ? rangee.cellules[colonne]
                                                                      : QString());
    };
    const RegleObjet::Lecture categorie = facultative(colonnes.categorie, RegleObjet::categorie);
    if (!categorie.acceptee())
        return categorie.refus;
    objet.categorie = categorie.valeur;
    const RegleObjet::Lecture capacite = facultative(colonnes.capacite, RegleObjet::capacite);
    if (!capacite.acceptee())
        return capacite.refus;
    objet.capacite = capacite.valeur;
    return QString();
}

ApercuImportation refusGlobal(const QString &raison)
{
    ApercuImportation apercu;
    apercu.refusGlobal = raison;
    return apercu;
}

QSqlError numerosDeLaBase(const QSqlDatabase &base, QHash<qint32, QString> &numeros)
{
    QSqlQuery requete(base);
    requete.setForwardOnly(true);
    if (!requete.exec(QStringLiteral("SELECT Numero, Nom FROM OBJETS")))
        return requete.lastError();
    while (requete.next())
        numeros.insert(requete.value(0).toInt(), requete.value(1).toString());
    return requete.lastError();
}

} // namespace

ApercuImportation lireListeObjets(const QByteArray &contenu,
                                  const QHash<qint32, QString> &numerosPris)
{
    if (contenu.size() > TailleMaximaleImport)
        return refusGlobal(QStringLiteral("Ce fichier est trop gros pour une liste d'objets : "
                                          "5 Mo au plus."));
    if (!estDuTexte(contenu))
        return refusGlobal(QStringLiteral("Ce fichier n'est pas une liste au format CSV (texte "
                                          "séparé par des points-virgules ou des virgules)."));
    const QString texte = decoder(contenu);
    LecteurCsv lecteur(texte, separateurDe(texte));

    int ligne = 0;
    Rangee entete;
    while (!lecteur.fini() && entete.vide()) {
        entete = lecteur.suivante();
        ++ligne;
    }
    if (entete.vide())
        return refusGlobal(QStringLiteral("Ce fichier est vide. Sa première ligne doit nommer les "
                                          "colonnes, ainsi : %1")
                               .arg(EnteteAttendue));
    const Colonnes colonnes = colonnesDe(entete.cellules);
    const QString refusEntete = refusDeLEntete(
        colonnes, QStringView(texte).sliced(entete.debut, entete.fin - entete.debut));
    if (!refusEntete.isEmpty())
        return refusGlobal(refusEntete);

    ApercuImportation apercu;
    QHash<qint32, int> vus;
    int objets = 0;
    while (!lecteur.fini()) {
        const Rangee rangee = lecteur.suivante();
        ++ligne;
        if (rangee.vide())
            continue;
        if (++objets > LignesMaximalesImport)
            return refusGlobal(QStringLiteral("Ce fichier a plus de %1 lignes d'objets : "
                                              "partagez-le en plusieurs fichiers.")
                                   .arg(QLocale(QLocale::French).toString(LignesMaximalesImport)));
        LigneImportee objet;
        objet.ligne = ligne;
        const QString raison = refusDeLaRangee(rangee, ligne, colonnes, numerosPris, vus, objet);
        if (raison.isEmpty())
            apercu.ajouts.append(objet);
        else
            apercu.refus.append(
                {ligne, debutDe(QStringView(texte).sliced(rangee.debut, rangee.fin - rangee.debut)),
                 raison});
    }
    if (objets == 0)
        return refusGlobal(QStringLiteral("Ce fichier n'a que la ligne d'en-tête : aucun objet à "
                                          "importer."));
    return apercu;
}

ApercuImportation lireFichierObjets(const QString &chemin, const QSqlDatabase &base)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return refusGlobal(messageFichierEnFrancais(fichier.error(), fichier.errorString()));
    // One byte past the limit is enough to know the file is too large, without reading it all.
    const QByteArray contenu = fichier.read(TailleMaximaleImport + 1);
    if (fichier.error() != QFileDevice::NoError)
        return refusGlobal(messageFichierEnFrancais(fichier.error(), fichier.errorString()));
    QHash<qint32, QString> numerosPris;
    const QSqlError erreur = numerosDeLaBase(base, numerosPris);
    if (erreur.isValid())
        return refusGlobal(messageBaseEnFrancais(erreur));
    return lireListeObjets(contenu, numerosPris);
}

QSqlError ajouterObjetsImportes(const QSqlDatabase &base, const QVector<LigneImportee> &lignes)
{
    if (lignes.isEmpty())
        return QSqlError();
    TransactionEcriture ecriture(base);
    if (ecriture.erreur().isValid())
        return ecriture.erreur();
    QHash<qint32, QString> numerosPris;
    if (const QSqlError erreur = numerosDeLaBase(base, numerosPris); erreur.isValid())
        return erreur;
    for (const LigneImportee &objet : lignes) {
        if (const auto titulaire = numerosPris.constFind(objet.numero);
            titulaire != numerosPris.cend())
            return QSqlError(
                QStringLiteral("%1 Il a été ajouté depuis l'aperçu (ligne %2 du fichier) : rien "
                               "n'a été importé. Fermez l'aperçu et importez le fichier de "
                               "nouveau.")
                    .arg(RegleObjet::numeroDejaUtilise(objet.numero, *titulaire))
                    .arg(objet.ligne),
                QString(), QSqlError::TransactionError);
    }
    // Each new row takes the next rowid, which is the planning's order: they come after the
    // objects already there, in the file's order.
    QSqlQuery ajout(base);
    if (!ajout.prepare(QStringLiteral("INSERT INTO OBJETS (Numero, Nom, NomInternet, "
                                      "FichierPlanningHTML, Categorie, Capacite, retire) VALUES "
                                      "(?, ?, NULL, NULL, ?, ?, 0)")))
        return ajout.lastError();
    for (const LigneImportee &objet : lignes) {
        ajout.addBindValue(objet.numero);
        ajout.addBindValue(objet.nom);
        ajout.addBindValue(objet.categorie);
        ajout.addBindValue(objet.capacite);
        if (!ajout.exec())
            return ajout.lastError();
    }
    return ecriture.valider();
}

#include "planning/DessinPlanning.h"

#include "conversion/Couleurs.h"
#include "data/BaseDeDonnees.h"
#include "data/Chevauchement.h"
#include "data/LectureDirecte.h"
#include "data/TexteParametre.h"
#include "data/TextesSQL.h"
#include "planning/Librairie_Graphique.h"
#include "planning/SurfaceImage.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

const QColor GrisSeparateur = couleurDepuisVB(0x888888);
const QColor GrisLigne = couleurDepuisVB(0x808080);
const QColor GrisSamedi = couleurDepuisVB(0xC0C0C0);
const QColor Blanc = couleurDepuisVB(0xFFFFFF);
const QColor Rouge(255, 0, 0);

// Inset of a bar from the edges of its stay and of its row.
constexpr int Retrait = 2;

// Nearest whole number, halves to the even one (the default rounding mode, which nothing in
// the program changes).
double auPlusPres(double valeur)
{
    return std::nearbyint(valeur);
}

// A stay of years puts its bar millions of pixels away: it stays on its side of the grid, and
// far enough in that a width or a sum of two edges computed by a caller still fits in an int.
qint32 enPixels(double valeur)
{
    constexpr double Limite = 1 << 30;
    return qint32(std::clamp(auPlusPres(valeur), -Limite, Limite));
}

// Days from `origine` to the moment, fractions included. Counted on the calendar and the clock,
// not in elapsed milliseconds: a day of a daylight-saving change is still one column wide.
double joursDepuis(const QDate &origine, const QDateTime &moment)
{
    return double(origine.daysTo(moment.date()))
        + moment.time().msecsSinceStartOfDay() / 86400000.0;
}

// The first day whose stays may still show: a bar's left end sits `Retrait` pixels after its
// arrival and is rounded to the pixel, so an arrival up to Retrait + 1/2 pixel's worth of a day
// before `datedepart` still lights column 0. Whole days, rounded up.
QDate premierJourAtteint(const QDate &datedepart, int largeurjour)
{
    const int jours = (2 * Retrait + 1 + 2 * largeurjour - 1) / (2 * largeurjour);
    return datedepart.addDays(-jours);
}

// A field the column cannot hold (a text in a number column, a number out of range) reads as 0,
// as an empty field does.
template<typename Entier> Entier entierDe(bool lu, double nombre)
{
    if (!lu || !std::isfinite(nombre))
        return 0;
    const double arrondi = auPlusPres(nombre);
    if (arrondi < std::numeric_limits<Entier>::min()
        || arrondi > std::numeric_limits<Entier>::max())
        return 0;
    return Entier(arrondi);
}

template<typename Entier> Entier entierDe(const QVariant &valeur)
{
    bool lu = false;
    const double nombre = valeur.toDouble(&lu);
    return entierDe<Entier>(lu, nombre);
}

template<typename Entier> Entier entierDe(const LectureDirecte &jeu, int position)
{
    bool lu = false;
    const double nombre = jeu.nombre(position, &lu);
    return entierDe<Entier>(lu, nombre);
}

double reelDe(const LectureDirecte &jeu, int position)
{
    bool lu = false;
    const double nombre = jeu.nombre(position, &lu);
    return lu ? nombre : 0;
}

// Where each field of a bar sits in the rows of the per-object query, looked up once per
// statement rather than by name for every row.
struct ChampsDUnSejour
{
    explicit ChampsDUnSejour(const LectureDirecte &jeu)
        : NumeroReservation(jeu.position(QStringLiteral("NumeroReservation")))
        , objet(jeu.position(QStringLiteral("objet")))
        , nomclient(jeu.position(QStringLiteral("nomclient")))
        , DateDebut(jeu.position(QStringLiteral("DateDebut")))
        , DateFin(jeu.position(QStringLiteral("DateFin")))
        , code(jeu.position(QStringLiteral("code")))
        , nom(jeu.position(QStringLiteral("nom")))
        , arrhes(jeu.position(QStringLiteral("arrhes")))
        , datelimite(jeu.position(QStringLiteral("datelimite")))
        , nbadultes(jeu.position(QStringLiteral("nbadultes")))
        , nbenfants(jeu.position(QStringLiteral("nbenfants")))
        , remarque(jeu.position(QStringLiteral("remarque")))
        , telephone(jeu.position(QStringLiteral("telephone")))
        , email(jeu.position(QStringLiteral("email")))
        , couleur(jeu.position(QStringLiteral("couleur")))
        , version(jeu.position(QStringLiteral("version")))
    {
    }

    ReservationAffichee lire(const LectureDirecte &jeu) const
    {
        ReservationAffichee barre;
        barre.NumeroReservation = entierDe<qint32>(jeu, NumeroReservation);
        barre.objet = entierDe<qint32>(jeu, objet);
        barre.nomclient = jeu.texte(nomclient);
        barre.DateDebut = jeu.date(DateDebut);
        barre.DateFin = jeu.date(DateFin);
        // A state missing from ETATS leaves the label empty rather than " - ".
        if (!jeu.estNull(code))
            barre.libelleetat = jeu.texte(code) + QStringLiteral(" - ") + jeu.texte(nom);
        barre.arrhes = reelDe(jeu, arrhes);
        barre.datelimite = jeu.date(datelimite);
        barre.nbadultes = entierDe<qint16>(jeu, nbadultes);
        barre.nbenfants = entierDe<qint16>(jeu, nbenfants);
        barre.remarque = jeu.texte(remarque);
        barre.telephone = jeu.texte(telephone);
        barre.email = jeu.texte(email);
        barre.couleur = entierDe<qint32>(jeu, couleur);
        barre.version = entierDe<qint32>(jeu, version);
        return barre;
    }

    int NumeroReservation, objet, nomclient, DateDebut, DateFin, code, nom, arrhes, datelimite,
        nbadultes, nbenfants, remarque, telephone, email, couleur, version;
};

// The label centred over the columns from `debut` to `fin`, and vertically in the strip.
void imprimerMois(SurfaceImage &lesmois, const QString &libelle, qint64 debut, qint64 fin)
{
    const double gauche = debut + (fin - debut) / 2.0 - lesmois.largeurTexte(libelle) / 2.0;
    const double haut = (lesmois.hauteur() - lesmois.hauteurTexte(libelle)) / 2.0;
    lesmois.positionX = enPixels(gauche);
    lesmois.positionY = enPixels(haut);
    lesmois.imprimer(libelle);
}

// Two bars of one line whose stays overlap would hide one another: over the days they share,
// the earlier bar keeps the upper half of the line and the later one takes the lower half, and
// the shared part is outlined in red. A line without overlap is left as drawn.
void montrerLesChevauchements(SurfaceImage &planning, const ReservationsAffichees &barres,
                              qsizetype premiere, const QPalette &palette)
{
    for (qsizetype i = premiere; i < barres.size(); ++i) {
        const ReservationAffichee &a = barres.at(i);
        for (qsizetype j = i + 1; j < barres.size(); ++j) {
            const ReservationAffichee &b = barres.at(j);
            if (!seChevauchent({a.DateDebut, a.DateFin}, {b.DateDebut, b.DateFin}))
                continue;
            const int gauche = std::max(std::min(a.x1, a.x2), std::min(b.x1, b.x2));
            const int droite = std::min(std::max(a.x1, a.x2), std::max(b.x1, b.x2));
            if (gauche > droite)
                continue;
            const int milieu = (a.y1 + a.y2) / 2;
            planning.remplir(gauche, a.y1, droite, milieu,
                             couleurDepuisVB(quint32(a.couleur), palette));
            planning.remplir(gauche, milieu + 1, droite, a.y2,
                             couleurDepuisVB(quint32(b.couleur), palette));
            planning.ligne(gauche, a.y1, droite, a.y1, Rouge);
            planning.ligne(gauche, a.y2, droite, a.y2, Rouge);
            planning.ligne(gauche, a.y1, gauche, a.y2, Rouge);
            planning.ligne(droite, a.y1, droite, a.y2, Rouge);
            // A name that began inside the shared part is hidden there: it is written again
            // after it, where its bar is alone.
            for (const ReservationAffichee *barre : {&a, &b}) {
                const int debut = std::min(barre->x1, barre->x2);
                const int fin = std::max(barre->x1, barre->x2);
                if (debut < gauche || fin <= droite + 1)
                    continue;
                planning.remplir(droite + 1, barre->y1, fin, barre->y2,
                                 couleurDepuisVB(quint32(barre->couleur), palette));
                planning.couleurTexte = Blanc;
                DessinerTexte(planning, barre->nomclient, droite + 1, barre->y1, fin, barre->y2,
                              10);
            }
        }
    }
}

} // namespace

void calculerBarre(ReservationAffichee &barre, const QDate &datedepart, int largeurjour, int ligne,
                   int hauteurligne)
{
    barre.x1 = 0;
    barre.x2 = 0;
    if (barre.DateDebut.isValid() && datedepart.isValid())
        barre.x1 = enPixels(joursDepuis(datedepart, barre.DateDebut) * largeurjour + Retrait);
    if (barre.DateFin.isValid() && datedepart.isValid())
        barre.x2 = enPixels(joursDepuis(datedepart, barre.DateFin) * largeurjour - Retrait);
    barre.y1 = enPixels(double(ligne) + Retrait);
    barre.y2 = enPixels(double(ligne) + hauteurligne - Retrait);
    barre.ligne = ligne;
}

ResultatDessin dessinerPlanning(const SurfacesPlanning &surfaces, const QSqlDatabase &base,
                                const VuePlanning &vue, ReservationsAffichees recyclees)
{
    const QDate &datedepart = vue.datedepart;
    int largeurjour = vue.largeurjour;
    int hauteurligne = vue.hauteurligne;
    ResultatDessin resultat;
    // One read transaction for the whole picture: every line comes from the same state of the
    // file, which is locked and checked once instead of once per line. When the connection is
    // already inside a transaction (a writer's), the redraw simply reads within it.
    QSqlDatabase connexion = base;
    const bool enLecture = connexion.isOpen() && connexion.transaction();

    // The lines are read before anything is wiped: a base another desk holds past the wait
    // leaves the last picture and its bars as they were, never an empty planning.
    // Every line of the selection first, cheaply: which of them show depends on how many there
    // are.
    struct Ligne
    {
        qint32 numero;
        QString nom;
    };
    QVector<Ligne> selection;
    // A thousand objects at every pan step: read where they lie, as the stays are.
    LectureDirecte lignes(base);
    const bool lu = lignes.executer(QString::fromLatin1(TextesSQL::objetsDuPlanning));
    if (lu) {
        const int retire = lignes.position(QStringLiteral("retire"));
        const int categorie = lignes.position(QStringLiteral("Categorie"));
        const int numero = lignes.position(QStringLiteral("numero"));
        const int nom = lignes.position(QStringLiteral("nom"));
        while (lignes.suivant()) {
            // A retired object keeps its stays in the base but has no line any more.
            if (entierDe<qint32>(lignes, retire) != 0)
                continue;
            if (!vue.categorie.isEmpty() && lignes.texte(categorie).trimmed() != vue.categorie)
                continue;
            selection.append({entierDe<qint32>(lignes, numero), lignes.texte(nom)});
        }
    }
    if (!lu || lignes.erreur().isValid()) {
        if (enLecture)
            connexion.rollback();
        resultat.lectureEchouee = true;
        resultat.imageGardee = true;
        resultat.barres = std::move(recyclees);
        return resultat;
    }

    // A few thousand bars at every pan step: the last picture's table is refilled rather than
    // allocated, grown and given back each time.
    resultat.barres = std::move(recyclees);
    resultat.barres.clear();
    resultat.barres.resize(1);
    // A column or row of no width would never move the loops on.
    largeurjour = std::max(largeurjour, 1);
    hauteurligne = std::max(hauteurligne, 1);
    SurfaceImage &lesmois = *surfaces.lesmois;
    SurfaceImage &TexteColonnes = *surfaces.TexteColonnes;
    SurfaceImage &objets = *surfaces.objets;
    SurfaceImage &planning = *surfaces.planning;

    planning.effacer();
    TexteColonnes.effacer();
    objets.effacer();
    lesmois.effacer();

    // The month strip and the headings are French whatever the system says.
    const QLocale francais(QLocale::French, QLocale::France);
    const QString FormatMois = QStringLiteral("MMMM yyyy");
    qint64 d = 0;
    qint64 m = 0;
    QString L = francais.toString(datedepart, FormatMois);
    const qint64 largeurPlanning = planning.largeur();
    const int hauteurPlanning = planning.hauteur();
    // Every column asks for its month, weekday and day of the month: the texts are made once
    // per month, weekday and day number.
    QString courts[8];
    QString quantiemes[32];
    qint64 moisDuLibelle = std::numeric_limits<qint64>::min();
    QString libelle;
    qint64 x = 0;
    for (; x <= largeurPlanning; x += largeurjour, ++d) {
        const QDate jour = datedepart.addDays(d);
        const int colonne = int(x);
        const qint64 mois = qint64(jour.year()) * 12 + jour.month();
        if (mois != moisDuLibelle) {
            libelle = francais.toString(jour, FormatMois);
            moisDuLibelle = mois;
        }
        QString &court = courts[jour.dayOfWeek()];
        if (court.isNull()) {
            court = francais.toString(jour, QStringLiteral("ddd"));
            // A narrow column has room for the initial only.
            if (largeurjour < 20)
                court = court.left(1).toUpper();
        }
        QString &quantieme = quantiemes[jour.day()];
        if (quantieme.isNull())
            quantieme = francais.toString(jour, QStringLiteral("dd"));
        if (libelle != L) {
            imprimerMois(lesmois, L, m, x);
            L = libelle;
            m = x;
            lesmois.ligne(colonne, 0, colonne, lesmois.hauteur(), GrisSeparateur);
        }
        TexteColonnes.ligne(colonne, 0, colonne, TexteColonnes.hauteur(), GrisLigne);
        if (jour.dayOfWeek() == Qt::Saturday)
            planning.remplir(colonne, 0, colonne + largeurjour, hauteurPlanning, GrisSamedi);
        planning.ligne(colonne, 0, colonne, hauteurPlanning, GrisLigne);
        TexteColonnes.positionX = colonne;
        TexteColonnes.positionY = 0;
        TexteColonnes.imprimer(court);
        TexteColonnes.positionX = colonne;
        TexteColonnes.imprimer(quantieme);
    }
    imprimerMois(lesmois, L, m, x);
    resultat.nombreDeJours = int(d);

    objets.effacer();
    objets.ligne(0, 0, objets.largeur(), 0, GrisLigne);
    planning.ligne(0, 0, planning.largeur(), 0, GrisLigne);
    planning.couleurTexte = Blanc;

    const QPalette palette; // for state colours that name a system colour
    const QDate fin = datedepart.addDays(d);
    const QDate debut = premierJourAtteint(datedepart, largeurjour);
    // One statement for every line: only the object number changes from one to the next. The
    // text is taken apart once, then only that number is changed; `positionDuNumero` is where
    // it lies among the text's values, -1 when it was not found there (every line's text is
    // then taken apart anew).
    LectureDirecte sejours(base);
    TexteParametre texteDesLignes = parametrer(TextesSQL::reservationsDeLObjet(0, debut, fin));
    qsizetype positionDuNumero = texteDesLignes.valeurs.indexOf(QVariant(qlonglong(0)));
    bool numeroVerifie = false;
    std::optional<ChampsDUnSejour> champs;
    quint64 formeDesChamps = 0;
    resultat.nombreDeLignes = int(selection.size());
    const int hauteurVue
        = vue.hauteurVisible > 0 ? std::min(vue.hauteurVisible, hauteurPlanning) : hauteurPlanning;
    const int lignesEntieres = hauteurVue / hauteurligne;
    int premiere = vue.premiereLigne;
    if (vue.objetAMontrer != 0) {
        const auto montre = std::find_if(selection.cbegin(), selection.cend(), [&](const Ligne &l) {
            return l.numero == vue.objetAMontrer;
        });
        if (montre != selection.cend()) {
            const int rang = int(montre - selection.cbegin());
            premiere = std::clamp(premiere, rang - std::max(lignesEntieres, 1) + 1, rang);
        }
    }
    premiere = std::clamp(premiere, 0, std::max(0, resultat.nombreDeLignes - lignesEntieres));
    resultat.premiereLigne = premiere;

    // A server answers each statement across the network: the lines that show are read in one,
    // in the order SQLite's index gives each line (its reach, then its number), and shared out.
    QHash<qint32, QVector<ReservationAffichee>> sejoursDesLignes;
    bool lusEnUne = false;
    if (BaseDeDonnees::estPostgres(base)) {
        QStringList numeros;
        for (qint64 h = 0, rang = premiere; rang < selection.size() && h < hauteurPlanning;
             ++rang, h += hauteurligne)
            numeros << QString::number(selection.at(int(rang)).numero);
        if (!numeros.isEmpty()) {
            QString texte = TextesSQL::reservationsDeLObjet(0, debut, fin);
            texte.replace(QStringLiteral("([objet] = 0)"),
                          QStringLiteral("([objet] IN (") + numeros.join(QStringLiteral(", "))
                              + QStringLiteral("))"));
            texte.chop(1);
            texte += QStringLiteral(" ORDER BY RESERVATIONS.Objet, IIf([DateFin] Is Null, "
                                    "#12/31/9999#, IIf([DateFin]<[DateDebut], [DateDebut], "
                                    "[DateFin])), RESERVATIONS.NumeroReservation");
            lusEnUne = sejours.executer(texte);
            if (lusEnUne) {
                const ChampsDUnSejour positions(sejours);
                while (sejours.suivant()) {
                    ReservationAffichee barre = positions.lire(sejours);
                    sejoursDesLignes[barre.objet].append(std::move(barre));
                }
            }
            if (!lusEnUne || sejours.erreur().isValid())
                resultat.lectureEchouee = true;
        }
    }

    qint64 y = 0;
    for (int rang = premiere; rang < selection.size() && y < hauteurPlanning; ++rang) {
        const int ligne = int(y);
        objets.positionX = 0;
        objets.positionY = ligne;
        const QString &nom = selection.at(rang).nom;
        objets.imprimer(nom);
        const int dessous = int(y + hauteurligne);
        objets.ligne(0, dessous, objets.largeur(), dessous, GrisLigne);
        planning.ligne(0, dessous, planning.largeur(), dessous, GrisLigne);

        const qint32 numero = selection.at(rang).numero;
        if (numero == vue.objetAMontrer && numero != 0)
            resultat.objetMontre = true;
        resultat.nomsDesObjets.insert(numero, nom);
        resultat.numerosDesLignes.append(numero);
        const qsizetype premiereBarre = resultat.barres.size();
        const auto dessiner = [&](ReservationAffichee barre) {
            calculerBarre(barre, datedepart, largeurjour, ligne, hauteurligne);
            if (barre.NumeroReservation == vue.reservation_encours)
                resultat.reservation_courante = qint32(resultat.barres.size());
            planning.remplir(barre.x1, barre.y1, barre.x2, barre.y2,
                             couleurDepuisVB(quint32(barre.couleur), palette));
            planning.couleurTexte = Blanc;
            DessinerTexte(planning, barre.nomclient, barre.x1, barre.y1, barre.x2, barre.y2, 10);
            resultat.barres.append(std::move(barre));
        };
        if (lusEnUne) {
            for (ReservationAffichee &barre : sejoursDesLignes[numero])
                dessiner(std::move(barre));
            montrerLesChevauchements(planning, resultat.barres, premiereBarre, palette);
            y += hauteurligne;
            continue;
        }
        if (positionDuNumero >= 0)
            texteDesLignes.valeurs[positionDuNumero] = qlonglong(numero);
        if (positionDuNumero >= 0 && !numeroVerifie && numero != 0) {
            // Checked once against the text made for a line (one whose number tells).
            const TexteParametre complet
                = parametrer(TextesSQL::reservationsDeLObjet(numero, debut, fin));
            if (complet.gabarit != texteDesLignes.gabarit
                || complet.valeurs != texteDesLignes.valeurs)
                positionDuNumero = -1;
            numeroVerifie = true;
        }
        const bool executee = positionDuNumero >= 0
            ? sejours.executer(texteDesLignes)
            : sejours.executer(TextesSQL::reservationsDeLObjet(numero, debut, fin));
        if (executee && (!champs || formeDesChamps != sejours.forme())) {
            champs.emplace(sejours);
            formeDesChamps = sejours.forme();
        }
        while (champs && sejours.suivant())
            dessiner(champs->lire(sejours));
        if (!executee || sejours.erreur().isValid())
            resultat.lectureEchouee = true;
        montrerLesChevauchements(planning, resultat.barres, premiereBarre, palette);
        y += hauteurligne;
    }
    if (enLecture)
        connexion.commit();
    return resultat;
}

std::optional<ReservationAffichee> lireReservationAffichee(const QSqlDatabase &base, qint32 numero)
{
    LectureDirecte jeu(base);
    if (!jeu.executer(TextesSQL::reservationAffichee(numero)) || !jeu.suivant())
        return std::nullopt;
    return ChampsDUnSejour(jeu).lire(jeu);
}

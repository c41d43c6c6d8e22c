#include "data/CreationBase.h"

#include "SchemaSql.h"
#include "app/Horloge.h"
#include "conversion/MessageErreur.h"
#include "data/AdresseBase.h"
#include "data/BaseDeDonnees.h"
#include "data/ChaineJournal.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

QSqlError erreurCreation(const QString &texte)
{
    return QSqlError(texte, QString(), QSqlError::ConnectionError);
}

// A trigger's body holds statements of its own: its ';' end the trigger only after its END.
bool estDansUnDeclencheur(const QString &courante)
{
    const QString texte = courante.trimmed();
    return texte.startsWith(QStringLiteral("CREATE TRIGGER"), Qt::CaseInsensitive)
        && texte.contains(QStringLiteral("BEGIN"), Qt::CaseInsensitive)
        && !texte.endsWith(QStringLiteral("END"), Qt::CaseInsensitive);
}

// Splits the schema script at each ';' that ends a statement: Qt runs one statement at a time.
// Quotes and comments are skipped over, so an apostrophe in a comment does not swallow the rest.
QStringList instructions(const QString &script)
{
    QStringList resultat;
    QString courante;
    qsizetype i = 0;
    const qsizetype n = script.size();
    while (i < n) {
        const QChar c = script.at(i);
        if (c == u'-' && i + 1 < n && script.at(i + 1) == u'-') {
            while (i < n && script.at(i) != u'\n')
                ++i;
        } else if (c == u'$' && i + 1 < n && script.at(i + 1) == u'$') {
            // A function's body between $$ holds statements of its own.
            const qsizetype fin = script.indexOf(QStringLiteral("$$"), i + 2);
            const qsizetype apres = fin < 0 ? n : fin + 2;
            courante += QStringView(script).mid(i, apres - i);
            i = apres;
        } else if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < n && script.at(j) != c)
                ++j;
            courante += QStringView(script).mid(i, j + 1 - i);
            i = j + 1;
        } else if (c == u';' && estDansUnDeclencheur(courante)) {
            courante += c;
            ++i;
        } else if (c == u';') {
            if (!courante.trimmed().isEmpty())
                resultat << courante.trimmed();
            courante.clear();
            ++i;
        } else {
            courante += c;
            ++i;
        }
    }
    if (!courante.trimmed().isEmpty())
        resultat << courante.trimmed();
    return resultat;
}

// Runs one prepared statement per row of values.
class Insertion
{
public:
    Insertion(const QSqlDatabase &base, const QString &sql) : m_requete(base)
    {
        if (!m_requete.prepare(sql))
            m_erreur = m_requete.lastError();
    }

    void ligne(const QVariantList &valeurs)
    {
        if (m_erreur.isValid())
            return;
        for (int i = 0; i < valeurs.size(); ++i)
            m_requete.bindValue(i, valeurs.at(i));
        if (!m_requete.exec())
            m_erreur = m_requete.lastError();
    }

    QSqlError erreur() const { return m_erreur; }

private:
    QSqlQuery m_requete;
    QSqlError m_erreur;
};

// ---- Reference rows --------------------------------------------------------------------------

constexpr int Option = 1, Confirmee = 2, ArrhesRecues = 3, Ferme = 4, Annulee = 5;

// Colours 0x00BBGGRR, dark enough for the white client names written on the bars.
struct Etat
{
    int code;
    const char *nom;
    quint32 couleur;
    bool surinternet;
    bool occupe = true;
};
// Table order is the state list's order: "Option", first, is the default of a new reservation.
const Etat Etats[] = {
    {Option, "Option", 0x001C6FD6, true}, // orange
    {Confirmee, "Confirmée", 0x00508C2E, true}, // green
    {ArrhesRecues, "Arrhes reçues", 0x00B0642A, true}, // blue
    {Ferme, "Fermé", 0x006E6E6E, true}, // grey: closed days are not for sale
    {Annulee, "Annulée", 0x003C3C96, false, false}, // red-brown: frees the dates
};

struct Objet
{
    int numero;
    QString nom;
    QString nomInternet;
    QString fichier;
    double prixNuit;
    int nuitsMin, nuitsMax;
    QString categorie;
    int capacite;
};

QVector<Objet> objets()
{
    const QString chambre = QStringLiteral("Chambre"), emplacement = QStringLiteral("Emplacement"),
                  chalet = QStringLiteral("Chalet"), mobilHome = QStringLiteral("Mobil-home");
    QVector<Objet> liste;
    for (int i = 1; i <= 12; ++i)
        liste.append({i, QStringLiteral("Chambre %1").arg(i), QString(), QString(),
                      i <= 8 ? 68.0 : 84.0, 1, 5, chambre, i <= 8 ? 2 : 3});
    for (const QChar rangee : {u'A', u'B'}) {
        for (int i = 1; i <= 7; ++i) {
            const int numero = (rangee == u'A' ? 20 : 30) + i;
            liste.append({numero, QStringLiteral("Emplacement %1%2").arg(rangee).arg(i), QString(),
                          QString(), 21.5, 2, 14, emplacement, 6});
        }
    }
    liste.append({41, QStringLiteral("Chalet (vue lac)"), QStringLiteral("Chalet vue sur le lac"),
                  QStringLiteral("chalet-vue-lac.html"), 112.0, 2, 10, chalet, 6});
    liste.append(
        {42, QStringLiteral("Chalet des Pins"), QString(), QString(), 96.0, 2, 10, chalet, 5});
    liste.append(
        {43, QStringLiteral("Chalet du Moulin"), QString(), QString(), 96.0, 2, 10, chalet, 5});
    liste.append({44, QStringLiteral("Mobil-home Tournesol"), QStringLiteral("Mobil-home 4 places"),
                  QString(), 78.0, 2, 10, mobilHome, 4});
    liste.append({45, QStringLiteral("Mobil-home Lavande"), QString(), QString(), 78.0, 2, 10,
                  mobilHome, 4});
    return liste;
}

// VAT rates in hundredths of a percent: 10 % for what is eaten or drunk on the spot, 20 % for
// alcohol.
constexpr int TvaReduite = 1000, TvaNormale = 2000;
struct Article
{
    const char *famille;
    const char *libelle;
    double prix;
    int tauxTva = TvaReduite;
};
const Article Articles[] = {
    {"Boissons chaudes", "Café", 1.5},
    {"Boissons chaudes", "Café crème", 2.5},
    {"Boissons chaudes", "Décaféiné", 1.6},
    {"Boissons chaudes", "Thé", 2.0},
    {"Boissons chaudes", "Chocolat chaud", 2.8},
    {"Boissons chaudes", "Cappuccino", 3.0},
    {"Boissons fraîches", "Eau minérale 50 cl", 1.8},
    {"Boissons fraîches", "Jus d'orange", 2.8},
    {"Boissons fraîches", "Soda 33 cl", 2.5},
    {"Boissons fraîches", "Limonade", 2.2},
    {"Boissons fraîches", "Sirop à l'eau", 1.5},
    {"Boissons fraîches", "Bière pression 25 cl", 3.5, TvaNormale},
    {"Boissons fraîches", "Verre de vin rouge", 3.8, TvaNormale},
    {"Petit-déjeuner", "Petit-déjeuner complet", 9.5},
    {"Petit-déjeuner", "Croissant", 1.3},
    {"Petit-déjeuner", "Pain au chocolat", 1.4},
    {"Petit-déjeuner", "Baguette", 1.2},
    {"Petit-déjeuner", "Confiture maison", 3.5},
    {"Snacks", "Glace deux boules", 3.2},
    {"Snacks", "Sandwich jambon-beurre", 4.5},
    {"Snacks", "Croque-monsieur", 5.5},
    {"Snacks", "Chips", 1.5},
    {"Snacks", "Part de tarte", 3.8},
    {"Snacks", "Crêpe au sucre", 2.5},
    {"Snacks", "Gaufre", 3.0},
};

QSqlError insererEtats(const QSqlDatabase &base)
{
    Insertion etats(base,
                    QStringLiteral("INSERT INTO ETATS (Code, Nom, CouleurPrincipale, "
                                   "surinternet, occupe) VALUES (?, ?, ?, ?, ?)"));
    for (const Etat &etat : Etats)
        etats.ligne({etat.code, QString::fromUtf8(etat.nom), etat.couleur, etat.surinternet ? 1 : 0,
                     etat.occupe ? 1 : 0});
    return etats.erreur();
}

// Tariffs in cents, VAT included at 10 %: a low season and July-August, for every year a new
// base may be used in, so that a stay typed anywhere in them is priced.
struct TarifCategorie
{
    const char *categorie;
    qint64 basse, haute;
    int personnes;
    qint64 supplementAdulte, supplementEnfant;
};
const TarifCategorie Tarifs[] = {
    {"Chambre", 6800, 8400, 2, 1500, 1000},
    {"Emplacement", 2150, 2900, 2, 650, 350},
    {"Chalet", 9600, 12500, 4, 1500, 800},
    {"Mobil-home", 7800, 10100, 4, 1200, 600},
};

QSqlError insererTarifs(const QSqlDatabase &base)
{
    Insertion saisons(base,
                      QStringLiteral("INSERT INTO SAISONS (Categorie, debut, fin, prixnuit, "
                                     "personnes, supplementadulte, supplementenfant, tauxtva) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, 1000)"));
    const auto jour = [](int annee, int mois, int quantieme) {
        return QDate(annee, mois, quantieme).toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    };
    for (const TarifCategorie &tarif : Tarifs) {
        for (int annee = 2020; annee <= 2035; ++annee) {
            const QString categorie = QString::fromUtf8(tarif.categorie);
            const QVariantList suite {tarif.personnes, tarif.supplementAdulte,
                                      tarif.supplementEnfant};
            saisons.ligne(
                QVariantList {categorie, jour(annee, 1, 1), jour(annee, 6, 30), tarif.basse}
                + suite);
            saisons.ligne(
                QVariantList {categorie, jour(annee, 7, 1), jour(annee, 8, 31), tarif.haute}
                + suite);
            saisons.ligne(
                QVariantList {categorie, jour(annee, 9, 1), jour(annee, 12, 31), tarif.basse}
                + suite);
        }
    }
    return saisons.erreur();
}

QSqlError insererPrestations(const QSqlDatabase &base)
{
    Insertion prestations(base,
                          QStringLiteral("INSERT INTO PRESTATIONS (Numero, Libelle, prix, unite, "
                                         "tauxtva) VALUES (?, ?, ?, ?, ?)"));
    // Units: 0 per night, 1 per stay, 2 per person and night.
    prestations.ligne({1, QStringLiteral("Électricité"), 450, 0, 2000});
    prestations.ligne({2, QStringLiteral("Animal"), 200, 0, 1000});
    prestations.ligne({3, QStringLiteral("Ménage"), 4000, 1, 2000});
    prestations.ligne({4, QStringLiteral("Petit-déjeuner"), 950, 2, 1000});
    prestations.ligne({5, QStringLiteral("Linge de lit"), 1200, 1, 2000});
    return prestations.erreur();
}

QSqlError insererReference(const QSqlDatabase &base)
{
    Insertion lignes(base,
                     QStringLiteral("INSERT INTO OBJETS (Numero, Nom, NomInternet, "
                                    "FichierPlanningHTML, Categorie, Capacite) VALUES (?, ?, ?, "
                                    "?, ?, ?)"));
    const auto nullSiVide = [](const QString &texte) {
        return texte.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(texte);
    };
    for (const Objet &objet : objets())
        lignes.ligne({objet.numero, objet.nom, nullSiVide(objet.nomInternet),
                      nullSiVide(objet.fichier), objet.categorie, objet.capacite});
    if (lignes.erreur().isValid())
        return lignes.erreur();

    Insertion articles(base,
                       QStringLiteral("INSERT INTO CONSOMMATIONS (Famille, Libelle, prixTTC, "
                                      "TauxTVA) VALUES (?, ?, ?, ?)"));
    for (const Article &article : Articles)
        articles.ligne({QString::fromUtf8(article.famille), QString::fromUtf8(article.libelle),
                        article.prix, article.tauxTva});
    if (articles.erreur().isValid())
        return articles.erreur();
    const QSqlError erreur = insererTarifs(base);
    return erreur.isValid() ? erreur : insererPrestations(base);
}

// ---- Demonstration rows ----------------------------------------------------------------------

const char *const Noms[] = {
    "Martin",   "Bernard", "Dubois",  "Thomas",   "Robert",   "Richard", "Petit",   "Durand",
    "Leroy",    "Moreau",  "Simon",   "Laurent",  "Lefèvre",  "Michel",  "Garcia",  "David",
    "Bertrand", "Roux",    "Vincent", "Fournier", "Morel",    "Girard",  "André",   "Mercier",
    "Dupont",   "Lambert", "Bonnet",  "François", "Martinez", "Legrand", "Garnier", "Faure",
    "Rousseau", "Blanc",   "Guérin",  "Muller",   "Henry",    "Roussel", "Nicolas", "Perrin",
};
const char *const Prenoms[] = {
    "Sophie", "Pierre",   "Claire", "Jean",    "Isabelle", "Nicolas", "Camille", "Julien",
    "Hélène", "François", "Léa",    "Thierry", "Nathalie", "Mathieu", "Élodie",  "Olivier",
};
const char *const Remarques[] = {
    "",
    "",
    "",
    "Arrivée tardive prévue vers 21 h",
    "Lit bébé à prévoir",
    "Avec un chien",
    "Petit-déjeuner sans gluten",
    "Anniversaire de mariage",
    "Clients fidèles depuis 2015",
    "Souhaite une chambre calme",
    "Deux vélos à garer",
    "Réglera le solde en chèques vacances",
};

struct Sejour
{
    const Objet *objet = nullptr;
    QDateTime arrivee, depart, creation;
    int etat = Option;
    QString client, telephone, email, remarque;
    int adultes = 2, enfants = 0;
    double arrhes = 0;
};

QString sansAccents(const QString &texte)
{
    QString resultat;
    for (const QChar c : texte.normalized(QString::NormalizationForm_D)) {
        if (c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-'))
            resultat += c.toLower();
    }
    return resultat;
}

// The price text the bar window puts in its labels: the shortest decimal, comma separated.
QString texteDuPrix(double prix)
{
    return QString::number(prix).replace(u'.', u',');
}

class Demonstration
{
public:
    explicit Demonstration(const QSqlDatabase &base)
        : m_base(base)
        , m_hasard(20240614u) // fixed: the same day always gives the same database
        , m_maintenant(Horloge::maintenant())
    {
        const QTime heure = m_maintenant.time();
        m_maintenant.setTime(QTime(heure.hour(), heure.minute(), heure.second()));
    }

    QSqlError remplir()
    {
        // Each Sejour points into this list, which outlives them.
        const QVector<Objet> lignes = objets();
        placerSejours(lignes);
        Insertion reservations(
            m_base,
            QStringLiteral("INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, "
                           "DateFin, arrhes, datelimite, Etat, nbadultes, nbenfants, "
                           "remarque, telephone, email) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        Insertion journal(m_base,
                          QStringLiteral("INSERT INTO OPERATIONS (numeroreservation, date, "
                                         "prix, paiement, libelle) VALUES (?, ?, ?, ?, ?)"));
        int numero = 0;
        for (const Sejour &sejour : std::as_const(m_sejours)) {
            ++numero; // the store numbers the rows 1, 2, ... in this order
            QVariant datelimite(QMetaType::fromType<QString>());
            if (sejour.etat == Option)
                datelimite
                    = BaseDeDonnees::texteDate(sejour.creation.date().addDays(15).startOfDay());
            reservations.ligne({sejour.objet->numero, sejour.client,
                                BaseDeDonnees::texteDate(sejour.arrivee),
                                BaseDeDonnees::texteDate(sejour.depart), sejour.arrhes, datelimite,
                                sejour.etat, sejour.adultes, sejour.enfants, sejour.remarque + u' ',
                                sejour.telephone + u' ', sejour.email + u' '});
            for (const auto &ligne : journalDe(sejour))
                journal.ligne({numero, BaseDeDonnees::texteDate(ligne.date), ligne.prix,
                               (ligne.paiement + QStringLiteral("   ")).left(3), ligne.libelle});
        }
        return reservations.erreur().isValid() ? reservations.erreur() : journal.erreur();
    }

private:
    struct LigneJournal
    {
        QDateTime date;
        double prix;
        QString paiement;
        QString libelle;
    };

    int entre(int bas, int haut) { return int(m_hasard.bounded(bas, haut + 1)); }
    template<typename T, std::size_t N> const T &parmi(const T (&liste)[N])
    {
        return liste[m_hasard.bounded(quint32(N))];
    }
    // Journal rows are never dated in the future.
    QDateTime auPlusTard(const QDateTime &moment) const { return std::min(moment, m_maintenant); }

    void placerSejours(const QVector<Objet> &lignes)
    {
        const QDate aujourdhui = m_maintenant.date();
        const QDate debut = aujourdhui.addMonths(-2);
        const QDate fin = aujourdhui.addMonths(4);
        const int joursPeriode = int(debut.daysTo(fin));
        QHash<int, QVector<QPair<QDate, QDate>>> occupation;

        for (int essai = 0; essai < 5000 && m_sejours.size() < 80; ++essai) {
            const Objet &objet = lignes[m_hasard.bounded(int(lignes.size()))];
            const int nuits = entre(objet.nuitsMin, objet.nuitsMax);
            const QDate arrivee = debut.addDays(entre(0, joursPeriode - nuits));
            const QDate depart = arrivee.addDays(nuits);
            // Departure at noon and arrival at two let one stay follow another on the same day.
            auto &prises = occupation[objet.numero];
            const bool libre = std::none_of(prises.cbegin(), prises.cend(), [&](const auto &p) {
                return arrivee < p.second && p.first < depart;
            });
            if (!libre)
                continue;
            prises.append({arrivee, depart});
            m_sejours.append(sejour(objet, arrivee, depart));
        }
        // Numbers follow the order in which the reservations were taken.
        std::stable_sort(m_sejours.begin(), m_sejours.end(),
                         [](const Sejour &a, const Sejour &b) { return a.creation < b.creation; });
    }

    Sejour sejour(const Objet &objet, const QDate &arrivee, const QDate &depart)
    {
        Sejour s;
        s.objet = &objet;
        // Mostly the usual hours, arrival at two and departure at noon.
        const QTime heuresArrivee[]
            = {QTime(14, 0), QTime(14, 0), QTime(14, 0),  QTime(14, 0), QTime(14, 0),
               QTime(14, 0), QTime(14, 0), QTime(15, 30), QTime(17, 0), QTime(18, 30)};
        const QTime heuresDepart[] = {QTime(12, 0), QTime(12, 0), QTime(12, 0), QTime(12, 0),
                                      QTime(12, 0), QTime(12, 0), QTime(10, 0), QTime(11, 0)};
        s.arrivee = QDateTime(arrivee, parmi(heuresArrivee));
        s.depart = QDateTime(depart, parmi(heuresDepart));
        QDateTime creation(arrivee.addDays(-entre(3, 120)), QTime(entre(8, 19), entre(0, 59)));
        if (creation > m_maintenant)
            creation = QDateTime(m_maintenant.date().addDays(-entre(0, 20)), creation.time());
        s.creation = auPlusTard(creation);

        const QString nom = QString::fromUtf8(parmi(Noms));
        const QString prenom = QString::fromUtf8(parmi(Prenoms));
        const int tirage = entre(0, 99);
        if (tirage < 4) {
            s.etat = Ferme;
            s.client = objet.nom.startsWith(QLatin1String("Emplacement"))
                ? QStringLiteral("Fermé : travaux")
                : QStringLiteral("Fermé : entretien");
            s.adultes = 0;
            return s;
        }
        const bool commence = arrivee <= m_maintenant.date();
        if (tirage < 10)
            s.etat = Annulee;
        else if (commence)
            s.etat = tirage < 75 ? Confirmee : ArrhesRecues;
        else
            s.etat = tirage < 40 ? Option : tirage < 75 ? ArrhesRecues : Confirmee;

        const int forme = entre(0, 9);
        if (forme < 5)
            s.client = nom + u' ' + prenom;
        else if (forme < 8)
            s.client = QStringLiteral("M. et Mme ") + nom;
        else
            s.client = QStringLiteral("Famille ") + nom;
        s.adultes = entre(1, forme >= 5 ? 2 : 4);
        s.enfants = forme >= 8 ? entre(1, 3) : entre(0, 1) * entre(0, 2);
        s.telephone = QStringLiteral("0%1 %2 %3 %4 %5")
                          .arg(entre(0, 3) == 0 ? entre(1, 5) : entre(6, 7))
                          .arg(entre(10, 99))
                          .arg(entre(10, 99))
                          .arg(entre(10, 99))
                          .arg(entre(10, 99));
        if (entre(0, 4) > 0) {
            s.email = sansAccents(prenom) + u'.' + sansAccents(nom)
                + (entre(0, 1) ? QStringLiteral("@example.fr") : QStringLiteral("@example.com"));
        }
        s.remarque = QString::fromUtf8(parmi(Remarques));
        const double total = objet.prixNuit * arrivee.daysTo(depart);
        s.arrhes = std::round(total * 0.25);
        return s;
    }

    QVector<LigneJournal> journalDe(const Sejour &s)
    {
        const char *const codes[] = {"ESP", "CB", "CHQ", "VIR"};
        QVector<LigneJournal> lignes;
        lignes.append({s.creation, 0, QString(), QStringLiteral("Création de la reservation")});
        if (s.etat == Ferme)
            return lignes;
        QDateTime moment = s.creation;
        const auto plusTard = [&](int joursMax) {
            moment = auPlusTard(moment.addSecs(3600 * entre(1, 24 * joursMax)));
            return moment;
        };
        if (entre(0, 3) == 0)
            lignes.append(
                {plusTard(3), 0, QString(), QStringLiteral("Modification d'informations")});
        if (s.etat == ArrhesRecues || s.etat == Confirmee) {
            const QString code = QString::fromLatin1(parmi(codes));
            const QString libelle
                = entre(0, 2) == 0 ? QStringLiteral("Arrhes") : QStringLiteral("Paiement ") + code;
            lignes.append({plusTard(10), s.arrhes, code, libelle});
        }
        if (s.etat == Confirmee) {
            lignes.append(
                {plusTard(5), 0, QString(), QStringLiteral("Confirmation de réservation")});
            const QString moyen
                = entre(0, 2) == 0 ? QStringLiteral("Fax") : QStringLiteral("Email Contrat");
            lignes.append(
                {plusTard(1), 0, QString(), QStringLiteral("Envoi contrat par ") + moyen});
        }
        if (s.etat == Annulee || s.arrivee > m_maintenant)
            return lignes;

        // At the bar during the stay, up to now.
        double bar = 0;
        for (QDate jour = s.arrivee.date(); jour < s.depart.date() && jour <= m_maintenant.date();
             jour = jour.addDays(1)) {
            const int ventes = entre(0, 2);
            for (int v = 0; v < ventes; ++v) {
                const QDateTime quand(jour, QTime(entre(8, 21), entre(0, 59)));
                if (quand > m_maintenant || quand < s.arrivee)
                    continue;
                const Article &article = parmi(Articles);
                const int quantite = entre(1, 3);
                bar += article.prix * quantite;
                lignes.append({quand, -article.prix * quantite, QString(),
                               QStringLiteral("BAR ") + QString::fromUtf8(article.libelle)
                                   + QStringLiteral("\r\n") + QString::number(quantite)
                                   + QStringLiteral(" x ") + texteDuPrix(article.prix)});
            }
        }
        if (s.depart <= m_maintenant) {
            const double sejour = s.objet->prixNuit * s.arrivee.date().daysTo(s.depart.date());
            const double solde
                = sejour - (s.etat == Confirmee || s.etat == ArrhesRecues ? s.arrhes : 0) + bar;
            const QString code = QString::fromLatin1(parmi(codes));
            lignes.append(
                {s.depart.addSecs(-1800), solde, code, QStringLiteral("Paiement ") + code});
        }
        return lignes;
    }

    QSqlDatabase m_base;
    QRandomGenerator m_hasard;
    QDateTime m_maintenant;
    QVector<Sejour> m_sejours;
};

enum class Contenu { Rien, Etats, Reference, Demonstration };

} // namespace

QSqlError creerTablesDesComptes(const QSqlDatabase &base)
{
    QSqlQuery requete(base);
    const char *schema
        = BaseDeDonnees::estPostgres(base) ? SchemaComptesSqlPostgres : SchemaComptesSql;
    for (const QString &instruction : instructions(QString::fromUtf8(schema))) {
        if (!requete.exec(instruction))
            return requete.lastError();
    }
    return QSqlError();
}

namespace {

QSqlError creerTout(const QSqlDatabase &base, Contenu contenu)
{
    QSqlQuery requete(base);
    const char *schema = BaseDeDonnees::estPostgres(base) ? SchemaSqlPostgres : SchemaSql;
    for (const QString &instruction : instructions(QString::fromUtf8(schema))) {
        if (!requete.exec(instruction))
            return requete.lastError();
    }
    QSqlError erreur = creerTablesDesComptes(base);
    if (erreur.isValid() || contenu == Contenu::Rien)
        return erreur;
    erreur = insererEtats(base);
    if (!erreur.isValid() && contenu != Contenu::Etats)
        erreur = insererReference(base);
    if (!erreur.isValid() && contenu == Contenu::Demonstration)
        erreur = Demonstration(base).remplir();
    // The demonstration's journal, written straight, is chained as the program chains its own.
    if (!erreur.isValid())
        erreur = ChaineJournal::chainerLesLignesNonChainees(base);
    return erreur;
}

// One transaction: whole or absent, and on a file one write to the disk instead of one per row.
QSqlError creerEnUneFois(QSqlDatabase &base, Contenu contenu)
{
    if (!base.transaction())
        return base.lastError();
    QSqlError erreur = creerTout(base, contenu);
    if (erreur.isValid())
        base.rollback();
    else if (!base.commit())
        erreur = base.lastError();
    return erreur;
}

// On a server, the base itself is the administrator's to make: the tables go into it, only when
// it holds none of ours.
QSqlError creerSurServeur(const QString &adresse, Contenu contenu)
{
    static QAtomicInt compteur;
    const QString connexion
        = QStringLiteral("razarivu_creation_pg_%1").arg(compteur.fetchAndAddRelaxed(1));
    QSqlError erreur = BaseDeDonnees::connecterPostgres(adresse, connexion);
    if (erreur.isValid())
        return erreur;
    {
        QSqlDatabase base = QSqlDatabase::database(connexion, false);
        QSqlQuery requete(base);
        if (!requete.exec(QStringLiteral(
                "SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                "current_schema() AND table_name IN ('etats', 'objets', 'reservations', "
                "'operations', 'consommations', 'reservation_nominative')"))
            || !requete.next()) {
            erreur = requete.lastError();
        } else if (requete.value(0).toInt() > 0) {
            erreur = erreurCreation(QStringLiteral("La base %1 contient déjà des tables de "
                                                   "Razarivu : elle n'est pas modifiée.")
                                        .arg(adresse));
        } else {
            erreur = creerEnUneFois(base, contenu);
        }
        base.close();
    }
    QSqlDatabase::removeDatabase(connexion);
    if (erreur.isValid() && erreur.type() != QSqlError::ConnectionError)
        return erreurCreation(QStringLiteral("Création de la base %1 impossible : %2")
                                  .arg(adresse, messageBaseEnFrancais(erreur)));
    return erreur;
}

QSqlError creerFichier(const QString &chemin, Contenu contenu)
{
    if (estAdressePostgres(chemin))
        return creerSurServeur(chemin, contenu);
    // NewOnly makes the existence check and the creation one step: a file that appears in
    // between is not overwritten.
    QFile fichier(chemin);
    if (QFileInfo::exists(chemin) || !fichier.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(chemin))
            return erreurCreation(QStringLiteral("Le fichier existe déjà : %1").arg(chemin));
        return erreurCreation(
            QStringLiteral("Impossible de créer le fichier %1 : %2")
                .arg(chemin, messageFichierEnFrancais(fichier.error(), fichier.errorString())));
    }
    fichier.close();

    static QAtomicInt compteur;
    const QString connexion
        = QStringLiteral("razarivu_creation_%1").arg(compteur.fetchAndAddRelaxed(1));
    QSqlError erreur;
    {
        QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connexion);
        base.setDatabaseName(chemin);
        if (!base.open())
            erreur = base.lastError();
        else
            erreur = creerEnUneFois(base, contenu);
        base.close();
    }
    QSqlDatabase::removeDatabase(connexion);
    if (erreur.isValid()) {
        QFile::remove(chemin);
        return erreurCreation(QStringLiteral("Création de la base %1 impossible : %2")
                                  .arg(chemin, messageBaseEnFrancais(erreur)));
    }
    return QSqlError();
}

} // namespace

QSqlError creerBase(const QString &chemin, bool avecDemo)
{
    return creerFichier(chemin, avecDemo ? Contenu::Demonstration : Contenu::Reference);
}

QSqlError creerBaseVide(const QString &chemin)
{
    return creerFichier(chemin, Contenu::Etats);
}

QSqlError creerTables(const QString &chemin)
{
    return creerFichier(chemin, Contenu::Rien);
}

#include "documents/Facture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <limits>
#include <map>

QVector<TotalTaux> DocumentFacture::parTaux() const
{
    std::map<int, qint64> sommes;
    for (const LigneFacture &ligne : lignes) {
        if (!ligne.horsTva)
            sommes[ligne.tauxTva] += ligne.montant;
    }
    QVector<TotalTaux> totaux;
    for (const auto &[taux, somme] : sommes) {
        const Tarification::Ventilation part = Tarification::ventiler(somme, taux);
        totaux.append({taux, part.horsTaxe, part.tva, somme});
    }
    return totaux;
}

qint64 DocumentFacture::totalHorsTaxe() const
{
    qint64 total = 0;
    for (const TotalTaux &taux : parTaux())
        total += taux.horsTaxe;
    return total;
}

qint64 DocumentFacture::totalTva() const
{
    qint64 total = 0;
    for (const TotalTaux &taux : parTaux())
        total += taux.tva;
    return total;
}

qint64 DocumentFacture::horsChampTva() const
{
    qint64 total = 0;
    for (const LigneFacture &ligne : lignes)
        total += ligne.horsTva ? ligne.montant : 0;
    return total;
}

qint64 DocumentFacture::totalToutesTaxes() const
{
    qint64 total = 0;
    for (const LigneFacture &ligne : lignes)
        total += ligne.montant;
    return total;
}

qint64 DocumentFacture::paye() const
{
    qint64 total = 0;
    for (const PaiementFacture &paiement : paiements)
        total += paiement.montant;
    return total;
}

qint64 DocumentFacture::solde() const
{
    return totalToutesTaxes() - paye();
}

DocumentFacture DocumentFacture::avoir() const
{
    DocumentFacture avoir = *this;
    avoir.nature = Avoir;
    avoir.reference = numero;
    avoir.numero.clear();
    avoir.date = QDate();
    avoir.paiements.clear();
    for (LigneFacture &ligne : avoir.lignes)
        ligne.montant = -ligne.montant;
    return avoir;
}

namespace {

QString texteDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QJsonObject versObjet(const Etablissement &e)
{
    const Tarification::ReglageTaxe &taxe = e.taxe;
    const bool fixe = taxe.mode == Tarification::ReglageTaxe::Mode::Fixe;
    return {{"nom", e.nom},
            {"adresse", e.adresse},
            {"codePostal", e.codePostal},
            {"ville", e.ville},
            {"telephone", e.telephone},
            {"email", e.email},
            {"siret", e.siret},
            {"numeroTva", e.numeroTva},
            {"mentions", e.mentions},
            {"conditions", e.conditions},
            {"taxe",
             QJsonObject {{"mode", fixe ? "Fixe" : "Pourcentage"},
                          {"tarifFixe", taxe.tarifFixe},
                          {"pourcentage", taxe.pourcentage},
                          {"plafond", taxe.plafond},
                          {"majoration", taxe.majoration}}}};
}

// Reads the stored form; a value of the wrong kind spoils the whole reading (`valide`), a key
// missing leaves its field as a new document has it.
struct Lecture
{
    bool valide = true;

    void texte(const QJsonObject &objet, const char *cle, QString &champ)
    {
        const QJsonValue valeur = objet.value(QLatin1String(cle));
        if (valeur.isString())
            champ = valeur.toString();
        else
            valide = valide && valeur.isUndefined();
    }
    template<typename Entier> void entier(const QJsonObject &objet, const char *cle, Entier &champ)
    {
        const QJsonValue valeur = objet.value(QLatin1String(cle));
        if (valeur.isUndefined())
            return;
        // toInteger() gives its default for anything but a whole number: two defaults tell.
        const qint64 lu = valeur.toInteger(0);
        valide = valide && lu == valeur.toInteger(1) && lu >= std::numeric_limits<Entier>::min()
            && lu <= std::numeric_limits<Entier>::max();
        champ = Entier(lu);
    }
    void booleen(const QJsonObject &objet, const char *cle, bool &champ)
    {
        const QJsonValue valeur = objet.value(QLatin1String(cle));
        valide = valide && (valeur.isBool() || valeur.isUndefined());
        champ = valeur.toBool(champ);
    }
    void date(const QJsonObject &objet, const char *cle, QDate &champ)
    {
        QString texteLu;
        texte(objet, cle, texteLu);
        champ = QDate::fromString(texteLu, Qt::ISODate);
        valide = valide && (texteLu.isEmpty() || champ.isValid());
    }
    QJsonObject objet(const QJsonObject &parent, const char *cle)
    {
        const QJsonValue valeur = parent.value(QLatin1String(cle));
        valide = valide && (valeur.isObject() || valeur.isUndefined());
        return valeur.toObject();
    }
    QJsonArray tableau(const QJsonObject &parent, const char *cle)
    {
        const QJsonValue valeur = parent.value(QLatin1String(cle));
        valide = valide && (valeur.isArray() || valeur.isUndefined());
        return valeur.toArray();
    }
    // Each element of `tableau` must be an object.
    template<typename Element, typename Lire>
    QVector<Element> elements(const QJsonArray &tableau, Lire lire)
    {
        QVector<Element> lus;
        for (const QJsonValue &valeur : tableau) {
            valide = valide && valeur.isObject();
            Element element;
            lire(valeur.toObject(), element);
            lus.append(element);
        }
        return lus;
    }
};

} // namespace

QByteArray versJson(const DocumentFacture &document)
{
    QJsonArray lignes;
    for (const LigneFacture &ligne : document.lignes)
        lignes.append(QJsonObject {{"libelle", ligne.libelle},
                                   {"montant", ligne.montant},
                                   {"tauxTva", ligne.tauxTva},
                                   {"horsTva", ligne.horsTva}});
    QJsonArray paiements;
    for (const PaiementFacture &paiement : document.paiements)
        paiements.append(QJsonObject {{"date", texteDate(paiement.date)},
                                      {"libelle", paiement.libelle},
                                      {"montant", paiement.montant}});
    const QJsonObject objet {{"numero", document.numero},
                             {"nature", document.nature},
                             {"reference", document.reference},
                             {"date", texteDate(document.date)},
                             {"etablissement", versObjet(document.etablissement)},
                             {"reservation", document.reservation},
                             {"client", document.client},
                             {"objet", document.objet},
                             {"arrivee", texteDate(document.arrivee)},
                             {"depart", texteDate(document.depart)},
                             {"adultes", document.adultes},
                             {"enfants", document.enfants},
                             {"lignes", lignes},
                             {"paiements", paiements}};
    return QJsonDocument(objet).toJson(QJsonDocument::Compact);
}

std::optional<DocumentFacture> depuisJson(const QByteArray &json)
{
    QJsonParseError erreur;
    const QJsonDocument lu = QJsonDocument::fromJson(json, &erreur);
    if (erreur.error != QJsonParseError::NoError || !lu.isObject())
        return std::nullopt;
    const QJsonObject objet = lu.object();
    Lecture l;
    DocumentFacture d;
    l.texte(objet, "numero", d.numero);
    l.texte(objet, "nature", d.nature);
    l.texte(objet, "reference", d.reference);
    l.date(objet, "date", d.date);
    const QJsonObject etablissement = l.objet(objet, "etablissement");
    Etablissement &e = d.etablissement;
    l.texte(etablissement, "nom", e.nom);
    l.texte(etablissement, "adresse", e.adresse);
    l.texte(etablissement, "codePostal", e.codePostal);
    l.texte(etablissement, "ville", e.ville);
    l.texte(etablissement, "telephone", e.telephone);
    l.texte(etablissement, "email", e.email);
    l.texte(etablissement, "siret", e.siret);
    l.texte(etablissement, "numeroTva", e.numeroTva);
    l.texte(etablissement, "mentions", e.mentions);
    l.texte(etablissement, "conditions", e.conditions);
    const QJsonObject taxe = l.objet(etablissement, "taxe");
    QString mode = QStringLiteral("Fixe");
    l.texte(taxe, "mode", mode);
    l.valide = l.valide && (mode == QLatin1String("Fixe") || mode == QLatin1String("Pourcentage"));
    e.taxe.mode = mode == QLatin1String("Fixe") ? Tarification::ReglageTaxe::Mode::Fixe
                                                : Tarification::ReglageTaxe::Mode::Pourcentage;
    l.entier(taxe, "tarifFixe", e.taxe.tarifFixe);
    l.entier(taxe, "pourcentage", e.taxe.pourcentage);
    l.entier(taxe, "plafond", e.taxe.plafond);
    l.entier(taxe, "majoration", e.taxe.majoration);
    l.entier(objet, "reservation", d.reservation);
    l.texte(objet, "client", d.client);
    l.texte(objet, "objet", d.objet);
    l.date(objet, "arrivee", d.arrivee);
    l.date(objet, "depart", d.depart);
    l.entier(objet, "adultes", d.adultes);
    l.entier(objet, "enfants", d.enfants);
    d.lignes = l.elements<LigneFacture>(l.tableau(objet, "lignes"),
                                        [&](const QJsonObject &o, LigneFacture &ligne) {
                                            l.texte(o, "libelle", ligne.libelle);
                                            l.entier(o, "montant", ligne.montant);
                                            l.entier(o, "tauxTva", ligne.tauxTva);
                                            l.booleen(o, "horsTva", ligne.horsTva);
                                        });
    d.paiements = l.elements<PaiementFacture>(l.tableau(objet, "paiements"),
                                              [&](const QJsonObject &o, PaiementFacture &p) {
                                                  l.date(o, "date", p.date);
                                                  l.texte(o, "libelle", p.libelle);
                                                  l.entier(o, "montant", p.montant);
                                              });
    const bool nature = d.nature == DocumentFacture::Facture || d.nature == DocumentFacture::Avoir;
    if (!l.valide || !nature || !objet.contains(QLatin1String("lignes")))
        return std::nullopt;
    return d;
}

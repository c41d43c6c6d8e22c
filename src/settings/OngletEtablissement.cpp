#include "settings/OngletEtablissement.h"

#include "app/BoiteMessage.h"
#include "app/CheminsApplication.h"
#include "data/ArticlesBar.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Mode = Tarification::ReglageTaxe::Mode;

// "5,5": a rate as the owner types it, its sign in the field's label.
QString texteTaux(int centiemes)
{
    return ArticlesBar::texteTaux(centiemes).chopped(2);
}

// A sentence of ArticlesBar put after the name of the field it is about.
QString apres(const QString &champ, const QString &refus)
{
    return champ + QStringLiteral(" : ") + refus.left(1).toLower() + refus.mid(1);
}

QLineEdit *ligne(QWidget *parent, const char *nom, int largeur = 0)
{
    auto *champ = new QLineEdit(parent);
    champ->setObjectName(QLatin1String(nom));
    if (largeur > 0) {
        champ->setFixedWidth(largeur);
        champ->setAlignment(Qt::AlignRight);
    }
    return champ;
}

bool memeEtablissement(const Etablissement &a, const Etablissement &b)
{
    const Tarification::ReglageTaxe &x = a.taxe;
    const Tarification::ReglageTaxe &y = b.taxe;
    return a.nom == b.nom && a.adresse == b.adresse && a.codePostal == b.codePostal
        && a.ville == b.ville && a.telephone == b.telephone && a.email == b.email
        && a.siret == b.siret && a.numeroTva == b.numeroTva && a.mentions == b.mentions
        && a.conditions == b.conditions && x.mode == y.mode && x.tarifFixe == y.tarifFixe
        && x.pourcentage == y.pourcentage && x.plafond == y.plafond && x.majoration == y.majoration;
}

} // namespace

OngletEtablissement::OngletEtablissement(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OngletEtablissement"));
    auto *colonne = new QVBoxLayout(this);
    auto *haut = new QHBoxLayout;
    colonne->addLayout(haut);

    auto *identite = new QFormLayout;
    haut->addLayout(identite, 1);
    nom = ligne(this, "nom");
    adresse = ligne(this, "adresse");
    codePostal = ligne(this, "codePostal");
    ville = ligne(this, "ville");
    telephone = ligne(this, "telephone");
    email = ligne(this, "email");
    siret = ligne(this, "siret");
    numeroTva = ligne(this, "numeroTva");
    identite->addRow(QStringLiteral("&Nom :"), nom);
    identite->addRow(QStringLiteral("&Adresse :"), adresse);
    identite->addRow(QStringLiteral("Code &postal :"), codePostal);
    identite->addRow(QStringLiteral("V&ille :"), ville);
    identite->addRow(QStringLiteral("&Téléphone :"), telephone);
    identite->addRow(QStringLiteral("&E-mail :"), email);
    identite->addRow(QStringLiteral("&SIRET :"), siret);
    identite->addRow(QStringLiteral("N° T&VA :"), numeroTva);

    auto *textes = new QVBoxLayout;
    haut->addLayout(textes, 1);
    const auto texte = [&](const QString &libelle, const char *objet) {
        auto *champ = new QPlainTextEdit(this);
        champ->setObjectName(QLatin1String(objet));
        // Tab goes on to the next field, as everywhere else in the tab.
        champ->setTabChangesFocus(true);
        auto *etiquette = new QLabel(libelle, this);
        etiquette->setBuddy(champ);
        textes->addWidget(etiquette);
        textes->addWidget(champ);
        return champ;
    };
    mentions = texte(QStringLiteral("&Mentions de la facture :"), "mentions");
    conditions = texte(QStringLiteral("&Conditions du contrat :"), "conditions");

    auto *taxe = new QGroupBox(QStringLiteral("Taxe de séjour"), this);
    taxe->setObjectName(QStringLiteral("taxe"));
    colonne->addWidget(taxe);
    // Each mode with its fields: the fixed tariff beside its choice, the percentage and its cap
    // under theirs; the surcharge is due in both.
    auto *lignes = new QVBoxLayout(taxe);
    lignes->setSpacing(4);
    taxeFixe = new QRadioButton(QStringLiteral("Tarif fixe par adulte et par nuit"), taxe);
    taxeFixe->setObjectName(QStringLiteral("taxeFixe"));
    taxePourcentage = new QRadioButton(
        QStringLiteral("Pourcentage du prix par personne et par nuit (établissement non classé)"),
        taxe);
    taxePourcentage->setObjectName(QStringLiteral("taxePourcentage"));
    tarif = ligne(taxe, "tarif", 70);
    pourcentage = ligne(taxe, "pourcentage", 50);
    plafond = ligne(taxe, "plafond", 70);
    majoration = ligne(taxe, "majoration", 50);
    const auto rangee
        = [&](std::initializer_list<std::pair<QString, QWidget *>> elements, int retrait) {
              auto *rang = new QHBoxLayout;
              rang->addSpacing(retrait);
              for (const auto &[libelle, element] : elements) {
                  if (!libelle.isEmpty()) {
                      auto *texte = new QLabel(libelle, taxe);
                      texte->setBuddy(element);
                      rang->addSpacing(rang->count() > 1 ? 16 : 0);
                      rang->addWidget(texte);
                  }
                  rang->addWidget(element);
              }
              rang->addStretch();
              lignes->addLayout(rang);
          };
    rangee({{QString(), taxeFixe}, {QStringLiteral("Tari&f (€) :"), tarif}}, 0);
    rangee({{QString(), taxePourcentage}}, 0);
    rangee({{QStringLiteral("Pourcenta&ge (%) :"), pourcentage},
            {QStringLiteral("Plafon&d (€) :"), plafond}},
           24);
    rangee({{QStringLiteral("Taxe additionnelle départementale (%) :"), majoration}}, 0);
    connect(taxeFixe, &QRadioButton::toggled, this, &OngletEtablissement::actualiserTaxe);

    auto *bas = new QHBoxLayout;
    colonne->addLayout(bas);
    etat = new QLabel(this);
    etat->setObjectName(QStringLiteral("etat"));
    bas->addWidget(etat, 1);
    enregistrer = new QPushButton(QStringLiteral("En&registrer"), this);
    enregistrer->setObjectName(QStringLiteral("enregistrer"));
    bas->addWidget(enregistrer);
    connect(enregistrer, &QPushButton::clicked, this, &OngletEtablissement::enregistrer_Click);

    m_stocke = ReglagesEtablissement::lire();
    montrer(m_stocke);
}

void OngletEtablissement::montrer(const Etablissement &etablissement)
{
    nom->setText(etablissement.nom);
    adresse->setText(etablissement.adresse);
    codePostal->setText(etablissement.codePostal);
    ville->setText(etablissement.ville);
    telephone->setText(etablissement.telephone);
    email->setText(etablissement.email);
    siret->setText(etablissement.siret);
    numeroTva->setText(etablissement.numeroTva);
    mentions->setPlainText(etablissement.mentions);
    conditions->setPlainText(etablissement.conditions);
    const Tarification::ReglageTaxe &taxe = etablissement.taxe;
    (taxe.mode == Mode::Fixe ? taxeFixe : taxePourcentage)->setChecked(true);
    tarif->setText(ArticlesBar::montant(taxe.tarifFixe));
    pourcentage->setText(texteTaux(taxe.pourcentage));
    // No cap, no surcharge: nothing to read in their fields.
    plafond->setText(taxe.plafond > 0 ? ArticlesBar::montant(taxe.plafond) : QString());
    majoration->setText(taxe.majoration > 0 ? texteTaux(taxe.majoration) : QString());
    actualiserTaxe();
}

void OngletEtablissement::actualiserTaxe()
{
    const bool fixe = taxeFixe->isChecked();
    tarif->setEnabled(fixe);
    pourcentage->setEnabled(!fixe);
    plafond->setEnabled(!fixe);
}

std::optional<Etablissement> OngletEtablissement::lireChamps()
{
    auto refuser = [this](const QString &refus, QWidget *champ) -> std::optional<Etablissement> {
        BoiteMessage::afficher(this, refus);
        champ->setFocus();
        return std::nullopt;
    };
    Etablissement lu;
    lu.nom = nom->text().trimmed();
    lu.adresse = adresse->text().trimmed();
    lu.codePostal = codePostal->text().trimmed();
    lu.ville = ville->text().trimmed();
    lu.telephone = telephone->text().trimmed();
    lu.email = email->text().trimmed();
    lu.siret = siret->text().trimmed();
    lu.numeroTva = numeroTva->text().trimmed();
    lu.mentions = mentions->toPlainText();
    lu.conditions = conditions->toPlainText();

    // A greyed field is not the owner's concern now: what it holds is kept when it reads, the
    // stored value otherwise.
    Tarification::ReglageTaxe &taxe = lu.taxe;
    const Tarification::ReglageTaxe &stockee = m_stocke.taxe;
    const bool fixe = taxeFixe->isChecked();
    taxe.mode = fixe ? Mode::Fixe : Mode::Pourcentage;
    const ArticlesBar::LectureNombre tarifLu = ArticlesBar::lirePrix(tarif->text());
    if (fixe && !tarifLu.acceptee())
        return refuser(apres(QStringLiteral("Tarif de la taxe de séjour"), tarifLu.refus), tarif);
    taxe.tarifFixe = tarifLu.acceptee() ? tarifLu.valeur : stockee.tarifFixe;

    const ArticlesBar::LectureNombre tauxLu = ArticlesBar::lireTaux(pourcentage->text());
    const bool tauxAccepte = tauxLu.acceptee() && tauxLu.valeur >= 100 && tauxLu.valeur <= 500;
    if (!fixe && !tauxAccepte)
        return refuser(QStringLiteral("Le pourcentage de la taxe de séjour doit être compris "
                                      "entre 1 et 5 % (par exemple 5 ou 3,5)."),
                       pourcentage);
    taxe.pourcentage = tauxAccepte ? int(tauxLu.valeur) : stockee.pourcentage;

    const bool sansPlafond = plafond->text().trimmed().isEmpty();
    const ArticlesBar::LectureNombre plafondLu = ArticlesBar::lirePrix(plafond->text());
    if (!fixe && !sansPlafond && !plafondLu.acceptee())
        return refuser(apres(QStringLiteral("Plafond de la taxe de séjour"), plafondLu.refus),
                       plafond);
    taxe.plafond = sansPlafond ? 0 : plafondLu.acceptee() ? plafondLu.valeur : stockee.plafond;

    if (!majoration->text().trimmed().isEmpty()) {
        const ArticlesBar::LectureNombre majorationLue = ArticlesBar::lireTaux(majoration->text());
        if (!majorationLue.acceptee())
            return refuser(QStringLiteral("La taxe additionnelle départementale doit être un "
                                          "pourcentage de 0 à 100, par exemple 10."),
                           majoration);
        taxe.majoration = int(majorationLue.valeur);
    }

    if (const QString refus = ReglagesEtablissement::refus(lu); !refus.isEmpty()) {
        // Only a text can be refused past the checks above: the one too long takes the focus.
        QWidget *champ = mentions;
        for (const auto &[saisie, membre] :
             {std::pair<QWidget *, QString Etablissement::*> {nom, &Etablissement::nom},
              {adresse, &Etablissement::adresse},
              {codePostal, &Etablissement::codePostal},
              {ville, &Etablissement::ville},
              {telephone, &Etablissement::telephone},
              {email, &Etablissement::email},
              {siret, &Etablissement::siret},
              {numeroTva, &Etablissement::numeroTva},
              {mentions, &Etablissement::mentions},
              {conditions, &Etablissement::conditions}}) {
            if (ReglagesEtablissement::enUneLigne(lu.*membre).size()
                > ReglagesEtablissement::longueurPermise(membre)) {
                champ = saisie;
                break;
            }
        }
        return refuser(refus, champ);
    }
    return lu;
}

void OngletEtablissement::enregistrer_Click()
{
    etat->clear();
    const std::optional<Etablissement> lu = lireChamps();
    if (!lu)
        return;
    ReglagesEtablissement::ecrire(*lu);
    // The settings file says nothing of a write it could not do: what it gives back tells.
    const Etablissement relu = ReglagesEtablissement::lire();
    if (!memeEtablissement(relu, *lu)) {
        BoiteMessage::afficher(
            this,
            QStringLiteral("Les réglages n'ont pas pu être enregistrés : le "
                           "fichier « %1 » ne peut pas être modifié.")
                .arg(QDir::toNativeSeparators(CheminsApplication::fichierINIPrincipal())));
        return;
    }
    m_stocke = relu;
    montrer(m_stocke);
    etat->setText(QStringLiteral("Réglages enregistrés."));
}

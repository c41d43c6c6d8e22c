#include "reservations/OngletPrestations.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/ReglagesEtablissement.h"
#include "controls/Fabriques.h"
#include "controls/xpcmdbutton.h"
#include "conversion/MessageErreur.h"
#include "data/ArticlesBar.h"
#include "data/PortageCompte.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>

namespace {

constexpr int ColonneQuantite = 1;

} // namespace

OngletPrestations::OngletPrestations(Contexte &contexte, QWidget *parent)
    : QWidget(parent), m_contexte(contexte)
{
    m_prestations = new QTableWidget(0, 2, this);
    m_prestations->setObjectName(QStringLiteral("prestations"));
    m_prestations->setGeometry(4, 4, 250, 136);
    m_prestations->setHorizontalHeaderLabels({QStringLiteral("Prestation"), QStringLiteral("Qté")});
    m_prestations->verticalHeader()->hide();
    m_prestations->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_prestations->setColumnWidth(ColonneQuantite, 44);
    m_prestations->verticalHeader()->setDefaultSectionSize(20);
    nouvelleEtiquette(this, nullptr, QStringLiteral("Adultes exonérés :"), 4, 148);
    m_exoneres = new QSpinBox(this);
    m_exoneres->setObjectName(QStringLiteral("exoneres"));
    m_exoneres->setGeometry(130, 144, 50, 22);
    m_exoneres->setRange(0, 99);

    m_lignes = new QPlainTextEdit(this);
    m_lignes->setObjectName(QStringLiteral("lignesPrestations"));
    m_lignes->setReadOnly(true);
    m_lignes->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_lignes->setGeometry(262, 4, 300, 110);
    m_total = nouvelleEtiquette(this, "totalPrestations", QString(), 262, 120);
    m_total->setMinimumWidth(140);
    QFont gras = m_total->font();
    gras.setBold(true);
    m_total->setFont(gras);
    m_porter = nouveauBouton(this, "porterAuCompte", QStringLiteral("Porter au compte"),
                             {412, 140, 150, 26});

    connect(m_prestations, &QTableWidget::itemChanged, this, [this] {
        if (!m_remplissage)
            recalculer();
    });
    connect(m_exoneres, &QSpinBox::valueChanged, this, [this] {
        if (!m_remplissage)
            recalculer();
    });
    connect(m_porter, &xpcmdbutton::Click, this, &OngletPrestations::porterAuCompte);
}

void OngletPrestations::charger(int reservation)
{
    m_reservation = reservation;
    m_remplissage = true;
    m_prestations->setRowCount(0);
    m_exoneres->setValue(0);
    m_catalogue.clear();
    m_sejour = DecompteSejour::Sejour();
    const QSqlDatabase base = m_contexte.BasePlanning();
    QSqlError erreur;
    if (reservation > 0) {
        erreur = DecompteSejour::lireSejour(base, reservation, m_sejour);
        if (!erreur.isValid())
            erreur = TarifsEtablissement::lirePrestations(base, m_catalogue);
    }
    for (const TarifsEtablissement::Prestation &prestation : std::as_const(m_catalogue)) {
        const auto choisie
            = std::find_if(m_sejour.choix.cbegin(), m_sejour.choix.cend(),
                           [&](const auto &c) { return c.prestation == prestation.numero; });
        // A retired service shows only on the stays that took it.
        if (prestation.retire && choisie == m_sejour.choix.cend())
            continue;
        const int ligne = m_prestations->rowCount();
        m_prestations->insertRow(ligne);
        auto *nom = new QTableWidgetItem(prestation.libelle);
        nom->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        nom->setCheckState(choisie != m_sejour.choix.cend() ? Qt::Checked : Qt::Unchecked);
        nom->setData(Qt::UserRole, prestation.numero);
        nom->setToolTip(ArticlesBar::textePrix(prestation.prix) + QLatin1Char(' ')
                        + TarifsEtablissement::texteUnite(prestation.unite));
        m_prestations->setItem(ligne, 0, nom);
        const int quantite = choisie != m_sejour.choix.cend() ? choisie->quantite
            : prestation.unite == TarifsEtablissement::Unite::ParPersonneEtNuit
            ? m_sejour.adultes + m_sejour.enfants
            : 1;
        m_prestations->setItem(ligne, ColonneQuantite,
                               new QTableWidgetItem(QString::number(std::max(1, quantite))));
    }
    m_exoneres->setValue(m_sejour.adultesExoneres);
    m_remplissage = false;
    if (erreur.isValid()) {
        m_decompte = DecompteSejour::Decompte();
        m_decompte.refus = messageBaseEnFrancais(erreur);
        m_lignes->setPlainText(m_decompte.refus);
        m_total->clear();
        m_porter->setEnabled(false);
        return;
    }
    recalculer();
}

QVector<TarifsEtablissement::Choix> OngletPrestations::choixAffiches() const
{
    QVector<TarifsEtablissement::Choix> choix;
    for (int ligne = 0; ligne < m_prestations->rowCount(); ++ligne) {
        const QTableWidgetItem *nom = m_prestations->item(ligne, 0);
        bool lu = false;
        const int quantite
            = m_prestations->item(ligne, ColonneQuantite)->text().trimmed().toInt(&lu);
        if (nom->checkState() == Qt::Checked && lu && quantite > 0)
            choix.append({nom->data(Qt::UserRole).toInt(), quantite});
    }
    return choix;
}

void OngletPrestations::recalculer()
{
    if (m_reservation <= 0) {
        m_decompte = DecompteSejour::Decompte();
        m_decompte.refus = QStringLiteral("Enregistrez d'abord la réservation.");
    } else {
        DecompteSejour::Sejour sejour = m_sejour;
        sejour.choix = choixAffiches();
        sejour.adultesExoneres = m_exoneres->value();
        const QSqlError erreur = DecompteSejour::calculerDepuisLaBase(
            m_contexte.BasePlanning(), sejour, ReglagesEtablissement::lire().taxe, m_decompte);
        if (erreur.isValid()) {
            m_decompte = DecompteSejour::Decompte();
            m_decompte.refus = messageBaseEnFrancais(erreur);
        }
    }
    QStringList texte;
    for (const LigneFacture &ligne : std::as_const(m_decompte.lignes))
        texte << ligne.libelle + QStringLiteral(" : ") + ArticlesBar::textePrix(ligne.montant);
    m_lignes->setPlainText(m_decompte.refus.isEmpty() ? texte.join(QLatin1Char('\n'))
                                                      : m_decompte.refus);
    m_total->setText(m_decompte.refus.isEmpty()
                         ? QStringLiteral("Total : ") + ArticlesBar::textePrix(m_decompte.total())
                         : QString());
    m_total->adjustSize();
    m_porter->setEnabled(m_decompte.refus.isEmpty());
}

void OngletPrestations::porterAuCompte()
{
    recalculer();
    if (!m_decompte.refus.isEmpty()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Rien n'est porté au compte : ") + m_decompte.refus);
        return;
    }
    int ecrites = 0;
    const QSqlError erreur
        = PortageCompte::porter(m_contexte.BasePlanning(), m_reservation, m_decompte.lignes,
                                choixAffiches(), m_exoneres->value(), ecrites);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Les prestations n'ont pas pu être portées "
                                              "au compte :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    if (ecrites == 0)
        BoiteMessage::afficher(this, QStringLiteral("Le compte porte déjà ces prestations."));
    emit comptePorte();
}

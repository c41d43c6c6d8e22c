#include "reservations/OngletFacture.h"

#include "app/BoiteMessage.h"
#include "app/CheminsApplication.h"
#include "app/Contexte.h"
#include "app/ReglagesEtablissement.h"
#include "controls/Fabriques.h"
#include "controls/xpcmdbutton.h"
#include "conversion/MessageErreur.h"
#include "data/ArticlesBar.h"
#include "documents/Ouverture.h"
#include "documents/PdfFacture.h"

#include <QFileInfo>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

QString enumeration(const QStringList &parties)
{
    if (parties.size() < 2)
        return parties.join(QString());
    return parties.mid(0, parties.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" et ")
        + parties.last();
}

} // namespace

OngletFacture::OngletFacture(Contexte &contexte, QWidget *parent)
    : QWidget(parent), m_contexte(contexte)
{
    m_apercu = new QPlainTextEdit(this);
    m_apercu->setObjectName(QStringLiteral("apercuFacture"));
    m_apercu->setReadOnly(true);
    m_apercu->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_apercu->setGeometry(4, 4, 330, 162);
    QFont fixe(QStringLiteral("DejaVu Sans Mono"));
    fixe.setPointSize(8);
    m_apercu->setFont(fixe);
    m_liste = new QListWidget(this);
    m_liste->setObjectName(QStringLiteral("facturesEmises"));
    m_liste->setGeometry(342, 4, 220, 72);
    m_editer = nouveauBouton(this, "editerFacture", QStringLiteral("Éditer la facture"),
                             {342, 80, 220, 26});
    m_imprimer = nouveauBouton(this, "imprimerFacture", QStringLiteral("Imprimer à nouveau"),
                               {342, 110, 220, 26});
    m_avoir = nouveauBouton(this, "etablirAvoir", QStringLiteral("Établir un avoir"),
                            {342, 140, 220, 26});
    connect(m_editer, &xpcmdbutton::Click, this, &OngletFacture::editerFacture);
    connect(m_imprimer, &xpcmdbutton::Click, this, &OngletFacture::imprimerANouveau);
    connect(m_avoir, &xpcmdbutton::Click, this, &OngletFacture::etablirAvoir);
    connect(m_liste, &QListWidget::currentRowChanged, this, [this](int ligne) {
        m_imprimer->setEnabled(ligne >= 0);
        m_avoir->setEnabled(ligne >= 0 && m_emises.at(ligne).nature == DocumentFacture::Facture);
    });
}

QString OngletFacture::dossier() const
{
    return m_dossier.isEmpty()
        ? CheminsApplication::dansDossierApplication(QStringLiteral("Factures"))
        : m_dossier;
}

void OngletFacture::charger(int reservation)
{
    m_reservation = reservation;
    m_liste->clear();
    m_emises.clear();
    m_editer->setEnabled(reservation > 0);
    m_imprimer->setEnabled(false);
    m_avoir->setEnabled(false);
    if (reservation <= 0) {
        m_apercu->setPlainText(QStringLiteral("Enregistrez d'abord la réservation."));
        return;
    }
    const QSqlDatabase base = m_contexte.BasePlanning();
    DocumentFacture apercu;
    QString refus;
    QSqlError erreur
        = Facturation::preparer(base, reservation, ReglagesEtablissement::lire(), apercu, refus);
    if (!erreur.isValid())
        erreur = Facturation::lireEmises(base, reservation, m_emises);
    if (erreur.isValid())
        refus = messageBaseEnFrancais(erreur);
    // The establishment's block may be blank yet: the preview opens on what the guest is asked.
    m_apercu->setPlainText(refus.isEmpty() ? texteFacture(apercu).trimmed() : refus);
    for (const Facturation::Emise &emise : std::as_const(m_emises))
        m_liste->addItem(
            QStringLiteral("%1 %2 %3")
                .arg(emise.nature, emise.numero, ArticlesBar::textePrix(emise.totalToutesTaxes)));
}

QString OngletFacture::numeroChoisi() const
{
    const int ligne = m_liste->currentRow();
    return ligne >= 0 && ligne < m_emises.size() ? m_emises.at(ligne).numero : QString();
}

void OngletFacture::ouvrir(const QString &chemin)
{
    if (const QString refus = ouvrirDocument(chemin); !refus.isEmpty())
        BoiteMessage::afficher(this, refus);
}

void OngletFacture::editerFacture()
{
    const Etablissement etablissement = ReglagesEtablissement::lire();
    if (const QStringList manque = etablissement.manquePourFacturer(); !manque.isEmpty()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La facture ne peut pas être éditée : il "
                                              "manque %1 de l'établissement (Paramétres, "
                                              "onglet « Établissement »).")
                                   .arg(enumeration(manque)));
        return;
    }
    const QSqlDatabase base = m_contexte.BasePlanning();
    DocumentFacture facture;
    QString refus;
    QSqlError erreur = Facturation::preparer(base, m_reservation, etablissement, facture, refus);
    if (erreur.isValid())
        refus = messageBaseEnFrancais(erreur);
    if (!refus.isEmpty()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La facture ne peut pas être éditée : ") + refus);
        return;
    }
    if (!BoiteMessage::demander(
            this,
            QStringLiteral("Émettre la facture de %1 ?\nUne facture émise ne se modifie "
                           "plus : une correction se fait par un avoir.")
                .arg(ArticlesBar::textePrix(facture.totalToutesTaxes()))))
        return;
    QString chemin;
    erreur = Facturation::emettre(base, facture, dossier(), chemin);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La facture n'a pas été émise :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    charger(m_reservation);
    emit documentEmis();
    ouvrir(chemin);
}

void OngletFacture::imprimerANouveau()
{
    const QString numero = numeroChoisi();
    if (numero.isEmpty())
        return;
    DocumentFacture document;
    const QSqlError erreur = Facturation::lireDocument(m_contexte.BasePlanning(), numero, document);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this, messageBaseEnFrancais(erreur));
        return;
    }
    // Written again from what was stored when it was issued: the same paper.
    const QString chemin = Facturation::cheminPdf(dossier(), numero);
    if (const QString refus = ecrireFacturePdf(document, chemin); !refus.isEmpty()) {
        BoiteMessage::afficher(this, refus);
        return;
    }
    ouvrir(chemin);
}

void OngletFacture::etablirAvoir()
{
    const QString numero = numeroChoisi();
    if (numero.isEmpty()
        || !BoiteMessage::demander(this,
                                   QStringLiteral("Établir un avoir qui annule la facture "
                                                  "%1 ?")
                                       .arg(numero)))
        return;
    DocumentFacture avoir;
    QString chemin;
    const QSqlError erreur
        = Facturation::emettreAvoir(m_contexte.BasePlanning(), numero, dossier(), avoir, chemin);
    if (erreur.isValid()) {
        BoiteMessage::afficher(
            this, QStringLiteral("L'avoir n'a pas été établi :\n") + messageBaseEnFrancais(erreur));
        return;
    }
    charger(m_reservation);
    emit documentEmis();
    ouvrir(chemin);
}

#include "till/Encaissement.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "controls/Fabriques.h"
#include "controls/FondDialogue.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Conversion.h"
#include "conversion/MessageErreur.h"
#include "data/AjoutOperation.h"
#include "till/Caisse.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct Genre
{
    const char *legende;
    const char *code;
};
const Genre Genres[]
    = {{"Espèces", "ESP"}, {"Carte Bleue", "CB"}, {"Chèque", "CHQ"}, {"Virement", "VIR"}};

} // namespace

Encaissement::Encaissement(Contexte &contexte) : m_contexte(contexte)
{
    const ElementsDuFond elements
        = preparerDialoguePleinEcran(this, "Encaissement", QSize(480, 300));
    setWindowTitle(QStringLiteral("Encaissement"));
    dessin = elements.dessin;
    Fond = elements.Fond;

    nouvelleEtiquette(Fond, nullptr, QStringLiteral("reservation : "), 16, 14);
    reservation = nouvelleEtiquette(Fond, "reservation", QStringLiteral("reservation"), 110, 14);
    reservation->setMinimumWidth(120);
    for (int i = 0; i < 4; ++i) {
        // One below the other, 40 pixels apart.
        auto *bouton = nouveauBouton(Fond, "typereglemement", QString::fromUtf8(Genres[i].legende),
                                     QRect(16, 44 + 40 * i, 130, 32));
        bouton->setProperty("Index", i);
        bouton->setProperty("Tag", QString::fromLatin1(Genres[i].code));
        connect(bouton, &xpcmdbutton::Click, this, [this, i] { typereglemement_Click(i); });
        typereglemement << bouton;
    }
    typepaiement = nouvelleEtiquette(Fond, "typepaiement", QString(), 170, 44);
    QFont grande = typepaiement->font();
    grande.setPointSize(18);
    typepaiement->setFont(grande);
    typepaiement->setMinimumSize(290, 36);

    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Montant : "), 170, 104);
    montant = new QLineEdit(QStringLiteral("0"), Fond);
    montant->setObjectName(QStringLiteral("montant"));
    montant->setGeometry(260, 100, 200, 24);
    nouvelleEtiquette(Fond, nullptr, QStringLiteral("Commentaire"), 170, 140);
    commentaire = new QLineEdit(Fond);
    commentaire->setObjectName(QStringLiteral("commentaire"));
    commentaire->setGeometry(170, 160, 290, 24);

    OK = new QPushButton(QStringLiteral("OK"), Fond);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(250, 250, 100, 30);
    OK->setDefault(true);
    OK->setEnabled(false);
    Annuler = new QPushButton(QStringLiteral("Annuler"), Fond);
    Annuler->setObjectName(QStringLiteral("Annuler"));
    Annuler->setGeometry(360, 250, 100, 30);
    // Enter on Annuler once Tab has reached it cancels, as it would in a dialog, rather than
    // reaching the window and recording the payment.
    Annuler->setAutoDefault(true);
    connect(OK, &QPushButton::clicked, this, &Encaissement::OK_Click);
    connect(Annuler, &QPushButton::clicked, this, &Encaissement::Annuler_Click);

    MontrerFondDialogue(dessin, Fond);
}

void Encaissement::typereglemement_Click(int index)
{
    if (index < 0 || index >= typereglemement.size())
        return;
    typepaiement->setText(typereglemement[index]->Caption());
    typepaiement->setProperty("Tag", typereglemement[index]->property("Tag"));
    OK->setEnabled(true);
    montant->setFocus();
    montant->selectAll();
}

void Encaissement::OK_Click()
{
    const std::optional<double> somme = Caisse::montantEncaisse(montant->text());
    if (!somme) {
        BoiteMessage::afficher(this, QString::fromUtf8(Caisse::MontantRefuse));
        return;
    }
    const QString code = typepaiement->property("Tag").toString();
    if (commentaire->text().isEmpty())
        commentaire->setText(QStringLiteral("Paiement ") + code);
    const QSqlError erreur = AjoutOperation(m_contexte.BasePlanning(),
                                            Conversion::ValeurNumerique(reservation->text()),
                                            *somme, code, commentaire->text());
    if (erreur.isValid()) {
        // The owner must know the payment is not in the account, and can try again.
        BoiteMessage::afficher(this,
                               QStringLiteral("Le paiement n'a pas pu être enregistré :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    emit compteAMettreAJour();
    close();
}

void Encaissement::Annuler_Click()
{
    close();
}

void Encaissement::keyPressEvent(QKeyEvent *evenement)
{
    switch (evenement->key()) {
    case Qt::Key_Escape:
        Annuler->click();
        return;
    // The keypad's Enter too. A disabled OK (no kind chosen yet) takes no click.
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OK->click();
        return;
    default:
        QWidget::keyPressEvent(evenement);
    }
}

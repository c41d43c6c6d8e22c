#include "till/BAR.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "controls/Fabriques.h"
#include "controls/FondDialogue.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Conversion.h"
#include "conversion/MessageErreur.h"
#include "data/AjoutOperation.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "till/Caisse.h"
#include "till/Encaissement.h"
#include "till/TicketDeCaisse.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// Article buttons in pixels: the first at 16, 48, each 81 x 56, 4 apart; a row is full once the
// next left would pass 790, so that ten stand in a row. Wider than the twips of old, so that a
// word such as "Petit-déjeuner" fits on its line in today's fonts.
constexpr int GaucheArticles = 16;
constexpr int HautArticles = 48;
constexpr int LargeurArticle = 81;
constexpr int HauteurArticle = 56;
constexpr int Ecart = 4;
constexpr int FinDeRangee = 790;
// The strip, the display and the keys stand right of the articles.
constexpr int Droite = 900;

const QString RetourLigne = QStringLiteral("\r\n");

} // namespace

BAR::BAR(Contexte &contexte) : m_contexte(contexte)
{
    const ElementsDuFond elements = preparerDialoguePleinEcran(this, "BAR", QSize(1080, 620));
    setWindowTitle(QStringLiteral("Bar"));
    dessin = elements.dessin;
    Fond = elements.Fond;

    auto *avantNumero = new QLabel(QStringLiteral("reservation : "), Fond);
    avantNumero->move(16, 16);
    reservation = new QLabel(QStringLiteral("reservation"), Fond);
    reservation->setObjectName(QStringLiteral("reservation"));
    reservation->setGeometry(110, 16, 200, 20);

    aucunArticle = new QLabel(QStringLiteral("Aucun article n'est enregistré pour le bar."), Fond);
    aucunArticle->setObjectName(QStringLiteral("aucunArticle"));
    aucunArticle->setGeometry(GaucheArticles, HautArticles, FinDeRangee, HauteurArticle);
    aucunArticle->hide();

    Ticket = new TicketDeCaisse(Fond);
    Ticket->setObjectName(QStringLiteral("Ticket"));
    Ticket->setGeometry(Droite, 16, 161, 297);
    R = new QLabel(QStringLiteral("Total"), Fond);
    R->setObjectName(QStringLiteral("R"));
    R->setGeometry(Droite, 326, 40, 20);
    afficheur = new QLineEdit(QStringLiteral("0.00"), Fond);
    afficheur->setObjectName(QStringLiteral("afficheur"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(14.25);
    arial.setBold(true);
    afficheur->setFont(arial);
    afficheur->setAlignment(Qt::AlignRight);
    afficheur->setGeometry(Droite + 40, 318, 121, 32);
    afficheur->installEventFilter(this);

    // The keypad: four keys a row, the 0 key twice as wide. Its keys sell nothing.
    const char *const Touches[] = {"7", "8", "9", "+", "4", "5", "6", "-", "1", "2", "3", "0", ","};
    for (int i = 0; i < 13; ++i) {
        const int rangee = i < 11 ? i / 4 : 3;
        const int colonne = i < 11 ? i % 4 : (i == 11 ? 0 : 2);
        auto *touche
            = nouveauBouton(Fond, "calc", QString::fromLatin1(Touches[i]),
                            QRect(Droite + 40 * colonne, 358 + 36 * rangee, i == 11 ? 73 : 33, 33));
        touche->setProperty("Index", i);
        calc << touche;
    }
    encaissemnt
        = nouveauBouton(Fond, "encaissemnt", QStringLiteral("€"), QRect(Droite, 510, 77, 32));
    Quitter
        = nouveauBouton(Fond, "Quitter", QStringLiteral("Fermer"), QRect(Droite + 84, 510, 77, 32));
    connect(encaissemnt, &xpcmdbutton::Click, this, &BAR::encaissemnt_Click);
    connect(Quitter, &xpcmdbutton::Click, this, &BAR::Quitter_Click);

    infos = new QLabel(Fond);
    infos->setObjectName(QStringLiteral("infos"));
    infos->setGeometry(16, 586, 860, 22);

    charger();
}

BoutonEclaire *BAR::nouvelArticle(int index)
{
    auto *bouton = new BoutonEclaire(Fond);
    bouton->setObjectName(QStringLiteral("Consommation"));
    bouton->setProperty("Index", index);
    bouton->resize(LargeurArticle, HauteurArticle);
    QFont police = bouton->font();
    police.setPointSizeF(7.5);
    bouton->setFont(police);
    connect(bouton, &xpcmdbutton::Click, this, [this, index] { Consommation_Click(index); });
    connect(bouton, &xpcmdbutton::MouseMove, this,
            [this, index] { Consommation_MouseMove(index); });
    connect(bouton, &xpcmdbutton::KeyPress, this,
            [this](qint16 &touche) { Consommation_KeyPress(touche); });
    return bouton;
}

void BAR::charger()
{
    MontrerFondDialogue(dessin, Fond);
    Recordset articles(m_contexte.BasePlanning(),
                       QString::fromLatin1(TextesSQL::consommationsParFamille));
    if (!articles.estOuvert() || articles.erreur().isValid()) {
        aucunArticle->show();
        return;
    }
    int x = GaucheArticles;
    int y = HautArticles;
    int i = 0;
    for (; !articles.fin(); articles.suivant(), ++i) {
        if (x > FinDeRangee) {
            x = GaucheArticles;
            y += HauteurArticle + Ecart;
        }
        BoutonEclaire *bouton = nouvelArticle(i);
        Consommation << bouton;
        bouton->move(x, y);
        bouton->setCaption(Conversion::Remplacer(
            Conversion::SansNull(articles.champ(QStringLiteral("Libelle"))).toString(),
            QStringLiteral(" "), RetourLigne));
        bouton->setProperty(
            "Tag", Caisse::texteDuPrix(articles.champ(QStringLiteral("prixTTC")).toDouble()));
        bouton->show();
        x += bouton->width() + Ecart;
    }
    aucunArticle->setVisible(Consommation.isEmpty());
    Ticket->init();
    QCoreApplication::processEvents();
    afficheur->setFocus(Qt::OtherFocusReason);
    afficheur_GotFocus(Qt::OtherFocusReason);
}

void BAR::afficheur_GotFocus(Qt::FocusReason raison)
{
    afficheur->setText(QStringLiteral("1"));
    afficheur->selectAll();
    // A click into the box places the cursor after the focus came: select again once it has.
    // Only then: after a key typed on an article the digit must stay unselected, or the next
    // digit would replace it instead of following it.
    if (raison == Qt::MouseFocusReason)
        QTimer::singleShot(0, afficheur, [champ = afficheur] { champ->selectAll(); });
    R->clear();
}

bool BAR::eventFilter(QObject *objet, QEvent *evenement)
{
    if (objet == afficheur && evenement->type() == QEvent::FocusIn)
        afficheur_GotFocus(static_cast<QFocusEvent *>(evenement)->reason());
    return QWidget::eventFilter(objet, evenement);
}

void BAR::Consommation_KeyPress(qint16 KeyAscii)
{
    afficheur->setFocus(Qt::OtherFocusReason);
    afficheur_GotFocus(Qt::OtherFocusReason);
    if (KeyAscii > 0)
        afficheur->insert(QString(QChar(char16_t(KeyAscii))));
}

void BAR::Consommation_MouseMove(int index)
{
    if (index < 0 || index >= Consommation.size())
        return;
    const xpcmdbutton *bouton = Consommation[index];
    infos->setText(
        Conversion::Remplacer(bouton->Caption(), RetourLigne, QStringLiteral(" "))
        + QStringLiteral(" : ")
        + Conversion::FormaterChamp(5, Caisse::prixDuTexte(bouton->property("Tag").toString()))
              .toString());
}

void BAR::Consommation_Click(int index)
{
    if (index < 0 || index >= Consommation.size())
        return;
    const xpcmdbutton *bouton = Consommation[index];
    const QString prixTexte = bouton->property("Tag").toString();
    const std::optional<qint16> q
        = R->text().isEmpty() ? Caisse::quantite(afficheur->text()) : std::optional<qint16>(1);
    if (!q) {
        BoiteMessage::afficher(this, QString::fromUtf8(Caisse::QuantiteRefusee));
        return;
    }
    const double p = Caisse::prixDuTexte(prixTexte);
    const double montant = p * *q;
    if (!Caisse::montantAcceptable(montant) || !Caisse::montantAcceptable(totaldu + montant)) {
        BoiteMessage::afficher(this, QString::fromUtf8(Caisse::MontantRefuse));
        return;
    }
    const QString nom = Conversion::Remplacer(bouton->Caption(), RetourLigne, QStringLiteral(" "));
    // Charged first: a sale the account did not take is neither printed nor totalled, so the
    // strip never shows what the client will not be asked to pay.
    const QSqlError erreur = AjoutOperation(
        m_contexte.BasePlanning(), Conversion::ValeurNumerique(reservation->text()), -montant,
        QString(), Caisse::libelleDeVente(nom, *q, prixTexte));
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La vente n'a pas pu être portée au compte :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    Ticket->AjoutTexte(nom);
    Ticket->AjoutTexte(Caisse::ligneDeVente(*q, prixTexte, montant));
    totaldu += montant;
    afficheur->setText(Conversion::FormatMonetaire(totaldu));
    R->setText(QStringLiteral("Total"));
}

void BAR::encaissemnt_Click()
{
    auto *paiement = new Encaissement(m_contexte);
    connect(paiement, &Encaissement::compteAMettreAJour, this, &BAR::compteAMettreAJour);
    paiement->show();
    paiement->reservation->setText(reservation->text());
}

void BAR::Quitter_Click()
{
    emit compteAMettreAJour();
    close();
}

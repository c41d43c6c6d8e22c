#include "settings/parametres.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/Langues.h"
#include "controls/BarreSeparatrice.h"
#include "controls/Fabriques.h"
#include "controls/FondDialogue.h"
#include "controls/xpcmdbutton.h"
#include "conversion/Couleurs.h"
#include "conversion/MessageErreur.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include <limits>

namespace {

// The design-time row: where row 0 stands in `fondcouleurs`, and each row's height.
constexpr int HautLigne = 8;
constexpr int HauteurLigne = 30;

void colorer(QWidget *pastille, const QColor &couleur)
{
    QPalette palette = pastille->palette();
    palette.setColor(QPalette::Window, couleur);
    pastille->setPalette(palette);
}

} // namespace

parametres::parametres(Contexte &contexte) : m_contexte(contexte)
{
    const ElementsDuFond elements = preparerDialoguePleinEcran(this, "parametres", QSize(640, 480));
    dessin = elements.dessin;
    Fond = elements.Fond;

    Label1 = new QLabel(QStringLiteral("Paramétres"), Fond);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(QFont(QStringLiteral("Arial Black"), 16));
    Label1->setGeometry(16, 8, 400, 36);
    quitter = nouveauBouton(Fond, "quitter", QStringLiteral("Quitter"), QRect(520, 440, 104, 28));
    connect(quitter, &xpcmdbutton::Click, this, &parametres::quitter_Click);

    SSTab1 = new QTabWidget(Fond);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setGeometry(16, 52, 608, 380);
    // A house with many states scrolls down to the last one rather than losing it past the tab.
    auto *couleurs = new QScrollArea;
    couleurs->setFrameShape(QFrame::NoFrame);
    SSTab1->addTab(couleurs, QStringLiteral("Couleurs"));
    fondcouleurs = new QWidget;
    fondcouleurs->setObjectName(QStringLiteral("fondcouleurs"));
    fondcouleurs->setGeometry(8, 8, 580, HautLigne + HauteurLigne);
    couleurs->setWidget(fondcouleurs);
    // The objects tab: two panes the owner shares out with the splitter bar, which keeps its
    // place in the main settings from one opening to the next.
    auto *objets = new QWidget;
    SSTab1->addTab(objets, QStringLiteral("Objets"));
    BaseDeDonnees1 = new QWidget(objets);
    BaseDeDonnees1->setObjectName(QStringLiteral("BaseDeDonnees1"));
    BaseDeDonnees1->setGeometry(8, 8, 584, 330);
    fondgauche = new QFrame(BaseDeDonnees1);
    fondgauche->setObjectName(QStringLiteral("fondgauche"));
    fondgauche->setFrameShape(QFrame::StyledPanel);
    fondgauche->setGeometry(0, 0, 280, 330);
    fonddroite = new QFrame(BaseDeDonnees1);
    fonddroite->setObjectName(QStringLiteral("fonddroite"));
    fonddroite->setFrameShape(QFrame::StyledPanel);
    fonddroite->setGeometry(287, 0, 297, 330);
    BarreSeparatrice1 = new BarreSeparatrice(BaseDeDonnees1);
    BarreSeparatrice1->setObjectName(QStringLiteral("BarreSeparatrice1"));
    BarreSeparatrice1->setGeometry(281, 0, BarreSeparatrice::Largeur, 330);
    if (!m_contexte.FichierINIPrincipal.isEmpty())
        BarreSeparatrice1->Controle_GAUCHEDROITE_avecMEMOIRE(
            fondgauche, fonddroite, BaseDeDonnees1, QStringLiteral("parametres"),
            QStringLiteral("BarreSeparatrice1"), m_contexte.FichierINIPrincipal);
    SSTab1->addTab(new QWidget, QStringLiteral("Tab 2"));

    // The design-time row 0 and its texts, shown as they are when the base has no state.
    ajouterLigne();
    fondetats[0]->setText(QStringLiteral("Label2"));

    choisirCouleur = [this](const QColor &actuelle) -> std::optional<QColor> {
        const QColor choisie = QColorDialog::getColor(actuelle, this);
        if (!choisie.isValid())
            return std::nullopt;
        return choisie;
    };
    charger();
}

void parametres::ajouterLigne()
{
    const int i = int(fondetats.size());
    const int haut = HautLigne + i * HauteurLigne;
    auto *nom = new QLabel(fondcouleurs);
    nom->setObjectName(QStringLiteral("fondetats"));
    nom->setGeometry(8, haut, 200, 24);
    auto *pastille = new QWidget(fondcouleurs);
    pastille->setObjectName(QStringLiteral("fondetatcouleurs"));
    pastille->setAutoFillBackground(true);
    pastille->setGeometry(216, haut, 80, 24);
    auto *changer = new QPushButton(QStringLiteral("Changer Couleur"), fondcouleurs);
    changer->setObjectName(QStringLiteral("fondchangercouleurs"));
    changer->setGeometry(304, haut, 150, 24);
    auto *web = new QCheckBox(QStringLiteral("Internet"), fondcouleurs);
    web->setObjectName(QStringLiteral("internet"));
    web->setGeometry(464, haut, 110, 24);
    connect(changer, &QPushButton::clicked, this, [this, i] { fondchangercouleurs_Click(i); });
    connect(web, &QCheckBox::clicked, this, [this, i] { internet_Click(i); });
    for (QWidget *element : {static_cast<QWidget *>(nom), pastille, static_cast<QWidget *>(changer),
                             static_cast<QWidget *>(web)})
        element->setProperty("Index", i);
    fondetats << nom;
    fondetatcouleurs << pastille;
    fondchangercouleurs << changer;
    internet << web;
}

void parametres::charger()
{
    MontrerFondDialogue(dessin, Fond);
    setWindowTitle(Traduire(QStringLiteral("Parametres")));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Recordset etats(m_contexte.BasePlanning(), QString::fromLatin1(TextesSQL::etatsDuParametrage));
    const QPalette palette;
    for (int i = 0; !etats.fin(); etats.suivant(), ++i) {
        if (i >= fondetats.size())
            ajouterLigne();
        fondcouleurs->resize(fondcouleurs->width(), fondetats[i]->y() + fondetats[i]->height());
        fondetats[i]->setText(etats.champ(QStringLiteral("Nom")).toString());
        fondetats[i]->setProperty("Tag", etats.champ(QStringLiteral("code")).toString());
        // The box shows and sets the flag the web calendar publishes by.
        internet[i]->setChecked(etats.champ(QStringLiteral("internet")).toInt() != 0);
        // A colour that is Null or no 32-bit value leaves the swatch as it was designed.
        const QVariant champ = etats.champ(QStringLiteral("CouleurPrincipale"));
        bool lue = false;
        const qlonglong couleur = champ.toLongLong(&lue);
        if (lue && !champ.isNull() && couleur >= std::numeric_limits<qint32>::min()
            && couleur <= std::numeric_limits<qint32>::max())
            colorer(fondetatcouleurs[i], couleurDepuisVB(quint32(qint32(couleur)), palette));
    }
    QGuiApplication::restoreOverrideCursor();
}

QSqlError parametres::enregistrer(int index, const QString &champ, const QVariant &valeur)
{
    Recordset etat(m_contexte.BasePlanning(),
                   TextesSQL::etatParCode(fondetats[index]->property("Tag").toInt()));
    QSqlError erreur = etat.erreur();
    if (!erreur.isValid() && !etat.fin()) {
        etat.modifier();
        etat.fixerChamp(champ, valeur);
        erreur = etat.valider();
    }
    return erreur;
}

void parametres::fondchangercouleurs_Click(int index)
{
    if (index < 0 || index >= fondetats.size() || !choisirCouleur)
        return;
    const std::optional<QColor> choisie
        = choisirCouleur(fondetatcouleurs[index]->palette().color(QPalette::Window));
    // Cancelled: nothing changes (the colour the picker happened to hold is not stored).
    if (!choisie)
        return;
    const QSqlError erreur
        = enregistrer(index, QStringLiteral("CouleurPrincipale"), qint64(couleurVersVB(*choisie)));
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("La couleur n'a pas pu être enregistrée :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    colorer(fondetatcouleurs[index], *choisie);
    emit couleurChangee();
}

void parametres::internet_Click(int index)
{
    if (index < 0 || index >= fondetats.size())
        return;
    const QSqlError erreur
        = enregistrer(index, QStringLiteral("surinternet"), internet[index]->isChecked());
    if (erreur.isValid()) {
        internet[index]->setChecked(!internet[index]->isChecked());
        BoiteMessage::afficher(this,
                               QStringLiteral("Le choix n'a pas pu être enregistré :\n")
                                   + messageBaseEnFrancais(erreur));
    }
}

void parametres::quitter_Click()
{
    close();
}

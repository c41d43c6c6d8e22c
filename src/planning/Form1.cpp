#include "planning/Form1.h"

#include "app/BoiteMessage.h"
#include "app/CentrerFenetre.h"
#include "app/Contexte.h"
#include "app/Demarrage.h"
#include "app/HauteurListe.h"
#include "app/Horloge.h"
#include "app/intro.h"
#include "controls/ScrollBar.h"
#include "conversion/Conversion.h"
#include "conversion/Couleurs.h"

#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>

namespace {
QComboBox *nouvelleListe(QWidget *parent, const char *nom, const QRect &place)
{
    auto *liste = new QComboBox(parent);
    liste->setObjectName(QLatin1String(nom));
    liste->setEditable(true);
    liste->setInsertPolicy(QComboBox::NoInsert);
    liste->setGeometry(place);
    return liste;
}

void colorer(QWidget *surface, quint32 couleur)
{
    surface->setAutoFillBackground(true);
    QPalette palette = surface->palette();
    palette.setColor(QPalette::Window, couleurDepuisVB(couleur, palette));
    surface->setPalette(palette);
}
} // namespace

Form1::Form1(Contexte &contexte, QWidget *parent)
    : QWidget(parent)
    , fondplanning(new QWidget(this))
    , colonnes(new QWidget(fondplanning))
    , m_contexte(contexte)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Calendrier"));
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(8.25);
    setFont(police);

    fondplanning->setObjectName(QStringLiteral("fondplanning"));
    colorer(fondplanning, 0x8000000Cu);
    fondplanning->move(8, 8);

    colonnes->setObjectName(QStringLiteral("colonnes"));
    colorer(colonnes, 0xC0C0C0u);
    colonnes->setGeometry(0, 0, 153, 68);

    choixannee = nouvelleListe(colonnes, "choixannee", QRect(8, 0, 57, 21));
    choixmois = nouvelleListe(colonnes, "choixmois", QRect(64, 0, 81, 21));
    ChoixSelection = nouvelleListe(colonnes, "ChoixSelection", QRect(9, 36, 137, 21));

    resize(sizeHint());
}

bool Form1::charger()
{
    Demarrage::preparer(m_contexte);

    intro splash;
    CentrerFenetre(&splash);
    splash.show();
    QCoreApplication::processEvents();
    splash.progression()->setValue(10);
    for (int valeur : {10, 30, 50, 70, 90}) {
        splash.progression()->setValue(valeur);
        QCoreApplication::processEvents();
    }

    Demarrage::lireClignotements(m_contexte);
    if (Demarrage::ouvrirBase(m_contexte).isValid()) {
        splash.hide();
        BoiteMessage::afficher(this, Demarrage::messageEchecOuverture(m_contexte));
        return false;
    }
    Demarrage::chargerEtats(m_contexte);
    Demarrage::lireChampsDansBarre(m_contexte);
    largeurjour = 20;
    hauteurligne = 20;

    mouvementaujourdhui_Click();
    afficherDansLeCadre();
    rafraichir();

    const int annee = Horloge::aujourdhui().year();
    for (int a = annee - 1; a <= annee + 5; ++a)
        choixannee->addItem(QString::number(a));
    for (qint16 mois = 1; mois <= 12; ++mois)
        choixmois->addItem(Conversion::NomDuMois(mois));
    ajusterHauteurListe(choixmois, 12);
    // Filling the lists put their first entries in the selectors: show the period again.
    afficherPeriode();

    splash.close();
    ChoixSelection->addItem(QStringLiteral("Tous"));
    return true;
}

void Form1::rafraichir()
{
    afficherPeriode();
}

void Form1::afficherPeriode()
{
    choixannee->setEditText(datedepart.toString(QStringLiteral("yyyy")));
    choixmois->setEditText(Conversion::NomDuMois(qint16(datedepart.month())));
}

void Form1::mouvementaujourdhui_Click()
{
    datedepart = Horloge::aujourdhui();
    rafraichir();
}

void Form1::resizeEvent(QResizeEvent *evenement)
{
    QWidget::resizeEvent(evenement);
    if (m_redimensionnementEnCours)
        return;
    m_redimensionnementEnCours = true;
    const int marge = fondplanning->x();
    fondplanning->resize(qMax(0, width() - 2 * marge),
                         qMax(0, height() - fondplanning->y() - marge));
    rafraichir();
    m_redimensionnementEnCours = false;
}

void Form1::afficherDansLeCadre()
{
    if (auto *cadre = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        cadre->show();
        cadre->resize(cadre->sizeHint());
    }
    show();
}

#include "settings/EditionEtat.h"

#include "app/BoiteMessage.h"
#include "conversion/Couleurs.h"
#include "data/EtatsEtablissement.h"
#include "reservations/ConflitDeVersion.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Dark enough for the white client names the planning writes on the bars.
const QColor CouleurNouvelEtat(0x4A, 0x6F, 0x9C);

void colorer(QWidget *pastille, const QColor &couleur)
{
    QPalette palette = pastille->palette();
    palette.setColor(QPalette::Window, couleur);
    pastille->setPalette(palette);
}

} // namespace

EditionEtat::EditionEtat(const QSqlDatabase &base, ChoixCouleur choisirCouleur, QWidget *parent)
    : QDialog(parent)
    , m_base(base)
    , m_choisirCouleur(std::move(choisirCouleur))
    , m_ajout(true)
    , m_couleur(CouleurNouvelEtat)
{
    construire(QStringLiteral("Nouvel état"));
}

EditionEtat::EditionEtat(const QSqlDatabase &base, qint32 code, const QString &nom, QWidget *parent)
    : QDialog(parent), m_base(base), m_ajout(false)
{
    construire(QStringLiteral("Renommer l'état"));
    Code->setText(QString::number(code));
    // The stays refer to the code: only the name may change.
    Code->setReadOnly(true);
    Code->setEnabled(false);
    Nom->setText(nom);
    m_nomMontre = nom;
    Nom->selectAll();
    Nom->setFocus();
    // Colour and flags are changed in the state's row itself.
    for (QWidget *element : {pastille, static_cast<QWidget *>(choisir),
                             static_cast<QWidget *>(surinternet), static_cast<QWidget *>(occupe)})
        element->hide();
    findChild<QLabel *>(QStringLiteral("etiquetteCouleur"))->hide();
}

void EditionEtat::construire(const QString &titre)
{
    setObjectName(QStringLiteral("EditionEtat"));
    setWindowTitle(titre);
    setModal(true);
    auto *grille = new QGridLayout(this);
    auto etiquette = [&](const QString &texte, int ligne) {
        auto *libelle = new QLabel(texte, this);
        grille->addWidget(libelle, ligne, 0);
        return libelle;
    };
    Code = new QLineEdit(this);
    Code->setObjectName(QStringLiteral("Code"));
    etiquette(QStringLiteral("Code :"), 0)->setBuddy(Code);
    grille->addWidget(Code, 0, 1, 1, 2);
    Nom = new QLineEdit(this);
    Nom->setObjectName(QStringLiteral("Nom"));
    Nom->setMinimumWidth(260);
    etiquette(QStringLiteral("Nom :"), 1)->setBuddy(Nom);
    grille->addWidget(Nom, 1, 1, 1, 2);

    etiquette(QStringLiteral("Couleur :"), 2)->setObjectName(QStringLiteral("etiquetteCouleur"));
    pastille = new QWidget(this);
    pastille->setObjectName(QStringLiteral("pastille"));
    pastille->setAutoFillBackground(true);
    pastille->setFixedSize(60, 24);
    colorer(pastille, m_couleur);
    grille->addWidget(pastille, 2, 1);
    choisir = new QPushButton(QStringLiteral("Choisir…"), this);
    choisir->setObjectName(QStringLiteral("choisir"));
    grille->addWidget(choisir, 2, 2, Qt::AlignLeft);
    surinternet = new QCheckBox(QStringLiteral("Publié sur Internet"), this);
    surinternet->setObjectName(QStringLiteral("surinternet"));
    grille->addWidget(surinternet, 3, 1, 1, 2, Qt::AlignLeft);
    occupe = new QCheckBox(QStringLiteral("Occupe son objet"), this);
    occupe->setObjectName(QStringLiteral("occupe"));
    occupe->setToolTip(QStringLiteral("Un séjour dans cet état occupe son objet (décochez pour "
                                      "un état annulé)"));
    occupe->setChecked(true);
    grille->addWidget(occupe, 4, 1, 1, 2, Qt::AlignLeft);

    auto *boutons = new QHBoxLayout;
    boutons->addStretch();
    enregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    enregistrer->setObjectName(QStringLiteral("enregistrer"));
    enregistrer->setDefault(true);
    annuler = new QPushButton(QStringLiteral("Annuler"), this);
    annuler->setObjectName(QStringLiteral("annuler"));
    boutons->addWidget(enregistrer);
    boutons->addWidget(annuler);
    grille->addLayout(boutons, 5, 0, 1, 3);

    connect(choisir, &QPushButton::clicked, this, &EditionEtat::choisir_Click);
    connect(enregistrer, &QPushButton::clicked, this, &EditionEtat::enregistrer_Click);
    connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
}

void EditionEtat::choisir_Click()
{
    if (!m_choisirCouleur)
        return;
    if (const std::optional<QColor> choisie = m_choisirCouleur(m_couleur)) {
        m_couleur = *choisie;
        colorer(pastille, m_couleur);
    }
}

void EditionEtat::enregistrer_Click()
{
    EtatsEtablissement::Issue issue;
    qint32 code = 0;
    if (m_ajout) {
        const EtatsEtablissement::LectureCode lu = EtatsEtablissement::lireCode(Code->text());
        if (!lu.refus.isEmpty()) {
            BoiteMessage::afficher(this, lu.refus);
            Code->setFocus();
            return;
        }
        code = lu.code;
        EtatsEtablissement::NouvelEtat etat;
        etat.code = code;
        etat.nom = Nom->text();
        etat.couleur = couleurVersVB(m_couleur);
        etat.surinternet = surinternet->isChecked();
        etat.occupe = occupe->isChecked();
        issue = EtatsEtablissement::ajouterEtat(m_base, etat);
    } else {
        code = Code->text().toInt();
        issue = EtatsEtablissement::renommerEtat(m_base, code, Nom->text(), m_nomMontre);
        if (issue.leurNom) {
            const int choix = BoiteMessage::choisir(
                this,
                ConflitDeVersion::texteDuConflit(
                    QStringLiteral("Cet état"),
                    {{QStringLiteral("Nom"), *issue.leurNom, Nom->text()}}),
                {QStringLiteral("Reprendre leur version"), QStringLiteral("Garder la mienne")});
            if (choix == 0) {
                m_nomMontre = *issue.leurNom;
                Nom->setText(*issue.leurNom);
            }
            if (choix != 1)
                return;
            issue = EtatsEtablissement::renommerEtat(m_base, code, Nom->text());
        }
    }
    if (!issue.reussie()) {
        BoiteMessage::afficher(this,
                               issue.message(m_ajout ? QStringLiteral("L'état n'a pas pu être "
                                                                      "ajouté :")
                                                     : QStringLiteral("L'état n'a pas pu être "
                                                                      "renommé :")));
        return;
    }
    emit enregistre(code);
    accept();
}

#include "web/MiseAJourInternet.h"

#include "app/CentrerFenetre.h"
#include "app/CheminsApplication.h"
#include "app/Contexte.h"
#include "app/Horloge.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "web/PublicationWeb.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString FinDeLigne = QStringLiteral("\r\n");
}

MiseAJourInternet::MiseAJourInternet(Contexte &contexte, QWidget *parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("MiseAJourInternet"));
    setWindowTitle(QStringLiteral("Mise A Jour Internet"));
    setAttribute(Qt::WA_DeleteOnClose);
    avancement = new QPlainTextEdit(this);
    avancement->setObjectName(QStringLiteral("avancement"));
    avancement->setReadOnly(true);
    QFont fixe(QStringLiteral("Fixedsys"));
    fixe.setStyleHint(QFont::Monospace);
    avancement->setFont(fixe);
    GenerateurInternet = new QPushButton(QStringLiteral("Générateur Internet"), this);
    GenerateurInternet->setObjectName(QStringLiteral("GenerateurInternet"));
    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(avancement);
    colonne->addWidget(GenerateurInternet);
    resize(420, 300);
    connect(GenerateurInternet, &QPushButton::clicked, this,
            &MiseAJourInternet::GenerateurInternet_Click);
    CentrerFenetre(this);
}

void MiseAJourInternet::afficher(const QString &texte)
{
    m_texte = texte;
    QString vu = texte;
    avancement->setPlainText(vu.replace(FinDeLigne, QStringLiteral("\n")));
    avancement->repaint();
}

void MiseAJourInternet::GenerateurInternet_Click()
{
    GenerateurInternet->setEnabled(false);
    const QString dossier = CheminsApplication::dossierApplication();
    Recordset objets(m_contexte.BasePlanning(), QString::fromLatin1(TextesSQL::objetsPublies));
    afficher(QStringLiteral("Chargement des données..."));
    m_tag = m_texte;
    for (; !objets.fin(); objets.suivant()) {
        // A retired object's page is no longer written (one published before stays as it was).
        if (objets.champ(QStringLiteral("retire")).toBool())
            continue;
        const QVariant nom = objets.champ(QStringLiteral("Nom"));
        afficher(nom.toString() + QStringLiteral(" ...") + FinDeLigne + m_tag);
        const QString erreur
            = PublicationWeb::publierObjet(m_contexte.BasePlanning(), dossier, objets,
                                           Horloge::aujourdhui(), Horloge::maintenant());
        // A page that could not be written says so on its line; the others are still published.
        const QString ligne = erreur.isEmpty()
            ? nom.toString() + QStringLiteral(" ... OK !")
            : nom.toString() + QStringLiteral(" ... ÉCHEC : ") + erreur;
        afficher(ligne + FinDeLigne + m_tag);
        m_tag = m_texte;
        QCoreApplication::processEvents();
    }
    afficher(QStringLiteral("Bascule en FTP ... ") + FinDeLigne + m_texte);
    PublicationWeb::lancerEnvoi(dossier);
    close();
}

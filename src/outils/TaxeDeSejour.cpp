#include "outils/TaxeDeSejour.h"

#include "app/BoiteMessage.h"
#include "app/CheminsApplication.h"
#include "app/Contexte.h"
#include "app/Horloge.h"
#include "app/ReglagesEtablissement.h"
#include "conversion/MessageErreur.h"
#include "data/ArticlesBar.h"
#include "data/TaxeDuMois.h"
#include "documents/Ouverture.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>

TaxeDeSejour::TaxeDeSejour(Contexte &contexte, QWidget *parent)
    : QDialog(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("TaxeDeSejour"));
    setWindowTitle(QStringLiteral("Taxe de séjour"));
    m_mois = new QComboBox;
    m_mois->setObjectName(QStringLiteral("mois"));
    const QLocale francais(QLocale::French, QLocale::France);
    for (int mois = 1; mois <= 12; ++mois)
        m_mois->addItem(francais.standaloneMonthName(mois));
    m_annee = new QSpinBox;
    m_annee->setObjectName(QStringLiteral("annee"));
    m_annee->setRange(2000, 2100);
    // The statement is made once a month is over: the last one is offered.
    const QDate precedent = Horloge::aujourdhui().addMonths(-1);
    m_mois->setCurrentIndex(precedent.month() - 1);
    m_annee->setValue(precedent.year());

    auto *formulaire = new QFormLayout;
    formulaire->addRow(QStringLiteral("Mois :"), m_mois);
    formulaire->addRow(QStringLiteral("Année :"), m_annee);
    auto *boutons = new QDialogButtonBox;
    m_creer = boutons->addButton(QStringLiteral("Créer le relevé"), QDialogButtonBox::AcceptRole);
    m_creer->setObjectName(QStringLiteral("creerReleve"));
    QPushButton *fermer
        = boutons->addButton(QStringLiteral("Fermer"), QDialogButtonBox::RejectRole);
    fermer->setObjectName(QStringLiteral("fermer"));
    auto *disposition = new QVBoxLayout(this);
    disposition->addLayout(formulaire);
    disposition->addWidget(boutons);
    connect(m_creer, &QPushButton::clicked, this, &TaxeDeSejour::creerReleve);
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
}

QDate TaxeDeSejour::moisChoisi() const
{
    return QDate(m_annee->value(), m_mois->currentIndex() + 1, 1);
}

void TaxeDeSejour::creerReleve()
{
    const QDate mois = moisChoisi();
    Releve releve;
    QStringList avertissements;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QSqlError erreur = TaxeDuMois::releve(
        m_contexte.BasePlanning(), mois, ReglagesEtablissement::lire(), releve, avertissements);
    QGuiApplication::restoreOverrideCursor();
    if (erreur.isValid()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Le relevé n'a pas pu être fait :\n")
                                   + messageBaseEnFrancais(erreur));
        return;
    }
    const QString dossier = m_dossier.isEmpty()
        ? CheminsApplication::dansDossierApplication(QStringLiteral("Releves"))
        : m_dossier;
    const QString nom = QDir(dossier).filePath(TaxeDuMois::nomFichiers(mois));
    const QString pdf = nom + QStringLiteral(".pdf");
    const QString csv = nom + QStringLiteral(".csv");
    QString refus = QDir().mkpath(dossier)
        ? ecrireRelevePdf(releve, pdf)
        : QStringLiteral("Le dossier « %1 » n'a pas pu être créé.")
              .arg(QDir::toNativeSeparators(dossier));
    if (refus.isEmpty()) {
        QSaveFile fichier(csv);
        if (!fichier.open(QIODevice::WriteOnly) || fichier.write(releveCsv(releve)) < 0
            || !fichier.commit())
            refus = QStringLiteral("Le fichier « %1 » n'a pas pu être écrit : %2")
                        .arg(QDir::toNativeSeparators(csv), fichier.errorString());
    }
    if (!refus.isEmpty()) {
        BoiteMessage::afficher(this, refus);
        return;
    }
    qint64 total = 0;
    for (const LigneReleve &ligne : std::as_const(releve.lignes))
        total += ligne.montant;
    QString message = QStringLiteral("Relevé de %1 %2 : %3 séjour(s), %4.\n%5\n%6")
                          .arg(m_mois->currentText())
                          .arg(mois.year())
                          .arg(releve.lignes.size())
                          .arg(ArticlesBar::textePrix(total), QDir::toNativeSeparators(pdf),
                               QDir::toNativeSeparators(csv));
    if (!avertissements.isEmpty())
        message += QStringLiteral("\n\nNon comptés :\n") + avertissements.join(QLatin1Char('\n'));
    BoiteMessage::afficher(this, message);
    if (const QString ouverture = ouvrirDocument(pdf); !ouverture.isEmpty())
        BoiteMessage::afficher(this, ouverture);
}

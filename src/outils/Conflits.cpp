#include "outils/Conflits.h"

#include "app/Contexte.h"
#include "app/Horloge.h"
#include "conversion/MessageErreur.h"
#include "data/ListeConflits.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Colonne { ColonneObjet, ColonnePremier, ColonneSecond, ColonneNuits };

} // namespace

Conflits::Conflits(Contexte &contexte, QWidget *parent)
    : QWidget(parent, Qt::Window), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Conflits"));
    setWindowTitle(QStringLiteral("Conflits"));

    conflits = new QTreeWidget(this);
    conflits->setObjectName(QStringLiteral("conflits"));
    conflits->setHeaderLabels({QStringLiteral("Objet"), QStringLiteral("Premier séjour"),
                               QStringLiteral("Second séjour"), QStringLiteral("Nuits en commun")});
    conflits->setRootIsDecorated(false);
    conflits->setUniformRowHeights(true);
    conflits->setAllColumnsShowFocus(true);
    conflits->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    conflits->header()->setStretchLastSection(false);
    conflits->header()->setSectionResizeMode(ColonneObjet, QHeaderView::Stretch);
    compte = new QLabel(this);
    compte->setObjectName(QStringLiteral("compte"));
    compte->setWordWrap(true);

    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(conflits, 1);
    colonne->addWidget(compte);
    resize(720, 420);

    connect(conflits, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *ligne) {
        sejour_DoubleClic(ligne->data(ColonneObjet, Qt::UserRole).toInt());
    });
}

void Conflits::showEvent(QShowEvent *evenement)
{
    QWidget::showEvent(evenement);
    // Restored from the task bar, the list stays as the owner left it.
    if (!evenement->spontaneous())
        actualiser();
}

void Conflits::actualiser()
{
    conflits->clear();
    QVector<PaireEnConflit> paires;
    const QSqlError erreur
        = listeDesConflits(m_contexte.BasePlanning(), Horloge::aujourdhui(), paires);
    if (erreur.isValid()) {
        const QString texte = QStringLiteral("Les conflits n'ont pas pu être lus : ")
            + messageBaseEnFrancais(erreur);
        qWarning("%s", qPrintable(texte));
        compte->setText(texte);
        return;
    }
    QList<QTreeWidgetItem *> lignes;
    lignes.reserve(paires.size());
    for (const PaireEnConflit &paire : std::as_const(paires)) {
        auto *ligne = new QTreeWidgetItem;
        ligne->setText(ColonneObjet,
                       paire.nomObjet.isEmpty() ? QString::number(paire.objet) : paire.nomObjet);
        // The later arrival is opened: its guest has not come yet, so it is the stay that can
        // still be moved.
        ligne->setData(ColonneObjet, Qt::UserRole, paire.second);
        ligne->setText(ColonnePremier, texteSejourEnConflit(paire.premier, paire.clientPremier));
        ligne->setText(ColonneSecond, texteSejourEnConflit(paire.second, paire.clientSecond));
        ligne->setText(ColonneNuits, texteNuitsEnCommun(paire));
        lignes << ligne;
    }
    conflits->addTopLevelItems(lignes);
    compte->setText(nombreDeConflits(paires.size()));
}

void Conflits::sejour_DoubleClic(qint32 numero)
{
    if (!ouvrirSejour || numero == 0)
        return;
    // The window may be closed and deleted while the stay is open.
    const QPointer<Conflits> garde(this);
    ouvrirSejour(numero);
    if (garde)
        actualiser();
}

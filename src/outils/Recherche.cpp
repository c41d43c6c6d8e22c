#include "outils/Recherche.h"

#include "app/Contexte.h"
#include "conversion/MessageErreur.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

QString echecDeLecture(const QSqlError &erreur)
{
    const QString texte
        = QStringLiteral("La recherche n'a pas pu lire la base : ") + messageBaseEnFrancais(erreur);
    qWarning("%s", qPrintable(texte));
    return texte;
}

QString texteDuCompte(qsizetype nombre, bool plusNombreux)
{
    if (plusNombreux)
        return QStringLiteral("Plus de %1 séjours : les %1 dont l'arrivée est la plus récente "
                              "sont affichés")
            .arg(nombre);
    if (nombre == 0)
        return QStringLiteral("Aucun séjour trouvé");
    if (nombre == 1)
        return QStringLiteral("1 séjour trouvé");
    return QStringLiteral("%1 séjours trouvés").arg(nombre);
}

QString texteDuJour(const QDateTime &moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

} // namespace

Recherche::Recherche(Contexte &contexte, QWidget *parent) : QDialog(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("Recherche"));
    setWindowTitle(QStringLiteral("Rechercher"));
    auto *colonne = new QVBoxLayout(this);

    auto *invite = new QLabel(QStringLiteral("&Client, téléphone, e-mail ou numéro :"), this);
    colonne->addWidget(invite);
    texteRecherche = new QLineEdit(this);
    texteRecherche->setObjectName(QStringLiteral("texteRecherche"));
    texteRecherche->setPlaceholderText(QStringLiteral("Lefèvre, 06 12, @exemple.fr, 1234…"));
    texteRecherche->setClearButtonEnabled(true);
    invite->setBuddy(texteRecherche);
    colonne->addWidget(texteRecherche);

    resultats = new QTreeWidget(this);
    resultats->setObjectName(QStringLiteral("resultats"));
    resultats->setHeaderLabels({QStringLiteral("N°"), QStringLiteral("Client"),
                                QStringLiteral("Objet"), QStringLiteral("Arrivée"),
                                QStringLiteral("Départ"), QStringLiteral("État")});
    resultats->setRootIsDecorated(false);
    resultats->setUniformRowHeights(true);
    resultats->setAllColumnsShowFocus(true);
    resultats->setSelectionMode(QAbstractItemView::SingleSelection);
    resultats->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultats->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int largeurs[] = {60, 240, 150, 90, 90};
    for (int c = 0; c < int(std::size(largeurs)); ++c)
        resultats->setColumnWidth(c, largeurs[c]);
    resultats->header()->setStretchLastSection(true);
    colonne->addWidget(resultats, 1);

    compte = new QLabel(this);
    compte->setObjectName(QStringLiteral("compte"));
    compte->setWordWrap(true);
    colonne->addWidget(compte);
    resize(820, 480);

    texteRecherche->installEventFilter(this);
    resultats->installEventFilter(this);
    connect(texteRecherche, &QLineEdit::textChanged, this, &Recherche::rafraichir);
    connect(resultats, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *ligne) {
        resultats->setCurrentItem(ligne);
        ouvrirSelection();
    });
}

void Recherche::showEvent(QShowEvent *evenement)
{
    QDialog::showEvent(evenement);
    // A window restored from the task bar is not opened anew: the owner is still at the search
    // he left, and reading a large base again would keep him waiting for nothing.
    if (evenement->spontaneous())
        return;
    charger();
    texteRecherche->selectAll();
    texteRecherche->setFocus();
}

void Recherche::hideEvent(QHideEvent *evenement)
{
    QDialog::hideEvent(evenement);
    if (!evenement->spontaneous())
        m_index = IndexRecherche();
}

bool Recherche::eventFilter(QObject *objet, QEvent *evenement)
{
    if (evenement->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent *>(evenement)->key();
        if (touche == Qt::Key_Return || touche == Qt::Key_Enter) {
            ouvrirSelection();
            return true;
        }
        if (objet == texteRecherche && (touche == Qt::Key_Down || touche == Qt::Key_Up)) {
            deplacerSelection(touche == Qt::Key_Down ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(objet, evenement);
}

void Recherche::charger()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QSqlError erreur = m_index.charger(m_contexte.BasePlanning());
    QApplication::restoreOverrideCursor();
    m_erreurDeLecture = erreur.isValid() ? echecDeLecture(erreur) : QString();
    rafraichir();
}

void Recherche::rafraichir()
{
    resultats->clear();
    if (!m_erreurDeLecture.isEmpty()) {
        compte->setText(m_erreurDeLecture);
        return;
    }
    const QString texte = texteRecherche->text();
    if (texte.trimmed().isEmpty()) {
        compte->clear();
        return;
    }
    bool plusNombreux = false;
    const QVector<qint32> numeros = m_index.chercher(texte, LignesAuPlus, &plusNombreux);
    QSqlError erreur;
    const QVector<SejourTrouve> sejours
        = sejoursTrouves(m_contexte.BasePlanning(), numeros, &erreur);
    if (erreur.isValid()) {
        compte->setText(echecDeLecture(erreur));
        return;
    }
    QList<QTreeWidgetItem *> lignes;
    lignes.reserve(sejours.size());
    for (const SejourTrouve &sejour : sejours) {
        auto *ligne = new QTreeWidgetItem(QStringList {
            QString::number(sejour.numero), sejour.nomclient.trimmed(), sejour.nomObjet,
            texteDuJour(sejour.arrivee), texteDuJour(sejour.depart), sejour.nomEtat});
        ligne->setData(0, Qt::UserRole, sejour.numero);
        ligne->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        lignes.append(ligne);
    }
    resultats->addTopLevelItems(lignes);
    compte->setText(texteDuCompte(sejours.size(), plusNombreux));
}

void Recherche::deplacerSelection(int pas)
{
    const int nombre = resultats->topLevelItemCount();
    if (nombre == 0)
        return;
    QTreeWidgetItem *courante = resultats->currentItem();
    const int ligne = courante && courante->isSelected()
        ? std::clamp(resultats->indexOfTopLevelItem(courante) + pas, 0, nombre - 1)
        : 0;
    QTreeWidgetItem *choisie = resultats->topLevelItem(ligne);
    resultats->setCurrentItem(choisie);
    resultats->scrollToItem(choisie);
}

void Recherche::ouvrirSelection()
{
    const QList<QTreeWidgetItem *> choisies = resultats->selectedItems();
    const QTreeWidgetItem *ligne
        = choisies.isEmpty() ? resultats->topLevelItem(0) : choisies.constFirst();
    if (!ligne)
        return;
    const qint32 numero = ligne->data(0, Qt::UserRole).toInt();
    // Kept aside: the window may be gone once it has closed.
    const std::function<void(qint32)> ouvrir = ouvrirSejour;
    close();
    if (ouvrir)
        ouvrir(numero);
}

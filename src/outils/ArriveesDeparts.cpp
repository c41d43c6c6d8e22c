#include "outils/ArriveesDeparts.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "app/Horloge.h"
#include "app/ValeurINI.h"
#include "conversion/MessageErreur.h"
#include "data/BaseDeDonnees.h"

#include <QBuffer>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString FormatDuJour = QStringLiteral("dd/MM/yyyy");

QTreeWidget *nouvelleListe(QWidget *parent, const char *nom, const QStringList &colonnes)
{
    auto *liste = new QTreeWidget(parent);
    liste->setObjectName(QString::fromLatin1(nom));
    liste->setRootIsDecorated(false);
    liste->setUniformRowHeights(true);
    liste->setAllColumnsShowFocus(true);
    liste->setHeaderLabels(colonnes);
    liste->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    liste->header()->setStretchLastSection(false);
    liste->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    return liste;
}

QLabel *intitule(QWidget *parent, const QString &texte)
{
    auto *etiquette = new QLabel(texte, parent);
    QFont gras = etiquette->font();
    gras.setBold(true);
    etiquette->setFont(gras);
    return etiquette;
}

// Figures are read down their column: they keep to its right edge.
QTreeWidgetItem *nouvelleLigne(QTreeWidget *liste, qint32 numero, const QStringList &textes,
                               int premiereColonneChiffree)
{
    auto *ligne = new QTreeWidgetItem(liste, textes);
    ligne->setData(0, Qt::UserRole, numero);
    for (int colonne = premiereColonneChiffree; colonne < textes.size(); ++colonne)
        ligne->setTextAlignment(colonne, Qt::AlignRight | Qt::AlignVCenter);
    return ligne;
}

} // namespace

ArriveesDeparts::~ArriveesDeparts()
{
    // The day's field reports its end of editing when it loses the focus on its way out, after
    // this part of the window is gone: nothing it sends may reach us any more.
    disconnect(jour, nullptr, this, nullptr);
}

ArriveesDeparts::ArriveesDeparts(Contexte &contexte, QWidget *parent)
    : QWidget(parent), m_contexte(contexte)
{
    setObjectName(QStringLiteral("ArriveesDeparts"));
    setWindowTitle(QStringLiteral("Arrivées et départs"));
    resize(760, 560);

    jourPrecedent = new QPushButton(QStringLiteral("<"), this);
    jourPrecedent->setObjectName(QStringLiteral("jourPrecedent"));
    jourPrecedent->setToolTip(QStringLiteral("Jour précédent"));
    jourPrecedent->setFixedWidth(32);
    jour = new QLineEdit(this);
    jour->setObjectName(QStringLiteral("jour"));
    jour->setFixedWidth(jour->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    jour->setToolTip(QStringLiteral("Tapez un jour (jj/mm/aaaa) puis Entrée"));
    jourSuivant = new QPushButton(QStringLiteral(">"), this);
    jourSuivant->setObjectName(QStringLiteral("jourSuivant"));
    jourSuivant->setToolTip(QStringLiteral("Jour suivant"));
    jourSuivant->setFixedWidth(32);
    jourEnLettres = new QLabel(this);
    jourEnLettres->setObjectName(QStringLiteral("jourEnLettres"));
    imprimer = new QPushButton(QStringLiteral("Imprimer"), this);
    imprimer->setObjectName(QStringLiteral("imprimer"));

    erreur = new QLabel(this);
    erreur->setObjectName(QStringLiteral("erreur"));
    erreur->setWordWrap(true);
    erreur->setStyleSheet(QStringLiteral("color: #a00000"));
    erreur->hide();

    nombreArrivees = new QLabel(this);
    nombreArrivees->setObjectName(QStringLiteral("nombreArrivees"));
    arrivees = nouvelleListe(this, "arrivees",
                             {QStringLiteral("Client"), QStringLiteral("Objet"),
                              QStringLiteral("Nuits"), QStringLiteral("Adultes / enfants"),
                              QStringLiteral("Arrhes"), QStringLiteral("Solde")});
    nombreDeparts = new QLabel(this);
    nombreDeparts->setObjectName(QStringLiteral("nombreDeparts"));
    departs = nouvelleListe(
        this, "departs",
        {QStringLiteral("Client"), QStringLiteral("Objet"), QStringLiteral("Solde")});

    auto *haut = new QHBoxLayout;
    haut->addWidget(jourPrecedent);
    haut->addWidget(jour);
    haut->addWidget(jourSuivant);
    haut->addSpacing(8);
    haut->addWidget(jourEnLettres);
    haut->addStretch();
    haut->addWidget(imprimer);
    const auto titreDeListe = [this](QLabel *nombre, const QString &texte) {
        auto *ligne = new QHBoxLayout;
        ligne->addWidget(intitule(this, texte));
        ligne->addSpacing(12);
        ligne->addWidget(nombre);
        ligne->addStretch();
        return ligne;
    };
    auto *colonne = new QVBoxLayout(this);
    colonne->addLayout(haut);
    colonne->addWidget(erreur);
    colonne->addLayout(titreDeListe(nombreArrivees, QStringLiteral("Arrivées")));
    colonne->addWidget(arrivees, 3);
    colonne->addLayout(titreDeListe(nombreDeparts, QStringLiteral("Départs")));
    colonne->addWidget(departs, 2);

    connect(jourPrecedent, &QPushButton::clicked, this,
            [this] { afficherJour(m_journee.jour.addDays(-1)); });
    connect(jourSuivant, &QPushButton::clicked, this,
            [this] { afficherJour(m_journee.jour.addDays(1)); });
    connect(jour, &QLineEdit::editingFinished, this, &ArriveesDeparts::jour_Valide);
    connect(imprimer, &QPushButton::clicked, this, &ArriveesDeparts::imprimer_Click);
    for (QTreeWidget *liste : {arrivees, departs}) {
        connect(liste, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *ligne) {
            sejour_DoubleClic(ligne->data(0, Qt::UserRole).toInt());
        });
    }

    afficherJour(Horloge::aujourdhui());
}

void ArriveesDeparts::afficherJour(const QDate &nouveau)
{
    if (!nouveau.isValid())
        return;
    m_journee.jour = nouveau;
    jour->setText(nouveau.toString(FormatDuJour));
    jourEnLettres->setText(MouvementsDuJour::jourEnLettres(nouveau));
    actualiser();
}

void ArriveesDeparts::actualiser()
{
    m_journee = MouvementsDuJour::lire(m_contexte.BasePlanning(), m_journee.jour);
    erreur->setText(m_journee.erreur);
    erreur->setVisible(!m_journee.erreur.isEmpty());

    arrivees->clear();
    for (const MouvementsDuJour::Mouvement &sejour : std::as_const(m_journee.arrivees)) {
        nouvelleLigne(arrivees, sejour.numero,
                      {sejour.client, sejour.objet,
                       sejour.nuits < 0 ? QString() : QString::number(sejour.nuits),
                       QStringLiteral("%1 / %2").arg(sejour.adultes).arg(sejour.enfants),
                       MouvementsDuJour::texteMontant(sejour.arrhes),
                       MouvementsDuJour::texteMontant(sejour.solde)},
                      2);
    }
    departs->clear();
    for (const MouvementsDuJour::Mouvement &sejour : std::as_const(m_journee.departs)) {
        nouvelleLigne(departs, sejour.numero,
                      {sejour.client, sejour.objet, MouvementsDuJour::texteMontant(sejour.solde)},
                      2);
    }
    nombreArrivees->setText(MouvementsDuJour::nombreArrivees(int(m_journee.arrivees.size())));
    nombreDeparts->setText(MouvementsDuJour::nombreDeparts(int(m_journee.departs.size())));
}

void ArriveesDeparts::jour_Valide()
{
    // The message box takes the focus from the field, which would finish the editing again.
    if (m_valideEnCours)
        return;
    const QString tape = jour->text().trimmed();
    const QDate lu = BaseDeDonnees::dateAvecBarres(tape, false).date();
    if (lu.isValid()) {
        if (lu != m_journee.jour)
            afficherJour(lu);
        else
            jour->setText(lu.toString(FormatDuJour));
        return;
    }
    m_valideEnCours = true;
    jour->setText(m_journee.jour.toString(FormatDuJour));
    BoiteMessage::afficher(this,
                           tape.isEmpty()
                               ? QStringLiteral("Tapez un jour sous la forme jj/mm/aaaa, par "
                                                "exemple 09/12/2026.")
                               : QStringLiteral("« %1 » n'est pas une date : tapez le jour sous "
                                                "la forme jj/mm/aaaa, par exemple 09/12/2026.")
                                     .arg(tape.left(20)));
    m_valideEnCours = false;
}

void ArriveesDeparts::sejour_DoubleClic(qint32 numero)
{
    if (!ouvrirSejour || numero == 0)
        return;
    // The window may be closed and deleted while the stay is open.
    const QPointer<ArriveesDeparts> garde(this);
    ouvrirSejour(numero);
    if (garde)
        actualiser();
}

void ArriveesDeparts::imprimer_Click()
{
    // What is printed is the base as it is now, and the window shows the same.
    actualiser();
    if (!m_journee.erreur.isEmpty()) {
        BoiteMessage::afficher(this, m_journee.erreur + QStringLiteral("\nRien n'a été imprimé."));
        return;
    }
    const QString etablissement = ValeurINI(QStringLiteral("etablissement"), QStringLiteral("Nom"),
                                            QString(), QString(), LIRE);
    QTextDocument document;
    QFont police = document.defaultFont();
    police.setPointSize(10);
    document.setDefaultFont(police);
    document.setHtml(
        MouvementsDuJour::documentHtml(m_journee, etablissement, Horloge::maintenant()));
    if (QPrinterInfo::availablePrinters().isEmpty())
        enregistrerEnPdf(document);
    else
        imprimerSurImprimante(document);
}

void ArriveesDeparts::imprimerSurImprimante(const QTextDocument &document)
{
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setPageSize(QPageSize(QPageSize::A4));
    imprimante.setDocName(MouvementsDuJour::titre(m_journee.jour));
    QPrintDialog dialogue(&imprimante, this);
    dialogue.setWindowTitle(QStringLiteral("Imprimer les arrivées et départs"));
    if (dialogue.exec() != QDialog::Accepted)
        return;
    document.print(&imprimante);
    if (imprimante.printerState() == QPrinter::Error)
        BoiteMessage::afficher(this,
                               QStringLiteral("L'impression n'a pas pu se faire : vérifiez "
                                              "que l'imprimante est allumée et prête."));
}

void ArriveesDeparts::enregistrerEnPdf(const QTextDocument &document)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Aucune imprimante n'est installée et le "
                                              "dossier des documents est inconnu : la liste "
                                              "n'a pas pu être enregistrée."));
        return;
    }
    const QString dossier = QDir(documents).filePath(QStringLiteral("Razarivu"));
    if (!QDir().mkpath(dossier)) {
        BoiteMessage::afficher(this,
                               QStringLiteral("Le dossier %1 n'a pas pu être créé : la liste "
                                              "n'a pas été enregistrée.")
                                   .arg(QDir::toNativeSeparators(dossier)));
        return;
    }

    QByteArray octets;
    {
        QBuffer tampon(&octets);
        tampon.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&tampon);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        // The document keeps margins of its own on the page, and numbers it at the foot.
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        pdf.setTitle(MouvementsDuJour::titre(m_journee.jour));
        pdf.setCreator(QStringLiteral("Razarivu"));
        document.print(&pdf);
    }
    // Written aside then put in place: a list of that day printed earlier is replaced whole,
    // never left half overwritten.
    const QString chemin = QDir(dossier).filePath(MouvementsDuJour::nomDuFichier(m_journee.jour));
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly) || fichier.write(octets) != octets.size()
        || !fichier.commit()) {
        BoiteMessage::afficher(
            this,
            QStringLiteral("La liste n'a pas pu être enregistrée dans "
                           "%1 : %2")
                .arg(QDir::toNativeSeparators(chemin),
                     messageFichierEnFrancais(fichier.error(), fichier.errorString())));
        return;
    }
    BoiteMessage::afficher(this,
                           QStringLiteral("La liste a été enregistrée dans %1 (aucune "
                                          "imprimante n'est installée).")
                               .arg(QDir::toNativeSeparators(chemin)));
}

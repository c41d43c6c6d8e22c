#include "settings/ApercuImport.h"

#include "app/BoiteMessage.h"
#include "app/Contexte.h"
#include "conversion/MessageErreur.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <functional>

namespace {

// A read-only table over the preview's own vectors: ten thousand lines show at once, without
// an item per cell.
class ModeleApercu : public QAbstractTableModel
{
public:
    using Cellule = std::function<QVariant(int ligne, int colonne)>;

    ModeleApercu(const QStringList &entetes, int lignes, Cellule cellule, QObject *parent)
        : QAbstractTableModel(parent)
        , m_entetes(entetes)
        , m_lignes(lignes)
        , m_cellule(std::move(cellule))
    {
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_lignes;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_entetes.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return QVariant();
        const QVariant valeur = m_cellule(index.row(), index.column());
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return valeur;
        if (role == Qt::TextAlignmentRole && valeur.typeId() == QMetaType::Int)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_entetes.value(section);
        return QVariant();
    }

private:
    QStringList m_entetes;
    int m_lignes;
    Cellule m_cellule;
};

QTableView *nouvelleTable(QWidget *parent, const char *nom, ModeleApercu *modele,
                          const QVector<int> &largeurs)
{
    auto *table = new QTableView(parent);
    table->setObjectName(QString::fromLatin1(nom));
    table->setModel(modele);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    // Fixed heights and widths: measuring ten thousand rows would freeze the preview.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    for (int colonne = 0; colonne < largeurs.size(); ++colonne)
        table->setColumnWidth(colonne, largeurs[colonne]);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QLabel *nouveauTexte(QWidget *parent, const char *nom, const QString &texte)
{
    auto *etiquette = new QLabel(texte, parent);
    etiquette->setObjectName(QString::fromLatin1(nom));
    // Names and paths are the owner's text: a '<' in them is not markup.
    etiquette->setTextFormat(Qt::PlainText);
    etiquette->setWordWrap(true);
    return etiquette;
}

QString titreDesAjouts(qsizetype nombre)
{
    if (nombre == 0)
        return QStringLiteral("Aucun objet ne sera ajouté.");
    if (nombre == 1)
        return QStringLiteral("1 objet sera ajouté :");
    return QStringLiteral("%1 objets seront ajoutés :")
        .arg(QLocale(QLocale::French).toString(nombre));
}

QString titreDesRefus(qsizetype nombre)
{
    if (nombre == 0)
        return QStringLiteral("Aucune ligne refusée.");
    if (nombre == 1)
        return QStringLiteral("1 ligne refusée :");
    return QStringLiteral("%1 lignes refusées :").arg(QLocale(QLocale::French).toString(nombre));
}

} // namespace

ApercuImport::ApercuImport(Contexte &contexte, const QString &chemin,
                           const ApercuImportation &apercu, QWidget *parent)
    : QDialog(parent), m_contexte(contexte), m_apercu(apercu)
{
    setObjectName(QStringLiteral("ApercuImport"));
    setWindowTitle(QStringLiteral("Importer une liste d'objets"));
    resize(860, 560);
    // The models keep their own share of the lines: they may be asked for a cell while the
    // dialog is being taken apart.
    const QVector<LigneImportee> lignesAjoutees = m_apercu.ajouts;
    const QVector<LigneRefusee> lignesRefusees = m_apercu.refus;

    fichier = nouveauTexte(this, "fichier",
                           QStringLiteral("Fichier : %1").arg(QDir::toNativeSeparators(chemin)));
    titreAjouts = nouveauTexte(this, "titreAjouts", titreDesAjouts(lignesAjoutees.size()));
    ajouts = nouvelleTable(this, "ajouts",
                           new ModeleApercu(
                               {QStringLiteral("Numéro"), QStringLiteral("Nom"),
                                QStringLiteral("Catégorie"), QStringLiteral("Capacité")},
                               int(lignesAjoutees.size()),
                               [lignesAjoutees](int ligne, int colonne) -> QVariant {
                                   const LigneImportee &objet = lignesAjoutees[ligne];
                                   switch (colonne) {
                                   case 0:
                                       return objet.numero;
                                   case 1:
                                       return objet.nom;
                                   case 2:
                                       return objet.categorie;
                                   default:
                                       return objet.capacite;
                                   }
                               },
                               this),
                           {80, 400, 200});
    titreRefus = nouveauTexte(this, "titreRefus", titreDesRefus(lignesRefusees.size()));
    refus = nouvelleTable(
        this, "refus",
        new ModeleApercu(
            {QStringLiteral("Ligne"), QStringLiteral("Contenu"), QStringLiteral("Raison")},
            int(lignesRefusees.size()),
            [lignesRefusees](int ligne, int colonne) -> QVariant {
                const LigneRefusee &refusee = lignesRefusees[ligne];
                if (colonne == 0)
                    return refusee.ligne;
                return colonne == 1 ? refusee.contenu : refusee.raison;
            },
            this),
        {60, 260});
    avertissement = nouveauTexte(this, "avertissement",
                                 QStringLiteral("Les lignes refusées ne seront pas importées."));
    importer = new QPushButton(QStringLiteral("Importer"), this);
    importer->setObjectName(QStringLiteral("importer"));
    importer->setEnabled(!lignesAjoutees.isEmpty());
    importer->setDefault(!lignesAjoutees.isEmpty());
    annuler = new QPushButton(QStringLiteral("Annuler"), this);
    annuler->setObjectName(QStringLiteral("annuler"));
    connect(importer, &QPushButton::clicked, this, &ApercuImport::importer_Click);
    connect(annuler, &QPushButton::clicked, this, &QDialog::reject);

    auto *boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(importer);
    boutons->addWidget(annuler);
    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(fichier);
    colonne->addSpacing(6);
    colonne->addWidget(titreAjouts);
    colonne->addWidget(ajouts, 3);
    colonne->addSpacing(6);
    colonne->addWidget(titreRefus);
    colonne->addWidget(refus, 2);
    colonne->addWidget(avertissement);
    colonne->addLayout(boutons);
    ajouts->setVisible(!lignesAjoutees.isEmpty());
    refus->setVisible(!lignesRefusees.isEmpty());
    avertissement->setVisible(!lignesRefusees.isEmpty());
    if (lignesAjoutees.isEmpty() || lignesRefusees.isEmpty())
        colonne->addStretch();
}

void ApercuImport::importer_Click()
{
    const QSqlError erreur = ajouterObjetsImportes(m_contexte.BasePlanning(), m_apercu.ajouts);
    if (erreur.isValid()) {
        BoiteMessage::afficher(this, messageBaseEnFrancais(erreur));
        return;
    }
    m_nombreAjoutes = int(m_apercu.ajouts.size());
    accept();
}

int importerObjets(QWidget *parent, Contexte &contexte, const QString &chemin)
{
    const ApercuImportation apercu = lireFichierObjets(chemin, contexte.BasePlanning());
    if (!apercu.refusGlobal.isEmpty()) {
        BoiteMessage::afficher(parent, apercu.refusGlobal);
        return 0;
    }
    ApercuImport dialogue(contexte, chemin, apercu, parent);
    dialogue.exec();
    return dialogue.nombreAjoutes();
}

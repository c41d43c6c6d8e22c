#pragma once

#include "data/ImportObjets.h"

#include <QDialog>
#include <QString>

class Contexte;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

// Importing a list of objects saved by a spreadsheet: the preview of what will be added and of
// each line refused, then, once the owner confirms, every object added in one transaction.
// Returns how many were added: 0 when the owner cancelled, when nothing could be added, or when
// the file could not be read (the owner has been told why).
int importerObjets(QWidget *parent, Contexte &contexte, const QString &chemin);

// The preview itself, for a file already read and found to be a list (no whole refusal).
// Importer adds the accepted objects and closes; a refused write is told and the preview stays.
class ApercuImport : public QDialog
{
    Q_OBJECT
public:
    ApercuImport(Contexte &contexte, const QString &chemin, const ApercuImportation &apercu,
                 QWidget *parent = nullptr);

    // How many objects the last Importer added; 0 until then.
    int nombreAjoutes() const { return m_nombreAjoutes; }

    QLabel *fichier;
    QLabel *titreAjouts;
    QTableView *ajouts;
    QLabel *titreRefus;
    QTableView *refus;
    QLabel *avertissement;
    QPushButton *importer;
    QPushButton *annuler;

private:
    void importer_Click();

    Contexte &m_contexte;
    ApercuImportation m_apercu;
    int m_nombreAjoutes = 0;
};

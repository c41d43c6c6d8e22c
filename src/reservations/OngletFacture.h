#pragma once

#include "data/Facturation.h"

#include <QWidget>

class Contexte;
class QListWidget;
class QPlainTextEdit;
class xpcmdbutton;

// The "Fact." tab of a stay: a preview of the invoice it would get now, the invoices and credit
// notes already issued, and the buttons that issue, print again and cancel them. Issued papers
// go to the folder "Factures" of the application folder and are opened at once.
class OngletFacture : public QWidget
{
    Q_OBJECT
public:
    explicit OngletFacture(Contexte &contexte, QWidget *parent = nullptr);

    void charger(int reservation);

    // Where issued papers are written; the application folder's "Factures" unless set.
    void fixerDossier(const QString &dossier) { m_dossier = dossier; }

signals:
    // A paper was issued: its note is in the stay's history.
    void documentEmis();

private:
    void editerFacture();
    void imprimerANouveau();
    void etablirAvoir();
    QString numeroChoisi() const;
    QString dossier() const;
    void ouvrir(const QString &chemin);

    Contexte &m_contexte;
    int m_reservation = 0;
    QString m_dossier;
    QVector<Facturation::Emise> m_emises;
    QPlainTextEdit *m_apercu;
    QListWidget *m_liste;
    xpcmdbutton *m_editer;
    xpcmdbutton *m_imprimer;
    xpcmdbutton *m_avoir;
};

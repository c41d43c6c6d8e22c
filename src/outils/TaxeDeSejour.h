#pragma once

#include <QDate>
#include <QDialog>

class Contexte;
class QComboBox;
class QPushButton;
class QSpinBox;

// "Taxe de séjour…": the month's statement for the commune, written as PDF and CSV into the
// folder "Releves" of the application folder; the PDF is opened.
class TaxeDeSejour : public QDialog
{
    Q_OBJECT
public:
    explicit TaxeDeSejour(Contexte &contexte, QWidget *parent = nullptr);

    void fixerDossier(const QString &dossier) { m_dossier = dossier; }
    QDate moisChoisi() const;

private:
    void creerReleve();

    Contexte &m_contexte;
    QString m_dossier;
    QComboBox *m_mois;
    QSpinBox *m_annee;
    QPushButton *m_creer;
};

#pragma once

#include <QColor>
#include <QDialog>
#include <QSqlDatabase>

#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The small dialog of the "Couleurs" tab that adds a state, or renames one: its code then shows
// but cannot change, since the stays refer to it. Stored on "Enregistrer"; a refused value is
// said in French and the dialog stays open with what was typed.
class EditionEtat : public QDialog
{
    Q_OBJECT
public:
    using ChoixCouleur = std::function<std::optional<QColor>(const QColor &actuelle)>;

    // A new state, appended at the end of the list.
    EditionEtat(const QSqlDatabase &base, ChoixCouleur choisirCouleur, QWidget *parent = nullptr);
    // The state `code`, to rename.
    EditionEtat(const QSqlDatabase &base, qint32 code, const QString &nom,
                QWidget *parent = nullptr);

    QLineEdit *Code;
    QLineEdit *Nom;
    QWidget *pastille;
    QPushButton *choisir;
    QCheckBox *surinternet;
    QCheckBox *occupe;
    QPushButton *enregistrer;
    QPushButton *annuler;

signals:
    // Stored: the dialog closes next, its caller is to show the state `code`.
    void enregistre(qint32 code);

private:
    void construire(const QString &titre);
    void choisir_Click();
    void enregistrer_Click();

    QSqlDatabase m_base;
    ChoixCouleur m_choisirCouleur;
    bool m_ajout;
    QColor m_couleur;
    QString m_nomMontre; // the name the renaming started from
};

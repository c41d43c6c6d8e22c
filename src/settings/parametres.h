#pragma once

#include <QColor>
#include <QSqlError>
#include <QVariant>
#include <QVector>
#include <QWidget>

#include <functional>
#include <optional>

class Contexte;
class BarreSeparatrice;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;
class xpcmdbutton;

// The settings dialog: every reservation state with its colour, which the owner changes here,
// and whether the web calendar publishes it. Full screen over the darkened screen; deleted when
// closed. Every change is stored at once.
class parametres : public QWidget
{
    Q_OBJECT
public:
    explicit parametres(Contexte &contexte);

    void fondchangercouleurs_Click(int index);
    void internet_Click(int index);
    void quitter_Click();

    // The colour picker; nothing when the owner cancels it. Tests put their own here.
    std::function<std::optional<QColor>(const QColor &actuelle)> choisirCouleur;

    QLabel *dessin;
    QWidget *Fond;
    QLabel *Label1;
    QTabWidget *SSTab1;
    QWidget *fondcouleurs;
    QWidget *BaseDeDonnees1;
    QFrame *fondgauche;
    QFrame *fonddroite;
    BarreSeparatrice *BarreSeparatrice1;
    xpcmdbutton *quitter;
    QVector<QLabel *> fondetats;
    QVector<QWidget *> fondetatcouleurs;
    QVector<QPushButton *> fondchangercouleurs;
    QVector<QCheckBox *> internet;

signals:
    // A state's colour changed in the base: the planning is to be drawn again.
    void couleurChangee();

private:
    void ajouterLigne();
    void charger();
    // One field of the state of row `index`, stored at once.
    QSqlError enregistrer(int index, const QString &champ, const QVariant &valeur);

    Contexte &m_contexte;
};

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
class QScrollArea;
class QTabWidget;
class OngletArticles;
class OngletEtablissement;
class OngletObjets;
class OngletTarifs;
class xpcmdbutton;

// The settings dialog: every reservation state with its colour, which the owner changes here,
// whether the web calendar publishes it and whether it occupies its object, the states added,
// renamed and removed; the rooms and pitches of the establishment; the bar's articles; the
// establishment's identity and its tariffs. Full screen over the darkened screen; deleted when
// closed. Every change is stored at once, but in the last two tabs, which have their buttons.
class parametres : public QWidget
{
    Q_OBJECT
public:
    explicit parametres(Contexte &contexte);

    void fondchangercouleurs_Click(int index);
    void internet_Click(int index);
    void occupe_Click(int index);
    void renommeretats_Click(int index);
    void supprimeretats_Click(int index);
    void ajouteretat_Click();
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
    OngletObjets *ongletObjets;
    OngletArticles *ongletArticles;
    OngletEtablissement *ongletEtablissement;
    OngletTarifs *ongletTarifs;
    QVector<QLabel *> fondetats;
    QVector<QWidget *> fondetatcouleurs;
    QVector<QPushButton *> fondchangercouleurs;
    QVector<QCheckBox *> internet;
    QVector<QCheckBox *> occupe;
    QVector<QPushButton *> renommeretats;
    QVector<QPushButton *> supprimeretats;
    // Shown with the states' tab only.
    xpcmdbutton *ajouteretat;

signals:
    // A state's colour changed in the base: the planning is to be drawn again.
    void couleurChangee();
    // Objects or states added, renamed, reordered or removed: the planning is to be drawn
    // again.
    void etablissementModifie();

private:
    void ajouterLigne();
    void charger();
    // The rows again from the base, as many as it has states; the rows past them go.
    void lireEtats();
    // After a state added, renamed or removed: the run's state list and the rows read again,
    // the row of `code` brought into sight, the planning told.
    void etatsModifies(qint32 code);
    // One field of the state of row `index`, stored at once.
    QSqlError enregistrer(int index, const QString &champ, const QVariant &valeur);

    Contexte &m_contexte;
    QScrollArea *m_defilement;
};

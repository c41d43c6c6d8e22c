#pragma once

#include <QDate>
#include <QWidget>

#include <functional>

class Contexte;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// "Places libres": the objects free for every night between two dates, for a number of persons
// and a category, as the desk answers a caller. A double click on a free object starts a stay
// on it for those dates. Deleted when closed.
class PlacesLibres : public QWidget
{
    Q_OBJECT
public:
    explicit PlacesLibres(Contexte &contexte, QWidget *parent = nullptr);

    QLineEdit *arrivee;
    QLineEdit *depart;
    QSpinBox *personnes;
    QComboBox *categorie;
    QPushButton *chercher;
    QTreeWidget *libres;
    QLabel *compte;

    // Opens a new stay on `objet` from `arrivee` to `depart` and returns once it is saved or
    // given up; unset, a double click does nothing.
    std::function<void(qint32 objet, const QDate &arrivee, const QDate &depart)> nouveauSejour;

    // The last search made again, if any: another desk stored a stay.
    void actualiser();

protected:
    // Enter searches from any field; on the list it opens the stay of the current row.
    void keyPressEvent(QKeyEvent *evenement) override;

private:
    // `signalerRefus`: dates that cannot be searched are said in a box, for a search the owner
    // asked for; a search that follows another change only says so in the count line.
    void rechercher(bool signalerRefus);
    void ouvrirSejour(QTreeWidgetItem *ligne);

    Contexte &m_contexte;
    // The dates the list was made for: a double click takes these, whatever has been typed
    // since.
    QDate m_arrivee;
    QDate m_depart;
};

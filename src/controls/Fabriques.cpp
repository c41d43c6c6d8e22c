#include "controls/Fabriques.h"

#include "controls/xpcmdbutton.h"

#include <QLabel>

xpcmdbutton *nouveauBouton(QWidget *parent, const char *nom, const QString &legende,
                           const QRect &place)
{
    auto *bouton = new xpcmdbutton(parent);
    if (nom)
        bouton->setObjectName(QLatin1String(nom));
    bouton->setCaption(legende);
    bouton->setGeometry(place);
    return bouton;
}

QLabel *nouvelleEtiquette(QWidget *parent, const char *nom, const QString &texte, int x, int y)
{
    auto *etiquette = new QLabel(texte, parent);
    if (nom)
        etiquette->setObjectName(QLatin1String(nom));
    etiquette->move(x, y);
    etiquette->adjustSize();
    return etiquette;
}

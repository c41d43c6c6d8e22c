#include "app/HauteurListe.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <limits>

bool ajusterHauteurListe(QComboBox *liste, int n)
{
    if (!liste || n < 0)
        return false;
    int hauteurEntree = liste->view()->sizeHintForRow(0);
    if (hauteurEntree <= 0)
        hauteurEntree = liste->fontMetrics().height();
    const qint64 hauteur = qint64(n + 2) * hauteurEntree;
    if (hauteur > std::numeric_limits<qint16>::max())
        return false;
    liste->setMaxVisibleItems(n);
    return true;
}

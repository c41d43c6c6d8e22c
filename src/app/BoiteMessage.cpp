#include "app/BoiteMessage.h"

#include <QMessageBox>

namespace {
struct EtatAutomatique
{
    bool actif = false;
    QStringList messages;
};

EtatAutomatique &automatique()
{
    static EtatAutomatique etat;
    return etat;
}
} // namespace

void BoiteMessage::afficher(QWidget *parent, const QString &texte)
{
    if (automatique().actif) {
        automatique().messages.append(texte);
        return;
    }
    QMessageBox boite(QMessageBox::NoIcon, QStringLiteral("Razarivu"), texte, QMessageBox::Ok,
                      parent);
    boite.setObjectName(QStringLiteral("BoiteMessage"));
    boite.exec();
}

void BoiteMessage::repondreAutomatiquement(bool actif)
{
    automatique().actif = actif;
    automatique().messages.clear();
}

QStringList BoiteMessage::messagesAffiches()
{
    return automatique().messages;
}

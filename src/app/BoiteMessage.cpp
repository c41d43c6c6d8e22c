#include "app/BoiteMessage.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace {
struct EtatAutomatique
{
    bool actif = false;
    bool oui = false;
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
    // Names typed by the owner are shown as typed, never read as markup.
    boite.setTextFormat(Qt::PlainText);
    boite.exec();
}

bool BoiteMessage::demander(QWidget *parent, const QString &texte)
{
    if (automatique().actif) {
        automatique().messages.append(texte);
        return automatique().oui;
    }
    QMessageBox boite(QMessageBox::NoIcon, QStringLiteral("Razarivu"), texte, QMessageBox::NoButton,
                      parent);
    boite.setObjectName(QStringLiteral("BoiteQuestion"));
    boite.setTextFormat(Qt::PlainText);
    QAbstractButton *oui = boite.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    QAbstractButton *non = boite.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    boite.setDefaultButton(qobject_cast<QPushButton *>(oui));
    boite.setEscapeButton(non);
    boite.exec();
    return boite.clickedButton() == oui;
}

void BoiteMessage::repondreAuxQuestions(bool oui)
{
    automatique().oui = oui;
}

void BoiteMessage::repondreAutomatiquement(bool actif)
{
    automatique().actif = actif;
    automatique().oui = false;
    automatique().messages.clear();
}

QStringList BoiteMessage::messagesAffiches()
{
    return automatique().messages;
}

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

// A question with two buttons; true for `oui`. Escape and the window's close button answer
// `non`, so only a deliberate press on `oui` says yes.
bool poser(QWidget *parent, const QString &texte, const QString &oui, const QString &non,
           bool ouiParDefaut)
{
    if (automatique().actif) {
        automatique().messages.append(texte);
        return automatique().oui;
    }
    QMessageBox boite(QMessageBox::NoIcon, QStringLiteral("Razarivu"), texte, QMessageBox::NoButton,
                      parent);
    boite.setObjectName(QStringLiteral("BoiteQuestion"));
    boite.setTextFormat(Qt::PlainText);
    QPushButton *boutonOui = boite.addButton(oui, QMessageBox::YesRole);
    QPushButton *boutonNon = boite.addButton(non, QMessageBox::NoRole);
    boite.setDefaultButton(ouiParDefaut ? boutonOui : boutonNon);
    boite.setEscapeButton(boutonNon);
    boite.exec();
    return boite.clickedButton() == boutonOui;
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
    return poser(parent, texte, QStringLiteral("&Oui"), QStringLiteral("&Non"), true);
}

bool BoiteMessage::confirmer(QWidget *parent, const QString &texte, const QString &oui,
                             const QString &non)
{
    return poser(parent, texte, oui, non, false);
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

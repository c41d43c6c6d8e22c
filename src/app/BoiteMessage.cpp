#include "app/BoiteMessage.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace {
struct EtatAutomatique
{
    bool actif = false;
    bool oui = false;
    int choix = -1;
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

int BoiteMessage::choisir(QWidget *parent, const QString &texte, const QStringList &choix)
{
    if (automatique().actif) {
        automatique().messages.append(texte);
        return automatique().choix < choix.size() ? automatique().choix : -1;
    }
    QMessageBox boite(QMessageBox::NoIcon, QStringLiteral("Razarivu"), texte, QMessageBox::NoButton,
                      parent);
    boite.setObjectName(QStringLiteral("BoiteChoix"));
    boite.setTextFormat(Qt::PlainText);
    QVector<QPushButton *> boutons;
    for (const QString &libelle : choix)
        boutons.append(boite.addButton(libelle, QMessageBox::ActionRole));
    QPushButton *revenir = boite.addButton(QStringLiteral("Revenir"), QMessageBox::RejectRole);
    boite.setDefaultButton(revenir);
    boite.setEscapeButton(revenir);
    boite.exec();
    return int(boutons.indexOf(qobject_cast<QPushButton *>(boite.clickedButton())));
}

void BoiteMessage::repondreAuChoix(int choix)
{
    automatique().choix = choix;
}

void BoiteMessage::repondreAuxQuestions(bool oui)
{
    automatique().oui = oui;
}

void BoiteMessage::repondreAutomatiquement(bool actif)
{
    automatique().actif = actif;
    automatique().oui = false;
    automatique().choix = -1;
    automatique().messages.clear();
}

QStringList BoiteMessage::messagesAffiches()
{
    return automatique().messages;
}

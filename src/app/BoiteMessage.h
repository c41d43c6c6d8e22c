#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every message box of the program goes through here, so a test can answer them in advance
// instead of blocking on a modal box.
class BoiteMessage
{
public:
    // A message box with the one button OK; returns when the user has closed it.
    static void afficher(QWidget *parent, const QString &texte);
    // A question with the buttons Oui and Non; true for Oui. Closing the box answers Non.
    static bool demander(QWidget *parent, const QString &texte);
    // The same with buttons named for what they do; true for `oui`. `non` is the default, and
    // Escape or closing the box answer it too: a slip of the Enter key changes nothing.
    static bool confirmer(QWidget *parent, const QString &texte, const QString &oui,
                          const QString &non);

    // A choice among `choix`, with "Revenir" after them as the default (Enter, Escape, closing
    // the box): the index of the choice made, -1 for "Revenir".
    static int choisir(QWidget *parent, const QString &texte, const QStringList &choix);

    // While on, boxes are not shown: their texts are kept for the test to read.
    static void repondreAutomatiquement(bool actif);
    // What the questions answer while boxes are answered automatically (Non, or the `non` of
    // confirmer, until told).
    static void repondreAuxQuestions(bool oui);
    // What `choisir` answers while boxes are answered automatically (-1 until told).
    static void repondreAuChoix(int choix);
    static QStringList messagesAffiches();
};

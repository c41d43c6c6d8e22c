#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class ScrollBar;

// The software-update window: its only step prepares the "versions/maj" folder and sends one
// FTP request for "test.txt"; nothing of the program opens it yet.
class MAJ : public QWidget
{
    Q_OBJECT
public:
    explicit MAJ(QWidget *parent = nullptr);

    // Returns at once; false when nothing was sent (no server configured, or no folder).
    // `fin` is called on the transfer's thread when it ends (for the tests).
    bool miseajour_logiciel(std::function<void(const QString &erreur)> fin = {});

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    ScrollBar *telechargement;
    ScrollBar *sauvegarder;
    QPushButton *Command1;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>

#include <optional>

class QWidget;

// Remembers where a window stood, from one run to the next: `init` puts the window back where
// the settings file says, and a one-second tick writes any move, resize, change of state or of
// visibility. Nothing is written when the window closes: the file holds the last tick's state.
class SavePosition : public QObject
{
    Q_OBJECT
public:
    // Watches `fenetre` (a window of its own, or the sub-window that frames it).
    explicit SavePosition(QWidget *fenetre);

    // Settings file (as ValeurINI takes it) and section; "default" names the section after the
    // window.
    QString FichierINI = QStringLiteral("Positions.ini");
    QString Section = QStringLiteral("default");

    // A non-empty file name replaces FichierINI; the section always replaces Section. Then the
    // window is put back where it stood.
    void init(QWidget *fenetre, const QString &fichier, const QString &section);
    void Timer1_Timer();

    QTimer Timer1;

protected:
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    void restaurer(bool premierTic);
    // The stored place made to fit: a window on a screen of today (see surUnEcran), a sub-window
    // no larger than the screen.
    static QRect dansLEcran(const QWidget *fenetre, const QRect &place);
    QWidget *cadre() const; // what moves on the screen: the window, or its sub-window frame
    QString section() const;

    QPointer<QWidget> m_fenetre;
    bool m_restauree = false;
    bool m_premierAffichage = true;
    std::optional<QRect> m_derniere;
    std::optional<bool> m_dernierVisible;
    QString m_dernierEtat;
};

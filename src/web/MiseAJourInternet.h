#pragma once

#include <QWidget>

class Contexte;
class QPlainTextEdit;
class QPushButton;

// Publishes every object's availability as an HTML page in the application folder, logs its
// progress newest line on top, starts the owner's upload script and closes. Deleted when
// closed.
class MiseAJourInternet : public QWidget
{
    Q_OBJECT
public:
    explicit MiseAJourInternet(Contexte &contexte, QWidget *parent = nullptr);

    void GenerateurInternet_Click();

    QPlainTextEdit *avancement;
    QPushButton *GenerateurInternet;

    // The log as it stands, lines ended by CR LF (what the box shows, and keeps as its tag).
    QString texteAvancement() const { return m_texte; }
    QString tagAvancement() const { return m_tag; }

private:
    void afficher(const QString &texte);

    Contexte &m_contexte;
    QString m_texte;
    QString m_tag;
};

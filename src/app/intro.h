#pragma once

#include <QWidget>

class ScrollBar;

// The start-up splash: the program's name and a progress strip while the planning loads.
class intro : public QWidget
{
    Q_OBJECT
public:
    explicit intro(QWidget *parent = nullptr);

    ScrollBar *progression() const { return m_progression; }
    // A line of warning under the version, such as a backup that failed.
    void signaler(const QString &texte);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    ScrollBar *m_progression;
};

#include "app/intro.h"

#include "Version.h"
#include "controls/ScrollBar.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

intro::intro(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_progression(new ScrollBar(this))
{
    setObjectName(QStringLiteral("intro"));
    setFixedSize(497, 180);

    auto *titre = new QLabel(QStringLiteral("Razarivu"), this);
    titre->setObjectName(QStringLiteral("Titre"));
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(24);
    police.setBold(true);
    titre->setFont(police);
    titre->setStyleSheet(QStringLiteral("color: white"));
    titre->setGeometry(16, 24, 465, 48);

    auto *version = new QLabel(QStringLiteral("Planning et réservations — version %1.%2.%3")
                                   .arg(RAZARIVU_VERSION_MAJEURE)
                                   .arg(RAZARIVU_VERSION_MINEURE)
                                   .arg(RAZARIVU_REVISION),
                               this);
    version->setObjectName(QStringLiteral("Version"));
    version->setStyleSheet(QStringLiteral("color: #DDE6F0"));
    version->setGeometry(16, 80, 465, 20);

    m_progression->setGeometry(16, 140, 465, 20);
}

void intro::signaler(const QString &texte)
{
    auto *avertissement = findChild<QLabel *>(QStringLiteral("Avertissement"));
    if (!avertissement) {
        avertissement = new QLabel(this);
        avertissement->setObjectName(QStringLiteral("Avertissement"));
        avertissement->setStyleSheet(QStringLiteral("color: #FFD27F"));
        avertissement->setWordWrap(true);
        avertissement->setTextFormat(Qt::PlainText);
        avertissement->setGeometry(16, 100, 465, 38);
    }
    avertissement->setText(texte);
    avertissement->show();
}

void intro::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    QLinearGradient fond(0, 0, 0, height());
    fond.setColorAt(0, QColor(0x1E, 0x3A, 0x5F));
    fond.setColorAt(1, QColor(0x0E, 0x1A, 0x2B));
    peintre.fillRect(rect(), fond);
}

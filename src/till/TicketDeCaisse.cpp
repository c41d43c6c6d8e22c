#include "till/TicketDeCaisse.h"

#include "conversion/Couleurs.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace {
// 96 dots per inch: a font's pixel size (8.25 pt = 11 px) does not depend on the machine.
constexpr int PointsParMetre = 3780;
constexpr quint32 FondFenetre = 0x80000005;
constexpr quint32 TexteFenetre = 0x80000008;
constexpr int HauteurBarre = 9;
constexpr int IntervalleMs = 100;
// Room made for a fresh strip; it doubles as lines come.
constexpr int CapaciteInitiale = 256;

QImage papierVierge(int largeur, int hauteur, const QColor &papier)
{
    QImage image(std::max(largeur, 1), std::max(hauteur, 1), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(PointsParMetre);
    image.setDotsPerMeterY(PointsParMetre);
    image.fill(papier);
    return image;
}

void copierLignes(const QImage &source, QImage &cible, int premiere, int nombre, int vers)
{
    const qsizetype octets = std::min(source.bytesPerLine(), cible.bytesPerLine());
    for (int i = 0; i < nombre; ++i)
        std::memmove(cible.scanLine(vers + i), source.constScanLine(premiere + i), octets);
}

// The strip shows its picture; below the picture (only when memory ran short) it is blank paper.
class Ruban : public QWidget
{
public:
    Ruban(const QImage &image, const QColor &papier, QWidget *parent)
        : QWidget(parent), m_image(image), m_papier(papier)
    {
        setObjectName(QStringLiteral("Ruban"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *evenement) override
    {
        QPainter peintre(this);
        const QRect zone = evenement->rect();
        peintre.fillRect(zone, m_papier);
        const QRect source = zone & m_image.rect();
        if (!source.isEmpty())
            peintre.drawImage(source.topLeft(), m_image, source);
    }

private:
    const QImage &m_image;
    QColor m_papier;
};

QWidget *barre(const char *nom, QWidget *parent)
{
    auto *barre = new QWidget(parent);
    barre->setObjectName(QLatin1String(nom));
    QPalette couleurs = barre->palette();
    couleurs.setColor(QPalette::Window, QColor(96, 96, 96));
    barre->setPalette(couleurs);
    barre->setAutoFillBackground(true);
    return barre;
}

QTimer *minuterie(const char *nom, QObject *parent)
{
    auto *minuterie = new QTimer(parent);
    minuterie->setObjectName(QLatin1String(nom));
    minuterie->setInterval(IntervalleMs);
    return minuterie;
}
} // namespace

TicketDeCaisse::TicketDeCaisse(QWidget *parent) : QWidget(parent)
{
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(8.25);
    setFont(police);
    m_papier = couleurDepuisVB(FondFenetre, palette());
    m_encre = couleurDepuisVB(TexteFenetre, palette());
    QPalette gris = palette();
    gris.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(gris);
    setAutoFillBackground(true);

    m_image = papierVierge(largeurRuban(), CapaciteInitiale, m_papier);
    m_ruban = new Ruban(m_image, m_papier, this);
    // Without antialiasing the ink is exactly the text colour, as on a till's printer.
    m_policeRuban = QFont(QStringLiteral("Courier New"));
    m_policeRuban.setPointSizeF(8.25);
    m_policeRuban.setStyleStrategy(QFont::NoAntialias);
    m_ruban->setFont(m_policeRuban);
    m_ruban->setGeometry(marge, 0, largeurRuban(), m_hauteur);

    // Made after the strip, so they lie over it.
    m_haut = barre("haut", this);
    m_bas = barre("bas", this);
    m_haut->setGeometry(0, 0, width(), HauteurBarre);
    m_bas->setGeometry(0, height() - HauteurBarre, width(), HauteurBarre);
    m_haut->installEventFilter(this);
    m_bas->installEventFilter(this);

    m_repositionnement = minuterie("repositionnement", this);
    m_scrolleur = minuterie("Scrolleur", this);
    connect(m_repositionnement, &QTimer::timeout, this, &TicketDeCaisse::placer);
    connect(m_scrolleur, &QTimer::timeout, this, &TicketDeCaisse::defiler);
}

int TicketDeCaisse::largeurRuban() const
{
    return std::max(0, width() - 2 * marge);
}

int TicketDeCaisse::hautRuban() const
{
    return m_ruban->y();
}

QImage TicketDeCaisse::imageRuban() const
{
    return m_image.copy(0, 0, largeurRuban(), m_hauteur);
}

void TicketDeCaisse::init()
{
    m_suivi = true;
    m_repositionnement->start();
    m_hauteur = hauteurVide;
    // A long receipt's picture is given back rather than kept blank.
    m_plafond = hauteurMaximale;
    QImage vierge = papierVierge(m_image.width(), CapaciteInitiale, m_papier);
    if (vierge.isNull())
        m_image.fill(m_papier);
    else
        m_image = vierge;
    m_ruban->resize(largeurRuban(), m_hauteur);
    m_ruban->update();
}

bool TicketDeCaisse::reserver(int hauteur)
{
    if (hauteur <= m_image.height())
        return true;
    const int voulue
        = std::min<qint64>(m_plafond, std::max<qint64>(hauteur, 2LL * m_image.height()));
    QImage plus = papierVierge(m_image.width(), voulue, m_papier);
    if (plus.isNull() && voulue > hauteur)
        plus = papierVierge(m_image.width(), hauteur, m_papier);
    if (plus.isNull()) {
        m_plafond = std::max(m_image.height(), 1);
        return false;
    }
    copierLignes(m_image, plus, 0, std::min(m_hauteur, m_image.height()), 0);
    m_image = plus;
    return true;
}

void TicketDeCaisse::dechirer(int lignes)
{
    const int ecrites = std::min(m_hauteur, m_image.height());
    lignes = std::clamp(lignes, 0, ecrites);
    copierLignes(m_image, m_image, lignes, ecrites - lignes, 0);
    QPainter peintre(&m_image);
    peintre.fillRect(0, ecrites - lignes, m_image.width(), lignes, m_papier);
}

void TicketDeCaisse::elargir(int largeur)
{
    if (largeur <= m_image.width())
        return;
    // The picture never narrows: what was printed while the strip was narrow shows again, whole,
    // once it widens.
    QImage large = papierVierge(largeur, m_image.height(), m_papier);
    if (large.isNull())
        return;
    copierLignes(m_image, large, 0, std::min(m_hauteur, m_image.height()), 0);
    m_image = large;
}

void TicketDeCaisse::AjoutTexte(const QString &Texte)
{
    // Room is measured with the control's font, not the strip's: the slots of the receipt keep
    // the spacing it has always had.
    const QFontMetrics mesure(font(), &m_image);
    const qint64 hauteurLigne = std::max(1, mesure.height());
    const qint64 lignes = qint64(Texte.count(u'\n')) + 1;
    const qint64 h = hauteurLigne * lignes;
    qint64 nouvelle = qint64(m_hauteur) + h + interligne;
    qint64 hautTexte = m_hauteur;

    if (nouvelle <= m_plafond)
        reserver(int(nouvelle));
    if (nouvelle > m_plafond) {
        // Torn off by a quarter at a time, so that a long run of lines does not move the whole
        // picture at every line.
        const qint64 garde = std::max(m_plafond * 3 / 4, 1);
        const qint64 retrait = nouvelle - garde;
        dechirer(int(std::min<qint64>(retrait, m_hauteur)));
        hautTexte -= retrait;
        nouvelle = garde;
        reserver(int(nouvelle));
    }
    m_hauteur = int(nouvelle);

    QPainter peintre(&m_image);
    peintre.setClipRect(0, 0, m_image.width(), m_hauteur);
    peintre.setFont(m_policeRuban);
    peintre.setPen(m_encre);
    const QFontMetrics encre = peintre.fontMetrics();
    // Lines wholly above the picture (a text taller than the strip) are not drawn, nor even
    // laid out.
    const qint64 premiere
        = std::clamp<qint64>((-hautTexte - encre.height()) / hauteurLigne, 0, lignes - 1);
    // Enough characters to fill the widest picture; the rest could not show.
    const qsizetype longueurUtile = 4 * qsizetype(m_image.width()) + 64;
    qsizetype debut = 0;
    for (qint64 i = 0; i < premiere; ++i)
        debut = Texte.indexOf(u'\n', debut) + 1;
    for (qint64 y = hautTexte + premiere * hauteurLigne; y < m_hauteur; y += hauteurLigne) {
        const qsizetype fin = Texte.indexOf(u'\n', debut);
        QStringView ligne = QStringView(Texte).mid(debut, (fin < 0 ? Texte.size() : fin) - debut);
        if (ligne.endsWith(u'\r'))
            ligne.chop(1);
        if (ligne.size() > longueurUtile) {
            ligne.truncate(longueurUtile);
            if (ligne.back().isHighSurrogate())
                ligne.chop(1);
        }
        if (!ligne.isEmpty())
            peintre.drawText(interligne, int(y) + encre.ascent(), ligne.toString());
        if (fin < 0)
            break;
        debut = fin + 1;
    }
    peintre.end();

    m_ruban->resize(largeurRuban(), m_hauteur);
    m_ruban->update();
    m_suivi = true;
    m_repositionnement->start();
}

void TicketDeCaisse::placer()
{
    m_ruban->move(marge, height() - m_hauteur - m_bas->height());
    // In place: a new line or a resize starts the timer again.
    m_repositionnement->stop();
}

void TicketDeCaisse::defiler()
{
    // No end to scrolling, short of what a widget's coordinates can hold.
    const qint64 haut
        = std::clamp<qint64>(qint64(m_ruban->y()) - m_pas, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_ruban->move(m_ruban->x(), int(haut));
}

void TicketDeCaisse::commencerDefilement(int pas)
{
    m_pas = pas;
    m_suivi = false;
    m_repositionnement->stop();
    m_scrolleur->start();
}

void TicketDeCaisse::resizeEvent(QResizeEvent *evenement)
{
    QWidget::resizeEvent(evenement);
    elargir(largeurRuban());
    m_ruban->setGeometry(marge, m_ruban->y(), largeurRuban(), m_hauteur);
    m_haut->setGeometry(0, 0, width(), m_haut->height());
    m_bas->setGeometry(0, height() - m_bas->height(), width(), m_bas->height());
    if (m_suivi)
        m_repositionnement->start();
}

bool TicketDeCaisse::eventFilter(QObject *objet, QEvent *evenement)
{
    if (objet != m_haut && objet != m_bas)
        return QWidget::eventFilter(objet, evenement);
    switch (evenement->type()) {
    // A quick second click comes as a double click instead of a press.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(evenement)->button() != Qt::LeftButton)
            return false;
        commencerDefilement(objet == m_haut ? -pasDefilement : pasDefilement);
        return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(evenement)->button() != Qt::LeftButton)
            return false;
        m_scrolleur->stop();
        return true;
    default:
        return QWidget::eventFilter(objet, evenement);
    }
}

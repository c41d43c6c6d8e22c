#include "planning/SurfaceImage.h"

#include <QPainter>

#include <algorithm>

namespace {
// 96 dots per inch.
constexpr int PointsParMetre = 3780;
} // namespace

QFont policePlanning()
{
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPointSizeF(8.25);
    police.setStyleStrategy(QFont::NoAntialias);
    return police;
}

SurfaceImage::SurfaceImage(const QColor &fond, const QColor &texte)
    : couleurFond(fond), couleurTexte(texte), police(policePlanning())
{
    redimensionner(1, 1);
}

SurfaceImage::~SurfaceImage() = default;

const QImage &SurfaceImage::image() const
{
    fermerPeintre();
    return m_image;
}

void SurfaceImage::redimensionner(int largeur, int hauteur)
{
    fermerPeintre();
    m_image = QImage(std::max(largeur, 1), std::max(hauteur, 1), QImage::Format_RGB32);
    if (m_image.isNull())
        m_image = QImage(1, 1, QImage::Format_RGB32);
    m_image.setDotsPerMeterX(PointsParMetre);
    m_image.setDotsPerMeterY(PointsParMetre);
    effacer();
}

void SurfaceImage::effacer()
{
    m_image.fill(couleurFond);
    positionX = 0;
    positionY = 0;
    noter(m_image.rect());
}

void SurfaceImage::noter(const QRect &zone)
{
    m_zoneModifiee |= zone;
}

QRect SurfaceImage::zoneModifiee()
{
    const QRect zone = m_zoneModifiee;
    m_zoneModifiee = QRect();
    return zone;
}

QRect SurfaceImage::partieVisible(qint64 x1, qint64 y1, qint64 x2, qint64 y2) const
{
    const qint64 gauche = std::max<qint64>(std::min(x1, x2), 0);
    const qint64 droite = std::min<qint64>(std::max(x1, x2), m_image.width() - 1);
    const qint64 haut = std::max<qint64>(std::min(y1, y2), 0);
    const qint64 bas = std::min<qint64>(std::max(y1, y2), m_image.height() - 1);
    if (gauche > droite || haut > bas)
        return QRect();
    return QRect(QPoint(int(gauche), int(haut)), QPoint(int(droite), int(bas)));
}

void SurfaceImage::remplirVisible(const QRect &zone, const QColor &couleur)
{
    if (zone.isEmpty())
        return;
    const QRgb pixel = couleur.rgb();
    uchar *debut = m_image.bits();
    const qsizetype pas = m_image.bytesPerLine();
    for (int y = zone.top(); y <= zone.bottom(); ++y) {
        QRgb *ligne = reinterpret_cast<QRgb *>(debut + y * pas);
        std::fill(ligne + zone.left(), ligne + zone.right() + 1, pixel);
    }
    noter(zone);
}

void SurfaceImage::remplir(int x1, int y1, int x2, int y2, const QColor &couleur)
{
    remplirVisible(partieVisible(x1, y1, x2, y2), couleur);
}

void SurfaceImage::ligne(int x1, int y1, int x2, int y2, const QColor &couleur)
{
    if (x1 == x2 || y1 == y2) {
        remplirVisible(partieVisible(x1, y1, x2, y2), couleur);
        return;
    }
    // Slanted lines: only the part inside the picture is walked (Liang-Barsky), so a line from
    // far outside costs no more than one across the picture.
    double t0 = 0, t1 = 1;
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    const auto borner = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        return t0 <= t1;
    };
    if (!borner(-dx, x1 + 0.5) || !borner(dx, m_image.width() - 0.5 - x1) || !borner(-dy, y1 + 0.5)
        || !borner(dy, m_image.height() - 0.5 - y1))
        return;
    int ax = qRound(x1 + t0 * dx), ay = qRound(y1 + t0 * dy);
    const int bx = qRound(x1 + t1 * dx), by = qRound(y1 + t1 * dy);
    const int pasX = ax < bx ? 1 : -1, pasY = ay < by ? 1 : -1;
    const int ex = std::abs(bx - ax), ey = -std::abs(by - ay);
    int erreur = ex + ey;
    const QRgb pixel = couleur.rgb();
    const QRect cadre = m_image.rect();
    QRect trace;
    for (;;) {
        if (cadre.contains(ax, ay)) {
            m_image.setPixel(ax, ay, pixel);
            trace |= QRect(ax, ay, 1, 1);
        }
        if (ax == bx && ay == by)
            break;
        const int double_ = 2 * erreur;
        if (double_ >= ey) {
            erreur += ey;
            ax += pasX;
        }
        if (double_ <= ex) {
            erreur += ex;
            ay += pasY;
        }
    }
    noter(trace);
}

const QFontMetrics &SurfaceImage::metriques() const
{
    if (!m_metriques || !(m_policeMesuree == police)) {
        m_policeMesuree = police;
        m_metriques.emplace(police, &m_image);
        m_mesures.clear();
    }
    return *m_metriques;
}

SurfaceImage::TexteMesure &SurfaceImage::mesure(const QString &texte) const
{
    const QFontMetrics &fm = metriques();
    const auto connu = m_mesures.find(texte);
    if (connu != m_mesures.end())
        return connu.value();
    // Client names come and go; the cache only has to hold one picture's worth.
    constexpr int Capacite = 4096;
    if (m_mesures.size() >= Capacite)
        m_mesures.clear();
    TexteMesure mesure;
    mesure.largeur = fm.horizontalAdvance(texte);
    mesure.dispose.setTextFormat(Qt::PlainText);
    mesure.dispose.setText(texte);
    return m_mesures.insert(texte, mesure).value();
}

int SurfaceImage::largeurTexte(const QString &texte) const
{
    return mesure(texte).largeur;
}

int SurfaceImage::hauteurTexte(const QString &texte) const
{
    return metriques().height() * int(texte.count(u'\n') + 1);
}

QPainter &SurfaceImage::peintre()
{
    if (!m_peintre)
        m_peintre = std::make_unique<QPainter>(&m_image);
    return *m_peintre;
}

void SurfaceImage::fermerPeintre() const
{
    m_peintre.reset();
}

const QVector<SurfaceImage::Trait> *SurfaceImage::traitsDe(const QString &texte,
                                                           TexteMesure &texteMesure) const
{
    if (texteMesure.traits)
        return texteMesure.uneCouleur ? &*texteMesure.traits : nullptr;
    const QFontMetrics &fm = metriques();
    const int marge = fm.height();
    QImage masque(texteMesure.largeur + 2 * marge, hauteurTexte(texte) + 2 * marge,
                  QImage::Format_RGB32);
    masque.setDotsPerMeterX(m_image.dotsPerMeterX());
    masque.setDotsPerMeterY(m_image.dotsPerMeterY());
    masque.fill(Qt::white);
    {
        QPainter p(&masque);
        p.setFont(police);
        p.setPen(Qt::black);
        p.drawStaticText(QPointF(marge, marge), texteMesure.dispose);
    }
    // Any other colour than the ink (a colour emoji font, say) is not one colour's pixels:
    // such a text keeps being drawn by the painter.
    QVector<Trait> traits;
    bool uneCouleur = true;
    const QRgb blanc = QColor(Qt::white).rgb();
    const QRgb noir = QColor(Qt::black).rgb();
    for (int y = 0; y < masque.height() && uneCouleur; ++y) {
        const QRgb *ligne = reinterpret_cast<const QRgb *>(masque.constScanLine(y));
        for (int x = 0; x < masque.width();) {
            if (ligne[x] == blanc) {
                ++x;
                continue;
            }
            const int debut = x;
            while (x < masque.width() && ligne[x] == noir)
                ++x;
            if (x == debut || (x < masque.width() && ligne[x] != blanc)) {
                uneCouleur = false;
                break;
            }
            traits.append({y, debut, x - 1});
        }
    }
    texteMesure.uneCouleur = uneCouleur;
    texteMesure.marge = marge;
    texteMesure.traits = std::move(traits);
    return uneCouleur ? &*texteMesure.traits : nullptr;
}

void SurfaceImage::peindreTexte(qint64 x, qint64 y, const QString &texte, const QRect &coupe)
{
    if (coupe.isEmpty() || texte.isEmpty())
        return;
    TexteMesure &texteMesure = mesure(texte);
    const QFontMetrics &fm = metriques();
    // Glyphs may stand out of their advance by a little; beyond that margin the text cannot
    // touch the cut and is not drawn at all (far-off positions would also overflow the
    // painter's fixed-point coordinates).
    const qint64 marge = fm.height();
    if (x + texteMesure.largeur + marge < coupe.left() || x - marge > coupe.right()
        || y + fm.height() + marge < coupe.top() || y - marge > coupe.bottom())
        return;
    const QVector<Trait> *traits
        = (police.styleStrategy() & QFont::NoAntialias) && couleurTexte.alpha() == 255
        ? traitsDe(texte, texteMesure)
        : nullptr;
    if (traits) {
        const QRgb pixel = couleurTexte.rgb();
        uchar *debut = m_image.bits();
        const qsizetype pas = m_image.bytesPerLine();
        const int origineX = int(x) - texteMesure.marge;
        const int origineY = int(y) - texteMesure.marge;
        for (const Trait &trait : *traits) {
            const int ligne = origineY + trait.y;
            if (ligne < coupe.top() || ligne > coupe.bottom())
                continue;
            const int gauche = std::max(origineX + trait.gauche, coupe.left());
            const int droite = std::min(origineX + trait.droite, coupe.right());
            if (gauche > droite)
                continue;
            QRgb *pixels = reinterpret_cast<QRgb *>(debut + ligne * pas);
            std::fill(pixels + gauche, pixels + droite + 1, pixel);
        }
        noter(coupe);
        return;
    }
    QPainter &p = peintre();
    p.setClipRect(coupe);
    p.setFont(police);
    p.setPen(couleurTexte);
    p.drawStaticText(QPointF(double(x), double(y)), texteMesure.dispose);
    noter(coupe);
}

void SurfaceImage::imprimer(const QString &texte, bool finDeLigne)
{
    peindreTexte(positionX, positionY, texte, m_image.rect());
    if (finDeLigne) {
        positionX = 0;
        positionY += hauteurTexte(texte);
    } else {
        positionX += largeurTexte(texte);
    }
}

void SurfaceImage::ecrireDans(const QRect &zone, const QString &texte)
{
    if (zone.isEmpty())
        return;
    peindreTexte(zone.left(), zone.top(), texte, zone.intersected(m_image.rect()));
}

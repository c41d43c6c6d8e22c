#include "documents/MiseEnPage.h"

#include "conversion/MessageErreur.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>

namespace MiseEnPage {

namespace {

constexpr int Resolution = 300; // dots per inch of the page's coordinates
constexpr qreal Pied = 8; // millimetres kept at the foot of each page for its number

qreal mm(qreal millimetres)
{
    return millimetres * Resolution / 25.4;
}

QFont police(Style style)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(style == Style::Titre ? 15 : style == Style::Petit ? 7.5 : 9);
    font.setBold(style == Style::Gras || style == Style::Titre);
    return font;
}

QStringList titres(const Bloc &bloc)
{
    QStringList titres;
    for (const Colonne &colonne : bloc.colonnes)
        titres << colonne.titre;
    return titres;
}

// A piece of the drawing on its page: a text from the start of its baseline, a rule from `point`
// to `fin`, or a shaded background between those corners.
struct Trace
{
    enum class Genre { Texte, Trait, Fond };
    Genre genre = Genre::Texte;
    int page = 0;
    Style style = Style::Normal;
    QPointF point, fin;
    QString texte;
};

// Lays the blocks out down the pages, once, so that the number of pages is known before the
// first is drawn.
class Placement
{
public:
    Placement(QPaintDevice *appareil, QSizeF taille)
        : m_appareil(appareil), m_largeur(taille.width()), m_bas(taille.height() - mm(Pied))
    {
        for (const Style style : {Style::Normal, Style::Gras, Style::Petit, Style::Titre})
            m_mesures.append(QFontMetricsF(police(style), appareil));
    }

    void placer(const Bloc &bloc)
    {
        const int pageFin = m_page;
        const qreal finY = m_y;
        if (bloc.aCote) {
            m_page = m_pageDebut;
            m_y = m_debut;
        } else if (m_y > 0) {
            m_y += mm(bloc.espaceAvant);
        }
        m_pageDebut = m_page;
        m_debut = m_y;
        const qreal gauche = bloc.gauche * m_largeur;
        const qreal largeur = bloc.largeur * m_largeur;
        if (bloc.colonnes.isEmpty())
            placerTexte(bloc, gauche, largeur);
        else
            placerTableau(bloc, gauche, largeur);
        if (bloc.aCote && m_page == pageFin)
            m_y = std::max(m_y, finY);
    }

    QVector<Trace> traces;
    int pages() const { return m_page + 1; }

private:
    const QFontMetricsF &mesure(Style style) const { return m_mesures.at(int(style)); }

    // The lines `texte` takes within `largeur`, cut between words.
    QStringList couper(const QString &texte, Style style, qreal largeur) const
    {
        if (mesure(style).horizontalAdvance(texte) <= largeur)
            return {texte};
        QTextLayout mise(texte, police(style), m_appareil);
        // A word wider than the column (an e-mail address) is cut rather than left to overflow.
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        mise.setTextOption(option);
        mise.beginLayout();
        QStringList lignes;
        for (QTextLine ligne = mise.createLine(); ligne.isValid(); ligne = mise.createLine()) {
            ligne.setLineWidth(largeur);
            lignes << texte.mid(ligne.textStart(), ligne.textLength()).trimmed();
        }
        mise.endLayout();
        return lignes;
    }

    // Moves to the next page when `hauteur` does not fit in what is left of this one.
    void reserver(qreal hauteur)
    {
        if (m_y > 0 && m_y + hauteur > m_bas) {
            ++m_page;
            m_y = 0;
        }
    }

    void ecrire(const QString &texte, Style style, qreal x, qreal y)
    {
        traces.append({Trace::Genre::Texte, m_page, style, QPointF(x, y), {}, texte});
    }
    void tracer(Trace::Genre genre, QPointF point, QPointF fin)
    {
        traces.append({genre, m_page, Style::Normal, point, fin, QString()});
    }

    void placerTexte(const Bloc &bloc, qreal gauche, qreal largeur)
    {
        QVector<std::pair<QString, Style>> lignes;
        for (const QString &ligne : bloc.lignes) {
            const Style style = lignes.isEmpty() ? bloc.premiere.value_or(bloc.style) : bloc.style;
            for (const QString &morceau : couper(ligne, style, largeur))
                lignes.append({morceau, style});
        }
        qreal hauteur = 0;
        for (const auto &ligne : std::as_const(lignes))
            hauteur += mesure(ligne.second).lineSpacing();
        if (bloc.insecable || bloc.enBas)
            reserver(hauteur);
        if (bloc.enBas && hauteur <= m_bas)
            m_y = std::max(m_y, m_bas - hauteur);
        for (const auto &[ligne, style] : std::as_const(lignes)) {
            const QFontMetricsF &mesures = mesure(style);
            reserver(mesures.lineSpacing());
            ecrire(ligne, style, gauche, m_y + mesures.ascent());
            m_y += mesures.lineSpacing();
        }
    }

    // A row of cells: each cut to its column, the row as high as its tallest cell.
    struct Rangee
    {
        QVector<QStringList> cellules;
        Style style = Style::Normal;
        qreal hauteur = 0;
    };

    void placerTableau(const Bloc &bloc, qreal gauche, qreal largeur)
    {
        const qreal marge = mm(1.5);
        const qreal interligne = mm(0.9);
        int parts = 0;
        for (const Colonne &colonne : bloc.colonnes)
            parts += colonne.parts;
        QVector<qreal> bords {gauche};
        for (const Colonne &colonne : bloc.colonnes)
            bords << bords.last() + largeur * colonne.parts / parts;

        const auto decouper = [&](const QStringList &textes, Style style) {
            Rangee rangee {{}, style, 0};
            int hauteur = 1;
            for (int c = 0; c < bloc.colonnes.size(); ++c) {
                QStringList lignes;
                for (const QString &ligne : textes.value(c).split(u'\n'))
                    lignes << couper(ligne, style, bords[c + 1] - bords[c] - 2 * marge);
                rangee.cellules << lignes;
                hauteur = std::max(hauteur, int(lignes.size()));
            }
            rangee.hauteur = hauteur * mesure(style).lineSpacing() + 2 * interligne;
            return rangee;
        };
        const auto dessiner = [&](const Rangee &rangee) {
            const QFontMetricsF &mesures = mesure(rangee.style);
            for (int c = 0; c < rangee.cellules.size(); ++c) {
                qreal y = m_y + interligne + mesures.ascent();
                for (const QString &ligne : rangee.cellules[c]) {
                    const qreal x = bloc.colonnes[c].aDroite
                        ? bords[c + 1] - marge - mesures.horizontalAdvance(ligne)
                        : bords[c] + marge;
                    ecrire(ligne, rangee.style, x, y);
                    y += mesures.lineSpacing();
                }
            }
            m_y += rangee.hauteur;
        };

        const Rangee entete = decouper(titres(bloc), Style::Gras);
        const qreal hauteurEntete = bloc.entete ? entete.hauteur : 0;
        const auto dessinerEntete = [&] {
            if (!bloc.entete)
                return;
            tracer(Trace::Genre::Fond, QPointF(gauche, m_y),
                   QPointF(gauche + largeur, m_y + entete.hauteur));
            dessiner(entete);
        };

        QVector<Rangee> rangees;
        qreal total = hauteurEntete;
        for (int r = 0; r < bloc.rangees.size(); ++r) {
            const bool grasse = r >= bloc.rangees.size() - bloc.grasses;
            rangees << decouper(bloc.rangees[r], grasse ? Style::Gras : Style::Normal);
            total += rangees.last().hauteur;
        }
        if (bloc.insecable && total <= m_bas)
            reserver(total);
        for (int r = 0; r < rangees.size(); ++r) {
            // The header never stays alone at the foot of a page.
            const int page = m_page;
            reserver(rangees[r].hauteur + (r == 0 ? hauteurEntete : 0));
            if (r == 0 || m_page != page)
                dessinerEntete();
            const bool premiereGrasse = r == bloc.rangees.size() - bloc.grasses;
            if (premiereGrasse || (bloc.entete && rangees[r].style == Style::Normal && r > 0))
                tracer(Trace::Genre::Trait, QPointF(gauche, m_y), QPointF(gauche + largeur, m_y));
            dessiner(rangees[r]);
        }
        if (rangees.isEmpty())
            dessinerEntete();
        if (bloc.entete)
            tracer(Trace::Genre::Trait, QPointF(gauche, m_y), QPointF(gauche + largeur, m_y));
    }

    QPaintDevice *m_appareil;
    QVector<QFontMetricsF> m_mesures;
    qreal m_largeur, m_bas;
    int m_page = 0, m_pageDebut = 0;
    qreal m_y = 0, m_debut = 0;
};

void dessiner(QPainter &peintre, QPdfWriter &pdf, const Placement &placement)
{
    const int pages = placement.pages();
    const QPen trait(QColor(110, 110, 110), mm(0.2));
    Style style = Style::Petit;
    peintre.setFont(police(style));
    const auto pied = [&](int page) {
        peintre.setFont(police(style = Style::Petit));
        const QString numero = QStringLiteral("Page %1 / %2").arg(page + 1).arg(pages);
        const QRectF cadre(0, pdf.height() - mm(Pied - 3), pdf.width(), mm(Pied - 3));
        peintre.drawText(cadre, Qt::AlignRight | Qt::AlignBottom, numero);
    };
    int page = 0;
    for (const Trace &trace : placement.traces) {
        while (page < trace.page) {
            pied(page++);
            pdf.newPage();
        }
        switch (trace.genre) {
        case Trace::Genre::Texte:
            if (trace.style != style)
                peintre.setFont(police(style = trace.style));
            peintre.drawText(trace.point, trace.texte);
            break;
        case Trace::Genre::Trait:
            peintre.setPen(trait);
            peintre.drawLine(trace.point, trace.fin);
            peintre.setPen(Qt::black);
            break;
        case Trace::Genre::Fond:
            peintre.fillRect(QRectF(trace.point, trace.fin), QColor(232, 232, 232));
            break;
        }
    }
    pied(page);
}

// A table as text: each column as wide as its widest cell, amounts aligned on the right.
QStringList texteTableau(const Bloc &bloc)
{
    QVector<QStringList> rangees = bloc.rangees;
    if (bloc.entete)
        rangees.prepend(titres(bloc));
    QVector<int> largeurs(bloc.colonnes.size(), 0);
    for (const QStringList &rangee : std::as_const(rangees)) {
        for (int c = 0; c < largeurs.size(); ++c)
            largeurs[c] = std::max(largeurs[c], int(rangee.value(c).size()));
    }
    QStringList lignes;
    for (const QStringList &rangee : std::as_const(rangees)) {
        QStringList cellules;
        for (int c = 0; c < largeurs.size(); ++c) {
            const QString cellule = rangee.value(c).split(u'\n').join(u' ').trimmed();
            cellules << (bloc.colonnes[c].aDroite ? cellule.rightJustified(largeurs[c])
                                                  : cellule.leftJustified(largeurs[c]));
        }
        QString ligne = cellules.join(QStringLiteral("  "));
        while (ligne.endsWith(u' '))
            ligne.chop(1);
        lignes << ligne;
    }
    return lignes;
}

} // namespace

QString ecrirePdf(const Document &document, const QString &chemin)
{
    QSaveFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return refusEcriture(chemin,
                             messageFichierEnFrancais(fichier.error(), fichier.errorString()));
    {
        QPdfWriter pdf(&fichier);
        pdf.setResolution(Resolution);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4),
                        document.paysage ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(15, 15, 15, 10), QPageLayout::Millimeter));
        pdf.setTitle(document.titre);
        pdf.setCreator(QStringLiteral("Razarivu"));
        Placement placement(&pdf, QSizeF(pdf.width(), pdf.height()));
        for (const Bloc &bloc : document.blocs)
            placement.placer(bloc);
        QPainter peintre;
        if (!peintre.begin(&pdf)) {
            fichier.cancelWriting();
            return refusEcriture(chemin,
                                 QStringLiteral("le document n'a pas pu être mis en page."));
        }
        dessiner(peintre, pdf, placement);
    }
    if (!fichier.commit())
        return refusEcriture(chemin,
                             messageFichierEnFrancais(fichier.error(), fichier.errorString()));
    return QString();
}

QString texte(const Document &document)
{
    QStringList blocs;
    for (const Bloc &bloc : document.blocs)
        blocs << (bloc.colonnes.isEmpty() ? bloc.lignes : texteTableau(bloc)).join(u'\n');
    return blocs.join(QStringLiteral("\n\n")) + u'\n';
}

QString date(const QDate &jour)
{
    return jour.toString(QStringLiteral("dd/MM/yyyy"));
}

QString personnes(int adultes, int enfants)
{
    const auto nombre = [](int n, const char *nom) {
        return QStringLiteral("%1 %2%3").arg(n).arg(QString::fromUtf8(nom)).arg(n > 1 ? "s" : "");
    };
    QString texte = nombre(adultes, "adulte");
    if (enfants > 0)
        texte += QStringLiteral(", ") + nombre(enfants, "enfant");
    return texte;
}

Bloc paragraphe(const QStringList &lignes, double espaceAvant)
{
    Bloc bloc;
    bloc.lignes = lignes;
    bloc.espaceAvant = espaceAvant;
    return bloc;
}

QVector<Bloc> enTete(const Etablissement &etablissement, const QStringList &titre,
                     const QStringList &client)
{
    Bloc bloc = paragraphe({etablissement.nom});
    bloc.largeur = 0.5;
    bloc.premiere = Style::Gras;
    const QString ville
        = QStringList {etablissement.codePostal, etablissement.ville}.join(u' ').trimmed();
    const QStringList adresse = etablissement.adresse.split(u'\n') << ville;
    for (const QString &ligne : adresse) {
        if (!ligne.trimmed().isEmpty())
            bloc.lignes << ligne.trimmed();
    }
    const auto mention = [&](const char *libelle, const QString &valeur) {
        if (!valeur.trimmed().isEmpty())
            bloc.lignes << QString::fromUtf8(libelle) + valeur.trimmed();
    };
    mention("Tél. : ", etablissement.telephone);
    mention("", etablissement.email);
    mention("SIRET : ", etablissement.siret);
    mention("N° TVA : ", etablissement.numeroTva);

    Bloc entete = paragraphe(titre);
    entete.premiere = Style::Titre;
    entete.aCote = true;
    Bloc destinataire = paragraphe(client, 8);
    destinataire.premiere = Style::Gras;
    for (Bloc *aDroite : {&entete, &destinataire}) {
        aDroite->gauche = 0.5;
        aDroite->largeur = 0.5;
    }
    return {bloc, entete, destinataire};
}

QString refusEcriture(const QString &chemin, const QString &raison)
{
    QString suite = raison;
    if (!suite.isEmpty())
        suite[0] = suite[0].toLower();
    return QStringLiteral("Le fichier « %1 » n'a pas pu être écrit : %2")
        .arg(QDir::toNativeSeparators(chemin), suite);
}

} // namespace MiseEnPage

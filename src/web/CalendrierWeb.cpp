#include "web/CalendrierWeb.h"

#include <QLocale>

namespace CalendrierWeb {

namespace {

const QString FinDeLigne = QStringLiteral("\r\n");
const QString Police = QStringLiteral("Verdana, Arial, Helvetica, sans-serif");

const QLocale &francais()
{
    static const QLocale locale(QLocale::French, QLocale::France);
    return locale;
}

QString prefixeDuJour(int statut)
{
    static const char *const Couleurs[] = {"#FFD351", "#FF6633", "#FF0000"};
    return QStringLiteral("           <td bgcolor=\"") + QLatin1String(Couleurs[statut])
        + QStringLiteral("\"><div align=\"center\"><font size=\"2\" face=\"") + Police
        + QStringLiteral("\">");
}

// A stay stored with whole days has no hour; one typed at the desk has its arrival and
// departure hours.
bool aUneHeure(const QDateTime &moment)
{
    return moment.isValid() && moment.time() != QTime(0, 0);
}

// One month block; `jour` moves on to the first day of the next month.
void ecrireMois(QString &texte, QDate &jour, const QVector<Sejour> &sejours)
{
    const int mois = jour.month();
    texte += QStringLiteral("    <td><div align=\"center\"><strong><font size=\"2\" face=\"")
        + Police + QStringLiteral("\">") + francais().toString(jour, QStringLiteral("MMMM yyyy"))
        + FinDeLigne;
    texte += QStringLiteral("<br>") + FinDeLigne;
    texte += QStringLiteral("        </font></strong>        <table width=\"186\" border = \"1\" "
                            "cellspacing = \"0\" cellpadding = \"0\" > ")
        + FinDeLigne;
    texte += QStringLiteral("      <tr bgcolor=\"#EAEAEA\">") + FinDeLigne;
    for (const char *nom : {"Lun", "Mar", "Mer", "Jeu", "Ven", "Sam", "Dim"}) {
        texte += QStringLiteral("        <td><div align=\"center\"><font size=\"2\" face=\"")
            + Police + QStringLiteral("\">") + QLatin1String(nom)
            + QStringLiteral("</font></div></td>") + FinDeLigne;
    }
    texte += QStringLiteral("          </tr>") + FinDeLigne;
    const QString caseGrise
        = QStringLiteral("            <td bgcolor=\"#999999\"><div align=\"center\"><font face=\"")
        + Police + QStringLiteral("\"><font size=\"2\"></font></font></div></td>") + FinDeLigne;
    int premiereColonne = colonneDuJour(jour);
    int cellule = 1;
    for (int semaine = 0; semaine < 6; ++semaine) {
        texte += QStringLiteral("<tr bgcolor=\"#EAEAEA\">") + FinDeLigne;
        for (int j = 0; j < 7; ++j, ++cellule) {
            if (jour.month() != mois || cellule != premiereColonne) {
                texte += caseGrise;
                continue;
            }
            texte += prefixeDuJour(statutDuJour(jour, sejours)) + QString::number(jour.day())
                + QStringLiteral("</font></div></td>") + FinDeLigne;
            jour = jour.addDays(1);
            ++premiereColonne;
        }
        texte += QStringLiteral("</tr>") + FinDeLigne;
    }
    texte += QStringLiteral("</table></td>") + FinDeLigne;
}

// The characters 0x80 to 0x9F of Windows-1252, by the character they stand for; 0 where the
// code page has none.
constexpr char16_t Cp1252[32]
    = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
       0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int octetWindows1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < 32; ++i) {
        if (Cp1252[i] != 0 && Cp1252[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

int colonneDuJour(const QDate &jour)
{
    return jour.dayOfWeek(); // Qt counts Monday 1 to Sunday 7 already
}

int statutDuJour(const QDate &jour, const QVector<Sejour> &sejours)
{
    int statut = 0;
    for (const Sejour &sejour : sejours) {
        const QDate s = sejour.debut.date();
        const QDate e = sejour.fin.date();
        if (s.isValid() && e.isValid() && s < jour && jour < e)
            statut = 2;
        if ((s.isValid() && jour == s) || (e.isValid() && jour == e)) {
            if (aUneHeure(sejour.debut) || aUneHeure(sejour.fin))
                statut = statut == 0 ? 1 : 2;
            else
                statut = 2;
        }
    }
    return statut;
}

QDate dateDeFin(const QDate &aujourdhui)
{
    const QDate loin = aujourdhui.addDays(570);
    return QDate(loin.year(), loin.month(), 1);
}

QString echapperHtml(const QString &texte)
{
    QString resultat;
    resultat.reserve(texte.size());
    for (const QChar c : texte) {
        switch (c.unicode()) {
        case u'&':
            resultat += QStringLiteral("&amp;");
            break;
        case u'<':
            resultat += QStringLiteral("&lt;");
            break;
        case u'>':
            resultat += QStringLiteral("&gt;");
            break;
        case u'"':
            resultat += QStringLiteral("&quot;");
            break;
        default:
            resultat += c;
        }
    }
    return resultat;
}

QString page(const QString &nomAffiche, const QDate &aujourdhui, const QDateTime &maintenant,
             const QVector<Sejour> &sejours)
{
    QString texte;
    texte.reserve(1 << 18);
    texte += QStringLiteral("<div align=\"center\"><strong>Réservations ")
        + echapperHtml(nomAffiche) + QStringLiteral("</strong><font size=\"1\" face=\"") + Police
        + QStringLiteral("\"> (mis à jour le ")
        + francais().toString(maintenant.date(), QStringLiteral("dd MMM yy"))
        + QStringLiteral(" à ") + maintenant.time().toString(QStringLiteral("HH:mm"))
        + QStringLiteral(")</font></div>") + FinDeLigne;
    texte += QStringLiteral("<table width=\"770px\" border=\"0\" cellspacing=\"0\" "
                            "cellpadding=\"0\">")
        + FinDeLigne;
    QDate jour(aujourdhui.year(), aujourdhui.month(), 1);
    // Years of past stays come with the query, which has no lower bound: a stay that ends and
    // starts before the first day shown marks no day, and is left out before 600 days are
    // each compared with every stay.
    QVector<Sejour> utiles;
    for (const Sejour &sejour : sejours) {
        if ((sejour.debut.isValid() && sejour.debut.date() >= jour)
            || (sejour.fin.isValid() && sejour.fin.date() >= jour))
            utiles.append(sejour);
    }
    for (int rangee = 0; rangee < 5; ++rangee) {
        texte += QStringLiteral("  <tr>") + FinDeLigne;
        for (int colonne = 0; colonne < 4; ++colonne)
            ecrireMois(texte, jour, utiles);
        texte += QStringLiteral("</tr>") + FinDeLigne;
    }
    texte += QStringLiteral("</table>") + FinDeLigne;
    return texte;
}

QByteArray enWindows1252(const QString &texte)
{
    QByteArray octets;
    octets.reserve(texte.size());
    const qsizetype n = texte.size();
    const auto *unites = reinterpret_cast<const char16_t *>(texte.utf16());
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = unites[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(unites[i + 1]))
            c = QChar::surrogateToUcs4(char16_t(c), unites[++i]);
        const int octet = octetWindows1252(c);
        if (octet >= 0)
            octets += char(octet);
        else
            octets += "&#" + QByteArray::number(quint32(c)) + ';';
    }
    return octets;
}

} // namespace CalendrierWeb

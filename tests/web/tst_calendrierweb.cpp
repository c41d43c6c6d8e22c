#include "web/CalendrierWeb.h"

#include <QtTest>

using namespace CalendrierWeb;

// The published calendar, byte for byte, without a window or a file.
class TestCalendrierWeb : public QObject
{
    Q_OBJECT

private slots:
    void statut_data();
    void statut();
    void lignesExactes();
    void pageSansSejourToutLibre();
    void casesGrises_data();
    void casesGrises();
    void pageDeReference();
    void nomEchappe();
    void windows1252_data();
    void windows1252();
    void finDePublication_data();
    void finDePublication();
};

namespace {

const QDateTime Maintenant(QDate(2026, 12, 8), QTime(9, 5));

QDateTime moment(int jour, int heure = 0, int minute = 0)
{
    return QDateTime(QDate(2027, 3, jour), QTime(heure, minute));
}

// The day cells of one month of a page, in order: "colour:day".
QStringList joursDuMois(const QString &page, const QString &mois)
{
    const QStringList lignes = page.split(QStringLiteral("\r\n"));
    QStringList jours;
    bool dedans = false;
    static const QRegularExpression cellule(QStringLiteral(
        R"re(^ {11}<td bgcolor="(#[0-9A-F]{6})"><div .*">(\d+)</font></div></td>$)re"));
    for (const QString &ligne : lignes) {
        if (ligne.startsWith(QStringLiteral("    <td>")))
            dedans = ligne.endsWith(mois);
        else if (dedans && ligne == QStringLiteral("</table></td>"))
            break;
        const QRegularExpressionMatch m = cellule.match(ligne);
        if (dedans && m.hasMatch())
            jours << m.captured(1) + u':' + m.captured(2);
    }
    return jours;
}

} // namespace

void TestCalendrierWeb::statut_data()
{
    QTest::addColumn<QVector<Sejour>>("sejours");
    QTest::addColumn<QList<int>>("statuts"); // of the 9th to the 13th

    QTest::newRow("nothing booked") << QVector<Sejour> {} << QList<int> {0, 0, 0, 0, 0};
    QTest::newRow("the 10th at 14:00 to the 12th at 12:00")
        << QVector<Sejour> {{moment(10, 14), moment(12, 12)}} << QList<int> {0, 1, 2, 1, 0};
    QTest::newRow("the same days without hours")
        << QVector<Sejour> {{moment(10), moment(12)}} << QList<int> {0, 2, 2, 2, 0};
    QTest::newRow("a departure and an arrival the same day")
        << QVector<Sejour> {{moment(8, 14), moment(12, 12)}, {moment(12, 14), moment(15, 12)}}
        << QList<int> {2, 2, 2, 2, 2};
    QTest::newRow("only the arrival has an hour")
        << QVector<Sejour> {{moment(10, 14), moment(12)}} << QList<int> {0, 1, 2, 1, 0};
    QTest::newRow("no departure: only the arrival day")
        << QVector<Sejour> {{moment(10, 14), QDateTime()}} << QList<int> {0, 1, 0, 0, 0};
    QTest::newRow("no arrival: only the departure day")
        << QVector<Sejour> {{QDateTime(), moment(12)}} << QList<int> {0, 0, 0, 2, 0};
    QTest::newRow("a departure written before its arrival")
        << QVector<Sejour> {{moment(12, 14), moment(10, 12)}} << QList<int> {0, 1, 0, 1, 0};
}

void TestCalendrierWeb::statut()
{
    QFETCH(QVector<Sejour>, sejours);
    QFETCH(QList<int>, statuts);
    QList<int> lus;
    for (int jour = 9; jour <= 13; ++jour)
        lus << statutDuJour(QDate(2027, 3, jour), sejours);
    QCOMPARE(lus, statuts);
}

void TestCalendrierWeb::lignesExactes()
{
    const QVector<Sejour> sejours {{QDateTime(QDate(2026, 12, 10), QTime(14, 0)),
                                    QDateTime(QDate(2026, 12, 12), QTime(12, 0))}};
    const QString texte = page(QStringLiteral("Chalet"), QDate(2026, 12, 8), Maintenant, sejours);
    QVERIFY(texte.endsWith(QStringLiteral("</table>\r\n")));
    const QStringList lignes = texte.split(QStringLiteral("\r\n"));
    // Title and table, 5 rows of 4 months of 67 lines, the closing line, the empty tail.
    QCOMPARE(lignes.size(), 2 + 5 * (2 + 4 * 67) + 1 + 1);
    QCOMPARE(lignes[0],
             QStringLiteral(
                 "<div align=\"center\"><strong>Réservations Chalet</strong><font size=\"1\" "
                 "face=\"Verdana, Arial, Helvetica, sans-serif\"> (mis à jour le 08 déc. 26 à "
                 "09:05)</font></div>"));
    QCOMPARE(
        lignes[1],
        QStringLiteral("<table width=\"770px\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">"));
    QCOMPARE(lignes[2], QStringLiteral("  <tr>"));
    QCOMPARE(lignes[3],
             QStringLiteral("    <td><div align=\"center\"><strong><font size=\"2\" "
                            "face=\"Verdana, Arial, Helvetica, sans-serif\">décembre "
                            "2026"));
    QCOMPARE(lignes[4], QStringLiteral("<br>"));
    QCOMPARE(lignes[5],
             QStringLiteral("        </font></strong>        <table width=\"186\" "
                            "border = \"1\" cellspacing = \"0\" cellpadding = \"0\" > "));
    QCOMPARE(lignes[6], QStringLiteral("      <tr bgcolor=\"#EAEAEA\">"));
    QCOMPARE(lignes[7],
             QStringLiteral("        <td><div align=\"center\"><font size=\"2\" "
                            "face=\"Verdana, Arial, Helvetica, "
                            "sans-serif\">Lun</font></div></td>"));
    QCOMPARE(lignes[13].right(23), QStringLiteral("\">Dim</font></div></td>"));
    QCOMPARE(lignes[14], QStringLiteral("          </tr>"));
    QCOMPARE(lignes[15], QStringLiteral("<tr bgcolor=\"#EAEAEA\">"));
    // December 2026 starts on a Tuesday: one grey cell, then the 1st.
    QCOMPARE(lignes[16],
             QStringLiteral("            <td bgcolor=\"#999999\"><div "
                            "align=\"center\"><font face=\"Verdana, Arial, "
                            "Helvetica, sans-serif\"><font "
                            "size=\"2\"></font></font></div></td>"));
    QCOMPARE(lignes[17],
             QStringLiteral("           <td bgcolor=\"#FFD351\"><div "
                            "align=\"center\"><font size=\"2\" face=\"Verdana, "
                            "Arial, Helvetica, sans-serif\">1</font></div></td>"));
    QCOMPARE(lignes[69], QStringLiteral("</table></td>"));
    QCOMPARE(lignes[2 + 2 + 4 * 67 - 1], QStringLiteral("</tr>"));
    QCOMPARE(lignes[lignes.size() - 2], QStringLiteral("</table>"));
    QStringList decembre = joursDuMois(texte, QStringLiteral("décembre 2026"));
    QCOMPARE(decembre.size(), 31);
    QCOMPARE(decembre.mid(8, 5),
             (QStringList {"#FFD351:9", "#FF6633:10", "#FF0000:11", "#FF6633:12", "#FFD351:13"}));
    // Twenty months: the last is July 2028.
    QVERIFY(texte.contains(QStringLiteral("\">juillet 2028\r\n")));
    QVERIFY(!texte.contains(QStringLiteral("\">août 2028\r\n")));
}

void TestCalendrierWeb::pageSansSejourToutLibre()
{
    const QString texte = page(QStringLiteral("Tente"), QDate(2027, 1, 31), Maintenant, {});
    int jours = 0;
    for (QDate d(2027, 1, 1); d < QDate(2028, 9, 1); d = d.addDays(1))
        ++jours;
    QCOMPARE(texte.count(QStringLiteral("<td bgcolor=\"#FFD351\">")), jours);
    QCOMPARE(texte.count(QStringLiteral("#FF6633")) + texte.count(QStringLiteral("#FF0000")), 0);
}

void TestCalendrierWeb::casesGrises_data()
{
    QTest::addColumn<QDate>("mois");
    QTest::addColumn<int>("grisesAvant");
    QTest::addColumn<int>("grisesApres");

    QTest::newRow("a month starting on a Sunday") << QDate(2024, 9, 1) << 6 << 6;
    QTest::newRow("February of 28 days from a Monday: two grey rows")
        << QDate(2027, 2, 1) << 0 << 14;
    QTest::newRow("a leap February") << QDate(2028, 2, 1) << 1 << 12;
}

void TestCalendrierWeb::casesGrises()
{
    QFETCH(QDate, mois);
    QFETCH(int, grisesAvant);
    QFETCH(int, grisesApres);
    const QString texte = page(QStringLiteral("X"), mois, Maintenant, {});
    const QStringList lignes = texte.split(QStringLiteral("\r\n"));
    // The first block's cells, grey or day, in order.
    QStringList cellules;
    for (int i = 15; lignes[i] != QStringLiteral("</table></td>"); ++i) {
        if (lignes[i].contains(QStringLiteral("<td bgcolor=")))
            cellules << (lignes[i].contains(QStringLiteral("#999999")) ? "g" : "j");
    }
    QCOMPARE(cellules.size(), 42);
    QCOMPARE(cellules.indexOf(QStringLiteral("j")), grisesAvant);
    QCOMPARE(42 - 1 - cellules.lastIndexOf(QStringLiteral("j")), grisesApres);
}

// One object's whole page over a fixed day, against the bytes kept in the repository (read and
// checked by eye in a browser when it was made): any change to a line shows here.
void TestCalendrierWeb::pageDeReference()
{
    const QVector<Sejour> sejours {
        {QDateTime(QDate(2026, 12, 10), QTime(14, 0)),
         QDateTime(QDate(2026, 12, 12), QTime(12, 0))},
        {QDateTime(QDate(2026, 12, 12), QTime(14, 0)),
         QDateTime(QDate(2026, 12, 15), QTime(12, 0))},
        {QDate(2027, 2, 27).startOfDay(), QDate(2027, 3, 2).startOfDay()}};
    const QByteArray octets = enWindows1252(
        page(QStringLiteral("Chalet (vue lac) é"), QDate(2026, 12, 8), Maintenant, sejours));
    QFile reference(QStringLiteral(RAZARIVU_DONNEES_TEST "/page-de-reference.html"));
    if (qEnvironmentVariableIsSet("RAZARIVU_ECRIRE_REFERENCE")) {
        QVERIFY(reference.open(QIODevice::WriteOnly));
        reference.write(octets);
        reference.close();
    }
    QVERIFY2(reference.open(QIODevice::ReadOnly), qPrintable(reference.fileName()));
    QCOMPARE(octets, reference.readAll());
    QVERIFY(octets.contains("R\xE9servations Chalet (vue lac) \xE9</strong>"));
    QVERIFY(octets.contains("(mis \xE0 jour le 08 d\xE9"
                            "c. 26 \xE0 09:05)"));
}

void TestCalendrierWeb::nomEchappe()
{
    const QString texte
        = page(QStringLiteral("Chalet \"Lac\" & Spa <2>"), QDate(2027, 1, 1), Maintenant, {});
    QVERIFY(texte.startsWith(QStringLiteral(
        "<div align=\"center\"><strong>Réservations Chalet &quot;Lac&quot; &amp; Spa "
        "&lt;2&gt;</strong>")));
}

void TestCalendrierWeb::windows1252_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QByteArray>("octets");

    QTest::newRow("plain") << "Lun\r\n" << QByteArray("Lun\r\n");
    QTest::newRow("accents of Latin-1") << "éàç" << QByteArray("\xE9\xE0\xE7");
    QTest::newRow("the euro and the oe of the code page") << "€œŸ" << QByteArray("\x80\x9C\x9F");
    QTest::newRow("outside the code page") << "Ω🏕" << QByteArray("&#937;&#127957;");
    QTest::newRow("a C1 control") << QString(QChar(0x81)) << QByteArray("&#129;");
}

void TestCalendrierWeb::windows1252()
{
    QFETCH(QString, texte);
    QFETCH(QByteArray, octets);
    QCOMPARE(enWindows1252(texte), octets);
}

void TestCalendrierWeb::finDePublication_data()
{
    QTest::addColumn<QDate>("aujourdhui");
    QTest::addColumn<QDate>("fin");
    QTest::newRow("today") << QDate(2026, 12, 8) << QDate(2028, 6, 1);
    QTest::newRow("a leap year in between") << QDate(2027, 1, 1) << QDate(2028, 7, 1);
}

void TestCalendrierWeb::finDePublication()
{
    QFETCH(QDate, aujourdhui);
    QFETCH(QDate, fin);
    QCOMPARE(dateDeFin(aujourdhui), fin);
}

QTEST_APPLESS_MAIN(TestCalendrierWeb)
#include "tst_calendrierweb.moc"

#include "commun/BaseEssai.h"
#include "data/LectureDirecte.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"

namespace {
const QString Autre = QStringLiteral("tst_lecturedirecte_autre");
} // namespace

// The planning reads its rows through LectureDirecte and everything else through Recordset: the
// two must read every stored value alike, odd ones included, or a bar would show what the
// dialog does not.
class TestLectureDirecte : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void litCommeLeJeu_data();
    void litCommeLeJeu();
    void texteRefuse_data();
    void texteRefuse();
    void memeFormeMemeRequete();
    void laisseEcrireApresLecture_data();
    void laisseEcrireApresLecture();
    void connexionFermee();

private:
    QSqlDatabase base() const { return m_base.base(); }

    BaseEssai m_base {QStringLiteral("tst_lecturedirecte")};
};

void TestLectureDirecte::init()
{
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
    QCOMPARE(m_base.reserver({{"Objet", 3},
                              {"nomclient", "Lefèvre"},
                              {"arrhes", 150.5},
                              {"datelimite", QVariant()},
                              {"nbadultes", 2},
                              {"nbenfants", 1},
                              {"remarque", "Lit bébé"},
                              {"telephone", "06 12 34 56 78"},
                              {"email", "lefevre@exemple.fr"}}),
             1);
}

void TestLectureDirecte::cleanup()
{
    BaseDeDonnees::fermer(Autre);
    m_base.fermer();
}

void TestLectureDirecte::litCommeLeJeu_data()
{
    QTest::addColumn<QString>("colonne");
    QTest::addColumn<QString>("valeur"); // SQL literal stored in the column

    QTest::newRow("a stored date") << "DateDebut"
                                   << "'2024-07-10 14:00:00'";
    QTest::newRow("a date written with the ISO T") << "DateFin"
                                                   << "'2024-07-14T12:00:00'";
    QTest::newRow("a date without its hour") << "DateFin"
                                             << "'2024-07-14'";
    QTest::newRow("a missing date") << "datelimite"
                                    << "NULL";
    QTest::newRow("a text that is no date") << "DateFin"
                                            << "'demain'";
    QTest::newRow("an impossible date") << "DateDebut"
                                        << "'2024-02-30 14:00:00'";
    QTest::newRow("a number in a date column") << "DateFin"
                                               << "45123";
    QTest::newRow("a whole number") << "nbadultes"
                                    << "4";
    QTest::newRow("a fraction in a whole column") << "nbadultes"
                                                  << "2.5";
    QTest::newRow("a word in a number column") << "nbenfants"
                                               << "'trois'";
    QTest::newRow("a number written as text") << "Objet"
                                              << "' 3 '";
    QTest::newRow("a comma decimal as text") << "arrhes"
                                             << "'12,5'";
    QTest::newRow("a missing number") << "arrhes"
                                      << "NULL";
    QTest::newRow("a huge number") << "arrhes"
                                   << "1e300";
    QTest::newRow("accents and emoji") << "nomclient"
                                       << "'Émile 🏕 Ñandú'";
    QTest::newRow("an empty text") << "email"
                                   << "''";
    QTest::newRow("a missing text") << "remarque"
                                    << "NULL";
    QTest::newRow("a number in a text column") << "telephone"
                                               << "612345678";
    QTest::newRow("a fraction in a text column") << "telephone"
                                                 << "0.1";
    QTest::newRow("bytes in a text column") << "remarque"
                                            << "x'00FF41'";
}

void TestLectureDirecte::litCommeLeJeu()
{
    QFETCH(QString, colonne);
    QFETCH(QString, valeur);
    const QString ecriture
        = QStringLiteral("UPDATE RESERVATIONS SET \"%1\" = %2").arg(colonne.toLower(), valeur);
    // A server's columns have types of their own, which refuse what SQLite takes in any column.
    if (m_base.surServeur() && !QSqlQuery(base()).exec(ecriture))
        QSKIP("The server's column refuses this value.");
    QVERIFY(m_base.executer(ecriture));
    const QString texte = TextesSQL::reservationsDeLObjet(3, QDate(2030, 1, 1));

    Recordset jeu(base(), texte);
    QVERIFY2(jeu.estOuvert(), qPrintable(jeu.erreur().text()));
    QCOMPARE(jeu.nombre(), 1);
    LectureDirecte lecture(base());
    QVERIFY2(lecture.executer(texte), qPrintable(lecture.erreur().text()));
    QVERIFY(lecture.suivant());

    for (const QString &nom : jeu.nomsDesChamps()) {
        const int position = lecture.position(nom);
        QVERIFY2(position >= 0, qPrintable(nom));
        const QVariant attendu = jeu.champ(nom);
        QCOMPARE(lecture.estNull(position), attendu.isNull());
        if (attendu.typeId() == QMetaType::QDateTime) {
            QCOMPARE(lecture.date(position), attendu.toDateTime());
            continue;
        }
        // What the record set hands back as it stands is no date to either reader.
        if (nom.startsWith(QStringLiteral("date"), Qt::CaseInsensitive))
            QVERIFY2(!lecture.date(position).isValid(), qPrintable(nom));
        QCOMPARE(lecture.texte(position), attendu.isNull() ? QString() : attendu.toString());
        bool luAttendu = false;
        const double nombreAttendu = attendu.toDouble(&luAttendu);
        bool lu = false;
        const double nombre = lecture.nombre(position, &lu);
        QCOMPARE(lu, luAttendu);
        if (lu)
            QCOMPARE(nombre, nombreAttendu);
    }
    QVERIFY(!lecture.suivant());
    QVERIFY(!lecture.valeur(0).isValid()); // past the end
}

void TestLectureDirecte::texteRefuse_data()
{
    QTest::addColumn<QString>("texte");

    QTest::newRow("a deletion") << "DELETE FROM RESERVATIONS";
    QTest::newRow("a deletion behind a select") << "SELECT * FROM ETATS; DELETE FROM RESERVATIONS";
    QTest::newRow("an unknown table") << "SELECT * FROM INCONNUE";
    QTest::newRow("not SQL at all") << "SELECT FROM WHERE (";
    QTest::newRow("nothing") << "";
}

void TestLectureDirecte::texteRefuse()
{
    QFETCH(QString, texte);
    LectureDirecte lecture(base());
    QVERIFY(!lecture.executer(texte));
    QVERIFY(lecture.erreur().isValid());
    QVERIFY(!lecture.erreur().text().isEmpty());
    QVERIFY(!lecture.suivant());
    QCOMPARE(m_base.nombre("RESERVATIONS"), 1);
}

void TestLectureDirecte::memeFormeMemeRequete()
{
    QCOMPARE(m_base.reserver({{"Objet", 4},
                              {"nomclient", "Martin"},
                              {"DateDebut", "2024-08-01 14:00:00"},
                              {"DateFin", "2024-08-03 12:00:00"}}),
             2);
    LectureDirecte lecture(base());
    const QDate fin(2030, 1, 1);
    const QDate debut(2024, 1, 1);

    QVERIFY(lecture.executer(TextesSQL::reservationsDeLObjet(3, debut, fin)));
    const quint64 forme = lecture.forme();
    QVERIFY(lecture.suivant());
    QCOMPARE(lecture.texte(lecture.position("nomclient")), QStringLiteral("Lefèvre"));
    // Left in the middle of its rows: the next text starts afresh.
    QVERIFY(lecture.executer(TextesSQL::reservationsDeLObjet(4, debut, fin)));
    QCOMPARE(lecture.forme(), forme);
    QVERIFY(lecture.suivant());
    QCOMPARE(lecture.texte(lecture.position("nomclient")), QStringLiteral("Martin"));
    QVERIFY(!lecture.suivant());

    QVERIFY(lecture.executer(TextesSQL::reservationsDeLObjet(4, fin)));
    QVERIFY(lecture.forme() != forme);
    QVERIFY(lecture.suivant());
    QCOMPARE(lecture.texte(lecture.position("NOMCLIENT")), QStringLiteral("Martin"));
    QCOMPARE(lecture.position("pas un champ"), -1);
}

void TestLectureDirecte::laisseEcrireApresLecture_data()
{
    QTest::addColumn<bool>("jusquAuBout");
    QTest::newRow("every row read") << true;
    QTest::newRow("reader gone before its last row") << false;
}

// Another program (or the dialog's own connection) must be able to save once the planning has
// read its rows.
void TestLectureDirecte::laisseEcrireApresLecture()
{
    QFETCH(bool, jusquAuBout);
    QVERIFY(!BaseDeDonnees::ouvrir(m_base.chemin(), Autre).isValid());
    QSqlDatabase autre = QSqlDatabase::database(Autre, false);
    {
        LectureDirecte lecture(base());
        QVERIFY(lecture.executer(TextesSQL::reservationsDeLObjet(3, QDate(2030, 1, 1))));
        QVERIFY(lecture.suivant());
        if (jusquAuBout)
            QVERIFY(!lecture.suivant());
        if (jusquAuBout) {
            QSqlQuery ecriture(autre);
            QVERIFY2(ecriture.exec(QStringLiteral("UPDATE RESERVATIONS SET nbadultes = 5")),
                     qPrintable(ecriture.lastError().text()));
        }
    }
    QSqlQuery ecriture(autre);
    QVERIFY2(ecriture.exec(QStringLiteral("UPDATE RESERVATIONS SET nbenfants = 3")),
             qPrintable(ecriture.lastError().text()));
}

void TestLectureDirecte::connexionFermee()
{
    BaseDeDonnees::fermer(m_base.connexion());
    LectureDirecte lecture(base());
    QVERIFY(!lecture.executer(QStringLiteral("SELECT * FROM ETATS")));
    QCOMPARE(lecture.erreur().text(), QStringLiteral("La base de données n'est pas ouverte."));
    QVERIFY(!lecture.suivant());
    QVERIFY(!lecture.valeur(0).isValid());
}

QTEST_GUILESS_MAIN(TestLectureDirecte)
#include "tst_lecturedirecte.moc"

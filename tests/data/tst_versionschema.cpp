#include "commun/BaseEssai.h"
#include "data/ChaineJournal.h"
#include "data/Recordset.h"
#include "data/TextesSQL.h"
#include "data/VersionSchema.h"

#include <QCryptographicHash>

// Files of the first release, brought up to the current tables when opened.
class TestVersionSchema : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_essai.fermer(); }

    void uneNouvelleBaseEstALaVersionCourante();
    void uneAncienneBasePrendLesTablesDUneNouvelle();
    void uneBaseDeLaVersion1PrendSesIndex();
    void lesTextesDuProgrammeLisentLesMemesValeurs();
    void uneMiseAJourImpossibleLaisseLeFichierIntact_data();
    void uneMiseAJourImpossibleLaisseLeFichierIntact();

private:
    // The columns of every table and view, as "table.column type", in order, then our indexes.
    QStringList colonnes() const;
    QByteArray empreinte() const;
    bool ouvrirAncienne();

    BaseEssai m_essai {QStringLiteral("versionschema")};
};

void TestVersionSchema::init()
{
    QVERIFY(m_essai.preparer());
}

bool TestVersionSchema::ouvrirAncienne()
{
    if (!QFile::copy(QStringLiteral(RAZARIVU_DONNEES_TEST "/razarivu-0.1.0.mdb"), m_essai.chemin()))
        return false;
    QFile::setPermissions(m_essai.chemin(), QFile::ReadOwner | QFile::WriteOwner);
    return !BaseDeDonnees::ouvrir(m_essai.chemin(), m_essai.connexion()).isValid();
}

QStringList TestVersionSchema::colonnes() const
{
    QStringList resultat;
    QSqlQuery tables(m_essai.base());
    tables.exec("select name from sqlite_schema where type in ('table', 'view') order by name");
    while (tables.next()) {
        QSqlQuery colonnes(m_essai.base());
        colonnes.exec(QString("pragma table_xinfo(\"%1\")").arg(tables.value(0).toString()));
        while (colonnes.next())
            resultat << tables.value(0).toString() + '.' + colonnes.value(1).toString() + ' '
                    + colonnes.value(2).toString() + ' ' + colonnes.value(4).toString();
    }
    tables.exec("select type, name from sqlite_schema where type in ('index', 'trigger') and sql "
                "is not null order by name");
    while (tables.next())
        resultat << tables.value(0).toString() + ' ' + tables.value(1).toString();
    return resultat;
}

QByteArray TestVersionSchema::empreinte() const
{
    QFile fichier(m_essai.chemin());
    return fichier.open(QIODevice::ReadOnly)
        ? QCryptographicHash::hash(fichier.readAll(), QCryptographicHash::Sha256)
        : QByteArray();
}

void TestVersionSchema::uneNouvelleBaseEstALaVersionCourante()
{
    QVERIFY(m_essai.ouvrir());
    QCOMPARE(VersionSchema::lire(m_essai.base()), VersionSchema::Courante);
    const QByteArray avant = empreinte();
    QVERIFY(!VersionSchema::mettreAJour(m_essai.base()).isValid());
    QCOMPARE(empreinte(), avant);
}

void TestVersionSchema::uneAncienneBasePrendLesTablesDUneNouvelle()
{
    QVERIFY(m_essai.ouvrir());
    const QStringList nouvelles = colonnes();
    QVERIFY(nouvelles.contains("index ReservationsParArrivee"));
    QVERIFY(nouvelles.contains("index ReservationsParDepart"));
    QVERIFY(nouvelles.contains("trigger ReservationsVersion"));
    m_essai.preparer();
    QVERIFY(ouvrirAncienne());
    QCOMPARE(VersionSchema::lire(m_essai.base()), 0);

    const QSqlError erreur = VersionSchema::mettreAJour(m_essai.base());
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
    QCOMPARE(VersionSchema::lire(m_essai.base()), VersionSchema::Courante);
    QCOMPARE(colonnes(), nouvelles);
    // The journal of the old file, chained once in the order it was written.
    const ChaineJournal::Verification journal = ChaineJournal::verifier(m_essai.base());
    QVERIFY2(journal.intact, qPrintable(journal.message));
    QCOMPARE(journal.lignes, m_essai.nombre("OPERATIONS"));
    // Every store of a stay raises its version, whoever writes it.
    QVERIFY(m_essai.executer("update RESERVATIONS set telephone = '01 ' where "
                             "NumeroReservation = 5"));
    QVERIFY(m_essai.executer("update RESERVATIONS set version = 7 where NumeroReservation = 6"));
    QCOMPARE(m_essai
                 .valeur("select group_concat(version) from RESERVATIONS where "
                         "NumeroReservation in (4, 5, 6) order by NumeroReservation")
                 .toString(),
             QString("0,1,7"));
    // A cancelled stay frees its object; every article starts at the reduced rate.
    QCOMPARE(m_essai.valeur("select group_concat(Nom || '=' || occupe, ';') from ETATS").toString(),
             QString("Option=1;Confirmée=1;Arrhes reçues=1;Fermé=1;Annulée=0"));
    QCOMPARE(m_essai.valeur("select count(*) from CONSOMMATIONS where TauxTVA <> 1000").toInt(), 0);
    QCOMPARE(m_essai.valeur("select count(*) from OBJETS where retire <> 0").toInt(), 0);
    QCOMPARE(m_essai.valeur("pragma integrity_check").toString(), QString("ok"));
}

void TestVersionSchema::uneBaseDeLaVersion1PrendSesIndex()
{
    QVERIFY(m_essai.ouvrir());
    const QStringList nouvelles = colonnes();
    for (const char *instruction : {"drop index ReservationsParArrivee",
                                    "drop index ReservationsParDepart", "pragma user_version = 1"})
        QVERIFY(m_essai.executer(instruction));

    const QSqlError erreur = VersionSchema::mettreAJour(m_essai.base());
    QVERIFY2(!erreur.isValid(), qPrintable(erreur.text()));
    QCOMPARE(VersionSchema::lire(m_essai.base()), VersionSchema::Courante);
    QCOMPARE(colonnes(), nouvelles);
}

void TestVersionSchema::lesTextesDuProgrammeLisentLesMemesValeurs()
{
    QVERIFY(ouvrirAncienne());
    QVector<TextesSQL::TexteExemple> textes = TextesSQL::tousLesTextes();
    textes.append({"the bars of a line, today",
                   TextesSQL::reservationsDeLObjet(21, QDate(2026, 1, 1), QDate(2028, 1, 1))});
    textes.append({"the web pages, today", TextesSQL::reservationsPubliees(21, QDate(2028, 1, 1))});
    textes.append({"an account", TextesSQL::compteDeLaReservation("5")});
    const auto lire = [&] {
        QVector<QVector<QVariantMap>> lectures;
        for (const TextesSQL::TexteExemple &texte : std::as_const(textes)) {
            Recordset lignes(m_essai.base(), texte.texte);
            QVector<QVariantMap> valeurs;
            for (; !lignes.fin(); lignes.suivant()) {
                QVariantMap ligne;
                for (const QString &champ : lignes.nomsDesChamps())
                    ligne.insert(champ, lignes.champ(champ));
                valeurs << ligne;
            }
            lectures << valeurs;
        }
        return lectures;
    };
    const QVector<QVector<QVariantMap>> avant = lire();
    QVERIFY(!VersionSchema::mettreAJour(m_essai.base()).isValid());
    const QVector<QVector<QVariantMap>> apres = lire();

    int lignesLues = 0;
    for (int t = 0; t < textes.size(); ++t) {
        QCOMPARE(apres[t].size(), avant[t].size());
        for (int l = 0; l < avant[t].size(); ++l) {
            for (auto champ = avant[t][l].cbegin(); champ != avant[t][l].cend(); ++champ)
                QVERIFY2(apres[t][l].value(champ.key()) == champ.value(),
                         qPrintable(textes[t].nom + " / " + champ.key()));
            ++lignesLues;
        }
    }
    QVERIFY(lignesLues > 100);
}

void TestVersionSchema::uneMiseAJourImpossibleLaisseLeFichierIntact_data()
{
    QTest::addColumn<QString>("alteration");
    QTest::addColumn<QString>("raison");

    // The articles as a view: the last addition fails after the others were made.
    QTest::newRow("a step fails halfway")
        << "drop table CONSOMMATIONS; create view CONSOMMATIONS as select 'a' as Famille, "
           "'b' as Libelle, 1.0 as prixTTC"
        << "CONSOMMATIONS";
    QTest::newRow("a later version") << "pragma user_version = 99"
                                     << "version plus récente";
}

void TestVersionSchema::uneMiseAJourImpossibleLaisseLeFichierIntact()
{
    QFETCH(QString, alteration);
    QFETCH(QString, raison);
    QVERIFY(ouvrirAncienne());
    for (const QString &instruction : alteration.split("; "))
        QVERIFY(m_essai.executer(instruction));
    const int version = VersionSchema::lire(m_essai.base());
    const QStringList avant = colonnes();
    const QByteArray fichier = empreinte();

    const QSqlError erreur = VersionSchema::mettreAJour(m_essai.base());
    QVERIFY(erreur.isValid());
    QVERIFY2(erreur.text().contains(raison), qPrintable(erreur.text()));
    QCOMPARE(VersionSchema::lire(m_essai.base()), version);
    QCOMPARE(colonnes(), avant);
    QCOMPARE(empreinte(), fichier);
}

QTEST_GUILESS_MAIN(TestVersionSchema)
#include "tst_versionschema.moc"

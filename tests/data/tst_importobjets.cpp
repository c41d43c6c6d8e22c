#include "commun/BaseEssai.h"
#include "conversion/MessageErreur.h"
#include "data/ImportObjets.h"

#include <QElapsedTimer>

// A list of objects saved by a spreadsheet: what the preview would add and refuse, and the
// import itself, all or nothing.
class TestImportObjets : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec())); }
    void cleanup() { m_base.fermer(); }

    void lire_data();
    void lire();
    void dixMilleLignes();
    void ajouter_data();
    void ajouter();

private:
    BaseEssai m_base {QStringLiteral("tst_importobjets")};
};

namespace {

// What the preview says, line by line: "ligne: numero|nom|categorie|capacite" for an object,
// "ligne: raison" for a refused line, or "! why" for the whole file.
QStringList lignes(const ApercuImportation &apercu)
{
    if (!apercu.refusGlobal.isEmpty())
        return {"! " + apercu.refusGlobal};
    QMap<int, QString> parLigne;
    const auto texte = [](const QVariant &v) {
        return v.isNull() ? "null" : v.toString();
    };
    for (const LigneImportee &objet : apercu.ajouts)
        parLigne[objet.ligne] = QStringLiteral("%1|%2|%3|%4")
                                    .arg(objet.numero)
                                    .arg(objet.nom, texte(objet.categorie), texte(objet.capacite));
    for (const LigneRefusee &ligne : apercu.refus)
        parLigne[ligne.ligne] = ligne.raison;
    QStringList texteDesLignes;
    for (auto ligne = parLigne.cbegin(); ligne != parLigne.cend(); ++ligne)
        texteDesLignes << QString::number(ligne.key()) + ": " + ligne.value();
    return texteDesLignes;
}

} // namespace

void TestImportObjets::lire_data()
{
    QTest::addColumn<QByteArray>("contenu");
    QTest::addColumn<QStringList>("attendu"); // the start of each of lignes()

    QTest::newRow("Semicolons, blanks around the header, empty lines skipped but counted")
        << QByteArray(" numero ;Nom;Categorie;Capacite\n\n101;Chambre A;Suite;3\n;;;\n12;X\n")
        << QStringList {"3: 101|Chambre A|Suite|3", "5: Le numéro 12 est déjà utilisé"};
    QTest::newRow("Commas when the header holds no semicolon; a row cut short lacks only "
                  "the optional cells")
        << QByteArray("Numero,Nom,Capacite\n101,\"Dupont; Jean\",4\n102,Chalet\n")
        << QStringList {"2: 101|Dupont; Jean|null|4", "3: 102|Chalet|null|null"};
    QTest::newRow("Byte-order mark, CR LF, accented header in another order, other columns "
                  "ignored")
        << QByteArray("\xEF\xBB\xBF"
                      "Capacité;Remarque;NUMÉRO;Nom;Catégorie\r\n2;x;101;Pré vert;Chalet\r\n")
        << QStringList {"2: 101|Pré vert|Chalet|2"};
    QTest::newRow("CR alone ends a line")
        << QByteArray("Numero;Nom\r101;A\r102;B")
        << QStringList {"2: 101|A|null|null", "3: 102|B|null|null"};
    QTest::newRow("Quoted cells: separator, doubled quote and line break belong to the cell; the "
                  "row stays one line")
        << QByteArray("Numero;Nom;Categorie\n101;\"A;B \"\"C\"\"\";\"x\ny\"\n102;\"D\"\n")
        << QStringList {"2: La catégorie ne peut contenir ni saut de ligne", "3: 102|D|null|null"};
    QTest::newRow("Not UTF-8: Windows-1252")
        << QByteArray("Numero;Nom\n101;Chalet Pr\xe9\n102;\x80 \x9c\x85\n")
        << QStringList {"2: 101|Chalet Pré|null|null", "3: 102|€ œ…|null|null"};
    QTest::newRow("Each bad line refused with its line and its reason")
        << QByteArray("Numero;Nom;Capacite\n12a;A\n0;B\n-1;C\n99999999999;D\n103; \n104;"
                      + QByteArray(100000, 'n') + "\n105;E;deux\n106\n107;F;2\n107;H\n")
        << QStringList {"2: Le numéro doit être un nombre entier",
                        "3: Le numéro doit être supérieur à zéro",
                        "4: Le numéro doit être supérieur à zéro",
                        "5: Le numéro ne peut pas dépasser 2147483647",
                        "6: Le nom ne peut pas être vide",
                        "7: Le nom ne peut pas dépasser 100 caractères (100000 saisis)",
                        "8: La capacité doit être un nombre",
                        "9: La colonne Nom manque sur cette ligne.",
                        "10: 107|F|null|2",
                        "11: Le numéro 107 figure déjà à la ligne 10 du fichier."};
    QTest::newRow("A quote never closed swallows the rest: said so")
        << QByteArray("Numero;Nom\n101;\"A\n102;B\n") << QStringList {"2: Un guillemet ouvert"};
    QTest::newRow("No Nom column: the whole file refused, the expected header shown")
        << QByteArray("Numero;Libelle\n101;A\n")
        << QStringList {"! La colonne « Nom » manque dans la ligne d'en-tête (« Numero;Libelle »). "
                        "La première ligne du fichier doit nommer ses colonnes, ainsi : "
                        "Numero;Nom;Categorie;Capacite"};
    QTest::newRow("Neither column")
        << QByteArray("a,b\n1,2\n")
        << QStringList {"! Les colonnes « Numero » et « Nom » manquent"};
    QByteArray binaire;
    for (int i = 0; i < 1024; ++i)
        binaire += char(i % 256);
    QTest::newRow("Binary file") << binaire << QStringList {"! Ce fichier n'est pas une liste"};
    QTest::newRow("Over 5 MiB") << QByteArray(TailleMaximaleImport + 1, 'x')
                                << QStringList {"! Ce fichier est trop gros"};
    QTest::newRow("Empty file") << QByteArray("\r\n \n") << QStringList {"! Ce fichier est vide."};
    QTest::newRow("Header only") << QByteArray("Numero;Nom\n;\n")
                                 << QStringList {"! Ce fichier n'a que la ligne d'en-tête"};
}

void TestImportObjets::lire()
{
    QFETCH(QByteArray, contenu);
    QFETCH(QStringList, attendu);

    const ApercuImportation apercu
        = lireListeObjets(contenu, {{1, "Chambre 1"}, {12, "Chambre 12"}});
    const QStringList lues = lignes(apercu);
    QCOMPARE(lues.size(), attendu.size());
    for (int i = 0; i < lues.size(); ++i)
        QVERIFY2(lues[i].startsWith(attendu[i]), qPrintable(lues[i]));
    for (const LigneRefusee &ligne : apercu.refus)
        QVERIFY(ligne.contenu.size() <= 81 && !ligne.contenu.contains(u'\n'));
}

void TestImportObjets::dixMilleLignes()
{
    QByteArray contenu("Numero;Nom;Categorie;Capacite\r\n");
    for (int i = 1; i <= LignesMaximalesImport; ++i)
        contenu += QByteArray::number(1000 + i) + ";\"Emplacement " + QByteArray::number(i)
            + "\";Emplacement;6\r\n";
    QElapsedTimer chrono;
    chrono.start();
    const ApercuImportation apercu = lireListeObjets(contenu, {});
    QVERIFY2(chrono.elapsed() < 2000, qPrintable(QString::number(chrono.elapsed())));
    QCOMPARE(apercu.ajouts.size(), LignesMaximalesImport);
    QCOMPARE(apercu.ajouts.last().ligne, LignesMaximalesImport + 1);

    contenu += "99;Une de trop\r\n";
    QVERIFY(lireListeObjets(contenu, {}).refusGlobal.contains("plus de 10"));
}

void TestImportObjets::ajouter_data()
{
    QTest::addColumn<QString>("avant"); // SQL run between the preview and the import
    QTest::addColumn<QString>("refus"); // empty: all added

    QTest::newRow("Every object after those already there, stored as typed")
        << QString() << QString();
    QTest::newRow("The base refuses the second: nothing added")
        << (ServeurEssai::actif()
                ? "ALTER TABLE OBJETS ADD CONSTRAINT t CHECK (Numero <> 903) NOT VALID"
                : "CREATE TRIGGER t BEFORE INSERT ON OBJETS WHEN NEW.Numero = 903 BEGIN SELECT "
                  "RAISE(ABORT, 'non'); END;")
        << "une de ses règles";
    QTest::newRow("Another desk took a number since the preview: nothing added")
        << "INSERT INTO OBJETS (Numero, Nom) VALUES (904, 'Autre poste')"
        << "Le numéro 904 est déjà utilisé par « Autre poste »";
}

void TestImportObjets::ajouter()
{
    QFETCH(QString, avant);
    QFETCH(QString, refus);
    const ApercuImportation apercu = lireListeObjets(
        "Numero;Nom;Categorie;Capacite\n902;\"O'Brien \"\"l'ami\"\"\";;\n"
        "903;\"'); DROP TABLE OBJETS; --\";Chalet;4\n904;\"<b>Pré</b> &amp;\";  ;\n"
        "905; Blancs gardés ;x;1\n",
        {});
    QCOMPARE(apercu.ajouts.size(), 4);
    const QString dernierAvant = m_base.valeur("SELECT max(rowid) FROM OBJETS").toString();
    QVERIFY(avant.isEmpty() || m_base.executer(avant));

    const QString erreur
        = messageBaseEnFrancais(ajouterObjetsImportes(m_base.base(), apercu.ajouts));
    QVERIFY2(refus.isEmpty() ? erreur.isEmpty() : erreur.contains(refus), qPrintable(erreur));
    const QString ajoutes
        = m_base
              .valeur("SELECT group_concat(Numero || '|' || Nom || '|' || "
                      "ifnull(Categorie, 'null') || '|' || ifnull(CAST(Capacite AS TEXT), "
                      "'null') || ifnull(NomInternet, '') || "
                      "ifnull(FichierPlanningHTML, '') || retire, '¤') FROM "
                      "(SELECT * FROM OBJETS WHERE rowid > "
                      + dernierAvant + " AND Nom <> 'Autre poste' ORDER BY rowid) AS ajoutes")
              .toString();
    QCOMPARE(ajoutes,
             refus.isEmpty() ? QString("902|O'Brien \"l'ami\"|null|null0¤903|'); DROP TABLE "
                                       "OBJETS; --|Chalet|40¤904|<b>Pré</b> &amp;|null|null0¤"
                                       "905| Blancs gardés |x|10")
                             : QString());
}

QTEST_GUILESS_MAIN(TestImportObjets)
#include "tst_importobjets.moc"

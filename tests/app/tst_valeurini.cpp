#include "app/CentrerFenetre.h"
#include "app/CheminsApplication.h"
#include "app/FichierIni.h"
#include "app/Langues.h"
#include "app/ValeurINI.h"

#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

const QByteArray Absent("<absent>");

QByteArray contenu(const QString &chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return Absent;
    return fichier.readAll();
}

void deposer(const QString &chemin, const QByteArray &octets)
{
    if (octets == Absent)
        return;
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

} // namespace

class TestValeurINI : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();

    void lectureTexte_data();
    void lectureTexte();
    void ecritureTexte_data();
    void ecritureTexte();

    void lectureModes_data();
    void lectureModes();
    void ecritureRelecture_data();
    void ecritureRelecture();
    void choixFichier_data();
    void choixFichier();
    void echecsSilencieux_data();
    void echecsSilencieux();
    void relitAChaqueAppel();
    void registre_data();
    void registre();

    void traduire_data();
    void traduire();
    void positionCentree_data();
    void positionCentree();
    void centrerFenetreTropGrande();

private:
    QString dossier() const { return m_dossier->path(); }
    QString principal() const { return CheminsApplication::fichierINIPrincipal(); }

    std::unique_ptr<QTemporaryDir> m_dossier;
};

void TestValeurINI::init()
{
    m_dossier = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dossier->isValid());
    qputenv("RAZARIVU_DOSSIER", QFile::encodeName(m_dossier->path()));
    QFile::remove(fichierRegistre());
}

void TestValeurINI::lectureTexte_data()
{
    QTest::addColumn<QByteArray>("texte");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("cle");
    QTest::addColumn<QVariant>("attendu"); // invalid: not found
    const auto ligne = [](const char *nom, const QByteArray &texte, const QString &section,
                          const QString &cle, const QVariant &attendu) {
        QTest::newRow(nom) << texte << section << cle << attendu;
    };

    ligne("Section and key names ignore case", "[SYSTEM]\r\nSauvegardes Nombre=30\r\n", "system",
          "sauvegardes nombre", "30");
    ligne("A key asked with a trailing blank finds the key stored without it",
          "[Francais]\r\nProblème :=Erreur\r\n", "Francais", "Problème : ", "Erreur");
    ligne("Blanks around names in the file do not count", "  [ system ]  \r\n  k  =  v  \r\n",
          "system", "k", "v");
    ligne("Blanks around the value go, then one pair of quotes", "[s]\r\nk= \" a \" \r\n", "s", "k",
          " a ");
    ligne("Only one pair of quotes goes", "[s]\r\nk=\"\"q\"\"\r\n", "s", "k", "\"q\"");
    ligne("A lone quote stays", "[s]\r\nk=\"abc\r\n", "s", "k", "\"abc");
    ligne("An empty value is found and empty", "[s]\r\nk=\r\n", "s", "k", "");
    ligne("CR LF endings leave no CR in the value", "[s]\r\nk=v\r\n", "s", "k", "v");
    ligne("LF endings read the same", "[s]\nk=v\nl=w\n", "s", "l", "w");
    ligne("A last line without line break is read", "[s]\r\nk=v", "s", "k", "v");
    ligne("The first of two sections with the same name is the only one read",
          "[s]\r\na=1\r\n[S]\r\nb=2\r\n", "s", "b", QVariant());
    ligne("The first of two keys with the same name wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1");
    ligne("A junk line does not hide the keys after it", "[s]\r\nnot a setting\r\nk=v\r\n", "s",
          "k", "v");
    ligne("A commented-out key is not a key", "[s]\r\n;k=old\r\n", "s", "k", QVariant());
    ligne("A key before any section belongs to none", "k=v\r\n[s]\r\n", "s", "k", QVariant());
    ligne("A key of the next section is not seen", "[a]\r\n[b]\r\nk=1\r\n", "a", "k", QVariant());
    ligne("Bytes that are not UTF-8 read as Windows-1252",
          "[Francais]\r\nProbl\xe8me=Co\xfbt \x80\r\n", "Francais", "Problème", "Coût €");
    ligne("A UTF-8 byte-order mark is skipped", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v");
    ligne("A byte-order mark before Windows-1252 bytes is skipped too",
          "\xEF\xBB\xBF[s]\r\nk=Co\xfbt\r\n", "s", "k", "Coût");
    ligne("Byte-order marks stacked by careless tools are all skipped",
          "\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "v");
    ligne("Stacked byte-order marks before Windows-1252 bytes are all skipped",
          "\xEF\xBB\xBF\xEF\xBB\xBF[s]\r\nk=Co\xfbt\r\n", "s", "k", "Coût");
    ligne("A section name is cut to 600 characters", "[" + QByteArray(600, 'a') + "]\r\nk=v\r\n",
          QString(600, 'a') + QString(100, 'b'), "k", "v");
}

void TestValeurINI::lectureTexte()
{
    QFETCH(QByteArray, texte);
    QFETCH(QString, section);
    QFETCH(QString, cle);
    QFETCH(QVariant, attendu);

    const std::optional<QString> lu = FichierIni::depuisOctets(texte).valeur(section, cle);
    QCOMPARE(lu.has_value(), attendu.isValid());
    if (lu)
        QCOMPARE(*lu, attendu.toString());
}

void TestValeurINI::ecritureTexte_data()
{
    QTest::addColumn<QByteArray>("avant");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("cle");
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<QByteArray>("apres");
    const auto ligne = [](const char *nom, const QByteArray &avant, const QString &section,
                          const QString &cle, const QString &valeur, const QByteArray &apres) {
        QTest::newRow(nom) << avant << section << cle << valeur << apres;
    };

    ligne("A value is replaced in place and every other line kept",
          "; réglages\r\n[system]\r\nSauvegardes Nombre = 30\r\njunk\r\n\r\n[b]\r\nx=1\r\n",
          "SYSTEM", "sauvegardes nombre", "12",
          "; réglages\r\n[system]\r\nSauvegardes Nombre = 12\r\njunk\r\n\r\n[b]\r\nx=1\r\n");
    ligne("A new key goes after its section's last line, before the blank line",
          "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "z", "3",
          "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n");
    ligne("A new section goes at the end of the file", "[a]\r\nx=1\r\n", "b", "k", "v",
          "[a]\r\nx=1\r\n[b]\r\nk=v\r\n");
    ligne("An empty file gets the section and the key", "", "s", "k", "v", "[s]\r\nk=v\r\n");
    ligne("Writes go to the first of two sections with the same name",
          "[s]\r\na=1\r\n[s]\r\nk=old\r\n", "s", "k", "new",
          "[s]\r\na=1\r\nk=new\r\n[s]\r\nk=old\r\n");
    ligne("LF endings come back as CR LF, without the byte-order mark", "\xEF\xBB\xBF[s]\nk=1\n",
          "s", "k", "2", "[s]\r\nk=2\r\n");
    ligne("Stacked byte-order marks do not come back",
          "\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "2", "[s]\r\nk=2\r\n");
    ligne("A Windows-1252 file comes back in UTF-8 with the same text", "[s]\r\nk=Probl\xe8me\r\n",
          "s", "x", "1", "[s]\r\nk=Problème\r\nx=1\r\n");
    ligne("Blanks around a value are kept between quotes", "", "s", "k", " a ",
          "[s]\r\nk=\" a \"\r\n");
}

void TestValeurINI::ecritureTexte()
{
    QFETCH(QByteArray, avant);
    QFETCH(QString, section);
    QFETCH(QString, cle);
    QFETCH(QString, valeur);
    QFETCH(QByteArray, apres);

    FichierIni fichier = FichierIni::depuisOctets(avant);
    fichier.ecrire(section, cle, valeur);
    QCOMPARE(fichier.versOctets(), apres);
}

void TestValeurINI::lectureModes_data()
{
    QTest::addColumn<QByteArray>("avant");
    QTest::addColumn<QString>("cle");
    QTest::addColumn<QString>("defaut");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("attendu");
    QTest::addColumn<QByteArray>("apres");
    const auto ligne
        = [](const char *nom, const QByteArray &avant, const QString &cle, const QString &defaut,
             int mode, const QString &attendu, const QByteArray &apres) {
              QTest::newRow(nom) << avant << cle << defaut << mode << attendu << apres;
          };

    // LF endings in the files below make any rewrite visible: this program writes CR LF.
    const QByteArray vide("[system]\nk=\n");
    const QByteArray long600 = "[system]\nk=" + QByteArray(600, 'x') + "\n";
    ligne("Mode 2 returns the default of a missing key and stores it", "[system]\n",
          "sauvegardes nombre", "30", 2, "30", "[system]\r\nsauvegardes nombre=30\r\n");
    ligne("Mode 2 creates a missing file", Absent, "k", "30", 2, "30", "[system]\r\nk=30\r\n");
    ligne("Mode 1 on a missing file creates nothing", Absent, "k", "30", 1, "30", Absent);
    ligne("Mode 1 reads an empty value as the default and leaves it", vide, "k", "10", 1, "10",
          vide);
    ligne("Mode 2 replaces an empty value by the default", vide, "k", "10", 2, "10",
          "[system]\r\nk=10\r\n");
    ligne("Mode 2 writes again a value equal to the default", "[system]\nk=10\n", "k", "10", 2,
          "10", "[system]\r\nk=10\r\n");
    ligne("Mode 2 keeps a value that differs from the default in case only", "[system]\nk=Oui\n",
          "k", "oui", 2, "Oui", "[system]\nk=Oui\n");
    ligne("Mode 1 returns the stored value", "[system]\nk=12\n", "k", "30", 1, "12",
          "[system]\nk=12\n");
    ligne("A mode other than 0 and 2 only reads", "[system]\n", "k", "30", 7, "30", "[system]\n");
    ligne("A stored value of 600 characters reads cut to 589", long600, "k", "30", 2,
          QString(589, 'x'), long600);
    ligne("Mode 2 adding to a Windows-1252 file keeps its text",
          "[system]\r\nClient=Cl\xe9 client\r\n", "Date Arrivée", "Arrivée", 2, "Arrivée",
          "[system]\r\nClient=Clé client\r\nDate Arrivée=Arrivée\r\n");
}

void TestValeurINI::lectureModes()
{
    QFETCH(QByteArray, avant);
    QFETCH(QString, cle);
    QFETCH(QString, defaut);
    QFETCH(int, mode);
    QFETCH(QString, attendu);
    QFETCH(QByteArray, apres);

    deposer(principal(), avant);
    QCOMPARE(ValeurINI("system", cle, defaut, QString(), qint16(mode)), attendu);
    QCOMPARE(contenu(principal()), apres);
}

void TestValeurINI::ecritureRelecture_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("cle");
    QTest::addColumn<QString>("valeur");
    QTest::addColumn<QString>("sectionLue");
    QTest::addColumn<QString>("cleLue");
    QTest::addColumn<QString>("attendu");
    const auto ligne
        = [](const char *nom, const QString &section, const QString &cle, const QString &valeur,
             const QString &sectionLue, const QString &cleLue, const QString &attendu) {
              QTest::newRow(nom) << section << cle << valeur << sectionLue << cleLue << attendu;
          };

    ligne("Blanks around a value survive", "s", "k", " a b ", "s", "k", " a b ");
    ligne("Quotes around a value survive", "s", "k", "\"cité\"", "s", "k", "\"cité\"");
    ligne("A line break in a value comes back as a blank", "s", "k", "a\r\nb", "s", "k", "a  b");
    ligne("An empty value reads as the default", "s", "k", "", "s", "k", "défaut");
    ligne("A section written in capitals reads in lower case", "SYSTEM", "K", "1", "system", "k",
          "1");
    ligne("A key written with a trailing blank reads without it", "s", "Problème : ", "1", "s",
          "Problème :", "1");
    ligne("A section name is the same as its first 600 characters", QString(700, 'a'), "k", "1",
          QString(600, 'a') + "zzz", "k", "1");
    ligne("A key name is the same as its first 600 characters", "s", QString(700, 'a'), "1", "s",
          QString(600, 'a'), "1");
    ligne("A long value reads back cut to 589 characters", "s", "k", QString(1000, 'v'), "s", "k",
          QString(589, 'v'));
}

void TestValeurINI::ecritureRelecture()
{
    QFETCH(QString, section);
    QFETCH(QString, cle);
    QFETCH(QString, valeur);
    QFETCH(QString, sectionLue);
    QFETCH(QString, cleLue);
    QFETCH(QString, attendu);

    QCOMPARE(ValeurINI(section, cle, valeur, QString(), ECRIRE), valeur);
    QCOMPARE(ValeurINI(sectionLue, cleLue, "défaut", QString(), LIRE), attendu);
}

void TestValeurINI::choixFichier_data()
{
    QTest::addColumn<QString>("fichier"); // "<d>" stands for the application folder
    QTest::addColumn<QString>("attendu");

    const auto ligne = [](const char *nom, const QString &fichier, const QString &attendu) {
        QTest::newRow(nom) << fichier << attendu;
    };

    ligne("An empty name is the main settings file", "", "Razarivu.ini");
    ligne("The main settings file by its path is the same file", "<d>/Razarivu.ini",
          "Razarivu.ini");
    ligne("A name without a folder is in the application folder", "reriveved.ini", "reriveved.ini");
    ligne("A name with a folder is used as it is", "<d>/sous/x.ini", "sous/x.ini");
}

void TestValeurINI::choixFichier()
{
    QFETCH(QString, fichier);
    QFETCH(QString, attendu);
    fichier.replace("<d>", dossier());
    QVERIFY(QDir(dossier()).mkdir("sous"));

    ValeurINI("s", "k", "1", fichier, ECRIRE);
    QCOMPARE(contenu(dossier() + '/' + attendu), QByteArray("[s]\r\nk=1\r\n"));
    const int fichiers = QDir(dossier()).entryList(QDir::Files).size()
        + QDir(dossier() + "/sous").entryList(QDir::Files).size();
    QCOMPARE(fichiers, 1);
}

void TestValeurINI::echecsSilencieux_data()
{
    QTest::addColumn<QString>("fichier"); // "<d>" stands for the application folder
    QTest::addColumn<QByteArray>("avant");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<QString>("lu");

    const QByteArray texte("[s]\nk=1\n");
    QTest::newRow("A file in a missing folder reads the default and is not created")
        << "<d>/absent/x.ini" << Absent << 0 << "défaut";
    QTest::newRow("A folder in place of the file reads the default and stays a folder")
        << "<d>" << Absent << 0 << "défaut";
    QTest::newRow("A read-only file is read and left unchanged")
        << "<d>/x.ini" << texte << int(QFile::ReadOwner) << "1";
    QTest::newRow("An unreadable file reads the default and is never replaced")
        << "<d>/x.ini" << texte << int(QFile::WriteOwner) << "défaut";
}

void TestValeurINI::echecsSilencieux()
{
    QFETCH(QString, fichier);
    QFETCH(QByteArray, avant);
    QFETCH(int, permissions);
    QFETCH(QString, lu);
    if (permissions && geteuid() == 0)
        QSKIP("File permissions do not bind the superuser");
    fichier.replace("<d>", dossier());
    deposer(fichier, avant);
    if (permissions)
        QVERIFY(QFile::setPermissions(fichier, QFile::Permissions(permissions)));
    const bool dossierExistait = QFileInfo::exists(QFileInfo(fichier).path());

    QCOMPARE(ValeurINI("s", "k", "défaut", fichier, LIRE_ET_CREER), lu);
    QCOMPARE(ValeurINI("s", "k", "2", fichier, ECRIRE), QString("2"));

    if (permissions)
        QFile::setPermissions(fichier, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(QFileInfo::exists(QFileInfo(fichier).path()), dossierExistait);
    if (avant != Absent)
        QCOMPARE(contenu(fichier), avant);
    else
        QVERIFY(!QFileInfo(fichier).isFile());
}

void TestValeurINI::relitAChaqueAppel()
{
    deposer(principal(), "[s]\r\nk=1\r\n");
    QCOMPARE(ValeurINI("s", "k", "0", QString(), LIRE), QString("1"));
    deposer(principal(), "[s]\r\nk=2\r\n");
    QCOMPARE(ValeurINI("s", "k", "0", QString(), LIRE), QString("2"));
}

void TestValeurINI::registre_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("magasin");

    const QString razarivu = "$HKEY_CURRENT_USER\\Software\\Razarivu";
    const QByteArray cree("[HKEY_CURRENT_USER\\Software\\Razarivu\\S]\r\nK=D\r\n");
    QTest::newRow("Mode 2 under HKEY_CURRENT_USER creates the value") << razarivu << 2 << cree;
    QTest::newRow("Mode 0 stores the value") << razarivu << 0 << cree;
    QTest::newRow("A root name in lower case is the same root")
        << "$hkey_current_user\\Software\\Razarivu" << 2 << cree;
    QTest::newRow("Mode 1 stores nothing") << razarivu << 1 << Absent;
    QTest::newRow("An unknown root stores nothing") << "$HKEY_AILLEURS\\Software" << 2 << Absent;
    QTest::newRow("A dollar alone stores nothing") << "$" << 2 << Absent;
}

void TestValeurINI::registre()
{
    QFETCH(QString, fichier);
    QFETCH(int, mode);
    QFETCH(QByteArray, magasin);

    QCOMPARE(ValeurINI("S", "K", "D", fichier, qint16(mode)), QString("D"));
    QCOMPARE(contenu(fichierRegistre()), magasin);
    QCOMPARE(ValeurINI("S", "K", "autre", fichier, LIRE),
             QString(magasin == Absent ? "autre" : "D"));
    // The registry form never touches a settings file.
    QVERIFY(QDir(dossier()).isEmpty());
}

void TestValeurINI::traduire_data()
{
    QTest::addColumn<QByteArray>("avant");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("attendu");
    QTest::addColumn<QByteArray>("apres");

    const QByteArray edite("[Francais]\r\nParametres=Réglages\r\n");
    const QString message = "Problème d'ouverture de la Base de Données : ";
    QTest::newRow("A fresh settings file gets the text as its own translation")
        << Absent << QString("Parametres") << QString("Parametres")
        << QByteArray("[Francais]\r\nParametres=Parametres\r\n");
    QTest::newRow("An edited translation is what is shown")
        << edite << QString("Parametres") << QString("Réglages") << edite;
    QTest::newRow("A text ending with a blank keeps it, every time")
        << Absent << message << message
        << QByteArray("[Francais]\r\nProblème d'ouverture de la Base de Données :=\""
                      "Problème d'ouverture de la Base de Données : \"\r\n");
}

void TestValeurINI::traduire()
{
    QFETCH(QByteArray, avant);
    QFETCH(QString, texte);
    QFETCH(QString, attendu);
    QFETCH(QByteArray, apres);

    deposer(principal(), avant);
    QCOMPARE(Traduire(texte), attendu);
    QCOMPARE(Traduire(texte), attendu);
    QCOMPARE(contenu(principal()), apres);
}

void TestValeurINI::positionCentree_data()
{
    QTest::addColumn<QRect>("ecran");
    QTest::addColumn<QSize>("cadre");
    QTest::addColumn<QPoint>("attendu");
    const QRect ecran(0, 0, 800, 600);

    QTest::newRow("A small window sits in the middle")
        << ecran << QSize(200, 100) << QPoint(300, 250);
    QTest::newRow("An odd difference drops the half pixel")
        << QRect(0, 0, 801, 601) << QSize(200, 100) << QPoint(300, 250);
    QTest::newRow("A window wider than the screen is pinned to its left edge")
        << ecran << QSize(1000, 100) << QPoint(0, 250);
    QTest::newRow("A window larger than the screen goes to its top-left corner")
        << ecran << QSize(1000, 700) << QPoint(0, 0);
    QTest::newRow("On a second screen the window stays on that screen")
        << QRect(1920, 0, 800, 600) << QSize(1000, 100) << QPoint(1920, 250);
}

void TestValeurINI::positionCentree()
{
    QFETCH(QRect, ecran);
    QFETCH(QSize, cadre);
    QFETCH(QPoint, attendu);
    QCOMPARE(::positionCentree(ecran, cadre), attendu);
}

void TestValeurINI::centrerFenetreTropGrande()
{
    QWidget fenetre;
    const QRect ecran = fenetre.screen()->geometry();
    const QSize taille = ecran.size() + QSize(300, 200);
    fenetre.resize(taille);
    CentrerFenetre(&fenetre);
    QCOMPARE(fenetre.pos(), ecran.topLeft());
    QCOMPARE(fenetre.size(), taille);
}

QTEST_MAIN(TestValeurINI)
#include "tst_valeurini.moc"

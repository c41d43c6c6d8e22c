#include "commun/BaseEssai.h"
#include "data/ObjetsEtablissement.h"
#include "data/RegleObjet.h"

using namespace ObjetsEtablissement;

// Where a copied or moved object lands in the order the planning reads, which number a copy
// takes, a number change with its stays, values stored as typed.
class TestObjetsEtablissement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_base.fermer(); }

    void dupliquer();
    void echangerOrdre();
    void leNumeroEmporteSesSejours();
    void champsStockesTelsQuels_data();
    void champsStockesTelsQuels();

private:
    // "Numero:Nom" of each object, in the order of the planning's own query.
    QStringList ordreDuPlanning() const;
    // Objects "Objet n" of these numbers, in this order; their rowids.
    QVector<qint64> creer(const QList<int> &numeros);

    BaseEssai m_base {QStringLiteral("tst_objetsetablissement")};
};

void TestObjetsEtablissement::init()
{
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
    QVERIFY(m_base.executer("delete from OBJETS"));
}

QStringList TestObjetsEtablissement::ordreDuPlanning() const
{
    QSqlQuery requete(QStringLiteral("select * from OBJETS order by rowid"), m_base.base());
    QStringList lignes;
    while (requete.next())
        lignes << requete.value("Numero").toString() + u':' + requete.value("Nom").toString();
    return lignes;
}

QVector<qint64> TestObjetsEtablissement::creer(const QList<int> &numeros)
{
    QVector<qint64> rowids;
    for (int numero : numeros) {
        QSqlQuery requete(QStringLiteral("insert into OBJETS (Numero, Nom, Categorie, Capacite, "
                                         "NomInternet, FichierPlanningHTML, retire) values (%1, "
                                         "'Objet %1', 'Chalet', 4, 'Web', 'page.html', 1)")
                              .arg(numero),
                          m_base.base());
        rowids << requete.lastInsertId().toLongLong();
    }
    return rowids;
}

void TestObjetsEtablissement::dupliquer()
{
    // Free: 2 to 8 below the source, 11 above it.
    const QVector<qint64> rowids = creer({9, 1, 10, 12});
    ObjetEtablissement copie;
    QCOMPARE(dupliquerObjet(m_base.base(), rowids[0], copie), QSqlError());
    QCOMPARE(ordreDuPlanning(),
             (QStringList {"9:Objet 9", "11:Objet 9 (copie)", "1:Objet 1", "10:Objet 10",
                           "12:Objet 12"}));
    // Two objects must not write one page.
    QVERIFY(copie.nomInternet.isNull() && copie.fichierPlanningHTML.isNull() && !copie.retire);
    QCOMPARE(copie.categorie.toString() + copie.capacite.toString(), QStringLiteral("Chalet4"));
}

void TestObjetsEtablissement::echangerOrdre()
{
    const QVector<qint64> rowids = creer({1, 2, 3});
    QCOMPARE(ObjetsEtablissement::echangerOrdre(m_base.base(), rowids[1], rowids[2]), QSqlError());
    QCOMPARE(ordreDuPlanning(), (QStringList {"1:Objet 1", "3:Objet 3", "2:Objet 2"}));
    QCOMPARE(ObjetsEtablissement::echangerOrdre(m_base.base(), rowids[1], rowids[0]), QSqlError());
    QCOMPARE(ordreDuPlanning(), (QStringList {"3:Objet 3", "1:Objet 1", "2:Objet 2"}));
}

void TestObjetsEtablissement::leNumeroEmporteSesSejours()
{
    const QVector<qint64> rowids = creer({1, 2});
    for (int objet : {1, 1, 2})
        QVERIFY(m_base.reserver({{"Objet", objet}}) > 0);
    auto sejours = [&](int numero) {
        int nombre = -1;
        return nombreDeSejours(m_base.base(), numero, nombre).isValid() ? -1 : nombre;
    };

    QCOMPARE(modifierChamp(m_base.base(), rowids[0], "Numero", 9), QSqlError());
    QCOMPARE(QList<int>({sejours(1), sejours(9), sejours(2)}), QList<int>({0, 2, 1}));
    // Now the number of the other object: refused in French, nothing moves.
    const QSqlError refus = modifierChamp(m_base.base(), rowids[1], "Numero", 9);
    QVERIFY(estUnRefus(refus));
    QCOMPARE(refus.text(), RegleObjet::numeroDejaUtilise(9, "Objet 1"));
    QCOMPARE(ordreDuPlanning(), (QStringList {"9:Objet 1", "2:Objet 2"}));
    QCOMPARE(sejours(2), 1);
}

void TestObjetsEtablissement::champsStockesTelsQuels_data()
{
    QTest::addColumn<QString>("colonne");
    QTest::addColumn<QString>("texte");

    QTest::newRow("Quotes") << "Nom"
                            << "L'« Étoile » \"du\" lac";
    QTest::newRow("Text that would end a quoted SQL string") << "Nom"
                                                             << "'; DROP TABLE OBJETS; --";
    QTest::newRow("HTML is text, not markup") << "NomInternet"
                                              << "<b>html</b> &amp;";
    QTest::newRow("Accents and a character outside the basic plane") << "Categorie"
                                                                     << "Cabane perchée 🌲 ÀÉÎÕÜ ç";
}

void TestObjetsEtablissement::champsStockesTelsQuels()
{
    QFETCH(QString, colonne);
    QFETCH(QString, texte);
    QCOMPARE(modifierChamp(m_base.base(), creer({1})[0], colonne, texte), QSqlError());
    QCOMPARE(m_base.valeur("select " + colonne + " from OBJETS").toString().toUtf8(),
             texte.toUtf8());
    QCOMPARE(m_base.nombre("OBJETS"), 1);
}

QTEST_GUILESS_MAIN(TestObjetsEtablissement)
#include "tst_objetsetablissement.moc"

#include "commun/BaseDemo.h"
#include "conversion/Couleurs.h"
#include "settings/parametres.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>

// The settings dialog's colours and web flags, each stored at once.
class TestParametres : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_base.ouvrir()); }
    void cleanup() { m_base.fermer(); }

    void uneLigneParEtat();
    void changerCouleur_data();
    void changerCouleur();
    void caseInternet();
    void sansEtat();

private:
    BaseDemo m_base;
};

void TestParametres::uneLigneParEtat()
{
    parametres dialogue(*m_base.contexte);
    const int etats = m_base.valeur("select count(*) from ETATS").toInt();
    QCOMPARE(dialogue.fondetats.size(), etats);
    QCOMPARE(dialogue.SSTab1->count(), 3);
    QCOMPARE(dialogue.SSTab1->tabText(1), QStringLiteral("Objets"));
    QCOMPARE(dialogue.windowTitle(), QStringLiteral("Parametres"));
    QCOMPARE(dialogue.Label1->text(), QStringLiteral("Paramétres"));
    for (int i = 0; i < etats; ++i) {
        const QString code = dialogue.fondetats[i]->property("Tag").toString();
        QCOMPARE(dialogue.fondetats[i]->text(),
                 m_base.valeur("select Nom from ETATS where Code = " + code).toString());
        QCOMPARE(dialogue.fondetatcouleurs[i]->palette().color(QPalette::Window),
                 couleurDepuisVB(
                     m_base.valeur("select CouleurPrincipale from ETATS where Code = " + code)
                         .toUInt()));
        QCOMPARE(dialogue.internet[i]->isChecked(),
                 m_base.valeur("select surinternet from ETATS where Code = " + code).toBool());
        QVERIFY(!dialogue.internet[i]->isHidden());
        if (i > 0)
            QCOMPARE(dialogue.fondetats[i]->y() - dialogue.fondetats[i - 1]->y(),
                     dialogue.fondetats[1]->y() - dialogue.fondetats[0]->y());
    }
    QCOMPARE(dialogue.fondcouleurs->height(),
             dialogue.fondetats.last()->y() + dialogue.fondetats.last()->height());
}

void TestParametres::changerCouleur_data()
{
    QTest::addColumn<bool>("choisie");
    QTest::newRow("a colour chosen") << true;
    QTest::newRow("the picker cancelled changes nothing") << false;
}

void TestParametres::changerCouleur()
{
    QFETCH(bool, choisie);
    parametres dialogue(*m_base.contexte);
    int signaux = 0;
    connect(&dialogue, &parametres::couleurChangee, this, [&] { ++signaux; });
    dialogue.choisirCouleur = [&](const QColor &) -> std::optional<QColor> {
        return choisie ? std::optional<QColor>(QColor(0x12, 0x34, 0x56)) : std::nullopt;
    };
    const QString code = dialogue.fondetats[1]->property("Tag").toString();
    const QVariant avant
        = m_base.valeur("select CouleurPrincipale from ETATS where Code = " + code);
    dialogue.fondchangercouleurs_Click(1);
    const QVariant apres
        = m_base.valeur("select CouleurPrincipale from ETATS where Code = " + code);
    if (choisie) {
        QCOMPARE(apres.toUInt(), 0x563412u);
        QCOMPARE(dialogue.fondetatcouleurs[1]->palette().color(QPalette::Window),
                 QColor(0x12, 0x34, 0x56));
        QCOMPARE(signaux, 1);
    } else {
        QCOMPARE(apres, avant);
        QCOMPARE(signaux, 0);
    }
}

void TestParametres::caseInternet()
{
    parametres dialogue(*m_base.contexte);
    const int annulee = int(std::find_if(dialogue.fondetats.begin(), dialogue.fondetats.end(),
                                         [](QLabel *nom) { return nom->text() == "Annulée"; })
                            - dialogue.fondetats.begin());
    QVERIFY(annulee < dialogue.fondetats.size());
    QVERIFY(!dialogue.internet[annulee]->isChecked());
    dialogue.internet[annulee]->click();
    QCOMPARE(m_base.valeur("select surinternet from ETATS where Nom = 'Annulée'").toInt(), 1);
    QCOMPARE(m_base.valeur("select internet from ETATS where Nom = 'Annulée'").toInt(), 1);
}

void TestParametres::sansEtat()
{
    QSqlQuery(QStringLiteral("delete from ETATS"), m_base.contexte->BasePlanning());
    parametres dialogue(*m_base.contexte);
    QCOMPARE(dialogue.fondetats.size(), 1);
    QCOMPARE(dialogue.fondetats[0]->text(), QStringLiteral("Label2"));
}

QTEST_MAIN(TestParametres)
#include "tst_parametres.moc"

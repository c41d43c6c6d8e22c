#include "app/Horloge.h"
#include "app/ReglagesEtablissement.h"
#include "commun/BaseEssai.h"
#include "data/AjoutOperation.h"
#include "data/BaseDeDonnees.h"
#include "data/ChaineJournal.h"
#include "data/Cloture.h"
#include "data/DecompteSejour.h"
#include "data/Facturation.h"
#include "data/ModificationSejour.h"
#include "data/PortageCompte.h"
#include "data/TaxeDuMois.h"
#include "till/Caisse.h"

#include <QtTest>

// What a stay costs carried into its account, its invoices and credit notes, the closures of the
// journal and the month's tourist tax, on a file and on a server alike.
class TestFacturation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void unChangementSePorteEnContrePassation();
    void lesFacturesSeSuiventSansTrou();
    void rienNEstNumeroteSansSaFacture_data();
    void rienNEstNumeroteSansSaFacture();
    void deuxPostesFacturentEnMemeTemps();
    void lesCloturesAncrentLeJournal();
    void laTaxeDuMoisCompteSesNuits();

private:
    // Object 41 is a chalet: 96 € a night for four until June, 125 € in July and August.
    qint64 sejour(const QString &depart = QStringLiteral("2026-07-02 10:00:00"));
    DecompteSejour::Decompte decompte(qint64 numero);
    qint64 porte(qint64 numero);

    BaseEssai m_base {QStringLiteral("tst_facturation")};
    Etablissement m_etablissement;
};

void TestFacturation::init()
{
    Horloge::fixer(QDateTime(QDate(2026, 7, 2), QTime(11, 0)));
    QVERIFY2(m_base.ouvrir(), qPrintable(m_base.echec()));
    m_etablissement = Etablissement();
    m_etablissement.nom = QStringLiteral("Camping des Pins");
    m_etablissement.taxe.tarifFixe = 88;
    m_etablissement.taxe.majoration = 1000;
    // The settings a save reads to carry the differences.
    qputenv("RAZARIVU_DOSSIER", QFile::encodeName(m_base.dossier()));
    ReglagesEtablissement::ecrire(m_etablissement);
}

void TestFacturation::cleanup()
{
    m_base.fermer();
    Horloge::fixer(QDateTime());
}

qint64 TestFacturation::sejour(const QString &depart)
{
    return m_base.reserver({{"Objet", 41},
                            {"DateDebut", "2026-06-29 15:00:00"},
                            {"DateFin", depart},
                            {"nbadultes", 2},
                            {"nbenfants", 2}});
}

DecompteSejour::Decompte TestFacturation::decompte(qint64 numero)
{
    DecompteSejour::Sejour lu;
    DecompteSejour::Decompte resultat;
    QSqlError erreur = DecompteSejour::lireSejour(m_base.base(), int(numero), lu);
    if (!erreur.isValid())
        erreur = DecompteSejour::calculerDepuisLaBase(m_base.base(), lu, m_etablissement.taxe,
                                                      resultat);
    if (erreur.isValid())
        resultat.refus = erreur.text();
    return resultat;
}

// What the account holds from the "Prest." tab, in cents (charges negative).
qint64 TestFacturation::porte(qint64 numero)
{
    return qRound64(m_base
                        .valeur(QStringLiteral("SELECT sum(prix) FROM OPERATIONS WHERE "
                                               "numeroreservation = %1 AND paiement = 'PRE'")
                                    .arg(numero))
                        .toDouble()
                    * 100);
}

void TestFacturation::unChangementSePorteEnContrePassation()
{
    const qint64 numero = sejour();
    const QVector<TarifsEtablissement::Choix> electricite {{1, 1}};
    QVERIFY(
        !TarifsEtablissement::ecrireChoix(m_base.base(), int(numero), electricite, 0).isValid());
    DecompteSejour::Decompte compte = decompte(numero);
    QVERIFY2(compte.refus.isEmpty(), qPrintable(compte.refus));
    QStringList libelles;
    for (const LigneFacture &ligne : std::as_const(compte.lignes))
        libelles << ligne.libelle;
    QCOMPARE(
        libelles,
        QStringList({"Chalet – 2 nuits × 96,00 €", "Chalet – 1 nuit × 125,00 €",
                     "Électricité – 3 nuits × 4,50 €", "Taxe de séjour – 2 adultes × 3 nuits"}));
    // 0,88 € × 2 adults × 3 nights = 5,28 €, and 10 % more (0,528 rounded to 0,53).
    QCOMPARE(compte.lignes.last().montant, 581);
    QCOMPARE(compte.total(), 19200 + 12500 + 1350 + 581);

    int ecrites = 0;
    QVERIFY(
        !PortageCompte::porter(m_base.base(), int(numero), compte.lignes, electricite, 0, ecrites)
             .isValid());
    QCOMPARE(ecrites, 4);
    QCOMPARE(porte(numero), -compte.total());
    QVERIFY(
        !PortageCompte::porter(m_base.base(), int(numero), compte.lignes, electricite, 0, ecrites)
             .isValid());
    QCOMPARE(ecrites, 0);

    // One night more on the planning: what changed is cancelled and charged anew in the same
    // store, the rest stays.
    ModificationSejour plusLong;
    plusLong.numero = qint32(numero);
    plusLong.genre = ModificationSejour::Genre::Dates;
    plusLong.objetAvant = plusLong.objetApres = 41;
    plusLong.arriveeAvant = plusLong.arriveeApres = QDateTime(QDate(2026, 6, 29), QTime(15, 0));
    plusLong.departAvant = QDateTime(QDate(2026, 7, 2), QTime(10, 0));
    plusLong.departApres = plusLong.departAvant.addDays(1);
    bool ailleurs = false;
    QString nonSuivi;
    QVERIFY(
        !enregistrerModification(m_base.base(), plusLong, "Note", &ailleurs, &nonSuivi).isValid());
    QVERIFY(!ailleurs && nonSuivi.isEmpty());
    compte = decompte(numero);
    QCOMPARE(porte(numero), -compte.total());
    QCOMPARE(m_base.valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE paiement = 'PRE'"))
                 .toInt(),
             4 + 6);
    QCOMPARE(m_base
                 .valeur(QStringLiteral("SELECT prix FROM OPERATIONS WHERE libelle = "
                                        "'Annulation : Chalet – 1 nuit × 125,00 €'"))
                 .toDouble(),
             125.0);

    // Moved where no season prices it: stored, the account as it was, and why.
    const qint64 avant = porte(numero);
    ModificationSejour loin = plusLong;
    loin.departAvant = plusLong.departApres;
    loin.arriveeApres = plusLong.arriveeApres.addYears(10);
    loin.departApres = loin.departAvant.addYears(10);
    QVERIFY(!enregistrerModification(m_base.base(), loin, "Note", &ailleurs, &nonSuivi).isValid());
    QVERIFY2(nonSuivi.startsWith("La nuit du 29/06/2036"), qPrintable(nonSuivi));
    QCOMPARE(porte(numero), avant);
    QVERIFY(ChaineJournal::verifier(m_base.base()).intact);
}

void TestFacturation::lesFacturesSeSuiventSansTrou()
{
    const qint64 numero = sejour();
    const auto vente = [&](const char *article, const char *prix) {
        const QString texte = QString::fromUtf8(prix);
        return AjoutOperation(m_base.base(), double(numero), -Caisse::prixDuTexte(texte), {},
                              Caisse::libelleDeVente(QString::fromUtf8(article), 1, texte));
    };
    QVERIFY(!vente("Café crème", "2,5").isValid());
    QVERIFY(!vente("Bière pression 25 cl", "3,5").isValid());
    QVERIFY(!AjoutOperation(m_base.base(), double(numero), 100, "CB", "Paiement CB").isValid());

    DocumentFacture facture;
    QString refus;
    QVERIFY(!Facturation::preparer(m_base.base(), int(numero), m_etablissement, facture, refus)
                 .isValid());
    QVERIFY2(refus.isEmpty(), qPrintable(refus));
    QCOMPARE(facture.lignes.size(), 5); // two rent lines, the coffee, the beer, the tax
    QCOMPARE(facture.lignes.at(3).tauxTva, 2000);
    QVERIFY(facture.lignes.last().horsTva);
    QCOMPARE(facture.totalToutesTaxes(), 19200 + 12500 + 250 + 350 + 581);
    QCOMPARE(facture.solde(), facture.totalToutesTaxes() - 10000);

    const QString dossier = m_base.fichier(QStringLiteral("Factures"));
    QString chemin;
    QVERIFY(!Facturation::emettre(m_base.base(), facture, dossier, chemin).isValid());
    QCOMPARE(facture.numero, QStringLiteral("2026-0001"));
    QCOMPARE(chemin, Facturation::cheminPdf(dossier, "2026-0001"));
    QVERIFY(QFileInfo(chemin).size() > 1000);
    DocumentFacture seconde = facture;
    QVERIFY(!Facturation::emettre(m_base.base(), seconde, dossier, chemin).isValid());
    QCOMPARE(seconde.numero, QStringLiteral("2026-0002"));

    DocumentFacture avoir;
    QVERIFY(
        !Facturation::emettreAvoir(m_base.base(), "2026-0001", dossier, avoir, chemin).isValid());
    QCOMPARE(avoir.numero, QStringLiteral("2026-0003"));
    QCOMPARE(avoir.reference, QStringLiteral("2026-0001"));
    QCOMPARE(avoir.totalToutesTaxes(), -facture.totalToutesTaxes());
    const QSqlError deuxieme
        = Facturation::emettreAvoir(m_base.base(), "2026-0001", dossier, avoir, chemin);
    QCOMPARE(deuxieme.text(),
             QStringLiteral("La facture 2026-0001 est déjà annulée par l'avoir "
                            "2026-0003."));

    // As issued, whatever happens to the stay since; and never rewritten.
    QVERIFY(m_base.executer("UPDATE RESERVATIONS SET nomclient = 'Autre'"));
    DocumentFacture relu;
    QVERIFY(!Facturation::lireDocument(m_base.base(), "2026-0001", relu).isValid());
    QCOMPARE(versJson(relu), versJson(facture));
    QVERIFY(!QSqlQuery(m_base.base()).exec("UPDATE FACTURES SET totalttc = 0"));
    QVERIFY(!QSqlQuery(m_base.base()).exec("DELETE FROM FACTURES"));
    QCOMPARE(m_base.nombre("FACTURES"), 3);
    QCOMPARE(m_base
                 .valeur(QStringLiteral("SELECT count(*) FROM OPERATIONS WHERE libelle = "
                                        "'Facture 2026-0002 émise' AND prix = 0"))
                 .toInt(),
             1);
    QVector<Facturation::Emise> emises;
    QVERIFY(!Facturation::lireEmises(m_base.base(), int(numero), emises).isValid());
    QCOMPARE(emises.size(), 3);
    QCOMPARE(emises.last().nature, DocumentFacture::Avoir);
}

void TestFacturation::rienNEstNumeroteSansSaFacture_data()
{
    QTest::addColumn<bool>("lectureSeule");
    QTest::newRow("a folder that cannot be made") << false;
    QTest::newRow("a read-only base") << true;
}

void TestFacturation::rienNEstNumeroteSansSaFacture()
{
    QFETCH(bool, lectureSeule);
    const qint64 numero = sejour();
    DocumentFacture facture;
    QString refus;
    QVERIFY(!Facturation::preparer(m_base.base(), int(numero), m_etablissement, facture, refus)
                 .isValid());
    QString dossier = m_base.fichier(QStringLiteral("Factures"));
    if (lectureSeule) {
        QVERIFY(m_base.executer(m_base.surServeur()
                                    ? "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"
                                    : "PRAGMA query_only = 1"));
    } else {
        // A file where the folder should be.
        QFile gene(dossier);
        QVERIFY(gene.open(QIODevice::WriteOnly));
        dossier += QStringLiteral("/2026");
    }
    QString chemin;
    const QSqlError erreur = Facturation::emettre(m_base.base(), facture, dossier, chemin);
    QVERIFY(erreur.isValid());
    QVERIFY(chemin.isEmpty());
    QVERIFY(!QFileInfo::exists(Facturation::cheminPdf(dossier, "2026-0001")));
    QVERIFY(m_base.executer(m_base.surServeur()
                                ? "SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE"
                                : "PRAGMA query_only = 0"));
    QCOMPARE(m_base.nombre("FACTURES"), 0);
    QVERIFY(!Facturation::emettre(m_base.base(), facture, m_base.fichier("Ailleurs"), chemin)
                 .isValid());
    QCOMPARE(facture.numero, QStringLiteral("2026-0001"));
}

// Two desks, each on its own connection and thread, issue invoices at the same moment: every
// number once, none skipped.
void TestFacturation::deuxPostesFacturentEnMemeTemps()
{
    const qint64 numero = sejour();
    DocumentFacture modele;
    QString refus;
    QVERIFY(!Facturation::preparer(m_base.base(), int(numero), m_etablissement, modele, refus)
                 .isValid());
    constexpr int ParPoste = 8;
    QStringList erreurs[2];
    QVector<QThread *> postes;
    for (int poste = 0; poste < 2; ++poste) {
        postes << QThread::create([&, poste] {
            const QString connexion = QStringLiteral("tst_facturation_poste%1").arg(poste);
            QSqlError erreur = BaseDeDonnees::ouvrir(m_base.chemin(), connexion);
            for (int i = 0; i < ParPoste && !erreur.isValid(); ++i) {
                DocumentFacture facture = modele;
                QString chemin;
                erreur = Facturation::emettre(QSqlDatabase::database(connexion, false), facture,
                                              m_base.fichier(QStringLiteral("Poste%1").arg(poste)),
                                              chemin);
            }
            if (erreur.isValid())
                erreurs[poste] << erreur.text();
            BaseDeDonnees::fermer(connexion);
        });
        postes.last()->start();
    }
    for (QThread *poste : std::as_const(postes)) {
        QVERIFY(poste->wait(60000));
        delete poste;
    }
    QVERIFY2(erreurs[0].isEmpty() && erreurs[1].isEmpty(),
             qPrintable(erreurs[0].join(' ') + erreurs[1].join(' ')));
    QCOMPARE(m_base
                 .valeur("SELECT count(DISTINCT rang) || ' ' || min(rang) || ' ' || max(rang) "
                         "FROM FACTURES")
                 .toString(),
             QStringLiteral("%1 1 %1").arg(2 * ParPoste));
    const int pdf = int(QDir(m_base.fichier("Poste0")).entryList({"*.pdf"}).size()
                        + QDir(m_base.fichier("Poste1")).entryList({"*.pdf"}).size());
    QCOMPARE(pdf, 2 * ParPoste);
}

void TestFacturation::lesCloturesAncrentLeJournal()
{
    const qint64 numero = sejour();
    QVERIFY(!AjoutOperation(m_base.base(), double(numero), 50, "CB", "Paiement CB").isValid());
    QVERIFY(!AjoutOperation(m_base.base(), double(numero), -2.5, {}, "BAR Café").isValid());
    Cloture::Releve releve;
    QVERIFY(!Cloture::cloturer(m_base.base(), Horloge::aujourdhui(), releve).isValid());
    QCOMPARE(releve.numero, 1);
    QCOMPARE(releve.duJour, Cloture::Totaux({{"BAR", -250}, {"CB", 5000}}));
    QCOMPARE(Cloture::cloturer(m_base.base(), Horloge::aujourdhui(), releve).text(),
             QStringLiteral("La journée du 02/07/2026 est déjà close."));

    QVERIFY(!AjoutOperation(m_base.base(), double(numero), 20, "CB", "Paiement CB").isValid());
    QVERIFY(!AjoutOperation(m_base.base(), double(numero), 0, {}, "Note").isValid());
    QVERIFY(!Cloture::cloturer(m_base.base(), QDate(2026, 7, 3), releve).isValid());
    QCOMPARE(releve.numero, 2);
    QCOMPARE(releve.lignes, 2);
    QCOMPARE(releve.duJour, Cloture::Totaux({{"CB", 2000}}));
    QCOMPARE(releve.duMois, Cloture::Totaux({{"BAR", -250}, {"CB", 7000}}));
    QVERIFY(!Cloture::cloturer(m_base.base(), QDate(2026, 8, 1), releve).isValid());
    QCOMPARE(releve.duMois, Cloture::Totaux());
    QCOMPARE(releve.cumul, Cloture::Totaux({{"BAR", -250}, {"CB", 7000}}));
    QVERIFY(!QSqlQuery(m_base.base()).exec("UPDATE CLOTURES SET contenu = '{}'"));
    Cloture::Verification verification = Cloture::verifier(m_base.base());
    QVERIFY2(verification.intacte, qPrintable(verification.message));
    QCOMPARE(verification.clotures, 3);

    // The last rows removed: the journal's own chain cannot tell, the closures do.
    QVERIFY(m_base.executer("DELETE FROM OPERATIONS WHERE sequence = (SELECT max(sequence) FROM "
                            "OPERATIONS)"));
    QVERIFY(ChaineJournal::verifier(m_base.base()).intact);
    verification = Cloture::verifier(m_base.base());
    QVERIFY(!verification.intacte);
    QVERIFY2(verification.message.startsWith("La clôture n° 2 du 03/07/2026 se termine sur la "
                                             "ligne"),
             qPrintable(verification.message));
}

void TestFacturation::laTaxeDuMoisCompteSesNuits()
{
    // The worked example: 330 € for three nights at 10 % VAT is 100 € a night before tax, 25 €
    // an occupant, 5 % of it is 1,25 €: 7,50 € for two adults, 8,25 € with the surcharge.
    Tarification::Saison saison;
    saison.debut = QDate(2026, 11, 1);
    saison.fin = QDate(2026, 12, 31);
    saison.prixNuit = 11000;
    saison.personnesIncluses = 4;
    QVERIFY(!TarifsEtablissement::ecrireSaisons(m_base.base(), "Chambre", {saison}).isValid());
    m_etablissement.taxe.mode = Tarification::ReglageTaxe::Mode::Pourcentage;
    m_etablissement.taxe.pourcentage = 500;
    const QVariantMap sejour {{"DateDebut", "2026-11-29 15:00:00"},
                              {"DateFin", "2026-12-02 10:00:00"},
                              {"nbadultes", 2},
                              {"nbenfants", 2}};
    const qint64 numero = m_base.reserver(sejour);
    QVariantMap annule = sejour;
    annule.insert("Etat", 5);
    m_base.reserver(annule);
    QVariantMap sansTarif = sejour;
    sansTarif.insert("Objet", 41);
    sansTarif.insert("DateDebut", "2036-11-29 15:00:00");
    sansTarif.insert("DateFin", "2036-12-02 10:00:00");
    m_base.reserver(sansTarif);

    qint64 total = 0;
    for (const int mois : {11, 12}) {
        Releve releve;
        QStringList avertissements;
        QVERIFY(!TaxeDuMois::releve(m_base.base(), QDate(2026, mois, 15), m_etablissement, releve,
                                    avertissements)
                     .isValid());
        QCOMPARE(releve.lignes.size(), 1);
        const LigneReleve &ligne = releve.lignes.first();
        QCOMPARE(ligne.reservation, numero);
        QCOMPARE(ligne.nuits, mois == 11 ? 2 : 1);
        QCOMPARE(ligne.tarif, 125);
        QCOMPARE(ligne.assujettis, 2);
        QCOMPARE(ligne.exoneres, 2);
        total += ligne.montant;
    }
    QCOMPARE(total, 825);

    // An adult declared exempt; and a stay whose rent has no tariff is said, not priced 0.
    QVERIFY(!TarifsEtablissement::ecrireChoix(m_base.base(), int(numero), {}, 1).isValid());
    Releve releve;
    QStringList avertissements;
    QVERIFY(!TaxeDuMois::releve(m_base.base(), QDate(2036, 12, 1), m_etablissement, releve,
                                avertissements)
                 .isValid());
    QVERIFY(releve.lignes.isEmpty());
    QCOMPARE(avertissements.size(), 1);
    QVERIFY(!TaxeDuMois::releve(m_base.base(), QDate(2026, 11, 1), m_etablissement, releve,
                                avertissements)
                 .isValid());
    QCOMPARE(releve.lignes.first().assujettis, 1);
    QCOMPARE(releve.lignes.first().exoneres, 3);
}

// Invoices are laid out with fonts: a GUI application, offscreen.
QTEST_MAIN(TestFacturation)
#include "tst_facturation.moc"

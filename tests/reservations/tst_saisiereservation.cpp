#include "reservations/SaisieReservation.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace SaisieReservation;

// What the reservation dialog makes of typed texts, before any window or database.
class TestSaisieReservation : public QObject
{
    Q_OBJECT

private slots:
    void validation_data();
    void validation();
    void nomParDefaut_data();
    void nomParDefaut();
    void nuits_data();
    void nuits();
    void arrhes_data();
    void arrhes();
    void arrhesAllerRetour_data();
    void arrhesAllerRetour();
};

namespace {
const QString HeureDebut = QStringLiteral("Veuillez indiquer une heure de début de séjour");
const QString HeureFin = QStringLiteral("Veuillez indiquer une heure de fin de séjour");
const QString Dates = QStringLiteral("La date de fin DOIT être postérieure à la date de début");
} // namespace

void TestSaisieReservation::validation_data()
{
    QTest::addColumn<QString>("heuredebut");
    QTest::addColumn<QString>("heurefin");
    QTest::addColumn<QString>("datedebut");
    QTest::addColumn<QString>("datefin");
    QTest::addColumn<QString>("message");

    QTest::newRow("a stay of four nights") << "14:00"
                                           << "12:00"
                                           << "10/07/2024"
                                           << "14/07/2024" << QString();
    QTest::newRow("same day, leaving before arriving") << "18:00"
                                                       << "09:00"
                                                       << "10/07/2024"
                                                       << "10/07/2024" << QString();
    QTest::newRow("no arrival hour") << ""
                                     << "12:00"
                                     << "10/07/2024"
                                     << "14/07/2024" << HeureDebut;
    QTest::newRow("no hours at all: the later check wins") << ""
                                                           << ""
                                                           << "10/07/2024"
                                                           << "14/07/2024" << HeureFin;
    QTest::newRow("no arrival date") << "14:00"
                                     << "12:00"
                                     << ""
                                     << "14/07/2024" << Dates;
    QTest::newRow("a word for the departure") << "14:00"
                                              << "12:00"
                                              << "10/07/2024"
                                              << "abc" << Dates;
    QTest::newRow("departure before arrival") << "14:00"
                                              << "12:00"
                                              << "14/07/2024"
                                              << "10/07/2024" << Dates;
    QTest::newRow("a day that does not exist") << "14:00"
                                               << "12:00"
                                               << "31/02/2024"
                                               << "03/03/2024" << Dates;
    QTest::newRow("no hour and no date: the dates win") << ""
                                                        << ""
                                                        << ""
                                                        << "" << Dates;
    QTest::newRow("an hour that is no hour passes") << "25:99"
                                                    << "abc"
                                                    << "10/07/2024"
                                                    << "11/07/2024" << QString();
}

void TestSaisieReservation::validation()
{
    QFETCH(QString, heuredebut);
    QFETCH(QString, heurefin);
    QFETCH(QString, datedebut);
    QFETCH(QString, datefin);
    QFETCH(QString, message);
    QCOMPARE(messageDeValidation(heuredebut, heurefin, datedebut, datefin), message);
}

void TestSaisieReservation::nomParDefaut_data()
{
    QTest::addColumn<QString>("etat");
    QTest::addColumn<QString>("nom");

    QTest::newRow("code, dash and name") << "2 - Confirmée"
                                         << "Confirmée";
    QTest::newRow("only the first dash counts") << "3 - Non-réglée"
                                                << "Non-réglée";
    QTest::newRow("no dash: from the second character") << "Option"
                                                        << "ption";
    QTest::newRow("a dash at the very end") << "4 -"
                                            << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestSaisieReservation::nomParDefaut()
{
    QFETCH(QString, etat);
    QFETCH(QString, nom);
    QCOMPARE(nomClientParDefaut(etat), nom);
}

void TestSaisieReservation::nuits_data()
{
    QTest::addColumn<QString>("datedebut");
    QTest::addColumn<QString>("datefin");
    QTest::addColumn<QString>("nuits"); // "-" when the counter keeps its text

    QTest::newRow("four nights") << "10/07/2024"
                                 << "14/07/2024"
                                 << "4";
    QTest::newRow("same day") << "10/07/2024"
                              << "10/07/2024"
                              << "0";
    QTest::newRow("departure first") << "14/07/2024"
                                     << "10/07/2024"
                                     << "-4";
    QTest::newRow("across the new year") << "30/12/2024"
                                         << "02/01/2025"
                                         << "3";
    QTest::newRow("across the change to summer time") << "30/03/2024"
                                                      << "01/04/2024"
                                                      << "2";
    QTest::newRow("an empty box") << ""
                                  << "14/07/2024"
                                  << "-";
    QTest::newRow("a day that does not exist") << "10/07/2024"
                                               << "31/02/2024"
                                               << "-";
    QTest::newRow("hours in the boxes give fractions") << "10/07/2024 12:00"
                                                       << "11/07/2024"
                                                       << "0,5";
}

void TestSaisieReservation::nuits()
{
    QFETCH(QString, datedebut);
    QFETCH(QString, datefin);
    QFETCH(QString, nuits);
    const std::optional<QString> compte = nombreDeNuits(datedebut, datefin);
    QCOMPARE(compte.value_or(QStringLiteral("-")), nuits);
}

void TestSaisieReservation::arrhes_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<double>("valeur");
    QTest::addColumn<bool>("lue");

    QTest::newRow("a decimal point") << "12.5" << 12.5 << true;
    QTest::newRow("a decimal comma, the French way") << "12,50" << 12.5 << true;
    QTest::newRow("blanks around") << "  150 " << 150.0 << true;
    QTest::newRow("a word") << "cent" << 0.0 << true;
    QTest::newRow("empty") << "" << 0.0 << true;
    QTest::newRow("negative") << "-20,5" << -20.5 << true;
    QTest::newRow("the largest deposit") << "1e308" << 1e308 << true;
    QTest::newRow("beyond any number") << "1e309" << 0.0 << false;
}

void TestSaisieReservation::arrhes()
{
    QFETCH(QString, texte);
    QFETCH(double, valeur);
    QFETCH(bool, lue);
    const std::optional<double> depot = arrhesSaisies(texte);
    QCOMPARE(depot.has_value(), lue);
    if (lue)
        QCOMPARE(*depot, valeur);
}

void TestSaisieReservation::arrhesAllerRetour_data()
{
    QTest::addColumn<double>("valeur");
    QTest::addColumn<QString>("texte");

    QTest::newRow("cents") << 12.5 << "12.5";
    QTest::newRow("a tenth that binary cannot hold") << 0.1 << "0.1";
    QTest::newRow("a whole amount") << 150.0 << "150";
    QTest::newRow("no deposit") << 0.0 << "0";
    QTest::newRow("huge") << 1e308 << "1e+308";
    QTest::newRow("the smallest step") << std::numeric_limits<double>::denorm_min() << "5e-324";
}

// Opening a stay and saving it unchanged must keep its deposit to the last digit.
void TestSaisieReservation::arrhesAllerRetour()
{
    QFETCH(double, valeur);
    QFETCH(QString, texte);
    QCOMPARE(texteArrhes(valeur), texte);
    QCOMPARE(arrhesSaisies(texteArrhes(valeur)).value_or(-1), valeur);
}

QTEST_APPLESS_MAIN(TestSaisieReservation)
#include "tst_saisiereservation.moc"

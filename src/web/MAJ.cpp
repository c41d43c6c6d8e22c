#include "web/MAJ.h"

#include "app/CentrerFenetre.h"
#include "app/CheminsApplication.h"
#include "app/ValeurINI.h"
#include "controls/ScrollBar.h"
#include "web/RequeteMiseAJour.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

MAJ::MAJ(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("MAJ"));
    setWindowTitle(QStringLiteral("MAJ"));
    resize(500, 220);
    auto *Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(8, 8, 484, 204);
    Label1 = new QLabel(QStringLiteral("Mise à jour INTERNET"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(QFont(QStringLiteral("Arial Black"), 14));
    Label1->setGeometry(20, 16, 460, 32);
    Label2 = new QLabel(QStringLiteral("Téléchargement"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(20, 60, 460, 18);
    telechargement = new ScrollBar(this);
    telechargement->setObjectName(QStringLiteral("telechargement"));
    telechargement->setGeometry(20, 80, 460, 20);
    Label3 = new QLabel(QStringLiteral("Sauvegarder"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(20, 110, 460, 18);
    sauvegarder = new ScrollBar(this);
    sauvegarder->setObjectName(QStringLiteral("sauvegarder"));
    sauvegarder->setGeometry(20, 130, 460, 20);
    Command1 = new QPushButton(QStringLiteral("Command1"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(380, 170, 100, 28);
    CentrerFenetre(this);
}

bool MAJ::miseajour_logiciel(std::function<void(const QString &erreur)> fin)
{
    // A folder left by an earlier request is no error: the request works every time.
    const QString dossier
        = QDir(CheminsApplication::dossierApplication()).filePath(QStringLiteral("versions/maj"));
    if (!QDir().mkpath(dossier))
        return false;
    // The update server and its password are deployment values, kept in the settings file.
    RequeteMiseAJour::Requete requete;
    requete.serveur = ValeurINI(QStringLiteral("system"), QStringLiteral("maj serveur"), QString(),
                                QString(), LIRE_ET_CREER);
    requete.motDePasse = ValeurINI(QStringLiteral("system"), QStringLiteral("maj motdepasse"),
                                   QString(), QString(), LIRE_ET_CREER);
    requete.utilisateur = QStringLiteral("logiciels");
    requete.fichierDistant = QStringLiteral("test.txt");
    // "/test.txt" of old was the root of the drive; here the file lands in the folder just made.
    requete.fichierLocal = QDir(dossier).filePath(QStringLiteral("test.txt"));
    return RequeteMiseAJour::lancer(requete, std::move(fin));
}

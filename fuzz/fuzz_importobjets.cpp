#include "Exiger.h"

#include "data/ImportObjets.h"
#include "data/RegleObjet.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <cstddef>
#include <cstdint>

// Any bytes as a spreadsheet's list of objects: whatever the file, the preview only ever
// proposes objects the settings themselves would store, each number once and none of the base's.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *octets, std::size_t taille)
{
    static const QHash<qint32, QString> numerosPris
        = {{1, QStringLiteral("Chambre 1")}, {12, QStringLiteral("Chambre 12")}};
    const QByteArray contenu(reinterpret_cast<const char *>(octets), qsizetype(taille));
    const ApercuImportation apercu = lireListeObjets(contenu, numerosPris);

    if (!apercu.refusGlobal.isEmpty())
        exiger(apercu.ajouts.isEmpty() && apercu.refus.isEmpty(),
               "un fichier refusé en entier ne propose ni ajout ni refus de ligne");
    exiger(apercu.ajouts.size() <= LignesMaximalesImport, "au plus 10 000 objets ajoutés");

    QSet<qint32> vus;
    int precedente = 1;
    for (const LigneImportee &ligne : apercu.ajouts) {
        exiger(ligne.ligne > precedente, "les lignes ajoutées suivent l'ordre du fichier");
        precedente = ligne.ligne;
        exiger(ligne.numero > 0, "un numéro ajouté est positif");
        exiger(!numerosPris.contains(ligne.numero), "un numéro de la base n'est pas repris");
        exiger(!vus.contains(ligne.numero), "chaque numéro n'est ajouté qu'une fois");
        vus.insert(ligne.numero);
        exiger(RegleObjet::nom(ligne.nom).acceptee(), "un nom ajouté est un nom accepté");
        exiger(ligne.categorie.isNull()
                   || RegleObjet::categorie(ligne.categorie.toString()).acceptee(),
               "une catégorie ajoutée est acceptée");
        exiger(ligne.capacite.isNull()
                   || RegleObjet::capacite(ligne.capacite.toString()).acceptee(),
               "une capacité ajoutée est acceptée");
    }
    for (const LigneRefusee &refus : apercu.refus)
        exiger(refus.ligne > 1 && !refus.raison.isEmpty(), "une ligne refusée dit pourquoi");
    return 0;
}

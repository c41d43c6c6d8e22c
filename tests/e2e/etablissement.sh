#!/bin/sh
# A new establishment from an empty folder, and a file of the first release opened upgraded;
# checked from outside with sqlite3, not through the program.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
debuter_scenario "$@"
ANCIENNE="$(dirname "$0")/../data/razarivu-0.1.0.mdb"

# compter BASE: the rows of every table of the first release, on one line.
compter() {
    sqlite3 "$1" "select (select count(*) from ETATS) || ' ' || (select count(*) from OBJETS)
        || ' ' || (select count(*) from RESERVATIONS) || ' ' || (select count(*) from OPERATIONS)
        || ' ' || (select count(*) from CONSOMMATIONS)" || echec "lecture de $1 impossible"
}

etape "une base de la première version est ouverte"
BASE="$DOSSIER/Razarivu.mdb"
cp "$ANCIENNE" "$BASE"
chmod u+w "$BASE"
AVANT=$(compter "$BASE")
SEJOURS_AVANT=$(sql "select group_concat(NumeroReservation || Objet || nomclient || DateDebut
    || DateFin || Etat, ';') from RESERVATIONS")
verifier_egal "version de la base d'origine" "$(sql "pragma user_version")" 0
lancer_planning
capture "ancienne-base-ouverte"

etape "Fichier, Quitter"
quitter

etape "la base est à jour, rien n'est perdu"
verifier_egal "version de la base" "$(sql "pragma user_version")" 1
verifier_egal "lignes de chaque table" "$(compter "$BASE")" "$AVANT"
verifier_egal "les séjours" "$(sql "select group_concat(NumeroReservation || Objet || nomclient
    || DateDebut || DateFin || Etat, ';') from RESERVATIONS")" "$SEJOURS_AVANT"
verifier_egal "états occupant leur objet" "$(sql "select group_concat(Nom, ',') from ETATS
    where occupe = 0")" "Annulée"
verifier_egal "objets retirés" "$(sql "select count(*) from OBJETS where retire <> 0")" 0
verifier_egal "taux de TVA" "$(sql "select distinct TauxTVA from CONSOMMATIONS")" 1000
verifier_egal "intégrité" "$(sql "pragma integrity_check")" ok

etape "la sauvegarde du démarrage garde la base telle qu'elle était"
cmp -s "$ANCIENNE" "$DOSSIER/Sauvegardes/Razarivu_1.mdb" \
    || echec "la sauvegarde 1 n'est pas la base d'avant la mise à jour"

etape "fin"
echo "Scénario de l'établissement réussi"

#!/bin/sh
# A file of the first release opened upgraded; then a new establishment from an empty folder:
# the base made on the spot, three objects, a state and two articles entered in the settings,
# a stay on the first object and an article sold at the bar. Checked from outside with sqlite3,
# not through the program.
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
verifier_egal "version de la base" "$(sql "pragma user_version")" 5
verifier_egal "lignes de chaque table" "$(compter "$BASE")" "$AVANT"
verifier_egal "les séjours" "$(sql "select group_concat(NumeroReservation || Objet || nomclient
    || DateDebut || DateFin || Etat, ';') from RESERVATIONS")" "$SEJOURS_AVANT"
verifier_egal "états occupant leur objet" "$(sql "select group_concat(Nom, ',') from ETATS
    where occupe = 0")" "Annulée"
verifier_egal "objets retirés" "$(sql "select count(*) from OBJETS where retire <> 0")" 0
verifier_egal "taux de TVA" "$(sql "select distinct TauxTVA from CONSOMMATIONS")" 1000
verifier_egal "intégrité" "$(sql "pragma integrity_check")" ok

etape "la sauvegarde du démarrage garde la base telle qu'elle était"
meme_contenu "$ANCIENNE" "$DOSSIER/Sauvegardes/Razarivu_1.mdb" \
    || echec "la sauvegarde 1 n'est pas la base d'avant la mise à jour"
verifier_egal "version de la sauvegarde 1" \
    "$(sqlite3 "$DOSSIER/Sauvegardes/Razarivu_1.mdb" "pragma user_version")" 0

# ---- A new establishment, from an empty folder ------------------------------------------------

NEUF="$DOSSIER/neuf"
mkdir -p "$NEUF"
BASE="$NEUF/Razarivu.mdb"

# ajouter_objet NOM CATEGORIE CAPACITE: "Ajouter", then the name typed over the one proposed,
# the category and the capacity, each stored by Enter.
ajouter_objet() {
    cliquer_onglets 64 394
    sleep 0.5
    xdotool type "$1"
    xdotool key Return
    sleep 0.3
    cliquer_onglets 584 166
    xdotool key ctrl+a
    xdotool type "$2"
    xdotool key Return
    sleep 0.3
    cliquer_onglets 602 194
    xdotool key ctrl+a
    xdotool type "$3"
    xdotool key Return
    sleep 0.3
}

# ajouter_article FAMILLE LIBELLE PRIX TVA: the family typed, "Ajouter", the label over the one
# proposed, the price and the rate, "Enregistrer".
ajouter_article() {
    cliquer_onglets 124 409
    xdotool key ctrl+a
    xdotool type "$1"
    cliquer_onglets 544 437
    sleep 0.5
    xdotool key ctrl+a
    xdotool type "$2"
    cliquer_onglets 629 409
    xdotool key ctrl+a
    xdotool type "$3"
    cliquer_onglets 706 409
    xdotool key ctrl+a
    xdotool type "$4"
    cliquer_onglets 630 437
    sleep 0.5
}

etape "dossier vide : l'échec d'ouverture, puis Oui à la création d'une base"
lancer "$NEUF"
boite=$(attendre_fenetre "Razarivu") || echec "aucun message d'échec d'ouverture"
sleep 0.5
touches "$boite" Return
sleep 1
question=$(attendre_fenetre "Razarivu") || echec "la création d'une base n'est pas proposée"
capture "question-nouvelle-base"
touches "$question" Return

etape "le planning et les paramètres s'ouvrent sur l'onglet « Objets »"
CADRE=$(attendre_fenetre "PIVANE Razarivu $VERSION( - \[Calendrier\])?") \
    || echec "le programme ne démarre pas sur la nouvelle base"
attendre_fenetre "Parametres" >/dev/null || echec "le dialogue « Parametres » ne s'ouvre pas"
sleep 1
verifier_egal "version de la nouvelle base" "$(sql "pragma user_version")" 5
verifier_egal "états de la nouvelle base" "$(sql "select count(*) from ETATS")" 5
verifier_egal "objets de la nouvelle base" "$(sql "select count(*) from OBJETS")" 0

etape "trois objets sont saisis"
ajouter_objet "Chambre Bleue" "Chambre" 2
ajouter_objet "Emplacement Pins" "Emplacement" 6
ajouter_objet "Chalet Lac" "Chalet" 5
verifier_egal "les objets, dans l'ordre du planning" \
    "$(sql "select group_concat(Numero || ' ' || Nom || ' ' || Categorie || ' ' || Capacite
        || ' ' || retire, '|') from (select * from OBJETS order by rowid)")" \
    "1 Chambre Bleue Chambre 2 0|2 Emplacement Pins Emplacement 6 0|3 Chalet Lac Chalet 5 0"

etape "un état est ajouté dans « Couleurs »"
cliquer_onglets 38 13
cliquer_onglets 79 483
etat=$(attendre_fenetre "Nouvel état") || echec "le dialogue « Nouvel état » ne s'ouvre pas"
sleep 0.5
touches "$etat" 6 Tab
xdotool type "Travaux"
capture "nouvel-etat"
xdotool key Return
fenetre_fermee "Nouvel état"
verifier_egal "le nouvel état" "$(sql "select Nom || ' ' || occupe || ' ' || surinternet from ETATS
    where Code = 6")" "Travaux 1 0"
verifier_egal "le dernier de la liste" "$(sql "select Code from ETATS order by rowid desc limit 1")" 6

etape "deux articles sont ajoutés dans « Articles »"
cliquer_onglets 174 13
ajouter_article "Boissons" "Cafe" "1,80" "10 %"
ajouter_article "Boissons" "Biere pression" "3,50" "20 %"
verifier_egal "les articles" "$(sql "select group_concat(Famille || ' ' || Libelle || ' ' || prixTTC
    || ' ' || TauxTVA, '|') from (select * from CONSOMMATIONS order by rowid)")" \
    "Boissons Cafe 1.8 1000|Boissons Biere pression 3.5 2000"

etape "« Quitter » : le planning montre les trois objets"
fermer_parametres
eval "$(xdotool getwindowgeometry --shell "$CADRE")"
COLONNES_X=$((X + 12))
COLONNES_Y=$((Y + 76))
capture "planning-du-nouvel-etablissement"

etape "un séjour sur le premier objet, la bière vendue au bar"
nouvelle_reservation "Client Neuf" "10/07/2027" "14/07/2027"
NUMERO=$(sql "select NumeroReservation || ' ' || Objet from RESERVATIONS where nomclient = 'Client Neuf'")
verifier_egal "le séjour, sur Chambre Bleue" "$NUMERO" "1 1"
ouvrir_premiere_barre 1
# The bar's second button: the second article of the only family.
vendre_cafe_creme
verifier_egal "la vente au compte" "$(sql "select prix from OPERATIONS where numeroreservation = 1
    and libelle like 'BAR Biere pression%'")" "-3.5"
revenir

etape "Fichier, Quitter"
quitter
verifier_egal "intégrité" "$(sql "pragma integrity_check")" ok

etape "fin"
echo "Scénario de l'établissement réussi"

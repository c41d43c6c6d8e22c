#!/bin/sh
# Two front desks on one base, each with its own folder and its own screen: both add a stay at
# the same moment (two numbers, each note on its own), both change one stay (the second is
# warned and nothing of the first is lost), a stay added at one desk shows on the other's
# planning within two seconds, and a start-up backup taken while another desk writes is sound.
# The base is an SQLite file, or with a fifth argument "postgresql" a base on a PostgreSQL server
# the scenario starts for itself; it is read with sqlite3 or psql, the screens compared as
# pictures.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
MODE=${5:-sqlite}
debuter_scenario "$@"
SERVEUR_PG="$(cd "$(dirname "$0")/../pg" && pwd)/serveur-pg.sh"

etape "une base partagée ($MODE), deux postes"
mkdir -p "$DOSSIER/partage" "$DOSSIER/A" "$DOSSIER/B" "$DOSSIER/C"
if [ "$MODE" = postgresql ]; then
    GRAPPE=$(mktemp -d)
    sh "$SERVEUR_PG" demarrer "$GRAPPE" >/dev/null || echec "le serveur PostgreSQL ne démarre pas"
    BASE=$(sh "$SERVEUR_PG" base "$GRAPPE" postes) || echec "la base « postes » n'est pas créée"
    sql() {
        psql -At -v ON_ERROR_STOP=1 "$BASE" -c "$1" || echec "lecture de la base impossible : $1"
    }
else
    BASE="$DOSSIER/partage/Razarivu.mdb"
fi
"$CREER_BASE" "$BASE" --demo || echec "razarivu-creer-base a échoué"
for poste in A B C; do
    printf '[system]\r\ndatabase=%s\r\n' "$BASE" >"$DOSSIER/$poste/Razarivu.ini"
done
# Far enough ahead that the demo stays, which follow today's date, never meet these.
LOIN=$(date -d "+14 months" +%Y-%m-01)
jour() { date -d "$LOIN $1 day" +%d/%m/%Y; }

# The second desk has a screen of its own.
nouvel_ecran
PID_X2=$PID_ECRAN
DISPLAY_A=$DISPLAY
DISPLAY_B=$ECRAN
trap 'kill $PID_A $PID_B $PID_X2 2>/dev/null; arreter_tout; [ -n "${GRAPPE:-}" ] && sh "$SERVEUR_PG" arreter "$GRAPPE"; rm -rf "$DOSSIER"' EXIT
PID_A=""
PID_B=""

# poste A|B: the following gestures go to that desk's screen and program.
poste() {
    eval "DISPLAY=\$DISPLAY_$1; CADRE=\$CADRE_$1; PID_PROGRAMME=\$PID_$1"
    export DISPLAY
}
demarrer_poste() {
    eval "DISPLAY=\$DISPLAY_$1"
    export DISPLAY
    DOSSIER_POSTE="$DOSSIER/$1"
    RAZARIVU_DOSSIER="$DOSSIER_POSTE" QT_QPA_PLATFORM=xcb "$PROGRAMME" >"$CAPTURES/sortie-$1.log" 2>&1 &
    eval "PID_$1=$!"
    cadre=$(attendre_fenetre "PIVANE Razarivu $VERSION( - \[Calendrier\])?") \
        || echec "le poste $1 ne démarre pas"
    eval "CADRE_$1=$cadre"
    sleep 1
}
demarrer_poste A
demarrer_poste B
eval "$(xdotool getwindowgeometry --shell "$CADRE_B")"
COLONNES_X=$((X + 12))
COLONNES_Y=$((Y + 76))
GRILLE_X=$((COLONNES_X + 153))
GRILLE_Y=$((COLONNES_Y + 64))

etape "les deux postes ajoutent un séjour au même moment"
AVANT=$(sql "select max(NumeroReservation) from RESERVATIONS")
poste A
saisir_sejour "Poste A" "$(jour 0)" "$(jour 3)"
poste B
saisir_sejour "Poste B" "$(jour 10)" "$(jour 12)"
capture "poste-b-saisie"
# Both "Ajouter" pressed together.
DISPLAY=$DISPLAY_A xdotool mousemove $((FOND_X + 672)) $((FOND_Y + 434)) click 1 &
DISPLAY=$DISPLAY_B xdotool mousemove $((FOND_X + 672)) $((FOND_Y + 434)) click 1
wait $!
sleep 2
for p in A B; do
    poste "$p"
    fenetre_fermee "Réservation"
done
NUM_A=$(sql "select NumeroReservation from RESERVATIONS where nomclient = 'Poste A'")
NUM_B=$(sql "select NumeroReservation from RESERVATIONS where nomclient = 'Poste B'")
[ -n "$NUM_A" ] && [ -n "$NUM_B" ] || echec "un des deux séjours manque (A « $NUM_A », B « $NUM_B »)"
[ "$NUM_A" != "$NUM_B" ] || echec "les deux séjours ont le même numéro"
[ "$NUM_A" -gt "$AVANT" ] && [ "$NUM_B" -gt "$AVANT" ] || echec "un numéro ancien a été repris"
for n in "$NUM_A" "$NUM_B"; do
    verifier_egal "note de création du séjour $n" \
        "$(sql "select count(*) from OPERATIONS where numeroreservation = $n and libelle = 'Création de la reservation'")" 1
done

etape "les deux postes ouvrent le séjour du poste A ; A l'enregistre d'abord"
ouvrir_par_recherche() { # CLIENT NUMERO
    touches "$CADRE" ctrl+f
    recherche=$(attendre_fenetre "Rechercher") || echec "la fenêtre « Rechercher » ne s'ouvre pas"
    xdotool windowfocus --sync "$recherche"
    xdotool type "$1"
    sleep 0.5
    xdotool key Return
    attendre_fenetre "Réservation $2" >/dev/null || echec "le séjour $2 ne s'ouvre pas"
    sleep 1
}
poste A
ouvrir_par_recherche "Poste A" "$NUM_A"
poste B
ouvrir_par_recherche "Poste A" "$NUM_A"
poste A
changer_depart "$(jour 4)"
enregistrer_reservation
fenetre_fermee "Réservation $NUM_A"
DEPART_A=$(date -d "$LOIN 4 day" +%F)
verifier_egal "départ enregistré par A" \
    "$(sql "select substr(DateFin, 1, 10) from RESERVATIONS where NumeroReservation = $NUM_A")" \
    "$DEPART_A"

etape "B change le téléphone du même séjour : il est averti, rien de A n'est perdu"
poste B
cliquer_fond 180 291
xdotool type "01 02 03 04 05"
enregistrer_reservation
avertissement=$(attendre_fenetre "Razarivu") || echec "B n'est pas averti du changement fait par A"
capture "avertissement"
# Escape: "Revenir", nothing stored, B keeps what he typed.
touches "$avertissement" Escape
sleep 0.5
verifier_egal "départ de A gardé" \
    "$(sql "select substr(DateFin, 1, 10) from RESERVATIONS where NumeroReservation = $NUM_A")" \
    "$DEPART_A"
verifier_egal "téléphone non enregistré" \
    "$(sql "select trim(telephone) from RESERVATIONS where NumeroReservation = $NUM_A")" ""
revenir

etape "un séjour ajouté au poste A paraît au poste B en moins de deux secondes"
# B's planning on the day of A's stay; its grid as a picture, before and after.
poste B
ouvrir_par_recherche "Poste A" "$NUM_A"
revenir
sleep 1
grille() {
    import -window root -crop 600x200+"$GRILLE_X"+"$GRILLE_Y" "$CAPTURES/grille-$1.png" 2>/dev/null
}
grille avant
poste A
saisir_sejour "Poste A bis" "$(jour 20)" "$(jour 21)"
cliquer_fond 672 434
fenetre_fermee "Réservation"
DEBUT=$(date +%s.%N)
poste B
vu=""
while [ -z "$vu" ]; do
    grille apres
    if ! compare -metric AE "$CAPTURES/grille-avant.png" "$CAPTURES/grille-apres.png" null: 2>/dev/null; then
        vu=$(date +%s.%N)
    fi
    awk -v a="$(date +%s.%N)" -v b="$DEBUT" 'BEGIN { exit !(a - b > 5) }' && break
    sleep 0.1
done
[ -n "$vu" ] || echec "le planning de B ne montre pas le séjour ajouté par A"
DELAI=$(awk -v a="$vu" -v b="$DEBUT" 'BEGIN { printf "%.2f", a - b }')
echo "paru au poste B en $DELAI s"
awk -v d="$DELAI" 'BEGIN { exit !(d < 2) }' || echec "paru au poste B en $DELAI s, plus de 2 s"
capture "poste-b-a-jour"

etape "une sauvegarde prise pendant qu'un autre poste écrit est saine"
# Another desk writing all the time: a thousand small transactions.
ecriture() {
    echo "insert into OPERATIONS (numeroreservation, date, prix, paiement, libelle) values ($NUM_B, '2027-01-01 10:00:00', 0, '   ', 'écriture $1')"
}
if [ "$MODE" = postgresql ]; then
    # One session, each insert its own transaction.
    i=0
    while [ $i -lt 1000 ]; do
        echo "$(ecriture $i); select pg_sleep(0.005);"
        i=$((i + 1))
    done | psql -q "$BASE" >/dev/null 2>&1 &
else
    (
        i=0
        while [ $i -lt 1000 ]; do
            sqlite3 "$BASE" "begin immediate; $(ecriture $i); commit;" 2>/dev/null
            i=$((i + 1))
        done
    ) &
fi
ECRIVAIN=$!
sleep 0.5
DISPLAY=$DISPLAY_A
RAZARIVU_DOSSIER="$DOSSIER/C" QT_QPA_PLATFORM=xcb "$PROGRAMME" >"$CAPTURES/sortie-C.log" 2>&1 &
PID_C=$!
sleep 4
kill "$PID_C" 2>/dev/null
wait "$ECRIVAIN"
if [ "$MODE" = postgresql ]; then
    COPIE="$DOSSIER/C/Sauvegardes/postes_1.dump"
    [ -f "$COPIE" ] || echec "pas de sauvegarde au démarrage du poste C"
    pg_restore --list "$COPIE" >/dev/null || echec "la sauvegarde ne se relit pas"
    # Restored into a base of its own, it holds what was committed when it was taken.
    COPIEE=$(sh "$SERVEUR_PG" base "$GRAPPE" restauree)
    pg_restore --dbname="$COPIEE" "$COPIE" || echec "la sauvegarde ne se restaure pas"
    n=$(psql -At "$COPIEE" -c "select count(*) from reservations")
    [ "$n" -gt 80 ] || echec "la sauvegarde restaurée n'a que $n réservations"
else
    COPIE="$DOSSIER/C/Sauvegardes/Razarivu_1.mdb"
    [ -f "$COPIE" ] || echec "pas de sauvegarde au démarrage du poste C"
    verifier_egal "intégrité de la sauvegarde" "$(sqlite3 "$COPIE" "pragma integrity_check")" ok
    verifier_egal "intégrité de la base" "$(sql "pragma integrity_check")" ok
fi

etape "fin"
for p in A B; do
    poste "$p"
    touches "$CADRE" alt+f q
    attendre_fin
done

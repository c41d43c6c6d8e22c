#!/bin/sh
# A reservation from outside: "+" opens the dialog, a named client is stored with its journal
# note; a click on its bar opens it again, the departure is changed and saved. Checked in the
# database file with sqlite3, not through the program.
set -u
. "$(dirname "$0")/commun.sh"
debuter_scenario "$@"

creer_base_demo
BASE="$DOSSIER/Razarivu.mdb"
sql() {
    sqlite3 "$BASE" "$1" || echec "lecture de la base impossible : $1"
}

etape "le planning s'ouvre"
lancer_planning
# The dialog covers the 1280 x 800 screen; its 860 x 560 panel is in the middle.
FOND_X=$(((1280 - 860) / 2))
FOND_Y=$(((800 - 560) / 2))
cliquer_fond() {
    xdotool mousemove $((FOND_X + $1)) $((FOND_Y + $2)) click 1
    sleep 0.2
}

etape "« + » ouvre une réservation nouvelle"
xdotool mousemove $((COLONNES_X + 128)) $((COLONNES_Y + 29)) click 1
DIALOGUE=$(attendre_fenetre "Réservation") || echec "le dialogue « Réservation » ne s'ouvre pas"
sleep 1

etape "le client, l'arrivée et le départ sont saisis"
cliquer_fond 180 55
xdotool type "Client Bout-en-bout"
cliquer_fond 180 83
xdotool type "10/07/2027"
cliquer_fond 180 111
xdotool type "14/07/2027"
sleep 0.3

etape "« Ajouter » enregistre la réservation"
cliquer_fond 672 434
sleep 1.5
xdotool search --onlyvisible --name "^Réservation" >/dev/null 2>&1 && echec "le dialogue est resté ouvert"
NUMERO=$(sql "select NumeroReservation from RESERVATIONS where nomclient = 'Client Bout-en-bout'")
[ -n "$NUMERO" ] || echec "aucune réservation « Client Bout-en-bout » dans la base"
verifier_egal "arrivée" "$(sql "select DateDebut from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "2027-07-10 14:00:00"
verifier_egal "départ" "$(sql "select DateFin from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "2027-07-14 12:00:00"
verifier_egal "note de création" \
    "$(sql "select count(*) from OPERATIONS where numeroreservation = $NUMERO and prix = 0 and libelle = 'Création de la reservation'")" 1

etape "un clic sur sa barre la rouvre"
# The planning now starts on the arrival day; the stay is on the first line, from 14:00.
xdotool mousemove $((X + 215)) $((Y + 151)) click 1
DIALOGUE=$(attendre_fenetre "Réservation $NUMERO") || echec "la réservation $NUMERO ne s'ouvre pas"
sleep 1

etape "le départ est changé puis enregistré"
cliquer_fond 180 111
xdotool key ctrl+a
xdotool type "16/07/2027"
cliquer_fond 672 434
sleep 1.5
xdotool search --onlyvisible --name "^Réservation" >/dev/null 2>&1 && echec "le dialogue est resté ouvert"
verifier_egal "nouveau départ" "$(sql "select DateFin from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "2027-07-16 12:00:00"
verifier_egal "note de modification" \
    "$(sql "select count(*) from OPERATIONS where numeroreservation = $NUMERO and libelle = 'Modification d''informations'")" 1
verifier_egal "intégrité de la base" "$(sql "PRAGMA integrity_check")" "ok"

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0

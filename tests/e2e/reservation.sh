#!/bin/sh
# A reservation from outside: "+" opens the dialog, a named client is stored with its journal
# note; a click on its bar opens it again, the departure is changed and saved; then a coffee is
# sold at the bar and a cheque taken. Checked in the database file with sqlite3, not through the
# program.
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

etape "la réservation rouverte, « Conso » ouvre le bar"
xdotool mousemove $((X + 215)) $((Y + 151)) click 1
attendre_fenetre "Réservation $NUMERO" >/dev/null || echec "la réservation $NUMERO ne se rouvre pas"
sleep 1
cliquer_fond 672 394
attendre_fenetre "Bar" >/dev/null || echec "la fenêtre du bar ne s'ouvre pas"
sleep 1
# The bar's 1080 x 620 panel in the middle of the screen; "Café crème" is the second article.
BAR_X=$(((1280 - 1080) / 2))
BAR_Y=$(((800 - 620) / 2))

etape "un café crème est vendu"
xdotool mousemove $((BAR_X + 16 + 85 + 40)) $((BAR_Y + 48 + 28)) click 1
sleep 0.5
verifier_egal "vente au compte" \
    "$(sql "select prix from OPERATIONS where numeroreservation = $NUMERO and libelle like 'BAR Café crème%'")" "-2.5"

etape "« Fermer » revient à la réservation"
xdotool mousemove $((BAR_X + 900 + 84 + 38)) $((BAR_Y + 510 + 16)) click 1
sleep 1

etape "« Encaisser » : un chèque de 12,50"
cliquer_fond 787 394
attendre_fenetre "Encaissement" >/dev/null || echec "le dialogue de paiement ne s'ouvre pas"
sleep 1
PAIEMENT_X=$(((1280 - 480) / 2))
PAIEMENT_Y=$(((800 - 300) / 2))
xdotool mousemove $((PAIEMENT_X + 81)) $((PAIEMENT_Y + 140)) click 1
sleep 0.3
xdotool type "12,50"
xdotool mousemove $((PAIEMENT_X + 300)) $((PAIEMENT_Y + 265)) click 1
sleep 1
verifier_egal "paiement au compte" \
    "$(sql "select prix || ' ' || paiement || ' ' || libelle from OPERATIONS where numeroreservation = $NUMERO and paiement = 'CHQ'")" \
    "12.5 CHQ Paiement CHQ"

etape "« Revenir » ferme la réservation"
cliquer_fond 730 474
sleep 1
xdotool search --onlyvisible --name "^Réservation" >/dev/null 2>&1 && echec "le dialogue est resté ouvert"
verifier_egal "intégrité de la base" "$(sql "PRAGMA integrity_check")" "ok"

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0

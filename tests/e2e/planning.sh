#!/bin/sh
# The planning of the demo database from outside: its bars are drawn, a held ">" moves the
# period, "Auj." brings it back, a drag on empty grid pans it. Grid pictures are compared.
set -u
. "$(dirname "$0")/commun.sh"
debuter_scenario "$@"

creer_base_demo

etape "le planning s'ouvre"
lancer_planning
GRILLE="400x280+$((X + 170))+$((Y + 145))"
grille() {
    import -window root -crop "$GRILLE" +repage "$CAPTURES/grille-$1.png" 2>/dev/null \
        || echec "capture de la grille impossible"
}
differences() {
    compare -metric AE "$CAPTURES/grille-$1.png" "$CAPTURES/grille-$2.png" null: 2>&1 | cut -d' ' -f1
}
grille depart

etape "les barres du planning sont dessinées"
# Bars are drawn in the states' colours; the empty grid is only greys and white.
couleurs=$(convert "$CAPTURES/grille-depart.png" -format %c histogram:info:- \
    | grep -Evc '#([0-9A-F]{2})\1\1 ')
[ "$couleurs" -gt 0 ] || echec "aucune barre colorée dans la grille"

etape "maintenir « > » fait avancer la période"
xdotool mousemove $((COLONNES_X + 96)) $((COLONNES_Y + 29)) mousedown 1
sleep 1
xdotool mouseup 1
sleep 0.5
grille apres-suivant
[ "$(differences depart apres-suivant)" -gt 0 ] || echec "la grille n'a pas bougé"

etape "« Auj. » ramène à aujourd'hui"
xdotool mousemove $((COLONNES_X + 60)) $((COLONNES_Y + 29)) click 1
sleep 0.5
grille aujourdhui
verifier_egal "pixels différents après « Auj. »" "$(differences depart aujourdhui)" 0

etape "glisser sur la grille déplace la période"
GX=$((X + 640))
GY=$((Y + 440))
xdotool mousemove $GX $GY mousedown 1
sleep 0.3
xdotool mousemove $((GX - 100)) $GY
sleep 0.6
xdotool mouseup 1
sleep 0.3
grille apres-glisser
[ "$(differences aujourdhui apres-glisser)" -gt 0 ] || echec "le glisser n'a pas déplacé la période"
xdotool mousemove $((COLONNES_X + 60)) $((COLONNES_Y + 29)) click 1
sleep 0.5
grille retour
verifier_egal "pixels différents après le retour" "$(differences depart retour)" 0

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0

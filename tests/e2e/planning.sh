#!/bin/sh
# The planning of the demo database from outside: its bars are drawn, a held ">" moves the
# period, "Auj." brings it back, a drag on empty grid pans it. Grid pictures are compared. Maximised
# by its title bar it is drawn whole, and comes back so after a restart.
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

# dessin_entier NOM: the part of the grid that only a maximised planning shows holds the grid's
# greys and at least one bar colour, as a whole drawing does (a blank one is one flat grey).
dessin_entier() {
    import -window root -crop "560x500+$((X + 700))+$((Y + 130))" +repage "$CAPTURES/grande-$1.png" \
        2>/dev/null || echec "capture impossible"
    teintes=$(convert "$CAPTURES/grande-$1.png" -format %c histogram:info:- | wc -l)
    barres=$(convert "$CAPTURES/grande-$1.png" -format %c histogram:info:- \
        | grep -Evc '#([0-9A-F]{2})\1\1 ')
    [ "$teintes" -gt 3 ] && [ "$barres" -gt 0 ] || echec "planning non dessiné ($teintes teintes, $barres colorées)"
}

etape "un double clic sur le titre agrandit le planning, dessiné en entier"
xdotool mousemove $((X + 300)) $((COLONNES_Y - 20)) click --repeat 2 --delay 80 1
sleep 1.5
dessin_entier maximise

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0
verifier_egal "PositionsTaille du planning" "$(cle_ini "$DOSSIER/Razarivu.ini" Razarivu PositionsTaille)" 2

etape "au redémarrage le cadre et le planning reviennent agrandis, dessinés"
# The frame maximised too, written as the program writes it.
sed -i 's/^PositionsTaille=.*/PositionsTaille=2\r/' "$DOSSIER/reriveved.ini"
lancer_planning
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$CADRE")"
verifier_egal "taille du cadre agrandi" "${WIDTH}x$HEIGHT" 1280x800
dessin_entier redemarre
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0

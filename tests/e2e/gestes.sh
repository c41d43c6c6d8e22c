# What a person does at the desk, shared by the scenarios: each gesture clicks and types as a
# person would and checks that the window it expects came or went. Sourced after commun.sh, once
# lancer_planning has set X, Y, COLONNES_X and COLONNES_Y. Screen: 1280 x 800, no window manager.

# The reservation dialog's 860 x 560 panel, in the middle of the full-screen dialog.
FOND_X=$(((1280 - 860) / 2))
FOND_Y=$(((800 - 560) / 2))
cliquer_fond() {
    xdotool mousemove $((FOND_X + $1)) $((FOND_Y + $2)) click 1
    sleep 0.2
}

# fenetre_fermee TITRE: fails the step if a visible window still has that title.
fenetre_fermee() {
    i=0
    while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && [ $i -lt 50 ]; do
        sleep 0.2
        i=$((i + 1))
    done
    [ $i -lt 50 ] || echec "la fenêtre « $1 » est restée ouverte"
}

# saisir_sejour CLIENT ARRIVEE DEPART: "+" and the three boxes typed, nothing stored yet.
saisir_sejour() {
    xdotool mousemove $((COLONNES_X + 128)) $((COLONNES_Y + 29)) click 1
    attendre_fenetre "Réservation" >/dev/null || echec "le dialogue « Réservation » ne s'ouvre pas"
    sleep 1
    cliquer_fond 180 55
    xdotool type "$1"
    cliquer_fond 180 83
    xdotool type "$2"
    cliquer_fond 180 111
    xdotool type "$3"
    sleep 0.3
}

# nouvelle_reservation CLIENT ARRIVEE DEPART: the stay typed, then "Ajouter".
nouvelle_reservation() {
    saisir_sejour "$1" "$2" "$3"
    capture "reservation-saisie"
    cliquer_fond 672 434
    sleep 1.5
    fenetre_fermee "Réservation"
}

# ouvrir_premiere_barre NUMERO: a click on the stay that starts the first line (the planning
# starts on the arrival day of the reservation last saved).
ouvrir_premiere_barre() {
    xdotool mousemove $((X + 215)) $((Y + 151)) click 1
    attendre_fenetre "Réservation $1" >/dev/null || echec "la réservation $1 ne s'ouvre pas"
    sleep 1
}

# changer_depart DATE: the departure box retyped (the dialog stays open).
changer_depart() {
    cliquer_fond 180 111
    xdotool key ctrl+a
    xdotool type "$1"
}

# enregistrer_reservation: "Ajouter" / "Modifier", the same button.
enregistrer_reservation() {
    cliquer_fond 672 434
    sleep 1.5
}

revenir() {
    cliquer_fond 730 474
    sleep 1
    fenetre_fermee "Réservation.*"
}

# vendre_cafe_creme: "Conso" opens the bar, "Café crème" (the second article) sold once,
# "Fermer" back to the reservation.
vendre_cafe_creme() {
    cliquer_fond 672 394
    attendre_fenetre "Bar" >/dev/null || echec "la fenêtre du bar ne s'ouvre pas"
    sleep 1
    # The bar's 1080 x 620 panel in the middle of the screen.
    bar_x=$(((1280 - 1080) / 2))
    bar_y=$(((800 - 620) / 2))
    xdotool mousemove $((bar_x + 16 + 85 + 40)) $((bar_y + 48 + 28)) click 1
    sleep 0.5
    capture "bar"
    xdotool mousemove $((bar_x + 900 + 84 + 38)) $((bar_y + 510 + 16)) click 1
    sleep 1
    fenetre_fermee "Bar"
}

# encaisser_cheque MONTANT: "Encaisser", the cheque kind, the amount, Enter.
encaisser_cheque() {
    cliquer_fond 787 394
    attendre_fenetre "Encaissement" >/dev/null || echec "le dialogue de paiement ne s'ouvre pas"
    sleep 1
    paiement_x=$(((1280 - 480) / 2))
    paiement_y=$(((800 - 300) / 2))
    xdotool mousemove $((paiement_x + 81)) $((paiement_y + 140)) click 1
    sleep 0.3
    xdotool type "$1"
    capture "paiement"
    # Enter presses OK, the default button.
    xdotool key Return
    sleep 1
    fenetre_fermee "Encaissement"
}

# publier: "&Outils", "&Mise à jour Internet", "Générateur Internet"; the window closes itself.
publier() {
    touches "$CADRE" alt+o m
    maj=$(attendre_fenetre "Mise A Jour Internet") || echec "la fenêtre « Mise A Jour Internet » ne s'ouvre pas"
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell --prefix MAJ_ "$maj")"
    xdotool mousemove $((MAJ_X + MAJ_WIDTH / 2)) $((MAJ_Y + MAJ_HEIGHT - 20)) click 1
    fenetre_fermee "Mise A Jour Internet"
}

# The settings dialog's 800 x 560 panel in the middle of the screen, its tabs at (16, 52).
ONGLETS_X=$(((1280 - 800) / 2 + 16))
ONGLETS_Y=$(((800 - 560) / 2 + 52))
cliquer_onglets() {
    xdotool mousemove $((ONGLETS_X + $1)) $((ONGLETS_Y + $2)) click 1
    sleep 0.3
}

ouvrir_parametres() {
    touches "$CADRE" alt+o p
    attendre_fenetre "Parametres" >/dev/null || echec "le dialogue « Parametres » ne s'ouvre pas"
    sleep 1
}

# recolorer_premier_etat CHIFFRES: "Changer Couleur" of the first state, the colour dialog
# answered from the keyboard with "#" and the six hex digits, Enter. Qt's own dialog speaks
# French like the rest of the program.
recolorer_premier_etat() {
    cliquer_onglets 380 45
    couleur=$(attendre_fenetre "Sélectionner une couleur") \
        || echec "le choix de la couleur « Sélectionner une couleur » ne s'ouvre pas"
    sleep 0.5
    touches "$couleur" alt+h ctrl+a numbersign $(echo "$1" | sed 's/./& /g') Return
    sleep 1
    fenetre_fermee "Sélectionner une couleur"
}

fermer_parametres() {
    cliquer_onglets 716 484
    sleep 1
    fenetre_fermee "Parametres"
}

quitter() {
    touches "$CADRE" alt+f q
    attendre_fin
    verifier_egal "statut de sortie" "$STATUT" 0
}

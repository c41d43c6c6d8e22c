#!/bin/sh
# Publication from outside: "&Outils", "&Mise à jour Internet", "Générateur Internet"; then the
# pages in the application folder are read as files, and the owner's upload script has run.
set -u
. "$(dirname "$0")/commun.sh"
debuter_scenario "$@"

creer_base_demo
# The owner's upload script: here it only notes that it ran, and where.
printf 'pwd > envoi-fait\n' > "$DOSSIER/lanceftp.sh"

etape "le planning s'ouvre"
lancer_planning

etape "Outils, Mise à jour Internet"
touches "$CADRE" alt+o m
FENETRE=$(attendre_fenetre "Mise A Jour Internet") || echec "la fenêtre « Mise A Jour Internet » ne s'ouvre pas"
sleep 0.5

etape "« Générateur Internet » publie et ferme la fenêtre"
eval "$(xdotool getwindowgeometry --shell "$FENETRE")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 20)) click 1
i=0
while xdotool search --onlyvisible --name "^Mise A Jour Internet\$" >/dev/null 2>&1 && [ $i -lt 100 ]; do
    sleep 0.2
    i=$((i + 1))
done
[ $i -lt 100 ] || echec "la fenêtre ne s'est pas fermée"

etape "une page par objet, en Windows-1252 avec CR LF"
OBJETS=$(sqlite3 "$DOSSIER/Razarivu.mdb" "select count(*) from OBJETS")
PAGES=$(ls "$DOSSIER"/*.html | wc -l)
verifier_egal "pages écrites" "$PAGES" "$OBJETS"
# The file name the object gives, cleaned; the name shown on the web; a name without its own file.
PAGE="$DOSSIER/chalet_vue_lac.html"
[ -s "$PAGE" ] || echec "pas de page chalet_vue_lac.html"
[ -s "$DOSSIER/Chalet_des_Pins.html" ] || echec "pas de page Chalet_des_Pins.html"
head -c 80 "$PAGE" | grep -q "$(printf 'R\351servations Chalet vue sur le lac')" \
    || echec "le titre n'est pas celui attendu, en Windows-1252"
[ "$(head -n 1 "$PAGE" | tail -c 2 | od -An -c | tr -d ' ')" = '\r\n' ] || echec "les lignes ne finissent pas par CR LF"
cat "$DOSSIER"/*.html | grep -q 'bgcolor="#FF0000"' || echec "aucun jour occupé dans les pages"

etape "le script d'envoi a été lancé dans le dossier de l'application"
i=0
while [ ! -s "$DOSSIER/envoi-fait" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
verifier_egal "dossier du script" "$(cat "$DOSSIER/envoi-fait" 2>/dev/null)" "$DOSSIER"

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0

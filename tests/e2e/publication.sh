#!/bin/sh
# Publication from outside: "&Outils", "&Mise à jour Internet", "Générateur Internet"; then the
# pages in the application folder are read as files, and the owner's upload script has run.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
debuter_scenario "$@"

creer_base_demo
# A stay of the scenario, written from outside: Chalet des Pins, in a year, from the 10th at
# 14:00 to the 12th at 12:00, in a published state.
MOIS=$(date -d "$(date +%Y-%m-15) +12 months" +%Y-%m)
sqlite3 "$DOSSIER/Razarivu.mdb" "insert into RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat)
    select Numero, 'Scénario', '$MOIS-10 14:00:00', '$MOIS-12 12:00:00', 2 from OBJETS
    where Nom = 'Chalet des Pins'" || echec "le séjour du scénario n'a pas pu être écrit"
# The owner's upload script: here it only notes that it ran, and where.
printf 'pwd > envoi-fait\n' > "$DOSSIER/lanceftp.sh"

etape "le planning s'ouvre"
lancer_planning

etape "Outils, Mise à jour Internet : « Générateur Internet » publie et ferme la fenêtre"
publier

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
# The scenario's stay on its object's page: arrival and departure half days, the night between.
jour() {
    tr -d '\r' <"$DOSSIER/Chalet_des_Pins.html" | grep -E "^ {11}<td bgcolor=\"$1\">.*>$2</font>" | head -n 1
}
PINS_MOIS=$(tr -d '\r' <"$DOSSIER/Chalet_des_Pins.html" | grep -c "")
[ "$PINS_MOIS" -gt 0 ] || echec "page Chalet_des_Pins.html vide"
[ -n "$(jour '#FF6633' 10)" ] && [ -n "$(jour '#FF0000' 11)" ] && [ -n "$(jour '#FF6633' 12)" ] \
    || echec "le séjour du scénario n'apparaît pas sur la page de Chalet des Pins"

etape "le script d'envoi a été lancé dans le dossier de l'application"
i=0
while [ ! -s "$DOSSIER/envoi-fait" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
verifier_egal "dossier du script" "$(cat "$DOSSIER/envoi-fait" 2>/dev/null)" "$DOSSIER"

etape "Fichier, Quitter"
quitter

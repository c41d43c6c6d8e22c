#!/bin/sh
# A campsite of 200 pitches from outside: End brings the last pitch into view and its stay
# opens; Ctrl+F finds a client by part of the name and the planning comes to that stay, whose
# bar then opens; the day's arrivals and departures are written as a PDF (no printer here); a
# free place found for tonight is booked; a stay over a taken place is warned of, refused, then
# forced; a bar dragged to another line and other days, then Ctrl+Z. The base, the settings file and the PDF are read
# without the program.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
debuter_scenario "$@"

etape "un camping de 200 emplacements"
BASE="$DOSSIER/Razarivu.mdb"
INI="$DOSSIER/Razarivu.ini"
"$CREER_BASE" "$BASE" || echec "razarivu-creer-base a échoué"
AUJ=$(date +%F)
jour() { date -d "$AUJ $1 day" +%F; }
sql "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)
     INSERT INTO OBJETS (Numero, Nom, Categorie, Capacite)
     SELECT i, 'Emplacement ' || i, 'Emplacement', 6 FROM n;"
sejour() { # OBJET CLIENT ARRIVEE DEPART
    sql "INSERT INTO RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat, arrhes, nbadultes,
         nbenfants, remarque, telephone, email)
         VALUES ($1, '$2', '$3', '$4', 2, 50, 2, 1, ' ', '06 12 34 56 78', ' ');"
    sql "SELECT max(NumeroReservation) FROM RESERVATIONS"
}
DERNIER=$(sejour 200 "Peeters Dernier" "$AUJ 14:00:00" "$(jour 3) 12:00:00")
LEFEVRE=$(sejour 120 "Lefèvre Hélène" "$(jour 20) 14:00:00" "$(jour 24) 12:00:00")
sejour 5 "Martin Départ" "$(jour -2) 14:00:00" "$AUJ 10:00:00" >/dev/null
sejour 1 "Occupé Ce Soir" "$(jour -1) 14:00:00" "$(jour 2) 12:00:00" >/dev/null
# The documents folder the PDF goes to, private to the run.
HOME="$DOSSIER/maison"
export HOME
unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR
mkdir -p "$HOME"

etape "le planning s'ouvre ; Fin amène le dernier emplacement en vue"
lancer_planning
GRILLE_X=$((COLONNES_X + 153))
GRILLE_Y=$((COLONNES_Y + 64))
# A click on an empty cell of the first line gives the planning the keys.
xdotool mousemove $((GRILLE_X + 300)) $((GRILLE_Y + 10)) click 1
sleep 0.3
xdotool key End
sleep 0.5
capture "fin-de-liste"
# Fifteen whole lines show: the 200th is the last of them; its stay starts today at 14:00.
xdotool mousemove $((GRILLE_X + 40)) $((GRILLE_Y + 14 * 20 + 10)) click 1
attendre_fenetre "Réservation $DERNIER" >/dev/null || echec "le séjour du dernier emplacement ne s'ouvre pas"
sleep 1
revenir

etape "Ctrl+F trouve « lefev » et le planning vient à son séjour"
touches "$CADRE" ctrl+f
recherche=$(attendre_fenetre "Rechercher") || echec "la fenêtre « Rechercher » ne s'ouvre pas"
xdotool windowfocus --sync "$recherche"
xdotool type "lefev"
sleep 0.5
capture "recherche"
xdotool key Return
attendre_fenetre "Réservation $LEFEVRE" >/dev/null || echec "le séjour trouvé ne s'ouvre pas"
sleep 1
revenir
sleep 0.5
capture "planning-sur-le-sejour"
# Its line came to the top, the planning to its arrival day: its bar is the first one.
xdotool mousemove $((GRILLE_X + 40)) $((GRILLE_Y + 10)) click 1
attendre_fenetre "Réservation $LEFEVRE" >/dev/null || echec "la barre du séjour trouvé n'est pas en vue"
sleep 1
revenir

etape "les arrivées et départs du jour, écrits en PDF"
touches "$CADRE" alt+o a
listes=$(attendre_fenetre "Arrivées et départs") || echec "la fenêtre des arrivées et départs ne s'ouvre pas"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$listes" | sed 's/^/L_/')"
xdotool mousemove $((L_X + L_WIDTH - 50)) $((L_Y + 21)) click 1
boite=$(attendre_fenetre "Razarivu") || echec "aucun message après « Imprimer »"
capture "pdf-enregistre"
touches "$boite" Return
PDF="$HOME/Documents/Razarivu/Arrivées et départs du $AUJ.pdf"
[ -s "$PDF" ] || echec "pas de PDF « $PDF »"
texte=$(pdftotext "$PDF" -) || echec "PDF illisible"
for attendu in "Arrivées et départs du" "Peeters Dernier" "Martin Départ" "Emplacement 200"; do
    printf '%s' "$texte" | grep -q "$attendu" || echec "« $attendu » manque au PDF"
done

etape "une place libre pour ce soir est réservée"
touches "$CADRE" alt+o l
libres=$(attendre_fenetre "Places libres") || echec "la fenêtre « Places libres » ne s'ouvre pas"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$libres" | sed 's/^/P_/')"
capture "places-libres"
# The first free place tonight: pitch 1 is taken, pitch 2 is the first line.
xdotool mousemove $((P_X + 60)) $((P_Y + 93)) click --repeat 2 --delay 80 1
attendre_fenetre "Réservation" >/dev/null || echec "le double clic n'ouvre pas de réservation"
sleep 1
cliquer_fond 180 55
xdotool type "Client Place Libre"
cliquer_fond 672 434
sleep 1.5
fenetre_fermee "Réservation"
verifier_egal "séjour réservé" \
    "$(sql "SELECT Objet || ' ' || DateDebut || ' ' || DateFin FROM RESERVATIONS WHERE nomclient = 'Client Place Libre'")" \
    "2 $AUJ 14:00:00 $(jour 1) 12:00:00"

etape "un séjour sur une place prise : « Revenir » ne garde rien, « Enregistrer quand même » l'enregistre"
xdotool mousemove $((COLONNES_X + 128)) $((COLONNES_Y + 29)) click 1
attendre_fenetre "Réservation" >/dev/null || echec "« + » n'ouvre pas de réservation"
sleep 1
# The first object of the list, pitch 1, is taken tonight.
cliquer_fond 180 55
xdotool type "Client Doublon"
cliquer_fond 180 83
xdotool type "$(date -d "$AUJ" +%d/%m/%Y)"
cliquer_fond 180 111
xdotool type "$(date -d "$(jour 1)" +%d/%m/%Y)"
cliquer_fond 672 434
question=$(attendre_fenetre "Razarivu") || echec "le chevauchement n'est pas signalé"
capture "chevauchement"
touches "$question" Return
sleep 0.5
verifier_egal "séjours après « Revenir »" \
    "$(sql "SELECT count(*) FROM RESERVATIONS WHERE nomclient = 'Client Doublon'")" 0
cliquer_fond 672 434
question=$(attendre_fenetre "Razarivu") || echec "le chevauchement n'est pas signalé à nouveau"
touches "$question" Tab space
sleep 1
fenetre_fermee "Réservation"
verifier_egal "séjour enregistré quand même" \
    "$(sql "SELECT Objet FROM RESERVATIONS WHERE nomclient = 'Client Doublon'")" 1

etape "un séjour glissé deux jours plus tard et deux lignes plus bas, puis Ctrl+Z"
# The planning is on today, pitch 1 at the top: pitch 2's stay of tonight starts the second line.
xdotool mousemove $((GRILLE_X + 21)) $((GRILLE_Y + 30)) mousedown 1
for pas in 1 2 3 4; do
    xdotool mousemove $((GRILLE_X + 21 + 10 * pas)) $((GRILLE_Y + 30 + 10 * pas))
    sleep 0.2
done
capture "glisser"
xdotool mouseup 1
sleep 1
verifier_egal "séjour glissé" \
    "$(sql "SELECT Objet || ' ' || DateDebut || ' ' || DateFin FROM RESERVATIONS WHERE nomclient = 'Client Place Libre'")" \
    "4 $(jour 2) 14:00:00 $(jour 3) 12:00:00"
verifier_egal "note du déplacement" \
    "$(sql "SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'Déplacement : Emplacement 2 du % → Emplacement 4 du %'")" 1
touches "$CADRE" ctrl+z
sleep 1
verifier_egal "séjour ramené" \
    "$(sql "SELECT Objet || ' ' || DateDebut FROM RESERVATIONS WHERE nomclient = 'Client Place Libre'")" \
    "2 $AUJ 14:00:00"
verifier_egal "note de l'annulation" \
    "$(sql "SELECT count(*) FROM OPERATIONS WHERE libelle LIKE 'Annulation : Déplacement : Emplacement 4 %'")" 1

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0
# The stays last saved, on pitches 1 to 4, were brought into view, as a stay saved always is:
# the planning keeps the top line for the next start.
verifier_egal "première ligne gardée" "$(cle_ini "$INI" planning premiereligne)" 0

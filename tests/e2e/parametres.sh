#!/bin/sh
# The settings from outside: "&Outils", "&Paramétres"; a state recoloured through the colour
# dialog answered from the keyboard, the objects tab's splitter dragged; the frame moved, the
# program left and started again. Checked in the database and the settings files, not through
# the program.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
debuter_scenario "$@"

creer_base_demo

# A stay of the scenario, written from outside: from today, on the first object with nothing
# else in the next month, in the state "Option" that is recoloured below.
AUJOURDHUI=$(date +%Y-%m-%d)
OPTION=$(sql "select Code from ETATS where Nom = 'Option'")
[ -n "$OPTION" ] || echec "pas d'état « Option » dans la base de démonstration"
sql "insert into RESERVATIONS (Objet, nomclient, DateDebut, DateFin, Etat)
    select Numero, 'Scénario', '$AUJOURDHUI 14:00:00', date('$AUJOURDHUI', '+4 days') || ' 12:00:00',
    $OPTION from OBJETS where Numero not in (select Objet from RESERVATIONS
        where DateFin >= date('$AUJOURDHUI', '-1 day') and DateDebut <= date('$AUJOURDHUI', '+30 days'))
    order by rowid limit 1"

etape "le planning s'ouvre"
lancer_planning

etape "Outils, Paramétres"
ouvrir_parametres

etape "« Changer Couleur » de « Option » (le premier état) : #123456 au clavier"
recolorer_premier_etat 123456
# 0x563412: red in the lowest byte.
verifier_egal "couleur de « Option »" "$(sql "select CouleurPrincipale from ETATS where Code = $OPTION")" \
    5649426
verifier_egal "autres états inchangés" \
    "$(sql "select count(*) from ETATS where CouleurPrincipale = 5649426")" 1

etape "l'onglet « Objets » et sa barre de séparation"
INI="$DOSSIER/Razarivu.ini"
cliquer_onglets 108 13
sleep 0.5
verifier_egal "place de la barre, à l'ouverture" "$(cle_ini "$INI" parametres BarreSeparatrice1)" 4500

etape "la barre est tirée de 30 pixels vers la droite"
BARRE_X=$((ONGLETS_X + 2 + 8 + 303))
BARRE_Y=$((ONGLETS_Y + 26 + 8 + 100))
xdotool mousemove $BARRE_X $BARRE_Y
sleep 0.2
xdotool mousedown 1
for pas in 10 20 30; do
    xdotool mousemove $((BARRE_X + pas)) $BARRE_Y
    sleep 0.1
done
xdotool mouseup 1
sleep 0.5
verifier_egal "place de la barre, après le glissement" "$(cle_ini "$INI" parametres BarreSeparatrice1)" \
    4950

etape "l'onglet « Tarifs » : une saison de 2036 pour les chalets, la première catégorie"
cliquer_onglets 346 13
sleep 0.5
# "Ajouter une saison" starts the day after the last season, for as many persons, and opens its
# end for typing; Tab goes on to its price.
xdotool key alt+s
sleep 0.3
xdotool type "31/12/2036"
xdotool key Tab
xdotool type "120,5"
xdotool key Return alt+e
sleep 0.5
verifier_egal "saison de 2036 dans la base" \
    "$(sql "select fin || '|' || prixnuit || '|' || personnes || '|' || tauxtva from SAISONS
        where Categorie = 'Chalet' and debut = '2036-01-01 00:00:00'")" \
    "2036-12-31 00:00:00|12050|4|1000"

etape "l'onglet « Établissement » : le nom, enregistré"
cliquer_onglets 264 13
sleep 0.5
xdotool key alt+n
xdotool type "Camping des Pins"
xdotool key alt+r
sleep 0.5
verifier_egal "nom dans Razarivu.ini" "$(cle_ini "$INI" etablissement nom)" "Camping des Pins"

etape "« Quitter » ferme le dialogue ; le planning montre la nouvelle couleur"
fermer_parametres
import -window root "$CAPTURES/planning-recolore.png" 2>/dev/null || echec "capture impossible"
convert "$CAPTURES/planning-recolore.png" -format %c histogram:info:- | grep -qi "#123456" \
    || echec "aucune barre du planning n'est dessinée en #123456"

etape "le planning est déplacé dans le cadre, par sa barre de titre"
PLANNING_AVANT=$(cle_ini "$INI" Razarivu Positions)
xdotool mousemove $((X + 200)) $((Y + 55))
sleep 0.2
xdotool mousedown 1
for pas in 10 20 30 40; do
    xdotool mousemove $((X + 200 + pas)) $((Y + 55 + pas / 2))
    sleep 0.1
done
xdotool mouseup 1
sleep 2

etape "le cadre est déplacé"
xdotool windowmove "$CADRE" 120 90
sleep 2.5

etape "Fichier, Quitter"
quitter
POSITIONS=$(cle_ini "$DOSSIER/reriveved.ini" root Positions)
case "$POSITIONS" in
    "120|90|"*) ;;
    *) echec "place du cadre dans reriveved.ini : « $POSITIONS »" ;;
esac
PLANNING=$(cle_ini "$INI" Razarivu Positions)
decaler() {
    echo "$1" | awk -F'|' -v OFS='|' '{ $1 += 40; $2 += 20; print }'
}
verifier_egal "place du planning dans Razarivu.ini" "$PLANNING" "$(decaler "$PLANNING_AVANT")"

etape "au redémarrage, le cadre revient où il a été laissé"
lancer_planning
verifier_egal "coin du cadre" "$X,$Y" "120,90"

etape "Fichier, Quitter une seconde fois"
quitter
# Both windows came back where they were: their places were not written again.
verifier_egal "place du cadre, inchangée" "$(cle_ini "$DOSSIER/reriveved.ini" root Positions)" \
    "$POSITIONS"
verifier_egal "place du planning, inchangée" "$(cle_ini "$INI" Razarivu Positions)" "$PLANNING"

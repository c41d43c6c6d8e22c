#!/bin/sh
# A day at the desk, in one run of the program: "+" creates a reservation for a named client;
# a click on its bar opens it; a cheque is taken and a coffee sold; the stay is lengthened; the
# database goes read-only for a moment and a save fails in plain sight; the web pages are
# published; a state is recoloured; "&Quitter". Then everything is read from outside: the
# reservation and its journal, the page, the colour, both settings files, the backups and the
# database's integrity.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
debuter_scenario "$@"

creer_base_demo
INI="$DOSSIER/Razarivu.ini"
CLIENT="Client Bout-en-bout"
# Ten months ahead: past every demo stay (they run a few months from today), so no clash with
# one of them is asked about, and within the twenty months the web pages publish.
MOIS=$(date -d "$(date +%Y-%m-01) +10 months" +%m)
ANNEE=$(date -d "$(date +%Y-%m-01) +10 months" +%Y)

etape "le planning s'ouvre"
lancer_planning
capture "planning"

etape "« + » crée la réservation de $CLIENT"
nouvelle_reservation "$CLIENT" "10/$MOIS/$ANNEE" "14/$MOIS/$ANNEE"
NUMERO=$(sql "select NumeroReservation from RESERVATIONS where nomclient = '$CLIENT'")
[ -n "$NUMERO" ] || echec "aucune réservation « $CLIENT » dans la base"
verifier_egal "arrivée" "$(sql "select DateDebut from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "$ANNEE-$MOIS-10 14:00:00"
verifier_egal "départ" "$(sql "select DateFin from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "$ANNEE-$MOIS-14 12:00:00"
journal() {
    sql "select count(*) from OPERATIONS where numeroreservation = $NUMERO and $1"
}
verifier_egal "note de création" "$(journal "prix = 0 and libelle = 'Création de la reservation'")" 1

etape "un clic sur sa barre l'ouvre"
ouvrir_premiere_barre "$NUMERO"
capture "reservation"

etape "un chèque de 12,50 est encaissé"
encaisser_cheque "12,50"
verifier_egal "paiement au compte" \
    "$(sql "select prix || ' ' || paiement || ' ' || libelle from OPERATIONS where numeroreservation = $NUMERO and paiement = 'CHQ'")" \
    "12.5 CHQ Paiement CHQ"

etape "un café crème est vendu au bar"
vendre_cafe_creme
verifier_egal "vente au compte" \
    "$(sql "select prix from OPERATIONS where numeroreservation = $NUMERO and libelle like 'BAR Café crème%'")" "-2.5"

etape "le séjour est allongé jusqu'au 16"
changer_depart "16/$MOIS/$ANNEE"
enregistrer_reservation
fenetre_fermee "Réservation.*"
verifier_egal "nouveau départ" "$(sql "select DateFin from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "$ANNEE-$MOIS-16 12:00:00"
verifier_egal "note de modification" "$(journal "libelle = 'Modification d''informations'")" 1

etape "la base passe en lecture seule : l'enregistrement échoue, et le dit"
# As root, permissions do not stop a write: the file is made immutable instead.
if [ "$(id -u)" -eq 0 ]; then
    chattr +i "$BASE" 2>/dev/null || echec "chattr +i impossible sur $BASE"
    retablir_base() { chattr -i "$BASE"; }
else
    chmod a-w "$BASE" "$DOSSIER"
    retablir_base() { chmod u+w "$BASE" "$DOSSIER"; }
fi
ouvrir_premiere_barre "$NUMERO"
changer_depart "18/$MOIS/$ANNEE"
enregistrer_reservation
BOITE=$(attendre_fenetre "Razarivu") || { retablir_base; echec "aucun message après l'échec"; }
capture "echec-enregistrement"
touches "$BOITE" Return
sleep 0.5
# The dialog is still there with what was typed; "Revenir" leaves it.
attendre_fenetre "Réservation $NUMERO" >/dev/null || { retablir_base; echec "le dialogue s'est fermé"; }
revenir
retablir_base
verifier_egal "départ inchangé" "$(sql "select DateFin from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "$ANNEE-$MOIS-16 12:00:00"
verifier_egal "pas de seconde note de modification" "$(journal "libelle = 'Modification d''informations'")" 1
verifier_egal "intégrité après l'échec" "$(sql "PRAGMA integrity_check")" "ok"

etape "Outils, Mise à jour Internet"
publier
OBJET=$(sql "select Objet from RESERVATIONS where NumeroReservation = $NUMERO")
# The page's file: the object's own name for it, or its name + ".html", cleaned as the program does.
PAGE=$(sql "select coalesce(FichierPlanningHTML, Nom || '.html') from OBJETS where Numero = $OBJET" \
    | sed "s/[ '%+,=@*()\\/\\\\-]/_/g")
[ -s "$DOSSIER/$PAGE" ] || echec "pas de page $PAGE pour l'objet $OBJET"
cp "$DOSSIER/$PAGE" "$CAPTURES/page-publiee.html"
ETAT_PUBLIE=$(sql "select surinternet from ETATS where Code = (select Etat from RESERVATIONS where NumeroReservation = $NUMERO)")
if [ "$ETAT_PUBLIE" != 0 ]; then
    jour() {
        tr -d '\r' <"$DOSSIER/$PAGE" | grep -E "^ {11}<td bgcolor=\"$1\">.*>$2</font>" | head -n 1
    }
    [ -n "$(jour '#FF6633' 10)" ] && [ -n "$(jour '#FF0000' 15)" ] && [ -n "$(jour '#FF6633' 16)" ] \
        || echec "le séjour n'apparaît pas sur $PAGE"
else
    echec "l'état d'une réservation nouvelle n'est pas publié"
fi

etape "Outils, Paramétres : « Option » prend la couleur #123456"
ouvrir_parametres
capture "parametres"
recolorer_premier_etat 123456
capture "parametres-recolore"
fermer_parametres
verifier_egal "couleur de « Option »" "$(sql "select CouleurPrincipale from ETATS where Nom = 'Option'")" \
    5649426

etape "Fichier, Quitter"
quitter

etape "tout est là, lu hors du programme"
verifier_egal "réservation" \
    "$(sql "select nomclient || '|' || DateDebut || '|' || DateFin from RESERVATIONS where NumeroReservation = $NUMERO")" \
    "$CLIENT|$ANNEE-$MOIS-10 14:00:00|$ANNEE-$MOIS-16 12:00:00"
verifier_egal "journal du séjour" \
    "$(sql "select group_concat(prix || '|' || trim(coalesce(paiement, '')) || '|' || replace(replace(libelle, char(13), ''), char(10), ' '), ' / ') from (select * from OPERATIONS where numeroreservation = $NUMERO order by rowid)")" \
    "0.0||Création de la reservation / 12.5|CHQ|Paiement CHQ / -2.5||BAR Café crème 1 x 2,5 / 0.0||Modification d'informations"
verifier_egal "database" "$(cle_ini "$INI" system database)" "$BASE"
[ -n "$(cle_ini "$INI" Razarivu Positions)" ] || echec "Razarivu.ini : pas de place du planning"
[ -n "$(cle_ini "$DOSSIER/reriveved.ini" root Positions)" ] || echec "reriveved.ini : pas de place du cadre"
verifier_egal "place de la barre des objets" "$(cle_ini "$INI" parametres BarreSeparatrice1)" 4500
[ -f "$DOSSIER/Sauvegardes/Razarivu_1.mdb" ] || echec "pas de sauvegarde de la base"
verifier_egal "sauvegarde lisible" "$(sqlite3 "$DOSSIER/Sauvegardes/Razarivu_1.mdb" "PRAGMA integrity_check")" ok
verifier_egal "intégrité de la base" "$(sql "PRAGMA integrity_check")" ok

#!/bin/sh
# Start-up from outside: the frame opens on a demo database, "&Quitter" ends it, the settings
# file and the backups are there; a second start takes the next slot; an empty folder ends with
# the open-failure message and, the offer to create a base declined, creates none.
set -u
. "$(dirname "$0")/commun.sh"
debuter_scenario "$@"

creer_base_demo

etape "premier démarrage : le cadre s'ouvre"
lancer "$DOSSIER"
CADRE=$(attendre_fenetre "PIVANE Razarivu $VERSION") || echec "aucune fenêtre « PIVANE Razarivu $VERSION »"
sleep 1
capture "cadre-ouvert"

etape "Fichier, Quitter"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0

etape "le fichier de réglages s'est rempli"
INI="$DOSSIER/Razarivu.ini"
[ -f "$INI" ] || echec "pas de Razarivu.ini"
verifier_egal "database" "$(cle_ini "$INI" system database)" "$DOSSIER/Razarivu.mdb"
verifier_egal "sauvegardes numero" "$(cle_ini "$INI" system 'sauvegardes numero')" 1
verifier_egal "sauvegardes nombre" "$(cle_ini "$INI" system 'sauvegardes nombre')" 30
verifier_egal "nb clignotement" "$(cle_ini "$INI" reservation 'nb clignotement')" 10
verifier_egal "champsdansbarre" "$(cle_ini "$INI" planning champsdansbarre)" \
    "[nomclient] ([nbadultes]ad/[nbenfants]en)"
grep -q "$(printf '\r')\$" "$INI" || echec "Razarivu.ini n'a pas de fins de ligne CR LF"

etape "les sauvegardes de l'emplacement 1"
[ -f "$DOSSIER/Sauvegardes/Razarivu_1.mdb" ] || echec "pas de Sauvegardes/Razarivu_1.mdb"
[ -f "$DOSSIER/Sauvegardes/Razarivu_1" ] || echec "pas de Sauvegardes/Razarivu_1"
meme_contenu "$DOSSIER/Razarivu.mdb" "$DOSSIER/Sauvegardes/Razarivu_1.mdb" \
    || echec "la copie de la base diffère"
verifier_egal "copie saine" "$(sqlite3 "$DOSSIER/Sauvegardes/Razarivu_1.mdb" "pragma integrity_check")" ok
n=$(sqlite3 "$DOSSIER/Sauvegardes/Razarivu_1.mdb" "select count(*) from RESERVATIONS")
[ "$n" -gt 0 ] || echec "la copie de la base n'a pas de réservations"

etape "second démarrage : emplacement 2"
lancer "$DOSSIER"
CADRE=$(attendre_fenetre "PIVANE Razarivu $VERSION") || echec "aucune fenêtre « PIVANE Razarivu $VERSION »"
sleep 1
capture "second-demarrage"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0
verifier_egal "sauvegardes numero" "$(cle_ini "$INI" system 'sauvegardes numero')" 2
[ -f "$DOSSIER/Sauvegardes/Razarivu_2.mdb" ] || echec "pas de Sauvegardes/Razarivu_2.mdb"

# lancer_limite BLOCS: starts the program with files limited to BLOCS blocks of 512 bytes, as on
# a disk that fills up; a write past the limit fails (the signal that would kill is ignored).
lancer_limite() {
    (
        trap '' XFSZ
        ulimit -f "$1"
        RAZARIVU_DOSSIER="$DOSSIER" QT_QPA_PLATFORM=xcb exec "$PROGRAMME"
    ) >"$CAPTURES/sortie.log" 2>&1 &
    PID_PROGRAMME=$!
}

etape "disque plein pendant la copie de sauvegarde : le démarrage continue"
TAILLE=$(stat -c %s "$DOSSIER/Razarivu.mdb")
lancer_limite $((TAILLE / 512 / 2))
CADRE=$(attendre_fenetre "PIVANE Razarivu $VERSION") || echec "le programme ne démarre pas"
sleep 1
capture "disque-plein"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0
# The copy could not be made whole: no half copy in slot 3, nothing left over, the earlier
# backups untouched.
[ ! -e "$DOSSIER/Sauvegardes/Razarivu_3.mdb" ] || echec "une copie tronquée est restée dans Sauvegardes/"
ls "$DOSSIER/Sauvegardes" | grep -q '\.copie$' && echec "une copie en cours est restée dans Sauvegardes/"
meme_contenu "$DOSSIER/Razarivu.mdb" "$DOSSIER/Sauvegardes/Razarivu_2.mdb" || echec "la sauvegarde 2 a été abîmée"

etape "Razarivu.ini illisible : les réglages par défaut"
mv "$INI" "$DOSSIER/reglages-de-cote"
mkdir "$INI"
lancer "$DOSSIER"
CADRE=$(attendre_fenetre "PIVANE Razarivu $VERSION") || echec "le programme ne démarre pas sans ses réglages"
sleep 1
capture "reglages-illisibles"
touches "$CADRE" alt+f q
attendre_fin
verifier_egal "statut de sortie" "$STATUT" 0
[ -d "$INI" ] || echec "Razarivu.ini a été remplacé"
rmdir "$INI"
mv "$DOSSIER/reglages-de-cote" "$INI"

etape "base remplacée par des octets sans sens : message d'échec d'ouverture"
mv "$DOSSIER/Razarivu.mdb" "$DOSSIER/base-de-cote"
head -c 65536 /dev/urandom >"$DOSSIER/Razarivu.mdb"
cp "$DOSSIER/Razarivu.mdb" "$DOSSIER/octets"
echec_ouverture_attendu "$DOSSIER" "base-illisible"
cmp -s "$DOSSIER/Razarivu.mdb" "$DOSSIER/octets" || echec "le fichier illisible a été modifié"

etape "base supprimée : message d'échec d'ouverture, la création refusée"
rm "$DOSSIER/Razarivu.mdb"
echec_ouverture_attendu "$DOSSIER" "base-absente" absente
[ ! -e "$DOSSIER/Razarivu.mdb" ] || echec "une base vide a été créée"
mv "$DOSSIER/base-de-cote" "$DOSSIER/Razarivu.mdb"

etape "dossier vide : message d'échec d'ouverture, la création refusée"
VIDE="$DOSSIER/vide"
mkdir -p "$VIDE"
echec_ouverture_attendu "$VIDE" "echec-ouverture" absente
[ ! -e "$VIDE/Razarivu.mdb" ] || echec "une base vide a été créée"
verifier_egal "database" "$(cle_ini "$VIDE/Razarivu.ini" system database)" "$VIDE/Razarivu.mdb"

etape "fin"
echo "Scénario de démarrage réussi"

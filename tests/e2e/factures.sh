#!/bin/sh
# What a stay costs and the papers it gets, in one run of the program: services ticked in
# "Prest." are carried into the account, a longer stay carries its differences, "Fact." issues
# the invoice, the contract is printed and mailed, the month's tourist tax is stated, the day is
# closed and the journal checked. The desktop's programs are stand-ins that write down what they
# were handed. Everything is then read from outside: rows, PDFs (pdftotext), CSV.
set -u
. "$(dirname "$0")/commun.sh"
. "$(dirname "$0")/gestes.sh"
debuter_scenario "$@"

creer_base_demo
CLIENT="Client Facture"
MOIS=$(date -d "$(date +%Y-%m-01) +10 months" +%m)
ANNEE=$(date -d "$(date +%Y-%m-01) +10 months" +%Y)
OUVERTURES="$DOSSIER/ouvertures.txt"
mkdir -p "$DOSSIER/programmes"
for programme in xdg-open xdg-email; do
    printf '#!/bin/sh\necho "%s $*" >> "%s"\n' "$programme" "$OUVERTURES" >"$DOSSIER/programmes/$programme"
    chmod +x "$DOSSIER/programmes/$programme"
done
PATH="$DOSSIER/programmes:$PATH"
export PATH
# Who the establishment is and the commune's tax: 0,88 € an adult and night, 10 % more.
printf '[etablissement]\r\nnom=Camping des Pins\r\nadresse=1 chemin du Lac\r\ncodepostal=74000\r\nville=Annecy\r\nsiret=123 456 789 00012\r\ntaxemode=fixe\r\ntaxetarif=0,88\r\ntaxemajoration=10\r\n' \
    >"$DOSSIER/Razarivu.ini"

# texte_pdf FICHIER: its text, as a person reading it would find it.
texte_pdf() {
    pdftotext -layout "$1" - 2>/dev/null || echec "$1 n'est pas un PDF lisible"
}
porte() {
    sql "select printf('%.2f', sum(prix)) from OPERATIONS where numeroreservation = $NUMERO and paiement = 'PRE'"
}
# The tabs of the dialog's lower part, and the places of the tabs' controls.
onglet() {
    case $1 in
    Reservation) cliquer_fond 63 353 ;;
    Fact) cliquer_fond 278 353 ;;
    Prest) cliquer_fond 453 353 ;;
    esac
    sleep 0.5
}
dans_onglet() {
    cliquer_fond $((17 + $1)) $((366 + $2))
}

etape "le planning s'ouvre, « + » crée la réservation de $CLIENT"
lancer_planning
nouvelle_reservation "$CLIENT" "10/$MOIS/$ANNEE" "14/$MOIS/$ANNEE"
NUMERO=$(sql "select NumeroReservation from RESERVATIONS where nomclient = '$CLIENT'")
[ -n "$NUMERO" ] || echec "aucune réservation « $CLIENT » dans la base"

etape "« Prest. » : l'électricité cochée, portée au compte"
ouvrir_premiere_barre "$NUMERO"
onglet Prest
# The first service's box, then "Porter au compte".
dans_onglet 16 36
dans_onglet 487 153
sleep 1
# A room in the low season: 4 nights × 68 €, 4 × 4,50 €, 0,88 € × 4 nights and 10 %.
verifier_egal "porté au compte" "$(porte)" "-293.87"
verifier_egal "lignes portées" \
    "$(sql "select group_concat(libelle, '|') from OPERATIONS where numeroreservation = $NUMERO and paiement = 'PRE'")" \
    "Chambre – 4 nuits × 68,00 €|Électricité – 4 nuits × 4,50 €|Taxe de séjour – 1 adulte × 4 nuits"

etape "le séjour allongé : le compte suit par contre-passation"
onglet Reservation
changer_depart "16/$MOIS/$ANNEE"
enregistrer_reservation
fenetre_fermee "Réservation.*"
verifier_egal "porté après l'allongement" "$(porte)" "-440.81"
verifier_egal "contre-passations" \
    "$(sql "select count(*) from OPERATIONS where numeroreservation = $NUMERO and libelle like 'Annulation : %' and prix > 0")" 3

etape "« Fact. » : la facture est émise et ouverte"
ouvrir_premiere_barre "$NUMERO"
onglet Fact
dans_onglet 452 93
question=$(attendre_fenetre "Razarivu") || echec "aucune question avant d'émettre la facture"
capture "question-facture"
touches "$question" alt+o
sleep 1.5
FACTURE=$(sql "select numero from FACTURES where numeroreservation = $NUMERO")
verifier_egal "numéro de facture" "$FACTURE" "$(date +%Y)-0001"
PDF="$DOSSIER/Factures/$FACTURE.pdf"
TEXTE=$(texte_pdf "$PDF")
for attendu in "Facture n° $FACTURE" "$CLIENT" "Camping des Pins" "Total TTC" "440,81 €"; do
    printf '%s' "$TEXTE" | grep -qF "$attendu" || echec "« $attendu » manque à la facture"
done
grep -qF "xdg-open $PDF" "$OUVERTURES" || echec "la facture n'est pas ouverte"
pdftoppm -png -r 60 -f 1 -l 1 "$PDF" "$CAPTURES/facture" || echec "la facture ne s'affiche pas"

etape "le contrat : imprimé, puis envoyé par courrier"
onglet Reservation
cliquer_fond 327 429
sleep 1
CONTRAT="$DOSSIER/Contrats/Contrat-$NUMERO.pdf"
texte_pdf "$CONTRAT" | grep -qF "Contrat de réservation n° $NUMERO" || echec "le contrat n'est pas écrit"
grep -qF "xdg-open $CONTRAT" "$OUVERTURES" || echec "le contrat n'est pas ouvert"
pdftoppm -png -r 60 -f 1 -l 1 "$CONTRAT" "$CAPTURES/contrat" || echec "le contrat ne s'affiche pas"
cliquer_fond 493 429
sleep 1
grep -qF -- "--attach $CONTRAT" "$OUVERTURES" || echec "le contrat n'est pas joint au courrier"
verifier_egal "notes des contrats" \
    "$(sql "select count(*) from OPERATIONS where numeroreservation = $NUMERO and libelle like 'Envoi contrat par %'")" 2
revenir

etape "Outils, Taxe de séjour : le relevé du mois"
touches "$CADRE" alt+o t
taxe=$(attendre_fenetre "Taxe de séjour") || echec "le relevé de la taxe de séjour ne s'ouvre pas"
sleep 0.5
NOM_MOIS=$(LC_ALL=fr_FR.UTF-8 date -d "$ANNEE-$MOIS-01" +%B 2>/dev/null)
case $MOIS in
01) NOM_MOIS=janvier ;; 02) NOM_MOIS=février ;; 03) NOM_MOIS=mars ;; 04) NOM_MOIS=avril ;;
05) NOM_MOIS=mai ;; 06) NOM_MOIS=juin ;; 07) NOM_MOIS=juillet ;; 08) NOM_MOIS=août ;;
09) NOM_MOIS=septembre ;; 10) NOM_MOIS=octobre ;; 11) NOM_MOIS=novembre ;; 12) NOM_MOIS=décembre ;;
esac
xdotool windowfocus --sync "$taxe"
xdotool type "$NOM_MOIS"
xdotool key Tab ctrl+a
xdotool type "$ANNEE"
capture "taxe-de-sejour"
xdotool key Return
message=$(attendre_fenetre "Razarivu") || echec "aucun message après le relevé"
touches "$message" Return
CSV="$DOSSIER/Releves/Taxe-de-sejour-$ANNEE-$MOIS.csv"
grep -F "$CLIENT" "$CSV" | grep -qF ";6;1;0;0,88;5,81" || echec "le séjour n'est pas au relevé : $(cat "$CSV")"
texte_pdf "$DOSSIER/Releves/Taxe-de-sejour-$ANNEE-$MOIS.pdf" | grep -qF "Taxe de séjour" \
    || echec "le relevé PDF n'est pas écrit"
touches "$taxe" Escape
fenetre_fermee "Taxe de séjour"

etape "Outils, Clôture du jour, puis Vérifier le journal"
touches "$CADRE" alt+o j
question=$(attendre_fenetre "Razarivu") || echec "aucune question avant la clôture"
touches "$question" alt+o
message=$(attendre_fenetre "Razarivu") || echec "aucun message après la clôture"
capture "cloture"
touches "$message" Return
verifier_egal "clôture" "$(sql "select sequence || ' ' || jour from CLOTURES")" "1 $(date +%Y-%m-%d)"
touches "$CADRE" alt+o v
message=$(attendre_fenetre "Razarivu") || echec "aucun message après la vérification"
capture "verification"
touches "$message" Return

etape "Fichier, Quitter"
quitter
verifier_egal "intégrité" "$(sql "PRAGMA integrity_check")" "ok"
verifier_egal "facture figée" "$(sql "select totalttc from FACTURES where numero = '$FACTURE'")" 44081

# Shared by the end-to-end scenarios: a private X server, the program, screenshots, checks.
# A scenario calls debuter_scenario with its arguments; every step is named with etape.

ETAPE=""

# etape NAME: ends the step under way with a screenshot named after it, then starts NAME.
etape() {
    [ -n "$ETAPE" ] && [ -n "${DISPLAY:-}" ] && capture "$(nom_de_fichier "$ETAPE")"
    ETAPE="$1"
    echo "--- $ETAPE"
}

nom_de_fichier() {
    printf '%s' "$1" | iconv -f UTF-8 -t ASCII//TRANSLIT 2>/dev/null | tr -cs 'A-Za-z0-9' '-'
}

echec() {
    echo "ÉCHEC à l'étape « $ETAPE » : $*" >&2
    capture "echec"
    exit 1
}

# nouvel_ecran: a private X server of 1280 x 800; sets ECRAN (":n") and PID_ECRAN.
nouvel_ecran() {
    fichier_display=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fichier_display" 2>/dev/null &
    PID_ECRAN=$!
    i=0
    while [ ! -s "$fichier_display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$fichier_display" ] || echec "Xvfb ne démarre pas"
    ECRAN=":$(cat "$fichier_display")"
    rm -f "$fichier_display"
}

demarrer_x() {
    mkdir -p "$CAPTURES"
    rm -f "$CAPTURES"/*.png
    nouvel_ecran
    PID_X=$PID_ECRAN
    DISPLAY=$ECRAN
    export DISPLAY
    trap arreter_tout EXIT
}

arreter_tout() {
    [ -n "${PID_PROGRAMME:-}" ] && kill "$PID_PROGRAMME" 2>/dev/null
    [ -n "${PID_X:-}" ] && kill "$PID_X" 2>/dev/null
    return 0
}

capture() {
    import -window root "$CAPTURES/$NUMERO_CAPTURE-$1.png" 2>/dev/null || true
    NUMERO_CAPTURE=$((NUMERO_CAPTURE + 1))
}
NUMERO_CAPTURE=10

# lancer DOSSIER: starts the program on that application folder, in the background.
lancer() {
    RAZARIVU_DOSSIER="$1" QT_QPA_PLATFORM=xcb "$PROGRAMME" >"$CAPTURES/sortie.log" 2>&1 &
    PID_PROGRAMME=$!
}

# attendre_fenetre TITRE: the id of the visible window whose title matches exactly; fails after
# 20 s without one (call it as X=$(attendre_fenetre T) || echec ...).
attendre_fenetre() {
    fenetre=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$fenetre" ] || return 1
    echo "$fenetre"
}

# touches FENETRE TOUCHE...: gives the window the focus, then types the keys.
touches() {
    fenetre=$1
    shift
    xdotool windowfocus --sync "$fenetre" || echec "pas de focus pour $fenetre"
    for touche in "$@"; do
        xdotool key "$touche"
        sleep 0.3
    done
}

# attendre_fin: waits for the program to end; sets STATUT.
attendre_fin() {
    i=0
    while kill -0 "$PID_PROGRAMME" 2>/dev/null && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
    kill -0 "$PID_PROGRAMME" 2>/dev/null && echec "le programme ne se termine pas"
    STATUT=0
    wait "$PID_PROGRAMME" || STATUT=$?
    PID_PROGRAMME=""
}

# cle_ini FICHIER SECTION CLE: the value of a key, read without the program.
cle_ini() {
    awk -v section="$2" -v cle="$3" '
        { sub(/\r$/, "") }
        /^\[/ { courante = tolower(substr($0, 2, length($0) - 2)); next }
        courante == tolower(section) {
            i = index($0, "=")
            if (i > 0 && tolower(substr($0, 1, i - 1)) == tolower(cle)) { print substr($0, i + 1); exit }
        }' "$1"
}

# meme_contenu BASE1 BASE2: both hold the same tables and rows (a backup is a copy of the
# content, not of the bytes).
meme_contenu() {
    [ "$(sqlite3 "$1" .dump)" = "$(sqlite3 "$2" .dump)" ]
}

verifier_egal() {
    [ "$2" = "$3" ] || echec "$1 : « $2 » au lieu de « $3 »"
}

# debuter_scenario PROGRAMME CREER_BASE CAPTURES VERSION: a private X server and an empty
# application folder DOSSIER, both gone at the end.
debuter_scenario() {
    PROGRAMME=$1
    CREER_BASE=$2
    CAPTURES=$3
    VERSION=$4
    demarrer_x
    DOSSIER=$(mktemp -d)
    trap 'arreter_tout; rm -rf "$DOSSIER"' EXIT
}

# lancer_planning: starts the program on DOSSIER and waits for its frame; sets CADRE, its corner
# X, Y and the corner of the planning's navigation block COLONNES_X, COLONNES_Y.
lancer_planning() {
    lancer "$DOSSIER"
    # A maximised planning adds its own title to the frame's, as multiple-document frames do.
    CADRE=$(attendre_fenetre "PIVANE Razarivu $VERSION( - \[Calendrier\])?") \
        || echec "aucune fenêtre « PIVANE Razarivu $VERSION »"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$CADRE")"
    # The planning window's controls, from the frame's corner (menu bar, strip, sub-window title).
    COLONNES_X=$((X + 12))
    COLONNES_Y=$((Y + 76))
}

# creer_base_demo: the demo database in DOSSIER, whose path is BASE.
creer_base_demo() {
    etape "base de démonstration"
    BASE="$DOSSIER/Razarivu.mdb"
    "$CREER_BASE" "$BASE" --demo || echec "razarivu-creer-base a échoué"
}

# sql TEXTE: runs it on BASE with sqlite3, from outside the program.
sql() {
    sqlite3 "$BASE" "$1" || echec "lecture de la base impossible : $1"
}

# echec_ouverture_attendu DOSSIER CAPTURE [absente]: the program started on DOSSIER shows the
# open-failure message, which Enter closes; when the base is absent, the offer to create one
# follows, which Escape (Non) declines; it ends with a non-zero status.
echec_ouverture_attendu() {
    lancer "$1"
    boite=$(attendre_fenetre "Razarivu") || echec "aucun message d'échec d'ouverture"
    sleep 0.5
    capture "$2"
    touches "$boite" Return
    if [ "${3:-}" = absente ]; then
        sleep 1
        question=$(attendre_fenetre "Razarivu") || echec "la création d'une base n'est pas proposée"
        capture "$2-question"
        touches "$question" Escape
    fi
    attendre_fin
    [ "$STATUT" -ne 0 ] || echec "statut 0 après l'échec d'ouverture"
}

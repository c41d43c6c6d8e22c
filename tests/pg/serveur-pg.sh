#!/bin/sh
# A private PostgreSQL 15 cluster for the tests, listening on 127.0.0.1 only.
#   serveur-pg.sh demarrer DOSSIER    starts it (or finds it running) and prints its address
#   serveur-pg.sh base DOSSIER NOM    makes the database NOM afresh and prints its address
#   serveur-pg.sh arreter DOSSIER     stops it and removes DOSSIER
set -eu

BIN=/usr/lib/postgresql/15/bin
# Ports below this are left to clusters installed on the machine.
PREMIER_PORT=54320
DERNIER_PORT=54419

echec() {
    printf 'serveur-pg : %s\n' "$*" >&2
    exit 1
}

usage() {
    echec "usage : $0 demarrer DOSSIER | arreter DOSSIER | base DOSSIER NOM"
}

[ $# -ge 2 ] || usage
action=$1
DOSSIER=$2

for programme in initdb pg_ctl postgres pg_isready; do
    [ -x "$BIN/$programme" ] || echec "PostgreSQL 15 est introuvable (paquet postgresql-15)"
done
if [ -x "$BIN/psql" ]; then
    PSQL=$BIN/psql
else
    PSQL=$(command -v psql) || echec "psql est introuvable (paquet postgresql-client-15)"
fi

# PostgreSQL refuses to run as root, so root hands the cluster to an unprivileged user.
utilisateur=
if [ "$(id -u)" = 0 ]; then
    if id postgres >/dev/null 2>&1; then utilisateur=postgres; else utilisateur=nobody; fi
fi

en_tant_que() {
    if [ -z "$utilisateur" ]; then
        "$@"
    elif command -v runuser >/dev/null 2>&1; then
        runuser -u "$utilisateur" -- "$@"
    else
        # The arguments go to the shell as positional parameters, so none needs quoting.
        su -s /bin/sh "$utilisateur" -c 'exec "$@"' -- sh "$@"
    fi
}

donner() {
    if [ -n "$utilisateur" ]; then chown "$utilisateur" "$1"; fi
}

# What did not fit in DOSSIER lives in a folder under /tmp, reached through a symbolic link.
chemin() {
    if [ -L "$1" ]; then readlink "$1"; else printf '%s\n' "$1"; fi
}

en_marche() {
    [ -f "$DONNEES/postmaster.pid" ] && en_tant_que "$BIN/pg_ctl" status -D "$DONNEES" >/dev/null 2>&1
}

port_de_l_adresse() {
    [ -f "$DOSSIER/adresse" ] || return 1
    sed -n 's|^postgresql://[^@]*@127\.0\.0\.1:\([0-9][0-9]*\)/.*$|\1|p' "$DOSSIER/adresse"
}

# The notice that DROP DATABASE IF EXISTS found nothing is no news to the caller.
sql() {
    PGOPTIONS='-c client_min_messages=warning' "$PSQL" -X -q -v ON_ERROR_STOP=1 \
        -h 127.0.0.1 -p "$port" -U razarivu -d postgres -c "$1" >/dev/null
}

nettoyer() {
    if [ -f "$DOSSIER/provisoire" ]; then
        provisoire=$(cat "$DOSSIER/provisoire")
        case $provisoire in
            /tmp/razarivu-pg.*) rm -rf "$provisoire" ;;
        esac
    fi
}

# Relative paths would mean something else to the server, whose working folder is its data.
if [ -d "$DOSSIER" ]; then DOSSIER=$(cd "$DOSSIER" && pwd -P); fi
case $DOSSIER in
    /*) ;;
    *) [ "$action" = demarrer ] || DOSSIER=$(pwd -P)/$DOSSIER ;;
esac
DONNEES=
if [ -e "$DOSSIER/donnees" ] || [ -L "$DOSSIER/donnees" ]; then DONNEES=$(chemin "$DOSSIER/donnees"); fi

case $action in
arreter)
    [ $# -eq 2 ] || usage
    [ -d "$DOSSIER" ] || exit 0
    cd /
    if [ -n "$DONNEES" ] && en_marche; then
        en_tant_que "$BIN/pg_ctl" stop -D "$DONNEES" -m fast -w -t 60 -s >/dev/null \
            || echec "le serveur PostgreSQL de $DOSSIER ne s'arrête pas"
    fi
    nettoyer
    rm -rf "$DOSSIER"
    ;;

base)
    [ $# -eq 3 ] || usage
    nom=$3
    case $nom in
        '' | *[!A-Za-z0-9_-]*) echec "nom de base invalide : « $nom » (lettres, chiffres, _ et - seulement)" ;;
    esac
    port=$(port_de_l_adresse) || port=
    if [ -z "$port" ] || [ -z "$DONNEES" ] || ! en_marche; then
        echec "aucun serveur PostgreSQL ne tourne dans $DOSSIER (serveur-pg.sh demarrer)"
    fi
    sql "DROP DATABASE IF EXISTS \"$nom\" WITH (FORCE)" \
        || echec "impossible de supprimer la base $nom"
    sql "CREATE DATABASE \"$nom\" OWNER razarivu" || echec "impossible de créer la base $nom"
    printf 'postgresql://razarivu@127.0.0.1:%s/%s\n' "$port" "$nom"
    ;;

demarrer)
    [ $# -eq 2 ] || usage
    mkdir -p "$DOSSIER" || echec "impossible de créer $DOSSIER"
    DOSSIER=$(cd "$DOSSIER" && pwd -P)
    cd /
    if [ -n "$DONNEES" ] && [ -f "$DOSSIER/adresse" ] && en_marche; then
        cat "$DOSSIER/adresse"
        exit 0
    fi
    # Whatever an earlier run left here is of no use without its server.
    nettoyer
    rm -rf "$DOSSIER/donnees" "$DOSSIER/socket" "$DOSSIER/provisoire" "$DOSSIER/adresse" \
        "$DOSSIER/initdb.log"
    donner "$DOSSIER"

    provisoire=
    # Sets $place to DOSSIER/$1 moved under /tmp, the link left in DOSSIER.
    dans_tmp() {
        if [ -z "$provisoire" ]; then
            provisoire=$(mktemp -d /tmp/razarivu-pg.XXXXXX) \
                || echec "impossible de créer un dossier sous /tmp"
            donner "$provisoire"
            printf '%s\n' "$provisoire" >"$DOSSIER/provisoire"
        fi
        place=$provisoire/$1
        ln -s "$place" "$DOSSIER/$1"
    }
    # A folder the server's user cannot reach (a parent only root may enter) or whose name
    # the server's command line or configuration would need to quote is not used for its files.
    utilisable=0
    if en_tant_que test -w "$DOSSIER" && en_tant_que test -x "$DOSSIER"; then
        case $DOSSIER in
            *[!A-Za-z0-9/._-]*) ;;
            *) utilisable=1 ;;
        esac
    fi
    if [ $utilisable = 1 ]; then DONNEES=$DOSSIER/donnees; else dans_tmp donnees; DONNEES=$place; fi
    # A unix socket's whole path, ".s.PGSQL.NNNNN" included, must fit in 107 bytes.
    socket=$DOSSIER/socket
    if [ $utilisable = 0 ] || [ ${#socket} -gt 90 ]; then dans_tmp socket; socket=$place; fi
    mkdir "$socket"
    donner "$socket"

    # C.UTF-8 rather than C so that lower() and upper() know accented letters.
    locale=C
    if locale -a 2>/dev/null | grep -qix 'c\.utf-\{0,1\}8'; then locale=C.UTF-8; fi
    en_tant_que "$BIN/initdb" -D "$DONNEES" -U razarivu -A trust -E UTF8 --locale="$locale" \
        --no-sync --no-instructions >"$DOSSIER/initdb.log" 2>&1 \
        || { cat "$DOSSIER/initdb.log" >&2; echec "initdb a échoué dans $DONNEES"; }
    # The tests throw the cluster away: durability is not worth its time.
    cat >>"$DONNEES/postgresql.conf" <<FIN

listen_addresses = '127.0.0.1'
unix_socket_directories = '$socket'
max_connections = 100
fsync = off
full_page_writes = off
synchronous_commit = off
FIN

    journal=$DONNEES/journal
    port=$PREMIER_PORT
    while :; do
        [ "$port" -le "$DERNIER_PORT" ] \
            || echec "aucun port libre entre $PREMIER_PORT et $DERNIER_PORT sur 127.0.0.1"
        # Exit status 2: nothing answers there. Another run may still take the port first,
        # which the server's failure to bind shows below.
        if "$BIN/pg_isready" -q -h 127.0.0.1 -p "$port" -t 2 || [ $? -ne 2 ]; then
            port=$((port + 1))
            continue
        fi
        rm -f "$journal"
        if en_tant_que "$BIN/pg_ctl" start -D "$DONNEES" -l "$journal" -o "-p $port" -w -t 30 -s \
            >/dev/null 2>&1; then
            break
        fi
        if grep -q -e 'could not bind' -e 'could not create any TCP/IP sockets' "$journal" 2>/dev/null; then
            port=$((port + 1))
            continue
        fi
        [ -f "$journal" ] && tail -n 20 "$journal" >&2
        echec "le serveur PostgreSQL ne démarre pas (journal : $journal)"
    done

    secondes=0
    until "$BIN/pg_isready" -q -h 127.0.0.1 -p "$port" -U razarivu -d postgres; do
        secondes=$((secondes + 1))
        [ $secondes -le 30 ] || echec "le serveur PostgreSQL n'accepte pas de connexion (port $port)"
        sleep 1
    done
    # initdb -U made razarivu the cluster's superuser; only its database is missing.
    sql "CREATE DATABASE razarivu OWNER razarivu" || echec "impossible de créer la base razarivu"
    adresse=postgresql://razarivu@127.0.0.1:$port/razarivu
    printf '%s\n' "$adresse" >"$DOSSIER/adresse"
    printf '%s\n' "$adresse"
    ;;

*)
    usage
    ;;
esac

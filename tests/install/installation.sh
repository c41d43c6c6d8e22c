#!/bin/sh
# `cmake --install` of the current build into a fresh prefix: exactly the program, the database
# tool, the menu entry and the icon land there, the menu entry is valid, and the installed copies
# work: the tool makes a demo database, the program starts on it and draws its planning.
# Arguments: cmake, build folder.
set -u
CMAKE=$1
BUILD=$2

TEMP=$(mktemp -d)
trap 'chmod -R u+w "$TEMP"; rm -rf "$TEMP"' EXIT
PREFIXE=$TEMP/prefixe
# The installed program must not touch the settings of whoever runs the test.
export HOME="$TEMP/maison" XDG_CONFIG_HOME="$TEMP/maison/.config" XDG_DATA_HOME="$TEMP/maison/.local/share"
mkdir -p "$HOME"

echec() {
    echo "ÉCHEC : $*" >&2
    exit 1
}

"$CMAKE" --install "$BUILD" --prefix "$PREFIXE" >"$TEMP/installation.log" 2>&1 \
    || { cat "$TEMP/installation.log" >&2; echec "cmake --install a échoué"; }

attendus="bin/Razarivu
bin/razarivu-copier-base
bin/razarivu-creer-base
share/applications/razarivu.desktop
share/icons/hicolor/scalable/apps/razarivu.svg"
installes=$(cd "$PREFIXE" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$installes" = "$attendus" ] \
    || echec "fichiers installés :
$installes
attendus :
$attendus"
for programme in Razarivu razarivu-creer-base razarivu-copier-base; do
    [ -x "$PREFIXE/bin/$programme" ] || echec "bin/$programme n'est pas exécutable"
done

command -v desktop-file-validate >/dev/null \
    || echec "desktop-file-validate manque (paquet desktop-file-utils : scripts/installer-paquets)"
ENTREE=$PREFIXE/share/applications/razarivu.desktop
desktop-file-validate "$ENTREE" || echec "razarivu.desktop n'est pas valide"
grep -qx 'Exec=Razarivu' "$ENTREE" || echec "Exec ne lance pas Razarivu"
grep -qx 'Icon=razarivu' "$ENTREE" || echec "Icon ne désigne pas razarivu"
grep -qx 'Categories=Office;' "$ENTREE" || echec "Categories n'est pas Office;"
head -c 200 "$PREFIXE/share/icons/hicolor/scalable/apps/razarivu.svg" | grep -q '<svg' \
    || echec "l'icône n'est pas un SVG"

# An installed copy keeps its data in the user's data folder, never beside itself.
chmod a-w "$PREFIXE/bin"
DONNEES=$XDG_DATA_HOME/Razarivu
mkdir -p "$DONNEES"
"$PREFIXE/bin/razarivu-creer-base" "$DONNEES/Razarivu.mdb" --demo \
    || echec "razarivu-creer-base n'a pas créé la base de démonstration"
reservations=$(sqlite3 "$DONNEES/Razarivu.mdb" 'select count(*) from RESERVATIONS' 2>&1)
[ "$reservations" -gt 0 ] 2>/dev/null || echec "base de démonstration sans réservations ($reservations)"

sortie=$(env -u RAZARIVU_DOSSIER QT_QPA_PLATFORM=offscreen RAZARIVU_MESURE_DEMARRAGE=1 \
    timeout 60 "$PREFIXE/bin/Razarivu" 2>"$TEMP/erreurs.log")
statut=$?
[ "$statut" -eq 0 ] || { cat "$TEMP/erreurs.log" >&2; echec "Razarivu installé sort avec le statut $statut"; }
[ "$sortie" = "planning dessiné" ] || echec "Razarivu installé n'a pas dessiné son planning : « $sortie »"
[ -f "$DONNEES/Razarivu.ini" ] || echec "pas de Razarivu.ini dans $DONNEES"
[ -f "$DONNEES/Sauvegardes/Razarivu_1.mdb" ] || echec "pas de sauvegarde de la base dans $DONNEES"
[ "$(ls "$PREFIXE/bin" | wc -l)" -eq 3 ] || echec "des fichiers ont été écrits dans bin/ : $(ls "$PREFIXE/bin")"
echo "installation vérifiée ; données dans $DONNEES"

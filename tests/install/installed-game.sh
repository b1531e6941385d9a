#!/usr/bin/env bash
# Installs the game into a scratch prefix, moves the prefix, runs the moved
# game once on a display with a scratch XDG_DATA_HOME (the scripted run saves
# a game and changes a setting, then quits), and checks that the prefix is
# byte for byte as installed while the player's folder holds what was saved.
#   installed-game.sh <cmake> <build folder>
set -euo pipefail
cmake=$1
build=$2
# shellcheck source-path=SCRIPTDIR source=scratch.sh
. "$(dirname "$0")/scratch.sh"

"$cmake" --install "$build" --prefix "$scratch/prefix" >/dev/null
mv "$scratch/prefix" "$scratch/moved"
prefix=$scratch/moved

# What a desktop finds.
desktop-file-validate "$prefix/share/applications/velmorique.desktop" || fail "desktop entry rejected"
for size in 16 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/velmorique.png
  read -r -a header <<<"$(od -An -tu1 -j12 -N12 "$icon" 2>/dev/null)" || fail "no ${size}px icon"
  # The IHDR chunk: its name, then the width and height, big-endian.
  width=$(((header[4] << 24) | (header[5] << 16) | (header[6] << 8) | header[7]))
  height=$(((header[8] << 24) | (header[9] << 16) | (header[10] << 8) | header[11]))
  [ "${header[0]}" = 73 ] && [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "no ${size}px icon"
done
gzip -dc "$prefix/share/man/man6/velmorique.6.gz" | grep -q '^\.TH VELMORIQUE 6' || fail "no manual page"
[ -f "$prefix/share/velmorique/Ressources.dat" ] || fail "no resource archive"
for own in setup.ini settings.dat score.dat saves Ressources; do
  [ ! -e "$prefix/share/velmorique/$own" ] || fail "$own installed: it belongs to the player or the archive"
done

snapshot() { (cd "$prefix" && find . -printf '%p %y %s %m\n' | sort && find . -type f -print0 | sort -z |
  xargs -0 md5sum); }
snapshot >"$scratch/before"

# The player's session: a home of its own, and no user folder named.
user=$scratch/xdg/velmorique
save="partie été"
# In a sanitizer build the program is checked for leaks by the unit tests,
# which know what the display's libraries keep for the life of the process;
# here only its files are looked at.
asan_options=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
run() {
  env -u VELMORIQUE_USER_DIR HOME="$scratch/home" XDG_DATA_HOME="$scratch/xdg" ASAN_OPTIONS="$asan_options" \
    VELMORIQUE_SCRIPTED_RUN="$save" VELMORIQUE_DISCOVERY=127.0.0.1 SDL_AUDIODRIVER=dummy \
    LIBGL_ALWAYS_SOFTWARE=1 "$@"
}
mkdir -p "$scratch/home"
if [ -n "${DISPLAY:-}" ]; then
  run timeout 120 "$prefix/bin/velmorique" || fail "the game ended with $?"
else
  run timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$prefix/bin/velmorique" || fail "the game ended with $?"
fi

snapshot >"$scratch/after"
diff "$scratch/before" "$scratch/after" >&2 || fail "the run changed the installed prefix"

# A human against the computer: two player records of 4 and 8 bytes, the side
# to move, 16 cells and the clock. The name is UTF-8 on the disk.
[ "$(stat -c %s "$user/saves/$save.tnv" 2>/dev/null)" = 156 ] || {
  ls -lR "$scratch/xdg" >&2 || true
  fail "no saved game in $user/saves"
}
# settings.dat: the flags word, then the music level the run set (77).
[ "$(od -An -tu4 -j4 -N4 "$user/settings.dat" | tr -d ' ')" = 77 ] || fail "the music level was not saved"
grep -q '^PionSet = ' "$user/setup.ini" || fail "no set-up file"
[ -s "$user/Ressources/lang.ini" ] || fail "no language file"
echo "installed, moved and played: the prefix is unchanged, the player's folder holds the game and settings"

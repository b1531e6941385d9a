#!/usr/bin/env bash
# Builds the Debian package from a built tree and lists it: the program, its
# data, the launcher entry, icons and manual page under /usr, none of a
# player's files, and dependencies on Debian's libraries.
#   package.sh <source folder> <build folder>
set -euo pipefail
source=$1
build=$2
# shellcheck source-path=SCRIPTDIR source=scratch.sh
. "$(dirname "$0")/scratch.sh"

deb=$("$source/tools/package" --no-build "$build" "$scratch") || fail "tools/package failed"
dpkg-deb -c "$deb" | awk '{print $NF}' >"$scratch/files"
for path in ./usr/bin/velmorique ./usr/share/velmorique/Ressources.dat ./usr/share/velmorique/Video/menu.wmv \
  ./usr/share/applications/velmorique.desktop ./usr/share/icons/hicolor/48x48/apps/velmorique.png \
  ./usr/share/man/man6/velmorique.6.gz; do
  grep -qxF "$path" "$scratch/files" || fail "$path missing from $(basename "$deb")"
done
! grep -E '/(setup\.ini|settings\.dat|score\.dat|saves/|Ressources/)' "$scratch/files" || fail "a player's file is packed"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2 libavcodec libepoxy libpng libvorbisfile libc6 xdg-utils; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "$(basename "$deb"): $(wc -l <"$scratch/files") entries; Depends: $depends"

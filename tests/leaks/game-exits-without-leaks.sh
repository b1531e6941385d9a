#!/usr/bin/env bash
# Runs the game program of a sanitizer build through its scripted session (a
# game against the computer saved, a setting changed, then quit) on a display
# with leak detection on. It must end with status 0 and no report: what the
# display's libraries keep for the life of the process is not reported, so a
# report here is a leak of the game's own.
#   game-exits-without-leaks.sh <build folder>
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/user"

run() {
  VELMORIQUE_USER_DIR="$scratch/user" VELMORIQUE_SCRIPTED_RUN=fuite VELMORIQUE_DISCOVERY=127.0.0.1 \
    SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1" \
    "$@"
}
status=0
if [ -n "${DISPLAY:-}" ]; then
  run timeout 120 "$build/velmorique" 2>"$scratch/stderr" || status=$?
else
  run timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$build/velmorique" 2>"$scratch/stderr" || status=$?
fi
if grep -q 'Sanitizer' "$scratch/stderr" || [ "$status" != 0 ]; then
  cat "$scratch/stderr" >&2
  echo "FAIL: the game ended with status $status" >&2
  exit 1
fi
[ -f "$scratch/user/saves/fuite.tnv" ] || {
  echo "FAIL: the scripted session saved no game" >&2
  exit 1
}
echo "the scripted session ended with status 0 and no sanitizer report"

#!/usr/bin/env bash
# ./play builds the program and its data, and nothing of the tests: on a
# fresh machine the game must not wait for hundreds of test programs.
#   play-builds-game-only.sh <source folder> <build folder>
set -euo pipefail
source=$1
build=$2
# shellcheck source-path=SCRIPTDIR source=scratch.sh
. "$(dirname "$0")/scratch.sh"

grep -qE '^cmake --build build .*--target game( |$)' "$source/play" || fail "./play does not build the game target alone"
# Every command the game target needs, built or not.
ninja -C "$build" -t commands game >"$scratch/commands" || fail "no game target in $build"
grep -q -- '-o velmorique\b' "$scratch/commands" || fail "the game target does not link the program"
grep -q 'Ressources.dat' "$scratch/commands" || fail "the game target does not pack the data"
if grep -E 'tests/|gtest|benchmark' "$scratch/commands" >"$scratch/tests"; then
  head -5 "$scratch/tests" >&2
  fail "the game target builds $(wc -l <"$scratch/tests") test or benchmark steps"
fi
echo "game target: $(wc -l <"$scratch/commands") commands, no test"

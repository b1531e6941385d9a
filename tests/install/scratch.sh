# shellcheck shell=bash
# Sourced by the install checks: a scratch folder that goes when the check
# ends, however it ends, and how a check reports a failure.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

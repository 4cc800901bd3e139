#!/usr/bin/env bash
# Unpacks a release zip into a fresh folder, with a space in its name as in
# "Program Files", and runs the release test against that folder.
# Usage: check-package.sh PYTHON ZIP TEST_EXE EMULATOR... (CTest runs it)
set -euo pipefail
python=$1 zip=$2 test=$3
shift 3
fresh=$(mktemp -d "${TMPDIR:-/tmp}/qorvane-package.XXXXXX")
trap 'rm -rf "$fresh"' EXIT
folder="$fresh/Qorvane release"
"$python" -m zipfile -e "$zip" "$folder"
# Wine's drive Z: is the Unix root.
export QV_UNPACKED_DIR="Z:${folder//\//\\}"
"$@" "$test"

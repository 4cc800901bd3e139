#!/usr/bin/env bash
# Builds the release zips of both bitnesses into build/:
# Qorvane-<version>-x64.zip and Qorvane-<version>-x86.zip, each with Murvel.exe,
# TessikDLL.dll and README.txt. The version is the project's, in CMakeLists.txt.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing
for arch in x86_64 i686; do
    qv_log "building the $arch package"
    qv_build "$arch" release_zip
    zip=$(cat "$QV_ROOT/build/$arch/release-zip.txt")
    cp "$zip" "$QV_ROOT/build/"
    echo "$QV_ROOT/build/$(basename "$zip"): $(stat -c %s "$zip") bytes"
done

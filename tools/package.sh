#!/usr/bin/env bash
# Builds the release packages of both bitnesses into build/: the zips
# Qorvane-<version>-x64.zip and Qorvane-<version>-x86.zip, each with Murvel.exe,
# TessikDLL.dll and README.txt, and beside them the per-user installers
# Qorvane-<version>-x64-setup.exe and Qorvane-<version>-x86-setup.exe. The
# version is the project's, in CMakeLists.txt.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing
for arch in x86_64 i686; do
    qv_log "building the $arch package"
    qv_build "$arch" release_zip installer
    for made in "$(cat "$QV_ROOT/build/$arch/release-zip.txt")" \
        "$(cat "$QV_ROOT/build/$arch/installer.txt")"; do
        cp "$made" "$QV_ROOT/build/"
        echo "$QV_ROOT/build/$(basename "$made"): $(stat -c %s "$made") bytes"
    done
done

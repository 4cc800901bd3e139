#!/usr/bin/env bash
# Builds the release packages of both bitnesses into build/: the zips
# Qorvane-<version>-x64.zip and Qorvane-<version>-x86.zip, each with Murvel.exe,
# TessikDLL.dll, README.txt and the administrative templates in policies\, and
# beside them the per-user installers Qorvane-<version>-x64-setup.exe and
# Qorvane-<version>-x86-setup.exe and the templates alone,
# Qorvane-<version>-policies.zip. The version is the project's, in
# CMakeLists.txt.
# Then the package managers' manifests of these files: build/winget/manifests/
# (winget, the setups) and build/scoop/qorvane.json (Scoop, the zips). They
# point at the files as published under QV_RELEASE_URL, where "{version}"
# stands for the version (default https://qorvane.example/download/{version},
# a placeholder); QV_HOMEPAGE names the project's page.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing
manifest_args=()
for arch in x86_64 i686; do
    qv_log "building the $arch package"
    qv_build "$arch" release_zip installer policies_zip
    zip=$(cat "$QV_ROOT/build/$arch/release-zip.txt")
    setup=$(cat "$QV_ROOT/build/$arch/installer.txt")
    for made in "$zip" "$setup"; do
        cp "$made" "$QV_ROOT/build/"
        echo "$QV_ROOT/build/$(basename "$made"): $(stat -c %s "$made") bytes"
    done
    [ "$arch" = x86_64 ] && pkg=x64 || pkg=x86
    manifest_args+=(--zip "$pkg=$QV_ROOT/build/$(basename "$zip")"
        --setup "$pkg=$QV_ROOT/build/$(basename "$setup")")
done
# The same templates in both builds.
policies=$(cat "$QV_ROOT/build/x86_64/policies-zip.txt")
cp "$policies" "$QV_ROOT/build/"
echo "$QV_ROOT/build/$(basename "$policies"): $(stat -c %s "$policies") bytes"

release_url=${QV_RELEASE_URL:-'https://qorvane.example/download/{version}'}
python3 "$QV_ROOT/tools/make-manifests.py" --version "$(cat "$QV_ROOT/build/x86_64/version.txt")" \
    --release-url "$release_url" --homepage "${QV_HOMEPAGE:-https://qorvane.example/}" \
    --out "$QV_ROOT/build" "${manifest_args[@]}"

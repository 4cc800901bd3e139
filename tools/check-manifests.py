#!/usr/bin/env python3
"""Writes the package managers' manifests for this build's setup and zip and
checks them as winget and Scoop read them: every manifest parses and agrees
with the others, and every hash is the SHA-256 of the file its URL names. Also
checks the templates zip against the sources, and the hashes of the manifests
tools/package.sh last wrote into build/ for this version, if any.

check-manifests.py --version V --policies-zip ZIP --sources DIR
                   --setup ARCH=FILE --zip ARCH=FILE   (CTest runs it)
"""
import argparse
import hashlib
import json
import os
import subprocess
import sys
import tempfile
import zipfile

try:
    import yaml
except ImportError:
    sys.exit("check-manifests: needs PyYAML (Debian: python3-yaml; tools/common.sh installs it)")

URL = "https://downloads.test/qorvane/{version}"
WINGET = ["winget", "manifests", "q", "Qorvane", "Qorvane"]
KINDS = {".yaml": "version", ".installer.yaml": "installer",
         ".locale.en-US.yaml": "defaultLocale", ".locale.zh-CN.yaml": "locale"}
TEMPLATES = ["Qorvane.admx", "en-US/Qorvane.adml", "zh-CN/Qorvane.adml"]
faults = []


def check(ok, what):
    if not ok:
        faults.append(what)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def load_yaml(path, kind, version):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    document = yaml.safe_load(text)
    check(text.startswith("# yaml-language-server: $schema=https://aka.ms/winget-manifest."
                          "%s.%s.schema.json\n" % (kind, document.get("ManifestVersion"))),
          path + ": no schema line of its kind and version")
    check(tuple(map(int, str(document.get("ManifestVersion")).split("."))) >= (1, 6, 0),
          path + ": manifest version below 1.6.0")
    for key, want in (("PackageIdentifier", "Qorvane.Qorvane"), ("PackageVersion", version),
                      ("ManifestType", kind)):
        check(document.get(key) == want, "%s: %s is %r" % (path, key, document.get(key)))
    return document


def check_winget(folder, version, arch, setup):
    documents = {kind: load_yaml(os.path.join(folder, "Qorvane.Qorvane" + suffix), kind, version)
                 for suffix, kind in KINDS.items()}
    check(documents["version"]["DefaultLocale"] == documents["defaultLocale"]["PackageLocale"],
          "the default locale has no manifest")
    for key in ("Publisher", "PackageName", "License", "ShortDescription"):
        check(documents["defaultLocale"].get(key), "the default locale has no " + key)
    installer = documents["installer"]
    check(installer["InstallerType"] == "nullsoft", "not a nullsoft installer")
    scopes = []
    for entry in installer["Installers"]:
        check(entry["InstallerUrl"] == URL.format(version=version) + "/" + os.path.basename(setup),
              "winget URL " + entry["InstallerUrl"])
        check(entry["Architecture"] == arch, "winget architecture " + entry["Architecture"])
        check(entry["InstallerSha256"] == sha256(setup).upper(), "winget hash")
        scopes.append(entry["Scope"])
        switches = entry["InstallerSwitches"]
        check(switches["Silent"] == switches["SilentWithProgress"] == "/S",
              "%s: silent switches %r" % (entry["Scope"], switches))
        check(("/ALLUSERS" in switches.get("Custom", "").split()) == (entry["Scope"] == "machine"),
              "%s: custom switches %r" % (entry["Scope"], switches.get("Custom")))
    check(sorted(scopes) == ["machine", "user"], "winget scopes %r" % scopes)


def check_scoop(path, version, arch, zip_path):
    with open(path, encoding="utf-8") as f:
        manifest = json.load(f)
    check(manifest["version"] == version, "scoop version %r" % manifest["version"])
    entries = manifest["architecture"]
    check(list(entries) == [{"x64": "64bit", "x86": "32bit"}[arch]], "scoop %r" % list(entries))
    for entry in entries.values():
        check(entry["url"] == URL.format(version=version) + "/" + os.path.basename(zip_path),
              "scoop URL " + entry["url"])
        check(entry["hash"] == sha256(zip_path), "scoop hash")
    with zipfile.ZipFile(zip_path) as z:
        for program in [manifest["bin"]] + [shortcut[0] for shortcut in manifest["shortcuts"]]:
            check(program in z.namelist(), "the zip has no " + program)
    check(sorted(manifest["persist"]) == ["Tessik.dat", "Tessik.ini"], "scoop persist")


def main():
    parser = argparse.ArgumentParser()
    for option in ("--version", "--policies-zip", "--sources", "--setup", "--zip"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    arch, setup = args.setup.split("=", 1)
    zip_path = args.zip.split("=", 1)[1]

    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "make-manifests.py"),
                        "--version", args.version, "--release-url", URL, "--out", out,
                        "--setup", args.setup, "--zip", args.zip],
                       check=True, stdout=subprocess.DEVNULL)
        check_winget(os.path.join(out, *WINGET, args.version), args.version, arch, setup)
        check_scoop(os.path.join(out, "scoop", "qorvane.json"), args.version, arch, zip_path)

    with zipfile.ZipFile(args.policies_zip) as z:
        check(sorted(z.namelist()) == sorted(TEMPLATES), "templates zip holds %r" % z.namelist())
        for name in set(TEMPLATES) & set(z.namelist()):
            with open(os.path.join(args.sources, "package", "policies", name), "rb") as f:
                check(z.read(name) == f.read(), "templates zip: " + name)

    # Published as they are, the files beside package.sh's manifests must be
    # the ones hashed.
    build = os.path.join(args.sources, "build")
    written = []
    installer = os.path.join(build, *WINGET, args.version, "Qorvane.Qorvane.installer.yaml")
    if os.path.isfile(installer):
        written += [(e["InstallerUrl"], e["InstallerSha256"].lower())
                    for e in load_yaml(installer, "installer", args.version)["Installers"]]
    scoop = os.path.join(build, "scoop", "qorvane.json")
    if os.path.isfile(scoop):
        with open(scoop, encoding="utf-8") as f:
            manifest = json.load(f)
        if manifest["version"] == args.version:
            written += [(e["url"], e["hash"]) for e in manifest["architecture"].values()]
    for url, digest in written:
        local = os.path.join(build, url.rsplit("/", 1)[-1])
        check(os.path.isfile(local) and digest == sha256(local), "build/: hash of " + local)

    for fault in faults:
        print("FAULT:", fault)
    print("%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

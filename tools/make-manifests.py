#!/usr/bin/env python3
"""Writes the package managers' manifests for the release files.

make-manifests.py --version V --release-url URL --out DIR
                  [--homepage URL] [--setup ARCH=FILE]... [--zip ARCH=FILE]...

ARCH is x64 or x86. Each file is published as URL/<its name>; "{version}" in
URL stands for V. Written into DIR:
  winget/manifests/q/Qorvane/Qorvane/V/  the winget manifests of the setups
  scoop/qorvane.json                     the Scoop manifest of the zips
The hashes are those of the files given, which must be the published ones.
"""
import argparse
import hashlib
import json
import os
import re
import sys

PACKAGE_ID = "Qorvane.Qorvane"
MANIFEST_VERSION = "1.6.0"
SCHEMA = "https://aka.ms/winget-manifest.{kind}.%s.schema.json" % MANIFEST_VERSION
# The uninstall key both setups write (HKCU for one user, HKLM for all users).
PRODUCT_CODE = "Qorvane"
# Setup installs for the current user; this switch installs for all users.
ALL_USERS_SWITCH = "/ALLUSERS"
# The portable copy keeps its list and settings beside the program.
DATA_FILES = ["Tessik.dat", "Tessik.ini"]
SCOOP_ARCH = {"x64": "64bit", "x86": "32bit"}

DESCRIPTION = {
    "en-US": (
        "Keeps the screen saver and the display power-off away while chosen programs run.",
        "A notification-area tool: while the programs you choose run, or while one of them "
        "is in the foreground, it keeps the screen saver and the display power-off from "
        "starting, and can black out the screen around the active window after an idle "
        "wait. It also keeps the screen or the computer awake for a while, until a time, "
        "until a process ends or during working hours, from its menu, a hotkey or the "
        "command line (Murvel.exe /KEEPAWAKE, /STATUS).",
    ),
    "zh-CN": (
        "在指定的程序运行时阻止屏幕保护程序启动和显示器关闭。",
        "托盘小工具：当您指定的程序正在运行（或位于前台）时，它阻止屏幕保护程序启动和显示器"
        "关闭；还可以在您一段时间没有操作后，把活动窗口以外的屏幕涂黑。也可以通过菜单、快捷键"
        "或命令行（Murvel.exe /KEEPAWAKE、/STATUS）保持屏幕或电脑唤醒一段时间、直到某个时间、"
        "直到某个进程结束，或在工作时间内保持唤醒。",
    ),
}

# Scoop links each persisted file into the program's folder as a hard link.
# The program saves a file by writing a new one and renaming it over the old,
# which leaves the persisted copy behind: before a version goes (an update or
# an uninstall), a file that is no longer the link is handed back. A missing
# file must exist before Scoop persists it, or Scoop makes a folder of it.
SCOOP_PRE_INSTALL = [
    "foreach ($f in %s) {" % ", ".join("'%s'" % f for f in DATA_FILES),
    "    if (!(Test-Path \"$persist_dir\\$f\")) { New-Item -ItemType File \"$dir\\$f\" | Out-Null }",
    "}",
]
SCOOP_PRE_UNINSTALL = [
    "foreach ($f in %s) {" % ", ".join("'%s'" % f for f in DATA_FILES),
    "    $item = Get-Item \"$dir\\$f\" -ErrorAction SilentlyContinue",
    "    if ($item -and !$item.LinkType) { Copy-Item $item.FullName \"$persist_dir\\$f\" -Force }",
    "}",
]

# Texts YAML reads back as the same string without quotes: words, paths, URLs,
# versions of three or more parts (one or two would read as numbers) and
# hashes with a hex letter other than E (digits alone, or with an E, would
# read as numbers too).
PLAIN = re.compile(r"[A-Za-z/][A-Za-z0-9 ._/()+,-]*(:[A-Za-z0-9/._-][A-Za-z0-9 ._/()+,-]*)*"
                   r"|[0-9]+(\.[0-9]+){2,}|(?=.*[A-DFa-df])[0-9A-Fa-f]{64}")
RESERVED = {"true", "false", "yes", "no", "on", "off", "null", "y", "n"}


def scalar(value):
    """A YAML scalar that reads back as exactly this value."""
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, int):
        return str(value)
    if PLAIN.fullmatch(value) and value.lower() not in RESERVED and not value.endswith(" "):
        return value
    if re.search(r"[\x00-\x1f]", value):
        return json.dumps(value, ensure_ascii=False)
    return "'" + value.replace("'", "''") + "'"


def yaml_lines(value, indent=""):
    """Block-style YAML of nested dicts, lists and scalars, as winget writes it."""
    lines = []
    if isinstance(value, dict):
        for key, item in value.items():
            if isinstance(item, (dict, list)):
                lines.append("%s%s:" % (indent, key))
                lines += yaml_lines(item, indent + ("" if isinstance(item, list) else "  "))
            else:
                lines.append("%s%s: %s" % (indent, key, scalar(item)))
    else:
        for item in value:
            if isinstance(item, dict):
                inner = yaml_lines(item, indent + "  ")
                lines.append(indent + "- " + inner[0][len(indent) + 2:])
                lines += inner[1:]
            else:
                lines.append("%s- %s" % (indent, scalar(item)))
    return lines


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".part", "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(path + ".part", path)


def write_yaml(path, kind, document):
    write(path, "# yaml-language-server: $schema=%s\n\n%s\n"
          % (SCHEMA.format(kind=kind), "\n".join(yaml_lines(document))))


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def winget(out, version, url, homepage, setups):
    folder = os.path.join(out, "winget", "manifests", PACKAGE_ID[0].lower(),
                          *PACKAGE_ID.split("."), version)
    head = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    tail = {"ManifestVersion": MANIFEST_VERSION}
    write_yaml(os.path.join(folder, PACKAGE_ID + ".yaml"), "version",
               {**head, "DefaultLocale": "en-US", "ManifestType": "version", **tail})

    installers = []
    for arch, path in setups:
        for scope in ("user", "machine"):
            installer = {"Architecture": arch, "Scope": scope,
                         "InstallerUrl": url + "/" + os.path.basename(path),
                         "InstallerSha256": sha256(path).upper(),
                         "InstallerSwitches": {"Silent": "/S", "SilentWithProgress": "/S"}}
            if scope == "machine":
                installer["InstallerSwitches"]["Custom"] = ALL_USERS_SWITCH
                installer["ElevationRequirement"] = "elevationRequired"
            installers.append(installer)
    write_yaml(os.path.join(folder, PACKAGE_ID + ".installer.yaml"), "installer", {
        **head,
        "InstallerType": "nullsoft",
        "InstallModes": ["interactive", "silent", "silentWithProgress"],
        # Setup upgrades in place, keeping the list and the settings.
        "UpgradeBehavior": "install",
        # 2: setup changed nothing, mostly because Qorvane still runs.
        "ExpectedReturnCodes": [{"InstallerReturnCode": 2, "ReturnResponse": "packageInUse"}],
        "ProductCode": PRODUCT_CODE,
        "AppsAndFeaturesEntries": [{"DisplayName": "Qorvane", "Publisher": "Qorvane",
                                    "DisplayVersion": version, "ProductCode": PRODUCT_CODE}],
        "Installers": installers,
        "ManifestType": "installer", **tail})

    for locale, (short, long) in DESCRIPTION.items():
        document = {**head, "PackageLocale": locale}
        if locale == "en-US":
            document.update({"Publisher": "Qorvane", "PublisherUrl": homepage,
                             "PackageName": "Qorvane", "PackageUrl": homepage,
                             "License": "Proprietary", "Copyright": "Copyright (C) 2024 Qorvane"})
        document.update({"ShortDescription": short, "Description": long})
        if locale == "en-US":
            document.update({"Moniker": "qorvane",
                             "Tags": ["display", "keep-awake", "power", "screensaver", "tray"]})
        kind = "defaultLocale" if locale == "en-US" else "locale"
        document.update({"ManifestType": kind, **tail})
        write_yaml(os.path.join(folder, "%s.locale.%s.yaml" % (PACKAGE_ID, locale)), kind,
                   document)
    return folder


def scoop(out, version, url, homepage, zips):
    manifest = {
        "version": version,
        "description": DESCRIPTION["en-US"][0],
        "homepage": homepage,
        "license": "Proprietary",
        "architecture": {SCOOP_ARCH[arch]: {"url": url + "/" + os.path.basename(path),
                                            "hash": sha256(path)} for arch, path in zips},
        "pre_install": SCOOP_PRE_INSTALL,
        "pre_uninstall": SCOOP_PRE_UNINSTALL,
        "bin": "Murvel.exe",
        "shortcuts": [["Murvel.exe", "Qorvane"]],
        "persist": DATA_FILES,
    }
    path = os.path.join(out, "scoop", "qorvane.json")
    write(path, json.dumps(manifest, indent=4, ensure_ascii=False) + "\n")
    return path


def arch_file(text):
    arch, _, path = text.partition("=")
    if arch not in SCOOP_ARCH or not os.path.isfile(path):
        raise argparse.ArgumentTypeError("want x64=FILE or x86=FILE of an existing file: " + text)
    return arch, path


def main():
    parser = argparse.ArgumentParser(description=__doc__.strip().splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--release-url", required=True)
    parser.add_argument("--homepage", default="https://qorvane.example/")
    parser.add_argument("--out", required=True)
    parser.add_argument("--setup", type=arch_file, action="append", default=[])
    parser.add_argument("--zip", type=arch_file, action="append", default=[])
    args = parser.parse_args()
    url = args.release_url.replace("{version}", args.version).rstrip("/")
    for given in (args.setup, args.zip):
        if len({arch for arch, _ in given}) != len(given):
            sys.exit("make-manifests: one file per architecture")
    if args.setup:
        print(winget(args.out, args.version, url, args.homepage, args.setup))
    if args.zip:
        print(scoop(args.out, args.version, url, args.homepage, args.zip))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Packs files into a zip: make-zip.py OUT.zip FILE... [--at FOLDER FILE...]...
Files go to the zip's top, or into FOLDER (such as policies/en-US) after
--at FOLDER, until the next --at ("--at ''" is the top again).
Or writes one text as the zip would hold it: make-zip.py --text OUT.txt IN.txt

Text files (.txt) are stored for Notepad: UTF-8 with a byte-order mark, which
every Notepad since Windows 2000 reads as UTF-8 whatever the system's code page,
and CRLF line ends, which Notepad before Windows 10 1809 needs.
"""
import os
import sys
import time
import zipfile


def text_for_notepad(data):
    text = data.decode("utf-8-sig").replace("\r\n", "\n").replace("\n", "\r\n")
    return b"\xef\xbb\xbf" + text.encode("utf-8")


def placed(args):
    """(path, name in the zip) of every file the arguments name."""
    folder, files = "", []
    it = iter(args)
    for arg in it:
        if arg == "--at":
            folder = next(it, "").strip("/")
            continue
        name = os.path.basename(arg)
        files.append((arg, folder + "/" + name if folder else name))
    return files


def main(out, args):
    files = placed(args)
    if not files:
        sys.exit(__doc__.strip().splitlines()[0])
    names = [name for _, name in files]
    if len(set(n.lower() for n in names)) != len(names):
        sys.exit("make-zip: two files with the same name")
    part = out + ".part"
    with zipfile.ZipFile(part, "w") as z:
        for path, name in files:
            with open(path, "rb") as f:
                data = f.read()
            if name.lower().endswith(".txt"):
                data = text_for_notepad(data)
            info = zipfile.ZipInfo(name, time.localtime(os.path.getmtime(path))[:6])
            info.external_attr = 0o644 << 16
            z.writestr(info, data, zipfile.ZIP_DEFLATED, 9)
    # A half-written zip never takes the real name.
    os.replace(part, out)


def write_text(out, path):
    with open(path, "rb") as f:
        data = text_for_notepad(f.read())
    with open(out + ".part", "wb") as f:
        f.write(data)
    os.replace(out + ".part", out)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "--text":
        write_text(sys.argv[2], sys.argv[3])
    elif len(sys.argv) < 3:
        sys.exit(__doc__.strip().splitlines()[0])
    else:
        main(sys.argv[1], sys.argv[2:])

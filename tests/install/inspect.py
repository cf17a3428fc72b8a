#!/usr/bin/env python3
"""What the install walks read from the Linux side:

    inspect.py value FILE.reg KEY NAME   a value of a `reg export` file (REG_SZ unescaped)
    inspect.py key FILE.reg KEY          every value of one key, one per line, sorted
    inspect.py shortcut FILE.lnk         a shell link's target, working folder and icon, one per line
    inspect.py squished GUID             a product code as Windows Installer's registry keys spell it
    inspect.py unpack ZIP FOLDER         a zip's members into FOLDER, their names printed in order
    inspect.py arch EXE                  x86 or x64, as the download names say

value and key fail (status 1) when the key or value is not there.
"""
import re
import struct
import sys
import zipfile


def read_export(path):
    """{key: {name: data}} of a .reg file, keys and names in lower case."""
    raw = open(path, "rb").read()
    text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("latin-1")
    keys, current = {}, None
    for line in re.sub(r"\\\r?\n\s*", "", text).splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1].lower(), {})
        elif current is not None and "=" in line and line[0] in '"@':
            if line[0] == "@":
                name, data = "@", line[2:]
            else:
                end = 1
                while line[end] != '"':
                    end += 2 if line[end] == "\\" else 1
                name, data = line[1:end].replace("\\\\", "\\").replace('\\"', '"'), line[end + 2:]
            current[name.lower()] = data
    return keys


def plain(data):
    if data.startswith('"') and data.endswith('"'):
        return data[1:-1].replace("\\\\", "\\").replace('\\"', '"')
    return data


def shortcut(path):
    """Target (from the link's local base path), working folder and icon location."""
    data = open(path, "rb").read()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    pos = 0x4C
    if flags & 0x1:  # HasLinkTargetIDList
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    target = ""
    if flags & 0x2:  # HasLinkInfo
        size, _, info_flags, _, base = struct.unpack_from("<5I", data, pos)
        if info_flags & 0x1:  # VolumeIDAndLocalBasePath
            target = data[pos + base:data.index(b"\0", pos + base)].decode("latin-1")
        pos += size
    strings = {}
    unicode = flags & 0x80
    for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "folder"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            width = 2 if unicode else 1
            text = data[pos + 2:pos + 2 + count * width].decode("utf-16-le" if unicode else "latin-1")
            strings[name] = text.rstrip("\0")
            pos += 2 + count * width
    return target, strings.get("folder", ""), strings.get("icon", "")


def squished(guid):
    """{12345678-9ABC-DEF0-1234-56789ABCDEF0} as 87654321CBA90FED21436587A9CBED0F."""
    parts = guid.strip("{}").upper().split("-")
    swapped = lambda s: "".join(s[i + 1] + s[i] for i in range(0, len(s), 2))
    return parts[0][::-1] + parts[1][::-1] + parts[2][::-1] + swapped(parts[3]) + swapped(parts[4])


def main(argv):
    command = argv[0]
    if command in ("value", "key"):
        values = read_export(argv[1]).get(argv[2].lower())
        if values is None:
            return 1
        if command == "key":
            print("\n".join(f"{name}={data}" for name, data in sorted(values.items())))
            return 0
        if argv[3].lower() not in values:
            return 1
        print(plain(values[argv[3].lower()]))
    elif command == "shortcut":
        print("\n".join(shortcut(argv[1])))
    elif command == "squished":
        print(squished(argv[1]))
    elif command == "arch":
        data = open(argv[1], "rb").read(4096)
        machine = struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 4)[0]
        print({0x14C: "x86", 0x8664: "x64"}[machine])
    elif command == "unpack":
        with zipfile.ZipFile(argv[1]) as archive:
            archive.extractall(argv[2])
            print("\n".join(archive.namelist()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

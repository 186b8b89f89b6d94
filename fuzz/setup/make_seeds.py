#!/usr/bin/env python3
"""Writes the seed corpora of the installer's fuzz targets: packages (a sound one, one
with an empty file, and damaged ones) and install lists."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def u32(n):
    return struct.pack("<I", n)


def record(name, contents):
    name = name.encode("cp1252")
    return u32(len(name)) + name + u32(len(contents)) + contents


def block(data):
    return data + u32(len(data))


def trailer():
    return (block("Licencia\r\nde uso".encode("cp1252")) + block(b"BM" + bytes(60)) + block(b"~/ordexa")
            + block("Descripción".encode("cp1252")) + block(b"ORDEXA"))


def package(records, count=None):
    count = len(records) if count is None else count
    return b"KALVOR Cab" + u32(count) + b"".join(records) + trailer()


packages = {
    "sound.dat": package([record("ORDEXA", bytes(range(256)) * 4), record("Declaración 5.fmt", b"fmt"),
                          record("vacío.txt", b"")]),
    "no_files.dat": package([]),
    "oversized_contents.dat": b"KALVOR Cab" + u32(1) + u32(1) + b"a" + u32(0x7FFFFFFF) + b"xy" + trailer(),
    "traversal.dat": package([record("../fuera", b"x")]),
    "huge_count.dat": package([record("a", b"x")], count=0xFFFFFFFF),
    "bad_magic.dat": b"KALVOR Cax" + package([record("a", b"x")])[10:],
}
lists = {
    "sound.txt": b"/home/ana/ordexa/ORDEXA\n/home/ana/ordexa/Factura.fmt\n"
                 b"/home/ana/.local/share/applications/kalvorsoft-ordexa-ordexa.desktop\n"
                 b"/home/ana/.local/share/icons/\n/home/ana/ordexa/ORDEXA.instalados\n",
    "crlf.txt": b"/a/b\r\n/a/c\r\n",
    "dotdot.txt": b"/home/ana/ordexa/../../etc/passwd\n",
    "relative.txt": b"ordexa/ORDEXA\n",
}
for folder, seeds in (("package_corpus", packages), ("list_corpus", lists)):
    os.makedirs(os.path.join(here, folder), exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(here, folder, name), "wb") as out:
            out.write(data)

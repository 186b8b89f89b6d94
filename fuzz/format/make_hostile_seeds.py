#!/usr/bin/env python3
"""Writes the hostile seeds of the format reader's corpus byte by byte: readable formats
whose values lie at the edges of what the file can hold (fonts metres high and wide,
elements kilometres from the sheet or at the ends of the 32-bit range, tables of
thousands of cells). Opening and drawing each of them must take bounded time and memory,
and no arithmetic on them may overflow.

Run from this folder: python3 make_hostile_seeds.py
"""
import struct
import zlib

INT_MIN = -2**31
INT_MAX = 2**31 - 1


def s(text):
    raw = text.encode("cp1252")
    if len(raw) < 255:
        return bytes([len(raw)]) + raw
    if len(raw) < 65534:
        return b"\xff" + struct.pack("<H", len(raw)) + raw
    return b"\xff\xff\xff" + struct.pack("<I", len(raw)) + raw


def i32(*values):
    return b"".join(struct.pack("<i", v) for v in values)


def font(height=35, width=0, escapement=0, orientation=0, weight=400, face="Arial"):
    return i32(height, width, escapement, orientation, weight) + bytes([0, 0, 0, 0, 3, 2, 1, 0x22]) + \
        face.encode("cp1252").ljust(32, b"\0")


def entry(kind, text, page, screen=(0, 0, 0, 0), align=0, order=0, fnt=None, tail=b""):
    return i32(kind, align) + s(text) + i32(*page) + i32(*screen) + i32(1, 0, order) + \
        (fnt if fnt is not None else font()) + tail


def fmt(title, entries, extent=(0, 0, 100, 100)):
    return s(title) + i32(len(entries)) + b"".join(entries) + i32(*extent)


def grid_tail(columns, rows, width, height):
    tail = i32(columns)
    for c in range(columns):
        tail += i32(0) + s("C%d" % (c + 1)) + i32(width, 10, c % 5) + s("")
    return tail + i32(rows) + i32(*([height] * rows))


def png(width, height, rows=None):
    """A PNG of one grey level per row (8-bit greyscale), or only its header when rows is
    None: a picture that declares its size and carries no pixels."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0))
    if rows is not None:
        raw = b"".join(b"\0" + bytes([rows[y % len(rows)]]) * width for y in range(height))
        out += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    return out


def image_tail(picture, flags=0):
    return i32(flags) + struct.pack("<I", len(picture)) + picture


def barcode_tail(symbology, template, level=0, module=0, quiet=2, flags=1):
    return i32(symbology, level) + s(template) + i32(module, quiet, flags)


SEEDS = {
    # A constant text line in a font 3.3 m high, 10 m wide per character, turned 45°.
    "hostile_huge_font.fmt": fmt("", [
        entry(5, "Texto", (100, -100, 600, -140), align=8,
              fnt=font(height=32767, width=100000, escapement=450, orientation=450))]),
    # The same font on every kind that draws text.
    "hostile_huge_fonts_all_kinds.fmt": fmt("Fuentes", [
        entry(0, "LINEA", (100, -100, 500, -140), (10, 10, 200, 30), 0x20, 1,
              font(height=INT_MAX, width=INT_MAX, escapement=900), s("")),
        entry(1, "PARRAFO", (100, -200, 700, -330), (10, 40, 200, 90), 0x20, 2,
              font(height=INT_MIN, width=INT_MIN)),
        entry(2, "CUADROS", (100, -400, 572, -450), (10, 100, 200, 120), 0x26, 3,
              font(height=-32767, width=100000), i32(8, 10, 50)),
        entry(3, "MARCA", (100, -500, 140, -540), (10, 130, 25, 145), 0x26, 4,
              font(height=32767, width=100000, escapement=-450), s("X" * 40)),
        entry(6, "Parrafo\r\n" * 50, (100, -600, 700, -900), fnt=font(height=32767, width=100000)),
        entry(10, "Etiqueta", (100, -1000, 500, -1040), (10, 160, 200, 180), 0x28,
              fnt=font(height=32767, width=-100000, weight=INT_MAX)),
    ]),
    # A text three metres right of and below the sheet's corner.
    "hostile_far_text.fmt": fmt("", [entry(5, "Lejos", (30000, -30000, 30400, -30040), align=8)]),
    # A table element of 200 columns and 2,000 rows (400,000 cells).
    "hostile_big_grid.fmt": fmt("", [
        entry(4, "TABLA", (100, -100, 100 + 200 * 45, -100 - 2000 * 45), (20, 20, 600, 400), 0x20, 1,
              font(height=27), grid_tail(200, 2000, 45, 45))]),
    # Every kind at the ends of the 32-bit range, on the page and on the screen.
    "hostile_extreme_coordinates.fmt": fmt("Extremos", [
        entry(0, "A", (INT_MIN, INT_MAX, INT_MAX, INT_MIN), (INT_MIN, INT_MIN, INT_MAX, INT_MAX), 0x22, 1,
              font(), s("")),
        entry(1, "B", (INT_MAX, INT_MIN, INT_MIN, INT_MAX), (INT_MAX, INT_MAX, INT_MIN, INT_MIN), 0x21, 2),
        entry(2, "C", (INT_MAX, INT_MAX, INT_MAX, INT_MAX), (INT_MIN, INT_MIN, INT_MIN, INT_MIN), 0x26, 3,
              font(), i32(INT_MAX, INT_MAX, INT_MAX)),
        entry(2, "D", (INT_MIN, INT_MIN, INT_MIN, INT_MIN), (INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0x26, 4,
              font(), i32(INT_MIN, INT_MIN, INT_MIN)),
        entry(3, "E", (INT_MAX, INT_MIN, INT_MAX, INT_MIN), (INT_MAX, INT_MIN, INT_MAX, INT_MIN), 0x26, 5,
              font(height=INT_MIN), s("X")),
        entry(4, "F", (INT_MAX - 10, INT_MIN + 10, INT_MAX, INT_MIN), (INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX),
              0x20, 6, font(), grid_tail(3, 3, INT_MAX, INT_MAX)),
        entry(4, "G", (INT_MIN, INT_MAX, INT_MIN + 10, INT_MAX - 10), (INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 5),
              0x20, 7, font(), grid_tail(3, 3, INT_MIN, INT_MIN)),
        entry(5, "H", (INT_MAX, INT_MAX, INT_MAX, INT_MAX), align=INT_MAX & ~0x20),
        entry(6, "I", (INT_MIN, INT_MIN, INT_MAX, INT_MAX), align=INT_MIN),
        entry(7, "J", (INT_MIN, INT_MAX, INT_MAX, INT_MIN), tail=i32(1)),
        entry(7, "K", (INT_MAX, INT_MIN, INT_MIN, INT_MAX), tail=i32(0)),
        entry(8, "L", (INT_MIN, INT_MIN, INT_MAX, INT_MAX)),
        entry(10, "M", (INT_MAX, INT_MAX, INT_MAX, INT_MAX), (INT_MAX, INT_MAX, INT_MAX, INT_MAX), 0x28),
    ], extent=(INT_MIN, INT_MIN, INT_MAX, INT_MAX)),
    # Pictures: a small striped one, one stretched over the whole coordinate range; and a
    # format (not readable, hence not "hostile_") whose picture declares more pixels than a
    # picture may, refused before decoding.
    "hostile_images.fmt": fmt("Imagenes", [
        entry(9, "Imagen", (100, -100, 700, -400), tail=image_tail(png(64, 32, [0, 128, 255]))),
        entry(9, "Imagen", (INT_MIN, INT_MAX, INT_MAX, INT_MIN), tail=image_tail(png(400, 250, [200]), 1)),
    ]),
    "refused_image_too_large.fmt": fmt("", [entry(9, "Imagen", (0, 0, 10, -10), tail=image_tail(png(100000, 100000)))]),
    # Every symbology, data too long for some, a template of the largest size naming
    # itself, module sizes and quiet zones at their bounds, a code far from the sheet.
    "hostile_barcodes.fmt": fmt("Codigos", [
        entry(11, "QR", (100, -100, 400, -400), (10, 10, 200, 30), 0x20, 1, tail=barcode_tail(0, "{QR}" * 1000, 4)),
        entry(11, "C128", (100, -500, 1900, -600), (10, 40, 200, 60), 0x20, 2, tail=barcode_tail(1, "{QR}", 0, 1000, 50)),
        entry(11, "EAN", (100, -700, 400, -800), (10, 70, 200, 90), 0x20, 3, tail=barcode_tail(2, "75012345678A3")),
        entry(11, "PDF", (INT_MIN, INT_MAX, INT_MAX, INT_MIN), (10, 100, 200, 120), 0x20, 4,
              font(height=INT_MAX), barcode_tail(3, "x" * 4000, 0, 1, 0)),
        entry(11, "DM", (100, -900, 101, -901), (10, 130, 200, 150), 0x20, 5, tail=barcode_tail(4, "")),
    ]),
    # Boxes without end: the largest count, the widest boxes.
    "hostile_endless_boxes.fmt": fmt("", [
        entry(2, "CUADROS", (100, -100, 572, -150), (10, 10, 200, 30), 0x26, 1, font(), i32(INT_MAX, 10, 50)),
        entry(2, "ANCHOS", (100, -200, 572, -250), (10, 40, 200, 60), 0x26, 2, font(), i32(1000, INT_MAX, INT_MAX)),
    ]),
}


def main():
    for name, data in SEEDS.items():
        with open("corpus/" + name, "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()

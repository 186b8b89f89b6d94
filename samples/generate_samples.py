#!/usr/bin/env python3
"""Writes Ordexa's sample formats byte by byte, independently of the program's own
writers, so that the program's reader is checked against files it did not produce.

Run from this folder: python3 generate_samples.py
"""
import struct

ARIAL = dict(height=35, weight=400, tail=bytes([0, 0, 0, 0, 3, 2, 1, 0x22]), face="Arial")
ARIAL_BOLD = dict(ARIAL, height=45, weight=700)
COURIER = dict(height=40, weight=400, tail=bytes([0, 0, 0, 0, 3, 2, 1, 0x31]), face="Courier New")
SMALL = dict(ARIAL, height=27)
TITLE = dict(ARIAL, height=60, weight=700, face="Times New Roman")


def s(text):
    raw = text.encode("cp1252")
    if len(raw) < 255:
        return bytes([len(raw)]) + raw
    return b"\xff" + struct.pack("<H", len(raw)) + raw


def i32(*values):
    return b"".join(struct.pack("<i", v) for v in values)


class Fmt:
    def __init__(self, title):
        self.title = title
        self.entries = []
        self.screens = []
        self.order = 0

    def _entry(self, kind, text, page, screen=(0, 0, 0, 0), align=0, placed=False,
               caption_left=1, color=0, font=ARIAL, tail=b"", variable=False, label=False):
        if variable:
            self.order += 1
        order = self.order if variable else 0
        word = align | (0x20 if placed else 0)
        face = font["face"].encode("cp1252").ljust(32, b"\0")
        rec = i32(kind, word) + s(text) + i32(*page) + i32(*screen) + i32(caption_left, color, order)
        rec += i32(font["height"], 0, 0, 0, font["weight"]) + font["tail"] + face + tail
        self.entries.append(rec)
        if variable or label:
            self.screens.append(screen)

    # Variable kinds
    def line_var(self, name, x, y, w, screen, formula="", align=0, font=ARIAL):
        h = font["height"]
        self._entry(0, name, (x, y + h + 5, x + w, y), screen, align, True, 1, 0, font, s(formula), True)

    def paragraph_var(self, name, page, screen, font=ARIAL):
        self._entry(1, name, page, screen, 0, True, 0, 0, font, b"", True)

    def boxes(self, name, x, y, count, screen, gap=10, width=50, font=ARIAL):
        page = (x, y + width, x + count * (width + gap - 1), y)
        self._entry(2, name, page, screen, 6, True, 1, 0, font, i32(count, gap, width), True)

    def mark(self, name, x, y, screen, font=ARIAL, mark="X"):
        side = font["height"] + 5
        self._entry(3, name, (x, y + side, x + side, y), screen, 6, True, 1, 0, font, s(mark), True)

    def grid(self, name, page, screen, columns, rows, font=SMALL):
        tail = i32(len(columns))
        for title, width, screen_width, col_type, align, formula in columns:
            tail += i32(align) + s(title) + i32(width, screen_width, col_type) + s(formula)
        tail += i32(len(rows), *rows)
        self._entry(4, name, page, screen, 0, True, 0, 0, font, tail, True)

    # Constant kinds
    def text(self, text, x, y, w, font=ARIAL, color=0):
        h = font["height"]
        self._entry(5, text, (x, y + h, x + w, y), align=8, font=font, color=color)

    def paragraph(self, text, page, font=ARIAL, align=0):
        self._entry(6, text, page, align=align, font=font)

    def hline(self, x, y, length, color=0):
        self._entry(7, "Linea", (x, y + 20, x + length, y - 20), color=color, tail=i32(1))

    def vline(self, x, y, length, color=0):
        self._entry(7, "Linea", (x - 20, y, x + 20, y - length), color=color, tail=i32(0))

    def rect(self, page, color=0):
        self._entry(8, "Rectangulo", page, color=color)

    def label(self, text, page, screen, font=ARIAL):
        self._entry(10, text, page, screen, 8, True, 1, 0, font, b"", False, True)

    def bytes(self):
        left, top, right, bottom = 0, 0, 100, 100
        for l, t, r, b in self.screens:
            if r > l and b > t:
                left, top, right, bottom = min(left, l), min(top, t), max(right, r), max(bottom, b)
        return s(self.title) + i32(len(self.entries)) + b"".join(self.entries) + i32(left, top, right, bottom)


def factura():
    f = Fmt("Factura\r\nMaderas y Herrajes del Bajío")
    f.label("Datos del cliente", (100, -190, 500, -230), (10, 8, 200, 26))
    f.line_var("NOMBRE", 230, -300, 1100, (110, 36, 420, 56))
    f.line_var("RFC", 230, -360, 400, (110, 66, 290, 86))
    f.boxes("FECHA", 1500, -360, 8, (380, 66, 520, 86))
    f.paragraph_var("DOMICILIO", (230, -400, 1400, -520), (110, 110, 520, 160))
    f.mark("CONTADO", 1700, -460, (640, 110, 655, 125))
    f.mark("CREDITO", 1900, -460, (760, 110, 775, 125))
    f.grid("DETALLE", (100, -600, 2000, -1300), (10, 190, 780, 390),
           [("CANTIDAD", 250, 80, 1, 2, ""),
            ("DESCRIPCION", 1000, 360, 0, 0, ""),
            ("PRECIO", 300, 150, 3, 2, ""),
            ("IMPORTE", 350, 160, 4, 2, "C1*C3")],
           [50] * 14)
    f.line_var("SUBTOTAL", 1650, -1380, 350, (620, 410, 780, 430), "DETALLE&IMPORTE", 2)
    f.line_var("IVA", 1650, -1440, 350, (620, 440, 780, 460), "SUBTOTAL*0.16", 2)
    f.line_var("TOTAL", 1650, -1500, 350, (620, 470, 780, 490), "SUBTOTAL+IVA", 2)
    f.line_var("IMPORTE CON LETRA", 100, -1560, 1900, (150, 500, 780, 520), "$TOTAL")
    f.text("Subtotal", 1450, -1380, 180, font=SMALL)
    f.text("I.V.A. 16%", 1450, -1440, 180, font=SMALL)
    f.text("Total", 1450, -1500, 180, font=ARIAL_BOLD)
    f.rect((80, -580, 2020, -1320))
    f.hline(80, -1520, 1940)
    f.paragraph("Este documento es una representación impresa\r\nde una factura. Pago en una sola exhibición.",
                (100, -1620, 1200, -1720), font=SMALL)
    return f


def cheque():
    f = Fmt("Cheque")
    f.text("Páguese este cheque a la orden de", 150, -300, 600, font=SMALL)
    f.line_var("BENEFICIARIO", 780, -300, 1200, (120, 20, 520, 40), font=COURIER)
    f.line_var("FECHA", 1500, -150, 500, (120, 50, 300, 70), font=COURIER)
    f.line_var("CANTIDAD", 1650, -380, 350, (400, 50, 520, 70), align=2, font=COURIER)
    f.line_var("CANTIDAD EN LETRA", 150, -450, 1850, (120, 80, 520, 100), "$CANTIDAD", font=COURIER)
    f.hline(760, -310, 1240)
    f.hline(140, -460, 1870)
    f.label("Escriba la fecha como 7 de diciembre de 2026", (150, -600, 900, -640), (10, 110, 400, 128))
    return f


def declaracion():
    f = Fmt("Declaración informativa de sueldos")
    f.text("DECLARACIÓN INFORMATIVA", 600, -150, 1000, font=TITLE)
    f.boxes("RFC DEL PATRON", 300, -400, 13, (140, 20, 330, 40))
    f.boxes("CURP", 300, -520, 18, (140, 50, 420, 70))
    f.line_var("NOMBRE DEL TRABAJADOR", 300, -640, 1500, (140, 80, 520, 100))
    f.boxes("EJERCICIO", 1700, -400, 4, (460, 20, 520, 40))
    f.line_var("SUELDOS", 1400, -800, 500, (140, 120, 300, 140), align=2)
    f.line_var("AGUINALDO", 1400, -880, 500, (140, 150, 300, 170), align=2)
    f.line_var("TOTAL PERCEPCIONES", 1400, -960, 500, (140, 180, 300, 200), "SUELDOS+AGUINALDO", 2)
    f.mark("ASALARIADO", 300, -1060, (140, 210, 155, 225))
    f.mark("HONORARIOS", 700, -1060, (300, 210, 315, 225))
    f.text("Sueldos y salarios", 300, -800, 800)
    f.text("Aguinaldo", 300, -880, 800)
    f.text("Total de percepciones", 300, -960, 800, font=ARIAL_BOLD)
    for y in (-800, -880, -960):
        f.hline(1380, y - 5, 540)
    f.rect((250, -350, 2000, -1120), color=0x808080)
    return f


def boleta():
    f = Fmt("Boleta de calificaciones")
    f.text("Escuela Primaria \"Benito Juárez\"", 400, -150, 1300, font=TITLE)
    f.line_var("ALUMNO", 400, -300, 1300, (100, 20, 500, 40))
    f.line_var("GRUPO", 400, -360, 300, (100, 50, 200, 70))
    f.grid("MATERIAS", (200, -450, 1900, -1100), (10, 100, 520, 300),
           [("MATERIA", 800, 220, 0, 0, ""),
            ("PRIMER", 300, 90, 1, 1, ""),
            ("SEGUNDO", 300, 90, 1, 1, ""),
            ("SUMA", 300, 100, 2, 1, "C2+C3")],
           [60] * 10)
    f.paragraph_var("OBSERVACIONES", (200, -1200, 1900, -1400), (100, 330, 520, 400))
    f.vline(1050, -1500, 150)
    return f


def sin_elementos():
    return Fmt("")


if __name__ == "__main__":
    for name, maker in [("factura", factura), ("cheque", cheque), ("declaracion", declaracion),
                        ("boleta", boleta), ("vacio", sin_elementos)]:
        with open(name + ".fmt", "wb") as out:
            out.write(maker().bytes())

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

    # A column's screen width is its page width in pixels at 96 dpi, as the design view
    # works it out when it draws the table: a format saved from the design keeps them,
    # and the screen rectangle holds them all.
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

    # An image keeps its picture's bytes: flags (bit 0: aspect unlocked), count, bytes.
    def image(self, page, picture, flags=0):
        self._entry(9, "Imagen", page, tail=i32(flags) + struct.pack("<I", len(picture)) + picture)

    # A barcode: symbology (0 QR, 1 Code 128, 2 EAN-13, 3 PDF417, 4 Data Matrix), QR
    # level, data template, module size (0.01 mm, 0 fills), quiet zone (modules), flags
    # (bit 0: text under the code).
    def barcode(self, name, page, screen, symbology, template="", level=0, module=0, quiet=2, flags=0):
        tail = i32(symbology, level) + s(template) + i32(module, quiet, flags)
        self._entry(11, name, page, screen, 0, True, 1, 0, ARIAL, tail, True)

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
           [("CANTIDAD", 250, 94, 1, 2, ""),
            ("DESCRIPCION", 1000, 378, 0, 0, ""),
            ("PRECIO", 300, 113, 3, 2, ""),
            ("IMPORTE", 350, 132, 4, 2, "C1*C3")],
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
    f.grid("MATERIAS", (200, -450, 1900, -1100), (10, 100, 680, 300),
           [("MATERIA", 800, 302, 0, 0, ""),
            ("PRIMER", 300, 113, 1, 1, ""),
            ("SEGUNDO", 300, 113, 1, 1, ""),
            ("SUMA", 300, 113, 2, 1, "C2+C3")],
           [60] * 10)
    f.paragraph_var("OBSERVACIONES", (200, -1200, 1900, -1400), (100, 330, 520, 400))
    f.vline(1050, -1500, 150)
    return f


def sin_elementos():
    return Fmt("")


# The samples below are the ones the capture screen and its printout are shown with: each
# fills, calculates and prints on a letter sheet (2159 x 2794 tenths of a millimetre).

def grid_page(left, top, columns, rows):
    return (left, top, left + sum(c[1] for c in columns), top - sum(rows))


def factura_completa():
    f = Fmt("Factura\r\nFerretería La Escuadra, S.A. de C.V.")
    f.text("FERRETERÍA LA ESCUADRA, S.A. DE C.V.", 150, -180, 1400, font=TITLE)
    f.text("Av. Juárez 145, Centro, Guadalajara, Jal.  RFC FES-010203-AB1", 150, -240, 1400, font=SMALL)
    f.text("FACTURA", 1650, -180, 400, font=ARIAL_BOLD)
    f.rect((1620, -110, 2050, -210))
    f.label("Datos del cliente", (150, -300, 600, -340), (10, 8, 200, 26))
    f.text("Cliente", 150, -400, 250, font=SMALL)
    f.line_var("CLIENTE", 420, -400, 1150, (150, 36, 520, 56))
    f.text("R.F.C.", 150, -470, 250, font=SMALL)
    f.line_var("RFC", 420, -470, 600, (150, 64, 330, 84), font=COURIER)
    f.text("Fecha", 1620, -470, 150, font=SMALL)
    f.line_var("FECHA", 1780, -470, 270, (400, 64, 520, 84))
    f.text("Concepto", 150, -560, 250, font=SMALL)
    f.paragraph_var("CONCEPTO", (420, -520, 2050, -640), (150, 112, 520, 162))
    columns = [("Cantidad", 300, 113, 1, 2, ""),
               ("Precio", 450, 170, 3, 2, ""),
               ("Importe", 500, 189, 4, 2, "C1*C2")]
    rows = [55] * 12
    page = grid_page(420, -720, columns, rows)
    f.text("Cantidad", 420, -682, 300, font=SMALL)
    f.text("Precio unitario", 720, -682, 450, font=SMALL)
    f.text("Importe", 1170, -682, 500, font=SMALL)
    f.rect((410, -715, page[2] + 10, page[3] - 5))
    f.grid("DETALLE", page, (10, 190, 515, 390), columns, rows)
    y = page[3] - 80
    f.text("Subtotal", 1170, y, 200, font=SMALL)
    f.line_var("SUBTOTAL", 1400, y, 270, (620, 190, 780, 210), "DETALLE&IMPORTE", 2)
    f.text("I.V.A. 16%", 1170, y - 60, 200, font=SMALL)
    f.line_var("IMPUESTO", 1400, y - 60, 270, (620, 220, 780, 240), "SUBTOTAL*0.16", 2)
    f.text("Total", 1170, y - 120, 200, font=ARIAL_BOLD)
    f.line_var("TOTAL", 1400, y - 120, 270, (620, 250, 780, 270), "SUBTOTAL+IMPUESTO", 2)
    f.hline(1390, y - 130, 290)
    f.text("Importe con letra", 150, y - 200, 300, font=SMALL)
    f.line_var("IMPORTE CON LETRA", 420, y - 200, 1630, (150, 404, 780, 424), "$TOTAL", font=SMALL)
    f.text("Contado", 150, y - 280, 200, font=SMALL)
    f.mark("CONTADO", 360, y - 285, (640, 290, 655, 305))
    f.text("Crédito", 500, y - 280, 200, font=SMALL)
    f.mark("CREDITO", 700, y - 285, (760, 290, 775, 305))
    f.paragraph("Este documento es una representación impresa de un comprobante fiscal.\r\n"
                "Pago en una sola exhibición.", (150, y - 360, 1500, y - 440), font=SMALL)
    return f


# The verification address a printed electronic invoice carries in its QR code.
CFDI_QR = ("https://verificacfdi.facturaelectronica.sat.gob.mx/default.aspx?id={UUID}&re={RFC EMISOR}"
           "&rr={RFC RECEPTOR}&tt={TOTAL}&fe={SELLO}")


def factura_cfdi():
    f = Fmt("Factura electrónica (representación impresa)\r\nFerretería La Escuadra, S.A. de C.V.")
    with open("logo_escuadra.png", "rb") as logo:
        f.image((150, -100, 790, -340), logo.read())
    f.text("FERRETERÍA LA ESCUADRA, S.A. DE C.V.", 850, -170, 1200, font=ARIAL_BOLD)
    f.text("Av. Juárez 145, Centro, Guadalajara, Jal.", 850, -230, 1200, font=SMALL)
    f.text("FACTURA", 1750, -320, 300, font=ARIAL_BOLD)
    f.hline(150, -370, 1900)
    f.label("Comprobante", (1700, -400, 2050, -440), (10, 8, 200, 26))
    f.text("Folio fiscal (UUID)", 150, -450, 400, font=SMALL)
    f.line_var("UUID", 600, -450, 1000, (150, 36, 520, 56), font=COURIER)
    f.text("RFC emisor", 150, -510, 400, font=SMALL)
    f.line_var("RFC EMISOR", 600, -510, 500, (150, 64, 330, 84), font=COURIER)
    f.text("RFC receptor", 150, -570, 400, font=SMALL)
    f.line_var("RFC RECEPTOR", 600, -570, 500, (150, 92, 330, 112), font=COURIER)
    f.text("Sello (últimos 8)", 150, -630, 400, font=SMALL)
    f.boxes("SELLO", 600, -640, 8, (150, 120, 290, 140), font=COURIER)
    columns = [("Cantidad", 300, 113, 1, 2, ""),
               ("Precio", 450, 170, 3, 2, ""),
               ("Importe", 500, 189, 4, 2, "C1*C2")]
    rows = [55] * 8
    page = grid_page(600, -760, columns, rows)
    f.text("Cantidad", 600, -722, 300, font=SMALL)
    f.text("Precio unitario", 900, -722, 450, font=SMALL)
    f.text("Importe", 1350, -722, 500, font=SMALL)
    f.rect((590, -755, page[2] + 10, page[3] - 5))
    f.grid("DETALLE", page, (10, 170, 515, 330), columns, rows)
    y = page[3] - 80
    f.text("Subtotal", 1350, y, 200, font=SMALL)
    f.line_var("SUBTOTAL", 1580, y, 270, (620, 170, 780, 190), "DETALLE&IMPORTE", 2)
    f.text("I.V.A. 16%", 1350, y - 60, 200, font=SMALL)
    f.line_var("IVA", 1580, y - 60, 270, (620, 200, 780, 220), "SUBTOTAL*0.16", 2)
    f.text("Total", 1350, y - 120, 200, font=ARIAL_BOLD)
    f.line_var("TOTAL", 1580, y - 120, 270, (620, 230, 780, 250), "SUBTOTAL+IVA", 2)
    f.hline(1570, y - 130, 290)
    f.barcode("QR SAT", (150, y - 20, 500, y - 370), (150, 360, 780, 380), 0, CFDI_QR, level=2)
    f.barcode("CODIGO UUID", (600, y - 250, 1950, y - 370), (150, 390, 520, 410), 1, "{UUID}")
    f.paragraph("Este documento es una representación impresa de un CFDI.\r\n"
                "Verifique el comprobante con el código QR.", (150, y - 420, 1500, y - 500), font=SMALL)
    return f


def cheque_nominativo():
    f = Fmt("Cheque nominativo")
    f.text("BANCO DEL CENTRO, S.A.", 150, -120, 900, font=ARIAL_BOLD)
    f.text("Lugar y fecha", 1150, -200, 260, font=SMALL)
    f.text("Día", 1430, -150, 90, font=SMALL)
    f.boxes("DIA", 1430, -220, 2, (170, 20, 215, 40), font=COURIER)
    f.text("Mes", 1580, -150, 90, font=SMALL)
    f.boxes("MES", 1580, -220, 2, (290, 20, 335, 40), font=COURIER)
    f.text("Año", 1730, -150, 90, font=SMALL)
    f.boxes("AÑO", 1730, -220, 4, (410, 20, 500, 40), font=COURIER)
    f.text("Páguese este cheque a la orden de", 150, -320, 640, font=SMALL)
    f.line_var("BENEFICIARIO", 800, -320, 1000, (170, 50, 520, 70), font=COURIER)
    f.hline(790, -330, 1020)
    f.text("$", 1830, -320, 30, font=ARIAL_BOLD)
    f.line_var("CANTIDAD", 1860, -320, 270, (170, 80, 300, 100), align=2, font=COURIER)
    f.rect((1820, -260, 2140, -345))
    f.line_var("CANTIDAD EN LETRA", 150, -420, 1980, (170, 110, 520, 130), "$CANTIDAD", font=SMALL)
    f.hline(140, -430, 2000)
    f.text("Para abono en cuenta del beneficiario", 200, -520, 700, font=SMALL)
    f.mark("ABONO EN CUENTA", 150, -525, (170, 140, 185, 155))
    f.hline(1400, -620, 600)
    f.text("Firma", 1650, -660, 120, font=SMALL)
    return f


def declaracion_anual():
    f = Fmt("Declaración anual de personas físicas")
    f.text("DECLARACIÓN ANUAL", 650, -150, 1000, font=TITLE)
    f.text("Registro Federal de Contribuyentes", 200, -250, 900, font=SMALL)
    f.boxes("RFC", 200, -320, 13, (140, 20, 330, 40))
    f.text("Ejercicio", 1650, -250, 300, font=SMALL)
    f.boxes("EJERCICIO", 1650, -320, 4, (460, 20, 520, 40))
    f.text("Clave Única de Registro de Población", 200, -380, 900, font=SMALL)
    f.boxes("CURP", 200, -450, 18, (140, 50, 420, 70))
    f.text("Nombre", 200, -530, 300, font=SMALL)
    f.line_var("NOMBRE", 200, -590, 1700, (140, 80, 520, 100))
    f.text("Tipo de declaración:", 200, -680, 500, font=SMALL)
    f.text("Normal", 760, -680, 200, font=SMALL)
    f.mark("NORMAL", 700, -685, (140, 110, 155, 125))
    f.text("Complementaria", 1060, -680, 350, font=SMALL)
    f.mark("COMPLEMENTARIA", 1000, -685, (300, 110, 315, 125))
    f.text("Ingresos acumulables", 200, -800, 800)
    f.line_var("INGRESOS", 1400, -800, 500, (140, 140, 300, 160), align=2)
    f.text("Deducciones autorizadas", 200, -880, 800)
    f.line_var("DEDUCCIONES", 1400, -880, 500, (140, 170, 300, 190), align=2)
    f.text("Base gravable", 200, -960, 800)
    f.line_var("BASE", 1400, -960, 500, (140, 200, 300, 220), "INGRESOS-DEDUCCIONES", 2)
    f.text("Impuesto del ejercicio (tasa 10%)", 200, -1040, 900)
    f.line_var("IMPUESTO", 1400, -1040, 500, (140, 230, 300, 250), "BASE*0.10", 2)
    f.text("Pagos provisionales", 200, -1120, 800)
    f.line_var("PAGOS", 1400, -1120, 500, (140, 260, 300, 280), align=2)
    f.text("Impuesto a cargo", 200, -1200, 800, font=ARIAL_BOLD)
    f.line_var("A CARGO", 1400, -1200, 500, (140, 290, 300, 310), "IMPUESTO-PAGOS", 2)
    for y in (-800, -880, -960, -1040, -1120, -1200):
        f.hline(1380, y - 5, 540)
    f.rect((150, -200, 2000, -1260), color=0x808080)
    f.text("Bajo protesta de decir verdad, los datos son ciertos.", 200, -1340, 1500, font=SMALL)
    return f


def boleta_bimestral():
    f = Fmt("Boleta de evaluación bimestral")
    f.text("Escuela Secundaria Técnica No. 12", 400, -150, 1300, font=TITLE)
    f.text("Alumno", 200, -300, 200, font=SMALL)
    f.line_var("ALUMNO", 400, -300, 1300, (100, 20, 520, 40))
    f.text("Grado", 200, -380, 200, font=SMALL)
    f.boxes("GRADO", 400, -380, 1, (100, 50, 125, 70))
    f.text("Grupo", 700, -380, 200, font=SMALL)
    f.boxes("GRUPO", 900, -380, 1, (200, 50, 225, 70))
    f.text("Ciclo escolar", 1200, -380, 300, font=SMALL)
    f.line_var("CICLO", 1500, -380, 400, (330, 50, 520, 70))
    columns = [("Materia", 700, 265, 0, 0, ""),
               ("Primer", 250, 94, 1, 1, ""),
               ("Segundo", 250, 94, 1, 1, ""),
               ("Suma", 250, 94, 2, 1, "C2+C3"),
               ("Promedio", 250, 94, 2, 1, "C4/2")]
    rows = [60] * 9
    page = grid_page(200, -520, columns, rows)
    f.text("Materia", 200, -500, 700, font=SMALL)
    f.text("1er bim.", 900, -500, 250, font=SMALL)
    f.text("2o bim.", 1150, -500, 250, font=SMALL)
    f.text("Suma", 1400, -500, 250, font=SMALL)
    f.text("Promedio", 1650, -500, 250, font=SMALL)
    f.rect((190, -510, page[2] + 10, page[3] - 10))
    f.grid("MATERIAS", page, (10, 100, 680, 300), columns, rows)
    y = page[3] - 80
    f.text("Suma de promedios", 1100, y, 500, font=SMALL)
    f.line_var("SUMA PROMEDIOS", 1650, y, 250, (390, 320, 520, 340), "MATERIAS&PROMEDIO", 2)
    f.text("Promedio general (9 materias)", 1100, y - 70, 550, font=SMALL)
    f.line_var("PROMEDIO GENERAL", 1650, y - 70, 250, (390, 350, 520, 370), "SUMA PROMEDIOS/9", 2)
    f.text("Promovido", 200, y, 250, font=SMALL)
    f.mark("PROMOVIDO", 460, y - 5, (140, 320, 155, 335))
    f.paragraph_var("OBSERVACIONES", (200, y - 160, 1900, y - 360), (140, 390, 520, 450))
    f.hline(700, y - 520, 700)
    f.text("Firma del director", 900, y - 560, 400, font=SMALL)
    return f


if __name__ == "__main__":
    for name, maker in [("factura_sencilla", factura), ("cheque", cheque), ("declaracion", declaracion),
                        ("boleta", boleta), ("vacio", sin_elementos),
                        ("Factura", factura_completa), ("ChequeNominativo", cheque_nominativo),
                        ("DeclaracionAnual", declaracion_anual), ("BoletaBimestral", boleta_bimestral),
                        ("FacturaCFDI", factura_cfdi)]:
        with open(name + ".fmt", "wb") as out:
            out.write(maker().bytes())

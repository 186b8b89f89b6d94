#include "capture/calibration.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "base/recording_dc.h"
#include "model/cuadros_var.h"
#include "model/fmt_grid.h"
#include "model/marca_var.h"

namespace {

constexpr ColorRef kInk = Rgb(0, 0, 0);
constexpr ColorRef kNameGrey = Rgb(90, 90, 90);

// The scales: their base lines lie this far inside the top and left edges, clear of any
// printer's unprintable margin; the ticks run from the base line toward the edge.
constexpr int kScaleInsetUnits = 150;
constexpr int kTickUnits = 20;       // every millimetre
constexpr int kTickFiveUnits = 35;   // every 5 mm
constexpr int kTickTenUnits = 50;    // every 10 mm, numbered
constexpr int kScaleFontUnits = 25;
// The left scale starts below the top one, so that the corner stays readable.
constexpr int kLeftScaleStartMm = 20;
// Each arm of a cross, from its centre.
constexpr int kCrossArmUnits = 100;
constexpr int kLinePenUnits = 2;

LogFont SheetFont(int heightUnits, int weight = 400)
{
    LogFont font;
    font.height = heightUnits;
    font.weight = weight;
    font.face = "Arial";
    return font;
}

// Page coordinates of a place given from the sheet's top edge: page y runs upward.
int PageY(int unitsFromTop)
{
    return -unitsFromTop;
}

void DrawTopScale(Dc& dc, int widthUnits)
{
    const int base = PageY(kScaleInsetUnits);
    dc.MoveTo(0, base);
    dc.LineTo(widthUnits, base);
    dc.SelectFont(SheetFont(kScaleFontUnits));
    dc.SetTextAlign(TextAlign::kCenter);
    for (int mm = 0; mm * 10 <= widthUnits; ++mm) {
        const int x = mm * 10;
        const int tick = mm % 10 == 0 ? kTickTenUnits : mm % 5 == 0 ? kTickFiveUnits : kTickUnits;
        dc.MoveTo(x, base);
        dc.LineTo(x, base + tick);
        // Numbers below the base line, away from the edge; the first ones would crowd
        // the left scale's corner.
        if (mm % 10 == 0 && mm >= 10)
            dc.TextOut(x, base - 10, std::to_string(mm));
    }
}

void DrawLeftScale(Dc& dc, int heightUnits)
{
    const int base = kScaleInsetUnits;
    dc.MoveTo(base, PageY(kLeftScaleStartMm * 10));
    dc.LineTo(base, PageY(heightUnits));
    dc.SelectFont(SheetFont(kScaleFontUnits));
    dc.SetTextAlign(TextAlign::kLeft);
    for (int mm = kLeftScaleStartMm; mm * 10 <= heightUnits; ++mm) {
        const int y = PageY(mm * 10);
        const int tick = mm % 10 == 0 ? kTickTenUnits : mm % 5 == 0 ? kTickFiveUnits : kTickUnits;
        dc.MoveTo(base, y);
        dc.LineTo(base - tick, y);
        // Right of the base line, the number's middle on its tick.
        if (mm % 10 == 0)
            dc.TextOut(base + 10, y + kScaleFontUnits / 2, std::to_string(mm));
    }
}

void DrawCross(Dc& dc, int number, SheetMark mark)
{
    const int x = mark.xUnits;
    const int y = PageY(mark.yUnits);
    dc.MoveTo(x - kCrossArmUnits, y);
    dc.LineTo(x + kCrossArmUnits, y);
    dc.MoveTo(x, y + kCrossArmUnits);
    dc.LineTo(x, y - kCrossArmUnits);
    dc.SelectFont(SheetFont(30, 700));
    dc.SetTextAlign(TextAlign::kLeft);
    const std::string where = DecimalText(mark.xUnits / 10.0) + " mm, " + DecimalText(mark.yUnits / 10.0) + " mm";
    dc.TextOut(x - kCrossArmUnits, y - kCrossArmUnits - 20, "Cruz " + std::to_string(number) + ": " + where);
}

void DrawInstructions(Dc& dc, int widthUnits, PrintOffsets offsets)
{
    const int left = 550;
    const int right = std::max(left + 800, widthUnits - 250);
    dc.SetTextAlign(TextAlign::kLeft);
    dc.SelectFont(SheetFont(55, 700));
    dc.TextOut(left, PageY(230), "Hoja de calibración");
    const std::string text =
        "Imprima esta hoja en papel blanco, en la misma impresora y bandeja con que imprime sus formatos. "
        "Mida con una regla dónde quedó el centro de cada cruz, en milímetros desde el borde izquierdo "
        "de la hoja (x) y desde el borde superior (y), y escriba las cuatro medidas en la ventana "
        "\"Hoja de calibración\" de la pantalla de captura: el programa corrige el desfase con lo que falte.\r\n\r\n"
        "Cuando la impresión ya está alineada, cada cruz queda exactamente donde dice su leyenda y las "
        "reglas de arriba y de la izquierda marcan los milímetros desde los bordes de la hoja.\r\n\r\n"
        "Esta hoja se imprimió con el desfase actual: horizontal " +
        DecimalText(offsets.facX / 100.0) + " cm, vertical " + DecimalText(offsets.facY / 100.0) + " cm.";
    dc.SelectFont(SheetFont(35));
    Rect box{left, PageY(330), right, PageY(1400)};
    dc.DrawText(text, box, DrawTextFlag::kLeft | DrawTextFlag::kWordBreak);
}

// True when the element puts anything on paper as it stands (a typed value, a check).
bool PrintsSomething(CControles& element)
{
    RecordingDc probe(MapMode::LoMetric);
    element.Print(probe);
    for (const auto& t : probe.texts)
        if (!t.text.empty())
            return true;
    return !probe.lines.empty() || !probe.fills.empty() || !probe.outlines.empty();
}

void OutlineElement(Dc& dc, const CControles& element)
{
    if (element.m_kind == kKindCuadrosVar) {
        const auto& boxes = static_cast<const CCuadrosVar&>(element);
        const Rect rc = DrawableRect(element.m_rcPage).Normalized();
        const int count = std::clamp(boxes.m_boxCount, 1, 200);
        for (int i = 0; i < count; ++i) {
            const int left = boxes.BoxLeft(rc.left, i);
            dc.Outline({left, rc.top, AddSaturated(left, boxes.m_boxWidth), rc.bottom});
        }
        return;
    }
    dc.Outline(DrawableRect(element.m_rcPage));
    if (element.m_kind == kKindGrid) {
        const auto& grid = static_cast<const CFmtGrid&>(element);
        for (int c = 0; c < grid.ColumnCount(); ++c)
            for (int r = 0; r < grid.RowCount(); ++r)
                dc.Outline(grid.CellRect(c, r));
    }
}

// The name of an element with nothing to print, small and grey where its value would go
// (a table: each column's title in its first row; a check mark: beside its box).
void NameElement(Dc& dc, const CControles& element)
{
    dc.SetTextColor(kNameGrey);
    const Rect rc = DrawableRect(element.m_rcPage).Normalized();  // top < bottom numerically
    const int heightUnits = rc.bottom - rc.top;
    if (element.m_kind == kKindMarcaVar) {
        dc.SelectFont(SheetFont(std::clamp(heightUnits, 20, 35)));
        dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
        dc.TextOut(AddSaturated(rc.right, 15), rc.top, element.m_text);
        return;
    }
    if (element.m_kind == kKindGrid) {
        const auto& grid = static_cast<const CFmtGrid&>(element);
        for (int c = 0; c < grid.ColumnCount(); ++c) {
            Rect cell = grid.CellRect(c, 0);
            dc.SelectFont(SheetFont(std::clamp(cell.top - cell.bottom, 15, 30)));
            dc.DrawText(grid.m_columns[size_t(c)].title, cell, DrawTextFlag::kLeft | DrawTextFlag::kSingleLine);
        }
        return;
    }
    dc.SelectFont(SheetFont(std::clamp(heightUnits * 4 / 5, 15, 35)));
    Rect box = DrawableRect(element.m_rcPage);
    box.left = AddSaturated(box.left, 10);
    dc.DrawText(element.m_text, box, DrawTextFlag::kLeft | DrawTextFlag::kSingleLine);
}

}  // namespace

void DrawCalibrationSheet(Dc& sheet, int sheetWidthUnits, int sheetHeightUnits, PrintOffsets offsets)
{
    sheet.SetMapMode(MapMode::LoMetric);
    sheet.SetBkTransparent(true);
    sheet.SetTextColor(kInk);
    OffsetDc page(sheet, offsets.facX, Saturate32(-int64_t(offsets.facY)));
    PenScope pen(page, kLinePenUnits, kInk);
    DrawTopScale(page, sheetWidthUnits);
    DrawLeftScale(page, sheetHeightUnits);
    for (size_t i = 0; i < kCalibrationCrosses.size(); ++i)
        DrawCross(page, int(i) + 1, kCalibrationCrosses[i]);
    DrawInstructions(page, sheetWidthUnits, offsets);
}

void DrawFieldOutlines(Dc& sheet, const ElementList& elements, PrintOffsets offsets)
{
    sheet.SetMapMode(MapMode::LoMetric);
    sheet.SetBkTransparent(true);
    OffsetDc page(sheet, offsets.facX, Saturate32(-int64_t(offsets.facY)));
    for (const auto& element : elements) {
        if (!element->IsVariable())
            continue;
        {
            PenScope pen(page, kLinePenUnits, kInk);
            OutlineElement(page, *element);
        }
        // A value prints through the element's own Print, exactly where the printout
        // puts it; an empty field shows its name instead.
        if (PrintsSomething(*element))
            element->Print(page);
        else
            NameElement(page, *element);
    }
}

bool ComputeCalibration(PrintOffsets current, const std::array<CrossMeasure, 2>& measured, CalibrationResult& result,
                        std::string& message)
{
    double sumX = 0, sumY = 0;
    double errorsX[2] = {}, errorsY[2] = {};
    for (size_t i = 0; i < measured.size(); ++i) {
        const SheetMark& mark = kCalibrationCrosses[i];
        const std::string cross = "la cruz " + std::to_string(i + 1);
        const struct {
            double value;
            double expected;
            const char* axis;
            const char* edge;
        } axes[] = {{measured[i].xMm, mark.xUnits / 10.0, "horizontal", "izquierdo"},
                    {measured[i].yMm, mark.yUnits / 10.0, "vertical", "superior"}};
        for (const auto& a : axes) {
            if (!std::isfinite(a.value) || a.value < 0) {
                message = "La medida " + std::string(a.axis) + " de " + cross +
                          " debe ser un número de milímetros, cero o mayor, contado desde el borde " + a.edge +
                          " de la hoja.";
                return false;
            }
            if (std::fabs(a.value - a.expected) > kMaxCrossErrorMm) {
                message = "La medida " + std::string(a.axis) + " de " + cross + " (" + DecimalText(a.value) +
                          " mm) está a más de " + DecimalText(kMaxCrossErrorMm) + " mm de donde debe quedar (" +
                          DecimalText(a.expected) + " mm): revise que midió en milímetros, desde el borde " + a.edge +
                          " de la hoja, el centro de " + cross + ".";
                return false;
            }
        }
        errorsX[i] = measured[i].xMm - mark.xUnits / 10.0;
        errorsY[i] = measured[i].yMm - mark.yUnits / 10.0;
        sumX += errorsX[i];
        sumY += errorsY[i];
    }
    const double errorX = sumX / 2;
    const double errorY = sumY / 2;
    // A cross found right of (below) its place means the printout must move left (up):
    // the correction is the error with its sign turned, rounded to the nearest 0.1 mm
    // (cutting 0.8 mm, held in binary as 0.7999..., toward zero would lose a unit).
    const auto correction = [](double errorMm) { return int64_t(std::llround(-errorMm * 10)); };
    const int64_t facX = int64_t(current.facX) + correction(errorX);
    const int64_t facY = int64_t(current.facY) + correction(errorY);
    if (std::llabs(facX) > kMaxCalibratedOffsetUnits || std::llabs(facY) > kMaxCalibratedOffsetUnits) {
        message = "El desfase que resulta de estas medidas pasa de " + DecimalText(kMaxCalibratedOffsetUnits / 100.0) +
                  " cm: revise el desfase actual en \"Configurar Márgenes\" y las medidas.";
        return false;
    }
    result.offsets = {int(facX), int(facY)};
    result.errorXMm = errorX;
    result.errorYMm = errorY;
    result.spreadMm = std::max(std::fabs(errorsX[0] - errorsX[1]), std::fabs(errorsY[0] - errorsY[1]));
    return true;
}

bool ParseMillimetres(const std::string& text, double& millimetres)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return false;
    size_t end = text.find_last_not_of(" \t") + 1;
    std::string t = text.substr(begin, end - begin);
    if (t.size() >= 2 && (t.compare(t.size() - 2, 2, "mm") == 0 || t.compare(t.size() - 2, 2, "MM") == 0)) {
        t.resize(t.size() - 2);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
            t.pop_back();
    }
    std::replace(t.begin(), t.end(), ',', '.');
    if (t.empty() || t.find_first_not_of("0123456789.-") != std::string::npos)
        return false;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(value))
        return false;
    millimetres = value;
    return true;
}

std::string DecimalText(double value)
{
    // Held to two decimals, rounded; "-0" reads "0".
    double rounded = std::round(value * 100) / 100;
    if (rounded == 0)
        rounded = 0;
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
    if (ec != std::errc())
        return "0";
    std::string s(buffer, ptr);
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s;
}

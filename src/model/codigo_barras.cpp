#include "model/codigo_barras.h"

#include <cmath>

#include "model/barcode_template.h"
#include "model/kind_drawing.h"

namespace {

// Data the design view shows when the template gives none that suits the symbology.
const char* SampleFor(Symbology symbology)
{
    switch (symbology) {
    case Symbology::Ean13: return "7501234567893";
    case Symbology::Code128: return "ABC-12345";
    default: return "https://www.ejemplo.mx/ordexa";
    }
}

}  // namespace

CCodigoBarras::CCodigoBarras() : CTextValueElement(kKindCodigoBarras, 0, 0, 0, 1) {}

std::unique_ptr<CCodigoBarras> CCodigoBarras::CreateAt(int x, int y)
{
    auto element = std::make_unique<CCodigoBarras>();
    element->m_text = "Codigo";
    element->m_rcPage = {x, y, AddSaturated(x, 300), AddSaturated(y, -300)};
    element->UpdateHandles();
    return element;
}

void CCodigoBarras::ReadTail(ArchiveReader& ar)
{
    size_t at = ar.Offset();
    const int32_t symbology = ar.ReadInt32();
    if (symbology < 0 || symbology >= kSymbologyCount)
        throw ArchiveRefusal(at, "tipo de código de barras desconocido " + std::to_string(symbology));
    m_symbology = Symbology(symbology);
    at = ar.Offset();
    m_qrLevel = ar.ReadInt32();
    if (m_qrLevel < 0 || m_qrLevel > kQrLevelMax)
        throw ArchiveRefusal(at, "nivel de corrección de errores desconocido " + std::to_string(m_qrLevel));
    at = ar.Offset();
    m_template = ar.ReadString();
    if (TemplateTooLong(m_template))
        throw ArchiveRefusal(at, "plantilla de código de barras de más de 4000 caracteres");
    at = ar.Offset();
    m_moduleSize = ar.ReadInt32();
    if (m_moduleSize < 0 || m_moduleSize > kMaxModuleSize)
        throw ArchiveRefusal(at, "tamaño de módulo fuera de límites");
    at = ar.Offset();
    m_quietZone = ar.ReadInt32();
    if (m_quietZone < 0 || m_quietZone > kMaxQuietZone)
        throw ArchiveRefusal(at, "zona de silencio fuera de límites");
    m_flags = ar.ReadInt32();
}

void CCodigoBarras::WriteTail(ArchiveWriter& ar) const
{
    ar.WriteInt32(int32_t(m_symbology));
    ar.WriteInt32(m_qrLevel);
    ar.WriteString(m_template);
    ar.WriteInt32(m_moduleSize);
    ar.WriteInt32(m_quietZone);
    ar.WriteInt32(m_flags);
}

void CCodigoBarras::FixFontHeight()
{
    m_logFont.height = PositiveHeight(m_logFont.height);
}

std::string CCodigoBarras::Data() const
{
    return m_pControl ? m_pControl->Text() : std::string();
}

const BarcodeVector* CCodigoBarras::Encoded(const std::string& data) const
{
    if (m_cache.qrLevel != m_qrLevel || m_cache.symbology != m_symbology || m_cache.data != data) {
        m_cache.symbology = m_symbology;
        m_cache.qrLevel = m_qrLevel;
        m_cache.data = data;
        m_cache.reason.clear();
        m_cache.ok = EncodeBarcode(m_symbology, m_qrLevel, data, m_cache.symbol, m_cache.reason);
    }
    return m_cache.ok ? &m_cache.symbol : nullptr;
}

bool CCodigoBarras::CheckData(const std::string& data, std::string& reason) const
{
    if (Encoded(data))
        return true;
    reason = m_cache.reason;
    return false;
}

std::string CCodigoBarras::SampleData() const
{
    if (!m_template.empty()) {
        const std::string filled =
            FillTemplate(m_template, [](const std::string& name) { return std::optional<std::string>(name); });
        if (Encoded(filled))
            return filled;
    }
    return SampleFor(m_symbology);
}

void CCodigoBarras::DrawSymbol(Dc& dc, const Rect& rc, const std::string& data) const
{
    const BarcodeVector* symbol = Encoded(data);
    if (!symbol || symbol->widthModules <= 0 || symbol->heightModules <= 0)
        return;  // nothing rather than a wrong code
    // Logical units per 0.01 mm in the surface's mapping (the page views use 0.1 mm).
    const double perHundredth = dc.GetMapMode() == MapMode::HiMetric ? 1.0 : 0.1;
    const bool showText = (m_flags & kShowText) != 0;
    const int textHeight = showText ? RecordingTextCell() : 0;
    const double width = rc.right - double(rc.left);
    const double height = std::max(0.0, double(rc.MaxY()) - rc.MinY() - textHeight);
    const bool linear = IsLinear(m_symbology);
    const double quiet = m_quietZone;
    double mx = 0, my = 0;
    if (m_moduleSize > 0) {
        mx = my = m_moduleSize * perHundredth;
        if (linear)
            my = height / symbol->heightModules;
    } else if (linear) {
        mx = width / (symbol->widthModules + 2 * quiet);
        my = height / symbol->heightModules;
    } else {
        mx = my = std::min(width / (symbol->widthModules + 2 * quiet), height / (symbol->heightModules + 2 * quiet));
    }
    if (mx <= 0 || my <= 0)
        return;
    // The symbol hangs from the rectangle's upper edge, inside its quiet zone; y runs up
    // on the page, down in the symbol.
    const double x0 = rc.left + quiet * mx;
    const double y0 = rc.MaxY() - (linear ? 0.0 : quiet * my);
    std::vector<RectF> bars;
    bars.reserve(symbol->bars.size());
    for (const RectF& b : symbol->bars)
        bars.push_back({x0 + b.left * mx, y0 - b.top * my, x0 + b.right * mx, y0 - b.bottom * my});
    dc.FillRectsF(bars, m_textColor);
    if (showText) {
        dc.SelectFont(m_logFont);
        dc.SetTextColor(m_textColor);
        dc.SetTextAlign(TextAlign::kCenter | TextAlign::kBottom);
        const int centre = int(std::lround(x0 + symbol->widthModules * mx / 2));
        dc.TextOutClipped(centre, rc.MinY(), rc, data);
    }
}

int CCodigoBarras::RecordingTextCell() const
{
    return std::min(PositiveHeight(m_logFont.height == 0 ? 40 : m_logFont.height), kMaxDrawnFontUnits);
}

void CCodigoBarras::DrawDesign(Dc& dc)
{
    PlaceOnScreenFromPage(*this, dc, ScreenPlacement::Line);
    const Rect rc = DesignRect(m_rcPage).Normalized();
    OutlineInDesign(*this, dc, rc);
    DrawSymbol(dc, rc, SampleData());
}

void CCodigoBarras::DrawScreen(Dc& dc, bool showOrder)
{
    DrawControlOnScreen(*this, dc, showOrder, false);
}

void CCodigoBarras::Print(Dc& dc)
{
    if (!m_pControl)
        return;
    DrawSymbol(dc, DrawableRect(m_rcPage).Normalized(), m_pControl->Text());
}

int CCodigoBarras::CreateEntryControl(Dc&, EntryFactory& factory, int controlId, const LogFont& font)
{
    if (m_pControl)
        return 0;
    TextEntryParams params;
    params.kind = TextEntryKind::CalcLine;
    params.rcScreen = m_rcScreen;
    params.controlId = controlId;
    params.font = font;
    params.readOnly = TakesDataFromTemplate();
    m_pControl = factory.CreateTextEntry(params);
    return m_pControl ? 1 : 0;
}

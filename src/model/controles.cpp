#include "model/controles.h"

#include <cstdlib>
#include <cstring>

#include "base/cp1252.h"

namespace {

constexpr int kMinSize = 40;  // an edge may not be dragged to 4 mm or less
constexpr int kFaceBytes = 32;

}  // namespace

CControles::CControles(int32_t kind, int32_t constant, int32_t bottomAnchored, int32_t align, int32_t captionLeft)
    : m_constant(constant),
      m_kind(kind),
      m_captionLeft(captionLeft),
      m_align(align),
      m_bottomAnchored(bottomAnchored)
{
}

static Rect ReadRect(ArchiveReader& ar)
{
    Rect r;
    r.left = ar.ReadInt32();
    r.top = ar.ReadInt32();
    r.right = ar.ReadInt32();
    r.bottom = ar.ReadInt32();
    return r;
}

static void WriteRect(ArchiveWriter& ar, const Rect& r)
{
    ar.WriteInt32(r.left);
    ar.WriteInt32(r.top);
    ar.WriteInt32(r.right);
    ar.WriteInt32(r.bottom);
}

void CControles::Read(ArchiveReader& ar)
{
    const int32_t word = ar.ReadInt32();
    m_screenPlaced = (word & kScreenPlacedBit) ? 1 : 0;
    m_align = word & ~kScreenPlacedBit;
    m_text = ar.ReadString();
    m_rcPage = ReadRect(ar);
    m_rcScreen = ReadRect(ar);
    m_captionLeft = ar.ReadInt32();
    m_textColor = ar.ReadUInt32();
    m_order = ar.ReadInt32();
    m_logFont.height = ar.ReadInt32();
    m_logFont.width = ar.ReadInt32();
    m_logFont.escapement = ar.ReadInt32();
    m_logFont.orientation = ar.ReadInt32();
    m_logFont.weight = ar.ReadInt32();
    m_logFont.italic = ar.ReadByte();
    m_logFont.underline = ar.ReadByte();
    m_logFont.strikeOut = ar.ReadByte();
    m_logFont.charSet = ar.ReadByte();
    m_logFont.outPrecision = ar.ReadByte();
    m_logFont.clipPrecision = ar.ReadByte();
    m_logFont.quality = ar.ReadByte();
    m_logFont.pitchAndFamily = ar.ReadByte();
    const std::string face = ar.ReadBytes(kFaceBytes);
    m_logFont.face = cp1252::ToUtf8(face.substr(0, std::min(face.find('\0'), face.size())));
    m_selected = 0;
    m_layoutMode = 0;
    ReadTail(ar);
    AfterRead();
}

void CControles::Write(ArchiveWriter& ar) const
{
    ar.WriteInt32(m_screenPlaced ? (m_align | kScreenPlacedBit) : m_align);
    ar.WriteString(m_text);
    WriteRect(ar, m_rcPage);
    WriteRect(ar, m_rcScreen);
    ar.WriteInt32(m_captionLeft);
    ar.WriteUInt32(m_textColor);
    ar.WriteInt32(m_order);
    ar.WriteInt32(m_logFont.height);
    ar.WriteInt32(m_logFont.width);
    ar.WriteInt32(m_logFont.escapement);
    ar.WriteInt32(m_logFont.orientation);
    ar.WriteInt32(m_logFont.weight);
    for (uint8_t b : {m_logFont.italic, m_logFont.underline, m_logFont.strikeOut, m_logFont.charSet,
                      m_logFont.outPrecision, m_logFont.clipPrecision, m_logFont.quality, m_logFont.pitchAndFamily})
        ar.WriteByte(b);
    // The face is zero-terminated inside 32 bytes; the bytes after the terminator are 0.
    std::string face = cp1252::FromUtf8(m_logFont.face).substr(0, kFaceBytes - 1);
    face.resize(kFaceBytes, '\0');
    ar.WriteBytes(face);
    WriteTail(ar);
}

Rect CControles::ResizedEdge(Rect rc, int handle, int dx, int dy)
{
    // The width test is signed (the left edge can never pass the right one); the height
    // test is not, since page y runs upward and screen y downward. Sizes are measured in
    // 64 bits and the moved edge saturates, whatever the stored coordinates.
    const int64_t left = rc.left, top = rc.top, right = rc.right, bottom = rc.bottom;
    switch (handle) {
    case kHandleLeft:
        if (right - (left + dx) > kMinSize)
            rc.left = AddSaturated(rc.left, dx);
        break;
    case kHandleRight:
        if ((right + dx) - left > kMinSize)
            rc.right = AddSaturated(rc.right, dx);
        break;
    case kHandleBottom:
        if (std::llabs((bottom + dy) - top) > kMinSize)
            rc.bottom = AddSaturated(rc.bottom, dy);
        break;
    case kHandleTop:
        if (std::llabs(bottom - (top + dy)) > kMinSize)
            rc.top = AddSaturated(rc.top, dy);
        break;
    default:
        break;
    }
    return rc;
}

void CControles::ResizeByHandle(int handle, int dx, int dy)
{
    m_rcPage = ResizedEdge(m_rcPage, handle, dx, dy);
    UpdateHandles();
}

void CControles::ResizeScreen(int handle, int dx, int dy)
{
    m_rcScreen = ResizedEdge(m_rcScreen, handle, dx, dy);
    UpdateHandles();
}

void CControles::Offset(int dx, int dy, bool onScreen)
{
    Rect& rc = onScreen ? m_rcScreen : m_rcPage;
    rc = rc.Offset(dx, dy);
    UpdateHandles();
}

bool CControles::HitTest(int x, int y, bool onScreen) const
{
    return onScreen ? m_rcScreen.Contains({x, y}) : m_rcPage.Normalized().Contains({x, y});
}

int CControles::HitHandle(int x, int y) const
{
    // Page-mode handles are held in design-view drawing coordinates.
    if (!m_layoutMode) {
        x = AddSaturated(x, kDesignMarginX);
        y = AddSaturated(y, kDesignMarginY);
    }
    for (int i = 0; i < 4; ++i)
        if (m_rcHandle[i].Normalized().Contains({x, y}))
            return i + 1;
    return kNoHandle;
}

void CControles::ComputeHandles(HandleSet set)
{
    const bool screen = m_layoutMode != 0;
    const Rect rc = screen ? m_rcScreen.Normalized() : m_rcPage.Offset(kDesignMarginX, kDesignMarginY).Normalized();
    const int half = screen ? 4 : 10;
    const int midX = Midpoint(rc.left, rc.right);
    const int midY = Midpoint(rc.top, rc.bottom);
    // A handle at the end of the coordinate range is cut there rather than wrapped.
    auto square = [half](int x, int y) {
        return Rect{AddSaturated(x, -half), AddSaturated(y, -half), AddSaturated(x, half), AddSaturated(y, half)};
    };
    m_rcHandle = {};
    if (set != HandleSet::BottomTop) {
        m_rcHandle[0] = square(rc.left, midY);
        m_rcHandle[1] = square(rc.right, midY);
    }
    if (set != HandleSet::LeftRight) {
        // Normalised, the numerically smaller y is the page's lower edge (y runs upward)
        // and the screen's upper edge (y runs downward); the bottom handle follows the
        // stored bottom edge in both cases.
        const bool bottomIsMin = !screen;
        m_rcHandle[2] = square(midX, bottomIsMin ? rc.top : rc.bottom);
        m_rcHandle[3] = square(midX, bottomIsMin ? rc.bottom : rc.top);
    }
}

bool CControles::HasFont() const
{
    return m_kind != kKindLinea && m_kind != kKindRectangulo && m_kind != kKindImagen;
}

std::string CControles::KindName(int32_t kind)
{
    switch (kind) {
    case kKindTextlineVar: return "Línea de texto variable";
    case kKindParrafoVar: return "Párrafo variable";
    case kKindCuadrosVar: return "Texto en cuadros";
    case kKindMarcaVar: return "Casilla de verificación";
    case kKindGrid: return "Tabla";
    case kKindConsText: return "Línea de texto constante";
    case kKindConsParrafo: return "Párrafo constante";
    case kKindLinea: return "Línea";
    case kKindRectangulo: return "Rectángulo";
    case kKindImagen: return "Imagen";
    case kKindEtiqueta: return "Etiqueta";
    case kKindCodigoBarras: return "Código de barras";
    default: return "";
    }
}

std::string CControles::KindName() const
{
    return KindName(m_kind);
}

void CControles::DrawCaption(Dc& dc) const
{
    if (m_constant || m_kind == kKindEtiqueta)
        return;
    const std::string caption = m_text + ":";
    if (m_captionLeft == 1) {
        dc.SetTextAlign(TextAlign::kRight);
        dc.TextOut(AddSaturated(m_rcScreen.left, -2), AddSaturated(m_rcScreen.top, 2), caption);
    } else {
        dc.SetTextAlign(TextAlign::kLeft);
        dc.TextOut(m_rcScreen.left, AddSaturated(m_rcScreen.top, -16), caption);
    }
}

namespace {
// Controls narrower than this (pixels) carry their order badge beside them.
constexpr int64_t kNarrowControlPx = 40;
}  // namespace

void CControles::DrawScreen(Dc& dc, bool showOrder)
{
    if (m_constant)
        return;
    DrawCaption(dc);
    if (!showOrder)
        return;
    const bool wasTransparent = dc.IsBkTransparent();
    const ColorRef oldText = dc.GetTextColor();
    dc.SetBkTransparent(false);
    dc.SetBkColor(kSelectionRed);
    dc.SetTextColor(Rgb(255, 255, 255));
    dc.SetTextAlign(TextAlign::kLeft);
    // On a control as narrow as a check box the badge would hide the control it numbers:
    // there it stands just right of the control instead.
    const bool narrow = int64_t(m_rcScreen.right) - m_rcScreen.left < kNarrowControlPx;
    const int x = narrow ? AddSaturated(m_rcScreen.right, 3) : AddSaturated(m_rcScreen.left, 6);
    dc.TextOut(x, AddSaturated(m_rcScreen.top, -4), " " + std::to_string(m_order) + " ");
    dc.SetBkTransparent(wasTransparent);
    dc.SetTextColor(oldText);
}

#include "model/imagen.h"

#include <cmath>

#include "model/embedded_image.h"
#include "model/kind_drawing.h"

std::unique_ptr<CImagen> CImagen::CreateAt(int x, int y, int widthUnits, std::vector<uint8_t> bytes,
                                           std::string& reason)
{
    if (bytes.size() > kMaxEmbeddedImageBytes) {
        reason = "la imagen ocupa más de 4 MB";
        return nullptr;
    }
    auto element = std::make_unique<CImagen>();
    if (!DecodeEmbeddedImage(bytes, element->m_picture, reason))
        return nullptr;
    element->m_bytes = std::move(bytes);
    element->m_text = "Imagen";
    element->m_rcPage = {x, y, AddSaturated(x, std::max(widthUnits, 50)), y};
    element->FitHeightToAspect();
    return element;
}

void CImagen::ReadTail(ArchiveReader& ar)
{
    m_flags = ar.ReadInt32();
    const size_t at = ar.Offset();
    const uint32_t count = ar.ReadUInt32();
    if (count == 0 || count > kMaxEmbeddedImageBytes)
        throw ArchiveRefusal(at, count == 0 ? "imagen incrustada vacía" : "imagen incrustada de más de 4 MB");
    const std::string raw = ar.ReadBytes(count);
    m_bytes.assign(raw.begin(), raw.end());
    std::string reason;
    if (!DecodeEmbeddedImage(m_bytes, m_picture, reason))
        throw ArchiveRefusal(at + 4, reason);
}

void CImagen::WriteTail(ArchiveWriter& ar) const
{
    ar.WriteInt32(m_flags);
    ar.WriteUInt32(uint32_t(m_bytes.size()));
    ar.WriteBytes(std::string_view(reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size()));
}

void CImagen::SetKeepsAspect(bool keep)
{
    m_flags = keep ? (m_flags & ~kAspectUnlocked) : (m_flags | kAspectUnlocked);
    if (keep)
        FitHeightToAspect();
}

void CImagen::FitHeightToAspect()
{
    if (m_picture.IsNull())
        return;
    const Rect rc = m_rcPage;
    const double width = std::abs(double(rc.right) - rc.left);
    const int64_t height = std::max<int64_t>(41, std::llround(width * m_picture.height / m_picture.width));
    m_rcPage.bottom = AddSaturated(m_rcPage.top, -std::min<int64_t>(height, kDrawLimit));
    UpdateHandles();
}

void CImagen::ResizeByHandle(int handle, int dx, int dy)
{
    CControles::ResizeByHandle(handle, dx, dy);
    if (!KeepsAspect() || m_picture.IsNull())
        return;
    // With the ratio kept, a side handle sets the width and the height follows; the top
    // or bottom handle sets the height and the width follows.
    if (handle == kHandleLeft || handle == kHandleRight) {
        FitHeightToAspect();
    } else if (handle == kHandleTop || handle == kHandleBottom) {
        const double height = std::abs(double(m_rcPage.top) - m_rcPage.bottom);
        const int64_t width = std::max<int64_t>(41, std::llround(height * m_picture.width / m_picture.height));
        m_rcPage.right = AddSaturated(m_rcPage.left, std::min<int64_t>(width, kDrawLimit));
        UpdateHandles();
    }
}

void CImagen::DrawDesign(Dc& dc)
{
    const Rect rc = DesignRect(m_rcPage).Normalized();
    dc.DrawImage(rc, m_picture);
    if (m_selected) {
        PenScope pen(dc, 1, kSelectionRed);
        dc.Outline(rc);
        OutlineHandles(dc, m_rcHandle);
    }
}

void CImagen::Print(Dc& dc)
{
    dc.DrawImage(DrawableRect(m_rcPage).Normalized(), m_picture);
}

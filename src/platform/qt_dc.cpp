#include "platform/qt_dc.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <cmath>
#include <cstdlib>

#include "base/text_layout.h"

namespace {

// Font faces of the forms that fontconfig does not map to a metric twin by itself.
void InstallSubstitutions()
{
    static const bool done = [] {
        QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
        return true;
    }();
    (void)done;
}

QRectF LogicalRect(const Rect& rc)
{
    return QRectF(QPointF(rc.left, rc.top), QPointF(rc.right, rc.bottom)).normalized();
}

}  // namespace

QColor QtDc::ToQColor(ColorRef color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QtDc::QtDc(QPainter& painter, double dpi)
    : m_painter(painter), m_dpi(dpi), m_base(painter.worldTransform()), m_toDevice(m_base)
{
    InstallSubstitutions();
    ApplyPen();
    m_painter.setBrush(Qt::NoBrush);
}

QtDc::~QtDc()
{
    m_painter.setWorldTransform(m_base);
}

double QtDc::Scale() const
{
    switch (m_mode) {
    case MapMode::LoMetric: return m_dpi / 254.0;
    case MapMode::HiMetric: return m_dpi / 2540.0;
    case MapMode::Pixels: break;
    }
    return 1.0;
}

void QtDc::SetMapMode(MapMode mode)
{
    m_mode = mode;
    const double s = Scale();
    m_mapping = YUp() ? QTransform(s, 0, 0, -s, 0, 0) : QTransform();
    m_toDevice = m_mapping * m_base;
    m_painter.setWorldTransform(m_toDevice);
    m_font.reset();
    ApplyPen();
}

void QtDc::SelectFont(const LogFont& requested)
{
    // Sizes beyond the drawing bounds are drawn at the bound (the record keeps its own).
    const LogFont font = DrawableFont(requested);
    if (m_font && m_font->record == font)
        return;
    m_fontRecord = font;
    m_font.reset();
}

std::shared_ptr<QtDc::FontState> QtDc::BuildFont(const LogFont& record)
{
    auto state = std::make_shared<FontState>();
    state->record = record;
    QFont font(QString::fromUtf8(record.face.c_str()));
    font.setWeight(QFont::Weight(record.weight <= 0 ? 400 : std::min(record.weight, 1000)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    // The record's height is the cell (ascent + descent); Qt sizes by the em. Measure the
    // face's cell at a large size once, then size the font so that its cell is exactly
    // ten times the requested height.
    constexpr int kReferencePx = 1000;
    font.setPixelSize(kReferencePx);
    const QFontMetricsF reference(font);
    const double cellPerPx = (reference.ascent() + reference.descent()) / kReferencePx;
    const int cellLogical = record.height == 0 ? 40 : std::abs(record.height);
    font.setPixelSize(std::max(1, int(std::lround(cellLogical * state->unitsPerLogical / cellPerPx))));
    state->font = font;
    state->metrics = QFontMetricsF(font);
    if (record.width > 0) {
        const double natural = state->metrics.averageCharWidth() / state->unitsPerLogical;
        if (natural > 0)
            state->stretch = record.width / natural;
    }
    return state;
}

QtDc::FontState& QtDc::Font()
{
    if (m_font)
        return *m_font;
    // The fonts built so far on this thread. A form uses a handful; past the bound (a
    // format of many sizes) the oldest are let go.
    constexpr size_t kKeptFonts = 64;
    thread_local std::vector<std::shared_ptr<FontState>> kept;
    thread_local bool releaseRegistered = false;
    for (const auto& state : kept)
        if (state->record == m_fontRecord)
            return *(m_font = state);
    if (kept.size() >= kKeptFonts)
        kept.erase(kept.begin(), kept.begin() + kKeptFonts / 2);
    if (!releaseRegistered) {
        // Fonts are let go while the application still stands, not after its font
        // caches are gone.
        qAddPostRoutine([] {
            kept.clear();
            releaseRegistered = false;
        });
        releaseRegistered = true;
    }
    kept.push_back(BuildFont(m_fontRecord));
    m_font = kept.back();
    return *m_font;
}

QtDc::MeasuredText QtDc::Measure(std::string_view utf8)
{
    FontState& f = Font();
    const auto it = f.measured.find(utf8);
    if (it != f.measured.end())
        return it->second;
    // Bounded: a surface that draws ever new texts (a long report) starts afresh.
    constexpr size_t kKeptTexts = 8192;
    if (f.measured.size() >= kKeptTexts)
        f.measured.clear();
    MeasuredText measured;
    measured.text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    measured.advance = f.metrics.horizontalAdvance(measured.text);
    return f.measured.emplace(std::string(utf8), std::move(measured)).first->second;
}

double QtDc::TextWidth(const QString& text)
{
    const FontState& f = Font();
    return Measure(text.toStdString()).advance * f.stretch / f.unitsPerLogical;
}

double QtDc::CellHeight()
{
    const FontState& f = Font();
    return (f.metrics.ascent() + f.metrics.descent()) / f.unitsPerLogical;
}

QPointF QtDc::LineStart(const FontState& f, int align, double advance)
{
    double x0 = 0;
    switch (align & 6) {
    case TextAlign::kRight: x0 = -advance; break;
    case TextAlign::kCenter: x0 = -advance / 2; break;
    default: break;
    }
    // Vertical reference: top of the cell, bottom of the cell (baseline + descent) or the
    // baseline itself; in the text's own coordinates y runs down from the reference.
    double baseline = f.metrics.ascent();
    if ((align & TextAlign::kBaseline) == TextAlign::kBaseline)
        baseline = 0;
    else if (align & TextAlign::kBottom)
        baseline = -f.metrics.descent();
    return {x0, baseline};
}

void QtDc::DrawLine(double x, double y, int align, const MeasuredText& line)
{
    const FontState& f = Font();
    const double advance = line.advance;
    const QPointF start = LineStart(f, align, advance);
    const double x0 = start.x(), baseline = start.y();

    const double unit = 1.0 / f.unitsPerLogical;
    QTransform local;
    local.translate(x, y);
    if (m_fontRecord.escapement != 0)
        local.rotate((YUp() ? 1 : -1) * m_fontRecord.escapement / 10.0);
    local.scale(unit * f.stretch, YUp() ? -unit : unit);
    m_painter.setWorldTransform(local * m_toDevice);
    if (!m_transparent)
        m_painter.fillRect(QRectF(x0, baseline - f.metrics.ascent(), advance, f.metrics.ascent() + f.metrics.descent()),
                           ToQColor(m_bkColor));
    m_painter.setFont(f.font);
    m_painter.setPen(ToQColor(m_textColor));
    m_painter.drawText(QPointF(x0, baseline), line.text);
    m_painter.setWorldTransform(m_toDevice);
    m_painter.setPen(m_linePen);
}

void QtDc::TextOut(int x, int y, const std::string& text)
{
    DrawLine(x, y, m_align, Measure(text));
}

bool QtDc::LineInside(double x, double y, int align, const MeasuredText& line, const Rect& clip)
{
    const FontState& f = Font();
    if (m_fontRecord.escapement != 0)
        return false;
    // The line's box as DrawLine places it: the advance across, ascent and descent around
    // the baseline, in logical units.
    const QPointF start = LineStart(f, align, line.advance);
    const double x0 = start.x(), baseline = start.y();
    const double across = f.stretch / f.unitsPerLogical;
    const double down = (YUp() ? -1.0 : 1.0) / f.unitsPerLogical;
    const double left = x + x0 * across, right = x + (x0 + line.advance) * across;
    const double y1 = y + (baseline - f.metrics.ascent()) * down, y2 = y + (baseline + f.metrics.descent()) * down;
    const Rect c = clip.Normalized();
    return std::min(left, right) >= c.left && std::max(left, right) <= c.right && std::min(y1, y2) >= c.top &&
           std::max(y1, y2) <= c.bottom;
}

void QtDc::TextOutClipped(int x, int y, const Rect& clip, const std::string& text)
{
    const MeasuredText line = Measure(text);
    if (LineInside(x, y, m_align, line, clip)) {
        DrawLine(x, y, m_align, line);
        return;
    }
    // Without a clip of its own the painter only needs its clipping turned off again,
    // which is cheaper than saving and restoring its whole state.
    const bool hadClip = m_painter.hasClipping();
    if (hadClip)
        m_painter.save();
    m_painter.setClipRect(LogicalRect(clip), hadClip ? Qt::IntersectClip : Qt::ReplaceClip);
    DrawLine(x, y, m_align, line);
    if (hadClip)
        m_painter.restore();
    else
        m_painter.setClipping(false);
}

int QtDc::DrawText(const std::string& text, Rect& rect, unsigned flags)
{
    const Rect box = rect.Normalized();
    const auto measure = [this](std::string_view s) {
        const FontState& f = Font();
        return Measure(s).advance * f.stretch / f.unitsPerLogical;
    };
    const auto lines = LayoutLines(text, (flags & DrawTextFlag::kWordBreak) != 0, box.Width(), measure);
    const double lineHeight = CellHeight();
    const int height = int(std::lround(std::min(lineHeight * double(lines.size()), 1e9)));
    const int down = YUp() ? -1 : 1;
    if (flags & DrawTextFlag::kCalcRect) {
        double widest = 0;
        for (const auto& line : lines)
            widest = std::max(widest, measure(line));
        rect.right = AddSaturated(rect.left, int64_t(std::ceil(std::min(widest, 1e12) - 1e-6)));
        rect.bottom = AddSaturated(rect.top, int64_t(down) * height);
        return height;
    }
    // Lines that all lie inside the rectangle need no clip.
    bool clip = !(flags & DrawTextFlag::kNoClip);
    if (clip && lines.size() == 1) {
        const MeasuredText line = Measure(lines[0]);
        const double width = line.advance * Font().stretch / Font().unitsPerLogical;
        const double x = (flags & DrawTextFlag::kRight)    ? box.right - width
                         : (flags & DrawTextFlag::kCenter) ? box.left + (box.Width() - width) / 2
                                                           : box.left;
        clip = !LineInside(x, rect.top, TextAlign::kLeft, line, rect);
    }
    const bool hadClip = m_painter.hasClipping();
    if (clip) {
        if (hadClip)
            m_painter.save();
        m_painter.setClipRect(LogicalRect(rect), hadClip ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    const FontState& f = Font();
    for (size_t i = 0; i < lines.size(); ++i) {
        const MeasuredText line = Measure(lines[i]);
        const double width = line.advance * f.stretch / f.unitsPerLogical;
        double x = box.left;
        if (flags & DrawTextFlag::kRight)
            x = box.right - width;
        else if (flags & DrawTextFlag::kCenter)
            x = box.left + (box.Width() - width) / 2;
        // Lines go from the rectangle's top edge in the surface's downward direction.
        DrawLine(x, rect.top + down * lineHeight * double(i), TextAlign::kLeft, line);
    }
    if (clip && hadClip)
        m_painter.restore();
    else if (clip)
        m_painter.setClipping(false);
    return height;
}

void QtDc::SelectPen(int width, ColorRef color)
{
    if (width == m_penWidth && color == m_penColor) {
        m_painter.setPen(m_linePen);  // the pen already built
        return;
    }
    m_penWidth = width;
    m_penColor = color;
    ApplyPen();
}

void QtDc::ApplyPen()
{
    QPen pen(ToQColor(m_penColor));
    pen.setStyle(Qt::SolidLine);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // A pen never draws thinner than one device pixel, as on the original surfaces.
    if (m_penWidth <= 1 || m_penWidth * Scale() < 1.0) {
        pen.setWidth(0);
        pen.setCosmetic(true);
    } else {
        pen.setWidthF(m_penWidth);
    }
    m_linePen = pen;
    m_painter.setPen(m_linePen);
}

void QtDc::LineTo(int x, int y)
{
    m_painter.drawLine(QPointF(m_current.x, m_current.y), QPointF(x, y));
    m_current = {x, y};
}

void QtDc::Outline(const Rect& rect)
{
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(LogicalRect(rect));
}

void QtDc::FillRect(const Rect& rect, ColorRef color)
{
    m_painter.fillRect(LogicalRect(rect), ToQColor(color));
}

void QtDc::FillRectsF(std::span<const RectF> rects, ColorRef color)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const RectF& r : rects)
        path.addRect(QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized());
    m_painter.fillPath(path, ToQColor(color));
}

namespace {

// The pictures drawn lately on this thread, by content key. Drawing the same QImage again
// lets a PDF refer to the picture it already holds instead of storing it on every page.
QImage KeptImage(const DcImage& image)
{
    struct Kept {
        uint64_t key;
        QImage image;
    };
    constexpr size_t kKeptImages = 8;
    thread_local std::vector<Kept> kept;
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if (it->key == image.key && it->image.width() == image.width && it->image.height() == image.height) {
            std::rotate(kept.begin(), it, it + 1);
            return kept.front().image;
        }
    // The pixels stay owned by the shared buffer; the QImage holds a reference to it.
    auto* owner = new std::shared_ptr<const std::vector<uint8_t>>(image.rgba);
    QImage wrapped((*owner)->data(), image.width, image.height, image.width * 4,
                   image.opaque ? QImage::Format_RGBX8888 : QImage::Format_RGBA8888,
                   [](void* info) { delete static_cast<std::shared_ptr<const std::vector<uint8_t>>*>(info); }, owner);
    if (kept.size() >= kKeptImages)
        kept.pop_back();
    kept.insert(kept.begin(), {image.key, wrapped});
    return wrapped;
}

}  // namespace

void QtDc::DrawImage(const Rect& rect, const DcImage& image)
{
    if (image.IsNull() || image.rgba->size() < size_t(image.width) * size_t(image.height) * 4)
        return;
    const QRectF target = LogicalRect(rect);
    if (target.isEmpty())
        return;
    // The first row goes to the rectangle's upper edge: with y up that is the greater y,
    // so the picture is flipped back upright locally.
    m_painter.save();
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (YUp()) {
        m_painter.translate(target.left(), target.bottom());
        m_painter.scale(1, -1);
        m_painter.drawImage(QRectF(0, 0, target.width(), target.height()), KeptImage(image));
    } else {
        m_painter.drawImage(target, KeptImage(image));
    }
    m_painter.restore();
}

Point QtDc::LogicalToDevice(Point p) const
{
    const QPointF d = m_mapping.map(QPointF(p.x, p.y));
    return {int32_t(std::lround(d.x())), int32_t(std::lround(d.y()))};
}

Rect QtDc::ClipBox() const
{
    // The painter's clip (a view's exposed area) or its whole device, in the mapping's
    // logical units, one unit wider on each side for rounding.
    QRectF area;
    const QTransform toLogical = (m_mapping * m_base).inverted();
    if (m_painter.hasClipping())
        area = (m_painter.worldTransform() * toLogical).mapRect(m_painter.clipBoundingRect());
    else if (m_painter.device())
        area = toLogical.mapRect(QRectF(0, 0, m_painter.device()->width(), m_painter.device()->height()));
    else
        return Dc::ClipBox();
    const auto bound = [](double v) { return int32_t(std::clamp(v, double(-kDrawLimit), double(kDrawLimit))); };
    return {bound(std::floor(area.left()) - 1), bound(std::floor(area.top()) - 1), bound(std::ceil(area.right()) + 1),
            bound(std::ceil(area.bottom()) + 1)};
}

Point QtDc::DeviceToLogical(Point p) const
{
    const QPointF l = m_mapping.inverted().map(QPointF(p.x, p.y));
    return {int32_t(std::lround(l.x())), int32_t(std::lround(l.y()))};
}

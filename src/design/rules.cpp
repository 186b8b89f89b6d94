#include "design/rules.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/geometry.h"
#include "base/log_font.h"
#include "platform/qt_dc.h"

namespace {

// The page's origin lies 5 mm (500 ruler units) from the ruler's start, as in the view.
constexpr int kOriginRulerUnits = 500;
// A centimetre label stands 1 mm before its line.
constexpr int kLabelGapRulerUnits = 100;
// Millimetre ticks start 3 mm into the ruler from its outer edge.
constexpr int kTickStartRulerUnits = 300;
// The horizontal ruler's labels stand with their top 0.5 mm above the ruler's edge.
constexpr int kLabelTopRulerUnits = 50;
constexpr int kPenRulerUnits = 10;
constexpr ColorRef kMarkerCyan = Rgb(0, 255, 255);

ColorRef ToColorRef(const QColor& c)
{
    return Rgb(c.red(), c.green(), c.blue());
}

// Times New Roman as the rulers use it: TrueType, clipping that follows the coordinate
// system's orientation, proof quality, variable pitch, roman family.
LogFont RulerFont(int heightRulerUnits, int escapement)
{
    LogFont font;
    font.face = "Times New Roman";
    font.height = heightRulerUnits;
    font.weight = 400;
    font.escapement = escapement;
    font.orientation = escapement;
    font.charSet = 0;
    font.outPrecision = 4;     // TrueType
    font.clipPrecision = 16;   // angles follow the coordinate system
    font.quality = 2;          // proof
    font.pitchAndFamily = 0x12;  // variable pitch, roman
    return font;
}

}  // namespace

CRules::CRules(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    SetOrientation(kHorizontal);
}

void CRules::SetOrientation(int orientation)
{
    m_orientation = orientation == kVertical ? kVertical : kHorizontal;
    if (IsHorizontal()) {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
        setFixedHeight(kThicknessPx);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        setFixedWidth(kThicknessPx);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    update();
}

void CRules::SetPageSize(int widthUnits, int heightUnits)
{
    m_pageWidth = widthUnits;
    m_pageHeight = heightUnits;
    update();
}

void CRules::SetScale(int scale)
{
    m_scale = scale;
    update();
}

void CRules::SetZoom(double factor)
{
    if (factor <= 0 || factor == m_zoom)
        return;
    m_zoom = factor;
    m_markerPos = kNoMarker;
    m_markerHidden = true;
    update();
}

QSize CRules::sizeHint() const
{
    return IsHorizontal() ? QSize(400, kThicknessPx) : QSize(kThicknessPx, 400);
}

double CRules::Dpi() const
{
    // The design view converts page units with its horizontal logical resolution on both
    // axes; the rulers must use the same figure to line up with it.
    return logicalDpiX();
}

double CRules::RulerUnitsToPixels(double rulerUnits) const
{
    const double px = rulerUnits * m_zoom * Dpi() / 2540.0;
    return IsHorizontal() ? px : -px;
}

QRect CRules::MarkerStrip(int markerPos) const
{
    const int px = int(std::floor(RulerUnitsToPixels(double(int64_t(markerPos) - m_offset))));
    return IsHorizontal() ? QRect(px - 2, 0, 5, height()) : QRect(0, px - 2, width(), 5);
}

void CRules::UpdateRuler(int code, int value)
{
    const bool horizontal = IsHorizontal();
    switch (code) {
    case kCodeScrollX:
    case kCodeScrollY:
        if ((code == kCodeScrollX) != horizontal)
            return;
        m_offset = Saturate32(int64_t(value) * 10);
        // The graduation moved under any marker: the whole ruler is drawn again, without one.
        m_markerPos = kNoMarker;
        m_markerHidden = true;
        repaint();
        return;
    case kCodePointerX:
    case kCodePointerY: {
        if ((code == kCodePointerX) != horizontal)
            return;
        const int64_t c = int64_t(value) * 10;
        // Beyond the page's far edge the marker stops; the earlier one stays.
        if (horizontal ? c > int64_t(10) * m_scale * m_pageWidth : -c > int64_t(10) * m_scale * m_pageHeight)
            return;
        QRegion dirty;
        if (!m_markerHidden)
            dirty += MarkerStrip(m_markerPos);
        m_markerPos = Saturate32(horizontal ? c + kOriginRulerUnits : c - kOriginRulerUnits);
        m_markerHidden = false;
        dirty += MarkerStrip(m_markerPos);
        // Drawn at once, so the marker keeps up with the pointer while the view is busy.
        repaint(dirty);
        return;
    }
    default:
        update();
        return;
    }
}

void CRules::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), palette().color(QPalette::Base));

    const bool horizontal = IsHorizontal();
    const ColorRef ink = ToColorRef(palette().color(QPalette::Text));
    QtDc dc(painter, Dpi());
    dc.SetMapMode(MapMode::HiMetric);
    dc.SelectPen(kPenRulerUnits, ink);
    dc.SetTextColor(ink);
    dc.SetBkTransparent(true);

    const int64_t s = m_scale;
    const int64_t o = m_offset;
    const int64_t pageUnits = horizontal ? m_pageWidth : m_pageHeight;
    // Reach of the lines across the ruler: its whole thickness, whatever the resolution.
    const int thicknessPx = horizontal ? height() : width();
    const int across = Saturate32(int64_t(std::ceil((thicknessPx + 1) * 2540.0 / std::max(1.0, Dpi()))));

    if (horizontal) {
        dc.SelectFont(RulerFont(400, 0));
        dc.SetTextAlign(TextAlign::kRight);
    } else {
        // The vertical labels run downward; their cell lies on the ruler, its upper side
        // (turned to face right) away from the ruler's left edge.
        dc.SelectFont(RulerFont(300, -900));
        dc.SetTextAlign(TextAlign::kLeft | TextAlign::kBottom);
    }

    // Only the graduations that fall within the painted region are drawn.
    const QRect area = event->rect().adjusted(-40, -40, 40, 40);
    const auto visible = [&](int64_t along) {
        const double px = RulerUnitsToPixels(double(along));
        return horizontal ? px >= area.left() && px <= area.right() : px >= area.top() && px <= area.bottom();
    };
    // Positions along the ruler follow the zoom; sizes across it (label height, tick
    // length) do not. The surface draws at the unzoomed resolution, so a position goes
    // to it multiplied by the zoom.
    const auto zoomed = [&](int64_t along) { return Saturate32(std::llround(double(along) * m_zoom)); };
    // A label every 1, 2, 5 or 10 cm, the first step that leaves room for two digits.
    const double cmPx = std::abs(RulerUnitsToPixels(1000.0 * double(s)));
    int labelEvery = 1;
    for (int step : {1, 2, 5, 10}) {
        labelEvery = step;
        if (cmPx * step >= (horizontal ? 22 : 16))
            break;
    }
    const bool millimetres = cmPx / 10 >= 3;

    for (int64_t i = 0; i <= pageUnits / 100; ++i) {
        const int64_t along = horizontal ? 1000 * s * i - o + kOriginRulerUnits : -kOriginRulerUnits - 1000 * s * i - o;
        if (!visible(along))
            continue;
        const std::string label = std::to_string(i);
        const bool labelled = i % labelEvery == 0;
        if (horizontal) {
            dc.MoveTo(zoomed(along), labelled ? 0 : -kTickStartRulerUnits);
            dc.LineTo(zoomed(along), -across);
            if (labelled)
                dc.TextOut(Saturate32(int64_t(zoomed(along)) - kLabelGapRulerUnits), kLabelTopRulerUnits, label);
        } else {
            dc.MoveTo(labelled ? 0 : kTickStartRulerUnits, zoomed(along));
            dc.LineTo(across, zoomed(along));
            // The label runs downward from just below its line, between this centimetre
            // and the next, so no line strikes it through.
            if (labelled)
                dc.TextOut(0, Saturate32(int64_t(zoomed(along)) - kLabelGapRulerUnits / 2), label);
        }
    }
    if (millimetres && pageUnits / 10 > 1) {
        for (int64_t j = 1; j <= pageUnits / 10 - 1; ++j) {
            const int64_t along = horizontal ? 100 * s * j - o + kOriginRulerUnits : -kOriginRulerUnits - 100 * s * j - o;
            // A centimetre has its own line (unlabelled where the labels thin out).
            if (!visible(along) || j % 10 == 0)
                continue;
            if (horizontal) {
                dc.MoveTo(zoomed(along), -kTickStartRulerUnits);
                dc.LineTo(zoomed(along), -across);
            } else {
                dc.MoveTo(kTickStartRulerUnits, zoomed(along));
                dc.LineTo(across, zoomed(along));
            }
        }
    }

    if (!m_markerHidden) {
        // Combined by exclusive-or with what lies under it, as the marker always was: it
        // stays visible over the background and over a graduation line alike.
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        dc.SelectPen(kPenRulerUnits, kMarkerCyan);
        const int at = zoomed(int64_t(m_markerPos) - o);
        if (horizontal) {
            dc.MoveTo(at, 0);
            dc.LineTo(at, -across);
        } else {
            dc.MoveTo(0, at);
            dc.LineTo(across, at);
        }
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

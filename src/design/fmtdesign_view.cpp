#include "design/fmtdesign_view.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "design/design_icons.h"
#include <QStyle>
#include "design/fmtdesign_frm.h"
#include "platform/format_render.h"

CFmtdesignView::CFmtdesignView(CFmtdesignFrm& frame, QWidget* parent) : QAbstractScrollArea(parent), m_frame(frame)
{
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Página del formato"));
    SetPointer(DesignCursor::Select);
}

namespace {

constexpr std::array kZoomSteps = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400};
// A letter sheet: the least of the page a fitted zoom shows.
constexpr int kLetterWidthUnits = 2159;
constexpr int kLetterHeightUnits = 2794;

}  // namespace

double CFmtdesignView::ScreenDpi() const
{
    return viewport()->logicalDpiX();
}

double CFmtdesignView::Dpi() const
{
    return ScreenDpi() * m_zoomPercent / 100.0;
}

int CFmtdesignView::ZoomStepAbove(int percent)
{
    for (int step : kZoomSteps)
        if (step > percent)
            return step;
    return kMaxZoom;
}

int CFmtdesignView::ZoomStepBelow(int percent)
{
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < percent)
            return *it;
    return kMinZoom;
}

void CFmtdesignView::SetZoom(int percent, std::optional<QPoint> anchor)
{
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == m_zoomPercent)
        return;
    const QPoint at = anchor.value_or(viewport()->rect().center());
    // The page point under the anchor, in fractional page units, so that zooming in and
    // out again comes back to the same place.
    const double oldPxPerUnit = Dpi() / 254.0;
    const double ux = (at.x() + horizontalScrollBar()->value()) / oldPxPerUnit;
    const double uy = (at.y() + verticalScrollBar()->value()) / oldPxPerUnit;
    m_zoomPercent = percent;
    UpdateScrollRanges();
    const double pxPerUnit = Dpi() / 254.0;
    horizontalScrollBar()->setValue(int(std::lround(ux * pxPerUnit)) - at.x());
    verticalScrollBar()->setValue(int(std::lround(uy * pxPerUnit)) - at.y());
    m_frame.ZoomChanged(m_zoomPercent);
    m_frame.ReportToRulers(this, RulerCode::kScrollX, ScrollXUnits());
    m_frame.ReportToRulers(this, RulerCode::kScrollY, ScrollYUnits());
    viewport()->update();
}

int CFmtdesignView::FitZoom(bool widthOnly) const
{
    int64_t right = kLetterWidthUnits;
    int64_t down = kLetterHeightUnits;
    for (const auto& e : m_frame.Document().Elements()) {
        const Rect rc = e->m_rcPage.Normalized();
        right = std::max<int64_t>(right, rc.right);
        down = std::max<int64_t>(down, -int64_t(rc.top));
    }
    if (const ScanBackground& scan = m_frame.ScanUnder().Scan(); !scan.IsEmpty()) {
        right = std::max<int64_t>(right, int64_t(std::ceil(scan.WidthUnits())));
        down = std::max<int64_t>(down, int64_t(std::ceil(scan.HeightUnits())));
    }
    right = std::min<int64_t>(right, kScrollWidthUnits - 2 * kPageMarginUnits);
    down = std::min<int64_t>(down, kScrollHeightUnits - 2 * kPageMarginUnits);
    // The 5 mm margin on both sides of the used part.
    const double pxPerUnit = ScreenDpi() / 254.0;
    // The scroll bars take room once the page no longer fits; leave it to them.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const double across = (viewport()->width() - (widthOnly ? bar : 0)) / ((right + 2 * kPageMarginUnits) * pxPerUnit);
    const double along = viewport()->height() / ((down + 2 * kPageMarginUnits) * pxPerUnit);
    const double factor = widthOnly ? across : std::min(across, along);
    return std::clamp(int(std::floor(factor * 100)), kMinZoom, kMaxZoom);
}

void CFmtdesignView::AnnounceSelection()
{
    const auto& selected = m_frame.Document().Selected();
    QString text;
    if (selected.empty()) {
        text = QStringLiteral("Ningún control seleccionado");
    } else if (selected.size() > 1) {
        text = QStringLiteral("%1 controles seleccionados").arg(selected.size());
    } else {
        const CControles& e = *selected.front();
        const Rect rc = e.m_rcPage.Normalized();
        text = QStringLiteral("%1 «%2» seleccionado, a %3 mm de la izquierda y %4 mm del borde superior")
                   .arg(QString::fromStdString(e.KindName()), QString::fromStdString(e.m_text),
                        QString::number(rc.left / 10.0, 'f', 1), QString::number(-rc.bottom / 10.0, 'f', 1));
    }
    if (text == viewport()->accessibleDescription())
        return;
    viewport()->setAccessibleDescription(text);
    setAccessibleDescription(text);
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CFmtdesignView::SetBand(std::optional<Rect> band)
{
    if (band == m_band)
        return;
    m_band = band;
    viewport()->update();
}

int CFmtdesignView::ScrollXUnits() const
{
    return PixelsToUnits(horizontalScrollBar()->value(), Dpi());
}

int CFmtdesignView::ScrollYUnits() const
{
    return -PixelsToUnits(verticalScrollBar()->value(), Dpi());
}

Point CFmtdesignView::PageAt(QPoint viewportPx) const
{
    return ClientToPage(viewportPx.x(), viewportPx.y(), horizontalScrollBar()->value(), verticalScrollBar()->value(), Dpi());
}

QPoint CFmtdesignView::PixelOf(Point page) const
{
    const double dpi = Dpi();
    return {UnitsToPixels(page.x + kPageMarginUnits, dpi) - horizontalScrollBar()->value(),
            UnitsToPixels(kPageMarginUnits - page.y, dpi) - verticalScrollBar()->value()};
}

void CFmtdesignView::UpdateScrollRanges()
{
    const double dpi = Dpi();
    const QSize total(UnitsToPixels(kScrollWidthUnits, dpi), UnitsToPixels(kScrollHeightUnits, dpi));
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, total.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, total.height() - view.height()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    // A line is a tenth of the page step of the original view: 4.1 mm.
    horizontalScrollBar()->setSingleStep(std::max(1, UnitsToPixels(kScrollWidthUnits / 100, dpi)));
    verticalScrollBar()->setSingleStep(std::max(1, UnitsToPixels(kScrollHeightUnits / 100, dpi)));
}

void CFmtdesignView::ScrollToOrigin()
{
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    m_frame.ReportToRulers(this, RulerCode::kScrollY, ScrollYUnits());
    m_frame.ReportToRulers(this, RulerCode::kScrollX, ScrollXUnits());
}

void CFmtdesignView::SetPointer(DesignCursor cursor)
{
    m_pointer = cursor;
    viewport()->setCursor(DesignCursorShape(cursor));
}

void CFmtdesignView::Apply(const EditorOutcome& outcome)
{
    if (outcome.cursor)
        SetPointer(*outcome.cursor);
    if (outcome.band)
        SetBand(outcome.band);
    else if (outcome.bandEnds)
        SetBand(std::nullopt);
    for (const RulerReport& report : outcome.reports)
        m_frame.ReportToRulers(this, report.code, report.value);
    if (outcome.positionText)
        m_frame.SetPositionText(*outcome.positionText);
    if (outcome.repaint)
        viewport()->update();
    if (outcome.changed)
        m_frame.GestureChanged();
    if (outcome.refreshPanel)
        m_frame.RefreshPanel();
}

void CFmtdesignView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Qt::white);
    painter.setClipRect(event->rect());
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    painter.translate(-scroll);
    // The scanned form lies under everything, its corner on the page's corner.
    const double pixelsPerUnit = Dpi() / 254.0;
    const double marginPx = kPageMarginUnits * pixelsPerUnit;
    m_frame.ScanUnder().Draw(painter, QPointF(marginPx, marginPx), pixelsPerUnit, QRectF(event->rect().translated(scroll)));
    // The whole format, front to back: the element at the front lies underneath.
    RenderFormat(m_frame.Document().GetFormat(), RenderMode::Design, Dpi(), painter);
    if (m_band) {
        const Rect rc = m_band->Normalized();
        const QPoint a(UnitsToPixels(rc.left + kPageMarginUnits, Dpi()), UnitsToPixels(kPageMarginUnits - rc.top, Dpi()));
        const QPoint b(UnitsToPixels(rc.right + kPageMarginUnits, Dpi()), UnitsToPixels(kPageMarginUnits - rc.bottom, Dpi()));
        PaintRubberBand(painter, QRect(a, b).normalized());
    }
}

void PaintRubberBand(QPainter& painter, const QRect& rect)
{
    QPen pen(QColor(0, 90, 200));
    pen.setStyle(Qt::DashLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(QColor(0, 90, 200, 28));
    painter.drawRect(rect);
}

void CFmtdesignView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    Apply(m_frame.Editor().Press(PageAt(event->position().toPoint()), shift));
}

void CFmtdesignView::wheelEvent(QWheelEvent* event)
{
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // Ctrl+wheel zooms around the pointer, one step per notch.
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    event->accept();
    SetZoom(delta > 0 ? ZoomStepAbove(m_zoomPercent) : ZoomStepBelow(m_zoomPercent), event->position().toPoint());
}

void CFmtdesignView::keyPressEvent(QKeyEvent* event)
{
    if (!m_frame.HandleKey(event->key(), event->modifiers()))
        QAbstractScrollArea::keyPressEvent(event);
}

bool CFmtdesignView::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab walk the elements in capture order, not the window's widgets.
    return false;
}

void CFmtdesignView::mouseMoveEvent(QMouseEvent* event)
{
    Apply(m_frame.Editor().Move(PageAt(event->position().toPoint())));
}

void CFmtdesignView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    // An element is only placed where the clerk can see the button come up.
    if (!viewport()->rect().contains(at)) {
        Apply(m_frame.Editor().ReleaseOutside());
        return;
    }
    Apply(m_frame.Editor().Release(PageAt(at)));
}

void CFmtdesignView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void CFmtdesignView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    UpdateScrollRanges();
}

void CFmtdesignView::scrollContentsBy(int dx, int dy)
{
    viewport()->update();
    if (dx != 0)
        m_frame.ReportToRulers(this, RulerCode::kScrollX, ScrollXUnits());
    if (dy != 0)
        m_frame.ReportToRulers(this, RulerCode::kScrollY, ScrollYUnits());
}

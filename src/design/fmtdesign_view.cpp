#include "design/fmtdesign_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "design/design_icons.h"
#include "design/fmtdesign_frm.h"
#include "platform/format_render.h"

CFmtdesignView::CFmtdesignView(CFmtdesignFrm& frame, QWidget* parent) : QAbstractScrollArea(parent), m_frame(frame)
{
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    SetPointer(DesignCursor::Select);
}

double CFmtdesignView::Dpi() const
{
    return viewport()->logicalDpiX();
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
}

void CFmtdesignView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Apply(m_frame.Editor().Press(PageAt(event->position().toPoint())));
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

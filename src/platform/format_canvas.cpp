#include "platform/format_canvas.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

// The design view's scroll extent: 410 × 410 mm.
constexpr int kDesignScrollUnits = 4100;

}  // namespace

CFormatCanvas::CFormatCanvas(Format& format, RenderMode mode, QWidget* parent)
    : QWidget(parent), m_format(format), m_mode(mode)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    // The design page is paper; the screen layout is a form on the button face.
    p.setColor(QPalette::Window, mode == RenderMode::Design ? Qt::white : p.color(QPalette::Button));
    setPalette(p);
    FormatChanged();
}

void CFormatCanvas::FormatChanged()
{
    // The design view's area is at least its scroll extent; the screen layout's at least
    // the extent stored in the format.
    const double dpi = logicalDpiX();
    QSize size = RenderSize(m_format, m_mode, dpi);
    if (m_mode == RenderMode::Design) {
        const int page = int(kDesignScrollUnits * dpi / 254.0);
        size = size.expandedTo(QSize(page, page));
    } else {
        const Rect& extent = m_format.screenExtent;
        size = size.expandedTo(QSize(extent.Width(), extent.Height()));
    }
    // A format whose elements lie far away still gets a canvas of bounded size: nothing
    // beyond it is on any paper, and the scroll area need not reach it.
    setFixedSize(size.boundedTo(QSize(kMaxRenderSide, kMaxRenderSide)));
    update();
}

void CFormatCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    RenderFormat(m_format, m_mode, logicalDpiX(), painter);
}

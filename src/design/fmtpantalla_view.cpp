#include "design/fmtpantalla_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "design/fmtdesign_view.h"
#include "model/kind_drawing.h"
#include "platform/format_render.h"
#include "platform/qt_dc.h"
#include "platform/screen_form_bounds.h"

namespace {

// Room kept around everything drawn, so nothing touches the view's edge.
constexpr int kFormMargin = 4;

Qt::CursorShape ShapeOf(LayoutCursor cursor)
{
    switch (cursor) {
    case LayoutCursor::SizeHorizontal:
        return Qt::SizeHorCursor;
    case LayoutCursor::SizeVertical:
        return Qt::SizeVerCursor;
    case LayoutCursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

CFmtpantallaView::CFmtpantallaView(Format& format, QWidget* parent)
    : QWidget(parent), m_format(format), m_editor(format)
{
    // The view paints its whole area itself; nothing is erased before.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Diseño de pantalla"));
    FormatChanged();
}

void CFmtpantallaView::FormatChanged()
{
    m_editor.FormatReplaced();
    // Sized afresh: the form starts where its first caption or badge does, and the view
    // reaches the stored extent or what is drawn, whichever goes further.
    m_origin = QPoint(kFormMargin, kFormMargin);
    setFixedSize(m_origin.x() + kFormMargin, m_origin.y() + kFormMargin);
    GrowToContent();
    update();
}

void CFmtpantallaView::GrowToContent()
{
    // The order badges count even outside order mode, so that the form does not move
    // when the mode is switched on.
    const Rect bounds = ScreenFormBounds(m_format, true);
    // A caption moved past the form's left or upper edge moves the form's corner so the
    // caption stays in view.
    const QPoint origin(std::max(m_origin.x(), kFormMargin - std::min(0, bounds.left)),
                        std::max(m_origin.y(), kFormMargin - std::min(0, bounds.top)));
    const QSize grownBy(origin.x() - m_origin.x(), origin.y() - m_origin.y());
    m_origin = origin;
    const QSize needed = QSize(std::max(1, bounds.right), std::max(1, bounds.bottom)).boundedTo(
                             QSize(kMaxRenderSide, kMaxRenderSide)) +
                         QSize(m_origin.x() + kFormMargin, m_origin.y() + kFormMargin);
    const QSize grown = (size() + grownBy).expandedTo(needed);
    if (grown != size())
        setFixedSize(grown);
}

Point CFmtpantallaView::FormPoint(QPoint widgetPos) const
{
    return {widgetPos.x() - m_origin.x(), widgetPos.y() - m_origin.y()};
}

QPoint CFmtpantallaView::WidgetPoint(Point formPoint) const
{
    return QPoint(formPoint.x, formPoint.y) + m_origin;
}

void CFmtpantallaView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(m_origin);
    QtDc dc(painter, logicalDpiX());
    dc.SetMapMode(MapMode::Pixels);
    dc.SetBkTransparent(true);
    static const LogFont screenFont = CaptureScreenFont();
    dc.SelectFont(screenFont);
    const bool showOrder = m_editor.OrderMode();
    for (auto& element : m_format.elements) {
        // The font is lent for this drawing only; the layout mode stays the view's.
        const ScreenDrawingLoan loan(*element, &screenFont, element->m_layoutMode != 0);
        element->DrawScreen(dc, showOrder);
    }
    if (m_band) {
        const Rect rc = m_band->Normalized();
        PaintRubberBand(painter, QRect(QPoint(rc.left, rc.top), QPoint(rc.right, rc.bottom)));
    }
}

void CFmtpantallaView::Apply(const LayoutOutcome& outcome)
{
    if (outcome.cursor)
        setCursor(ShapeOf(*outcome.cursor));
    if (outcome.band || outcome.bandEnds) {
        m_band = outcome.band;
        update();
    }
    if (outcome.before) {
        GrowToContent();
        emit formatChanged(*outcome.before);
    }
    if (outcome.repaint)
        update();
}

void CFmtpantallaView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    Apply(m_editor.Press(FormPoint(event->position().toPoint()), event->modifiers().testFlag(Qt::ShiftModifier)));
    emit stateChanged();
}

void CFmtpantallaView::mouseMoveEvent(QMouseEvent* event)
{
    Apply(m_editor.Move(FormPoint(event->position().toPoint())));
}

void CFmtpantallaView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    Apply(m_editor.Release());
    // A band changes the selection only when it ends.
    emit stateChanged();
}

void CFmtpantallaView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_editor.OrderMode())
        return;
    mousePressEvent(event);
}

void CFmtpantallaView::ToggleOrderMode()
{
    m_editor.ToggleOrderMode();
    update();
    emit stateChanged();
}

void CFmtpantallaView::Changed(std::optional<std::vector<uint8_t>> before)
{
    if (before) {
        GrowToContent();
        emit formatChanged(*before);
    }
    update();
    emit stateChanged();
}

void CFmtpantallaView::SelectAll()
{
    m_editor.SelectAll();
    Changed(std::nullopt);
}

void CFmtpantallaView::SelectNextInOrder(bool backwards)
{
    m_editor.SelectNextInOrder(backwards);
    Changed(std::nullopt);
}

void CFmtpantallaView::MoveSelection(int dx, int dy)
{
    Changed(m_editor.MoveSelection(dx, dy));
}

void CFmtpantallaView::Arrange(DesignArrange arrange)
{
    Changed(m_editor.Arrange(arrange));
}

void CFmtpantallaView::keyPressEvent(QKeyEvent* event)
{
    constexpr int step = ScreenLayoutEditor::kKeyStep;
    switch (event->key()) {
    case Qt::Key_Left: MoveSelection(-step, 0); break;
    case Qt::Key_Right: MoveSelection(step, 0); break;
    case Qt::Key_Up: MoveSelection(0, -step); break;
    case Qt::Key_Down: MoveSelection(0, step); break;
    case Qt::Key_Tab: SelectNextInOrder(event->modifiers().testFlag(Qt::ShiftModifier)); break;
    case Qt::Key_Backtab: SelectNextInOrder(true); break;
    case Qt::Key_Escape:
        if (!std::holds_alternative<LayoutBand>(m_editor.Gesture())) {
            QWidget::keyPressEvent(event);
            return;
        }
        Apply(m_editor.CancelBand());
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

bool CFmtpantallaView::focusNextPrevChild(bool)
{
    // Tab walks the controls in capture order.
    return false;
}

void CFmtpantallaView::SetCaptionLeft(int captionLeft)
{
    if (auto before = m_editor.SetCaptionLeft(captionLeft)) {
        GrowToContent();
        emit formatChanged(*before);
        update();
    }
}

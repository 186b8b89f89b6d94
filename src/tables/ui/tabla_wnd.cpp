#include "tables/ui/tabla_wnd.h"

#include "platform/qt_locale.h"
#include "platform/qt_prompts.h"
#include "tables/tabla.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

namespace {

QFont GridFont()
{
    QFont font("Arial");
    font.setPixelSize(14);
    font.setWeight(QFont::DemiBold);  // weight 600
    return font;
}

int QtAlignOf(int code)
{
    switch (code) {
    case TablaColumn::kAlignRight:
        return Qt::AlignRight;
    case TablaColumn::kAlignCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

const QColor kNegative(255, 0, 0);
const QColor kNegativeSelected(0, 255, 255);

}  // namespace

CTablaWnd::CTablaWnd(QWidget* parent, int controlId) : QWidget(parent), m_controlId(controlId)
{
    m_ownPrompts = std::make_unique<QtPrompts>(this);
    m_ownLocale = std::make_unique<QtLocale>();
    m_ownEditor = std::make_unique<CTablaEditor>(*m_ownPrompts, *m_ownLocale);
    m_editor = m_ownEditor.get();
    m_prompts = m_ownPrompts.get();
    Init();
}

CTablaWnd::CTablaWnd(QWidget* parent, int controlId, CTablaEditor& editor, Prompts* prompts)
    : QWidget(parent), m_editor(&editor), m_controlId(controlId)
{
    if (!prompts) {
        m_ownPrompts = std::make_unique<QtPrompts>(this);
        prompts = m_ownPrompts.get();
    }
    m_prompts = prompts;
    Init();
}

CTablaWnd::~CTablaWnd() = default;

void CTablaWnd::Init()
{
    setFocusPolicy(Qt::StrongFocus);
    setFont(GridFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);

    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_vScroll->setObjectName(QString::number(kIdVScroll));
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_hScroll->setObjectName(QString::number(kIdHScroll));
    for (QScrollBar* bar : {m_vScroll, m_hScroll}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
    }
    connect(m_vScroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_syncingScroll)
            return;
        m_editor->ScrollTo(value, m_editor->FirstCol());
        AfterMove();
    });
    connect(m_hScroll, &QScrollBar::valueChanged, this, [this](int value) {
        if (m_syncingScroll)
            return;
        m_editor->ScrollTo(m_editor->FirstRow(), value);
        AfterMove();
    });

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QString::number(kIdEdit));
    m_edit->setFont(GridFont());
    m_edit->setFrame(true);
    m_edit->hide();
    m_edit->installEventFilter(this);

    m_marker = new QFrame(this);
    m_marker->setObjectName(QString::number(kIdMarker));
    m_marker->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_marker->setLineWidth(2);
    m_marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_marker->hide();
}

void CTablaWnd::Create(const QRect& rect)
{
    setGeometry(rect);
    show();
}

bool CTablaWnd::Attach(CTabla* table)
{
    const bool ok = m_editor->Attach(table);
    update();
    return ok;
}

void CTablaWnd::Detach()
{
    m_edit->hide();
    m_editor->Detach();
    update();
}

void CTablaWnd::BuildColumns()
{
    m_editor->BuildColumns();
    UpdateScrollBars();
    update();
}

void CTablaWnd::RemoveColumn(int n)
{
    m_editor->RemoveColumn(n);
    UpdateScrollBars();
    update();
}

void CTablaWnd::SetColumnWidth(int n, int pixels)
{
    m_editor->SetColumnWidth(n, pixels);
    AfterMove();
}

void CTablaWnd::SetColumnAlign(int n, int code)
{
    m_editor->SetColumnAlign(n, code);
    update();
}

void CTablaWnd::Reset()
{
    m_edit->hide();
    m_editor->Reset();
    AfterMove();
}

// ---- geometry ------------------------------------------------------------------------

QRect CTablaWnd::GridRect() const
{
    const int vw = m_showVScroll ? ScrollBarSize().width() : 0;
    const int hh = m_showHScroll ? ScrollBarSize().height() : 0;
    return QRect(0, 0, std::max(0, width() - vw), std::max(0, height() - hh));
}

int CTablaWnd::LastShownRow() const
{
    const int rows = m_editor->RowCount();
    return m_editor->NoAppend() ? std::max(1, rows - 1) : rows;
}

QSize CTablaWnd::ScrollBarSize() const
{
    return QSize(m_vScroll->sizeHint().width(), m_hScroll->sizeHint().height());
}

QSize CTablaWnd::ContentSize() const
{
    int width = 0;
    for (const TablaColumn& c : m_editor->Columns())
        width += std::max(0, c.widthPx);
    return QSize(width, kHeaderHeight + LastShownRow() * kRowHeight);
}

void CTablaWnd::LayoutScrollBars()
{
    // Each bar takes room from the other direction: a vertical bar can make the columns
    // stop fitting, and a horizontal one the rows.
    const int vw = ScrollBarSize().width();
    const int hh = ScrollBarSize().height();
    const QSize content = ContentSize();
    bool needV = content.height() > height();
    bool needH = content.width() > width() - (needV ? vw : 0);
    if (needH && !needV) {
        needV = content.height() > height() - hh;
        needH = content.width() > width() - (needV ? vw : 0);
    }
    m_showVScroll = needV;
    m_showHScroll = needH;
    m_vScroll->setGeometry(width() - vw, 0, vw, std::max(0, height() - (needH ? hh : 0)));
    m_hScroll->setGeometry(0, height() - hh, std::max(0, width() - (needV ? vw : 0)), hh);
    m_vScroll->setVisible(needV);
    m_hScroll->setVisible(needH);
}

int CTablaWnd::MaxFirstCol() const
{
    // The first column from which every later column fits: scrolling further would only
    // open blank space on the right.
    const int last = m_editor->ColumnCount() - 1;
    if (last < 1)
        return 1;
    const int rowHeaderPx = m_editor->Column(0).widthPx;
    const int room = GridRect().width() - rowHeaderPx;
    int used = 0;
    int first = last;
    for (int c = last; c >= 1; --c) {
        used += std::max(0, m_editor->Column(c).widthPx);
        if (used > room)
            break;
        first = c;
    }
    return first;
}

void CTablaWnd::ClampView()
{
    const int lastRow = LastShownRow();
    if (m_editor->CurRow() > lastRow)
        m_editor->MoveCursor(lastRow, m_editor->CurCol());
    int firstRow = m_editor->FirstRow();
    if (m_editor->NoAppend())
        firstRow = std::min(firstRow, std::max(1, lastRow - m_editor->VisibleRows() + 1));
    const int firstCol = std::min(m_editor->FirstCol(), MaxFirstCol());
    if (firstRow != m_editor->FirstRow() || firstCol != m_editor->FirstCol())
        m_editor->ScrollTo(firstRow, firstCol);
}

void CTablaWnd::ComputeRightEdges() const
{
    if (m_editor->ColumnCount() == 0)
        return;
    int x = m_editor->Column(0).widthPx;
    m_editor->MutableColumn(0).rightPx = x;
    for (int c = 1; c < m_editor->ColumnCount(); ++c) {
        TablaColumn& col = m_editor->MutableColumn(c);
        if (c < m_editor->FirstCol()) {
            col.rightPx = -1;
            continue;
        }
        x += col.widthPx;
        col.rightPx = x;
    }
}

int CTablaWnd::ColumnAtX(int x) const
{
    ComputeRightEdges();
    for (int c = m_editor->FirstCol(); c < m_editor->ColumnCount(); ++c) {
        if (m_editor->Column(c).rightPx > x)
            return c;
    }
    return 0;
}

int CTablaWnd::RowAtY(int y) const
{
    const int row = (y - kHeaderHeight) / kRowHeight + m_editor->FirstRow();
    return std::min(row, LastShownRow());
}

int CTablaWnd::ResizeColumnAt(int x) const
{
    ComputeRightEdges();
    for (int c = m_editor->FirstCol(); c < m_editor->ColumnCount(); ++c) {
        if (std::abs(m_editor->Column(c).rightPx - x) <= kResizeGrip)
            return c;
    }
    return 0;
}

QRect CTablaWnd::CellRectPx(int row, int col) const
{
    ComputeRightEdges();
    if (col < 1 || col >= m_editor->ColumnCount() || row < m_editor->FirstRow())
        return {};
    const TablaColumn& c = m_editor->Column(col);
    if (c.rightPx < 0)
        return {};
    const int y = kHeaderHeight + (row - m_editor->FirstRow()) * kRowHeight;
    return QRect(c.rightPx - c.widthPx, y, c.widthPx, kRowHeight);
}

void CTablaWnd::resizeEvent(QResizeEvent*)
{
    AfterMove();
}

void CTablaWnd::UpdateScrollBars()
{
    LayoutScrollBars();
    const QRect grid = GridRect();
    const int rowHeaderPx = m_editor->ColumnCount() > 0 ? m_editor->Column(0).widthPx : 0;
    m_editor->SetViewSize(grid.width() - rowHeaderPx, (grid.height() - kHeaderHeight) / kRowHeight);
    ClampView();
    m_syncingScroll = true;
    const int lastRow = LastShownRow();
    m_vScroll->setRange(1, m_editor->NoAppend() ? std::max(1, lastRow - m_editor->VisibleRows() + 1) : std::max(1, lastRow));
    m_vScroll->setPageStep(m_editor->VisibleRows());
    m_vScroll->setValue(m_editor->FirstRow());
    m_hScroll->setRange(1, MaxFirstCol());
    m_hScroll->setPageStep(1);
    m_hScroll->setValue(m_editor->FirstCol());
    m_syncingScroll = false;
}

void CTablaWnd::PlaceMarker()
{
    const QRect cell = CellRectPx(m_editor->CurRow(), m_editor->CurCol());
    const QRect grid = GridRect();
    if (!hasFocus() || cell.isEmpty() || !grid.intersects(cell) || m_edit->isVisible()) {
        m_marker->hide();
        return;
    }
    m_marker->setGeometry(cell.adjusted(-1, -1, 1, 1).intersected(grid));
    m_marker->show();
    m_marker->raise();
}

void CTablaWnd::AfterMove()
{
    UpdateScrollBars();
    PlaceMarker();
    update();
}

// ---- drawing -------------------------------------------------------------------------

void CTablaWnd::DrawRaised(QPainter& p, const QRect& r, bool pressed) const
{
    const QPalette& pal = palette();
    p.fillRect(r, pal.color(QPalette::Button));
    const QColor light = pressed ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
    const QColor dark = pressed ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
    p.setPen(light);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(dark);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

void CTablaWnd::DrawCell(QPainter& p, const QRect& cell, int row, int col, bool selected)
{
    const QPalette& pal = palette();
    p.fillRect(cell, selected ? pal.color(QPalette::Dark) : QColor(Qt::white));
    p.setPen(QColor(192, 192, 192));
    p.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    p.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    const TablaCellView view = m_editor->CellDisplay(row, col);
    if (view.text.empty())
        return;
    QColor ink = selected ? QColor(Qt::white) : QColor(Qt::black);
    if (view.negative)
        ink = selected ? kNegativeSelected : kNegative;
    p.setPen(ink);
    const QRect inner = cell.adjusted(kCellPadding, 0, -kCellPadding, 0);
    p.save();
    p.setClipRect(inner);
    p.drawText(inner, QtAlignOf(view.align) | Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(view.text));
    p.restore();
}

void CTablaWnd::Render()
{
    const QRect grid = GridRect();
    const qreal ratio = devicePixelRatioF();
    if (m_bitmap.size() != grid.size() * ratio || m_bitmap.devicePixelRatio() != ratio) {
        m_bitmap = QImage(grid.size() * ratio, QImage::Format_RGB32);
        m_bitmap.setDevicePixelRatio(ratio);
    }
    if (m_bitmap.isNull())
        return;
    m_bitmap.fill(palette().color(QPalette::Button));
    QPainter p(&m_bitmap);
    p.setFont(font());
    ComputeRightEdges();
    const int colCount = m_editor->ColumnCount();
    if (colCount == 0)
        return;
    const int rowHeaderPx = m_editor->Column(0).widthPx;

    // Header row.
    DrawRaised(p, QRect(0, 0, rowHeaderPx, kHeaderHeight), false);
    for (int c = m_editor->FirstCol(); c < colCount; ++c) {
        const TablaColumn& col = m_editor->Column(c);
        const QRect r(col.rightPx - col.widthPx, 0, col.widthPx, kHeaderHeight);
        if (col.widthPx > 0) {
            DrawRaised(p, r, false);
            p.setPen(palette().color(QPalette::ButtonText));
            p.save();
            p.setClipRect(r.adjusted(1, 1, -1, -1));
            p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(col.HeaderText()));
            p.restore();
        }
        if (col.rightPx >= grid.width())
            break;
    }

    // Records, then the new record line (when one can be appended).
    for (int row = m_editor->FirstRow(); row <= LastShownRow(); ++row) {
        const int y = kHeaderHeight + (row - m_editor->FirstRow()) * kRowHeight;
        if (y >= grid.height())
            break;
        const bool selected = m_editor->IsRowSelected(row);
        DrawRaised(p, QRect(0, y, rowHeaderPx, kRowHeight), selected);
        for (int c = m_editor->FirstCol(); c < colCount; ++c) {
            const TablaColumn& col = m_editor->Column(c);
            if (col.widthPx > 0)
                DrawCell(p, QRect(col.rightPx - col.widthPx, y, col.widthPx, kRowHeight), row, c, selected);
            if (col.rightPx >= grid.width())
                break;
        }
    }
    // Reading the cells moved the table; it is left on the cursor's record.
    m_editor->GoToRow(m_editor->CurRow());
}

void CTablaWnd::paintEvent(QPaintEvent*)
{
    Render();
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.drawImage(0, 0, m_bitmap);
}

// ---- cell edit -----------------------------------------------------------------------

void CTablaWnd::StartEdit(const QString* typed)
{
    if (!m_editor->IsAttached())
        return;
    m_editor->EnsureCursorVisible();
    AfterMove();
    std::string initial;
    if (typed) {
        const std::string text = typed->toStdString();
        initial = m_editor->BeginEdit(&text);
    } else {
        initial = m_editor->BeginEdit();
    }
    const QRect cell = CellRectPx(m_editor->CurRow(), m_editor->CurCol());
    m_edit->setGeometry(cell.x(), cell.y(), cell.width(), kRowHeight + 1);
    const int limit = m_editor->Column(m_editor->CurCol()).inputLimit;
    m_edit->setMaxLength(limit > 0 ? limit : 32767);
    m_edit->setText(QString::fromStdString(initial));
    m_edit->setCursorPosition(int(m_edit->text().size()));
    m_marker->hide();
    m_edit->show();
    m_edit->setFocus();
}

void CTablaWnd::EndCellEdit(TablaKey key)
{
    const std::string text = m_edit->text().toStdString();
    const int row = m_editor->CurRow();
    const int col = m_editor->CurCol();
    const int record = m_editor->IsNewRecordLine(row) ? 0 : m_editor->GoToRow(row);
    m_edit->hide();
    const bool changed = m_editor->EndEdit(text, key);
    setFocus();
    if (changed)
        CellCommitted(record, col);
    AfterMove();
}

void CTablaWnd::CellCommitted(int record, int col)
{
    emit cellCommitted(record, col);
}

bool CTablaWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        std::optional<TablaKey> k;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            k = TablaKey::Enter;
            break;
        case Qt::Key_Escape:
            k = TablaKey::Escape;
            break;
        case Qt::Key_F2:
            k = TablaKey::F2;
            break;
        case Qt::Key_F3:
            k = TablaKey::F3;
            break;
        case Qt::Key_Up:
            k = TablaKey::Up;
            break;
        case Qt::Key_Down:
            k = TablaKey::Down;
            break;
        case Qt::Key_Left:
            k = TablaKey::Left;
            break;
        case Qt::Key_Right:
            k = TablaKey::Right;
            break;
        default:
            break;
        }
        if (k && m_editor->EndsEdit(*k, m_edit->text().toStdString())) {
            EndCellEdit(*k);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && m_edit->isVisible() && m_editor->IsEditing()) {
        // Leaving the edit for another control keeps what was typed.
        EndCellEdit(TablaKey::F3);
    }
    return QWidget::eventFilter(watched, event);
}

// ---- keys ----------------------------------------------------------------------------

void CTablaWnd::keyPressEvent(QKeyEvent* event)
{
    if (!m_editor->IsAttached()) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        StartEdit(nullptr);
        return;
    case Qt::Key_Left:
        m_editor->KeyPress(TablaKey::Left);
        break;
    case Qt::Key_Right:
        m_editor->KeyPress(TablaKey::Right);
        break;
    case Qt::Key_Up:
        m_editor->KeyPress(TablaKey::Up);
        break;
    case Qt::Key_Down:
        m_editor->KeyPress(TablaKey::Down);
        break;
    case Qt::Key_PageUp:
        m_editor->KeyPress(TablaKey::PageUp);
        break;
    case Qt::Key_PageDown:
        m_editor->KeyPress(TablaKey::PageDown);
        break;
    case Qt::Key_Home:
        m_editor->KeyPress(TablaKey::Home);
        break;
    case Qt::Key_End:
        m_editor->KeyPress(TablaKey::End);
        break;
    case Qt::Key_Delete:
        m_editor->KeyPress(TablaKey::Delete);
        break;
    default: {
        const QString text = event->text();
        const bool printable = text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() <= 254 &&
                               text[0].unicode() != 127;
        if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            StartEdit(&text);
            return;
        }
        QWidget::keyPressEvent(event);
        return;
    }
    }
    AfterMove();
}

bool CTablaWnd::focusNextPrevChild(bool next)
{
    if (m_edit->isVisible() && m_editor->IsEditing()) {
        EndCellEdit(TablaKey::F3);
        // An edit the window kept open (its text cannot be kept) keeps the focus.
        if (m_edit->isVisible())
            return true;
    }
    MoveFocusToNext(next);
    return true;
}

void CTablaWnd::MoveFocusToNext(bool next)
{
    // The next control of the parent in tab order, skipping this window's own children.
    QWidget* w = this;
    for (;;) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == this)
            return;
        if (isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window()))
            break;
    }
    w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void CTablaWnd::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    PlaceMarker();
}

void CTablaWnd::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    PlaceMarker();
}

// ---- mouse ---------------------------------------------------------------------------

void CTablaWnd::BeginColumnResize(int col, int x)
{
    m_mouse = MouseState::ResizingColumn;
    m_resizeCol = col;
    m_resizeStartX = x;
    m_resizeStartWidth = m_editor->Column(col).widthPx;
    grabMouse(Qt::SizeHorCursor);
}

void CTablaWnd::ResizeStep(int x)
{
    m_editor->SetColumnWidth(m_resizeCol, std::max(kMinColumnWidth, m_resizeStartWidth + x - m_resizeStartX));
    AfterMove();
}

void CTablaWnd::BeginRowSelect(int row)
{
    if (m_editor->IsRowSelected(row)) {
        m_editor->ClearSelection();
        m_mouse = MouseState::Idle;
    } else {
        m_editor->SelectRows(row, row);
        m_selAnchor = row;
        m_mouse = MouseState::SelectingRows;
    }
    update();
}

void CTablaWnd::RowSelectStep(int row)
{
    if (row < 1 || row >= m_editor->RowCount())
        return;
    m_editor->SelectRows(m_selAnchor, row);
    update();
}

void CTablaWnd::mousePressEvent(QMouseEvent* event)
{
    if (m_edit->isVisible() && m_editor->IsEditing()) {
        EndCellEdit(TablaKey::F3);
        if (m_edit->isVisible())
            return;
    }
    setFocus(Qt::MouseFocusReason);
    if (!m_editor->IsAttached() || m_editor->ColumnCount() == 0)
        return;
    const QPoint pos = event->position().toPoint();
    const int rowHeaderPx = m_editor->Column(0).widthPx;
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;

    if (pos.y() < kHeaderHeight) {
        if (left) {
            if (const int col = ResizeColumnAt(pos.x()))
                BeginColumnResize(col, pos.x());
        } else if (right) {
            if (pos.x() < rowHeaderPx) {
                ShowCornerMenu(event->globalPosition().toPoint());
            } else if (const int col = ColumnAtX(pos.x())) {
                m_editor->MoveCursor(m_editor->CurRow(), col);
                AfterMove();
                ShowColumnMenu(col, event->globalPosition().toPoint());
            }
        }
        return;
    }
    const int row = RowAtY(pos.y());
    if (pos.x() < rowHeaderPx) {
        if (left && row >= 1 && row < m_editor->RowCount())
            BeginRowSelect(row);
        return;
    }
    if (!left && !right)
        return;
    const int col = ColumnAtX(pos.x());
    if (col == 0)
        return;
    m_editor->MoveCursor(row, col);
    m_editor->ClearSelection();
    AfterMove();
}

void CTablaWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    switch (m_mouse) {
    case MouseState::ResizingColumn:
        ResizeStep(pos.x());
        return;
    case MouseState::SelectingRows:
        if (event->buttons() & Qt::LeftButton)
            RowSelectStep(RowAtY(pos.y()));
        return;
    case MouseState::Idle:
        setCursor(pos.y() < kHeaderHeight && ResizeColumnAt(pos.x()) ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
}

void CTablaWnd::mouseReleaseEvent(QMouseEvent*)
{
    if (m_mouse == MouseState::ResizingColumn)
        releaseMouse();
    m_mouse = MouseState::Idle;
}

void CTablaWnd::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) {
        m_editor->ScrollTo(m_editor->FirstRow() - steps * 3, m_editor->FirstCol());
        AfterMove();
    }
}

// ---- context menus -------------------------------------------------------------------

void CTablaWnd::ShowColumnMenu(int col, const QPoint& globalPos)
{
    QMenu menu(this);
    const bool currency = m_editor->Column(col).Has(TablaColumn::kCurrency);
    const std::pair<int, const char*> items[] = {
        {kCmdSort, kMenuSort},
        {kCmdCurrency, currency ? kMenuNoFormat : kMenuCurrency},
        {kCmdAlignLeft, kMenuAlignLeft},
        {kCmdAlignRight, kMenuAlignRight},
        {kCmdAlignCenter, kMenuAlignCenter},
        {kCmdColumnTitle, kMenuColumnTitle},
    };
    for (const auto& [id, text] : items)
        menu.addAction(QString::fromUtf8(text))->setData(id);
    if (QAction* chosen = menu.exec(globalPos))
        RunCommand(chosen->data().toInt(), col);
}

void CTablaWnd::ShowCornerMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(kMenuExport))->setData(kCmdExport);
    menu.addAction(QString::fromUtf8(kMenuPrint))->setData(kCmdPrint);
    if (QAction* chosen = menu.exec(globalPos))
        RunCommand(chosen->data().toInt());
}

void CTablaWnd::RunCommand(int commandId, int col)
{
    if (col == 0)
        col = m_editor->CurCol();
    switch (commandId) {
    case kCmdSort:
        m_editor->SortByColumn(col);
        break;
    case kCmdCurrency:
        m_editor->ToggleCurrency(col);
        break;
    case kCmdAlignLeft:
        m_editor->SetColumnAlign(col, TablaColumn::kAlignLeft);
        break;
    case kCmdAlignRight:
        m_editor->SetColumnAlign(col, TablaColumn::kAlignRight);
        break;
    case kCmdAlignCenter:
        m_editor->SetColumnAlign(col, TablaColumn::kAlignCenter);
        break;
    case kCmdColumnTitle:
        break;  // the column title is not renamed from the window
    case kCmdExport:
        ExportTable();
        break;
    case kCmdPrint:
        PrintTable();
        break;
    default:
        return;
    }
    AfterMove();
}

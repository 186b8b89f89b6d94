#include "tables/ui/grid_tabla_wnd.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "base/prompts.h"
#include "model/grid_capture.h"

CGridTablaWnd::CGridTablaWnd(QWidget* parent, int controlId, CGridCapture& capture)
    : CTablaWnd(parent, controlId, capture, &capture.MessagePrompts()), m_capture(capture)
{
    // The grid has exactly its rows: nothing is ever appended, and a cell nobody typed
    // into shows nothing rather than a zero.
    capture.SetNoAppend(true);
    capture.SetHideEmpty(true);
}

void CGridTablaWnd::Place(const QRect& placed)
{
    // The screen layout sized the columns to the element's rectangle (the row numbers and
    // the columns fill it): every column that ends inside it is shown whole. Each
    // column's width was rounded to pixels on its own, so their sum may pass the
    // rectangle by up to a pixel a column.
    const std::vector<TablaColumn>& columns = m_capture.Columns();
    const int room = placed.width() + 2 * kElementInsetPx + int(columns.size());
    int fitted = columns.empty() ? 0 : columns[0].widthPx;
    size_t shown = columns.empty() ? 0 : 1;
    for (; shown < columns.size() && fitted + columns[shown].widthPx <= room; ++shown)
        fitted += columns[shown].widthPx;
    int width = std::max(placed.width(), fitted);
    // Columns beyond the rectangle scroll, and their bar takes room from the rows.
    const QSize content = ContentSize();
    const int hBar = shown < columns.size() ? ScrollBarSize().height() : 0;
    if (content.height() > placed.height() - hBar)
        width += ScrollBarSize().width();
    setGeometry(placed.x(), placed.y(), width, placed.height());
}

void CGridTablaWnd::PostGridChanged()
{
    // The changed cells are on screen before the capture screen hears of them.
    update();
    emit gridChanged(ControlId());
}

void CGridTablaWnd::keyPressEvent(QKeyEvent* event)
{
    const bool down = event->key() == Qt::Key_Down || event->key() == Qt::Key_PageDown;
    const bool onLastRow = m_capture.IsAttached() && m_capture.GridRows() > 0 && m_capture.CurRow() >= LastShownRow();
    CTablaWnd::keyPressEvent(event);
    if (!down || !onLastRow)
        return;
    QApplication::beep();
    emit statusMessage(QString::fromUtf8(m_capture.NoMoreRowsMessage().c_str()));
}

void CGridTablaWnd::StartEdit(const QString* typed)
{
    const std::string refusal = m_capture.TypingRefusal(m_capture.CurCol());
    if (refusal.empty()) {
        CTablaWnd::StartEdit(typed);
        return;
    }
    // A calculated cell opens no edit. Typing into it says why; Enter and F2 pass over it
    // as an edit kept unchanged would.
    if (typed)
        m_capture.MessagePrompts().Message(refusal, PromptIcon::Information);
    else
        m_capture.KeyPress(TablaKey::Right);
    AfterMove();
}

void CGridTablaWnd::EndCellEdit(TablaKey key)
{
    if (key != TablaKey::Escape) {
        const std::string refusal = m_capture.EditRefusal(CellEdit()->text().toStdString());
        if (!refusal.empty()) {
            KeepEditOpen(refusal);
            return;
        }
    }
    CTablaWnd::EndCellEdit(key);
}

void CGridTablaWnd::KeepEditOpen(const std::string& refusal)
{
    if (m_refusing)
        return;
    m_refusing = true;
    m_capture.MessagePrompts().Message(refusal);
    m_refusing = false;
    QLineEdit* edit = CellEdit();
    edit->show();
    edit->setFocus();
    edit->selectAll();
}

bool CGridTablaWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CellEdit() && event->type() == QEvent::FocusOut && CellEdit()->isVisible() &&
        m_capture.IsEditing()) {
        if (m_refusing)
            return false;
        if (!m_capture.EditRefusal(CellEdit()->text().toStdString()).empty()) {
            // Another window or a menu taking the focus leaves the edit as it is; another
            // control of the form gets the reason, and the focus comes back to the edit.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                EndCellEdit(TablaKey::F3);
            return false;
        }
    }
    return CTablaWnd::eventFilter(watched, event);
}

GridTableEntry::GridTableEntry(CGridTablaWnd* window) : m_window(window), m_controlId(window->ControlId()) {}

GridTableEntry::~GridTableEntry()
{
    delete m_window.data();
}

void GridTableEntry::Reset()
{
    if (m_window)
        m_window->Reset();
}

void GridTableEntry::NotifyGridChanged()
{
    if (m_window)
        m_window->PostGridChanged();
}

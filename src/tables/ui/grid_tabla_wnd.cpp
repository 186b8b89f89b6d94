#include "grid_tabla_wnd.h"

CGridTablaWnd::CGridTablaWnd(QWidget* parent, int controlId, CTablaEditor& editor)
    : CTablaWnd(parent, controlId, editor)
{
    // The grid has exactly its rows: nothing is ever appended, and a cell nobody typed
    // into shows nothing rather than a zero.
    editor.SetNoAppend(true);
    editor.SetHideEmpty(true);
}

void CGridTablaWnd::PostGridChanged()
{
    // The changed cells are on screen before the capture screen hears of them.
    update();
    emit gridChanged(ControlId());
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

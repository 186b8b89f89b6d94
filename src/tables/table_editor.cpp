#include "tables/table_editor.h"

#include "tables/number_text.h"
#include "base/prompts.h"
#include "base/upper_case.h"
#include "tables/tabla.h"

#include <algorithm>

CTablaEditor::CTablaEditor(Prompts& prompts, const Locale& locale) : m_prompts(&prompts), m_newRow(prompts, locale) {}

CTablaEditor::~CTablaEditor()
{
    Detach();
}

bool CTablaEditor::Attach(CTabla* table)
{
    if (!table || !table->IsOpen())
        return false;
    Detach();
    m_pTable = table;
    table->CopyLayoutTo(m_newRow);
    m_attached = true;
    return true;
}

bool CTablaEditor::Adopt(std::unique_ptr<CTabla> table)
{
    if (!Attach(table.get()))
        return false;
    m_owned = std::move(table);
    return true;
}

void CTablaEditor::Detach()
{
    m_editing = false;
    m_pTable = nullptr;
    m_attached = false;
    m_sorted = false;
    if (m_owned) {
        m_owned->Close();
        m_owned.reset();
    }
}

void CTablaEditor::BuildColumns()
{
    m_cols.clear();
    TablaColumn header;
    header.widthPx = kRowHeaderWidthPx;
    m_cols.push_back(header);
    if (m_pTable) {
        for (const CKVField& f : m_pTable->Fields()) {
            TablaColumn c;
            c.fieldName = f.Name();
            const int32_t t = f.Type();
            c.align = (t == kvInt32 || t == kvUInt32 || t == kvFloat) ? TablaColumn::kAlignRight
                                                                     : TablaColumn::kAlignLeft;
            m_cols.push_back(c);
        }
    }
    m_curCol = std::clamp(m_curCol, 1, std::max(1, ColumnCount() - 1));
    m_firstCol = std::clamp(m_firstCol, 1, std::max(1, ColumnCount() - 1));
}

void CTablaEditor::RemoveColumn(int n)
{
    if (n < 1 || n >= ColumnCount())
        return;
    m_cols.erase(m_cols.begin() + n);
    ClampCursor();
}

void CTablaEditor::SetColumnWidth(int n, int pixels)
{
    if (n >= 0 && n < ColumnCount())
        m_cols[size_t(n)].widthPx = std::max(0, pixels);
}

void CTablaEditor::SetColumnAlign(int n, int code)
{
    if (n >= 0 && n < ColumnCount())
        m_cols[size_t(n)].align = code;
}

void CTablaEditor::SetColumnFlags(int n, uint32_t flags)
{
    if (n >= 0 && n < ColumnCount())
        m_cols[size_t(n)].flags = flags;
}

void CTablaEditor::SetColumnTitle(int n, const std::string& title)
{
    if (n >= 0 && n < ColumnCount())
        m_cols[size_t(n)].title = title;
}

void CTablaEditor::SetColumnInputLimit(int n, int limit)
{
    if (n >= 0 && n < ColumnCount())
        m_cols[size_t(n)].inputLimit = std::max(0, limit);
}

int CTablaEditor::FieldOfColumn(int col) const
{
    if (!m_pTable || col < 1 || col >= ColumnCount())
        return -1;
    const CKVRegister::FieldRef ref = m_pTable->FindField(m_cols[size_t(col)].fieldName);
    return ref.found ? ref.index : -1;
}

void CTablaEditor::Reset()
{
    m_editing = false;
    m_curRow = 1;
    m_curCol = 1;
    m_firstRow = 1;
    m_firstCol = 1;
    ClearSelection();
    m_rowCount = (m_pTable && m_pTable->IsOpen()) ? std::max(1, m_pTable->SlotCount()) : 1;
    m_newRow.ClearRecord();
}

void CTablaEditor::ClampCursor()
{
    m_curRow = std::clamp(m_curRow, 1, std::max(1, m_rowCount));
    m_curCol = std::clamp(m_curCol, 1, std::max(1, ColumnCount() - 1));
    m_firstRow = std::clamp(m_firstRow, 1, std::max(1, m_rowCount));
    m_firstCol = std::clamp(m_firstCol, 1, std::max(1, ColumnCount() - 1));
    if (m_selLast >= m_rowCount)
        ClearSelection();
}

void CTablaEditor::MoveCursor(int row, int col)
{
    m_curRow = std::clamp(row, 1, std::max(1, m_rowCount));
    m_curCol = std::clamp(col, 1, std::max(1, ColumnCount() - 1));
}

bool CTablaEditor::IsRowSelected(int row) const
{
    return m_selFirst > 0 && row >= m_selFirst && row <= m_selLast;
}

void CTablaEditor::SelectRows(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 1);
    last = std::min(last, m_rowCount - 1);
    if (first > last) {
        ClearSelection();
        return;
    }
    m_selFirst = first;
    m_selLast = last;
}

void CTablaEditor::SetViewSize(int cellWidthPx, int visibleRows)
{
    m_cellWidthPx = std::max(0, cellWidthPx);
    m_visibleRows = std::max(1, visibleRows);
}

void CTablaEditor::ScrollTo(int firstRow, int firstCol)
{
    m_firstRow = std::clamp(firstRow, 1, std::max(1, m_rowCount));
    m_firstCol = std::clamp(firstCol, 1, std::max(1, ColumnCount() - 1));
}

int CTablaEditor::LastVisibleCol() const
{
    if (m_cellWidthPx <= 0)
        return std::max(m_firstCol, ColumnCount() - 1);
    int used = 0;
    int last = m_firstCol;
    for (int c = m_firstCol; c < ColumnCount(); ++c) {
        used += m_cols[size_t(c)].widthPx;
        if (used > m_cellWidthPx)
            break;
        last = c;
    }
    return last;
}

void CTablaEditor::EnsureCursorVisible()
{
    if (m_curRow < m_firstRow)
        m_firstRow = m_curRow;
    while (m_curRow >= m_firstRow + m_visibleRows && m_firstRow < m_rowCount)
        ++m_firstRow;
    if (m_curCol < m_firstCol)
        m_firstCol = m_curCol;
    while (m_curCol > LastVisibleCol() && m_firstCol < m_curCol)
        ++m_firstCol;
}

int CTablaEditor::GoToRow(int row)
{
    if (!m_pTable || !m_pTable->IsOpen() || row < 1 || row >= m_rowCount)
        return 0;
    if (m_sorted) {
        if (m_pTable->GoToOrderPosition(row) != 1)
            return 0;
        return m_pTable->CurrentRecord();
    }
    return m_pTable->GoToRecord(row) == 1 ? row : 0;
}

std::string CTablaEditor::CellText(int row, int col)
{
    const int field = FieldOfColumn(col);
    if (field < 0)
        return {};
    if (IsNewRecordLine(row))
        return m_newRow.GetText(m_cols[size_t(col)].fieldName);
    if (GoToRow(row) == 0)
        return {};
    return m_pTable->GetText(field);
}

TablaCellView CTablaEditor::CellDisplay(int row, int col)
{
    TablaCellView view;
    if (col < 1 || col >= ColumnCount())
        return view;
    const TablaColumn& c = m_cols[size_t(col)];
    view.align = c.align;
    const int field = FieldOfColumn(col);
    if (field < 0)
        return view;
    const CKVRegister* record = nullptr;
    if (IsNewRecordLine(row))
        record = &m_newRow;
    else if (GoToRow(row) != 0)
        record = m_pTable;
    if (!record)
        return view;
    const int recordField = record == &m_newRow ? m_newRow.FindField(c.fieldName).index : field;
    if (m_hideEmpty && !record->IsFilled(recordField))
        return view;
    view.text = record->GetText(recordField);
    if (c.Has(TablaColumn::kCurrency)) {
        view.text = FormatPesos(view.text);
        view.align = TablaColumn::kAlignRight;
        view.negative = !view.text.empty() && view.text[0] == '-';
    }
    return view;
}

std::string CTablaEditor::BeginEdit(const std::string* initial)
{
    m_editStart = CellText(m_curRow, m_curCol);
    m_editing = true;
    return initial ? *initial : m_editStart;
}

bool CTablaEditor::EndsEdit(TablaKey key, const std::string& editText) const
{
    switch (key) {
    case TablaKey::Enter:
    case TablaKey::Escape:
    case TablaKey::F2:
    case TablaKey::F3:
        return true;
    case TablaKey::Up:
    case TablaKey::Down:
        return !IsNewRecordLine(m_curRow);
    case TablaKey::Left:
    case TablaKey::Right:
        return IsNewRecordLine(m_curRow) && editText.empty();
    default:
        return false;
    }
}

bool CTablaEditor::EndEdit(const std::string& editText, TablaKey key)
{
    const bool changed = CommitEdit(editText, key == TablaKey::Escape);
    switch (key) {
    case TablaKey::Enter:
        if (IsNewRecordLine(m_curRow))
            AppendNewRow();
        break;
    case TablaKey::Up:
    case TablaKey::Down:
    case TablaKey::Left:
    case TablaKey::Right:
        MoveByKey(key);
        break;
    default:
        break;
    }
    return changed;
}

bool CTablaEditor::CommitEdit(const std::string& editText, bool cancel)
{
    if (!m_editing)
        return false;
    m_editing = false;
    const int field = FieldOfColumn(m_curCol);
    if (field < 0)
        return false;
    const TablaColumn& c = m_cols[size_t(m_curCol)];
    const bool newLine = IsNewRecordLine(m_curRow);
    std::string text = c.Has(TablaColumn::kUpperCase) ? UpperCaseLatin1(editText) : editText;
    // An indexed field of a stored record is never changed in place: its index entry
    // would no longer match the record.
    if (cancel || c.Has(TablaColumn::kReadOnly) || (!newLine && m_pTable->Field(field).IsIndexed()))
        text = m_editStart;
    if (text == m_editStart)
        return false;

    const int before = m_pTable->CurrentRecord();
    int record = 0;
    bool changed = false;
    if (newLine) {
        m_newRow.SetText(c.fieldName, text);
        changed = true;
    } else {
        record = GoToRow(m_curRow);
        if (record != 0) {
            m_pTable->SetText(field, text);
            OnCellSet(m_curCol);
            changed = m_pTable->WriteRecord();
        }
    }
    if (before >= 1)
        m_pTable->GoToRecord(before);
    if (changed)
        OnCellCommitted(record, m_curCol);
    return changed;
}

void CTablaEditor::OnCellSet(int) {}

void CTablaEditor::OnCellCommitted(int, int) {}

bool CTablaEditor::TypeIntoCell(int row, int col, const std::string& text, TablaKey endKey)
{
    MoveCursor(row, col);
    BeginEdit(&text);
    return EndEdit(text, endKey);
}

bool CTablaEditor::AppendNewRow()
{
    if (m_noAppend || !m_pTable || !m_pTable->IsOpen())
        return false;
    if (m_pTable->GoToRecord(m_pTable->SlotCount()) != 1)
        return false;
    m_newRow.CopyFieldsToEmpty(*m_pTable);
    if (!m_pTable->AppendRecord())
        return false;
    ++m_rowCount;
    // The sorted view follows the order again, which now holds the new record.
    if (m_sorted)
        m_sorted = m_pTable->SelectOrder(m_pTable->Field(m_pTable->ActiveIndexField()).Name());
    m_curRow = m_rowCount;
    m_curCol = 1;
    EnsureCursorVisible();
    m_newRow.ClearRecord();
    return true;
}

void CTablaEditor::DeleteKey()
{
    if (m_sorted || !m_pTable || !m_pTable->IsOpen())
        return;
    // A selection of rows goes first: rows are selected in the row-header column without
    // moving the cursor, which may well sit on the new record line.
    if (!HasSelection() && IsNewRecordLine(m_curRow)) {
        m_newRow.ClearRecord();
        return;
    }
    if (HasSelection()) {
        if (!m_prompts->AskYesNo(kAskDeleteSelection))
            return;
        // Deleting the first row of the range again and again removes the whole range,
        // since the records after each deleted one move up.
        const int count = m_selLast - m_selFirst + 1;
        for (int i = 0; i < count; ++i) {
            if (m_pTable->GoToRecord(m_selFirst) != 1 || m_pTable->DeleteRecord(false) != 1)
                break;
        }
        ClearSelection();
    } else {
        if (m_pTable->GoToRecord(m_curRow) != 1)
            return;
        m_pTable->DeleteRecord(true);
    }
    m_rowCount = std::max(1, m_pTable->SlotCount());
    // The cursor stays on the same row number; a row removed from the end takes it one up.
    if (m_curRow >= m_rowCount)
        m_curRow = std::max(1, m_rowCount - 1);
    ClampCursor();
    EnsureCursorVisible();
    OnRecordsDeleted();
}

void CTablaEditor::MoveByKey(TablaKey key)
{
    const int lastCol = std::max(1, ColumnCount() - 1);
    switch (key) {
    case TablaKey::Left:
        m_curCol = std::max(1, m_curCol - 1);
        break;
    case TablaKey::Right:
        m_curCol = std::min(lastCol, m_curCol + 1);
        break;
    case TablaKey::Up:
        m_curRow = std::max(1, m_curRow - 1);
        break;
    case TablaKey::Down:
        m_curRow = std::min(m_rowCount, m_curRow + 1);
        break;
    case TablaKey::PageUp:
        m_curRow = std::max(1, m_curRow - m_visibleRows);
        m_firstRow = std::max(1, m_firstRow - m_visibleRows);
        break;
    case TablaKey::PageDown:
        m_curRow = std::min(m_rowCount, m_curRow + m_visibleRows);
        m_firstRow = std::min(m_rowCount, m_firstRow + m_visibleRows);
        break;
    case TablaKey::Home:
        m_curRow = 1;
        m_curCol = 1;
        break;
    case TablaKey::End:
        m_curRow = m_rowCount;
        m_curCol = 1;
        break;
    default:
        return;
    }
    EnsureCursorVisible();
}

void CTablaEditor::KeyPress(TablaKey key)
{
    switch (key) {
    case TablaKey::Delete:
        DeleteKey();
        break;
    case TablaKey::Enter:
    case TablaKey::F2:
        BeginEdit();
        break;
    default:
        MoveByKey(key);
        break;
    }
}

bool CTablaEditor::SortByColumn(int col)
{
    if (!m_pTable || !m_pTable->IsOpen() || col < 1 || col >= ColumnCount())
        return false;
    m_sorted = m_pTable->SelectOrder(m_cols[size_t(col)].fieldName);
    return m_sorted;
}

void CTablaEditor::ToggleCurrency(int col)
{
    if (col >= 1 && col < ColumnCount())
        m_cols[size_t(col)].flags ^= TablaColumn::kCurrency;
}

#pragma once
// The data-entry controls a variable element owns on the capture screen. The capture
// screen creates Qt widgets behind these interfaces; ordexa-cli and the tests use plain
// in-memory objects. An element keeps its captured value nowhere but in its control.
#include <functional>
#include <memory>
#include <string>

#include "base/geometry.h"
#include "base/log_font.h"
#include "base/prompts.h"
#include "base/text_layout.h"
#include "base/user_locale.h"

class EntryControl {
public:
    virtual ~EntryControl() = default;
    virtual int ControlId() const = 0;
};

// Single-line, multi-line and box edits.
class TextEntry : public EntryControl {
public:
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& utf8) = 0;
};

class CheckEntry : public EntryControl {
public:
    virtual bool IsChecked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

// The cells a table entry shows and types into: the editing core of the element that owns
// the entry (its table, the rules of a cell edit, its calculated columns). The element
// lends it to the entry and keeps it alive as long as the entry. Rows and columns are
// 1-based; rows 1 .. CellRows() hold records.
class TableEntryCells {
public:
    virtual ~TableEntryCells() = default;
    virtual int CellRows() const = 0;
    virtual int CellColumns() const = 0;
    virtual std::string CellTextAt(int row, int column) = 0;
    // Types a whole cell as a user does: the cursor goes there, an edit opens with the
    // text and Enter ends it. True when a cell changed.
    virtual bool TypeCell(int row, int column, const std::string& utf8) = 0;
    // Cursor to the first row and column, no selection.
    virtual void ResetCursor() = 0;
};

// The table window of a table element.
class TableEntry : public EntryControl {
public:
    // The table was filled or emptied behind the entry: the cursor goes home and the
    // entry shows the table again.
    virtual void Reset() = 0;
    // A typed cell changed calculated columns: the entry tells its parent (the capture
    // screen then recomputes the totals that depend on this table).
    virtual void NotifyGridChanged() = 0;
};

// What kind of edit an element asks for.
enum class TextEntryKind { CalcLine, Paragraph, Boxes };

struct TextEntryParams {
    TextEntryKind kind = TextEntryKind::CalcLine;
    Rect rcScreen;
    int controlId = 0;
    int maxLength = 0;  // 0: no limit (boxes: the box count)
    LogFont font;       // the screen font lent by the capture screen
    bool readOnly = false;  // shows a value the clerk does not type (filled from other fields)
};

struct CheckEntryParams {
    Rect rcScreen;
    int controlId = 0;
    LogFont font;
};

struct TableEntryParams {
    Rect rcScreen;
    int controlId = 0;
    LogFont font;
    TableEntryCells* cells = nullptr;  // lent by the element
};

// The parent a capture screen lends to the elements: it makes the controls and tells the
// view when a text line loses the focus (the field-left notification).
class EntryFactory {
public:
    virtual ~EntryFactory() = default;
    virtual std::unique_ptr<TextEntry> CreateTextEntry(const TextEntryParams& params) = 0;
    virtual std::unique_ptr<CheckEntry> CreateCheckEntry(const CheckEntryParams& params) = 0;
    // A parent that cannot show tables gives no table entry (the base Qt factory sits
    // below the table window; the capture screen's factory adds it). A table element
    // without its entry captures nothing.
    virtual std::unique_ptr<TableEntry> CreateTableEntry(const TableEntryParams&) { return nullptr; }
    // The message boxes and the user's locale that a table element's table works with
    // (its messages, the currency text of its amounts); null where tables are not shown.
    virtual Prompts* TablePrompts() { return nullptr; }
    virtual const Locale* TableLocale() { return nullptr; }
};

// Plain in-memory controls, for ordexa-cli and tests.
class MemoryTextEntry : public TextEntry {
public:
    explicit MemoryTextEntry(const TextEntryParams& params) : m_params(params) {}
    int ControlId() const override { return m_params.controlId; }
    std::string Text() const override { return m_text; }
    void SetText(const std::string& utf8) override { m_text = utf8; }
    // Replaces the text as a user typing it would: the box edit takes no more characters
    // than its limit (setting the text directly, as loading does, is not limited).
    void Type(const std::string& utf8)
    {
        m_text.clear();
        const auto chars = SplitCharacters(utf8);
        for (size_t i = 0; i < chars.size() && (m_params.maxLength <= 0 || int(i) < m_params.maxLength); ++i)
            m_text += chars[i];
    }
    const TextEntryParams& Params() const { return m_params; }

private:
    TextEntryParams m_params;
    std::string m_text;
};

class MemoryCheckEntry : public CheckEntry {
public:
    explicit MemoryCheckEntry(const CheckEntryParams& params) : m_params(params) {}
    int ControlId() const override { return m_params.controlId; }
    bool IsChecked() const override { return m_checked; }
    void SetChecked(bool checked) override { m_checked = checked; }

private:
    CheckEntryParams m_params;
    bool m_checked = false;
};

// A table entry without a window: typing goes to the element's cells, and the grid-changed
// notification to a listener of the factory that made it.
class MemoryTableEntry : public TableEntry {
public:
    MemoryTableEntry(const TableEntryParams& params, std::function<void(int controlId)> onGridChanged)
        : m_params(params), m_onGridChanged(std::move(onGridChanged))
    {
    }
    int ControlId() const override { return m_params.controlId; }
    void Reset() override
    {
        if (m_params.cells)
            m_params.cells->ResetCursor();
    }
    void NotifyGridChanged() override
    {
        if (m_onGridChanged)
            m_onGridChanged(m_params.controlId);
    }
    bool Type(int row, int column, const std::string& utf8)
    {
        return m_params.cells && m_params.cells->TypeCell(row, column, utf8);
    }
    std::string CellText(int row, int column) const
    {
        return m_params.cells ? m_params.cells->CellTextAt(row, column) : std::string();
    }
    const TableEntryParams& Params() const { return m_params; }

private:
    TableEntryParams m_params;
    std::function<void(int)> m_onGridChanged;
};

class MemoryEntryFactory : public EntryFactory {
public:
    std::unique_ptr<TextEntry> CreateTextEntry(const TextEntryParams& params) override
    {
        return std::make_unique<MemoryTextEntry>(params);
    }
    std::unique_ptr<CheckEntry> CreateCheckEntry(const CheckEntryParams& params) override
    {
        return std::make_unique<MemoryCheckEntry>(params);
    }
    std::unique_ptr<TableEntry> CreateTableEntry(const TableEntryParams& params) override
    {
        return std::make_unique<MemoryTableEntry>(params, m_onGridChanged);
    }
    Prompts* TablePrompts() override { return m_prompts; }
    const Locale* TableLocale() override { return m_locale; }
    // Tables are made only once the factory has prompts and a locale to lend them.
    void SetTableServices(Prompts& prompts, const Locale& locale)
    {
        m_prompts = &prompts;
        m_locale = &locale;
    }
    // Receives the control id of every table entry made from now on whose calculated
    // columns changed.
    void SetGridChangedListener(std::function<void(int controlId)> listener) { m_onGridChanged = std::move(listener); }

private:
    Prompts* m_prompts = nullptr;
    const Locale* m_locale = nullptr;
    std::function<void(int)> m_onGridChanged;
};

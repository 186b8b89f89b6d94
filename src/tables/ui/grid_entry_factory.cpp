#include "grid_entry_factory.h"

#include "grid_tabla_wnd.h"
#include "qt_locale.h"
#include "qt_prompts.h"

CGridEntryFactory::CGridEntryFactory(QWidget* parent)
    : QtEntryFactory(parent),
      m_form(parent),
      m_prompts(std::make_unique<QtPrompts>(parent)),
      m_locale(std::make_unique<QtLocale>())
{
}

CGridEntryFactory::~CGridEntryFactory() = default;

std::unique_ptr<TableEntry> CGridEntryFactory::CreateTableEntry(const TableEntryParams& params)
{
    // The window works on the editing core itself, which the element lends through the
    // cells interface.
    auto* editor = dynamic_cast<CTablaEditor*>(params.cells);
    if (!editor)
        return nullptr;
    auto* window = new CGridTablaWnd(m_form, params.controlId, *editor);
    MarkEntryControl(window, params.controlId);
    connect(window, &CTablaWnd::gridChanged, this, &CGridEntryFactory::gridChanged);
    const Rect rc = params.rcScreen.Normalized();
    window->Create(QRect(rc.left, rc.top, rc.Width(), rc.Height()));
    window->Reset();
    return std::make_unique<GridTableEntry>(window);
}

Prompts* CGridEntryFactory::TablePrompts()
{
    return m_prompts.get();
}

const Locale* CGridEntryFactory::TableLocale()
{
    return m_locale.get();
}

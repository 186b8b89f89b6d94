#include "tables/ui/grid_entry_factory.h"

#include "model/grid_capture.h"
#include "tables/ui/grid_tabla_wnd.h"
#include "platform/qt_locale.h"
#include "platform/qt_prompts.h"

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
    // The window works on the element's capture state itself, which the element lends
    // through the cells interface.
    auto* capture = dynamic_cast<CGridCapture*>(params.cells);
    if (!capture)
        return nullptr;
    auto* window = new CGridTablaWnd(m_form, params.controlId, *capture);
    MarkEntryControl(window, params.controlId);
    connect(window, &CTablaWnd::gridChanged, this, &CGridEntryFactory::gridChanged);
    const Rect rc = params.rcScreen.Normalized();
    window->Place(QRect(rc.left, rc.top, rc.Width(), rc.Height()));
    window->show();
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

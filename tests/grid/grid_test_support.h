#pragma once
// What the table element's tests share: a headless entry factory with scripted prompts and
// the Spanish (Mexico) locale, and a new grid created as the designer does.
#include <memory>

#include "model/element_factory.h"
#include "model/fmt_grid.h"
#include "base/prompts.h"
#include "platform/qt_locale.h"

struct HeadlessParent {
    ScriptedPrompts prompts;
    QtLocale locale{QLocale(QLocale::Spanish, QLocale::Mexico)};
    MemoryEntryFactory factory;
    std::vector<int> gridChanged;  // control ids, in the order told

    HeadlessParent()
    {
        factory.SetTableServices(prompts, locale);
        factory.SetGridChangedListener([this](int id) { gridChanged.push_back(id); });
    }
};

inline std::unique_ptr<CFmtGrid> DesignedGrid(int x = 100, int y = -200)
{
    return std::unique_ptr<CFmtGrid>(static_cast<CFmtGrid*>(CreateElementAt(kKindGrid, x, y).release()));
}

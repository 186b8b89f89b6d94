#pragma once
// The capture screen's entry factory with table windows: the Qt entry controls, plus the
// table element's window, the message boxes and the locale its table uses, and the
// grid-changed notification of every window it made.
#include <memory>

#include "platform/calc_edit.h"

class QtLocale;
class QtPrompts;

class CGridEntryFactory : public QtEntryFactory {
    Q_OBJECT
public:
    explicit CGridEntryFactory(QWidget* parent);
    ~CGridEntryFactory() override;

    // The window over the element's editing core (the cells of the params), placed at the
    // params's rectangle. None when the cells are not a table editing core.
    std::unique_ptr<TableEntry> CreateTableEntry(const TableEntryParams& params) override;
    Prompts* TablePrompts() override;
    const Locale* TableLocale() override;

signals:
    // A table window's calculated columns changed (the window's control id).
    void gridChanged(int controlId);

private:
    QWidget* m_form;
    std::unique_ptr<QtPrompts> m_prompts;
    std::unique_ptr<QtLocale> m_locale;
};

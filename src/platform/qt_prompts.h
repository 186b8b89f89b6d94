#pragma once
#include <QPointer>
#include <QWidget>

#include "base/prompts.h"

// Message boxes titled "Ordexa"; Yes/No questions have No as the default, Yes/No/Cancel
// questions Yes.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    // The window the boxes are centred on (the main window, once it exists).
    void SetParent(QWidget* parent) { m_parent = parent; }
    void Message(const std::string& text, PromptIcon icon = PromptIcon::Warning) override;
    bool AskYesNo(const std::string& text) override;
    PromptAnswer AskYesNoCancel(const std::string& text) override;

private:
    QPointer<QWidget> m_parent;
};

#pragma once
#include <QPointer>
#include <QWidget>

#include "prompts.h"

// Message boxes titled "Ordexa"; questions offer Yes and No with No as the default.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    // The window the boxes are centred on (the main window, once it exists).
    void SetParent(QWidget* parent) { m_parent = parent; }
    void Message(const std::string& text, PromptIcon icon = PromptIcon::Warning) override;
    bool AskYesNo(const std::string& text) override;

private:
    QPointer<QWidget> m_parent;
};

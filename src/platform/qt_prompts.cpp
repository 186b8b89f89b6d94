#include "platform/qt_prompts.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon ToQt(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Warning: break;
    }
    return QMessageBox::Warning;
}

}  // namespace

void QtPrompts::Message(const std::string& text, PromptIcon icon)
{
    QMessageBox box(ToQt(icon), QStringLiteral("Ordexa"), QString::fromStdString(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompts::AskYesNo(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Ordexa"), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

PromptAnswer QtPrompts::AskYesNoCancel(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Ordexa"), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return PromptAnswer::Yes;
    case QMessageBox::No: return PromptAnswer::No;
    default: return PromptAnswer::Cancel;
    }
}

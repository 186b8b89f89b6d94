#include "platform/child_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QToolBar>

#include "platform/frame_host.h"
#include "base/prompts.h"

CChildFrame::CChildFrame(FrameHost& host, FrameMode mode, const QString& captionFormat, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_mode(mode), m_captionFormat(captionFormat)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void CChildFrame::UpdateCaption()
{
    setWindowTitle(m_captionFormat.arg(m_path.empty() ? QStringLiteral("(nuevo)") : QString::fromStdString(m_path)));
    emit captionChanged(this);
}

void CChildFrame::LoadFromPath(const std::string& path)
{
    std::string message;
    const bool loaded = LoadFormatFile(path, FrameFormat(), message);
    if (!loaded)
        m_host.GetPrompts().Message(message, PromptIcon::Error);
    m_path = loaded ? path : std::string();
    FormatShown();
    UpdateCaption();
    if (loaded)
        m_host.AddToRecentFormats(path, 1);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (QueryClose())
        event->accept();
    else
        event->ignore();
}

void ApplyCommandState(QAction* action, const CommandUiState& state)
{
    action->setEnabled(state.enabled);
    action->setCheckable(state.checkable);
    action->setChecked(state.checkable && state.checked);
}

QToolBar* CChildFrame::AddCommandToolBar(const QString& title, const QString& objectName, int iconSide,
                                         const std::vector<ToolButton>& buttons)
{
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(objectName);
    bar->setIconSize(QSize(iconSide, iconSide));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setMovable(true);
    bar->setFloatable(true);
    for (const ToolButton& button : buttons) {
        if (button.id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = bar->addAction(button.icon, button.tooltip);
        action->setData(button.id);
        action->setToolTip(button.tooltip);
        if (!button.statusTip.isEmpty())
            action->setStatusTip(button.statusTip);
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (!HandleCommand(id))
                m_host.RunCommand(id);
        });
    }
    addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

void CChildFrame::RefreshToolBar(QToolBar* bar)
{
    for (QAction* action : bar->actions())
        if (!action->isSeparator())
            if (const std::optional<CommandUiState> state = CommandState(action->data().toInt()))
                ApplyCommandState(action, *state);
}

QAction* CChildFrame::FindToolAction(const QToolBar* bar, int id)
{
    for (QAction* action : bar->actions())
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    return nullptr;
}

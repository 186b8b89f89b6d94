#include "platform/child_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
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
    m_captionMarked = HasUnsavedChanges();
    const QString name = m_path.empty() ? QStringLiteral("(nuevo)") : QString::fromStdString(m_path);
    setWindowTitle(m_captionFormat.arg(name) + (m_captionMarked ? QStringLiteral("*") : QString()));
    emit captionChanged(this);
}

void CChildFrame::RefreshModifiedMark()
{
    if (HasUnsavedChanges() != m_captionMarked)
        UpdateCaption();
}

void CChildFrame::LoadFromPath(const std::string& path)
{
    std::string message;
    const bool loaded = LoadFormatFile(path, FrameFormat(), message, &m_fingerprint);
    if (!loaded)
        m_host.GetPrompts().Message(message, PromptIcon::Error);
    m_path = loaded ? path : std::string();
    FormatShown();
    UpdateCaption();
    if (loaded)
        m_host.AddToRecentFormats(path, 1);
}

void CChildFrame::CloseWindow()
{
    // The workspace's window closes its frame first and stays when the frame refuses;
    // closing the frame alone would leave an empty window with stale menus.
    if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget()))
        window->close();
    else
        close();
}

void CChildFrame::FormatSavedElsewhere()
{
    if (m_path.empty() || HasUnsavedChanges())
        return;
    std::string message;
    if (!LoadFormatFile(m_path, FrameFormat(), message, &m_fingerprint)) {
        // The frame keeps no half-read format and no path to write it back to.
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        m_path.clear();
    }
    FormatShown();
    UpdateCaption();
}

bool CChildFrame::WriteFormatFile(const std::string& path, FormatWriter writer)
{
    if (!m_fingerprint.MayOverwrite(path, m_host.GetPrompts()))
        return false;
    std::string message;
    // The file is written through a temporary file renamed over it: a failure leaves
    // the previous file as it was.
    if (!SaveFormatFile(path, FrameFormat(), writer, message, &m_fingerprint)) {
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return false;
    }
    m_host.FormatSaved(path, this);
    return true;
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

#include "platform/child_frame.h"

#include <QCloseEvent>

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

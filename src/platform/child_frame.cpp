#include "child_frame.h"

#include "frame_host.h"
#include "prompts.h"

CChildFrame::CChildFrame(FrameHost& host, FrameMode mode, QWidget* parent)
    : QMainWindow(parent), m_host(host), m_mode(mode)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void CChildFrame::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
    emit captionChanged(this);
}

QString CChildFrame::PathOrNew(const std::string& path)
{
    return path.empty() ? QStringLiteral("(nuevo)") : QString::fromStdString(path);
}

bool CChildFrame::ReadFormatOrReport(const std::string& path, Format& format)
{
    std::string message;
    if (LoadFormatFile(path, format, message))
        return true;
    m_host.GetPrompts().Message(message, PromptIcon::Error);
    return false;
}

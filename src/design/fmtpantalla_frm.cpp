#include "fmtpantalla_frm.h"

#include <QScrollArea>

#include "format_canvas.h"
#include "frame_host.h"

CFmtpantallaFrm::CFmtpantallaFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::ScreenLayout, parent)
{
    auto* scroll = new QScrollArea(this);
    m_canvas = new CFormatCanvas(m_format, RenderMode::Screen);
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);
    UpdateCaption();
}

void CFmtpantallaFrm::LoadFromPath(const std::string& path)
{
    const bool loaded = ReadFormatOrReport(path, m_format);
    m_canvas->FormatChanged();
    if (loaded)
        m_path = path;
    UpdateCaption();
    if (loaded)
        m_host.AddToRecentFormats(path, 1);
}

void CFmtpantallaFrm::UpdateCaption()
{
    SetCaption(QStringLiteral("Diseño de pantalla - %1").arg(PathOrNew(m_path)));
}

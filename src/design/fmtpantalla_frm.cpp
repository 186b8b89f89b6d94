#include "fmtpantalla_frm.h"

#include "frame_host.h"

CFmtpantallaFrm::CFmtpantallaFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::ScreenLayout, parent)
{
    setCentralWidget(new QWidget(this));
    UpdateCaption();
}

void CFmtpantallaFrm::LoadFromPath(const std::string& path)
{
    if (!ReadFormatOrReport(path, m_format)) {
        UpdateCaption();
        return;
    }
    m_path = path;
    UpdateCaption();
    m_host.AddToRecentFormats(path, 1);
}

void CFmtpantallaFrm::UpdateCaption()
{
    SetCaption(QStringLiteral("Diseño de pantalla - %1").arg(PathOrNew(m_path)));
}

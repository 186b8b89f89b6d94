#include "fmtcaptura_frm.h"

#include "frame_host.h"

CFmtcapturaFrm::CFmtcapturaFrm(FrameHost& host, QWidget* parent) : CChildFrame(host, FrameMode::Capture, parent)
{
    setCentralWidget(new QWidget(this));
    UpdateCaption();
}

void CFmtcapturaFrm::LoadFromPath(const std::string& path)
{
    if (!ReadFormatOrReport(path, m_format)) {
        UpdateCaption();
        return;
    }
    m_path = path;
    UpdateCaption();
    m_host.AddToRecentFormats(path, 1);
}

void CFmtcapturaFrm::UpdateCaption()
{
    SetCaption(QStringLiteral("Pantalla de captura - %1").arg(PathOrNew(m_path)));
}

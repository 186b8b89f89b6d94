#include "fmtcaptura_frm.h"

#include "fmtcapture_view.h"
#include "frame_host.h"

CFmtcapturaFrm::CFmtcapturaFrm(FrameHost& host, QWidget* parent) : CChildFrame(host, FrameMode::Capture, parent)
{
    m_view = new CFmtcaptureView(this);
    setCentralWidget(m_view);
    UpdateCaption();
}

void CFmtcapturaFrm::LoadFromPath(const std::string& path)
{
    const bool loaded = ReadFormatOrReport(path, m_view->GetFormat());
    m_view->ShowFormat();
    if (loaded) {
        m_view->SetPath(path);
        m_path = path;
    }
    UpdateCaption();
    if (loaded)
        m_host.AddToRecentFormats(path, 1);
}

void CFmtcapturaFrm::UpdateCaption()
{
    SetCaption(QStringLiteral("Pantalla de captura - %1").arg(PathOrNew(m_path)));
}

#include "fmtcaptura_frm.h"

#include "fmtcapture_view.h"
#include "frame_host.h"

CFmtcapturaFrm::CFmtcapturaFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::Capture, QStringLiteral("Pantalla de captura - %1"), parent)
{
    m_view = new CFmtcaptureView(this);
    setCentralWidget(m_view);
    UpdateCaption();
}

Format& CFmtcapturaFrm::FrameFormat()
{
    return m_view->GetFormat();
}

void CFmtcapturaFrm::FormatShown()
{
    m_view->SetPath(Path());
    m_view->ShowFormat();
}

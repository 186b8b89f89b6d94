#include "design/fmtpantalla_frm.h"

#include <QScrollArea>

#include "platform/format_canvas.h"
#include "platform/frame_host.h"

CFmtpantallaFrm::CFmtpantallaFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::ScreenLayout, QStringLiteral("Diseño de pantalla - %1"), parent)
{
    auto* scroll = new QScrollArea(this);
    m_canvas = new CFormatCanvas(m_format, RenderMode::Screen);
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);
    UpdateCaption();
}

void CFmtpantallaFrm::FormatShown()
{
    m_canvas->FormatChanged();
}

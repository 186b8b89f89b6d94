#include "fmtdesign_frm.h"


#include <QScrollArea>

#include "format_canvas.h"
#include "frame_host.h"
#include "format_dialogs.h"

CFmtdesignFrm::CFmtdesignFrm(FrameHost& host, QWidget* parent) : CChildFrame(host, FrameMode::Design, QStringLiteral("Diseño de formato - %1"), parent)
{
    auto* scroll = new QScrollArea(this);
    m_canvas = new CFormatCanvas(m_format, RenderMode::Design);
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);
    UpdateCaption();
}

void CFmtdesignFrm::FormatShown()
{
    m_canvas->FormatChanged();
}

void CFmtdesignFrm::OpenFormat()
{
    const std::string path = AskFormatToOpen(this);
    if (!path.empty())
        LoadFromPath(path);
}

bool CFmtdesignFrm::HandleCommand(int id)
{
    if (id == CommandId::kOpenDesign) {
        OpenFormat();
        return true;
    }
    return false;
}

#include "fmtdesign_frm.h"

#include <QFileDialog>

#include <QScrollArea>

#include "format_canvas.h"
#include "frame_host.h"
#include "format_dialogs.h"

CFmtdesignFrm::CFmtdesignFrm(FrameHost& host, QWidget* parent) : CChildFrame(host, FrameMode::Design, parent)
{
    auto* scroll = new QScrollArea(this);
    m_canvas = new CFormatCanvas(m_format, RenderMode::Design);
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);
    UpdateCaption();
}

void CFmtdesignFrm::LoadFromPath(const std::string& path)
{
    m_path = path;
    const bool loaded = ReadFormatOrReport(path, m_format);
    m_canvas->FormatChanged();
    if (!loaded) {
        // The frame stays open and empty; with no path, a later save asks for one and
        // cannot overwrite the file that failed to load.
        m_path.clear();
    }
    UpdateCaption();
    if (loaded)
        m_host.AddToRecentFormats(path, 1);
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

void CFmtdesignFrm::UpdateCaption()
{
    SetCaption(QStringLiteral("Diseño de formato - %1").arg(PathOrNew(m_path)));
}

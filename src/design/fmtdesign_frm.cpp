#include "fmtdesign_frm.h"

#include <QFileDialog>

#include "frame_host.h"
#include "format_dialogs.h"

CFmtdesignFrm::CFmtdesignFrm(FrameHost& host, QWidget* parent) : CChildFrame(host, FrameMode::Design, parent)
{
    setCentralWidget(new QWidget(this));
    UpdateCaption();
}

void CFmtdesignFrm::LoadFromPath(const std::string& path)
{
    m_path = path;
    if (!ReadFormatOrReport(path, m_format)) {
        // The frame stays open and empty; with no path, a later save asks for one and
        // cannot overwrite the file that failed to load.
        m_path.clear();
        UpdateCaption();
        return;
    }
    UpdateCaption();
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

// The design frame's recovery copy: the format as it stands while it differs from its
// file, and taking such a copy back in after the program stopped without saving it.
#include "design/fmtdesign_frm.h"
#include "design/properties_panel.h"
#include "design/properties_panel_bar.h"

std::optional<RecoveryCopy> CFmtdesignFrm::UnsavedWork()
{
    if (!IsModified())
        return std::nullopt;
    RecoveryCopy copy;
    copy.mode = RecoveryMode::Design;
    copy.sourcePath = Path();
    copy.payload = WriteFormatAsItStands(m_document.GetFormat());
    return copy;
}

bool CFmtdesignFrm::RestoreWork(const RecoveryCopy& copy, std::string& message)
{
    Format restored;
    FormatReadError error;
    if (copy.mode != RecoveryMode::Design || !ReadFormat(copy.payload, restored, error)) {
        message = "La copia de recuperación del formato está dañada (byte " + std::to_string(error.offset) + ").";
        return false;
    }
    if (m_panelBar)
        m_panelBar->Panel()->Refresh(nullptr);
    m_document.Replace(std::move(restored));
    SetPath(copy.sourcePath);
    m_history.Clear();
    // No undo level matches the file: the format stays modified until it is saved.
    m_level = 0;
    m_cleanLevel = -1;
    AfterReplace({});
    UpdateCaption();
    if (!copy.sourcePath.empty())
        ShowScanMessage(m_scan.RestoreFor(QString::fromStdString(copy.sourcePath)));
    UpdateCommandStates();
    return true;
}

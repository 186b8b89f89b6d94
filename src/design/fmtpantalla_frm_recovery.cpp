// The screen layout frame's recovery copy: the layout as it stands while it differs from
// its file, and taking such a copy back in after the program stopped without saving it.
#include "design/fmtpantalla_frm.h"
#include "design/fmtpantalla_view.h"

std::optional<RecoveryCopy> CFmtpantallaFrm::UnsavedWork()
{
    if (!IsModified() || Path().empty())
        return std::nullopt;
    RecoveryCopy copy;
    copy.mode = RecoveryMode::ScreenLayout;
    copy.sourcePath = Path();
    copy.payload = WriteFormatAsItStands(m_format);
    return copy;
}

bool CFmtpantallaFrm::RestoreWork(const RecoveryCopy& copy, std::string& message)
{
    Format restored;
    FormatReadError error;
    // A layout is written back only to the file it came from: a copy without one has
    // nowhere to go.
    if (copy.mode != RecoveryMode::ScreenLayout || copy.sourcePath.empty() ||
        !ReadFormat(copy.payload, restored, error)) {
        message = "La copia de recuperación de la pantalla está dañada (byte " + std::to_string(error.offset) + ").";
        return false;
    }
    m_format = std::move(restored);
    SetPath(copy.sourcePath);
    FormatShown();
    // No undo level matches the file: the layout stays modified until it is saved.
    m_cleanLevel = -1;
    UpdateCaption();
    UpdateCommandStates();
    return true;
}

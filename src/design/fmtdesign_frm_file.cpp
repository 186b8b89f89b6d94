// The design frame's file commands: open into the frame, save, save under a new name,
// and the question before unsaved work would be lost. Also the platform's dialogs.
#include <QColorDialog>
#include <QFileDialog>

#include "base/prompts.h"
#include "design/fmtdesign_frm.h"

#include <string_view>
#include "design/font_dialog.h"
#include "design/properties_panel_bar.h"
#include "platform/file_folders.h"
#include "platform/format_dialogs.h"
#include "platform/frame_host.h"

namespace {

const QString kFilter = QStringLiteral("Ordexa (*.fmt)");

std::string AskFormatToSave(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Guardar formato como"), QString(), kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("fmt"));
    dialog.setDirectory(StartFolder(FileKind::Formats));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    RememberFolder(FileKind::Formats, dialog.selectedFiles().first());
    return dialog.selectedFiles().first().toStdString();
}

std::optional<uint32_t> AskColour(QWidget* parent, uint32_t colour)
{
    const QColor initial(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(initial, parent, QStringLiteral("Color"));
    if (!chosen.isValid())
        return std::nullopt;
    return uint32_t(chosen.red()) | (uint32_t(chosen.green()) << 8) | (uint32_t(chosen.blue()) << 16);
}

std::string AskPictureToPlace(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Insertar imagen"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Imágenes (*.png *.jpg *.jpeg *.svg)"),
                           QStringLiteral("Todos los archivos (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

DesignDialogs PlatformDesignDialogs()
{
    return {AskFormatToOpen, AskFormatToSave, AskFontInPoints, AskColour, AskPictureToPlace};
}

std::string CFmtdesignFrm::CaptionName() const
{
    return Path().empty() ? std::string("(nuevo)") : Path();
}

std::string CFmtdesignFrm::SaveChangesQuestion(const std::string& name)
{
    const std::string_view text = kAskSaveChanges;
    const size_t at = text.find("%s");
    return std::string(text.substr(0, at)) + name + std::string(text.substr(at + 2));
}

bool CFmtdesignFrm::QueryClose()
{
    CommitPanelEdit();
    // An empty format is never written from this mode, so there is nothing to offer.
    if (!IsModified() || m_document.Elements().empty())
        return true;
    return SaveBeforeLosing(m_host.GetPrompts(), SaveChangesQuestion(CaptionName()), [this] { return Save(); });
}

void CFmtdesignFrm::OpenFormat()
{
    // The format in the frame is replaced: it is offered for saving first.
    if (!QueryClose())
        return;
    const std::string path = m_dialogs.openPath ? m_dialogs.openPath(this) : std::string();
    if (path.empty())
        return;
    // A format already open in another design window is shown there, never twice; an
    // empty window opened only to ask for it goes away.
    if (m_host.BringForward(FrameMode::Design, path, this)) {
        if (Path().empty() && m_document.Elements().empty() && !IsModified())
            CloseWindow();
        return;
    }
    Format loaded;
    std::string message;
    FileFingerprint read;
    if (!LoadFormatFile(path, loaded, message, &read)) {
        // The format in the frame stays as it was.
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return;
    }
    if (m_panelBar)
        m_panelBar->Panel()->Refresh(nullptr);
    m_document.Replace(std::move(loaded));
    m_fingerprint = read;
    SetPath(path);
    m_history.Clear();
    m_level = 0;
    m_cleanLevel = 0;
    AfterReplace({});
    UpdateCaption();
    ShowScanMessage(m_scan.RestoreFor(QString::fromStdString(path)));
    UpdateCommandStates();
    m_host.AddToRecentFormats(path, 1);
}

bool CFmtdesignFrm::WriteTo(const std::string& path)
{
    CommitPanelEdit();
    if (!WriteFormatFile(path, FormatWriter::Design))
        return false;
    MarkSaved();
    return true;
}

bool CFmtdesignFrm::Save()
{
    if (m_document.Elements().empty())
        return false;
    if (!Path().empty()) {
        const bool written = WriteTo(Path());
        if (written)
            ShowScanMessage(m_scan.FormatSaved(QString::fromStdString(Path()), false));
        UpdateCaption();
        UpdateCommandStates();
        return written;
    }
    const std::string path = m_dialogs.savePath ? m_dialogs.savePath(this) : std::string();
    if (path.empty() || !WriteTo(path))
        return false;
    // The first save of a new format makes it a recent format.
    SetPath(path);
    ShowScanMessage(m_scan.FormatSaved(QString::fromStdString(path), true));
    UpdateCaption();
    m_host.AddToRecentFormats(path, 1);
    UpdateCommandStates();
    return true;
}

bool CFmtdesignFrm::SaveAs()
{
    if (m_document.Elements().empty())
        return false;
    const std::string path = m_dialogs.savePath ? m_dialogs.savePath(this) : std::string();
    if (path.empty() || !WriteTo(path))
        return false;
    // The scan follows the format to its new name; the old name keeps its own note.
    ShowScanMessage(m_scan.FormatSaved(QString::fromStdString(path), path != Path()));
    SetPath(path);
    UpdateCaption();
    // The new name is the format the clerk works on now, as after a first save.
    m_host.AddToRecentFormats(path, 1);
    UpdateCommandStates();
    return true;
}

// The design frame's commands: tools, snapping, the edits of the format menu, delete,
// undo and redo, and whether each command can be chosen and is marked.
#include <QMdiSubWindow>
#include <variant>

#include "design/design_commands.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtdesign_view.h"
#include "design/properties_panel_bar.h"
#include "model/linea.h"
#include "platform/frame_host.h"
#include "platform/picture_file.h"
#include "platform/command_ids.h"

using namespace CommandId;

bool CFmtdesignFrm::HandleCommand(int id)
{
    const DesignCommand* command = FindDesignCommand(id);
    if (command && command->kind >= 0) {
        // An image needs its picture before it can be placed.
        if (command->kind == kKindImagen && !ChoosePictureToPlace())
            return true;
        m_editor.ChooseInsertTool(command->kind);
        m_view->SetPointer(DesignCursor::Insert);
        UpdateCommandStates();
        return true;
    }
    if (HandleEditCommand(id)) {
        UpdateCommandStates();
        return true;
    }
    CControles* selection = m_document.Selection();
    switch (id) {
    case kOpenDesign:
        OpenFormat();
        break;
    case kSaveDesign:
        if (!m_document.Elements().empty())
            Save();
        break;
    case kSaveDesignAs:
        if (!m_document.Elements().empty())
            SaveAs();
        break;
    case kCloseDesign:
        CloseWindow();
        return true;
    case kUndo:
        Undo();
        break;
    case kRedo:
        Redo();
        break;
    case kSnapMillimetre:
        m_editor.ToggleSnap(kSnapStepMm);
        break;
    case kSnapCentimetre:
        m_editor.ToggleSnap(kSnapStepCm);
        break;
    case kProperties:
        ShowProperties();
        break;
    case kSelectTool:
        // Esc also ends a rubber band or an insertion still being dragged.
        if (!std::holds_alternative<Idle>(m_editor.State()))
            m_view->Apply(m_editor.ReleaseOutside());
        m_editor.ChooseSelectTool();
        m_view->SetPointer(DesignCursor::Select);
        break;
    case kDeleteElement:
        Edit([this] { return m_document.DeleteSelection(); });
        m_editor.ForgetHover();
        break;
    case kFont:
        ChooseFont();
        break;
    case kColor:
        ChooseColour();
        break;
    case kAlignLeft:
    case kAlignCenter:
    case kAlignRight: {
        const DesignAlign align = id == kAlignLeft ? DesignAlign::Left : id == kAlignCenter ? DesignAlign::Centre : DesignAlign::Right;
        if (AnySelected([](const CControles& e) { return e.HasFont(); }))
            Edit([this, align] {
                m_document.AlignSelection(align);
                return true;
            });
        break;
    }
    case kLineHorizontal:
    case kLineVertical:
        if (selection && selection->m_kind == kKindLinea)
            Edit([selection, id] {
                auto* line = static_cast<CLinea*>(selection);
                if (id == kLineHorizontal)
                    line->MakeHorizontal();
                else
                    line->MakeVertical();
                return true;
            });
        break;
    case kResetCaptureScreen:
        Edit([this] {
            m_document.ResetScreenPlacement();
            return true;
        });
        break;
    // The scanned form lives beside the format, never in it: no history, no modified state.
    case kScanBackground:
        ShowScanMessage(m_scan.Choose(this, QString::fromStdString(Path()), m_host.GetPrompts()));
        break;
    case kScanFade:
        ShowScanMessage(m_scan.ChooseFade(this, QString::fromStdString(Path())));
        break;
    case kRemoveScanBackground:
        ShowScanMessage(m_scan.Remove(QString::fromStdString(Path())));
        break;
    default:
        return false;
    }
    UpdateCommandStates();
    return true;
}

bool CFmtdesignFrm::ChoosePictureToPlace()
{
    const std::string path = m_dialogs.picturePath ? m_dialogs.picturePath(this) : std::string();
    if (path.empty())
        return false;
    FormPicture picture;
    std::string message;
    if (!LoadFormPicture(QString::fromStdString(path), picture, message)) {
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return false;
    }
    m_document.SetPictureToPlace(std::move(picture.bytes), picture.widthUnits);
    ShowScanMessage(QStringLiteral("Haga clic donde irá la esquina superior izquierda de la imagen"));
    return true;
}

std::optional<CommandUiState> CFmtdesignFrm::CommandState(int id)
{
    if (std::optional<CommandUiState> state = EditCommandState(id))
        return state;
    const CControles* selection = m_document.Selection();
    const DesignCommand* command = FindDesignCommand(id);
    if (command && command->kind >= 0)
        return CommandUiState{true, true, m_editor.Tool() == DesignTool::Insert && m_editor.InsertKind() == command->kind};
    const bool hasElements = !m_document.Elements().empty();
    const bool textual = AnySelected([](const CControles& e) { return e.HasFont(); });
    switch (id) {
    case kNewDesign:
    case kOpenDesign:
    case kCloseDesign:
    case kResetCaptureScreen:
        return CommandUiState{};
    case kSaveDesign:
    case kSaveDesignAs:
        // An empty format is never written from this mode.
        return CommandUiState{hasElements};
    case kUndo:
        return CommandUiState{m_history.CanUndo()};
    case kRedo:
        return CommandUiState{m_history.CanRedo()};
    case kSnapMillimetre:
        return CommandUiState{true, true, m_editor.SnapStep() == kSnapStepMm};
    case kSnapCentimetre:
        return CommandUiState{true, true, m_editor.SnapStep() == kSnapStepCm};
    case kProperties:
        return CommandUiState{true, true, m_panelBar && m_panelBar->isVisible()};
    case kSelectTool:
        return CommandUiState{true, true, m_editor.Tool() == DesignTool::Select};
    case kDeleteElement:
        return CommandUiState{m_document.SelectedCount() > 0};
    case kFont:
    case kAlignLeft:
    case kAlignCenter:
    case kAlignRight:
        return CommandUiState{textual};
    case kColor:
        return CommandUiState{AnySelected([](const CControles& e) { return e.m_kind != kKindImagen; })};
    case kLineHorizontal:
    case kLineVertical:
        return CommandUiState{selection && selection->m_kind == kKindLinea};
    case kScanBackground:
        return CommandUiState{};
    case kScanFade:
        return CommandUiState{m_scan.HasScan()};
    case kRemoveScanBackground:
        return CommandUiState{m_scan.CanRemove()};
    default:
        return std::nullopt;
    }
}

// --- Changes and history ----------------------------------------------------------------

void CFmtdesignFrm::BeginChange()
{
    BeginChange(m_document.GetFormat());
}

void CFmtdesignFrm::BeginChange(const Format& before)
{
    // A change after an undo forgets what could be redone; if the saved state was among
    // it, the format can no longer come back to it.
    if (m_cleanLevel > m_level)
        m_cleanLevel = -1;
    m_history.RecordBefore(before);
}

void CFmtdesignFrm::GestureChanged()
{
    ++m_level;
    UpdateCommandStates();
}

void CFmtdesignFrm::ChangeAbandoned()
{
    m_history.DropLast();
    UpdateCommandStates();
}

bool CFmtdesignFrm::IsModified() const
{
    return m_level != m_cleanLevel;
}

void CFmtdesignFrm::MarkSaved()
{
    m_cleanLevel = m_level;
    WorkSaved();
}

bool CFmtdesignFrm::Edit(const std::function<bool()>& change)
{
    CommitPanelEdit();
    const std::vector<uint8_t> before = FormatHistory::Snapshot(m_document.GetFormat());
    // A command that leaves the file's bytes as they were (centring centred text) is no
    // change: it leaves nothing to undo and keeps what could be redone.
    if (!change() || FormatHistory::Snapshot(m_document.GetFormat()) == before) {
        Repaint();
        RefreshPanel();
        return false;
    }
    // The history records the format as it stood, read back from its bytes.
    Format previous;
    if (FormatHistory::Restore(before, previous)) {
        BeginChange(previous);
        GestureChanged();
    }
    Repaint();
    RefreshPanel();
    return true;
}

void CFmtdesignFrm::AfterReplace(const std::vector<int>& selectionIndices)
{
    m_document.SelectIndices(selectionIndices);
    m_editor.ForgetHover();
    Repaint();
    RefreshPanel();
}

bool CFmtdesignFrm::Undo()
{
    CommitPanelEdit();
    // Where the list keeps its length, the elements selected stay selected.
    const std::vector<int> indices = m_document.SelectedIndices();
    const size_t count = m_document.Elements().size();
    if (m_panelBar)
        m_panelBar->Panel()->Refresh(nullptr);
    if (!m_history.Undo(m_document.GetFormat()))
        return false;
    --m_level;
    AfterReplace(m_document.Elements().size() == count ? indices : std::vector<int>{});
    return true;
}

bool CFmtdesignFrm::Redo()
{
    CommitPanelEdit();
    const std::vector<int> indices = m_document.SelectedIndices();
    const size_t count = m_document.Elements().size();
    if (m_panelBar)
        m_panelBar->Panel()->Refresh(nullptr);
    if (!m_history.Redo(m_document.GetFormat()))
        return false;
    ++m_level;
    AfterReplace(m_document.Elements().size() == count ? indices : std::vector<int>{});
    return true;
}

// --- Font and colour ----------------------------------------------------------------------

bool CFmtdesignFrm::AnySelected(const std::function<bool(const CControles&)>& test) const
{
    for (const CControles* e : m_document.Selected())
        if (test(*e))
            return true;
    return false;
}

void CFmtdesignFrm::ChooseFont()
{
    // The dialog starts from the first selected element that has text; its choice goes
    // to every selected element that has text.
    CControles* first = nullptr;
    for (CControles* e : m_document.Selected())
        if (e->HasFont()) {
            first = e;
            break;
        }
    if (!first || !m_dialogs.font)
        return;
    const std::optional<LogFont> chosen = m_dialogs.font(this, first->GetFont());
    if (!chosen)
        return;
    Edit([this, &chosen] {
        for (CControles* e : m_document.Selected())
            if (e->HasFont()) {
                e->SetFont(*chosen);
                e->FixFontHeight();
            }
        return true;
    });
}

void CFmtdesignFrm::ChooseColour()
{
    CControles* first = nullptr;
    for (CControles* e : m_document.Selected())
        if (e->m_kind != kKindImagen) {
            first = e;
            break;
        }
    if (!first || !m_dialogs.colour)
        return;
    const std::optional<uint32_t> chosen = m_dialogs.colour(this, first->m_textColor);
    if (!chosen)
        return;
    Edit([this, &chosen] {
        for (CControles* e : m_document.Selected())
            if (e->m_kind != kKindImagen)
                e->m_textColor = *chosen;
        return true;
    });
}

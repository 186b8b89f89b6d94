#include "design/fmtpantalla_frm.h"

#include "design/design_commands.h"

#include <QLabel>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>

#include "base/prompts.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtpantalla_view.h"
#include "design/screen_layout_icons.h"
#include "platform/frame_host.h"
#include "platform/key_indicators.h"

namespace {

using namespace CommandId;


struct LayoutCommand {
    int id;
    const char* prompt;
    const char* tooltip;
};

// Prompts shown in the status bar while a command is highlighted, and the toolbar's
// tooltips.
constexpr LayoutCommand kCommands[] = {
    {kOpenScreenLayout, "Abre un formato para editar la posición de los controles en la pantalla de captura",
     "Abrir pantalla"},
    {kSaveLayout, "Guarda la disposición en pantalla", "Guardar"},
    {kCloseLayout, "Cierra el documento", "Cerrar"},
    {kCaptionAbove, "Pone el título del control en su parte superior", "Arriba"},
    {kCaptionSide, "Pone el título del control en su costado izquierdo", "A un lado"},
    {kCaptureOrder, "Determina el orden de captura", "Orden de captura"},
    {kUndo, "Deshace el último cambio", "Deshacer"},
    {kRedo, "Rehace el cambio deshecho", "Rehacer"},
    {kAbout, "Muestra la información del programa, el número de versión y los derechos de autor", "Acerca de"},
};

const LayoutCommand* FindCommand(int id)
{
    for (const LayoutCommand& command : kCommands)
        if (command.id == id)
            return &command;
    return nullptr;
}

// The toolbar's buttons in order; 0 is a separator.
constexpr int kToolbarButtons[] = {kOpenScreenLayout, kSaveLayout, 0, kCaptionSide, kCaptionAbove, kCaptureOrder, 0, kAbout};

}  // namespace

CFmtpantallaFrm::CFmtpantallaFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::ScreenLayout, QStringLiteral("Diseño de pantalla - %1"), parent)
{
    auto* scroll = new QScrollArea(this);
    scroll->setBackgroundRole(QPalette::Button);
    m_view = new CFmtpantallaView(m_format);
    scroll->setWidget(m_view);
    setCentralWidget(scroll);
    connect(m_view, &CFmtpantallaView::formatChanged, this, &CFmtpantallaFrm::OnFormatChanged);
    connect(m_view, &CFmtpantallaView::stateChanged, this, &CFmtpantallaFrm::UpdateCommandStates);
    BuildToolBar();
    BuildStatusBar();
    UpdateCaption();
    UpdateCommandStates();
}

void CFmtpantallaFrm::BuildToolBar()
{
    std::vector<ToolButton> buttons;
    for (int id : kToolbarButtons) {
        const LayoutCommand* command = id ? FindCommand(id) : nullptr;
        buttons.push_back(command ? ToolButton{id, ScreenLayoutIcon(id), QString::fromUtf8(command->tooltip),
                                               QString::fromUtf8(command->prompt)}
                                  : ToolButton{});
    }
    m_toolBar = AddCommandToolBar(QStringLiteral("Diseño de pantalla"), QStringLiteral("toolbar148"), 24, buttons);
}

void CFmtpantallaFrm::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    m_promptPane = new QLabel(QString::fromUtf8(kReadyPrompt), bar);
    bar->addWidget(m_promptPane, 1);
    AddKeyIndicatorPanes(bar);
}

void CFmtpantallaFrm::ShowCommandPrompt(int id)
{
    const LayoutCommand* command = FindCommand(id);
    // The commands shared with the design mode keep their prompts there.
    const DesignCommand* shared = command ? nullptr : FindDesignCommand(id);
    m_promptPane->setText(QString::fromUtf8(command ? command->prompt : shared && shared->prompt ? shared->prompt : kReadyPrompt));
}

void CFmtpantallaFrm::FormatShown()
{
    m_view->FormatChanged();
    m_history.Clear();
    m_level = 0;
    m_cleanLevel = 0;
    UpdateCommandStates();
}

std::optional<CommandUiState> CFmtpantallaFrm::CommandState(int id)
{
    const size_t count = m_view->Editor().Selected().size();
    const bool selected = count > 0;
    if (const std::optional<DesignArrange> arrange = ArrangeCommand(id)) {
        const bool distribute = *arrange == DesignArrange::DistributeHorizontally || *arrange == DesignArrange::DistributeVertically;
        return CommandUiState{count >= (distribute ? 3u : 2u), false, false};
    }
    switch (id) {
    case kSelectAll:
    case kNextElement:
    case kPreviousElement:
        return CommandUiState{};
    case kMoveLeft:
    case kMoveRight:
    case kMoveUp:
    case kMoveDown:
        return CommandUiState{selected, false, false};
    case kSaveLayout:
        // There is no "save as" here: a layout is written back to the file it came from.
        return CommandUiState{!Path().empty(), false, false};
    case kCloseLayout:
        return CommandUiState{};
    case kCaptionAbove:
    case kCaptionSide:
        return CommandUiState{selected, false, false};
    case kCaptureOrder:
        return CommandUiState{true, true, m_view->Editor().OrderMode()};
    case kUndo:
        return CommandUiState{m_history.CanUndo(), false, false};
    case kRedo:
        return CommandUiState{m_history.CanRedo(), false, false};
    default:
        return std::nullopt;
    }
}

void CFmtpantallaFrm::UpdateCommandStates()
{
    RefreshToolBar(m_toolBar);
    RefreshModifiedMark();
}

bool CFmtpantallaFrm::HandleCommand(int id)
{
    switch (id) {
    case kSaveLayout:
        Save();
        break;
    case kCloseLayout:
        CloseWindow();
        return true;
    case kCaptionAbove:
        m_view->SetCaptionLeft(0);
        break;
    case kCaptionSide:
        m_view->SetCaptionLeft(1);
        break;
    case kCaptureOrder:
        m_view->ToggleOrderMode();
        break;
    case kUndo:
        UndoOrRedo(true);
        break;
    case kRedo:
        UndoOrRedo(false);
        break;
    case kSelectAll:
        m_view->SelectAll();
        break;
    case kNextElement:
    case kPreviousElement:
        m_view->SelectNextInOrder(id == kPreviousElement);
        break;
    case kMoveLeft:
    case kMoveRight:
    case kMoveUp:
    case kMoveDown: {
        constexpr int step = ScreenLayoutEditor::kKeyStep;
        m_view->MoveSelection(id == kMoveLeft ? -step : id == kMoveRight ? step : 0,
                              id == kMoveUp ? -step : id == kMoveDown ? step : 0);
        break;
    }
    default:
        if (const std::optional<DesignArrange> arrange = ArrangeCommand(id)) {
            m_view->Arrange(*arrange);
            break;
        }
        return false;
    }
    UpdateCommandStates();
    return true;
}

void CFmtpantallaFrm::OnFormatChanged(const std::vector<uint8_t>& before)
{
    m_history.RecordSnapshot(before);
    // The saved state lay ahead of this one (it was undone past): it is out of reach now.
    if (m_cleanLevel > m_level)
        m_cleanLevel = -1;
    ++m_level;
    UpdateCommandStates();
}

void CFmtpantallaFrm::UndoOrRedo(bool undo)
{
    const bool done = undo ? m_history.Undo(m_format) : m_history.Redo(m_format);
    if (!done)
        return;
    m_level += undo ? -1 : 1;
    m_view->FormatChanged();
    // The numbering of order mode goes on from the clicks made since the mode began,
    // which an undone click no longer matches: order mode ends, and choosing it again
    // numbers from 1 as always.
    if (m_view->Editor().OrderMode())
        m_view->ToggleOrderMode();
}

bool CFmtpantallaFrm::Save()
{
    if (Path().empty())
        return false;
    // The writer marks every variable element and label as placed and stores the union
    // of their screen rectangles as the extent; the view keeps its size until reopened.
    if (!WriteFormatFile(Path(), FormatWriter::ScreenLayout))
        return false;
    m_cleanLevel = m_level;
    UpdateCommandStates();
    WorkSaved();
    return true;
}

bool CFmtpantallaFrm::QueryClose()
{
    if (!IsModified() || Path().empty())
        return true;
    return SaveBeforeLosing(m_host.GetPrompts(), CFmtdesignFrm::SaveChangesQuestion(Path()), [this] { return Save(); });
}

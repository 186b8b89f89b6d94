// The design frame's editing beyond the classic commands: the clipboard (cut, copy,
// paste, duplicate), several selected (select all, arrange), the keys that move, size
// and walk the elements, and the zoom of the page.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPainter>

#include "base/prompts.h"
#include "design/design_commands.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtdesign_view.h"
#include "design/rules.h"
#include "model/element_clipboard.h"
#include "platform/command_ids.h"
#include "platform/format_render.h"
#include "platform/frame_host.h"

using namespace CommandId;

namespace {

// Clipboard contents larger than this are not read: no format holds that much.
constexpr qsizetype kMaxClipboardBytes = 16 * 1024 * 1024;
constexpr const char* kClipboardTooLarge = "El portapapeles contiene demasiados datos para ser controles de un formato; no se pegó nada.";

// The elements as a picture, for programs that do not know our own type.
QImage Picture(const std::vector<uint8_t>& bytes)
{
    ElementList elements;
    std::string message;
    if (!DecodeElements(bytes, elements, message))
        return {};
    Format format;
    format.elements = std::move(elements);
    constexpr double kDpi = 96;
    const QSize size = RenderSize(format, RenderMode::Design, kDpi);
    if (!RenderRefusal(size).empty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderFormat(format, RenderMode::Design, kDpi, painter);
    return image;
}

}  // namespace

int CFmtdesignFrm::KeyStep(bool shift) const
{
    if (shift)
        return kSnapStepMm;
    return m_editor.SnapStep() == kSnapStepOff ? 1 : m_editor.SnapStep();
}

bool CFmtdesignFrm::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Left: Moved(alt ? kNarrow : kMoveLeft, shift); return true;
    case Qt::Key_Right: Moved(alt ? kWiden : kMoveRight, shift); return true;
    case Qt::Key_Up: Moved(alt ? kShorter : kMoveUp, shift); return true;
    case Qt::Key_Down: Moved(alt ? kTaller : kMoveDown, shift); return true;
    case Qt::Key_Tab: return HandleCommand(shift ? kPreviousElement : kNextElement);
    case Qt::Key_Backtab: return HandleCommand(kPreviousElement);
    case Qt::Key_Delete: return HandleCommand(kDeleteElement);
    case Qt::Key_Escape: return HandleCommand(kSelectTool);
    // Ctrl+= is Ctrl++ without Shift on most keyboards.
    case Qt::Key_Equal: return control && HandleCommand(kZoomIn);
    default: return false;
    }
}

void CFmtdesignFrm::Moved(int id, bool shift)
{
    const int step = KeyStep(shift);
    Edit([&] {
        switch (id) {
        case kMoveLeft: return m_document.MoveSelection(-step, 0);
        case kMoveRight: return m_document.MoveSelection(step, 0);
        // Page y runs upward.
        case kMoveUp: return m_document.MoveSelection(0, step);
        case kMoveDown: return m_document.MoveSelection(0, -step);
        case kWiden: return m_document.ResizeSelection(step, 0);
        case kNarrow: return m_document.ResizeSelection(-step, 0);
        case kTaller: return m_document.ResizeSelection(0, step);
        default: return m_document.ResizeSelection(0, -step);
        }
    });
    if (CControles* last = m_document.Selected().empty() ? nullptr : m_document.Selected().back()) {
        const ReferenceEdges e = EdgesOf(*last);
        ReportToRulers(this, RulerCode::kPointerX, e.left);
        ReportToRulers(this, RulerCode::kPointerY, e.bottom);
        SetPositionText(PositionXY(e.left, e.bottom));
    }
}

void CFmtdesignFrm::ZoomChanged(int percent)
{
    for (CRules* ruler : {m_rulerH, m_rulerV})
        if (ruler)
            ruler->SetZoom(percent / 100.0);
    if (m_zoomPane)
        m_zoomPane->setText(QStringLiteral("%1 %").arg(percent));
    UpdateCommandStates();
}

void CFmtdesignFrm::CopyToClipboard()
{
    const std::vector<uint8_t> bytes = m_document.CopySelection();
    auto* data = new QMimeData;
    data->setData(QString::fromUtf8(kElementsMimeType),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (const QImage picture = Picture(bytes); !picture.isNull())
        data->setImageData(picture);
    QApplication::clipboard()->setMimeData(data);
}

bool CFmtdesignFrm::PasteBytes(const QByteArray& bytes)
{
    if (bytes.size() > kMaxClipboardBytes) {
        m_host.GetPrompts().Message(kClipboardTooLarge, PromptIcon::Warning);
        return false;
    }
    ElementList elements;
    std::string message;
    if (!DecodeElements(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), elements,
                        message)) {
        m_host.GetPrompts().Message(message, PromptIcon::Warning);
        return false;
    }
    const bool pasted = Edit([&] { return m_document.Paste(std::move(elements)) > 0; });
    m_editor.ForgetHover();
    return pasted;
}

bool CFmtdesignFrm::HandleEditCommand(int id)
{
    switch (id) {
    case kCut:
        if (m_document.SelectedCount() == 0)
            return true;
        CopyToClipboard();
        Edit([this] { return m_document.DeleteSelection(); });
        m_editor.ForgetHover();
        return true;
    case kCopy:
        if (m_document.SelectedCount() > 0)
            CopyToClipboard();
        return true;
    case kPaste: {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        const QString type = QString::fromUtf8(kElementsMimeType);
        if (data && data->hasFormat(type))
            PasteBytes(data->data(type));
        return true;
    }
    case kDuplicate: {
        if (m_document.SelectedCount() == 0)
            return true;
        const std::vector<uint8_t> bytes = m_document.CopySelection();
        PasteBytes(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        return true;
    }
    case kSelectAll:
    case kNextElement:
    case kPreviousElement:
        CommitPanelEdit();
        if (id == kSelectAll)
            m_document.SelectAll();
        else
            m_document.SelectNextInOrder(id == kPreviousElement);
        m_editor.ForgetHover();
        Repaint();
        RefreshPanel();
        return true;
    case kAlignLefts:
    case kAlignRights:
    case kAlignTops:
    case kAlignBottoms:
    case kAlignCentresHorizontally:
    case kAlignCentresVertically:
    case kDistributeHorizontally:
    case kDistributeVertically:
    case kSameWidth:
    case kSameHeight:
        Edit([this, id] { return m_document.Arrange(*ArrangeCommand(id)); });
        return true;
    case kMoveLeft:
    case kMoveRight:
    case kMoveUp:
    case kMoveDown:
    case kWiden:
    case kNarrow:
    case kTaller:
    case kShorter:
        Moved(id, false);
        return true;
    case kZoomIn:
        m_view->SetZoom(CFmtdesignView::ZoomStepAbove(m_view->Zoom()));
        return true;
    case kZoomOut:
        m_view->SetZoom(CFmtdesignView::ZoomStepBelow(m_view->Zoom()));
        return true;
    case kZoomActual:
        m_view->SetZoom(100);
        return true;
    case kZoomFitWindow:
    case kZoomPageWidth:
        m_view->SetZoom(m_view->FitZoom(id == kZoomPageWidth));
        // The fitted page is seen from its corner.
        m_view->ScrollToOrigin();
        return true;
    default:
        return false;
    }
}

std::optional<CommandUiState> CFmtdesignFrm::EditCommandState(int id)
{
    const size_t selected = m_document.SelectedCount();
    switch (id) {
    case kCut:
    case kCopy:
    case kDuplicate:
    case kMoveLeft:
    case kMoveRight:
    case kMoveUp:
    case kMoveDown:
    case kWiden:
    case kNarrow:
    case kTaller:
    case kShorter:
        return CommandUiState{selected > 0};
    case kPaste: {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return CommandUiState{data && data->hasFormat(QString::fromUtf8(kElementsMimeType))};
    }
    case kSelectAll:
    case kNextElement:
    case kPreviousElement:
        return CommandUiState{!m_document.Elements().empty()};
    case kDistributeHorizontally:
    case kDistributeVertically:
        return CommandUiState{selected >= 3};
    case kAlignLefts:
    case kAlignRights:
    case kAlignTops:
    case kAlignBottoms:
    case kAlignCentresHorizontally:
    case kAlignCentresVertically:
    case kSameWidth:
    case kSameHeight:
        return CommandUiState{selected >= 2};
    case kZoomIn:
        return CommandUiState{m_view && m_view->Zoom() < CFmtdesignView::kMaxZoom};
    case kZoomOut:
        return CommandUiState{m_view && m_view->Zoom() > CFmtdesignView::kMinZoom};
    case kZoomActual:
    case kZoomFitWindow:
    case kZoomPageWidth:
        return CommandUiState{};
    default:
        return std::nullopt;
    }
}

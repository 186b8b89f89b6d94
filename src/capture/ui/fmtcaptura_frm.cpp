#include "capture/ui/fmtcaptura_frm.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "base/atomic_file.h"
#include "capture/ui/batch_print_dialog.h"
#include "capture/ui/calibration_dialog.h"
#include "capture/ui/capture_icons.h"
#include "capture/ui/fmtcapture_view.h"
#include "capture/ui/print_preview_dlg.h"
#include "platform/frame_host.h"
#include "platform/key_indicators.h"

namespace {

struct ToolButtonText {
    int id;
    QIcon (*icon)();
    const char* tip;     // the tooltip
    const char* status;  // the fly-by text in the status bar
};

const ToolButtonText kToolButtons[] = {
    {CommandId::kOpenCapture, &CaptureIcons::OpenFormat, "Abrir captura",
     "Abre un formato en una nueva pantalla de captura"},
    {CommandId::kPrintFormat, &CaptureIcons::Print, "Imprimir",
     "Imprime el formato con los datos capturados"},
    {CommandId::kPrintPreview, &CaptureIcons::PrintPreview, "Vista preliminar",
     "Muestra la hoja tal como se imprimirá, con el desfase actual"},
    {CommandId::kMargins, &CaptureIcons::Margins, "Márgenes",
     "Ajusta el desfase de la impresión respecto a la hoja"},
    {CommandId::kClearCapture, &CaptureIcons::Clear, "Limpiar",
     "Borra todos los datos capturados en la pantalla"},
    {0, nullptr, nullptr, nullptr},
    {CommandId::kAbout, &CaptureIcons::About, "Acerca de",
     "Muestra la versión y los datos del programa"},
};

}  // namespace

CFmtcapturaFrm::CFmtcapturaFrm(FrameHost& host, QWidget* parent)
    : CChildFrame(host, FrameMode::Capture, QStringLiteral("Pantalla de captura - %1"), parent)
{
    m_view = new CFmtcaptureView(host, this);
    setCentralWidget(m_view);
    BuildToolBar();
    // The idle text, as in the design modes; a message or a button's fly-by text covers it
    // for a while and it shows again when they are gone.
    statusBar()->addWidget(new QLabel(QStringLiteral("Preparado"), statusBar()), 1);
    AddKeyIndicatorPanes(statusBar());
    connect(m_view, &CFmtcaptureView::statusMessage, statusBar(), [this](const QString& text) {
        statusBar()->showMessage(text);
    });
    // A value counts as typed once the clerk leaves its control; saving, opening and
    // clearing report in the status bar. The caption's "*" follows both.
    connect(qApp, &QApplication::focusChanged, this, [this] { RefreshModifiedMark(); });
    connect(m_view, &CFmtcaptureView::statusMessage, this, [this] { RefreshModifiedMark(); });
    m_view->SetFormatWriteHooks([this] { return m_fingerprint.MayOverwrite(Path(), m_host.GetPrompts()); },
                                [this] {
                                    std::vector<uint8_t> bytes;
                                    if (ReadWholeFile(Path(), bytes, nullptr))
                                        m_fingerprint.Take(Path(), bytes);
                                    m_host.FormatSaved(Path(), this);
                                });
    UpdateCaption();
}

void CFmtcapturaFrm::BuildToolBar()
{
    std::vector<ToolButton> buttons;
    for (const ToolButtonText& b : kToolButtons)
        buttons.push_back(b.id ? ToolButton{b.id, b.icon(), QString::fromUtf8(b.tip), QString::fromUtf8(b.status)}
                               : ToolButton{});
    // The toolbar has a grip: it docks on any side.
    m_toolBar = AddCommandToolBar(QStringLiteral("Captura"), QStringLiteral("captureToolBar"), 16, buttons);
}

QAction* CFmtcapturaFrm::ToolAction(int commandId) const
{
    return FindToolAction(m_toolBar, commandId);
}

bool CFmtcapturaFrm::HandleCommand(int id)
{
    using namespace CommandId;
    switch (id) {
    case kOpenCaptured:
        m_view->OpenCaptured();
        return true;
    case kSaveCapture:
        if (m_view->SaveCapture())
            WorkSaved();
        return true;
    case kSaveCaptureAs:
        if (m_view->SaveCaptureAs())
            WorkSaved();
        return true;
    case kMargins:
        // The offsets may be moved into the format file: the values now belong to it as
        // it stands.
        m_view->EditMargins();
        RememberFormatHash();
        return true;
    case kPrintFormat:
        m_view->PrintFormat();
        return true;
    case kPrintPreview:
        ShowPrintPreview();
        return true;
    case kCalibrationSheet:
        ShowCalibration();
        return true;
    case kBatchPrint: {
        // The batch fills a session of its own: the values on the screen stay as typed.
        CBatchPrintDlg batch(m_host, m_view->GetFormat(), Path(), this);
        if (const QString status = batch.Run(); !status.isEmpty())
            statusBar()->showMessage(status);
        return true;
    }
    case kClearCapture:
        m_view->ClearCapture();
        return true;
    case kCloseFrame:
        // The workspace's window closes the frame first (which offers to save changed
        // values) and stays when the frame refuses.
        CloseWindow();
        return true;
    case kToolbar:
        m_toolBar->setVisible(!m_toolBar->isVisible());
        return true;
    default:
        return false;
    }
}

void CFmtcapturaFrm::ShowPrintPreview()
{
    m_view->LeaveFocusedField();
    QPrinter* printer = m_host.ApplicationPrinter();
    if (!printer)
        return;
    CPrintPreviewDlg preview(*printer, m_view->Session().Elements(), ReadPrintOffsets(m_host.GetSettings()), Path(),
                             m_host.GetPrompts(), this);
    preview.exec();
    if (preview.PrintedPages() > 0) {
        const QString where =
            printer->outputFormat() == QPrinter::PdfFormat ? printer->outputFileName() : printer->printerName();
        const QString status = QString::fromUtf8(CFmtcaptureView::kPrintedStatus);
        emit m_view->statusMessage(QString(status).replace(QStringLiteral("%s"), where));
    }
}

void CFmtcapturaFrm::ShowCalibration()
{
    m_view->LeaveFocusedField();
    CCalibrationDlg dialog(m_host, m_view->Session().Elements(), this);
    if (dialog.exec() == QDialog::Accepted)
        statusBar()->showMessage(QStringLiteral("Desfase guardado: horizontal %1 cm, vertical %2 cm")
                                     .arg(QString::fromStdString(DecimalText(dialog.Current().facX / 100.0)),
                                          QString::fromStdString(DecimalText(dialog.Current().facY / 100.0))));
}

bool CFmtcapturaFrm::QueryClose()
{
    return m_view->OfferToSave();
}

Format& CFmtcapturaFrm::FrameFormat()
{
    return m_view->GetFormat();
}

CFmtcapturaFrm::~CFmtcapturaFrm()
{
    // Closing the widgets below moves the focus; by then this frame is half gone and
    // may not be asked about its values.
    disconnect(qApp, nullptr, this, nullptr);
}

bool CFmtcapturaFrm::HasUnsavedChanges() const
{
    return m_view && !Path().empty() && m_view->Session().IsModified();
}

void CFmtcapturaFrm::FormatShown()
{
    m_view->SetPath(Path());
    m_view->ShowFormat();
    RememberFormatHash();
}

void CFmtcapturaFrm::RememberFormatHash()
{
    std::vector<uint8_t> bytes;
    m_formatHash = !Path().empty() && ReadWholeFile(Path(), bytes, nullptr) ? BytesHash(bytes) : 0;
}

std::optional<RecoveryCopy> CFmtcapturaFrm::UnsavedWork()
{
    CaptureSession& session = m_view->Session();
    if (Path().empty() || !session.IsModified())
        return std::nullopt;
    RecoveryCopy copy;
    copy.mode = RecoveryMode::Capture;
    copy.sourcePath = Path();
    copy.capturePath = session.CapturePath();
    copy.formatHash = m_formatHash;
    copy.payload = session.CaptureBytes();
    return copy;
}

bool CFmtcapturaFrm::RestoreWork(const RecoveryCopy& copy, std::string& message)
{
    if (copy.mode != RecoveryMode::Capture || Path().empty())
        return false;
    std::string note;
    if (copy.formatHash != m_formatHash)
        note = "El formato \"" + Path() +
               "\" cambió desde que se hizo la copia de recuperación; se cargaron los datos que aún le corresponden.";
    const std::string label = copy.capturePath.empty() ? Path() : copy.capturePath;
    if (!m_view->RestoreRecovered(copy.payload, copy.capturePath, label, message))
        return false;
    message = note.empty() ? message : message.empty() ? note : note + " " + message;
    return true;
}

void CFmtcapturaFrm::resizeEvent(QResizeEvent* event)
{
    CChildFrame::resizeEvent(event);
    UpdateCaption();
}

bool CFmtcapturaFrm::event(QEvent* event)
{
    // The workspace's window around the frame may take the focus itself (when it is
    // activated); it is watched so that the focus goes on into the capture screen.
    if (event->type() == QEvent::ParentChange && parentWidget())
        parentWidget()->installEventFilter(this);
    return CChildFrame::event(event);
}

bool CFmtcapturaFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == parentWidget())
        QTimer::singleShot(0, m_view, [view = m_view] { view->TakeFocus(); });
    return CChildFrame::eventFilter(watched, event);
}

void CFmtcapturaFrm::changeEvent(QEvent* event)
{
    CChildFrame::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        UpdateCaption();
}

#include "capture/ui/fmtcapture_view.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <functional>

#include "base/prompts.h"
#include "base/settings_store.h"
#include "capture/ui/margenes_dlg.h"
#include "model/fmt_grid.h"
#include "model/kind_drawing.h"
#include "platform/calc_edit.h"
#include "platform/file_folders.h"
#include "platform/format_printer.h"
#include "platform/format_render.h"
#include "platform/frame_host.h"
#include "platform/print_dialog.h"
#include "platform/qt_dc.h"
#include "platform/screen_form_bounds.h"
#include "tables/ui/grid_entry_factory.h"
#include "tables/ui/grid_tabla_wnd.h"

namespace {

// Room left around the captions and controls, in pixels.
constexpr int kFormMargin = 8;

std::string Printf1(const char* format, const std::string& value)
{
    return QString::fromStdString(format).replace(QStringLiteral("%s"), QString::fromStdString(value)).toStdString();
}

// A zero-sized stop in the focus chain that hands the focus on: the table window walks
// the chain itself, and these stops keep its Tab inside the capture screen.
class FocusWrap : public QWidget {
public:
    FocusWrap(QWidget* parent, std::function<void()> onFocus) : QWidget(parent), m_onFocus(std::move(onFocus))
    {
        setFocusPolicy(Qt::TabFocus);
        setFixedSize(0, 0);
        setAccessibleName(QString());
    }

protected:
    void focusInEvent(QFocusEvent*) override { m_onFocus(); }

private:
    std::function<void()> m_onFocus;
};

// The entry control among the form's children that holds `w` (the widget itself or an
// ancestor below the form).
QWidget* EntryControlOf(QWidget* w, const QWidget* form)
{
    for (; w && w != form; w = w->parentWidget())
        if (EntryControlId(w) && w->parentWidget() == form)
            return w;
    return nullptr;
}

}  // namespace

CCaptureForm::CCaptureForm(CaptureSession& session, const LogFont& screenFont, QWidget* parent)
    : QWidget(parent), m_session(session), m_screenFont(screenFont)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void CCaptureForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.translate(m_origin);
    QtDc dc(painter, logicalDpiX());
    dc.SetMapMode(MapMode::Pixels);
    dc.SetBkTransparent(true);
    dc.SelectFont(m_screenFont);
    for (auto& element : m_session.Elements()) {
        // The screen font is lent for this drawing only.
        const ScreenDrawingLoan loan(*element, &m_screenFont, element->m_layoutMode != 0);
        // A label shows its own text; every other element its caption (constants none).
        if (element->m_kind == kKindEtiqueta)
            element->DrawScreen(dc, false);
        else
            element->DrawCaption(dc);
    }
}

void CCaptureForm::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        focusNextPrevChild(true);
        return;
    }
    QWidget::keyPressEvent(event);
}

bool CCaptureForm::focusNextPrevChild(bool next)
{
    const std::vector<CControles*> order = m_session.ControlsInCaptureOrder();
    std::vector<QWidget*> controls;
    for (CControles* element : order) {
        const int id = kFirstControlId + element->m_order;
        for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (EntryControlId(w) == id && w->isEnabled() && !w->isHidden())
                controls.push_back(w);
    }
    if (controls.empty())
        return QWidget::focusNextPrevChild(next);
    // The window's own focus widget, not the application's: keys can reach an inactive
    // window (an X session without a window manager, after a dialog closed), and the
    // control that holds the window's focus is still the one being left.
    QWidget* current = EntryControlOf(window()->focusWidget(), this);
    auto it = std::find(controls.begin(), controls.end(), current);
    QWidget* target = nullptr;
    if (it == controls.end())
        target = next ? controls.front() : controls.back();
    else if (next)
        target = (it + 1 == controls.end()) ? controls.front() : *(it + 1);
    else
        target = (it == controls.begin()) ? controls.back() : *(it - 1);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

CFmtcaptureView::CFmtcaptureView(FrameHost& host, QWidget* parent)
    : QScrollArea(parent), m_host(host), m_screenFont(CaptureScreenFont())
{
    m_form = new CCaptureForm(m_session, m_screenFont);
    m_factory = new CGridEntryFactory(m_form);
    // Leaving a text line and a table's calculated columns changing recompute the fields
    // that depend on them.
    connect(m_factory, &QtEntryFactory::fieldLeft, this, [this](int id) {
        if (m_closing)
            return;
        m_session.OnFieldLeft(id);
        ShowCalcProblems();
        // Data a barcode cannot encode is refused where it is typed: the clerk hears why
        // and the focus stays there (the code would print nothing).
        if (const std::string problem = m_session.BarcodeProblem(id); !problem.empty()) {
            m_host.GetPrompts().Message(problem, PromptIcon::Warning);
            if (QWidget* control = ControlWidget(id))
                QTimer::singleShot(0, control, [control] { control->setFocus(Qt::OtherFocusReason); });
        }
    });
    connect(m_factory, &CGridEntryFactory::gridChanged, this, [this](int id) {
        if (m_closing)
            return;
        m_session.OnGridChanged(id);
        ShowCalcProblems();
    });
    // A barcode filled from other fields shows its data anew whenever the clerk leaves any
    // control (boxes, paragraphs and check marks send no field-left notification).
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        if (!m_closing && old && m_form->isAncestorOf(old))
            m_session.FillBarcodes();
    });
    setWidget(m_form);
    setBackgroundRole(QPalette::Button);
    // The scroll area is no stop of its own: Tab runs through the controls only.
    setFocusPolicy(Qt::NoFocus);
}

CFmtcaptureView::~CFmtcaptureView()
{
    // The elements own their controls, which are children of the form: let the elements
    // go first so that no widget is deleted twice, and no control that loses the focus
    // on its way out reaches a session being torn down.
    m_closing = true;
    m_session.Elements().clear();
}

void CFmtcaptureView::ShowFormat()
{
    // The frame read the format into the session's own; the session takes it over with
    // its path, which gives the file name the captured-data files carry.
    Format read = std::move(m_session.GetFormat());
    m_session.AdoptFormat(std::move(read), m_path);
    BuildEntryControls();
    m_form->update();
}

void CFmtcaptureView::BuildEntryControls()
{
    delete m_wrapFront;
    delete m_wrapBack;
    m_wrapFront = m_wrapBack = nullptr;
    {
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter painter(&scratch);
        QtDc dc(painter, logicalDpiX());
        dc.SetMapMode(MapMode::Pixels);
        m_session.BuildEntryControls(dc, *m_factory, m_screenFont);
    }
    // The stored extent stays as it is; the form starts at the corner of everything drawn
    // (captions left of or above a control at the screen's edge included) with a margin
    // around it, and the controls move by the same origin.
    // A damaged file may place things anywhere: sizes stay within what a widget can be.
    const Rect all = ScreenFormBounds(m_session.GetFormat(), false);
    auto limited = [](int64_t v) { return int(std::clamp<int64_t>(v, 1, QWIDGETSIZE_MAX)); };
    const QPoint origin(limited(kFormMargin - std::min<int64_t>(0, all.left)),
                        limited(kFormMargin - std::min<int64_t>(0, all.top)));
    m_form->SetOrigin(origin);
    m_form->setFixedSize(limited(int64_t(origin.x()) + std::max<int64_t>(1, all.right) + kFormMargin),
                         limited(int64_t(origin.y()) + std::max<int64_t>(1, all.bottom) + kFormMargin));
    // A control may be larger than its stored rectangle (a table window takes its
    // vertical scroll bar beside its columns): the form grows to show it whole.
    QSize needed = m_form->size();
    for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (EntryControlId(w)) {
            w->move(w->pos() + origin);
            needed = needed.expandedTo(QSize(limited(int64_t(w->geometry().right()) + 1 + kFormMargin),
                                             limited(int64_t(w->geometry().bottom()) + 1 + kFormMargin)));
        }
    m_form->setFixedSize(needed);
    LabelControls();
    FixTabOrder();
    FocusFirstControl();
}

void CFmtcaptureView::TakeFocus()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && m_form->isAncestorOf(focus))
        return;
    // Back to the control that had the focus last in this frame, or the first one.
    QWidget* last = window() ? m_form->focusWidget() : nullptr;
    if (last && EntryControlOf(last, m_form) && last->isVisible())
        last->setFocus(Qt::ActiveWindowFocusReason);
    else
        FocusFirstControl();
}

void CFmtcaptureView::FocusFirstControl()
{
    if (QWidget* first = ControlWidget(m_session.FirstControlId()))
        first->setFocus(Qt::OtherFocusReason);
}

void CFmtcaptureView::LabelControls()
{
    // Screen readers and desktop automation tell the fields apart by the element's name.
    for (CControles* element : m_session.ControlsInCaptureOrder()) {
        QWidget* w = ControlWidget(kFirstControlId + element->m_order);
        if (!w)
            continue;
        w->setAccessibleName(QString::fromStdString(element->m_text));
        if (qobject_cast<CGridTablaWnd*>(w)) {
            WatchTableWindow(w);
            DescribeTableCell(w);
        }
    }
}

void CFmtcaptureView::FixTabOrder()
{
    QWidget* previous = nullptr;
    QWidget* first = nullptr;
    for (CControles* element : m_session.ControlsInCaptureOrder()) {
        QWidget* w = ControlWidget(kFirstControlId + element->m_order);
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        else
            first = w;
        previous = w;
    }
    if (!first)
        return;
    // Stops before the first and after the last control pass the focus round, for the
    // table window, which follows the focus chain itself.
    QWidget* last = previous;
    m_wrapBack = new FocusWrap(m_form, [first] { first->setFocus(Qt::TabFocusReason); });
    m_wrapFront = new FocusWrap(m_form, [last] { last->setFocus(Qt::BacktabFocusReason); });
    m_wrapBack->show();
    m_wrapFront->show();
    QWidget::setTabOrder(last, m_wrapBack);
    QWidget::setTabOrder(m_wrapFront, first);
}

void CFmtcaptureView::WatchTableWindow(QWidget* window)
{
    if (auto* table = qobject_cast<CGridTablaWnd*>(window))
        connect(table, &CGridTablaWnd::statusMessage, this, &CFmtcaptureView::statusMessage, Qt::UniqueConnection);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CFmtcaptureView::DescribeTableCell(QWidget* window)
{
    auto* table = qobject_cast<CGridTablaWnd*>(window);
    if (!table)
        return;
    CTablaEditor& editor = table->Editor();
    const int row = editor.CurRow();
    const int col = editor.CurCol();
    QString description;
    if (col > 0 && col < editor.ColumnCount()) {
        const TablaColumn& column = editor.Column(col);
        const std::string& title = column.title.empty() ? column.fieldName : column.title;
        description = QStringLiteral("Columna %1, renglón %2: %3")
                          .arg(QString::fromStdString(title))
                          .arg(row)
                          .arg(QString::fromStdString(editor.CellText(row, col)));
    }
    if (table->accessibleDescription() != description)
        table->setAccessibleDescription(description);
}

bool CFmtcaptureView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        for (QObject* o = watched; o; o = o->parent())
            if (auto* table = qobject_cast<CGridTablaWnd*>(o)) {
                DescribeTableCell(table);
                break;
            }
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

QWidget* CFmtcaptureView::ControlWidget(int controlId) const
{
    if (!controlId)
        return nullptr;
    for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (EntryControlId(w) == controlId)
            return w;
    return nullptr;
}

void CFmtcaptureView::LeaveFocusedField()
{
    // Only a pending edit is calculated: a field left before is not computed again.
    if (auto* edit = qobject_cast<CCalcEdit*>(window()->focusWidget()); edit && m_form->isAncestorOf(edit)) {
        m_session.OnFieldLeft(edit->ControlId());
        ShowCalcProblems();
    }
}

void CFmtcaptureView::ShowCalcProblems()
{
    const std::vector<CalcProblem> problems = m_session.CalcProblems();
    QString all;
    for (CCalcEdit* edit : m_form->findChildren<CCalcEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        QString text;
        for (const CalcProblem& problem : problems)
            if (problem.controlId == edit->ControlId())
                text = QString::fromStdString(problem.message);
        edit->SetProblem(text);
    }
    for (const CalcProblem& problem : problems)
        all += QString::fromStdString(problem.message) + QLatin1Char('\n');
    // A new problem is told once in the status bar, with a beep; mended ones go quietly.
    if (!problems.empty() && all != m_lastProblems) {
        emit statusMessage(QString::fromStdString(problems.front().message));
        QApplication::beep();
    }
    m_lastProblems = all;
}

// --- Captured data ---------------------------------------------------------------------

std::string CFmtcaptureView::AskCaptureToOpen()
{
    QFileDialog dialog(this, QStringLiteral("Abrir datos capturados"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromUtf8(kCaptureFilter));
    dialog.setDefaultSuffix(QStringLiteral("cap"));
    dialog.setDirectory(m_session.CapturePath().empty() ? StartFolder(FileKind::Captures)
                                                        : QFileInfo(QString::fromStdString(m_session.CapturePath())).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    RememberFolder(FileKind::Captures, dialog.selectedFiles().front());
    return dialog.selectedFiles().front().toStdString();
}

std::string CFmtcaptureView::AskCaptureToSave()
{
    QFileDialog dialog(this, QStringLiteral("Guardar captura"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf8(kCaptureFilter));
    dialog.setDefaultSuffix(QStringLiteral("cap"));
    // Asking before replacing a file is the dialog's own (on by default).
    if (!m_session.CapturePath().empty())
        dialog.selectFile(QString::fromStdString(m_session.CapturePath()));
    else
        dialog.setDirectory(StartFolder(FileKind::Captures));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    RememberFolder(FileKind::Captures, dialog.selectedFiles().front());
    return dialog.selectedFiles().front().toStdString();
}

bool CFmtcaptureView::WriteCapture(const std::string& path)
{
    LeaveFocusedField();
    std::string message;
    if (!m_session.SaveCapture(path, message)) {
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return false;
    }
    emit statusMessage(QString::fromStdString(Printf1(kSavedStatus, path)));
    return true;
}

bool CFmtcaptureView::SaveCapture()
{
    if (m_session.CapturePath().empty())
        return SaveCaptureAs();
    return WriteCapture(m_session.CapturePath());
}

bool CFmtcaptureView::SaveCaptureAs()
{
    const std::string path = AskCaptureToSave();
    return !path.empty() && WriteCapture(path);
}

bool CFmtcaptureView::OfferToSave()
{
    LeaveFocusedField();
    if (!m_session.IsModified())
        return true;
    return SaveBeforeLosing(m_host.GetPrompts(), CaptureSession::kSaveQuestion, [this] { return SaveCapture(); });
}

void CFmtcaptureView::OpenCaptured()
{
    if (!OfferToSave())
        return;
    const std::string path = AskCaptureToOpen();
    if (!path.empty())
        LoadCapture(path);
}

bool CFmtcaptureView::RestoreRecovered(const std::vector<uint8_t>& bytes, const std::string& capturePath,
                                       const std::string& fileLabel, std::string& message)
{
    message.clear();
    const CaptureLoadStatus status = m_session.RestoreRecoveredValues(bytes, capturePath, fileLabel, message);
    ShowLoadedValues();
    return status == CaptureLoadStatus::Loaded || status == CaptureLoadStatus::Partial;
}

void CFmtcaptureView::ShowLoadedValues()
{
    for (QWidget* w : m_form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (qobject_cast<CGridTablaWnd*>(w))
            DescribeTableCell(w);
    ShowCalcProblems();
    m_form->update();
}

void CFmtcaptureView::LoadCapture(const std::string& path)
{
    std::string message;
    const CaptureLoadStatus status = m_session.LoadCapture(path, message);
    ShowLoadedValues();
    if (status != CaptureLoadStatus::Loaded)
        m_host.GetPrompts().Message(message,
                                    status == CaptureLoadStatus::WrongFormat ? PromptIcon::Warning : PromptIcon::Error);
}

void CFmtcaptureView::ClearCapture()
{
    if (!OfferToSave())
        return;
    m_session.Clear();
    ShowCalcProblems();
    FocusFirstControl();
}

// --- Printing ----------------------------------------------------------------------------

void CFmtcaptureView::PrintFormat()
{
    LeaveFocusedField();
    QPrinter* printer = m_host.ApplicationPrinter();
    if (!printer)
        return;
    ProposePdfFileName(*printer, m_path);
    PrintDialog dialog(*printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimir formato"));
    // One sheet always: no page ranges, no selection; copies go to the printer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer->outputFormat() == QPrinter::PdfFormat)
        RememberFolder(FileKind::Pdf, printer->outputFileName());
    PrintOn(*printer);
}

bool CFmtcaptureView::PrintOn(QPrinter& printer)
{
    std::string message;
    if (!PrintOnPrinter(printer, m_session.Elements(), ReadPrintOffsets(m_host.GetSettings()), message, m_path)) {
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return false;
    }
    const QString where = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
    emit statusMessage(QString::fromUtf8(kPrintedStatus).replace(QStringLiteral("%s"), where));
    return true;
}

void CFmtcaptureView::EditMargins()
{
    SettingsStore& settings = m_host.GetSettings();
    CMargenesDlg dialog(ReadPrintOffsets(settings), m_host.GetPrompts(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PrintOffsets offsets = dialog.Offsets();
    WritePrintOffsets(settings, offsets);
    if (!dialog.ApplyToFormat())
        return;
    std::string message;
    if (m_path.empty()) {
        m_host.GetPrompts().Message("No hay un formato abierto al cual aplicar los márgenes.", PromptIcon::Warning);
        return;
    }
    // Another window or clerk may have saved the format since it was opened here: its
    // version is not replaced without the clerk's Yes (the offsets stay in the settings).
    if (m_mayWriteFormat && !m_mayWriteFormat())
        return;
    if (!ApplyOffsetsToFormat(m_session.GetFormat(), m_path, offsets, message)) {
        // The file kept its old positions: so do the elements shown, and the offsets stay
        // in the settings, so the next printout is shifted exactly once.
        for (auto& element : m_session.Elements())
            element->Offset(-offsets.facX, offsets.facY, false);
        m_host.GetPrompts().Message(message, PromptIcon::Error);
        return;
    }
    WritePrintOffsets(settings, PrintOffsets{});
    if (m_formatWritten)
        m_formatWritten();
    emit statusMessage(QStringLiteral("Desfase aplicado al formato %1").arg(QString::fromStdString(m_path)));
}

#pragma once
// The capture screen: one entry control per variable element at the place the screen
// layout gave it, captions and labels painted around them, the tab order following the
// capture order. Every capture rule (calculated fields, clearing, the captured-data file,
// the print job) is the capture session's; the view turns the clerk's keys, menus and
// dialogs into the session's calls and shows its messages.
#include <QScrollArea>
#include <QPoint>
#include <functional>
#include <memory>
#include <string>

#include "base/log_font.h"
#include "capture/capture_session.h"
#include "model/format_file.h"

class CGridEntryFactory;
class FrameHost;
class QPrinter;

// The scrollable form behind the controls; it paints the captions and labels. The form's
// origin lies `Origin()` pixels right of and below the capture screen's (0, 0), so that a
// caption left of or above a control at the screen's edge is shown whole.
class CCaptureForm : public QWidget {
    Q_OBJECT
public:
    CCaptureForm(CaptureSession& session, const LogFont& screenFont, QWidget* parent = nullptr);

    void SetOrigin(QPoint origin) { m_origin = origin; }
    QPoint Origin() const { return m_origin; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter moves on to the next control; a paragraph and a table window keep their own
    // Enter and never pass it here.
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab run through the entry controls in capture order, round and round.
    bool focusNextPrevChild(bool next) override;

private:
    CaptureSession& m_session;
    const LogFont& m_screenFont;
    QPoint m_origin;
};

class CFmtcaptureView : public QScrollArea {
    Q_OBJECT
public:
    // Texts the view shows itself.
    static constexpr const char* kCaptureFilter = "Captura (*.cap)";
    static constexpr const char* kSavedStatus = "Captura guardada en %s";
    static constexpr const char* kPrintedStatus = "Formato enviado a %s";

    CFmtcaptureView(FrameHost& host, QWidget* parent = nullptr);
    ~CFmtcaptureView() override;

    // Shows a format that has been read into GetFormat(): sizes the form from the stored
    // screen extent and the captions around it, builds the entry controls and gives the
    // focus to the first.
    void ShowFormat();
    Format& GetFormat() { return m_session.GetFormat(); }
    const std::string& FileName() const { return m_session.FormatFileName(); }
    void SetPath(const std::string& path) { m_path = path; }
    CaptureSession& Session() { return m_session; }
    CCaptureForm* Form() const { return m_form; }
    // Gives the keyboard focus to the capture screen, when it is elsewhere in the frame:
    // to the control that had it last, or the first one.
    void TakeFocus();
    // The entry control widget with the given id (1173 + capture order), if any.
    QWidget* ControlWidget(int controlId) const;

    // --- Commands ----------------------------------------------------------------------
    // "Abrir datos capturados": offers to save changed values, then an open dialog.
    void OpenCaptured();
    // "&Guardar captura" / "Guardar captura como...". True when the file was written.
    bool SaveCapture();
    bool SaveCaptureAs();
    // "&Limpiar formato", after offering to save changed values.
    void ClearCapture();
    // "&Imprimir formato": the print dialog on the application's printer, then the page.
    void PrintFormat();
    // "Configurar &Márgenes": the margins dialog and, when asked, the permanent move of
    // the offsets into the format file.
    void EditMargins();
    // Asks "¿Desea guardar los datos capturados?" when the values changed since the last
    // load or save. False when the clerk cancels or the save did not happen.
    bool OfferToSave();

    // The file dialogs, replaceable where no one can answer them; an empty path is a
    // cancelled dialog.
    virtual std::string AskCaptureToOpen();
    virtual std::string AskCaptureToSave();

    // Writes the captured data to `path` and, on success, makes it the captured-data
    // file; on failure shows the message and leaves the old file as it was.
    bool WriteCapture(const std::string& path);
    // Loads a captured-data file and shows its values (or the session's refusal).
    void LoadCapture(const std::string& path);
    // Values of a recovery copy (see CaptureSession::RestoreRecoveredValues). False with
    // the reason when none could be read; true with a note when only some could.
    bool RestoreRecovered(const std::vector<uint8_t>& bytes, const std::string& capturePath,
                          const std::string& fileLabel, std::string& message);
    // Prints on a printer already chosen (after the print dialog).
    bool PrintOn(QPrinter& printer);
    // Asked before the margins are moved into the format file (false: leave it), and told
    // after they were; the frame keeps what it last read of the file.
    void SetFormatWriteHooks(std::function<bool()> mayWrite, std::function<void()> written)
    {
        m_mayWriteFormat = std::move(mayWrite);
        m_formatWritten = std::move(written);
    }
    // The field the clerk is typing in counts as left before its value is saved,
    // printed or previewed, so the totals that read it are current.
    void LeaveFocusedField();
    // Marks every text line whose value a calculation cannot use with the session's
    // message, clears the marks of the others, and reports a new problem in the status
    // bar.
    void ShowCalcProblems();

signals:
    // A one-line report for the frame's status bar.
    void statusMessage(const QString& text);

private:
    void BuildEntryControls();
    void LabelControls();
    void FixTabOrder();
    void FocusFirstControl();
    // Values shown by a load are what the table windows and the form display now.
    void ShowLoadedValues();
    void WatchTableWindow(QWidget* window);
    void DescribeTableCell(QWidget* window);
    bool eventFilter(QObject* watched, QEvent* event) override;

    FrameHost& m_host;
    CaptureSession m_session;
    std::string m_path;
    LogFont m_screenFont;
    CCaptureForm* m_form;
    CGridEntryFactory* m_factory;  // text, check and table controls
    QWidget* m_wrapFront = nullptr;  // focus stops before the first and after the last
    QWidget* m_wrapBack = nullptr;   // control, which pass the focus round
    bool m_closing = false;
    QString m_lastProblems;  // the problems last reported, so each is reported once
    std::function<bool()> m_mayWriteFormat;
    std::function<void()> m_formatWritten;
};

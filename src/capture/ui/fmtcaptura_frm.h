#pragma once
// The capture mode's child frame: a clerk fills in one format here. It holds the capture
// toolbar and a status bar around the capture screen, carries out the capture menu's
// commands and, before it closes, offers to save captured values that changed.
#include <string>

#include "platform/child_frame.h"
#include "model/format_file.h"

class CFmtcaptureView;
class QAction;
class QToolBar;

class CFmtcapturaFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtcapturaFrm(FrameHost& host, QWidget* parent = nullptr);
    ~CFmtcapturaFrm() override;

    CFmtcaptureView* View() const { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The toolbar button of a command, for tests and the menu's check mark.
    QAction* ToolAction(int commandId) const;

    bool HandleCommand(int id) override;
    // Values typed since the last load or save are offered for saving first.
    bool QueryClose() override;
    // Values typed since the last load or save, with the format they belong to.
    std::optional<RecoveryCopy> UnsavedWork() override;
    // Loads the copy's values into the format this frame has open (the copy's format).
    bool RestoreWork(const RecoveryCopy& copy, std::string& message) override;
    // The values on the capture screen are never thrown away because another window
    // saved the format; the margins' move into the file asks before replacing it.
    void FormatSavedElsewhere() override {}
    // Values typed since the last load or save (the caption then ends in "*").
    bool HasUnsavedChanges() const override;

protected:
    Format& FrameFormat() override;
    void FormatShown() override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildToolBar();
    // "Vista preliminar" and "Hoja de calibración".
    void ShowPrintPreview();
    void ShowCalibration();
    void RememberFormatHash();

    CFmtcaptureView* m_view;
    QToolBar* m_toolBar;
    // Hash of the format file's bytes as they were when it was opened: a recovery copy
    // of the values says which version of the format they were typed into.
    uint64_t m_formatHash = 0;
};

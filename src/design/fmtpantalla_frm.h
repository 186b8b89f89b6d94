#pragma once
// The screen layout mode's child frame: arranges the capture screen of one format and
// writes the arrangement back into the format file it was read from.
#include <QPointer>
#include <string>

#include "model/format_file.h"
#include "model/format_history.h"
#include "platform/child_frame.h"

class CFmtpantallaView;
class QLabel;
class QToolBar;

class CFmtpantallaFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtpantallaFrm(FrameHost& host, QWidget* parent = nullptr);

    const Format& GetFormat() const { return m_format; }
    CFmtpantallaView* View() const { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // Whether the layout differs from what was read or saved last (a change undone is
    // no change).
    bool IsModified() const { return m_level != m_cleanLevel; }
    bool HasUnsavedChanges() const override { return IsModified(); }

    bool HandleCommand(int id) override;
    std::optional<CommandUiState> CommandState(int id) override;
    void ShowCommandPrompt(int id) override;
    bool QueryClose() override;
    // The layout as it stands while it differs from its file, with the file's path.
    std::optional<RecoveryCopy> UnsavedWork() override;
    // The copy's layout replaces the frame's, under the copy's path, marked as modified.
    bool RestoreWork(const RecoveryCopy& copy, std::string& message) override;

    // "&Guardar formato": writes the layout into the file it was read from. False (after
    // a message naming the file) when it could not be written; the layout stays as it is.
    bool Save();

protected:
    Format& FrameFormat() override { return m_format; }
    void FormatShown() override;

private:
    void BuildToolBar();
    void BuildStatusBar();
    void UpdateCommandStates();
    void OnFormatChanged(const std::vector<uint8_t>& before);
    void UndoOrRedo(bool undo);

    Format m_format;
    FormatHistory m_history;
    // Undo level of the layout as it stands and as the file holds it; -1 for a clean
    // level that can no longer be reached.
    int m_level = 0;
    int m_cleanLevel = 0;
    CFmtpantallaView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_promptPane = nullptr;
};

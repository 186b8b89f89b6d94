#pragma once
// The common ground of the three modes' child frames: each is a QMainWindow of its own
// (toolbars, status bar) shown inside the main frame's MDI area, loads its format by
// path and tells the main frame when its caption changes.
#include <QIcon>
#include <QMainWindow>
#include <vector>
#include <optional>
#include <string>

#include "base/file_fingerprint.h"
#include "platform/command_ids.h"
#include "capture/recovery_copy.h"
#include "model/format_file.h"

class FrameHost;
class QAction;
class QToolBar;

struct CommandUiState {
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

// Enables and marks a menu item or toolbar button as the state says.
void ApplyCommandState(QAction* action, const CommandUiState& state);

// A button of a frame's toolbar; an id of 0 stands for a separator.
struct ToolButton {
    int id = 0;
    QIcon icon;
    QString tooltip;
    QString statusTip;  // the prompt shown in the status bar while the pointer rests on it
};

class CChildFrame : public QMainWindow {
    Q_OBJECT
public:
    // `captionFormat` holds "%1" where the path (or "(nuevo)") goes.
    CChildFrame(FrameHost& host, FrameMode mode, const QString& captionFormat, QWidget* parent = nullptr);

    FrameMode Mode() const { return m_mode; }
    // Reads the format at `path` into the frame, shows it, sets the caption and adds the
    // path to the recent formats. On failure the frame stays open and empty, with no path
    // (so a later save cannot overwrite the file that failed to load), after a message
    // naming the file.
    void LoadFromPath(const std::string& path);
    // The format file shown; empty for a new format or after a failed load.
    const std::string& Path() const { return m_path; }
    // "<mode caption> - <path>", or "(nuevo)" in place of an empty path, followed by "*"
    // while the frame holds unsaved changes.
    void UpdateCaption();
    // Sets the caption again when the unsaved-changes mark it shows is out of date.
    void RefreshModifiedMark();
    // Closes the frame's window in the workspace as its close box does (the frame is
    // asked first and may refuse), or the frame itself when it stands alone.
    void CloseWindow();
    // Whether the frame holds changes to its format that are not in its file.
    virtual bool HasUnsavedChanges() const { return false; }
    // Another window of the program wrote this frame's format file. A frame holding no
    // unsaved change reads it again, so it never writes back an older version; one with
    // changes keeps them (its next save asks before replacing the file).
    virtual void FormatSavedElsewhere();
    // A menu command while this frame is active; false when the frame does not handle it.
    virtual bool HandleCommand(int /*id*/) { return false; }
    // Asked before the frame closes (its own close box, "&Cerrar", or the program
    // leaving): a frame holding unsaved work asks the clerk whether to save it and
    // returns false when the clerk cancels or the save fails. The default has nothing
    // to lose.
    virtual bool QueryClose() { return true; }
    // Whether a command of the active frame's menu can be chosen now and whether it is
    // marked; nothing for a command the frame leaves to the application.
    virtual std::optional<CommandUiState> CommandState(int /*id*/) { return std::nullopt; }
    // A menu item of the frame's mode is highlighted (0: none): the frame shows its
    // prompt in its status bar.
    virtual void ShowCommandPrompt(int /*id*/) {}

    // The frame's unsaved work as a recovery copy; nothing while it holds none.
    virtual std::optional<RecoveryCopy> UnsavedWork() { return std::nullopt; }
    // Takes in the work of a recovery copy, marked as modified and written nowhere. False
    // with a Spanish message when it could not be taken in; on success `message` may
    // hold a note for the clerk (values the format no longer has).
    virtual bool RestoreWork(const RecoveryCopy& /*copy*/, std::string& /*message*/) { return false; }

signals:
    // The caption changed; the main frame follows it in its own title.
    void captionChanged(CChildFrame* frame);
    // The frame's work was just saved to its file: no recovery copy is needed any more.
    void workSaved(CChildFrame* frame);

protected:
    void WorkSaved() { emit workSaved(this); }
    // The frame's format now lives in `path` (a format saved under a new name).
    void SetPath(const std::string& path) { m_path = path; }
    // Writes the frame's format to `path` with `writer`: when the file changed on disk
    // since this frame last read or wrote it, the clerk is asked first and a No writes
    // nothing. On success the other windows on that file hear of it. False (after a
    // message naming the file, unless the clerk declined) when nothing was written.
    bool WriteFormatFile(const std::string& path, FormatWriter writer);
    // Every way of closing the frame goes through QueryClose.
    void closeEvent(QCloseEvent* event) override;

    // Adds a toolbar docked at the top (movable to any side) whose buttons carry their
    // command id as data and run the command in this frame, or in the application when
    // the frame does not handle it.
    QToolBar* AddCommandToolBar(const QString& title, const QString& objectName, int iconSide,
                                const std::vector<ToolButton>& buttons);
    // Enables and marks the toolbar's buttons as CommandState says.
    void RefreshToolBar(QToolBar* bar);
    // The button of `bar` that runs command `id`, or null.
    static QAction* FindToolAction(const QToolBar* bar, int id);

    // The format the frame shows, read into by LoadFromPath.
    virtual Format& FrameFormat() = 0;
    // The format was read (or emptied by a failed read): the view follows it.
    virtual void FormatShown() = 0;

    FrameHost& m_host;
    // What this frame last read from or wrote to its format file.
    FileFingerprint m_fingerprint;

private:
    FrameMode m_mode;
    QString m_captionFormat;
    bool m_captionMarked = false;
    std::string m_path;
};

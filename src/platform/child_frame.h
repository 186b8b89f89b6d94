#pragma once
// The common ground of the three modes' child frames: each is a QMainWindow of its own
// (toolbars, status bar) shown inside the main frame's MDI area, loads its format by
// path and tells the main frame when its caption changes.
#include <QMainWindow>
#include <string>

#include "command_ids.h"
#include "format_file.h"

class FrameHost;

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
    // "<mode caption> - <path>", or "(nuevo)" in place of an empty path.
    void UpdateCaption();
    // A menu command while this frame is active; false when the frame does not handle it.
    virtual bool HandleCommand(int /*id*/) { return false; }

signals:
    // The caption changed; the main frame follows it in its own title.
    void captionChanged(CChildFrame* frame);

protected:
    // The format the frame shows, read into by LoadFromPath.
    virtual Format& FrameFormat() = 0;
    // The format was read (or emptied by a failed read): the view follows it.
    virtual void FormatShown() = 0;

    FrameHost& m_host;

private:
    FrameMode m_mode;
    QString m_captionFormat;
    std::string m_path;
};

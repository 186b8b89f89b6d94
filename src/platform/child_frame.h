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
    CChildFrame(FrameHost& host, FrameMode mode, QWidget* parent = nullptr);

    FrameMode Mode() const { return m_mode; }
    // Reads the format at `path` into the frame; on failure the frame stays open and
    // empty after a message naming the file.
    virtual void LoadFromPath(const std::string& path) = 0;
    // A menu command while this frame is active; false when the frame does not handle it.
    virtual bool HandleCommand(int /*id*/) { return false; }

signals:
    // The caption changed; the main frame follows it in its own title.
    void captionChanged(CChildFrame* frame);

protected:
    void SetCaption(const QString& caption);
    // Reads the format file; on failure shows the reason (naming the file) and leaves
    // `format` empty.
    bool ReadFormatOrReport(const std::string& path, Format& format);
    // "(nuevo)" for a format that has no file yet.
    static QString PathOrNew(const std::string& path);

    FrameHost& m_host;

private:
    FrameMode m_mode;
};

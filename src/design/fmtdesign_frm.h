#pragma once
// The format design mode's child frame: it holds the format being designed (elements,
// title, path), reads and writes the file, and is the target of the editing commands.
#include <string>

#include "child_frame.h"
#include "format_file.h"

class CFormatCanvas;

class CFmtdesignFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtdesignFrm(FrameHost& host, QWidget* parent = nullptr);

    void LoadFromPath(const std::string& path) override;
    bool HandleCommand(int id) override;
    // "Abrir formato...": a file dialog, then a load into this frame.
    void OpenFormat();
    void UpdateCaption();

    const Format& GetFormat() const { return m_format; }
    const std::string& Path() const { return m_path; }

private:
    Format m_format;
    CFormatCanvas* m_canvas = nullptr;
    std::string m_path;
};

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

    bool HandleCommand(int id) override;
    // "Abrir formato...": a file dialog, then a load into this frame.
    void OpenFormat();

    const Format& GetFormat() const { return m_format; }

protected:
    Format& FrameFormat() override { return m_format; }
    void FormatShown() override;

private:
    Format m_format;
    CFormatCanvas* m_canvas = nullptr;
};

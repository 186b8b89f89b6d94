#pragma once
// The screen layout mode's child frame: arranges the capture screen of one format.
#include <string>

#include "child_frame.h"
#include "format_file.h"

class CFormatCanvas;

class CFmtpantallaFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtpantallaFrm(FrameHost& host, QWidget* parent = nullptr);

    void LoadFromPath(const std::string& path) override;
    void UpdateCaption();

    const Format& GetFormat() const { return m_format; }

private:
    Format m_format;
    CFormatCanvas* m_canvas = nullptr;
    std::string m_path;
};

#pragma once
// The screen layout mode's child frame: arranges the capture screen of one format.
#include <string>

#include "platform/child_frame.h"
#include "model/format_file.h"

class CFormatCanvas;

class CFmtpantallaFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtpantallaFrm(FrameHost& host, QWidget* parent = nullptr);

    const Format& GetFormat() const { return m_format; }

protected:
    Format& FrameFormat() override { return m_format; }
    void FormatShown() override;

private:
    Format m_format;
    CFormatCanvas* m_canvas = nullptr;
};

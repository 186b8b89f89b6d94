#pragma once
// The capture mode's child frame: a clerk fills in one format here.
#include <string>

#include "child_frame.h"
#include "format_file.h"

class CFmtcaptureView;

class CFmtcapturaFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtcapturaFrm(FrameHost& host, QWidget* parent = nullptr);

    CFmtcaptureView* View() const { return m_view; }

protected:
    Format& FrameFormat() override;
    void FormatShown() override;

private:
    CFmtcaptureView* m_view;
};

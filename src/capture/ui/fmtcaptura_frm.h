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

    void LoadFromPath(const std::string& path) override;
    void UpdateCaption();

    CFmtcaptureView* View() const { return m_view; }

private:
    CFmtcaptureView* m_view;
    std::string m_path;
};

#pragma once
// The capture mode's child frame: a clerk fills in one format here.
#include <string>

#include "child_frame.h"
#include "format_file.h"

class CFmtcapturaFrm : public CChildFrame {
    Q_OBJECT
public:
    explicit CFmtcapturaFrm(FrameHost& host, QWidget* parent = nullptr);

    void LoadFromPath(const std::string& path) override;
    void UpdateCaption();

    const Format& GetFormat() const { return m_format; }

private:
    Format m_format;
    std::string m_path;
};

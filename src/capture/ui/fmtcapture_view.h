#pragma once
// The capture screen: one entry control per variable element at the place the screen
// layout gave it, captions and labels painted around them, the tab order following the
// capture order.
#include <QScrollArea>
#include <memory>
#include <string>

#include "format_file.h"
#include "log_font.h"

class CGridEntryFactory;

// The scrollable form behind the controls; it paints the captions and labels.
class CCaptureForm : public QWidget {
    Q_OBJECT
public:
    CCaptureForm(Format& format, const LogFont& screenFont, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Format& m_format;
    const LogFont& m_screenFont;
};

class CFmtcaptureView : public QScrollArea {
    Q_OBJECT
public:
    explicit CFmtcaptureView(QWidget* parent = nullptr);
    ~CFmtcaptureView() override;

    // Shows a format that has been read: sizes the form from the stored screen extent,
    // builds the entry controls and gives the focus to the first.
    void ShowFormat();
    Format& GetFormat() { return m_format; }
    const std::string& FileName() const { return m_fileName; }
    void SetPath(const std::string& path);
    // The entry control widget with the given id (1173 + capture order), if any.
    QWidget* ControlWidget(int controlId) const;

private:
    void BuildEntryControls();

    Format m_format;
    std::string m_path;
    std::string m_fileName;  // the last part of the path, extension included
    LogFont m_screenFont;
    CCaptureForm* m_form;
    CGridEntryFactory* m_factory;  // text, check and table controls
};

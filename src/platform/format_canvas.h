#pragma once
// A widget that shows a whole format as the design view or the screen layout draws it,
// through the elements' own drawing. It sits inside a scroll area of its frame.
#include <QWidget>

#include "model/format_file.h"
#include "platform/format_render.h"

class CFormatCanvas : public QWidget {
    Q_OBJECT
public:
    // The format is lent by the frame that owns it. Drawing may change its elements as
    // the views do (constant text fits its text, unplaced controls get a screen place).
    CFormatCanvas(Format& format, RenderMode mode, QWidget* parent = nullptr);

    // The format changed (a load): size and picture follow it.
    void FormatChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Format& m_format;
    RenderMode m_mode;
};

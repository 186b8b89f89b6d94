#pragma once
// The screen layout designer's view: the capture form of a format drawn as the capture
// screen will show it (control outlines with their captions on the button face), where
// the clerk moves and resizes the controls, puts captions above or beside them and sets
// the capture order by clicking. The mouse rules live in ScreenLayoutEditor.
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "design/screen_layout_editor.h"
#include "model/format_file.h"

class CFmtpantallaView : public QWidget {
    Q_OBJECT
public:
    // The format is lent by the frame that owns it.
    explicit CFmtpantallaView(Format& format, QWidget* parent = nullptr);

    // The format was read or replaced (undo): handles, size and picture follow it.
    void FormatChanged();

    ScreenLayoutEditor& Editor() { return m_editor; }
    const ScreenLayoutEditor& Editor() const { return m_editor; }

    // Form pixels (as stored in the file) at a widget position, and back. The form may
    // start right of and below the widget's corner, so that captions standing left of or
    // above a control at the form's edge are shown whole.
    Point FormPoint(QPoint widgetPos) const;
    QPoint WidgetPoint(Point formPoint) const;

    // Commands of the frame that act on the view.
    void ToggleOrderMode();
    void SetCaptionLeft(int captionLeft);
    // The keyboard and the menus: several selected, moved by the arrow keys' 4-pixel
    // step, arranged, walked in capture order.
    void SelectAll();
    void SelectNextInOrder(bool backwards);
    void MoveSelection(int dx, int dy);
    void Arrange(DesignArrange arrange);

signals:
    // The format changed; `before` is a snapshot of it as it was, for undo.
    void formatChanged(const std::vector<uint8_t>& before);
    // The selection or the order mode changed: the commands' states follow.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // In order mode a double-click is the one click its first press already was.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Apply(const LayoutOutcome& outcome);
    void Changed(std::optional<std::vector<uint8_t>> before);
    // Grows the view when a control was moved past what it shows; it never shrinks
    // while the format is open.
    void GrowToContent();

    Format& m_format;
    ScreenLayoutEditor m_editor;
    QPoint m_origin;  // widget position of the form's (0, 0)
    std::optional<Rect> m_band;  // the rubber band being drawn, form pixels
};

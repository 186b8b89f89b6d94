#pragma once
// CFmtdesignView: the page of the format design frame. It draws the format as the
// elements draw themselves in design mode, scrolls over 410 x 410 mm, turns the mouse
// into page points for the editor and carries out what the editor decides.
#include <QAbstractScrollArea>

#include "base/geometry.h"
#include "design/design_editor.h"

class CFmtdesignFrm;

class CFmtdesignView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // The scroll extent in page units.
    static constexpr int kScrollWidthUnits = 4100;
    static constexpr int kScrollHeightUnits = 4100;

    CFmtdesignView(CFmtdesignFrm& frame, QWidget* parent = nullptr);

    // The page point under a pixel of the viewport, and the viewport pixel nearest a page
    // point (for the rulers' neighbours and for tests).
    Point PageAt(QPoint viewportPx) const;
    QPoint PixelOf(Point page) const;
    // The scroll position in page units: x >= 0, y <= 0.
    int ScrollXUnits() const;
    int ScrollYUnits() const;
    // Back to the page's corner; reports the vertical then the horizontal position.
    void ScrollToOrigin();
    double Dpi() const;

    // Carries out an editor outcome: repaint, pointer, rulers, position text, panel.
    void Apply(const EditorOutcome& outcome);
    void SetPointer(DesignCursor cursor);
    DesignCursor Pointer() const { return m_pointer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

private:
    void UpdateScrollRanges();

    CFmtdesignFrm& m_frame;
    DesignCursor m_pointer = DesignCursor::Select;
};

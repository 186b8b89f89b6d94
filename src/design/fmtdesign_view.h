#pragma once
// CFmtdesignView: the page of the format design frame. It draws the format as the
// elements draw themselves in design mode, scrolls over 410 x 410 mm, turns the mouse
// into page points for the editor and carries out what the editor decides.
#include <QAbstractScrollArea>
#include <optional>

#include "base/geometry.h"
#include "design/design_editor.h"

class CFmtdesignFrm;
class QPainter;
class QRect;

// The rubber band as both designers draw it: a dashed blue outline over a pale blue fill,
// `rect` in the painter's pixels.
void PaintRubberBand(QPainter& painter, const QRect& rect);

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
    // Pixels per inch of the page as shown: the screen's resolution times the zoom.
    double Dpi() const;
    double ScreenDpi() const;

    // The zoom in percent (kMinZoom to kMaxZoom). The page point under `anchor` (a
    // viewport pixel; the viewport's centre when none) stays where it is.
    static constexpr int kMinZoom = 25;
    static constexpr int kMaxZoom = 400;
    int Zoom() const { return m_zoomPercent; }
    void SetZoom(int percent, std::optional<QPoint> anchor = std::nullopt);
    // The next step up or down of the usual zoom steps.
    static int ZoomStepAbove(int percent);
    static int ZoomStepBelow(int percent);
    // The zoom at which the used part of the page (its elements, the scan, at least a
    // letter sheet) fits the viewport whole, or across its width.
    int FitZoom(bool widthOnly) const;
    // The rectangle the clerk is dragging out (rubber band or a new element's size), in
    // page units; nothing when no such drag runs.
    void SetBand(std::optional<Rect> band);
    // Names the selection for screen readers: the page's accessible description says
    // which element (or how many) is selected and where.
    void AnnounceSelection();

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
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

private:
    void UpdateScrollRanges();

    CFmtdesignFrm& m_frame;
    DesignCursor m_pointer = DesignCursor::Select;
    int m_zoomPercent = 100;
    std::optional<Rect> m_band;
};

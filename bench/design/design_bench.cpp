// One drag step of the design view on a format of 2,000 mixed elements: the editor moves
// the selected element by a snapped difference, then the whole page is drawn again as
// the view draws it. The baseline draws the same rectangles, lines and strings with
// bare QPainter calls (positions converted to pixels beforehand). The baseline's fonts
// are made before its loop: the drawing surface keeps the fonts it built from one
// repaint to the next.
#include <functional>
#include <vector>

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "bare_scene.h"
#include "design/design_document.h"
#include "design/design_editor.h"
#include "platform/format_render.h"
#include "platform/scan_background.h"

namespace {

constexpr double kDpi = 96;
constexpr int kElements = 2000;

QImage Canvas()
{
    QImage image(900, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Drags the front element (the last one drawn over) to and fro, repainting the page after
// every step; `underlay` draws first, under the elements, when there is one.
class Dragger {
public:
    explicit Dragger(std::function<void(QPainter&)> underlay = {}) : m_underlay(std::move(underlay))
    {
        AddMixedElements(m_doc.Elements(), kElements);
        const Rect rc = m_doc.Elements().front()->m_rcPage.Normalized();
        m_grip = {rc.left + 5, rc.top + 5};
        m_editor.Press(m_grip);
    }
    ~Dragger() { m_editor.Release(m_grip); }

    void Step()
    {
        m_away = !m_away;
        const EditorOutcome out = m_editor.Move(m_away ? Point{m_grip.x + 30, m_grip.y - 20} : m_grip);
        benchmark::DoNotOptimize(out.positionText);
        Repaint(m_doc, m_image, m_underlay);
    }

    static void Repaint(DesignDocument& doc, QImage& image, const std::function<void(QPainter&)>& underlay = {})
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        if (underlay)
            underlay(painter);
        RenderFormat(doc.GetFormat(), RenderMode::Design, kDpi, painter);
        benchmark::DoNotOptimize(image.constBits());
    }

private:
    DesignDocument m_doc;
    CDesignEditor m_editor{m_doc, ChangeHooks{[] {}, {}}};
    std::function<void(QPainter&)> m_underlay;
    Point m_grip;
    QImage m_image = Canvas();
    bool m_away = false;
};

// The same shapes drawn with bare QPainter calls.
class BareRepaint {
public:
    BareRepaint()
    {
        DesignDocument doc;
        AddMixedElements(doc.Elements(), kElements);
        RecordingDc dc(MapMode::LoMetric, int(kDpi));
        for (auto& e : doc.Elements())
            e->DrawDesign(dc);
        m_scene = SceneFromRecording(dc, kDpi);
        m_fonts = MakeSceneFonts(m_scene);
    }

    void Repaint()
    {
        m_image.fill(Qt::white);
        ReplayScene(m_scene, m_fonts, m_image);
        benchmark::DoNotOptimize(m_image.constBits());
    }

private:
    BareScene m_scene;
    std::vector<QFont> m_fonts;
    QImage m_image = Canvas();
};

// Each benchmark runs its work and its baseline in turn, two of each per iteration, in
// CPU time.
void BM_DragStepWithRepaint(benchmark::State& state)
{
    Dragger drag;
    BareRepaint bare;
    MeasurePaired<ThreadCpuTimer>(state, "bare_repaint", 2, [&] { drag.Step(); }, [&] { bare.Repaint(); });
}

// What the editor's step itself costs: the drag step against the same repaint alone.
void BM_DragStepOverRepaintOnly(benchmark::State& state)
{
    Dragger drag;
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    QImage image = Canvas();
    MeasurePaired<ThreadCpuTimer>(state, "repaint_only", 2, [&] { drag.Step(); },
                                  [&] { Dragger::Repaint(doc, image); });
}

// The drag step over a letter sheet scanned at 150 dpi (the scan is scaled and faded once,
// then each repaint copies the scaled picture under the elements), against the drag step
// without it.
void BM_DragStepWithScanUnder(benchmark::State& state)
{
    ScanBackground scan;
    scan.image = QImage(1275, 1650, QImage::Format_RGB32);
    scan.image.fill(QColor(247, 243, 230));
    SetScanResolution(scan, 150);
    ScanDrawCache cache;
    const double pxPerUnit = kDpi / 254.0;
    Dragger withScan([&](QPainter& painter) {
        const QRectF area(QPointF(0, 0), QSizeF(painter.device()->width(), painter.device()->height()));
        DrawScan(painter, scan, QPointF(50 * pxPerUnit, 50 * pxPerUnit), pxPerUnit, area, cache);
    });
    Dragger without;
    MeasurePaired<ThreadCpuTimer>(state, "drag_step", 2, [&] { withScan.Step(); }, [&] { without.Step(); });
}

// --- Several selected and the zoom ---------------------------------------------------

constexpr double kZoomedDpi = 2 * kDpi;  // 200 %
constexpr int kSelected = 50;

// A letter sheet scanned at 150 dpi, as the clerk lays it under a declaration.
ScanBackground LetterScan()
{
    ScanBackground scan;
    scan.image = QImage(1275, 1650, QImage::Format_RGB32);
    scan.image.fill(QColor(247, 243, 230));
    SetScanResolution(scan, 150);
    return scan;
}

// The shapes of the mixed page recorded at `dpi`, for the bare baselines.
BareScene SceneAt(double dpi)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    RecordingDc dc(MapMode::LoMetric, int(dpi));
    for (auto& e : doc.Elements())
        e->DrawDesign(dc);
    return SceneFromRecording(dc, dpi);
}

// Fifty selected elements dragged together at 200 % over the scan (the editor's group
// step, then the page drawn again as the view draws it, scan first), against the same
// shapes drawn with bare calls over the scan already scaled.
void BM_Drag50SelectedAt200WithScan(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    std::vector<int> indices;
    for (int i = 0; i < kSelected; ++i)
        indices.push_back(i * (kElements / kSelected));
    doc.SelectIndices(indices);
    CDesignEditor editor(doc, ChangeHooks{[] {}, {}});
    const Rect rc = doc.Selected().front()->m_rcPage.Normalized();
    const Point grip{rc.left + 5, rc.top + 5};
    editor.Press(grip);
    const ScanBackground scan = LetterScan();
    ScanDrawCache cache;
    const double pxPerUnit = kZoomedDpi / 254.0;
    QImage image = Canvas();
    bool away = false;

    const BareScene scene = SceneAt(kZoomedDpi);
    const std::vector<QFont> fonts = MakeSceneFonts(scene);
    const QImage scaled = scan.image.scaled(int(scan.WidthUnits() * pxPerUnit), int(scan.HeightUnits() * pxPerUnit));
    QImage bareImage = Canvas();

    MeasurePaired<ThreadCpuTimer>(
        state, "bare_repaint_200", 2,
        [&] {
            away = !away;
            const EditorOutcome out = editor.Move(away ? Point{grip.x + 30, grip.y - 20} : grip);
            benchmark::DoNotOptimize(out.positionText);
            image.fill(Qt::white);
            QPainter painter(&image);
            DrawScan(painter, scan, QPointF(50 * pxPerUnit, 50 * pxPerUnit), pxPerUnit, QRectF(image.rect()), cache, true);
            RenderFormat(doc.GetFormat(), RenderMode::Design, kZoomedDpi, painter);
            benchmark::DoNotOptimize(image.constBits());
        },
        [&] {
            bareImage.fill(Qt::white);
            {
                QPainter painter(&bareImage);
                painter.drawImage(QPointF(50 * pxPerUnit, 50 * pxPerUnit), scaled);
            }
            ReplayScene(scene, fonts, bareImage);
            benchmark::DoNotOptimize(bareImage.constBits());
        });
    editor.Release(grip);
}

// Zooming from 100 % to 400 % and back: each step repaints the page at the new zoom,
// against the same two zooms drawn with bare calls.
void BM_ZoomStepRepaint(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    QImage image = Canvas();
    bool in = false;
    std::vector<BareScene> scenes;
    std::vector<std::vector<QFont>> fonts;
    for (double dpi : {4 * kDpi, kDpi}) {
        scenes.push_back(SceneAt(dpi));
        fonts.push_back(MakeSceneFonts(scenes.back()));
    }
    QImage bareImage = Canvas();
    size_t which = 0;
    MeasurePaired<ThreadCpuTimer>(
        state, "bare_zoom_repaint", 2,
        [&] {
            in = !in;
            image.fill(Qt::white);
            QPainter painter(&image);
            RenderFormat(doc.GetFormat(), RenderMode::Design, in ? 4 * kDpi : kDpi, painter);
            benchmark::DoNotOptimize(image.constBits());
        },
        [&] {
            which = 1 - which;
            bareImage.fill(Qt::white);
            ReplayScene(scenes[which], fonts[which], bareImage);
            benchmark::DoNotOptimize(bareImage.constBits());
        });
}

}  // namespace

BENCHMARK(BM_DragStepWithRepaint)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_DragStepOverRepaintOnly)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_DragStepWithScanUnder)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_Drag50SelectedAt200WithScan)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ZoomStepRepaint)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    return RunDrawingBenchmarks(argc, argv, {});
}

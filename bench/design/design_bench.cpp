// One drag step of the design view on a format of 2,000 mixed elements: the editor moves
// the selected element by a snapped difference, then the whole page is drawn again as
// the view draws it. The baseline draws the same rectangles, lines and strings with
// bare QPainter calls (positions converted to pixels beforehand). The baseline's fonts
// are made before its loop: the drawing surface keeps the fonts it built from one
// repaint to the next.
#include <functional>

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
void DragStepsWithRepaint(benchmark::State& state, const std::function<void(QPainter&)>& underlay)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    CDesignEditor editor(doc, ChangeHooks{[] {}, {}});
    const Rect rc = doc.Elements().front()->m_rcPage.Normalized();
    const Point grip{rc.left + 5, rc.top + 5};
    editor.Press(grip);
    QImage image = Canvas();
    bool away = false;
    for (auto _ : state) {
        away = !away;
        const EditorOutcome out = editor.Move(away ? Point{grip.x + 30, grip.y - 20} : grip);
        benchmark::DoNotOptimize(out.positionText);
        image.fill(Qt::white);
        QPainter painter(&image);
        if (underlay)
            underlay(painter);
        RenderFormat(doc.GetFormat(), RenderMode::Design, kDpi, painter);
    }
    editor.Release(grip);
    benchmark::DoNotOptimize(image.constBits());
}

void BM_DragStepWithRepaint(benchmark::State& state)
{
    DragStepsWithRepaint(state, {});
}

// The drag step over a letter sheet scanned at 150 dpi: the scan is scaled and faded once,
// then each repaint copies the scaled picture under the elements.
void BM_DragStepWithScanUnder(benchmark::State& state)
{
    ScanBackground scan;
    scan.image = QImage(1275, 1650, QImage::Format_RGB32);
    scan.image.fill(QColor(247, 243, 230));
    SetScanResolution(scan, 150);
    ScanDrawCache cache;
    const double pxPerUnit = kDpi / 254.0;
    DragStepsWithRepaint(state, [&](QPainter& painter) {
        const QRectF area(QPointF(0, 0), QSizeF(painter.device()->width(), painter.device()->height()));
        DrawScan(painter, scan, QPointF(50 * pxPerUnit, 50 * pxPerUnit), pxPerUnit, area, cache);
    });
}

// The same repaint without the editor's step, to show what the step itself costs.
void BM_RepaintOnly(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    QImage image = Canvas();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        RenderFormat(doc.GetFormat(), RenderMode::Design, kDpi, painter);
    }
    benchmark::DoNotOptimize(image.constBits());
}

void BM_BareRepaintSameShapes(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    RecordingDc dc(MapMode::LoMetric, int(kDpi));
    for (auto& e : doc.Elements())
        e->DrawDesign(dc);
    const BareScene scene = SceneFromRecording(dc, kDpi);
    const std::vector<QFont> fonts = MakeSceneFonts(scene);
    QImage image = Canvas();
    for (auto _ : state) {
        image.fill(Qt::white);
        ReplayScene(scene, fonts, image);
    }
    benchmark::DoNotOptimize(image.constBits());
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

// Fifty selected elements dragged together at 200 % over the scan: the editor's group
// step, then the page drawn again as the view draws it, scan first.
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
    for (auto _ : state) {
        away = !away;
        const EditorOutcome out = editor.Move(away ? Point{grip.x + 30, grip.y - 20} : grip);
        benchmark::DoNotOptimize(out.positionText);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawScan(painter, scan, QPointF(50 * pxPerUnit, 50 * pxPerUnit), pxPerUnit, QRectF(image.rect()), cache, true);
        RenderFormat(doc.GetFormat(), RenderMode::Design, kZoomedDpi, painter);
    }
    editor.Release(grip);
    benchmark::DoNotOptimize(image.constBits());
}

// The same shapes at 200 % with bare QPainter calls, over the scan already scaled.
void BM_BareRepaintAt200WithScan(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    RecordingDc dc(MapMode::LoMetric, int(kZoomedDpi));
    for (auto& e : doc.Elements())
        e->DrawDesign(dc);
    const BareScene scene = SceneFromRecording(dc, kZoomedDpi);
    const std::vector<QFont> fonts = MakeSceneFonts(scene);
    const ScanBackground scan = LetterScan();
    const double pxPerUnit = kZoomedDpi / 254.0;
    const QImage scaled = scan.image.scaled(int(scan.WidthUnits() * pxPerUnit), int(scan.HeightUnits() * pxPerUnit));
    QImage image = Canvas();
    for (auto _ : state) {
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.drawImage(QPointF(50 * pxPerUnit, 50 * pxPerUnit), scaled);
        }
        ReplayScene(scene, fonts, image);
    }
    benchmark::DoNotOptimize(image.constBits());
}

// Zooming from 100 % to 400 % and back: each step repaints the page at the new zoom.
void BM_ZoomStepRepaint(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    QImage image = Canvas();
    bool in = false;
    for (auto _ : state) {
        in = !in;
        image.fill(Qt::white);
        QPainter painter(&image);
        RenderFormat(doc.GetFormat(), RenderMode::Design, in ? 4 * kDpi : kDpi, painter);
    }
    benchmark::DoNotOptimize(image.constBits());
}

// The same two zooms with bare calls.
void BM_BareZoomStepRepaint(benchmark::State& state)
{
    DesignDocument doc;
    AddMixedElements(doc.Elements(), kElements);
    std::vector<BareScene> scenes;
    std::vector<std::vector<QFont>> fonts;
    for (double dpi : {4 * kDpi, kDpi}) {
        RecordingDc dc(MapMode::LoMetric, int(dpi));
        for (auto& e : doc.Elements())
            e->DrawDesign(dc);
        scenes.push_back(SceneFromRecording(dc, dpi));
        fonts.push_back(MakeSceneFonts(scenes.back()));
    }
    QImage image = Canvas();
    size_t which = 0;
    for (auto _ : state) {
        which = 1 - which;
        image.fill(Qt::white);
        ReplayScene(scenes[which], fonts[which], image);
    }
    benchmark::DoNotOptimize(image.constBits());
}

}  // namespace

BENCHMARK(BM_Drag50SelectedAt200WithScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareRepaintAt200WithScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStepRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareZoomStepRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStepWithRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStepWithScanUnder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareRepaintSameShapes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RunDrawingBenchmarks(argc, argv,
                                {{"BM_DragStepWithRepaint", "BM_BareRepaintSameShapes"},
                                 {"BM_DragStepWithRepaint", "BM_RepaintOnly"},
                                 {"BM_DragStepWithScanUnder", "BM_DragStepWithRepaint"},
                                 {"BM_Drag50SelectedAt200WithScan", "BM_BareRepaintAt200WithScan"},
                                 {"BM_ZoomStepRepaint", "BM_BareZoomStepRepaint"}});
}

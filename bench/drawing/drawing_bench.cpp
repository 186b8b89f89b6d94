// Drawing a format of 2,000 mixed elements as the design view does, onto a QImage,
// against a baseline that draws the same rectangles, lines and strings with bare QPainter
// calls (positions converted to pixels beforehand). The baseline's fonts are made before
// its loop: the drawing surface keeps the fonts it built from one drawing to the next.
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "bare_scene.h"
#include "platform/qt_dc.h"

namespace {

constexpr double kDpi = 96;
constexpr int kElements = 2000;

Format MakeFormat()
{
    Format format;
    AddMixedElements(format.elements, kElements);
    return format;
}

QImage Canvas()
{
    QImage image(900, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Two drawings of each per iteration, the baseline's and the program's in turn, in CPU
// time.
void BM_DesignViewOfMixedElements(benchmark::State& state)
{
    Format format = MakeFormat();
    RecordingDc recording(MapMode::LoMetric, int(kDpi));
    for (auto& e : format.elements)
        e->DrawDesign(recording);
    const BareScene scene = SceneFromRecording(recording, kDpi);
    const std::vector<QFont> fonts = MakeSceneFonts(scene);
    QImage image = Canvas();
    QImage bare = Canvas();
    MeasurePaired<ThreadCpuTimer>(
        state, "bare_qpainter", 2,
        [&] {
            QPainter painter(&image);
            QtDc dc(painter, kDpi);
            dc.SetMapMode(MapMode::LoMetric);
            dc.SetBkTransparent(true);
            for (auto& e : format.elements)
                e->DrawDesign(dc);
        },
        [&] { ReplayScene(scene, fonts, bare); });
    benchmark::DoNotOptimize(image.constBits());
    benchmark::DoNotOptimize(bare.constBits());
}

}  // namespace

BENCHMARK(BM_DesignViewOfMixedElements)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    return RunDrawingBenchmarks(argc, argv, {});
}

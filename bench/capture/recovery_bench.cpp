// Keeping a recovery copy of the sample invoice with a filled table, against one repaint
// of the same capture screen (the form, its captions and every entry control, table
// window included, painted into an image).
//
// The copy is taken on the thread the clerk types on (the values as captured data,
// encoded): that part must cost a small part of a repaint. Writing it to disk (atomically,
// flushed) is the writer thread's, measured beside it for the record.
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "capture/capture_assignment.h"
#include "capture/recovery_store.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "platform/frame_host.h"
#include "ratio_reporter.h"

namespace {

// The capture screen of the sample invoice, filled as a clerk would fill it.
struct FilledScreen {
    MemoryFrameHost host;
    CFmtcapturaFrm frame{host};

    FilledScreen()
    {
        frame.resize(900, 700);
        frame.LoadFromPath(ORDEXA_SAMPLES "/Factura.fmt");
        std::vector<std::string> values = {"CLIENTE=Constructora del Valle, S.A. de C.V.", "RFC=CVA980512KJ3",
                                           "FECHA=07/12/2026", "CONCEPTO=Material de ferretería\\npara obra",
                                           "CONTADO=1"};
        for (int row = 1; row <= 12; ++row) {
            values.push_back("DETALLE[" + std::to_string(row) + ",1]=" + std::to_string(row + 2));
            values.push_back("DETALLE[" + std::to_string(row) + ",2]=" + std::to_string(17 * row) + ".25");
        }
        std::string message;
        for (const std::string& text : values) {
            CaptureAssignment assignment;
            if (!ParseCaptureAssignment(text, assignment) ||
                !ApplyCaptureAssignment(frame.View()->Session(), assignment, message))
                std::abort();
        }
        frame.show();
    }
};

FilledScreen& Screen()
{
    static FilledScreen screen;
    return screen;
}

void BM_RecoveryCopyTaken(benchmark::State& state)
{
    size_t bytes = 0;
    for (auto _ : state) {
        std::optional<RecoveryCopy> work = Screen().frame.UnsavedWork();
        if (!work)
            std::abort();
        const std::vector<uint8_t> encoded = EncodeRecoveryCopy(*work);
        benchmark::DoNotOptimize(encoded.data());
        bytes = encoded.size();
    }
    state.counters["copy_bytes"] = double(bytes);
}

void BM_RecoveryCopyTakenAndWritten(benchmark::State& state)
{
    QTemporaryDir dir;
    RecoveryStore store;
    std::string problem;
    if (!store.Open(dir.filePath("recuperacion").toStdString(), problem))
        std::abort();
    size_t bytes = 0;
    for (auto _ : state) {
        std::optional<RecoveryCopy> work = Screen().frame.UnsavedWork();
        if (!work)
            std::abort();
        const std::vector<uint8_t> encoded = EncodeRecoveryCopy(*work);
        if (!store.Write("captura-1.rec", encoded, problem))
            std::abort();
        bytes = encoded.size();
    }
    state.counters["copy_bytes"] = double(bytes);
}

void BM_CaptureScreenRepaint(benchmark::State& state)
{
    CFmtcaptureView* view = Screen().frame.View();
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

BENCHMARK(BM_RecoveryCopyTaken)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecoveryCopyTakenAndWritten)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptureScreenRepaint)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    return RunWithRatios(argc, argv, {{"BM_RecoveryCopyTaken", "BM_CaptureScreenRepaint"},
                                      {"BM_RecoveryCopyTakenAndWritten", "BM_CaptureScreenRepaint"}});
}

// Printing one filled page of the sample invoice (twelve table rows, the totals and the
// amount in words) into a PDF as the capture screen prints it, in CPU time, against a
// baseline run in turn with it that
// writes the same strings, lines and rectangles into a PDF of the same paper and
// resolution with bare QPainter calls (positions converted to device pixels beforehand,
// one font per face, size, weight and slant made in advance: the drawing surface keeps
// the fonts it built from one printout to the next).
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "bare_scene.h"
#include "base/fixed_locale.h"
#include "base/prompts.h"
#include "capture/capture_assignment.h"
#include "capture/capture_session.h"
#include "platform/format_printer.h"

namespace {

constexpr int kDpi = 1200;

// The sample invoice, filled as a clerk would fill it.
struct FilledInvoice {
    ScriptedPrompts prompts;
    FixedLocale locale;
    MemoryEntryFactory factory;
    RecordingDc dc;
    CaptureSession session;

    FilledInvoice()
    {
        factory.SetTableServices(prompts, locale);
        std::string message;
        if (!session.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message))
            std::abort();
        session.BuildEntryControls(dc, factory, LogFont{});
        std::vector<std::string> values = {"CLIENTE=Constructora del Valle, S.A. de C.V.", "RFC=CVA980512KJ3",
                                           "FECHA=07/12/2026", "CONCEPTO=Material de ferretería\\npara obra",
                                           "CONTADO=1"};
        for (int row = 1; row <= 12; ++row) {
            values.push_back("DETALLE[" + std::to_string(row) + ",1]=" + std::to_string(row + 2));
            values.push_back("DETALLE[" + std::to_string(row) + ",2]=" + std::to_string(17 * row) + ".25");
        }
        for (const std::string& text : values) {
            CaptureAssignment assignment;
            if (!ParseCaptureAssignment(text, assignment) || !ApplyCaptureAssignment(session, assignment, message))
                std::abort();
        }
    }
};

FilledInvoice& Invoice()
{
    static FilledInvoice invoice;
    return invoice;
}

BareScene RecordScene()
{
    RecordingDc dc(MapMode::LoMetric, kDpi);
    Invoice().session.Print(dc, {0, 0});
    return SceneFromRecording(dc, kDpi);
}

QByteArray BareScenePdf(const BareScene& scene, const std::vector<QFont>& fonts)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
        ReplayScene(scene, fonts, writer);
    }
    return buffer.data();
}

// Five pages of each per iteration, the baseline's and the program's in turn.
void BM_FilledInvoiceToPdf(benchmark::State& state)
{
    const ElementList& elements = Invoice().session.GetFormat().elements;
    const BareScene scene = RecordScene();
    const std::vector<QFont> fonts = MakeSceneFonts(scene);
    size_t bytes = 0, bareBytes = 0;
    MeasurePaired<ThreadCpuTimer>(
        state, "bare_qpainter", 5,
        [&] {
            const QByteArray pdf = PrintToPdfBytes(PaperSize::Letter, elements, {0, 0});
            bytes = size_t(pdf.size());
            benchmark::DoNotOptimize(pdf.constData());
        },
        [&] {
            const QByteArray pdf = BareScenePdf(scene, fonts);
            bareBytes = size_t(pdf.size());
            benchmark::DoNotOptimize(pdf.constData());
        });
    state.counters["pdf_bytes"] = double(bytes);
    state.counters["bare_pdf_bytes"] = double(bareBytes);
}

}  // namespace

BENCHMARK(BM_FilledInvoiceToPdf)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    return RunDrawingBenchmarks(argc, argv, {});
}

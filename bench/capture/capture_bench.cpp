// Printing one filled page of a sample into a PDF as the capture screen prints it, in CPU
// time, against a baseline run in turn with it that writes the same strings, lines,
// rectangles, filled areas, barcode modules and pictures into a PDF of the same paper and
// resolution with bare QPainter calls (positions converted to device pixels beforehand,
// one font per face, size, weight and slant made in advance: the drawing surface keeps
// the fonts it built from one printout to the next). The samples: the invoice (twelve
// table rows, the totals and the amount in words) and the electronic invoice (its logo,
// a QR code and a Code 128 of the filled fields, boxed text and a table).
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

// A sample filled as a clerk would fill it: its fields typed, then `rows` rows of its
// table DETALLE (quantity and price).
struct FilledInvoice {
    ScriptedPrompts prompts;
    FixedLocale locale;
    MemoryEntryFactory factory;
    RecordingDc dc;
    CaptureSession session;

    FilledInvoice(const char* format, std::vector<std::string> values, int rows)
    {
        factory.SetTableServices(prompts, locale);
        std::string message;
        if (!session.LoadFormat(format, message))
            std::abort();
        session.BuildEntryControls(dc, factory, LogFont{});
        for (int row = 1; row <= rows; ++row) {
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
    static FilledInvoice invoice(ORDEXA_SAMPLES "/Factura.fmt",
                                 {"CLIENTE=Constructora del Valle, S.A. de C.V.", "RFC=CVA980512KJ3",
                                  "FECHA=07/12/2026", "CONCEPTO=Material de ferretería\\npara obra", "CONTADO=1"},
                                 12);
    return invoice;
}

FilledInvoice& CfdiInvoice()
{
    static FilledInvoice invoice(ORDEXA_SAMPLES "/FacturaCFDI.fmt",
                                 {"UUID=5E4F3C2A-1B0D-4E8F-9A7B-6C5D4E3F2A1B", "RFC EMISOR=FES010203AB1",
                                  "RFC RECEPTOR=CVA980512KJ3", "SELLO=Ab3+fQ=="},
                                 8);
    return invoice;
}

BareScene RecordScene(const FilledInvoice& invoice)
{
    RecordingDc dc(MapMode::LoMetric, kDpi);
    invoice.session.Print(dc, {0, 0});
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
void MeasureFilledPage(benchmark::State& state, const FilledInvoice& invoice)
{
    const ElementList& elements = invoice.session.GetFormat().elements;
    const BareScene scene = RecordScene(invoice);
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

void BM_FilledInvoiceToPdf(benchmark::State& state)
{
    MeasureFilledPage(state, Invoice());
}

void BM_FilledCfdiInvoiceToPdf(benchmark::State& state)
{
    MeasureFilledPage(state, CfdiInvoice());
}

}  // namespace

BENCHMARK(BM_FilledInvoiceToPdf)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_FilledCfdiInvoiceToPdf)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    return RunDrawingBenchmarks(argc, argv, {});
}

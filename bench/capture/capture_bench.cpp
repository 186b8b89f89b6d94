// Printing one filled page of the sample invoice (twelve table rows, the totals and the
// amount in words) into a PDF as the capture screen prints it, against a baseline that
// writes the same strings, lines and rectangles into a PDF of the same paper and
// resolution with bare QPainter calls (positions converted to device pixels beforehand,
// one font per face, size, weight and slant made in advance).
#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <tuple>

#include "base/fixed_locale.h"
#include "base/prompts.h"
#include "base/recording_dc.h"
#include "capture/capture_assignment.h"
#include "capture/capture_session.h"
#include "platform/format_printer.h"
#include "ratio_reporter.h"

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

// What the printout draws, in device pixels of the PDF.
struct Scene {
    struct Text {
        QRectF cell;
        QString text;
        QFont* font;
    };
    std::map<std::tuple<std::string, int, int, int>, QFont> fonts;
    std::vector<Text> texts;
    std::vector<QRectF> outlines;
    std::vector<QLineF> lines;
};

QPointF ToPixels(int x, int y)
{
    return {x * kDpi / 254.0, -y * kDpi / 254.0};
}

void RecordScene(Scene& scene)
{
    RecordingDc dc(MapMode::LoMetric, kDpi);
    Invoice().session.Print(dc, {0, 0});
    for (const auto& t : dc.texts) {
        const QRectF cell =
            QRectF(ToPixels(t.cell.left, t.cell.top), ToPixels(t.cell.right, t.cell.bottom)).normalized();
        const int px = std::max(1, int(cell.height()));
        const auto key = std::make_tuple(t.font.face, px, t.font.weight, t.font.italic);
        auto it = scene.fonts.find(key);
        if (it == scene.fonts.end()) {
            QFont font(QString::fromStdString(t.font.face));
            font.setPixelSize(px);
            font.setWeight(QFont::Weight(t.font.weight <= 0 ? 400 : t.font.weight));
            font.setItalic(t.font.italic != 0);
            it = scene.fonts.emplace(key, font).first;
        }
        scene.texts.push_back({cell, QString::fromStdString(t.text), &it->second});
    }
    for (const auto& o : dc.outlines)
        scene.outlines.push_back(
            QRectF(ToPixels(o.rect.left, o.rect.top), ToPixels(o.rect.right, o.rect.bottom)).normalized());
    for (const auto& l : dc.lines)
        scene.lines.push_back(QLineF(ToPixels(l.from.x, l.from.y), ToPixels(l.to.x, l.to.y)));
}

void BM_FilledInvoiceToPdf(benchmark::State& state)
{
    const ElementList& elements = Invoice().session.GetFormat().elements;
    size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = PrintToPdfBytes(PaperSize::Letter, elements, {0, 0});
        bytes = size_t(pdf.size());
        benchmark::DoNotOptimize(pdf.constData());
    }
    state.counters["pdf_bytes"] = double(bytes);
}

void BM_BareQPainterSamePrimitivesToPdf(benchmark::State& state)
{
    Scene scene;
    RecordScene(scene);
    size_t bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(kDpi);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                             QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
            QPainter painter(&writer);
            painter.setPen(QPen(Qt::black, 0));
            for (const auto& r : scene.outlines)
                painter.drawRect(r);
            for (const auto& l : scene.lines)
                painter.drawLine(l);
            for (const auto& t : scene.texts) {
                painter.setFont(*t.font);
                painter.drawText(t.cell, Qt::AlignLeft | Qt::AlignBottom, t.text);
            }
        }
        bytes = size_t(buffer.data().size());
        benchmark::DoNotOptimize(buffer.data().constData());
    }
    state.counters["pdf_bytes"] = double(bytes);
}

}  // namespace

BENCHMARK(BM_FilledInvoiceToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareQPainterSamePrimitivesToPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    return RunWithRatios(argc, argv, {{"BM_FilledInvoiceToPdf", "BM_BareQPainterSamePrimitivesToPdf"}});
}

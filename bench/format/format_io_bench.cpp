// Reading and writing a format of 20,000 elements through files, against reading and
// writing the same number of bytes with plain buffered I/O. Both save as a clerk's save
// does (a temporary file flushed to the disk, renamed over the target), so the time that
// counts is the wall clock's, less the time other programs kept the processor from the
// benchmark; each iteration saves and reads back several times, so that the baseline
// runs long enough for one slow flush not to swing the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "model/cuadros_var.h"
#include "model/element_factory.h"
#include "model/format_file.h"
#include "ratio_reporter.h"
#include "model/textline_var.h"

namespace {

constexpr int kElements = 20000;
constexpr int kRoundTrips = 16;  // saves and reads per iteration

Format BigFormat()
{
    Format f;
    f.title = "Formato de prueba";
    for (int i = 0; i < kElements; ++i) {
        const int kind = (i % 11 == 9 || i % 11 == 4) ? kKindConsText : i % 11;
        auto e = CreateElementOfKind(kind);
        e->m_text = "Campo " + std::to_string(i);
        e->m_rcPage = {i % 2000, -(i % 3000), i % 2000 + 400, -(i % 3000) - 40};
        e->m_rcScreen = {i % 700, i % 500, i % 700 + 100, i % 500 + 20};
        f.elements.push_front(std::move(e));
    }
    return f;
}

std::string TempPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(getpid()))).string();
}

size_t FormatBytes()
{
    Format f = BigFormat();
    return WriteFormat(f, FormatWriter::Rewrite).size();
}

// The baseline: the same number of bytes written through a temporary file renamed over
// the target, then read back, with stdio's buffered I/O.
class PlainIo {
public:
    explicit PlainIo(size_t size) : m_bytes(size, 'x'), m_back(size) {}
    ~PlainIo() { std::filesystem::remove(m_path); }

    void RoundTrip()
    {
        std::FILE* out = std::fopen(m_tmp.c_str(), "wb");
        std::fwrite(m_bytes.data(), 1, m_bytes.size(), out);
        std::fflush(out);
        fsync(fileno(out));
        std::fclose(out);
        std::rename(m_tmp.c_str(), m_path.c_str());
        std::FILE* in = std::fopen(m_path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(m_back.data(), 1, m_back.size(), in));
        std::fclose(in);
    }

private:
    std::vector<char> m_bytes;
    std::vector<char> m_back;
    std::string m_path = TempPath("ordexa-bench-plain-");
    std::string m_tmp = m_path + ".tmp";
};

// Each round trip of the format is preceded by one of the baseline, so that both meet
// the same disk and the same load.
void BM_FormatWriteThenRead(benchmark::State& state)
{
    Format f = BigFormat();
    const size_t size = FormatBytes();
    PlainIo plain(size);
    const std::string path = TempPath("ordexa-bench-format-");
    std::string message;
    MeasurePaired<UncontendedTimer>(
        state, "plain_io", kRoundTrips,
        [&] {
            if (!SaveFormatFile(path, f, FormatWriter::Design, message))
                state.SkipWithError(message.c_str());
            Format back;
            if (!LoadFormatFile(path, back, message))
                state.SkipWithError(message.c_str());
            benchmark::DoNotOptimize(back.elements.size());
        },
        [&] { plain.RoundTrip(); });
    std::filesystem::remove(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * kRoundTrips * int64_t(size) * 2);
}

}  // namespace

BENCHMARK(BM_FormatWriteThenRead)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    return RunWithRatios(argc, argv, {});
}

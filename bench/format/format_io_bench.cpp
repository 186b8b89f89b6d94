// Reading and writing a format of 20,000 elements through files, against reading and
// writing the same number of bytes with plain buffered I/O.
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

void BM_FormatWriteThenRead(benchmark::State& state)
{
    Format f = BigFormat();
    const std::string path = TempPath("ordexa-bench-format-");
    std::string message;
    for (auto _ : state) {
        if (!SaveFormatFile(path, f, FormatWriter::Design, message))
            state.SkipWithError(message.c_str());
        Format back;
        if (!LoadFormatFile(path, back, message))
            state.SkipWithError(message.c_str());
        benchmark::DoNotOptimize(back.elements.size());
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FormatBytes()) * 2);
}

// The baseline: the same number of bytes written through a temporary file renamed over
// the target, then read back, with stdio's buffered I/O.
void BM_PlainBufferedIo(benchmark::State& state)
{
    const std::vector<char> bytes(FormatBytes(), 'x');
    std::vector<char> back(bytes.size());
    const std::string path = TempPath("ordexa-bench-plain-");
    const std::string tmp = path + ".tmp";
    for (auto _ : state) {
        std::FILE* out = std::fopen(tmp.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fflush(out);
        fsync(fileno(out));
        std::fclose(out);
        std::rename(tmp.c_str(), path.c_str());
        std::FILE* in = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(back.data(), 1, back.size(), in));
        std::fclose(in);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()) * 2);
}

}  // namespace

BENCHMARK(BM_FormatWriteThenRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainBufferedIo)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RunWithRatios(argc, argv, {{"BM_FormatWriteThenRead", "BM_PlainBufferedIo"}});
}

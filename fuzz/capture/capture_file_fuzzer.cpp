// Any bytes opened as a captured-data file of the sample invoice (every kind of variable
// element, a table with a calculated column and calculated fields) are loaded, refused as
// another format's, or loaded in part with a message; never a crash or an unbounded
// allocation. A file loaded completely saves, loads again and saves to the same bytes
// once the cells' text forms have settled.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/fixed_locale.h"
#include "base/prompts.h"
#include "base/recording_dc.h"
#include "capture/capture_session.h"

namespace {

struct Harness {
    ScriptedPrompts prompts;
    FixedLocale locale;  // the harness checks the file reading, not currency texts
    MemoryEntryFactory factory;
    RecordingDc dc;
    CaptureSession session;

    Harness()
    {
        factory.SetTableServices(prompts, locale);
        std::string message;
        if (!session.LoadFormat(ORDEXA_SAMPLES "/Factura.fmt", message))
            std::abort();
        session.BuildEntryControls(dc, factory, LogFont{});
        if (session.ControlsInCaptureOrder().size() < 10)
            std::abort();
    }
};

Harness& TheHarness()
{
    static Harness harness;
    return harness;
}

void LoadOrDie(CaptureSession& session, const std::vector<uint8_t>& bytes)
{
    std::string message;
    if (session.LoadCaptureBytes(bytes, "fuzz.cap", message) != CaptureLoadStatus::Loaded)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CaptureSession& session = TheHarness().session;
    std::string message;
    const CaptureLoadStatus status =
        session.LoadCaptureBytes(std::vector<uint8_t>(data, data + size), "fuzz.cap", message);
    if (status != CaptureLoadStatus::Loaded) {
        // A refusal always says why.
        if (message.empty())
            std::abort();
        session.Clear();
        return 0;
    }
    if (session.IsModified())
        std::abort();
    // What was loaded can be typed over and left (the calculated fields ripple).
    session.OnFieldLeft(session.FirstControlId());

    const std::vector<uint8_t> settling = session.CaptureBytes();
    LoadOrDie(session, settling);
    const std::vector<uint8_t> first = session.CaptureBytes();
    LoadOrDie(session, first);
    if (session.CaptureBytes() != first)
        std::abort();
    return 0;
}

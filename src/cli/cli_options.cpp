#include "cli/cli_options.h"

#include <charconv>

#include "platform/qt_settings_store.h"

bool TakeOptionValue(const CliArgs& args, size_t& i, std::string& name, std::string& value)
{
    name = args[i];
    if (const size_t eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name.resize(eq);
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

bool ParseOffsetOption(const std::string& text, int limit, int& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= -limit && value <= limit;
}

bool ParsePaperOption(const std::string& text, PaperSize& paper)
{
    if (text == "letter")
        paper = PaperSize::Letter;
    else if (text == "a4")
        paper = PaperSize::A4;
    else if (text == "legal")
        paper = PaperSize::Legal;
    else
        return false;
    return true;
}

PrintOffsets OffsetsForCommand(std::optional<int> facX, std::optional<int> facY)
{
    PrintOffsets offsets;
    if (!facX || !facY) {
        QtSettingsStore settings;
        offsets = ReadPrintOffsets(settings);
    }
    if (facX)
        offsets.facX = *facX;
    if (facY)
        offsets.facY = *facY;
    return offsets;
}

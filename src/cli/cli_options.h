#pragma once
// Options shared by the printing subcommands of ordexa-cli: "--name value" or
// "--name=value", print offsets in 0.1 mm and the paper sizes offered.
#include <optional>
#include <string>

#include "cli/cli_command.h"
#include "platform/format_printer.h"

// args[i] is an option: splits it into its name and value, taking the value from the
// next argument (and moving i past it) when it is not written after "=". False when the
// value is missing.
bool TakeOptionValue(const CliArgs& args, size_t& i, std::string& name, std::string& value);

// A print offset in 0.1 mm: a whole number within ±limit.
bool ParseOffsetOption(const std::string& text, int limit, int& value);

// "letter", "a4" or "legal".
bool ParsePaperOption(const std::string& text, PaperSize& paper);

// The offsets the capture screen would print with ("FacX"/"FacY" of the settings store),
// each replaced by the one the command names, if any.
PrintOffsets OffsetsForCommand(std::optional<int> facX, std::optional<int> facY);

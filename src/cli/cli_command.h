#pragma once
// The subcommands of ordexa-cli. Each takes the arguments after its name and returns the
// exit status: 0 success, 1 input refused (one line on standard error), 2 usage error.
#include <string>
#include <vector>

using CliArgs = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

int RunDump(const CliArgs& args);
int RunResave(const CliArgs& args);
int RunRender(const CliArgs& args);
int RunWords(const CliArgs& args);
int RunCalc(const CliArgs& args);
int RunCap(const CliArgs& args);
int RunShow(const CliArgs& args);
int RunPrint(const CliArgs& args);
int RunExport(const CliArgs& args);
int RunCalibrate(const CliArgs& args);

// Prints "uso: ordexa-cli <usage>" on standard error and returns kExitUsage.
int UsageError(const std::string& usage);
// Prints one line on standard error and returns kExitRefused.
int Refuse(const std::string& line);
// Flushes standard output once a command is done; a command that succeeded but whose
// output could not be written is refused (exit 1) instead.
int FinishOutput(int status);

#pragma once
// Which format a captured-data file belongs to, without opening that format: a ".cap"
// starts with the format's file name. Opening a ".cap" from the file manager needs it to
// find the format the values go on.
#include <string>

// The format file that belongs to the captured-data file `capPath`: the stored name,
// looked for in the .cap's own folder (without regard to case, as the names were written
// on a system that ignores it). False with a Spanish sentence naming both files when the
// .cap cannot be read or its format is not beside it.
bool FindFormatOfCapture(const std::string& capPath, std::string& formatPath, std::string& message);

#pragma once
// Windows only: the program's paths are UTF-8 strings; the system's wide-character calls
// take UTF-16. System error codes become the errno values the Spanish file messages know.
#ifdef _WIN32
#include <string>

std::wstring WidePath(const std::string& utf8);
std::string Utf8Path(const std::wstring& wide);
// The errno value closest to a GetLastError() code (EIO when none is).
int ErrnoFromWin32(unsigned long code);
#endif

#pragma once
// Generated names for the installer's temporary files: the folder, the prefix, a number
// left-padded with "0" to 8 minus the prefix's length digits, the extension
// ("/tmp/KAL00001.dat"). The first free number is taken.
//
// The file is created here, exclusively (O_CREAT | O_EXCL, mode 0600): a file or a
// symbolic link somebody planted under a candidate name is never opened or followed, it
// only makes the search go on to the next number.
#include <string>

// `folder` with a trailing "/" (as it is when it already has one, or is empty).
std::string WithTrailingSeparator(const std::string& folder);

// The system's temporary folder with its trailing "/" ($TMPDIR, else "/tmp/"; on Windows
// the user's temporary folder).
std::string SystemTempFolder();

// Creates the file and returns its path. When no name is free by the number 1000, or the
// folder cannot take a new file, the result is the folder alone (with its trailing "/"),
// so that opening it as a file fails. `folder` may be given with or without the
// trailing "/".
std::string TempFileName(const std::string& folder, const std::string& prefix, const std::string& extension);

// The same, also handing back the created file open for writing (`fd`, -1 on failure).
// The caller closes it.
std::string CreateTempFile(const std::string& folder, const std::string& prefix, const std::string& extension,
                           int& fd);

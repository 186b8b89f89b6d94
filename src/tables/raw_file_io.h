#pragma once
// The system side of RawFile's reads, writes and sizes on an open descriptor, one
// implementation per platform (raw_file_posix.cpp, raw_file_windows.cpp). Each sets
// `error` to an errno value on failure.
#include <cstdint>
#include <span>

bool FileReadAt(int fd, uint64_t position, std::span<uint8_t> bytes, int& error);
bool FileWriteAt(int fd, uint64_t position, std::span<const uint8_t> bytes, int& error);
bool FileResize(int fd, uint64_t size, int& error);
// -1 on failure.
int64_t FileSizeOf(int fd, int& error);

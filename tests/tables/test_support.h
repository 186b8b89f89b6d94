#pragma once
// What the table tests share: the Spanish (Mexico) locale pinned, scripted prompts and a
// fresh folder per test, removed afterwards.
#include "base/fixed_locale.h"
#include "base/prompts.h"
#include "scratch_folder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

inline FixedLocale MexicanLocale()
{
    return FixedLocale();
}

inline std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline uint32_t U32At(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b.at(at)) | (uint32_t(b.at(at + 1)) << 8) | (uint32_t(b.at(at + 2)) << 16) |
           (uint32_t(b.at(at + 3)) << 24);
}

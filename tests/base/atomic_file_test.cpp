#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "base/atomic_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(std::string_view s)
{
    return {s.begin(), s.end()};
}

}  // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryBehind)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("a.fmt").toStdString();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes("uno"), &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(path, Bytes("dos"), &error)) << error;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadWholeFile(path, back, &error));
    EXPECT_EQ(back, Bytes("dos"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, AFailedWriteLeavesWhatWasThere)
{
    QTemporaryDir dir;
    // A folder standing where the file should go cannot be replaced by a file.
    const fs::path blocked = fs::path(dir.path().toStdString()) / "occupied.fmt";
    fs::create_directory(blocked);
    fs::path inside = blocked / "keep.txt";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(inside.string(), Bytes("keep"), &error));
    EXPECT_FALSE(WriteFileAtomically(blocked.string(), Bytes("new"), &error));
    EXPECT_NE(error.find("occupied.fmt"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_TRUE(fs::exists(inside));
    // Only the folder remains: the temporary file was removed.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), fs::directory_iterator()), 1);

    EXPECT_FALSE(WriteFileAtomically((blocked / "no" / "such" / "x.fmt").string(), Bytes("x"), &error));
}

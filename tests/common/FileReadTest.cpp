#include "common/FileRead.h"

#include "TempDir.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace vorlix;
using Status = FileReadResult::Status;

namespace {

class FileReadTest : public ::testing::Test {
protected:
    std::string Write(const std::string &name, const std::string &contents)
    {
        test::WriteFile(temp_ / name, contents);
        return temp_ / name;
    }
    test::TempDir temp_;
    const std::string &dir_ = temp_.Path();
};

} // namespace

TEST_F(FileReadTest, ReadsUpToTheLimitAndSaysWhetherMoreWasThere)
{
    const std::string big(200000, 'x'); // many blocks of the file system
    const std::string path = Write("f", big);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const auto block = static_cast<std::size_t>(st.st_blksize);

    FileReadResult all = ReadFileStart(path, SIZE_MAX);
    EXPECT_EQ(all.status, Status::Read);
    EXPECT_EQ(all.contents, big);
    EXPECT_FALSE(all.truncated);

    FileReadResult exact = ReadFileStart(path, big.size());
    EXPECT_EQ(exact.contents.size(), big.size());
    EXPECT_FALSE(exact.truncated);

    // Limits below, at and above one block, and at a whole number of them.
    for (std::size_t limit : {std::size_t{1560}, block - 1, block, block + 1, 2 * block}) {
        FileReadResult start = ReadFileStart(path, limit);
        EXPECT_EQ(start.contents, big.substr(0, limit)) << limit;
        EXPECT_TRUE(start.truncated) << limit;
    }

    FileReadResult empty = ReadFileStart(Write("e", ""), 10);
    EXPECT_EQ(empty.status, Status::Read);
    EXPECT_TRUE(empty.contents.empty());
}

// Only a regular file is read: a pipe would block the read, a device need never end. Why a
// file could not be opened or read is kept.
TEST_F(FileReadTest, WhatIsNoFileOrCannotBeReadIsToldApart)
{
    ASSERT_EQ(::mkfifo((dir_ + "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("loop", (dir_ + "loop").c_str()), 0);
    const std::tuple<std::string, Status, std::string, int> cases[] = { // path, status, type, error
        {dir_ + "none", Status::Missing, "", ENOENT},
        {dir_ + "none/deeper", Status::Missing, "", ENOENT},
        {dir_, Status::NotRegular, "a directory", 0},
        {dir_ + "fifo", Status::NotRegular, "a named pipe", 0},
        {"/dev/null", Status::NotRegular, "a device", 0},
        {dir_ + "loop", Status::OpenFailed, "", ELOOP},
        {"/proc/self/mem", Status::ReadFailed, "", EIO}, // bytes that fail to read, for any user
    };
    for (const auto &[path, status, type, error] : cases) {
        const FileReadResult result = ReadFileStart(path, 10);
        EXPECT_EQ(result.status, status) << path;
        EXPECT_EQ(status == Status::NotRegular ? FileTypeText(result.type) : "", type) << path;
        EXPECT_EQ(result.error, error) << path;
    }
    EXPECT_EQ(FileTypeText(0), "not a regular file");
}

TEST_F(FileReadTest, EveryReadClosesItsFile)
{
    const auto open = test::OpenFiles();
    EXPECT_EQ(ReadFileStart(Write("f", "contents"), 100).status, Status::Read);
    EXPECT_EQ(ReadFileStart(dir_, 100).status, Status::NotRegular);
    EXPECT_EQ(test::OpenFiles(), open);
}

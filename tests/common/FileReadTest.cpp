#include "common/FileRead.h"

#include "TempDir.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <string>
#include <sys/resource.h>
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
    const std::string big(200000, 'x'); // more than one read buffer
    const std::string path = Write("f", big);

    FileReadResult all = ReadFileStart(path, SIZE_MAX);
    EXPECT_EQ(all.status, Status::Read);
    EXPECT_EQ(all.contents, big);
    EXPECT_FALSE(all.truncated);

    FileReadResult exact = ReadFileStart(path, big.size());
    EXPECT_EQ(exact.contents.size(), big.size());
    EXPECT_FALSE(exact.truncated);

    // Limits below, at and above one read buffer, and at a whole number of them.
    for (std::size_t limit : {std::size_t{1560}, std::size_t{65535}, std::size_t{65536}, std::size_t{131072}}) {
        FileReadResult start = ReadFileStart(path, limit);
        EXPECT_EQ(start.contents, big.substr(0, limit)) << limit;
        EXPECT_TRUE(start.truncated) << limit;
    }

    FileReadResult empty = ReadFileStart(Write("e", ""), 10);
    EXPECT_EQ(empty.status, Status::Read);
    EXPECT_TRUE(empty.contents.empty());
}

TEST_F(FileReadTest, MissingDirectoriesAndPipesAreToldApart)
{
    EXPECT_EQ(ReadFileStart(dir_ + "none", 10).status, Status::Missing);
    EXPECT_EQ(ReadFileStart(dir_ + "none/deeper", 10).status, Status::Missing);
    EXPECT_EQ(ReadFileStart(dir_, 10).status, Status::NotRegular);
    const std::string fifo = dir_ + "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadFileStart(fifo, 10).status, Status::NotRegular) << "a pipe must not hang the read";
}

TEST_F(FileReadTest, FailuresToOpenOrReadSayWhy)
{
    const std::string loop = dir_ + "loop";
    ASSERT_EQ(::symlink("loop", loop.c_str()), 0);
    const FileReadResult looped = ReadFileStart(loop, 10);
    EXPECT_EQ(looped.status, Status::OpenFailed);
    EXPECT_EQ(looped.error, ELOOP);

    // Bytes that fail to read, for any user: the start of this process's memory.
    const FileReadResult unreadable = ReadFileStart("/proc/self/mem", 10);
    EXPECT_EQ(unreadable.status, Status::ReadFailed);
    EXPECT_EQ(unreadable.error, EIO);
}

TEST_F(FileReadTest, EveryReadClosesItsFile)
{
    const std::string path = Write("f", "contents");
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit few = saved;
    few.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
    int read = 0;
    for (int i = 0; i < 100; ++i) {
        read += ReadFileStart(path, 100).status == Status::Read;
        ReadFileStart(dir_, 100);
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(read, 100);
}

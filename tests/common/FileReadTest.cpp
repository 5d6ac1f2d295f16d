#include "common/FileRead.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace vorlix;
using Status = FileReadResult::Status;

namespace {

class FileReadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vorlix-fileread.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    std::string Write(const std::string &name, const std::string &contents)
    {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }
    std::string dir_;
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

    FileReadResult start = ReadFileStart(path, 1560);
    EXPECT_EQ(start.contents, big.substr(0, 1560));
    EXPECT_TRUE(start.truncated);

    FileReadResult empty = ReadFileStart(Write("e", ""), 10);
    EXPECT_EQ(empty.status, Status::Read);
    EXPECT_TRUE(empty.contents.empty());
}

TEST_F(FileReadTest, MissingDirectoriesAndPipesAreToldApart)
{
    EXPECT_EQ(ReadFileStart(dir_ + "/none", 10).status, Status::Missing);
    EXPECT_EQ(ReadFileStart(dir_ + "/none/deeper", 10).status, Status::Missing);
    EXPECT_EQ(ReadFileStart(dir_, 10).status, Status::NotRegular);
    const std::string fifo = dir_ + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadFileStart(fifo, 10).status, Status::NotRegular) << "a pipe must not hang the read";
}

#include "common/AtomicFile.h"

#include <filesystem>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using namespace vorlix;
namespace fs = std::filesystem;

TEST(AtomicFile, ALinkLoopFailsClearlyAndLeavesTheLinks)
{
    using Links = std::vector<std::pair<std::string, std::string>>; // name, target
    const std::pair<const char *, Links> cases[] = {
        {"loop of two", {{"Vorlix.ini", "loop.ini"}, {"loop.ini", "Vorlix.ini"}}},
        {"link to itself", {{"Vorlix.ini", "Vorlix.ini"}}},
        {"loop further on", {{"Vorlix.ini", "a"}, {"a", "b"}, {"b", "a"}}},
    };
    for (const auto &[name, links] : cases) {
        SCOPED_TRACE(name);
        char pattern[] = "/tmp/vorlix-atomic.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        const std::string dir = std::string(pattern) + "/";
        for (const auto &[at, to] : links)
            ASSERT_EQ(::symlink(to.c_str(), (dir + at).c_str()), 0);

        const std::string error = WriteFileAtomically(dir + "Vorlix.ini", "[Settings]\n");
        EXPECT_NE(error.find("Too many levels of symbolic links"), std::string::npos) << error;
        for (const auto &[at, to] : links) {
            std::error_code ignored;
            EXPECT_EQ(fs::read_symlink(dir + at, ignored), to) << at;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), static_cast<long>(links.size()))
            << "nothing left behind";
        fs::remove_all(dir);
    }
}

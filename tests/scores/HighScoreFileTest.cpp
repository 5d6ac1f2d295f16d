#include "scores/HighScoreFile.h"

#include "../common/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>
#include <unistd.h>

namespace vorlix {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::WriteFile;

HighScoreEntry Result(std::string_view name, std::int32_t total) { return HighScoreResult(name, total, "Points", 1, 0, 1, 0); }

class HighScoreFileTest : public ::testing::Test {
protected:
    // Every byte different from its neighbours, names without zero bytes included.
    static std::string Pattern(std::size_t size)
    {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
        return bytes;
    }


    test::TempDir dir_;
    std::string path_ = dir_ / "Vorlix.HS";
};

// By its size: a file of 1,560 bytes is loaded and saved back byte for byte, and a table is
// taken only when all of its bytes are there. Any other size is no file the game wrote: the
// first save keeps it whole as a backup (of a longer one the rest would be cut off unseen), and
// later saves leave that alone and still tell where it is.
TEST_F(HighScoreFileTest, TheFilesSizeDecidesWhatIsLoadedAndWhatIsKept)
{
    struct Case {
        std::int64_t size; // -1: no file, the quiet first run
        HighScoreLoadStatus status;
        std::size_t loaded; // bytes of the file in the tables, which take the file's order
    };
    using enum HighScoreLoadStatus;
    const Case cases[] = {{-1, NoFile, 0},      {519, Failed, 0},    {1559, Failed, 1040},
                          {1560, Loaded, 1560}, {1561, Failed, 1560}, {2 << 20, Failed, 1560}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.size);
        const test::TempDir dir;
        const std::string path = dir / "Vorlix.HS";
        const std::string original = Pattern(static_cast<std::size_t>(std::max<std::int64_t>(c.size, 0)));
        if (c.size >= 0)
            WriteFile(path, original);
        HighScores scores;
        scores.EasyScores[0].Score = 99;
        const HighScoreLoadResult loaded = LoadHighScores(scores, path);
        EXPECT_EQ(loaded.Status, c.status);
        EXPECT_EQ(loaded.Message, c.status == Failed ? path + " holds " + std::to_string(c.size) + " bytes instead of 1560" : "");
        const std::string tables = original.substr(0, c.loaded) + std::string(1560 - c.loaded, '\0');
        EXPECT_EQ(EncodeHighScores(scores), tables);
        for (int save = 0; save < 2; ++save)
            EXPECT_EQ(SaveHighScores(scores, path).Backup, c.status == Failed ? path + ".bak" : "") << "save " << save;
        EXPECT_EQ(ReadFile(path), tables);
        EXPECT_EQ(c.status == Failed ? ReadFile(path + ".bak") : original, original);
        EXPECT_EQ(dir.Entries(), c.status == Failed ? 3 : 2) << "the file, its lock and a backup once";
    }
}

// Two copies of the game started from one folder: each save reads the file as it is then and
// applies only what its own copy did, so neither drops what the other saved meanwhile.
TEST_F(HighScoreFileTest, TwoCopiesInOneFolderKeepEachOthersResults)
{
    enum class Op { Load, Store, Clear, Save };
    struct Step {
        int copy;
        Op op;
        std::int32_t total = 0;
        const char *name = "";
    };
    constexpr int A = 0, B = 1;
    struct Case {
        const char *name;
        std::vector<Step> steps;
        std::vector<std::string> easy; // the names in the file's Easy table, best first
    };
    const Case cases[] = {
        {"each result at its place",
         {{A, Op::Load}, {B, Op::Load}, {B, Op::Store, 300, "b"}, {B, Op::Save}, {A, Op::Store, 400, "a"}, {A, Op::Save}},
         {"old", "a", "b"}},
        {"a tie goes below what the other copy saved first",
         {{A, Op::Load}, {B, Op::Load}, {B, Op::Store, 300, "b"}, {B, Op::Save}, {A, Op::Store, 300, "a"}, {A, Op::Save}},
         {"old", "b", "a"}},
        {"a Clear takes out what its copy showed, not what it never saw",
         {{A, Op::Load}, {B, Op::Load}, {B, Op::Store, 300, "b"}, {B, Op::Save}, {A, Op::Clear},
          {A, Op::Store, 100, "a"}, {A, Op::Save}},
         {"b", "a"}},
        {"results stored before a Clear go with it",
         {{A, Op::Load}, {A, Op::Store, 700, "a1"}, {A, Op::Clear}, {A, Op::Store, 200, "a2"}, {A, Op::Save}},
         {"a2"}},
        {"a Clear compares whole results, not names",
         {{A, Op::Load}, {B, Op::Load}, {B, Op::Clear}, {B, Op::Store, 300, "old"}, {B, Op::Save}, {A, Op::Clear},
          {A, Op::Save}},
         {"old"}},
        {"the other copy's save brings nothing cleared back",
         {{A, Op::Load}, {B, Op::Load}, {A, Op::Clear}, {A, Op::Save}, {B, Op::Store, 300, "b"}, {B, Op::Save}},
         {"b"}},
        {"a Clear takes out each result it showed once, however many are alike",
         {{B, Op::Load}, {B, Op::Store, 300, "d"}, {B, Op::Store, 300, "d"}, {B, Op::Save}, {A, Op::Load},
          {B, Op::Store, 300, "d"}, {B, Op::Save}, {A, Op::Clear}, {A, Op::Save}},
         {"d"}},
        {"a change is saved once",
         {{A, Op::Load}, {A, Op::Store, 300, "a"}, {A, Op::Save}, {A, Op::Save}}, {"old", "a"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HighScores file;
        // Bytes after the names' ends, which a merge keeps where it writes no name.
        for (HighScoreEntry &entry : file.EasyScores)
            entry.Name = {0, 'x', 'x', 'x', 'x', 'x'};
        // The game figures of the results stored below: a Clear must tell them apart by the rest.
        InsertHighScore(file, file.EasyScores, 1, Result("old", 500));
        WriteFile(path_, EncodeHighScores(file));
        HighScores copies[2];
        for (const Step &step : c.steps) {
            HighScores &copy = copies[step.copy];
            switch (step.op) {
            case Op::Load: ASSERT_EQ(LoadHighScores(copy, path_).Status, HighScoreLoadStatus::Loaded); break;
            case Op::Store:
                InsertHighScore(copy, copy.EasyScores, FindHighScorePlace(copy.EasyScores, step.total).value_or(0),
                                Result(step.name, step.total));
                break;
            case Op::Clear: ClearHighScores(copy); break;
            case Op::Save: ASSERT_EQ(SaveHighScores(copy, path_).Error, ""); break;
            }
        }
        HighScores saved;
        ASSERT_EQ(LoadHighScores(saved, path_).Status, HighScoreLoadStatus::Loaded);
        std::vector<std::string> easy;
        for (const HighScoreEntry &entry : saved.EasyScores)
            if (entry.Score != 0)
                easy.push_back(EntryName(entry));
        EXPECT_EQ(easy, c.easy);
        if (std::any_of(c.steps.begin(), c.steps.end(), [](const Step &step) { return step.op == Op::Clear; })) {
            EXPECT_EQ(saved.EasyScores[9].Mode, ' ') << "the freed places are empty as a Clear leaves them";
        }
        if (std::all_of(c.steps.begin(), c.steps.end(), [](const Step &step) { return step.copy == A; })) {
            EXPECT_EQ(EncodeHighScores(saved), EncodeHighScores(copies[A])) << "alone, a copy saves what it shows";
        }
    }
}

// Copies saving at the same moment, again and again: the saves never interleave, so every
// result of both ends up in the file.
TEST_F(HighScoreFileTest, SavesOfCopiesRunningAtOnceNeverInterleave)
{
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (int k = 0; k < 2; ++k) {
        children[k] = ::fork();
        ASSERT_GE(children[k], 0);
        if (children[k] == 0) {
            char go = 0;
            if (::read(start[0], &go, 1) != 1)
                ::_exit(2);
            HighScores scores;
            LoadHighScores(scores, path_);
            bool saved = true;
            for (int i = 0; i < 15; ++i) {
                HighScoreTable &table = *std::array{&scores.EasyScores, &scores.MediumScores, &scores.HardScores}[i % 3];
                const std::int32_t total = 1000 * (k + 1) + i + 1;
                InsertHighScore(scores, table, FindHighScorePlace(table, total).value_or(0), Result("c", total));
                saved = saved && SaveHighScores(scores, path_).Error.empty();
            }
            ::_exit(saved ? 0 : 1);
        }
    }
    ASSERT_EQ(::write(start[1], "gg", 2), 2);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    ::close(start[0]);
    ::close(start[1]);
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Loaded);
    int table = 0;
    for (const HighScoreTable *t : {&scores.EasyScores, &scores.MediumScores, &scores.HardScores}) {
        SCOPED_TRACE(table);
        std::vector<std::uint32_t> totals;
        for (const HighScoreEntry &entry : *t)
            totals.push_back(entry.Score);
        std::vector<std::uint32_t> expected;
        for (std::uint32_t k : {2u, 1u})
            for (int i = 12 + table; i >= 0; i -= 3)
                expected.push_back(1000 * k + static_cast<std::uint32_t>(i) + 1);
        EXPECT_EQ(totals, expected);
        ++table;
    }
}

// A save that fails keeps this run's results for the next one.
TEST_F(HighScoreFileTest, WhatAFailedSaveHadToSaveIsSavedNextTime)
{
    HighScores scores;
    InsertHighScore(scores, scores.EasyScores, 1, Result("kept", 5));
    fs::create_directory(path_);
    EXPECT_EQ(SaveHighScores(scores, path_).Error, "it is a directory");
    fs::remove(path_);
    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(ReadFile(path_).substr(1040, 5), std::string("kept\0", 5));
}

TEST_F(HighScoreFileTest, FailedLoadOfAFileThatThenVanishedSavesWithoutBackup)
{
    WriteFile(path_, "short");
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
    fs::remove(path_);
    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_FALSE(fs::exists(path_ + ".bak"));
    EXPECT_EQ(ReadFile(path_).size(), 1560u);
}

// What stands in the file's place and cannot be read fails the load with a message that says
// why and loads nothing. The save then fails before it keeps a backup, and leaves it as it is.
TEST_F(HighScoreFileTest, WhatCannotBeReadFailsTheLoadAndIsLeftAsItIs)
{
    enum class Make { Folder, Link, File }; // the file holds "short"
    struct Case {
        const char *name;
        Make make;
        std::string path, linkTo;
        std::string load;
    };
    const std::string tooLong = dir_ / std::string(252, 'n'); // fits; "<name>.lock" does not
    std::vector<Case> cases = {
        {"folder", Make::Folder, path_, "", path_ + " is a directory"},
        {"link loop", Make::Link, path_, "Vorlix.HS", "cannot open " + path_ + ": " + std::strerror(ELOOP)},
        {"unreadable bytes", Make::Link, path_, "/proc/self/mem", "cannot read " + path_ + ": " + std::strerror(EIO)},
        {"no room for a lock", Make::File, tooLong, "", tooLong + " holds 5 bytes instead of 1560"},
    };
    if (::geteuid() != 0) // root reads and writes files regardless of their permission bits
        cases.push_back({"no permission", Make::File, path_, "", "cannot open " + path_ + ": " + std::strerror(EACCES)});
    const auto before = dir_.Entries();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.make == Make::Link) {
            ASSERT_EQ(::symlink(c.linkTo.c_str(), c.path.c_str()), 0);
        } else if (c.make == Make::Folder) {
            fs::create_directory(c.path);
        } else {
            WriteFile(c.path, "short");
            fs::permissions(c.path, c.path == path_ ? fs::perms::none : fs::perms::owner_read);
        }
        HighScores scores;
        scores.EasyScores[0].Score = 99;
        const HighScoreLoadResult loaded = LoadHighScores(scores, c.path);
        EXPECT_EQ(loaded.Status, HighScoreLoadStatus::Failed);
        EXPECT_EQ(loaded.Message, c.load);
        EXPECT_EQ(EncodeHighScores(scores), std::string(1560, '\0'));
        InsertHighScore(scores, scores.HardScores, 1, Result("x", 5));
        EXPECT_NE(SaveHighScores(scores, c.path).Error, "");

        if (c.make == Make::Link) {
            EXPECT_EQ(fs::read_symlink(c.path), c.linkTo);
        } else if (c.make == Make::Folder) {
            EXPECT_TRUE(fs::is_directory(c.path));
        } else {
            fs::permissions(c.path, fs::perms::owner_read);
            EXPECT_EQ(ReadFile(c.path), "short");
        }
        std::error_code noLock;
        fs::remove(c.path);
        fs::remove(c.path + ".lock", noLock);
        EXPECT_EQ(dir_.Entries(), before) << "no backup, no temporary file";
    }
}

} // namespace
} // namespace vorlix

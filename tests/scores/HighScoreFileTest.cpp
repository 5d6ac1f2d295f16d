#include "scores/HighScoreFile.h"

#include "../common/FileSizeLimit.h"
#include "../common/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vorlix {
namespace {

namespace fs = std::filesystem;

using test::FileSizeLimit;
using test::ReadFile;
using test::WriteFile;

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

TEST_F(HighScoreFileTest, MissingFileIsTheQuietFirstRun)
{
    HighScores scores;
    scores.EasyScores[0].Score = 99;
    const HighScoreLoadResult result = LoadHighScores(scores, path_);
    EXPECT_EQ(result.Status, HighScoreLoadStatus::NoFile);
    EXPECT_EQ(scores.EasyScores[0].Score, 0u);

    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(ReadFile(path_), std::string(1560, '\0'));
    EXPECT_FALSE(fs::exists(path_ + ".bak"));
}

TEST_F(HighScoreFileTest, LoadThenSaveIsByteIdentical)
{
    const std::string original = Pattern(1560);
    WriteFile(path_, original);
    HighScores scores;
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Loaded);
    EXPECT_EQ(EncodeHighScores(scores), original);

    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(ReadFile(path_), original);
    EXPECT_FALSE(fs::exists(path_ + ".bak"));
}

TEST_F(HighScoreFileTest, ResultStoredUnderEasyLandsInTheLastTableOfTheFile)
{
    HighScores scores;
    InsertHighScore(scores, scores.EasyScores, 1, "abc", 8300, {"Points", 3, 12, 85, 2});
    ASSERT_EQ(SaveHighScores(scores, path_).Error, "");
    const std::string bytes = ReadFile(path_);
    ASSERT_EQ(bytes.size(), 1560u);
    EXPECT_EQ(bytes.substr(1040, 3), "abc");
    EXPECT_EQ(bytes.substr(0, 1040), std::string(1040, '\0'));

    HighScores again;
    ASSERT_EQ(LoadHighScores(again, path_).Status, HighScoreLoadStatus::Loaded);
    EXPECT_EQ(again.EasyScores, scores.EasyScores);
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
        // The game figures of the results stored below: a Clear must tell them apart by the rest.
        InsertHighScore(file.EasyScores, 1, "old", 500, {"Points", 1, 0, 1, 0});
        WriteFile(path_, EncodeHighScores(file));
        HighScores copies[2];
        for (const Step &step : c.steps) {
            HighScores &copy = copies[step.copy];
            switch (step.op) {
            case Op::Load: ASSERT_EQ(LoadHighScores(copy, path_).Status, HighScoreLoadStatus::Loaded); break;
            case Op::Store:
                InsertHighScore(copy, copy.EasyScores, FindHighScorePlace(copy.EasyScores, step.total).value_or(0),
                                step.name, step.total, {"Points", 1, 0, 1, 0});
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
                InsertHighScore(scores, table, FindHighScorePlace(table, total).value_or(0), "c", total,
                                {"Points", 1, 0, 1, 0});
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

TEST_F(HighScoreFileTest, ShortFileKeepsOnlyTheTablesReadWhole)
{
    const std::string original = Pattern(1559);
    WriteFile(path_, original);
    HighScores scores;
    const HighScoreLoadResult result = LoadHighScores(scores, path_);
    EXPECT_EQ(result.Status, HighScoreLoadStatus::Failed);
    EXPECT_NE(result.Message.find("1559"), std::string::npos);

    const std::string loaded = EncodeHighScores(scores);
    EXPECT_EQ(loaded.substr(0, 1040), original.substr(0, 1040)); // Hard and Medium
    EXPECT_EQ(loaded.substr(1040), std::string(520, '\0'));      // Easy stays empty

    WriteFile(path_, original.substr(0, 519));
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
    EXPECT_EQ(EncodeHighScores(scores), std::string(1560, '\0'));
}

// A longer file is read as far as the tables go, but is no file the game wrote: the save
// would cut off the rest, so the whole file is kept as for a short one.
TEST_F(HighScoreFileTest, ALongerFileIsReadAndKeptWholeAsABackup)
{
    for (const std::size_t size : {std::size_t{1561}, std::size_t{2} << 20}) {
        SCOPED_TRACE(size);
        const std::string original = Pattern(size);
        WriteFile(path_, original);
        HighScores scores;
        EXPECT_EQ(LoadHighScores(scores, path_).Message, path_ + " holds " + std::to_string(size) + " bytes instead of 1560");
        EXPECT_EQ(EncodeHighScores(scores), original.substr(0, 1560));
        EXPECT_EQ(SaveHighScores(scores, path_).Backup, path_ + ".bak");
        EXPECT_EQ(ReadFile(path_ + ".bak"), original);
        EXPECT_EQ(ReadFile(path_), original.substr(0, 1560));
        fs::remove(path_ + ".bak");
    }
}

// The first save after a failed load keeps the old file under the next free backup name.
TEST_F(HighScoreFileTest, EachFailedLoadKeepsItsFileUnderTheNextFreeBackupName)
{
    // A name taken by anything, even a dangling link, is never reused.
    ASSERT_EQ(::symlink("nowhere", (path_ + ".bak2").c_str()), 0);
    const std::pair<std::string, std::string> runs[] = {
        {Pattern(1559), ".bak"}, {"second", ".bak1"}, {"third", ".bak3"}, {"", ".bak4"}};
    HighScores scores;
    for (const auto &[old, backup] : runs) {
        SCOPED_TRACE(backup);
        WriteFile(path_, old);
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
        scores = {};
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        errno = ENOENT; // as a missing settings file leaves it: says nothing about this file
        const SaveResult saved = SaveHighScores(scores, path_);
        EXPECT_EQ(saved.Error, "");
        EXPECT_EQ(saved.Backup, path_ + backup);
        EXPECT_EQ(ReadFile(path_ + backup), old);
        EXPECT_EQ(test::FileMode(path_ + backup), 0600u) << "a private file stays private in its backup";
        EXPECT_EQ(ReadFile(path_), EncodeHighScores(scores));
    }
    // A later save leaves the backups alone, and still tells where this run kept one.
    InsertHighScore(scores, scores.EasyScores, 1, "later", 5, {"Points", 1, 0, 1, 0});
    const SaveResult later = SaveHighScores(scores, path_);
    EXPECT_EQ(later.Error, "");
    EXPECT_EQ(later.Backup, path_ + ".bak4");
    EXPECT_EQ(ReadFile(path_).substr(1040, 5), "later");
    EXPECT_EQ(ReadFile(path_ + ".bak"), Pattern(1559));
    EXPECT_EQ(ReadFile(path_ + ".bak1"), "second");
    EXPECT_EQ(fs::read_symlink(path_ + ".bak2"), "nowhere");
    EXPECT_EQ(ReadFile(path_ + ".bak4"), "");
    EXPECT_EQ(dir_.Entries(), 7) << "the file, its lock and five backup names";
}

TEST_F(HighScoreFileTest, ASaveThatFailsLeavesNoBackupBehind)
{
    // A short file and a full disk: each start fails to load it and each close fails to write.
    WriteFile(path_, "short");
    for (int run = 0; run < 2; ++run) {
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        FileSizeLimit full(100);
        const SaveResult saved = SaveHighScores(scores, path_);
        EXPECT_EQ(saved.Error, std::string("write failed: ") + std::strerror(EFBIG)) << "the caller names the file";
        EXPECT_EQ(saved.Backup, "");
    }
    EXPECT_EQ(ReadFile(path_), "short");
    EXPECT_EQ(dir_.Entries(), 2) << "the file and its lock: no backups pile up";

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

// Whatever stands in the file's place and cannot be read fails the load with a message that
// says why and loads nothing; the save then fails, and what was there is left as it is, with no
// backup of it: only a regular file is replaced or kept, through links too.
TEST_F(HighScoreFileTest, WhatCannotBeReadFailsTheLoadAndIsLeftAsItIs)
{
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    fs::create_directory(dir_ / "dir");
    WriteFile(dir_ / "dir/inside", "kept");
    enum class Make { Directory, Fifo, Link, Short, Private };
    struct Case {
        const char *name;
        Make make;
        std::string path, linkTo;
        std::string loadMessage, saveError; // the save's error begins so
    };
    const std::string tooLong = dir_ / std::string(252, 'n'); // fits; "<name>.lock" does not
    const auto through = [this](const char *to) { return " (writing through the link to " + dir_ / to + ")"; };
    const std::string loop = std::strerror(ELOOP);
    std::vector<Case> cases = {
        {"directory", Make::Directory, path_, "", path_ + " is a directory", "it is a directory"},
        {"fifo, and the load does not hang", Make::Fifo, path_, "", path_ + " is a named pipe", "it is a named pipe"},
        {"link to a directory", Make::Link, path_, "dir", path_ + " is a directory", "it is a directory" + through("dir")},
        {"link to a fifo", Make::Link, path_, "fifo", path_ + " is a named pipe", "it is a named pipe" + through("fifo")},
        {"link loop", Make::Link, path_, "Vorlix.HS", "cannot open " + path_ + ": " + loop, "cannot follow the link: " + loop},
        {"unreadable bytes", Make::Link, path_, "/proc/self/mem", "cannot read " + path_ + ": " + std::strerror(EIO),
         "cannot create a lock file beside it: "},
        {"name too long for a lock", Make::Short, tooLong, "", tooLong + " holds 5 bytes instead of 1560",
         std::string("cannot create a lock file beside it: ") + std::strerror(ENAMETOOLONG)},
    };
    // Root would replace the device node and link a backup to it: its own null device stands
    // in for /dev/null. Permissions do not stop root.
    if (::geteuid() == 0 && ::mknod((dir_ / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        cases.push_back({"link to a device", Make::Link, path_, dir_ / "null", path_ + " is a device",
                         "it is a device" + through("null")});
    if (::geteuid() != 0)
        cases.push_back({"no permission", Make::Private, path_, "", "cannot open " + path_ + ": " + std::strerror(EACCES),
                         std::string("the existing file is not writable: ") + std::strerror(EACCES)});
    const auto before = dir_.Entries();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        switch (c.make) {
        case Make::Directory: fs::create_directory(c.path); break;
        case Make::Fifo: ASSERT_EQ(::mkfifo(c.path.c_str(), 0600), 0); break;
        case Make::Link: ASSERT_EQ(::symlink(c.linkTo.c_str(), c.path.c_str()), 0); break;
        case Make::Short:
        case Make::Private:
            WriteFile(c.path, "short");
            if (c.make == Make::Private)
                fs::permissions(c.path, fs::perms::none);
            break;
        }
        HighScores scores;
        scores.EasyScores[0].Score = 99;
        const HighScoreLoadResult loaded = LoadHighScores(scores, c.path);
        EXPECT_EQ(loaded.Status, HighScoreLoadStatus::Failed);
        EXPECT_EQ(loaded.Message, c.loadMessage);
        EXPECT_EQ(EncodeHighScores(scores), std::string(1560, '\0'));
        InsertHighScore(scores, scores.HardScores, 1, "x", 5, {"Points", 1, 0, 1, 0});
        const std::string error = SaveHighScores(scores, c.path).Error;
        EXPECT_EQ(error.substr(0, c.saveError.size()), c.saveError) << error;

        const fs::file_type left = fs::symlink_status(c.path).type();
        if (c.make == Make::Link) {
            EXPECT_EQ(fs::read_symlink(c.path), c.linkTo);
        } else if (c.make == Make::Directory || c.make == Make::Fifo) {
            EXPECT_EQ(left, c.make == Make::Directory ? fs::file_type::directory : fs::file_type::fifo);
        } else {
            fs::permissions(c.path, fs::perms::owner_read);
            EXPECT_EQ(ReadFile(c.path), "short");
        }
        std::error_code nameTooLong;
        fs::remove(c.path);
        fs::remove(c.path + ".lock", nameTooLong);
        EXPECT_EQ(dir_.Entries(), before) << "no backup, no temporary file";
    }
    EXPECT_EQ(ReadFile(dir_ / "dir/inside"), "kept");
    EXPECT_TRUE(fs::is_fifo(dir_ / "fifo"));
    EXPECT_TRUE(!fs::exists(dir_ / "null") || fs::is_character_file(dir_ / "null"));
}

TEST_F(HighScoreFileTest, WhenEveryBackupNameIsTakenTheOldFileStays)
{
    // A thousand names are made much faster in memory than on a disk.
    const test::TempDir shm(fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path());
    const std::string path = shm / "Vorlix.HS";
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(::symlink("taken", (path + ".bak" + (n ? std::to_string(n) : "")).c_str()), 0);
    WriteFile(path, "short");
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path).Status, HighScoreLoadStatus::Failed);
    EXPECT_EQ(SaveHighScores(scores, path).Error,
              "cannot keep the old file: every name from Vorlix.HS.bak to Vorlix.HS.bak999 is taken");
    EXPECT_EQ(ReadFile(path), "short");
    EXPECT_EQ(shm.Entries(), 1002) << "and the lock";
}

// Where the old file cannot be linked to a backup name, as from a link into another file
// system, its bytes are copied under that name.
TEST_F(HighScoreFileTest, AnOldFileOnAnotherFileSystemIsKeptAsACopy)
{
    if (!fs::is_directory("/dev/shm"))
        GTEST_SKIP() << "no /dev/shm";
    const test::TempDir other("/dev/shm");
    struct stat here {}, there {};
    if (::stat(dir_.Path().c_str(), &here) != 0 || ::stat(other.Path().c_str(), &there) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "/dev/shm is on the same file system";
    const std::string target = other / "Vorlix.HS";
    ASSERT_EQ(::symlink(target.c_str(), path_.c_str()), 0);
    ASSERT_EQ(::symlink("taken", (path_ + ".bak").c_str()), 0);
    const mode_t savedMask = ::umask(022);

    struct Case {
        const char *name;
        rlim_t sizeLimit; // 0: none
        std::string backup, error;
        bool unreadable = false;
        bool readOnlyFolder = false; // the link's: the copy cannot be made beside it
    };
    std::vector<Case> cases = {
        {"copied", 0, path_ + ".bak1", ""},
        {"disk full while copying", 1000, "",
         std::string("cannot keep the old file as Vorlix.HS.bak2: ") + std::strerror(EFBIG)},
    };
    if (::geteuid() != 0) { // root reads and writes anyway
        const std::string denied = std::string("cannot keep the old file as Vorlix.HS.bak2: ") + std::strerror(EACCES);
        cases.push_back({"unreadable", 0, "", denied, true});
        cases.push_back({"read-only folder", 0, "", denied, false, true});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string old = Pattern(1559);
        WriteFile(target, old);
        fs::permissions(target, c.unreadable ? fs::perms::owner_write
                                             : fs::perms::owner_read | fs::perms::owner_write |
                                                   fs::perms::group_read | fs::perms::others_read);
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        SaveResult saved;
        {
            FileSizeLimit limit(c.sizeLimit ? c.sizeLimit : RLIM_INFINITY);
            if (c.readOnlyFolder)
                fs::permissions(dir_.Path(), fs::perms::owner_write, fs::perm_options::remove);
            saved = SaveHighScores(scores, path_);
            fs::permissions(dir_.Path(), fs::perms::owner_write, fs::perm_options::add);
        }
        fs::permissions(target, fs::perms::owner_read, fs::perm_options::add);
        EXPECT_EQ(saved.Error, c.error);
        EXPECT_EQ(saved.Backup, c.backup);
        EXPECT_EQ(fs::read_symlink(path_), target);
        if (c.backup.empty()) {
            EXPECT_EQ(ReadFile(target), old);
        } else {
            EXPECT_EQ(ReadFile(c.backup), old);
            EXPECT_EQ(test::FileMode(c.backup), 0644u);
            EXPECT_EQ(ReadFile(target), EncodeHighScores(scores));
        }
    }
    EXPECT_EQ(dir_.Entries(), 3) << "the file, the taken name and one backup";
    ::umask(savedMask);
}

} // namespace
} // namespace vorlix

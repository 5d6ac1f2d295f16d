#include "scores/HighScoreFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlix {
namespace {

namespace fs = std::filesystem;

class HighScoreFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vorlix-hs-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "Vorlix.HS").string();
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    static void Write(const std::string &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Every byte different from its neighbours, names without zero bytes included.
    static std::string Pattern(std::size_t size)
    {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
        return bytes;
    }

    static mode_t Mode(const std::string &path)
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    // Files in the test folder, the scores file included.
    std::ptrdiff_t Files() const { return std::distance(fs::directory_iterator(dir_), {}); }

    fs::path dir_;
    std::string path_;
};

// Writes beyond `bytes` fail (EFBIG) for any user, root included, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved_ {};
    void (*handler_)(int) = nullptr;
};

TEST_F(HighScoreFileTest, MissingFileIsTheQuietFirstRun)
{
    HighScores scores;
    scores.EasyScores[0].Score = 99;
    const HighScoreLoadResult result = LoadHighScores(scores, path_);
    EXPECT_EQ(result.Status, HighScoreLoadStatus::NoFile);
    EXPECT_EQ(scores.EasyScores[0].Score, 0u);
    EXPECT_FALSE(scores.KeepOldFileOnSave);

    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_), std::string(1560, '\0'));
    EXPECT_FALSE(fs::exists(path_ + ".bak"));
}

TEST_F(HighScoreFileTest, LoadThenSaveIsByteIdentical)
{
    const std::string original = Pattern(1560);
    Write(path_, original);
    HighScores scores;
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Loaded);
    EXPECT_EQ(EncodeHighScores(scores), original);

    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_), original);
    EXPECT_FALSE(fs::exists(path_ + ".bak"));
}

TEST_F(HighScoreFileTest, ResultStoredUnderEasyLandsInTheLastTableOfTheFile)
{
    HighScores scores;
    InsertHighScore(scores.EasyScores, 1, "abc", 8300, {"Points", 3, 12, 85, 2});
    ASSERT_EQ(SaveHighScores(scores, path_).Error, "");
    const std::string bytes = Read(path_);
    ASSERT_EQ(bytes.size(), 1560u);
    EXPECT_EQ(bytes.substr(1040, 3), "abc");
    EXPECT_EQ(bytes.substr(0, 1040), std::string(1040, '\0'));

    HighScores again;
    ASSERT_EQ(LoadHighScores(again, path_).Status, HighScoreLoadStatus::Loaded);
    EXPECT_EQ(again.EasyScores, scores.EasyScores);
}

TEST_F(HighScoreFileTest, ShortFileKeepsOnlyTheTablesReadWhole)
{
    const std::string original = Pattern(1559);
    Write(path_, original);
    HighScores scores;
    const HighScoreLoadResult result = LoadHighScores(scores, path_);
    EXPECT_EQ(result.Status, HighScoreLoadStatus::Failed);
    EXPECT_NE(result.Message.find("1559"), std::string::npos);
    EXPECT_TRUE(scores.KeepOldFileOnSave);

    const std::string loaded = EncodeHighScores(scores);
    EXPECT_EQ(loaded.substr(0, 1040), original.substr(0, 1040)); // Hard and Medium
    EXPECT_EQ(loaded.substr(1040), std::string(520, '\0'));      // Easy stays empty

    Write(path_, original.substr(0, 519));
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
    EXPECT_EQ(EncodeHighScores(scores), std::string(1560, '\0'));
}

TEST_F(HighScoreFileTest, SurplusBytesAreIgnoredAndDroppedAtTheNextSave)
{
    const std::string original = Pattern(1600);
    Write(path_, original);
    HighScores scores;
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Loaded);
    ASSERT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_), original.substr(0, 1560));
}

TEST_F(HighScoreFileTest, FirstSaveAfterAFailedLoadKeepsTheOldFileAsBak)
{
    const std::string original = Pattern(1559);
    Write(path_, original);
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);

    errno = ENOENT; // as a missing settings file leaves it: says nothing about this file
    ASSERT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_ + ".bak"), original);
    EXPECT_EQ(Read(path_), EncodeHighScores(scores));
    EXPECT_FALSE(scores.KeepOldFileOnSave);

    // Later saves leave the backup alone.
    InsertHighScore(scores.HardScores, 1, "later", 5, {"Points", 1, 0, 1, 0});
    ASSERT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_ + ".bak"), original);
    EXPECT_EQ(Read(path_).substr(0, 5), "later");
}

TEST_F(HighScoreFileTest, EachFailedLoadKeepsItsFileUnderTheNextFreeBackupName)
{
    // A name taken by anything, even a dangling link, is never reused.
    ASSERT_EQ(::symlink("nowhere", (path_ + ".bak2").c_str()), 0);
    const std::pair<std::string, std::string> runs[] = {
        {Pattern(1559), ".bak"}, {"second", ".bak1"}, {"third", ".bak3"}, {"", ".bak4"}};
    for (const auto &[old, backup] : runs) {
        SCOPED_TRACE(backup);
        Write(path_, old);
        fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        const HighScoreSaveResult saved = SaveHighScores(scores, path_);
        EXPECT_EQ(saved.Error, "");
        EXPECT_EQ(saved.Backup, path_ + backup);
        EXPECT_EQ(Read(path_ + backup), old);
        EXPECT_EQ(Mode(path_ + backup), 0600u) << "a private file stays private in its backup";
        EXPECT_EQ(Read(path_), EncodeHighScores(scores));
    }
    EXPECT_EQ(Read(path_ + ".bak"), Pattern(1559));
    EXPECT_EQ(Read(path_ + ".bak1"), "second");
    EXPECT_EQ(fs::read_symlink(path_ + ".bak2"), "nowhere");
}

TEST_F(HighScoreFileTest, ASaveThatFailsLeavesNoBackupBehind)
{
    // A short file and a full disk: each start fails to load it and each close fails to write.
    Write(path_, "short");
    for (int run = 0; run < 2; ++run) {
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        FileSizeLimit full(100);
        const HighScoreSaveResult saved = SaveHighScores(scores, path_);
        EXPECT_NE(saved.Error.find(std::strerror(EFBIG)), std::string::npos) << saved.Error;
        EXPECT_EQ(saved.Backup, "");
    }
    EXPECT_EQ(Read(path_), "short");
    EXPECT_EQ(Files(), 1) << "no backups pile up";

    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    // A protected short file: each close fails to replace it.
    fs::permissions(path_, fs::perms::owner_read);
    for (int run = 0; run < 2; ++run) {
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        const HighScoreSaveResult saved = SaveHighScores(scores, path_);
        EXPECT_NE(saved.Error.find("not writable"), std::string::npos) << saved.Error;
        EXPECT_EQ(saved.Backup, "");
    }
    EXPECT_EQ(Read(path_), "short");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1) << "no backups pile up";
}

TEST_F(HighScoreFileTest, FailedLoadOfAFileThatThenVanishedSavesWithoutBackup)
{
    Write(path_, "short");
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
    fs::remove(path_);
    EXPECT_EQ(SaveHighScores(scores, path_).Error, "");
    EXPECT_FALSE(fs::exists(path_ + ".bak"));
    EXPECT_EQ(Read(path_).size(), 1560u);
}

TEST_F(HighScoreFileTest, DirectoryOrFifoInThePlaceOfTheFileFailsWithoutHarm)
{
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    HighScores scores;
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed); // and does not hang
    fs::remove(path_);

    fs::create_directory(path_);
    Write(path_ + "/inside", "kept");
    const HighScoreLoadResult loaded = LoadHighScores(scores, path_);
    EXPECT_EQ(loaded.Status, HighScoreLoadStatus::Failed);
    EXPECT_EQ(loaded.Message, path_ + " is not a regular file");
    InsertHighScore(scores.HardScores, 1, "x", 5, {"Points", 1, 0, 1, 0});
    EXPECT_EQ(SaveHighScores(scores, path_).Error,
              "cannot keep the old file as " + path_ + ".bak: it is not a regular file");
    EXPECT_EQ(Read(path_ + "/inside"), "kept");

    // Also without the backup step.
    scores.KeepOldFileOnSave = false;
    EXPECT_NE(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_ + "/inside"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1); // no temporary left behind
}

// Whatever stands in the file's place and cannot be kept is left as it is, with a message
// that says why, and the save fails: nothing the player had is replaced.
TEST_F(HighScoreFileTest, AnOldFileThatCannotBeKeptStopsTheSave)
{
    struct Case {
        const char *name;
        std::string path;
        std::string linkTo; // the file is a symbolic link to this
        std::string loadMessage, saveMessage;
    };
    const std::string tooLong = (dir_ / std::string(252, 'n')).string(); // fits; "<name>.bak" does not
    const Case cases[] = {
        {"link loop", path_, "Vorlix.HS", "cannot open " + path_ + ": " + std::strerror(ELOOP),
         "cannot keep the old file as " + path_ + ".bak: " + std::strerror(ELOOP)},
        {"unreadable bytes", path_, "/proc/self/mem", "cannot read " + path_ + ": " + std::strerror(EIO),
         "cannot keep the old file as " + path_ + ".bak: " + std::strerror(EIO)},
        {"name too long for a backup", tooLong, "", tooLong + " holds 5 bytes instead of 1560",
         "cannot keep the old file as " + tooLong + ".bak: " + std::strerror(ENAMETOOLONG)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.linkTo.empty())
            Write(c.path, "short");
        else
            ASSERT_EQ(::symlink(c.linkTo.c_str(), c.path.c_str()), 0);
        HighScores scores;
        const HighScoreLoadResult loaded = LoadHighScores(scores, c.path);
        EXPECT_EQ(loaded.Status, HighScoreLoadStatus::Failed);
        EXPECT_EQ(loaded.Message, c.loadMessage);
        EXPECT_EQ(SaveHighScores(scores, c.path).Error, c.saveMessage);
        if (c.linkTo.empty())
            EXPECT_EQ(Read(c.path), "short");
        else
            EXPECT_EQ(fs::read_symlink(c.path), c.linkTo);
        EXPECT_EQ(Files(), 1) << "nothing left behind";
        fs::remove(c.path);
    }
}

TEST_F(HighScoreFileTest, WhenEveryBackupNameIsTakenTheOldFileStays)
{
    // A thousand names are made much faster in memory than on a disk.
    std::string pattern = "/dev/shm/vorlix-hs-XXXXXX";
    const fs::path dir = ::mkdtemp(pattern.data()) ? fs::path(pattern) : dir_;
    const std::string path = (dir / "Vorlix.HS").string();
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(::symlink("taken", (path + ".bak" + (n ? std::to_string(n) : "")).c_str()), 0);
    Write(path, "short");
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path).Status, HighScoreLoadStatus::Failed);
    EXPECT_EQ(SaveHighScores(scores, path).Error,
              "cannot keep the old file: every name from " + path + ".bak to " + path + ".bak999 is taken");
    EXPECT_EQ(Read(path), "short");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1001);
    if (dir != dir_)
        fs::remove_all(dir);
}

// Where the old file cannot be linked to a backup name, as from a link into another file
// system, its bytes are copied under that name.
TEST_F(HighScoreFileTest, AnOldFileOnAnotherFileSystemIsKeptAsACopy)
{
    std::string pattern = "/dev/shm/vorlix-hs-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        GTEST_SKIP() << "no /dev/shm";
    const fs::path other = pattern;
    struct stat here {}, there {};
    if (::stat(dir_.c_str(), &here) != 0 || ::stat(other.c_str(), &there) != 0 || here.st_dev == there.st_dev) {
        fs::remove_all(other);
        GTEST_SKIP() << "/dev/shm is on the same file system";
    }
    const std::string target = (other / "Vorlix.HS").string();
    ASSERT_EQ(::symlink(target.c_str(), path_.c_str()), 0);
    ASSERT_EQ(::symlink("taken", (path_ + ".bak").c_str()), 0);
    const mode_t savedMask = ::umask(022);

    struct Case {
        const char *name;
        rlim_t sizeLimit; // 0: none
        std::string backup, error;
    };
    const Case cases[] = {
        {"copied", 0, path_ + ".bak1", ""},
        {"disk full while copying", 1000, "",
         "cannot keep the old file as " + path_ + ".bak2: " + std::strerror(EFBIG)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string old = Pattern(1559);
        Write(target, old);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                    fs::perms::others_read);
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        HighScoreSaveResult saved;
        {
            FileSizeLimit limit(c.sizeLimit ? c.sizeLimit : RLIM_INFINITY);
            saved = SaveHighScores(scores, path_);
        }
        EXPECT_EQ(saved.Error, c.error);
        EXPECT_EQ(saved.Backup, c.backup);
        EXPECT_EQ(fs::read_symlink(path_), target);
        if (c.backup.empty()) {
            EXPECT_EQ(Read(target), old);
        } else {
            EXPECT_EQ(Read(c.backup), old);
            EXPECT_EQ(Mode(c.backup), 0644u);
            EXPECT_EQ(Read(target), EncodeHighScores(scores));
        }
    }
    EXPECT_EQ(Files(), 3) << "the file, the taken name and one backup";
    ::umask(savedMask);
    fs::remove_all(other);
}

TEST_F(HighScoreFileTest, FailedSaveLeavesThePreviousFileWhole)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    const std::string original = Pattern(1560);
    Write(path_, original);
    HighScores scores;
    ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Loaded);
    ClearHighScores(scores);

    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string error = SaveHighScores(scores, path_).Error;
    EXPECT_NE(error, "");
    EXPECT_NE(error.find(path_), std::string::npos);
    EXPECT_EQ(Read(path_), original);
}

TEST_F(HighScoreFileTest, UnreadableFileFailsTheLoad)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    Write(path_, Pattern(1560));
    fs::permissions(path_, fs::perms::none);
    HighScores scores;
    const HighScoreLoadResult result = LoadHighScores(scores, path_);
    EXPECT_EQ(result.Status, HighScoreLoadStatus::Failed);
    EXPECT_NE(result.Message, "");
    EXPECT_EQ(EncodeHighScores(scores), std::string(1560, '\0'));
}

} // namespace
} // namespace vorlix

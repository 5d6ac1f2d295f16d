#include "scores/HighScoreFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
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

    fs::path dir_;
    std::string path_;
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
        HighScores scores;
        ASSERT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
        const HighScoreSaveResult saved = SaveHighScores(scores, path_);
        EXPECT_EQ(saved.Error, "");
        EXPECT_EQ(saved.Backup, path_ + backup);
        EXPECT_EQ(Read(path_ + backup), old);
        EXPECT_EQ(Read(path_), EncodeHighScores(scores));
    }
    EXPECT_EQ(Read(path_ + ".bak"), Pattern(1559));
    EXPECT_EQ(Read(path_ + ".bak1"), "second");
    EXPECT_EQ(fs::read_symlink(path_ + ".bak2"), "nowhere");
}

TEST_F(HighScoreFileTest, ASaveThatFailsLeavesNoBackupBehind)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    // A protected short file: each start fails to load it and each close fails to replace it.
    Write(path_, "short");
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
    EXPECT_EQ(LoadHighScores(scores, path_).Status, HighScoreLoadStatus::Failed);
    InsertHighScore(scores.HardScores, 1, "x", 5, {"Points", 1, 0, 1, 0});
    EXPECT_NE(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_ + "/inside"), "kept");

    // Also without the backup step.
    scores.KeepOldFileOnSave = false;
    EXPECT_NE(SaveHighScores(scores, path_).Error, "");
    EXPECT_EQ(Read(path_ + "/inside"), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1); // no temporary left behind
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

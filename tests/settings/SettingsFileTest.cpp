#include "settings/SettingsFile.h"

#include "../common/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace vorlix {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class SettingsFile : public ::testing::Test {
protected:
    std::string IniPath() const { return dir.Path() + SettingsFileName; }

    // Settings as the game holds them at close after starting from `text`.
    Settings LoadText(const std::string &text)
    {
        WriteFile(IniPath(), text);
        Settings settings = MakeDefaultSettings(dir.Path());
        EXPECT_NE(LoadSettings(IniPath(), settings).status, SettingsFileStatus::Unreadable);
        return settings;
    }

    TempDir dir;
};

TEST_F(SettingsFile, WrittenWhereNoneExistedHoldsTheKeysInOrderWithDefaults)
{
    Settings settings = MakeDefaultSettings(dir.Path());
    const SettingsLoadResult loaded = LoadSettings(IniPath(), settings);
    EXPECT_EQ(loaded.status, SettingsFileStatus::Missing);
    EXPECT_EQ(loaded.message, "");
    settings.Sound = 0;
    settings.Music = 0;
    ASSERT_EQ(SaveSettings(IniPath(), settings).Error, "");

    const std::string &d = dir.Path();
    std::string expected = "[Files]\nAMidi=" + d + "VXAggressive.mid\nPMidi=" + d +
                           "VXPoints.mid\nDrop=" + d + "drop.wav\nLines=" + d +
                           "lines.wav\nBonus=" + d + "vorlix.wav\nLevel=" + d +
                           "level.wav\nBackGround=" + d + "bg.bmp\n";
    for (int n = 1; n <= 20; ++n)
        expected += "Piece" + std::to_string(n) + "=" + d + "piece" + std::to_string(n) + ".bmp\n";
    expected += "Pit=" + d + "pit.bmp\nBlank=" + d + "blank.bmp\n\n";
    expected += "[Settings]\nDifficulty=Easy\nName=Blah\nFullScreen=0\nTiled=1\nMode=Points\n"
                "Music=0\nSound=0\nPreview=1\nGravityDown=1\nNumberOfPlayers=1\n"
                "LevelChangeTime=60\nLevelChangeLines=5\nLevelChangePieces=10\nLevelChangeBy=1\n\n"
                "[Controls]\nP1Right=4116\nP2Right=65\nP1Left=4114\nP2Left=68\nP1Up=4115\n"
                "P2Up=87\nP1DownSlow=4117\nP2DownSlow=83\nP1DownFast=32\nP2DownFast=4128\n"
                "P1Bonus=4100\n\n"
                "[Points]\nAOne=150\nATwo=300\nAThree=600\nAFour=2000\nABonus=2000\nPOne=100\n"
                "PTwo=200\nPThree=400\nPFour=1600\nPBonus=2000\n\n";
    EXPECT_EQ(ReadFile(IniPath()), expected);
}

// The file the defaults save, with every value changed: 0 and 1 swapped, other numbers one
// more, texts longer. So each of the 64 keys read, written or defaulted wrongly shows.
std::string EveryValueChanged(const std::string &defaults)
{
    std::string text;
    std::istringstream lines(defaults);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            text += line + "\n";
            continue;
        }
        const std::string value = line.substr(equals + 1);
        std::string changed = value + "~";
        if (value == "0" || value == "1")
            changed = value == "0" ? "1" : "0";
        else if (value.find_first_not_of("0123456789") == std::string::npos)
            changed = std::to_string(std::stol(value) + 1);
        text += line.substr(0, equals + 1) + changed + "\n";
    }
    return text;
}

TEST_F(SettingsFile, EveryKeyIsReadIntoItsOwnSettingAndDefaultedToItsOwnDefault)
{
    const std::string fresh = dir.Path() + "fresh.ini";
    ASSERT_EQ(SaveSettings(fresh, MakeDefaultSettings(dir.Path())).Error, "");
    const std::string defaults = ReadFile(fresh);
    const std::string changed = EveryValueChanged(defaults);
    ASSERT_NE(changed, defaults);

    // Read into defaults, every changed value comes back out as it was.
    Settings settings = LoadText(changed);
    ASSERT_EQ(::unlink(fresh.c_str()), 0);
    ASSERT_EQ(SaveSettings(fresh, settings).Error, "");
    EXPECT_EQ(ReadFile(fresh), changed);

    // A file without those keys gives every setting its default back.
    WriteFile(IniPath(), "[Settings]\n");
    EXPECT_EQ(LoadSettings(IniPath(), settings).status, SettingsFileStatus::NoSetting);
    ASSERT_EQ(::unlink(fresh.c_str()), 0);
    ASSERT_EQ(SaveSettings(fresh, settings).Error, "");
    EXPECT_EQ(ReadFile(fresh), defaults);
}

// How a stored number becomes a setting; the numbers themselves are read as ParseInteger reads them.
TEST_F(SettingsFile, ReadsStoredValuesAsTheyWereAlwaysRead)
{
    EXPECT_FALSE(LoadText("[Settings]\nFullScreen=yes\n").FullScreen);
    EXPECT_TRUE(LoadText("[Settings]\nFullScreen=2\n").FullScreen);
    EXPECT_EQ(LoadText("[Settings]\nNumberOfPlayers=257\n").NumberOfPlayers, 1);
    EXPECT_EQ(LoadText("[Settings]\nNumberOfPlayers=-1\n").NumberOfPlayers, 255);
    EXPECT_EQ(LoadText("[Settings]\nDifficulty=easy\n").Difficulty, "easy");
    EXPECT_EQ(LoadText("[Settings]\nName=\n").PlayerName, "");
    EXPECT_EQ(LoadText("[settings]\nDifficulty=Hard\n").Difficulty, "Easy");
}

// The save writes over the file as it is: what the game does not know stays where it was.
TEST_F(SettingsFile, SaveKeepsWhatTheGameDoesNotKnowWhereItWas)
{
    Settings settings = LoadText("[Extra]\nColour=blue\n[Controls]\nTurbo=1\nP1Right=0x1014\n"
                                 "[settings]\nDifficulty=Hard\n[Settings]\nNumberOfPlayers=3\n");
    EXPECT_EQ(settings.NumberOfPlayers, 3);
    EXPECT_TRUE(settings.TwoPlayers());
    EXPECT_EQ(settings.P1Right, 0x1014);
    settings.P1Right = 'D';
    ASSERT_EQ(SaveSettings(IniPath(), settings).Error, "");

    const std::string text = ReadFile(IniPath());
    EXPECT_EQ(text.substr(0, text.find("[Settings]")),
              "[Extra]\nColour=blue\n\n[Controls]\nTurbo=1\nP1Right=68\nP2Right=65\nP1Left=4114\nP2Left=68\n"
              "P1Up=4115\nP2Up=87\nP1DownSlow=4117\nP2DownSlow=83\nP1DownFast=32\nP2DownFast=4128\nP1Bonus=4100\n\n"
              "[settings]\nDifficulty=Hard\n\n");
    EXPECT_NE(text.find("\n[Settings]\nNumberOfPlayers=3\nDifficulty=Easy\n"), std::string::npos);
    Settings reread = MakeDefaultSettings(dir.Path());
    LoadSettings(IniPath(), reread);
    EXPECT_EQ(reread.P1Right, 68);
    EXPECT_EQ(reread.NumberOfPlayers, 3);
}

// Whatever stands in the file's place and cannot be read gives the defaults, says why, and is
// never saved over.
TEST_F(SettingsFile, AnUnreadableFileGivesDefaultsAndIsNeverSavedOver)
{
    namespace fs = std::filesystem;
    const std::string path = IniPath();
    struct Case {
        const char *name;
        std::function<void()> make;
        std::string why;
    };
    std::vector<Case> cases = {
        // Fails to read even for root.
        {"directory", [&] { fs::create_directory(path); }, "it is a directory"},
        // Bytes that fail to read, for any user.
        {"link to unreadable bytes", [&] { fs::create_symlink("/proc/self/mem", path); }, std::strerror(EIO)},
        // Larger than any settings file, as a stray disk image (sparse: no disk used): all 64
        // keys take about 3 KB, and a mebibyte is the most read.
        {"too large",
         [&] {
             WriteFile(path, "");
             fs::resize_file(path, std::uintmax_t{1} << 20 | 1);
         },
         "the file is too large"},
    };
    if (::geteuid() != 0) // root reads files regardless of their permission bits
        cases.push_back({"no permission to read",
                         [&] {
                             WriteFile(path, "[Extra]\nKeep=me\n");
                             fs::permissions(path, fs::perms::owner_write);
                         },
                         std::strerror(EACCES)});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        const fs::file_type type = fs::symlink_status(path).type();
        const std::uintmax_t size = type == fs::file_type::regular ? fs::file_size(path) : 0;
        Settings settings = MakeDefaultSettings(dir.Path());
        settings.LevelChangeTime = 5;
        const SettingsLoadResult loaded = LoadSettings(path, settings);
        EXPECT_EQ(loaded.status, SettingsFileStatus::Unreadable);
        EXPECT_NE(loaded.message.find("\"" + path + "\" could not be read: " + c.why + "."), std::string::npos)
            << loaded.message;
        EXPECT_EQ(settings.LevelChangeTime, 60);
        EXPECT_EQ(SaveSettings(path, settings).Error, "the existing file could not be read: " + c.why);
        EXPECT_EQ(fs::symlink_status(path).type(), type);
        if (type == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(path), size);
        }
        fs::remove(path);
    }
}

// A file that holds not one of the game's keys is kept whole as a backup before the defaults
// replace it; one key of the game's is enough for it to be the game's file.
TEST_F(SettingsFile, AFileWithoutOneSettingIsKeptAsABackup)
{
    std::string garbage(4000, '\0');
    std::generate(garbage.begin(), garbage.end(), std::mt19937(7));
    const std::pair<std::string, bool> cases[] = { // contents, kept as a backup
        {garbage, true}, {"[Mine]\nnote=1\n", true}, {"[settings]\nDifficulty=Hard\n", true},
        {"[Settings]\nLevelChangeTime=abc\n", false}, {"", false}, {"[Files]\nPiece1=a\n", false},
        {"[Files]\nPiece20=a\n", false}, {"[Files]\nPiece0=a\n", true}, {"[Files]\nPiece21=a\n", true},
    };
    for (const auto &[contents, kept] : cases) {
        SCOPED_TRACE(contents.substr(0, 20));
        WriteFile(IniPath(), contents);
        Settings settings = MakeDefaultSettings(dir.Path());
        EXPECT_EQ(LoadSettings(IniPath(), settings).status == SettingsFileStatus::NoSetting, kept);
        const SaveResult saved = SaveSettings(IniPath(), settings);
        EXPECT_EQ(saved.Error, "");
        EXPECT_EQ(saved.Backup, kept ? IniPath() + ".bak" : "");
        EXPECT_EQ(kept ? ReadFile(IniPath() + ".bak") : contents, contents);
        EXPECT_NE(ReadFile(IniPath()).find("\nAMidi="), std::string::npos);
        std::filesystem::remove(IniPath() + ".bak");
    }
}

// As large a file as is read: tens of thousands of keys the game does not know, and one it does.
TEST_F(SettingsFile, AMebibyteOfLinesLoadsWithinATenthOfASecond)
{
    std::string text = "[Settings]\nName=x\n";
    for (int n = 0; text.size() < (1u << 20) - 64; ++n)
        text += (n % 100 == 0 ? "; section " + std::to_string(n) + "\r\n[S" + std::to_string(n / 100) + "]\n" : "") +
                " Key" + std::to_string(n) + " = \t" + std::to_string(n * 7919) + "\n";
    WriteFile(IniPath(), text);
    std::vector<double> seconds;
    for (int run = 0; run < 3; ++run) {
        Settings settings = MakeDefaultSettings(dir.Path());
        const auto start = std::chrono::steady_clock::now();
        const SettingsLoadResult loaded = LoadSettings(IniPath(), settings);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        ASSERT_EQ(loaded.status, SettingsFileStatus::Loaded);
    }
    std::sort(seconds.begin(), seconds.end());
    RecordProperty("median_load_ms", std::to_string(static_cast<int>(seconds[1] * 1000)));
    std::cout << "1 MiB load, median of 3: " << seconds[1] * 1000 << " ms\n";
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    EXPECT_LT(seconds[1], 0.1);
#endif
}

} // namespace
} // namespace vorlix

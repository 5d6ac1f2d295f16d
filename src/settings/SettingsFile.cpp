#include "settings/SettingsFile.h"

#include "common/AtomicFile.h"
#include "common/FileRead.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

namespace vorlix {

namespace {

// All 64 keys take about 3 KB. Refusing more than this keeps a stray huge file from taking
// seconds and memory at start and at close.
constexpr std::size_t MaxFileSize = 1024 * 1024;

enum class ReadStatus { Missing, Read, Failed };

ReadStatus ReadWholeFile(const std::string &path, std::string &contents, std::string &why)
{
    using Status = FileReadResult::Status;
    FileReadResult file = ReadFileStart(path, MaxFileSize);
    contents = std::move(file.contents);
    switch (file.status) {
    case Status::Missing:
        return ReadStatus::Missing;
    case Status::NotRegular:
        why = "it is " + FileTypeText(file.type);
        break;
    case Status::OpenFailed:
    case Status::ReadFailed:
        why = std::strerror(file.error);
        break;
    case Status::Read:
        if (!file.truncated)
            return ReadStatus::Read;
        why = "the file is too large";
        break;
    }
    return ReadStatus::Failed;
}

std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

// A stored setting; PieceFiles stands for the twenty keys Piece1 ... Piece20.
using StoredField = std::variant<std::string Settings::*, bool Settings::*, std::int32_t Settings::*,
                                 std::uint8_t Settings::*, std::array<std::string, 21> Settings::*>;

struct StoredKey {
    const char *section;
    std::string_view name;
    StoredField field;
    std::size_t written; // its place in the order the file is written, so in a new file
};

// Every key once, in the order the file is read. One-byte settings keep the low 8 bits.
constexpr StoredKey StoredKeys[] = {
    {"Files", "AMidi", &Settings::AggressiveMidiFile, 0},
    {"Files", "PMidi", &Settings::PointsMidiFile, 1},
    {"Files", "Lines", &Settings::LinesSoundFile, 3},
    {"Files", "Bonus", &Settings::BonusSoundFile, 4},
    {"Files", "Level", &Settings::LevelSoundFile, 5},
    {"Files", "Drop", &Settings::DropSoundFile, 2},
    {"Files", "BackGround", &Settings::BackgroundFile, 6},
    {"Files", "Piece", &Settings::PieceFiles, 7},
    {"Files", "Pit", &Settings::PitFile, 8},
    {"Files", "Blank", &Settings::BlankFile, 9},
    {"Settings", "Difficulty", &Settings::Difficulty, 10},
    {"Settings", "Name", &Settings::PlayerName, 11},
    {"Settings", "FullScreen", &Settings::FullScreen, 12},
    {"Settings", "Tiled", &Settings::Tiled, 13},
    {"Settings", "Music", &Settings::Music, 15},
    {"Settings", "Sound", &Settings::Sound, 16},
    {"Settings", "Preview", &Settings::Preview, 17},
    {"Settings", "Mode", &Settings::Mode, 14},
    {"Settings", "GravityDown", &Settings::GravityDown, 18},
    {"Settings", "LevelChangeTime", &Settings::LevelChangeTime, 20},
    {"Settings", "LevelChangeLines", &Settings::LevelChangeLines, 21},
    {"Settings", "LevelChangePieces", &Settings::LevelChangePieces, 22},
    {"Settings", "LevelChangeBy", &Settings::LevelChangeBy, 23},
    {"Settings", "NumberOfPlayers", &Settings::NumberOfPlayers, 19},
    {"Controls", "P1Right", &Settings::P1Right, 24},
    {"Controls", "P2Right", &Settings::P2Right, 25},
    {"Controls", "P1Left", &Settings::P1Left, 26},
    {"Controls", "P2Left", &Settings::P2Left, 27},
    {"Controls", "P1Up", &Settings::P1Up, 28},
    {"Controls", "P2Up", &Settings::P2Up, 29},
    {"Controls", "P1DownSlow", &Settings::P1DownSlow, 30},
    {"Controls", "P2DownSlow", &Settings::P2DownSlow, 31},
    {"Controls", "P1DownFast", &Settings::P1DownFast, 32},
    {"Controls", "P2DownFast", &Settings::P2DownFast, 33},
    {"Controls", "P1Bonus", &Settings::P1Bonus, 34},
    {"Points", "AOne", &Settings::AOne, 35},
    {"Points", "ATwo", &Settings::ATwo, 36},
    {"Points", "AThree", &Settings::AThree, 37},
    {"Points", "AFour", &Settings::AFour, 38},
    {"Points", "ABonus", &Settings::ABonus, 39},
    {"Points", "POne", &Settings::POne, 40},
    {"Points", "PTwo", &Settings::PTwo, 41},
    {"Points", "PThree", &Settings::PThree, 42},
    {"Points", "PFour", &Settings::PFour, 43},
    {"Points", "PBonus", &Settings::PBonus, 44},
};

// The keys' indices in the order the file is written.
constexpr auto WriteOrder = [] {
    std::array<std::size_t, std::size(StoredKeys)> order{};
    for (std::size_t i = 0; i < order.size(); ++i)
        order.at(StoredKeys[i].written) = i;
    return order;
}();

// A file of which not one key is the game's: not a settings file, or one damaged beyond use.
bool HoldsNoSetting(const std::string &contents)
{
    const IniDocument ini = IniDocument::Parse(contents);
    return !contents.empty() && std::none_of(std::begin(StoredKeys), std::end(StoredKeys), [&ini](const StoredKey &key) {
        if (!std::holds_alternative<std::array<std::string, 21> Settings::*>(key.field))
            return ini.Find(key.section, key.name) != nullptr;
        return std::ranges::any_of(PieceNumbers, [&](std::size_t n) {
            return ini.Find(key.section, std::string(key.name) + std::to_string(n)) != nullptr;
        });
    });
}

} // namespace

void ReadSettings(const IniDocument &ini, Settings &s)
{
    const Settings d = MakeDefaultSettings(s.GameDir);
    for (const StoredKey &key : StoredKeys) {
        std::visit(
            [&](auto field) {
                using Value = std::remove_cvref_t<decltype(s.*field)>;
                if constexpr (std::is_same_v<Value, std::string>)
                    s.*field = ini.ReadString(key.section, key.name, d.*field);
                else if constexpr (std::is_same_v<Value, bool>)
                    s.*field = ini.ReadBool(key.section, key.name, d.*field);
                else if constexpr (std::is_same_v<Value, std::int32_t>)
                    s.*field = ini.ReadInteger(key.section, key.name, d.*field);
                else if constexpr (std::is_same_v<Value, std::uint8_t>)
                    s.*field = LowByte(ini.ReadInteger(key.section, key.name, d.*field));
                else
                    for (const std::size_t n : PieceNumbers)
                        (s.*field)[n] = ini.ReadString(key.section, std::string(key.name) + std::to_string(n), (d.*field)[n]);
            },
            key.field);
    }
}

void WriteSettings(const Settings &s, IniDocument &ini)
{
    for (const std::size_t index : WriteOrder) {
        const StoredKey &key = StoredKeys[index];
        std::visit(
            [&](auto field) {
                using Value = std::remove_cvref_t<decltype(s.*field)>;
                if constexpr (std::is_same_v<Value, std::string>)
                    ini.WriteString(key.section, key.name, s.*field);
                else if constexpr (std::is_same_v<Value, bool>)
                    ini.WriteBool(key.section, key.name, s.*field);
                else if constexpr (std::is_same_v<Value, std::int32_t> || std::is_same_v<Value, std::uint8_t>)
                    ini.WriteInteger(key.section, key.name, s.*field);
                else
                    for (const std::size_t n : PieceNumbers)
                        ini.WriteString(key.section, std::string(key.name) + std::to_string(n), (s.*field)[n]);
            },
            key.field);
    }
}

SettingsLoadResult LoadSettings(const std::string &path, Settings &settings)
{
    std::string contents;
    std::string why;
    const ReadStatus status = ReadWholeFile(path, contents, why);
    ReadSettings(IniDocument::Parse(status == ReadStatus::Read ? contents : std::string()), settings);

    switch (status) {
    case ReadStatus::Missing:
        return {SettingsFileStatus::Missing, {}};
    case ReadStatus::Read:
        if (HoldsNoSetting(contents))
            return {SettingsFileStatus::NoSetting,
                    "The settings file \"" + path + "\" holds no setting the game can read.\n"
                    "The game starts with the default settings and keeps a copy of that file when it closes."};
        return {SettingsFileStatus::Loaded, {}};
    case ReadStatus::Failed:
        break;
    }
    return {SettingsFileStatus::Unreadable,
            "The settings file \"" + path + "\" could not be read: " + why +
                ".\nThe game starts with the default settings and will not overwrite that file."};
}

SaveResult SaveSettings(const std::string &path, const Settings &settings)
{
    std::string contents;
    std::string why;
    if (ReadWholeFile(path, contents, why) == ReadStatus::Failed)
        return {"the existing file could not be read: " + why, {}};
    IniDocument ini = IniDocument::Parse(contents);
    WriteSettings(settings, ini);
    return WriteFileAtomically(path, ini.Serialize(), HoldsNoSetting(contents));
}

} // namespace vorlix

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vorlix {

// Key codes are the 16-bit codes of the keyboard layer: letters upper-case, Space 0x20,
// special keys 0x1000 + n (Escape 0x1000, Left 0x1012, Right 0x1014).
namespace Key {
inline constexpr std::int32_t Escape = 0x1000;
inline constexpr std::int32_t Return = 0x1004;
inline constexpr std::int32_t Left = 0x1012;
inline constexpr std::int32_t Up = 0x1013;
inline constexpr std::int32_t Right = 0x1014;
inline constexpr std::int32_t Down = 0x1015;
inline constexpr std::int32_t Shift = 0x1020;
inline constexpr std::int32_t Control = 0x1021;
inline constexpr std::int32_t Alt = 0x1023;
inline constexpr std::int32_t F1 = 0x1030;
inline constexpr std::int32_t F2 = 0x1031;
inline constexpr std::int32_t Space = 0x20;
inline constexpr std::int32_t C = 0x43;
inline constexpr std::int32_t Unknown = 0xFFFF;
} // namespace Key

// The piece pictures, 1 ... 20, as their keys Piece1 ... Piece20 number them. An array, not
// std::views::iota: clang 14 (the fuzzing build) cannot compile libstdc++ 12's iota_view.
inline constexpr std::array<std::size_t, 20> PieceNumbers = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                                             11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

// What changes the level, as LevelChangeBy stores it; any other number never changes it.
enum class LevelRule : std::int32_t { Time = 1, Lines = 2, Pieces = 3 };

// The program-wide settings variables. Member initialisers are the defaults used when the
// settings file or one of its keys is missing, and by the settings dialog's Defaults (but for
// player 2's keys); the file names get theirs from MakeDefaultSettings.
struct Settings {
    std::string GameDir; // directory of the program file, ending in '/'

    // [Files] — absolute paths
    std::string AggressiveMidiFile;
    std::string PointsMidiFile;
    std::string LinesSoundFile;
    std::string BonusSoundFile;
    std::string LevelSoundFile;
    std::string DropSoundFile;
    std::string BackgroundFile;
    std::array<std::string, 21> PieceFiles; // entries PieceNumbers; 0 unused
    std::string PitFile;
    std::string BlankFile;

    // [Settings]
    std::string Difficulty = "Easy";
    std::string PlayerName = "Blah";
    bool FullScreen = false;
    bool Tiled = true;
    std::uint8_t Music = 1;
    std::uint8_t Sound = 1;
    std::uint8_t Preview = 1;
    std::string Mode = "Points";
    bool GravityDown = true;
    std::int32_t LevelChangeTime = 60;
    std::int32_t LevelChangeLines = 5;
    std::int32_t LevelChangePieces = 10;
    std::int32_t LevelChangeBy = 1;
    std::uint8_t NumberOfPlayers = 1; // any value but 1 plays as two players

    // [Controls]
    std::int32_t P1Right = Key::Right;
    std::int32_t P2Right = 0x41; // A
    std::int32_t P1Left = Key::Left;
    std::int32_t P2Left = 0x44; // D
    std::int32_t P1Up = Key::Up;
    std::int32_t P2Up = 0x57; // W
    std::int32_t P1DownSlow = Key::Down;
    std::int32_t P2DownSlow = 0x53; // S
    std::int32_t P1DownFast = Key::Space;
    std::int32_t P2DownFast = Key::Shift;
    std::int32_t P1Bonus = Key::Return;

    // [Points]
    std::int32_t AOne = 150;
    std::int32_t ATwo = 300;
    std::int32_t AThree = 600;
    std::int32_t AFour = 2000;
    std::int32_t ABonus = 2000;
    std::int32_t POne = 100;
    std::int32_t PTwo = 200;
    std::int32_t PThree = 400;
    std::int32_t PFour = 1600;
    std::int32_t PBonus = 2000;

    // Not stored: the music of the current mode, set at start-up and kept in step with Mode.
    std::string MusicFile;

    bool TwoPlayers() const { return NumberOfPlayers != 1; }
    // Which of DifficultyNames the stored text is (case-sensitive: "easy" is none of them).
    std::optional<std::size_t> DifficultyIndex() const;
    // A Mode that is neither scores no rows and plays as Points otherwise.
    bool Aggressive() const { return Mode == "Aggressive"; }
    bool PointsMode() const { return Mode == "Points"; }
    bool LevelChangesBy(LevelRule rule) const { return LevelChangeBy == static_cast<std::int32_t>(rule); }
};

// The three difficulties as the file stores them, in the menu's order.
inline constexpr std::array<const char *, 3> DifficultyNames = {"Easy", "Medium", "Hard"};

// One player's key bindings among the flat P1* and P2* fields, in the order the settings dialog
// captures them. Player 2 has no bonus key: his bindings end before Bonus.
namespace KeyRole {
enum : std::size_t { Up, DownFast, DownSlow, Left, Right, Bonus };
}
using KeyBinding = std::int32_t Settings::*;
std::span<const KeyBinding> PlayerKeys(int player); // player 0 or 1

// Defaults with every file name set to gameDir + its fixed name.
Settings MakeDefaultSettings(const std::string &gameDir);

// The Graphics defaults: the picture file names for gameDir.
void SetDefaultPictureFiles(Settings &settings);

} // namespace vorlix

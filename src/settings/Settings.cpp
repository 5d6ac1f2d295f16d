#include "settings/Settings.h"

#include <algorithm>

namespace vorlix {

namespace {
constexpr std::array<KeyBinding, 6> Player1Bindings = {
    &Settings::P1Up, &Settings::P1DownFast, &Settings::P1DownSlow, &Settings::P1Left, &Settings::P1Right, &Settings::P1Bonus};
constexpr std::array<KeyBinding, 5> Player2Bindings = {
    &Settings::P2Up, &Settings::P2DownFast, &Settings::P2DownSlow, &Settings::P2Left, &Settings::P2Right};
} // namespace

std::optional<std::size_t> Settings::DifficultyIndex() const
{
    const auto found = std::find(DifficultyNames.begin(), DifficultyNames.end(), Difficulty);
    return found == DifficultyNames.end() ? std::nullopt : std::optional(static_cast<std::size_t>(found - DifficultyNames.begin()));
}

std::span<const KeyBinding> PlayerKeys(int player)
{
    if (player == 0)
        return Player1Bindings;
    return Player2Bindings;
}

void SetDefaultPictureFiles(Settings &settings)
{
    const std::string &dir = settings.GameDir;
    settings.BackgroundFile = dir + "bg.bmp";
    for (const std::size_t n : PieceNumbers)
        settings.PieceFiles[n] = dir + "piece" + std::to_string(n) + ".bmp";
    settings.PitFile = dir + "pit.bmp";
    settings.BlankFile = dir + "blank.bmp";
}

Settings MakeDefaultSettings(const std::string &gameDir)
{
    Settings settings;
    settings.GameDir = gameDir;
    settings.AggressiveMidiFile = gameDir + "VXAggressive.mid";
    settings.PointsMidiFile = gameDir + "VXPoints.mid";
    settings.LinesSoundFile = gameDir + "lines.wav";
    settings.BonusSoundFile = gameDir + "vorlix.wav";
    settings.LevelSoundFile = gameDir + "level.wav";
    settings.DropSoundFile = gameDir + "drop.wav";
    SetDefaultPictureFiles(settings);
    return settings;
}

} // namespace vorlix

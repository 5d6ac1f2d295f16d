#include "settings/Settings.h"

namespace vorlix {

void SetDefaultPictureFiles(Settings &settings)
{
    const std::string &dir = settings.GameDir;
    settings.BackgroundFile = dir + "bg.bmp";
    for (int n = 1; n <= 20; ++n)
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
    settings.MusicFile = settings.PointsMidiFile;
    return settings;
}

} // namespace vorlix

#include "settings/SettingsFile.h"

#include "common/AtomicFile.h"
#include "common/FileRead.h"

#include <cstring>
#include <utility>

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
    why.clear();
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

std::string PieceKey(int n) { return "Piece" + std::to_string(n); }

} // namespace

void ReadSettings(const IniDocument &ini, Settings &s)
{
    const Settings d = MakeDefaultSettings(s.GameDir);

    s.AggressiveMidiFile = ini.ReadString("Files", "AMidi", d.AggressiveMidiFile);
    s.PointsMidiFile = ini.ReadString("Files", "PMidi", d.PointsMidiFile);
    s.LinesSoundFile = ini.ReadString("Files", "Lines", d.LinesSoundFile);
    s.BonusSoundFile = ini.ReadString("Files", "Bonus", d.BonusSoundFile);
    s.LevelSoundFile = ini.ReadString("Files", "Level", d.LevelSoundFile);
    s.DropSoundFile = ini.ReadString("Files", "Drop", d.DropSoundFile);
    s.BackgroundFile = ini.ReadString("Files", "BackGround", d.BackgroundFile);
    for (int n = 1; n <= 20; ++n)
        s.PieceFiles[n] = ini.ReadString("Files", PieceKey(n), d.PieceFiles[n]);
    s.PitFile = ini.ReadString("Files", "Pit", d.PitFile);
    s.BlankFile = ini.ReadString("Files", "Blank", d.BlankFile);

    s.Difficulty = ini.ReadString("Settings", "Difficulty", d.Difficulty);
    s.PlayerName = ini.ReadString("Settings", "Name", d.PlayerName);
    s.FullScreen = ini.ReadBool("Settings", "FullScreen", d.FullScreen);
    s.Tiled = ini.ReadBool("Settings", "Tiled", d.Tiled);
    s.Music = LowByte(ini.ReadInteger("Settings", "Music", d.Music));
    s.Sound = LowByte(ini.ReadInteger("Settings", "Sound", d.Sound));
    s.Preview = LowByte(ini.ReadInteger("Settings", "Preview", d.Preview));
    s.Mode = ini.ReadString("Settings", "Mode", d.Mode);
    s.GravityDown = ini.ReadBool("Settings", "GravityDown", d.GravityDown);
    s.LevelChangeTime = ini.ReadInteger("Settings", "LevelChangeTime", d.LevelChangeTime);
    s.LevelChangeLines = ini.ReadInteger("Settings", "LevelChangeLines", d.LevelChangeLines);
    s.LevelChangePieces = ini.ReadInteger("Settings", "LevelChangePieces", d.LevelChangePieces);
    s.LevelChangeBy = ini.ReadInteger("Settings", "LevelChangeBy", d.LevelChangeBy);
    s.NumberOfPlayers = LowByte(ini.ReadInteger("Settings", "NumberOfPlayers", d.NumberOfPlayers));

    s.P1Right = ini.ReadInteger("Controls", "P1Right", d.P1Right);
    s.P2Right = ini.ReadInteger("Controls", "P2Right", d.P2Right);
    s.P1Left = ini.ReadInteger("Controls", "P1Left", d.P1Left);
    s.P2Left = ini.ReadInteger("Controls", "P2Left", d.P2Left);
    s.P1Up = ini.ReadInteger("Controls", "P1Up", d.P1Up);
    s.P2Up = ini.ReadInteger("Controls", "P2Up", d.P2Up);
    s.P1DownSlow = ini.ReadInteger("Controls", "P1DownSlow", d.P1DownSlow);
    s.P2DownSlow = ini.ReadInteger("Controls", "P2DownSlow", d.P2DownSlow);
    s.P1DownFast = ini.ReadInteger("Controls", "P1DownFast", d.P1DownFast);
    s.P2DownFast = ini.ReadInteger("Controls", "P2DownFast", d.P2DownFast);
    s.P1Bonus = ini.ReadInteger("Controls", "P1Bonus", d.P1Bonus);

    s.AOne = ini.ReadInteger("Points", "AOne", d.AOne);
    s.ATwo = ini.ReadInteger("Points", "ATwo", d.ATwo);
    s.AThree = ini.ReadInteger("Points", "AThree", d.AThree);
    s.AFour = ini.ReadInteger("Points", "AFour", d.AFour);
    s.ABonus = ini.ReadInteger("Points", "ABonus", d.ABonus);
    s.POne = ini.ReadInteger("Points", "POne", d.POne);
    s.PTwo = ini.ReadInteger("Points", "PTwo", d.PTwo);
    s.PThree = ini.ReadInteger("Points", "PThree", d.PThree);
    s.PFour = ini.ReadInteger("Points", "PFour", d.PFour);
    s.PBonus = ini.ReadInteger("Points", "PBonus", d.PBonus);
}

void WriteSettings(const Settings &s, IniDocument &ini)
{
    ini.WriteString("Files", "AMidi", s.AggressiveMidiFile);
    ini.WriteString("Files", "PMidi", s.PointsMidiFile);
    ini.WriteString("Files", "Drop", s.DropSoundFile);
    ini.WriteString("Files", "Lines", s.LinesSoundFile);
    ini.WriteString("Files", "Bonus", s.BonusSoundFile);
    ini.WriteString("Files", "Level", s.LevelSoundFile);
    ini.WriteString("Files", "BackGround", s.BackgroundFile);
    for (int n = 1; n <= 20; ++n)
        ini.WriteString("Files", PieceKey(n), s.PieceFiles[n]);
    ini.WriteString("Files", "Pit", s.PitFile);
    ini.WriteString("Files", "Blank", s.BlankFile);

    ini.WriteString("Settings", "Difficulty", s.Difficulty);
    ini.WriteString("Settings", "Name", s.PlayerName);
    ini.WriteBool("Settings", "FullScreen", s.FullScreen);
    ini.WriteBool("Settings", "Tiled", s.Tiled);
    ini.WriteString("Settings", "Mode", s.Mode);
    ini.WriteInteger("Settings", "Music", s.Music);
    ini.WriteInteger("Settings", "Sound", s.Sound);
    ini.WriteInteger("Settings", "Preview", s.Preview);
    ini.WriteBool("Settings", "GravityDown", s.GravityDown);
    ini.WriteInteger("Settings", "NumberOfPlayers", s.NumberOfPlayers);
    ini.WriteInteger("Settings", "LevelChangeTime", s.LevelChangeTime);
    ini.WriteInteger("Settings", "LevelChangeLines", s.LevelChangeLines);
    ini.WriteInteger("Settings", "LevelChangePieces", s.LevelChangePieces);
    ini.WriteInteger("Settings", "LevelChangeBy", s.LevelChangeBy);

    ini.WriteInteger("Controls", "P1Right", s.P1Right);
    ini.WriteInteger("Controls", "P2Right", s.P2Right);
    ini.WriteInteger("Controls", "P1Left", s.P1Left);
    ini.WriteInteger("Controls", "P2Left", s.P2Left);
    ini.WriteInteger("Controls", "P1Up", s.P1Up);
    ini.WriteInteger("Controls", "P2Up", s.P2Up);
    ini.WriteInteger("Controls", "P1DownSlow", s.P1DownSlow);
    ini.WriteInteger("Controls", "P2DownSlow", s.P2DownSlow);
    ini.WriteInteger("Controls", "P1DownFast", s.P1DownFast);
    ini.WriteInteger("Controls", "P2DownFast", s.P2DownFast);
    ini.WriteInteger("Controls", "P1Bonus", s.P1Bonus);

    ini.WriteInteger("Points", "AOne", s.AOne);
    ini.WriteInteger("Points", "ATwo", s.ATwo);
    ini.WriteInteger("Points", "AThree", s.AThree);
    ini.WriteInteger("Points", "AFour", s.AFour);
    ini.WriteInteger("Points", "ABonus", s.ABonus);
    ini.WriteInteger("Points", "POne", s.POne);
    ini.WriteInteger("Points", "PTwo", s.PTwo);
    ini.WriteInteger("Points", "PThree", s.PThree);
    ini.WriteInteger("Points", "PFour", s.PFour);
    ini.WriteInteger("Points", "PBonus", s.PBonus);
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
        return {SettingsFileStatus::Loaded, {}};
    case ReadStatus::Failed:
        break;
    }
    return {SettingsFileStatus::Unreadable,
            "The settings file \"" + path + "\" could not be read: " + why +
                ".\nThe game starts with the default settings and will not overwrite that file."};
}

std::string SaveSettings(const std::string &path, const Settings &settings)
{
    std::string contents;
    std::string why;
    if (ReadWholeFile(path, contents, why) == ReadStatus::Failed)
        return "the existing file could not be read: " + why;

    IniDocument ini = IniDocument::Parse(contents);
    WriteSettings(settings, ini);
    return WriteFileAtomically(path, ini.Serialize());
}

} // namespace vorlix

#pragma once

#include "common/AtomicFile.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <string>

namespace vorlix {

// The settings file's name in GameDir.
inline constexpr const char *SettingsFileName = "Vorlix.ini";

enum class SettingsFileStatus {
    Missing,    // no file: every setting has its default, silently
    Loaded,
    Unreadable, // the file exists but could not be read: defaults, and it must not be saved over
    NoSetting,  // not one of the game's keys in it: defaults, and the save keeps it as a backup
};

struct SettingsLoadResult {
    SettingsFileStatus status = SettingsFileStatus::Missing;
    std::string message; // for Unreadable and NoSetting: names the file and says why, ready for a warning box
};

// Sets every stored setting from the file at `path`; keys that are missing or hold no usable
// number take their defaults (file names under settings.GameDir). GameDir and MusicFile are left
// alone. One-byte settings keep the low 8 bits of the number.
SettingsLoadResult LoadSettings(const std::string &path, Settings &settings);

// Writes every stored setting into the file at `path`, over its current contents, so that
// sections and keys the game does not know stay where they are. The file is replaced atomically;
// an existing file that cannot be read is left alone, and one that holds not one of the game's
// keys is first kept under the first free name of "<path>.bak", "<path>.bak1", ... The caller
// names the file in a message.
SaveResult SaveSettings(const std::string &path, const Settings &settings);

// The two halves of the above without the file: all 64 keys, in the order the file lists them.
void ReadSettings(const IniDocument &ini, Settings &settings);
void WriteSettings(const Settings &settings, IniDocument &ini);

} // namespace vorlix

#pragma once

#include "scores/HighScores.h"

#include <cstdint>
#include <string>

namespace vorlix {

// The high-score file's name in GameDir.
inline constexpr const char *HighScoreFileName = "Vorlix.HS";

// Little-endian, field by field: 1,560 bytes in the file order Hard, Medium, Easy.
std::string EncodeHighScores(const HighScores &scores);
void EncodeHighScoreEntry(const HighScoreEntry &entry, std::uint8_t *out52);
HighScoreEntry DecodeHighScoreEntry(const std::uint8_t *in52);

enum class HighScoreLoadStatus {
    Loaded, // all three tables read
    NoFile, // nothing at the path: the normal first run
    Failed, // Message says why; the tables read whole before the failure are kept
};

struct HighScoreLoadResult {
    HighScoreLoadStatus Status = HighScoreLoadStatus::NoFile;
    std::string Message;
};

// Reads the file at `path` once, read-only, into all three tables. A table is taken only when
// all its 520 bytes are present; the failing table and the ones after it are all-zero, as is
// every table when there is no file. Bytes after 1,560 are ignored. A failure on an existing
// file sets scores.KeepOldFileOnSave.
HighScoreLoadResult LoadHighScores(HighScores &scores, const std::string &path);

struct HighScoreSaveResult {
    std::string Error;  // "" when the file was written, else a message for the player
    std::string Backup; // where the file that failed to load was kept, or ""
};

// Replaces the file at `path` atomically. When KeepOldFileOnSave is set, the old file is first
// kept under the first free name of "<path>.bak", "<path>.bak1", "<path>.bak2", ...; an
// existing backup is never replaced. On failure the previous file is left whole and no backup
// is left behind.
HighScoreSaveResult SaveHighScores(HighScores &scores, const std::string &path);

} // namespace vorlix

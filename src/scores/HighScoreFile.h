#pragma once

#include "common/AtomicFile.h"
#include "scores/HighScores.h"

#include <cstdint>
#include <string>

namespace vorlix {

// The high-score file's name in GameDir.
inline constexpr const char *HighScoreFileName = "Vorlix.HS";

// Little-endian, field by field: 1,560 bytes in the file order Hard, Medium, Easy.
std::string EncodeHighScores(const HighScores &scores);

enum class HighScoreLoadStatus {
    Loaded, // all three tables read
    NoFile, // nothing at the path: the normal first run
    Failed, // not 1,560 bytes, or unreadable: Message says why; the tables read whole are kept
};

struct HighScoreLoadResult {
    HighScoreLoadStatus Status = HighScoreLoadStatus::NoFile;
    std::string Message;
};

// Reads the file at `path` once, read-only, into all three tables. A table is taken only when
// all its 520 bytes are present; the failing table and the ones after it are all-zero, as is
// every table when there is no file. Of a longer file the first 1,560 bytes are read.
HighScoreLoadResult LoadHighScores(HighScores &scores, const std::string &path);

// Saves this run's Changes into the file at `path` without losing what another copy of the
// game saved there meanwhile: under the file's lock it reads the file as it is now, applies
// the Changes to it in order (ApplyHighScoreChange) and replaces it atomically; the Changes are
// then done. The tables in memory stay as this run made them. A file that is not 1,560 bytes
// or cannot be read whole is first kept under the first free name of "<path>.bak", "<path>.bak1", "<path>.bak2", ...;
// an existing backup is never replaced. On failure the previous file is left whole, no backup
// is left behind and the Changes stay for the next save. Anything but a regular file in the
// file's place, through links too, is refused and left as it is. Backup names any backup
// this run made.
SaveResult SaveHighScores(HighScores &scores, const std::string &path);

} // namespace vorlix

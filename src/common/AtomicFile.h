#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vorlix {

// What a save of one of the game's files did.
struct SaveResult {
    std::string Error;  // "" when the file was written, else what is wrong, without the file's name
    std::string Backup; // where a file the game could not use was kept, or ""
};

// The right to replace one file, held while it lives: an exclusive lock (flock) on
// "<file>.lock" beside the file, so that saves of it by several copies of the game never
// interleave. A symbolic link (or a chain of them) in the file's place is followed to the file
// it names, and the lock sits beside that. Only a regular file, or nothing yet, may be
// replaced: a directory, pipe, socket or device there is refused before anything is made.
class FileSaveLock {
public:
    // Waits at most `patience` for another copy's save: a copy stopped in the middle of one
    // must not hang this one (at logout, say), and an honest save takes milliseconds.
    explicit FileSaveLock(const std::string &path,
                          std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~FileSaveLock();
    FileSaveLock(const FileSaveLock &) = delete;
    FileSaveLock &operator=(const FileSaveLock &) = delete;

    // "" while the lock is held, else why the file cannot be saved.
    const std::string &Error() const { return error_; }

    // Replaces the file with `contents` so that a failed or interrupted save leaves the
    // previous file whole: a temporary file beside it, flushed to disk, renamed over it, and
    // the folder flushed after the rename. Temporary files an interrupted earlier save left
    // behind are removed first. An existing file keeps its permission bits; a new one gets 0666
    // less the umask; an existing file the user may not write is refused. With `keepOld` the
    // old file is first kept as KeepAsBackup does (beside the path asked for): when it cannot
    // be, nothing is written, and a save that fails after it takes the backup away again, as
    // the old file is still whole.
    SaveResult Replace(std::string_view contents, bool keepOld = false);

private:
    // Through a link, says where the file went.
    std::string Where(std::string message) const;
    std::string Write(std::string_view contents);

    std::string requested_; // the path asked for
    std::string path_;      // the file it names, after links
    std::string error_;
    bool throughLink_ = false; // the path is a link
    int lockFd_ = -1;
};

// Locks the file at `path` and replaces it, as above.
SaveResult WriteFileAtomically(const std::string &path, std::string_view contents, bool keepOld = false);

// Keeps the file at `path` under the first free name of "<path>.bak", "<path>.bak1",
// "<path>.bak2", ... and sets `backup` to it. Claiming the name is one step that fails when the
// name exists (a hard link, else an exclusive create), so no backup, of this game or another
// running at the same time, is ever overwritten. A hard link needs no read permission and no
// copy; where links are not possible, the bytes are copied. Returns "" or why it could not.
std::string KeepAsBackup(const std::string &path, std::string &backup);

// Writes all of `data` to the open file `fd`, through short writes and interruptions.
// False with errno set when a write fails.
bool WriteAll(int fd, std::string_view data);

} // namespace vorlix

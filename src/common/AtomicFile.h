#pragma once

#include <string>
#include <string_view>

namespace vorlix {

// Replaces the file at `path` with `contents` so that a failed or interrupted save leaves the
// previous file whole: a temporary file in the same directory, flushed to disk, then renamed
// over the old one. A symbolic link (or a chain of them) is written through: the link stays
// and its target is replaced, or created when missing; a link loop is refused. An existing
// file keeps its permission bits; a new one gets 0666 less the umask. An existing file the
// user may not write is refused, as a protected file should be.
// Returns an empty string on success, else a message saying why the file could not be written.
std::string WriteFileAtomically(const std::string &path, std::string_view contents);

// Writes all of `data` to the open file `fd`, through short writes and interruptions.
// False with errno set when a write fails.
bool WriteAll(int fd, std::string_view data);

} // namespace vorlix

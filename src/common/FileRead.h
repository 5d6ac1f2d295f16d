#pragma once

#include <cstddef>
#include <string>

namespace vorlix {

struct FileReadResult {
    enum class Status {
        Read,       // contents holds the file's first bytes (all of them unless truncated)
        Missing,    // nothing at the path
        NotRegular, // a directory, pipe or device in the file's place
        OpenFailed, // error holds errno
        ReadFailed, // error holds errno; contents holds what was read before
    };
    Status status = Status::Missing;
    std::string contents;
    bool truncated = false; // the file held more than was asked for
    int error = 0;
    unsigned type = 0; // for NotRegular: the st_mode bits of what is there
};

// What stands in a file's place, for a message: "a directory", "a named pipe", "a socket",
// "a device", or "not a regular file" for anything else.
std::string FileTypeText(unsigned mode);

// Reads at most `maxBytes` from the start of the regular file at `path`. The open does not
// block, so a pipe in the file's place cannot hang the caller.
FileReadResult ReadFileStart(const std::string &path, std::size_t maxBytes);

} // namespace vorlix

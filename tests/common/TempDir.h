#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>

namespace vorlix::test {

// A fresh directory, removed with everything in it at the end of the test; `parent` picks the
// file system it lives on.
class TempDir {
public:
    explicit TempDir(const std::filesystem::path &parent = std::filesystem::temp_directory_path())
    {
        std::string pattern = (parent / "vorlix-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern + "/";
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The directory, ending in '/', like GameDir.
    const std::string &Path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + name; }
    // How many entries the directory holds.
    std::ptrdiff_t Entries() const { return std::distance(std::filesystem::directory_iterator(path_), {}); }

private:
    std::string path_;
};

inline void WriteFile(const std::string &path, const std::string &contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

inline std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// How many files this process has open.
inline std::ptrdiff_t OpenFiles() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

// The permission bits of the entry itself (a link is not followed); 0 when there is none.
inline mode_t FileMode(const std::string &path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace vorlix::test

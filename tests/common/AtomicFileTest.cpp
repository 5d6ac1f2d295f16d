#include "common/AtomicFile.h"

#include "FileSizeLimit.h"
#include "TempDir.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace vorlix;
namespace fs = std::filesystem;

TEST(AtomicFile, ALinkLoopFailsClearlyAndLeavesTheLinks)
{
    using Links = std::vector<std::pair<std::string, std::string>>; // name, target
    const std::pair<const char *, Links> cases[] = {
        {"loop of two", {{"Vorlix.ini", "loop.ini"}, {"loop.ini", "Vorlix.ini"}}},
        {"link to itself", {{"Vorlix.ini", "Vorlix.ini"}}},
        {"loop further on", {{"Vorlix.ini", "a"}, {"a", "b"}, {"b", "a"}}},
    };
    for (const auto &[name, links] : cases) {
        SCOPED_TRACE(name);
        test::TempDir temp;
        const std::string &dir = temp.Path();
        for (const auto &[at, to] : links)
            ASSERT_EQ(::symlink(to.c_str(), (dir + at).c_str()), 0);

        const std::string error = WriteFileAtomically(dir + "Vorlix.ini", "[Settings]\n");
        EXPECT_NE(error.find("Too many levels of symbolic links"), std::string::npos) << error;
        for (const auto &[at, to] : links) {
            std::error_code ignored;
            EXPECT_EQ(fs::read_symlink(dir + at, ignored), to) << at;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), static_cast<long>(links.size()))
            << "nothing left behind";
    }
}

namespace {

using Folder = test::TempDir;
using test::FileMode;
using test::ReadFile;

} // namespace

// A link, or a chain of them, is followed to the file it names, each target counted from its
// own link's folder; the links stay. An existing file keeps its mode, a new one follows the umask.
TEST(AtomicFile, SavesThroughLinksToTheFileTheyNameKeepingAnExistingMode)
{
    struct Case {
        const char *name;
        std::vector<std::pair<std::string, std::string>> links; // at, to ("@/": the folder)
        std::string target;
        mode_t existingMode; // 0: nothing there yet
    };
    const Case cases[] = {
        {"new file", {}, "game/Vorlix.ini", 0},
        {"existing file", {}, "game/Vorlix.ini", 0751},
        {"dangling, absolute", {{"game/Vorlix.ini", "@/elsewhere/Vorlix.ini"}}, "elsewhere/Vorlix.ini", 0},
        {"dangling, relative", {{"game/Vorlix.ini", "../elsewhere/Vorlix.ini"}}, "elsewhere/Vorlix.ini", 0},
        {"chain, each relative to its own folder",
         {{"game/Vorlix.ini", "../links/deeper/one.ini"}, {"links/deeper/one.ini", "../../elsewhere/Vorlix.ini"}},
         "elsewhere/Vorlix.ini", 0},
        {"chain, absolute then relative",
         {{"game/Vorlix.ini", "@/links/one.ini"}, {"links/one.ini", "two.ini"}, {"links/two.ini", "../elsewhere/Vorlix.ini"}},
         "elsewhere/Vorlix.ini", 0},
        {"existing target", {{"game/Vorlix.ini", "../elsewhere/Vorlix.ini"}}, "elsewhere/Vorlix.ini", 0604},
    };
    const mode_t savedMask = ::umask(022);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        for (const char *sub : {"game", "elsewhere", "links", "links/deeper"})
            fs::create_directory(folder / sub);
        const auto expand = [&](const std::string &to) { return to.rfind("@/", 0) == 0 ? folder / to.substr(2) : to; };
        for (const auto &[at, to] : c.links)
            ASSERT_EQ(::symlink(expand(to).c_str(), (folder / at).c_str()), 0) << at;
        if (c.existingMode) {
            std::ofstream(folder / c.target) << "old";
            ASSERT_EQ(::chmod((folder / c.target).c_str(), c.existingMode), 0);
        }
        EXPECT_EQ(WriteFileAtomically(folder / "game/Vorlix.ini", "new"), "");
        for (const auto &[at, to] : c.links)
            EXPECT_EQ(fs::read_symlink(folder / at), expand(to)) << at;
        EXPECT_EQ(ReadFile(folder / c.target), "new");
        EXPECT_EQ(FileMode(folder / c.target), c.existingMode ? c.existingMode : 0644u) << "a regular file";
    }
    ::umask(savedMask);
}

TEST(AtomicFile, FailuresSayWhatStoppedThemAndWhereALinkLed)
{
    Folder folder;
    std::ofstream(folder / "file") << "kept";
    ASSERT_EQ(::symlink("gone/Vorlix.ini", (folder / "link.ini").c_str()), 0);
    // Only a regular file is replaced: renaming over anything else would replace the node itself.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((folder / "dir").c_str(), 0700), 0);
    std::ofstream(folder / "dir/inside") << "kept";
    ASSERT_EQ(::symlink("fifo", (folder / "to-fifo.ini").c_str()), 0);
    ASSERT_EQ(::symlink("dir", (folder / "to-dir.ini").c_str()), 0);
    std::vector<std::pair<std::string, std::string>> cases = {
        {folder / "file/Vorlix.ini", std::string("cannot reach the file: ") + std::strerror(ENOTDIR)},
        {folder / "gone/Vorlix.ini", std::string("cannot create a lock file beside it: ") + std::strerror(ENOENT)},
        {folder / "link.ini", std::string("cannot create a lock file beside it: ") + std::strerror(ENOENT) +
                                  " (writing through the link to " + folder.Path() + "gone/Vorlix.ini)"},
        {folder / "dir", "it is a directory"},
        {folder / "fifo", "it is a named pipe"},
        {folder / "to-dir.ini", "it is a directory (writing through the link to " + folder.Path() + "dir)"},
        {folder / "to-fifo.ini", "it is a named pipe (writing through the link to " + folder.Path() + "fifo)"},
    };
    // Root would replace a device node: one of its own, a null device, stands in for /dev/null.
    if (::geteuid() == 0 && ::mknod((folder / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        ASSERT_EQ(::symlink((folder / "null").c_str(), (folder / "to-null.ini").c_str()), 0);
        cases.emplace_back(folder / "to-null.ini", "it is a device (writing through the link to " + folder.Path() + "null)");
    }
    // Root writes into a read-only folder.
    ASSERT_EQ(::mkdir((folder / "read-only").c_str(), 0700), 0);
    std::ofstream(folder / "read-only/Vorlix.ini") << "kept";
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod((folder / "read-only").c_str(), 0500), 0);
        cases.emplace_back(folder / "read-only/Vorlix.ini",
                           std::string("cannot create a lock file beside it: ") + std::strerror(EACCES));
    }
    const auto before = folder.Entries();
    for (const auto &[path, error] : cases)
        EXPECT_EQ(WriteFileAtomically(path, "new"), error) << path;
    ASSERT_EQ(::chmod((folder / "read-only").c_str(), 0700), 0);
    EXPECT_EQ(ReadFile(folder / "read-only/Vorlix.ini"), "kept");
    EXPECT_EQ(ReadFile(folder / "file"), "kept");
    EXPECT_EQ(ReadFile(folder / "dir/inside"), "kept");
    EXPECT_TRUE(fs::is_fifo(folder / "to-fifo.ini"));
    EXPECT_EQ(fs::read_symlink(folder / "to-fifo.ini"), "fifo");
    EXPECT_TRUE(!fs::exists(folder / "null") || fs::is_character_file(folder / "null"));
    EXPECT_EQ(folder.Entries(), before) << "no lock, no temporary file";
}

// A save waits while another copy holds the lock, and gives up with a reason, not a hang,
// when that copy never lets go (stopped in the middle of its save).
TEST(AtomicFile, ASaveWaitsForAnotherCopysLockButNotForever)
{
    Folder folder;
    const std::string path = folder / "Vorlix.HS";
    const int other = ::open((path + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(FileSaveLock(path, std::chrono::milliseconds(30)).Error(),
              "another copy of the game is still saving it");
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::close(other);
    });
    EXPECT_EQ(WriteFileAtomically(path, "new"), "");
    release.join();
    EXPECT_EQ(ReadFile(path), "new");
}

// A disk that fills up part of the way through: the old file stays whole, and the temporary
// file goes.
TEST(AtomicFile, AWriteThatFailsHalfwayKeepsTheOldFile)
{
    Folder folder;
    std::ofstream(folder / "Vorlix.HS") << "old";
    std::string error;
    {
        test::FileSizeLimit full(100);
        error = WriteFileAtomically(folder / "Vorlix.HS", std::string(1000, 'n'));
    }
    EXPECT_EQ(error, std::string("write failed: ") + std::strerror(EFBIG));
    EXPECT_EQ(ReadFile(folder / "Vorlix.HS"), "old");
    EXPECT_EQ(folder.Entries(), 2) << "the file and its lock, nothing else";
}

// A save cut short (kill -9) leaves its temporary file; a later save of the same file removes
// it, and only it: copies a player keeps beside the game are never taken for one.
TEST(AtomicFile, ALaterSaveRemovesTheTemporaryFilesOfSavesCutShort)
{
    Folder folder;
    const std::pair<const char *, bool> names[] = { // name, removed
        {".Vorlix.HS.vorlix-save-x7QpLb", true}, {".Vorlix.HS.vorlix-save-000123", true},
        {"Vorlix.HS.save01", false},             {"Vorlix.HS.x7QpLb", false},
        {"Vorlix.HS.Copy02", false},             {"Vorlix.HS.bak123", false},
        {".Vorlix.ini.vorlix-save-x7QpLb", false}, {".Vorlix.HS.vorlix-save-x7QpL", false},
        {".Vorlix.HS.vorlix-save-x7Qp-b", false},  {"Vorlix.HS.vorlix-save-x7QpLb", false},
    };
    for (const auto &[name, removed] : names)
        std::ofstream(folder / name) << "left";
    ASSERT_EQ(::mkdir((folder / ".Vorlix.HS.vorlix-save-D1r2ab").c_str(), 0700), 0);
    ASSERT_EQ(::symlink("Vorlix.HS.save01", (folder / ".Vorlix.HS.vorlix-save-L1nk2b").c_str()), 0);

    EXPECT_EQ(WriteFileAtomically(folder / "Vorlix.HS", "new"), "");
    for (const auto &[name, removed] : names)
        EXPECT_EQ(fs::exists(folder / name), !removed) << name;
    EXPECT_TRUE(fs::is_directory(folder / ".Vorlix.HS.vorlix-save-D1r2ab"));
    EXPECT_TRUE(fs::is_symlink(folder / ".Vorlix.HS.vorlix-save-L1nk2b"));
    EXPECT_EQ(ReadFile(folder / "Vorlix.HS"), "new");
}

// As many links as the system itself follows in a path, and not one more.
TEST(AtomicFile, AChainOfFortyLinksIsFollowedAndOneMoreIsRefused)
{
    for (int links : {40, 41}) {
        SCOPED_TRACE(links);
        Folder folder;
        for (int n = 0; n < links; ++n)
            ASSERT_EQ(::symlink(("l" + std::to_string(n + 1)).c_str(), (folder / ("l" + std::to_string(n))).c_str()), 0);
        const std::string target = folder / ("l" + std::to_string(links));
        const std::string error = WriteFileAtomically(folder / "l0", "new");
        if (links == 40) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(ReadFile(target), "new");
        } else {
            EXPECT_NE(error.find(std::strerror(ELOOP)), std::string::npos) << error;
            EXPECT_FALSE(fs::exists(target));
        }
    }
}

// Root may write any file: the refusal is checked as an ordinary user, in a child process.
TEST(AtomicFile, AFileTheUserMayNotWriteIsRefused)
{
    Folder folder;
    const std::string path = folder / "Vorlix.ini";
    std::ofstream(path) << "protected";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const bool root = ::geteuid() == 0;
    // The folder is the user's own: only the file's mode stands in the way.
    if (root) {
        ASSERT_EQ(::chown(folder.Path().c_str(), 65534, 65534), 0);
    }
    const pid_t child = root ? ::fork() : 0;
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const std::string error = WriteFileAtomically(path, "new");
        const bool refused = error.find("the existing file is not writable") != std::string::npos;
        const bool kept = ReadFile(path) == "protected";
        if (root)
            ::_exit(refused && kept ? 0 : 1);
        EXPECT_TRUE(refused) << error;
        EXPECT_TRUE(kept);
        return;
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(ReadFile(path), "protected");
    EXPECT_EQ(folder.Entries(), 2) << "the file and its lock, nothing else";
}

// A write to a pipe blocks once the pipe is full; a signal then cuts it short or, with nothing
// written yet, interrupts it. Every byte still arrives, once and in order.
TEST(AtomicFile, WriteAllGoesOnThroughShortWritesAndInterruptions)
{
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    struct sigaction interrupt {}, saved {};
    interrupt.sa_handler = [](int) {};
    sigemptyset(&interrupt.sa_mask); // no SA_RESTART: the write returns
    ASSERT_EQ(::sigaction(SIGUSR1, &interrupt, &saved), 0);

    std::string data(1 << 20, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 131 + i / 7919);
    const int capacity = ::fcntl(pipeFds[1], F_GETPIPE_SZ);
    const pthread_t writer = ::pthread_self();
    std::string received;
    std::thread reader([&] {
        for (int signal = 0; signal < 4; ++signal) {
            for (int waiting = 0;; ++waiting) { // until the pipe is full and the writer waits
                int queued = 0;
                ::ioctl(pipeFds[0], FIONREAD, &queued);
                if (queued >= capacity || waiting == 500)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ::pthread_kill(writer, SIGUSR1);
            // Room for one more write, so the next signal meets a new call.
            char chunk[4096];
            if (signal % 2 == 1)
                received.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(0, ::read(pipeFds[0], chunk, sizeof chunk))));
        }
        char chunk[65536];
        for (ssize_t n; (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<std::size_t>(n));
    });
    EXPECT_TRUE(WriteAll(pipeFds[1], data)) << std::strerror(errno);
    ::close(pipeFds[1]);
    reader.join();
    ::close(pipeFds[0]);
    ::sigaction(SIGUSR1, &saved, nullptr);
    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data);
}

#include "common/AtomicFile.h"

#include "FileSizeLimit.h"
#include "TempDir.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace vorlix;
namespace fs = std::filesystem;

namespace {

using Folder = test::TempDir;
using Links = std::vector<std::pair<std::string, std::string>>; // at, to
using test::FileMode;
using test::ReadFile;

// "<at>" -> "l1" -> "l2" ... -> "l<count>", each beside the one before.
Links Chain(const std::string &at, int count)
{
    Links links;
    const std::string folder = at.substr(0, at.rfind('/') + 1);
    for (int n = 0; n < count; ++n)
        links.emplace_back(n == 0 ? at : folder + "l" + std::to_string(n), "l" + std::to_string(n + 1));
    return links;
}

} // namespace

// A link, or a chain of them as long as the system follows, is followed to the file it names,
// each target counted from its own link's folder; the links stay. An existing file keeps its
// mode, a new one follows the umask.
TEST(AtomicFile, SavesThroughLinksToTheFileTheyNameKeepingAnExistingMode)
{
    struct Case {
        const char *name;
        Links links; // "@/": the folder
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
        {"forty links", Chain("game/Vorlix.ini", 40), "game/l40", 0},
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
        EXPECT_EQ(WriteFileAtomically(folder / "game/Vorlix.ini", "new").Error, "");
        for (const auto &[at, to] : c.links)
            EXPECT_EQ(fs::read_symlink(folder / at), expand(to)) << at;
        EXPECT_EQ(ReadFile(folder / c.target), "new");
        EXPECT_EQ(FileMode(folder / c.target), c.existingMode ? c.existingMode : 0644u) << "a regular file";
        EXPECT_EQ(FileMode(folder / c.target + ".lock"), 0644u) << "which any user of the folder may lock";
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
    Links links = Chain(folder / "chain.ini", 41); // one more than the system follows
    for (const auto &link : Links{{"to-fifo.ini", "fifo"}, {"a.ini", "b.ini"}, {"b.ini", "a.ini"}})
        links.emplace_back(folder / link.first, link.second);
    for (const auto &[at, to] : links)
        ASSERT_EQ(::symlink(to.c_str(), at.c_str()), 0) << at;
    const std::string loop = std::string("cannot reach the file: ") + std::strerror(ELOOP);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (folder / "socket").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    std::vector<std::pair<std::string, std::string>> cases = {
        {folder / "file/Vorlix.ini", std::string("cannot reach the file: ") + std::strerror(ENOTDIR)},
        {folder / "gone/Vorlix.ini", std::string("cannot create a lock file beside it: ") + std::strerror(ENOENT)},
        {folder / "link.ini", std::string("cannot create a lock file beside it: ") + std::strerror(ENOENT) +
                                  " (writing through the link to " + folder.Path() + "gone/Vorlix.ini)"},
        {folder / "dir", "it is a directory"},
        {folder / "fifo", "it is a named pipe"},
        {folder / "socket", "it is a socket"},
        {folder / "to-fifo.ini", "it is a named pipe (writing through the link to " + folder.Path() + "fifo)"},
        {folder / "a.ini", loop},
        {folder / "chain.ini", loop},
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
    const fs::path cwd = fs::current_path(); // nor is anything made where the game was started
    fs::current_path(folder.Path());
    for (const auto &[path, error] : cases)
        EXPECT_EQ(WriteFileAtomically(path, "new").Error, error) << path;
    fs::current_path(cwd);
    ASSERT_EQ(::chmod((folder / "read-only").c_str(), 0700), 0);
    EXPECT_EQ(ReadFile(folder / "read-only/Vorlix.ini"), "kept");
    EXPECT_EQ(ReadFile(folder / "file"), "kept");
    EXPECT_EQ(ReadFile(folder / "dir/inside"), "kept");
    EXPECT_TRUE(fs::is_fifo(folder / "to-fifo.ini"));
    for (const auto &[at, to] : links)
        EXPECT_EQ(fs::read_symlink(at), to) << at;
    EXPECT_TRUE(!fs::exists(folder / "null") || fs::is_character_file(folder / "null"));
    EXPECT_EQ(folder.Entries(), before) << "no lock, no temporary file";
    ::close(socket);
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
    EXPECT_EQ(WriteFileAtomically(path, "new").Error, "");
    release.join();
    EXPECT_EQ(ReadFile(path), "new");
}

// Failures once the lock is held, as a disk that fills up part of the way through: the old file
// stays as it was, and the temporary file goes, and so does a backup this save kept of it.
TEST(AtomicFile, AFailureAfterTheLockKeepsTheOldFile)
{
    struct Case {
        const char *name;
        std::string file;
        bool folderPutInItsPlace; // once the lock is held; else the old file is kept as a backup
        rlim_t sizeLimit;
        std::string error;
    };
    const Case cases[] = {
        {"disk full", "Vorlix.HS", false, 100, std::string("write failed: ") + std::strerror(EFBIG)},
        {"no room for the temporary name", std::string(240, 'n'), false, RLIM_INFINITY,
         std::string("cannot create a temporary file beside it: ") + std::strerror(ENAMETOOLONG)},
        {"a folder in the file's place", "Vorlix.HS", true, RLIM_INFINITY,
         std::string("cannot replace the file: ") + std::strerror(EISDIR)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        const std::string path = folder / c.file;
        std::ofstream(path) << "old";
        FileSaveLock lock(path);
        if (c.folderPutInItsPlace) {
            fs::remove(path);
            fs::create_directory(path);
        }
        std::string error;
        {
            test::FileSizeLimit limit(c.sizeLimit);
            error = lock.Replace(std::string(1000, 'n'), !c.folderPutInItsPlace).Error;
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(c.folderPutInItsPlace ? fs::is_directory(path) : ReadFile(path) == "old", true);
        EXPECT_EQ(folder.Entries(), 2) << "the file and its lock, nothing else";
    }
}

TEST(AtomicFile, ASaveLeavesNoFileOpen)
{
    Folder folder;
    const auto open = test::OpenFiles();
    EXPECT_EQ(WriteFileAtomically(folder / "Vorlix.HS", "new").Error, "");
    EXPECT_EQ(test::OpenFiles(), open);
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

    EXPECT_EQ(WriteFileAtomically(folder / "Vorlix.HS", "new").Error, "");
    for (const auto &[name, removed] : names)
        EXPECT_EQ(fs::exists(folder / name), !removed) << name;
    EXPECT_TRUE(fs::is_directory(folder / ".Vorlix.HS.vorlix-save-D1r2ab"));
    EXPECT_TRUE(fs::is_symlink(folder / ".Vorlix.HS.vorlix-save-L1nk2b"));
    EXPECT_EQ(ReadFile(folder / "Vorlix.HS"), "new");
}

// Root may write any file: the refusal is checked as an ordinary user, in a child process.
TEST(AtomicFile, AFileTheUserMayNotWriteIsRefused)
{
    Folder folder;
    const std::string path = folder / "Vorlix.ini";
    std::ofstream(path) << "protected";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // The folder is the user's own: only the file's mode stands in the way.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.Path().c_str(), 65534, 65534), 0);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const std::string error = WriteFileAtomically(path, "new").Error;
        ::_exit(error.find("the existing file is not writable: ") == 0 && ReadFile(path) == "protected" ? 0 : 1);
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

// The old file is kept under the first free name: one taken by anything, a dangling link too,
// is never reused, and no backup is ever replaced. A hard link keeps a private file private.
TEST(AtomicFile, AnOldFileIsKeptUnderTheFirstFreeNameOrWhyNotIsSaid)
{
    Folder folder;
    const std::string path = folder / "Vorlix.HS";
    std::ofstream(path + ".bak") << "older";
    ASSERT_EQ(::symlink("nowhere", (path + ".bak1").c_str()), 0);
    std::ofstream(path) << "old";
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    for (const char *next : {".bak2", ".bak3"}) {
        std::string backup;
        EXPECT_EQ(KeepAsBackup(path, backup), "");
        EXPECT_EQ(backup, path + next);
        EXPECT_EQ(ReadFile(backup), "old");
        EXPECT_EQ(FileMode(backup), 0600u);
    }
    EXPECT_EQ(ReadFile(path + ".bak"), "older");
    EXPECT_EQ(fs::read_symlink(path + ".bak1"), "nowhere");

    const std::string tooLong(252, 'n'); // fits; "<name>.bak" does not
    std::ofstream(folder / tooLong) << "old";
    ASSERT_EQ(::mkdir((folder / "dir").c_str(), 0700), 0);
    const std::string why = "cannot keep the old file as ";
    const std::pair<std::string, std::string> failures[] = {
        {"gone", why + "gone.bak: " + std::strerror(ENOENT)},
        {"dir", why + "dir.bak: it is a directory"},
        {tooLong, why + tooLong + ".bak: " + std::strerror(ENAMETOOLONG)},
    };
    const auto before = folder.Entries();
    for (const auto &[name, error] : failures) {
        std::string backup;
        EXPECT_EQ(KeepAsBackup(folder / name, backup), error);
    }
    EXPECT_EQ(folder.Entries(), before) << "no backup made";
}

// A save that cannot keep the old file it was to keep writes nothing.
TEST(AtomicFile, WhenEveryBackupNameIsTakenNoneIsReplacedNorTheFile)
{
    // A thousand names are made much faster in memory than on a disk.
    const Folder shm(fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path());
    const std::string path = shm / "Vorlix.HS";
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(::symlink("taken", (path + ".bak" + (n ? std::to_string(n) : "")).c_str()), 0);
    std::ofstream(path) << "old";
    const SaveResult saved = WriteFileAtomically(path, "new", true);
    EXPECT_EQ(saved.Error, "cannot keep the old file: every name from Vorlix.HS.bak to Vorlix.HS.bak999 is taken");
    EXPECT_EQ(saved.Backup, "");
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(shm.Entries(), 1002) << "and the lock";
}

// Where the old file cannot be linked to a backup name, as from a link into another file
// system, its bytes are copied under that name, or nothing is left there.
TEST(AtomicFile, AnOldFileOnAnotherFileSystemIsKeptAsACopy)
{
    Folder folder;
    struct stat here {}, there {};
    if (::stat("/dev/shm", &there) != 0 || ::stat(folder.Path().c_str(), &here) != 0 || here.st_dev == there.st_dev)
        GTEST_SKIP() << "no /dev/shm on another file system";
    const Folder other("/dev/shm");
    const std::string path = folder / "Vorlix.HS";
    const std::string target = other / "Vorlix.HS";
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    ASSERT_EQ(::symlink("taken", (path + ".bak").c_str()), 0);
    const mode_t savedMask = ::umask(022);

    struct Case {
        const char *name;
        rlim_t sizeLimit;
        mode_t fileMode, folderMode; // the link's folder: the copy is made beside the link
        std::string error;           // "": copied
    };
    const std::string why = "cannot keep the old file as Vorlix.HS.bak1: ";
    std::vector<Case> cases = {
        {"copied", RLIM_INFINITY, 0644, 0700, ""},
        {"disk full while copying", 1000, 0644, 0700, why + std::strerror(EFBIG)},
    };
    if (::geteuid() != 0) { // root reads and writes anyway
        cases.push_back({"unreadable", RLIM_INFINITY, 0200, 0700, why + std::strerror(EACCES)});
        cases.push_back({"read-only folder", RLIM_INFINITY, 0644, 0500, why + std::strerror(EACCES)});
    }
    const std::string old(1559, 'o');
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteFile(target, old);
        ASSERT_EQ(::chmod(target.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.Path().c_str(), c.folderMode), 0);
        std::string backup, error;
        const auto open = test::OpenFiles();
        {
            test::FileSizeLimit limit(c.sizeLimit);
            error = KeepAsBackup(path, backup);
        }
        EXPECT_EQ(test::OpenFiles(), open);
        ::chmod(folder.Path().c_str(), 0700);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(fs::exists(path + ".bak1") ? ReadFile(path + ".bak1") : "", c.error.empty() ? old : "");
        EXPECT_EQ(FileMode(path + ".bak1"), c.error.empty() ? 0644u : 0u);
        fs::remove(path + ".bak1");
    }
    EXPECT_EQ(ReadFile(target), old);
    ::umask(savedMask);
}

#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlix::test {

// A named pipe whose only writer comes late and writes nothing: whoever opens or reads it the
// ordinary way waits that long, then finds it empty. So a reader that blocks is slow, not hung.
class LateFifo {
public:
    LateFifo(std::string path, std::chrono::milliseconds delay) : path_(std::move(path))
    {
        created_ = ::mkfifo(path_.c_str(), 0600) == 0;
        writer_ = std::thread([this, delay] {
            const auto due = std::chrono::steady_clock::now() + delay;
            while (!stop_ && std::chrono::steady_clock::now() < due)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            // Opening without blocking succeeds only while a reader waits.
            while (!stop_) {
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    ~LateFifo()
    {
        stop_ = true;
        writer_.join();
        ::unlink(path_.c_str());
    }
    LateFifo(const LateFifo &) = delete;
    LateFifo &operator=(const LateFifo &) = delete;

    bool Created() const { return created_; }

private:
    std::string path_;
    bool created_ = false;
    std::atomic<bool> stop_{false};
    std::thread writer_;
};

} // namespace vorlix::test

#pragma once

#include "error.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace velo::platform {

// The lock file that keeps writers of the file at path apart, beside it.
std::string lockFileFor(const std::string& path);

// An exclusive hold on a lock file. It ends when the object goes, and with the process
// that holds it, so a holder killed on the way never blocks the next one.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock at lockFile, made when missing, waiting at most wait while another
    // holder has it. The error names lockFile; one that waited in vain says so.
    MaybeError acquire(const std::string& lockFile, std::chrono::milliseconds wait);

private:
    void release();

    std::intptr_t handle_ = -1;
};

// Runs block, a blocking call that ends with 0 or an error code, in a thread of its own
// and waits at most wait for it: polling instead would starve behind a holder that takes
// the lock again at once. Given up, the thread runs abandon once block has returned.
std::optional<long> waitAtMost(std::chrono::milliseconds wait, std::function<long()> block,
                               std::function<void()> abandon);

// The reason given when a lock stayed with another holder for the whole wait.
inline constexpr const char* kLockedByAnother = "another program kept it locked";

} // namespace velo::platform

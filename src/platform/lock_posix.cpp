#include "lock.h"

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace velo::platform {

std::string lockFileFor(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + "." + path.substr(name) + ".lock";
}

FileLock::~FileLock() {
    release();
}

void FileLock::release() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

MaybeError FileLock::acquire(const std::string& lockFile, std::chrono::milliseconds wait) {
    release();
    // flock needs no write access, so a lock file another user made still serves; its
    // lock belongs to the open file, so two holders in one process exclude each other too.
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Error{lockFile, reasonFor(errno)};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        handle_ = fd;
        return std::nullopt;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
        const int errorNumber = errno;
        ::close(fd);
        return Error{lockFile, reasonFor(errorNumber)};
    }
    const std::optional<long> code = waitAtMost(
        wait,
        [fd]() -> long {
            int result = 0;
            while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
            }
            return result == 0 ? 0 : errno;
        },
        [fd] { ::close(fd); });
    if (!code) {
        return Error{lockFile, kLockedByAnother};
    }
    if (*code != 0) {
        ::close(fd);
        return Error{lockFile, reasonFor(static_cast<int>(*code))};
    }
    handle_ = fd;
    return std::nullopt;
}

} // namespace velo::platform

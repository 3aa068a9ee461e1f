#include "file.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velo::platform {

namespace {

constexpr const char* kTemporarySuffix = ".velo-new";

Error errorFor(const std::string& path, int errorNumber) {
    return Error{path, reasonFor(errorNumber)};
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// New files get the mode an ordinary create would give them.
mode_t modeFor(const struct stat* existing, bool executable) {
    mode_t mode = 0;
    if (existing != nullptr) {
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (executable) {
        mode |= (mode & 0444) >> 2;
    }
    return mode;
}

constexpr int kNotOurs = -100000;

// Opens the one temporary file for target and takes its lock: writers of one file take
// turns on it, and a file a crash left has no holder and is taken over. It is never
// removed under a writer that holds it. Returns the descriptor, kNotOurs when the name
// is something else's (a folder, a link, another user's file), or -errno.
int takeTemporary(const std::string& temporary) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            const int errorNumber = errno;
            struct stat there {};
            return ::lstat(temporary.c_str(), &there) == 0 ? kNotOurs : -errorNumber;
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::geteuid()) {
            ::close(fd);
            return kNotOurs;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The writer before may have renamed it into place while this one waited.
            struct stat named {};
            if (::lstat(temporary.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
                named.st_ino == opened.st_ino) {
                return fd;
            }
            ::close(fd);
            continue;
        }
        const int errorNumber = errno;
        ::close(fd);
        if (errorNumber != EWOULDBLOCK && errorNumber != EINTR) {
            return -errorNumber;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return -EBUSY;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace

bool FileExists(const std::string& name) {
    struct stat info {};
    return ::lstat(name.c_str(), &info) == 0;
}

std::string existingSpelling(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) == 0) {
        return folder;
    }
    const std::string parent = folderOf(folder);
    const std::string name = nameOf(folder);
    DIR* listing = ::opendir(parent.c_str());
    if (listing == nullptr) {
        return folder;
    }
    std::string found = folder;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string candidate = (parent == "/" ? parent : parent + "/") + entry->d_name;
        if (::strcasecmp(entry->d_name, name.c_str()) == 0 &&
            ::stat(candidate.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            found = candidate;
            break;
        }
    }
    ::closedir(listing);
    return found;
}

FileRead readTextFile(const std::string& path) {
    FileRead result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            result.status = FileRead::Status::Absent;
        } else {
            result.status = FileRead::Status::Failed;
            result.error = errorFor(path, errno);
        }
        return result;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.status = FileRead::Status::Failed;
            result.error = errorFor(path, errno);
            result.text.clear();
            ::close(fd);
            return result;
        }
        if (got == 0) {
            break;
        }
        result.text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    result.status = FileRead::Status::Ok;
    return result;
}

// One fixed name a target, so crashes leave at most this one file.
std::string temporaryFileFor(const std::string& path) {
    return folderOf(path) + "/." + nameOf(path) + kTemporarySuffix;
}

MaybeError writeTextFileAtomic(const std::string& path, std::string_view text, bool executable) {
    // Through a link to the file it names, so the link stays a link.
    std::string target = path;
    struct stat existing {};
    bool exists = false;
    for (int hops = 0;; ++hops) {
        if (::lstat(target.c_str(), &existing) != 0) {
            if (errno != ENOENT) {
                return errorFor(path, errno);
            }
            break;
        }
        if (!S_ISLNK(existing.st_mode)) {
            exists = true;
            break;
        }
        if (hops == 40) {
            return errorFor(path, ELOOP);
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0) {
            return errorFor(path, errno);
        }
        link.resize(static_cast<std::size_t>(length));
        target = !link.empty() && link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    // The rename would replace a file the user may not write. A file nobody may write is
    // read-only for root too, though root passes the access check.
    if (exists && S_ISREG(existing.st_mode)) {
        if ((existing.st_mode & 0222) == 0) {
            return errorFor(path, EACCES);
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return errorFor(path, errno);
        }
    }

    const std::string folder = folderOf(target);
    const std::string temporary = temporaryFileFor(target);
    const int fd = takeTemporary(temporary);
    if (fd < 0) {
        return errorFor(fd == kNotOurs ? temporary : path, fd == kNotOurs ? EEXIST : -fd);
    }
    // Removed before its lock goes with the close, so it is never another writer's.
    const auto fail = [&](int errorNumber) {
        ::unlink(temporary.c_str());
        ::close(fd);
        return errorFor(path, errorNumber);
    };
    // The owner first, as far as we may: a change of owner clears set-id bits the mode
    // restores. Where the owner cannot be kept, the group may still be.
    if (exists && ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        [[maybe_unused]] const int groupKept =
            ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
    }
    if (::ftruncate(fd, 0) != 0 ||
        ::fchmod(fd, modeFor(exists ? &existing : nullptr, executable)) != 0 ||
        !writeAll(fd, text) || ::fsync(fd) != 0) {
        return fail(errno);
    }
    // Renamed while its lock is held, so no other writer can take it over half way.
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        return fail(errno);
    }
    if (::close(fd) != 0) {
        return errorFor(path, errno);
    }
    // The rename itself survives a crash only once the folder is on disk.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return std::nullopt;
}

} // namespace velo::platform

#include "file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velo::platform {

namespace {

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
mode_t modeFor(const std::string& path, bool executable) {
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
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

} // namespace

bool FileExists(const std::string& name) {
    struct stat info {};
    return ::lstat(name.c_str(), &info) == 0;
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

MaybeError writeTextFileAtomic(const std::string& path, std::string_view text, bool executable) {
    const std::string folder = folderOf(path);
    std::string temporary = folder + "/." + nameOf(path) + ".XXXXXX";
    const mode_t mode = modeFor(path, executable);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return errorFor(path, errno);
    }
    const auto fail = [&](int errorNumber, bool open) {
        if (open) {
            ::close(fd);
        }
        ::unlink(temporary.c_str());
        return errorFor(path, errorNumber);
    };
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, text) || ::fsync(fd) != 0) {
        return fail(errno, true);
    }
    if (::close(fd) != 0) {
        return fail(errno, false);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        return fail(errno, false);
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

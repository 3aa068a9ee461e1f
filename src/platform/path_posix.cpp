#include "path.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velo::platform {

std::string programDirectory() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) {
        char* cwd = ::getcwd(nullptr, 0);
        std::string here = cwd != nullptr ? cwd : ".";
        ::free(cwd);
        return here;
    }
    buffer.resize(static_cast<std::size_t>(length));
    const std::size_t slash = buffer.rfind('/');
    return slash == 0 ? std::string("/") : buffer.substr(0, slash);
}

std::string joinNative(std::string_view dir, std::string_view name) {
    std::string joined(dir);
    if (joined.empty() || joined.back() != '/') {
        joined += '/';
    }
    joined += name;
    return joined;
}

std::string nativePath(std::string_view composed) {
    std::string path(composed);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    char* cwd = ::getcwd(nullptr, 0);
    if (cwd == nullptr) {
        return path;
    }
    const std::string here = cwd;
    ::free(cwd);
    std::string_view rest = path;
    while (rest.substr(0, 2) == "./") {
        rest.remove_prefix(2);
        while (!rest.empty() && rest[0] == '/') {
            rest.remove_prefix(1);
        }
    }
    return rest.empty() || rest == "." ? here : joinNative(here, rest);
}

bool folderWritable(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

MaybeError makeFolders(const std::string& folder) {
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string step = folder.substr(0, end);
        if (!step.empty() && step.back() != '/' && ::mkdir(step.c_str(), 0700) != 0) {
            const int errorNumber = errno;
            struct stat info {};
            if (errorNumber != EEXIST) {
                return Error{step, reasonFor(errorNumber)};
            }
            if (::stat(step.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
                return Error{step, reasonFor(ENOTDIR)};
            }
        }
        if (end == std::string::npos) {
            return std::nullopt;
        }
    }
}

SettingsFolder chooseSettingsFolder(const std::string& programDir, std::string_view xdgConfigHome,
                                    std::string_view home, bool (*writable)(const std::string&)) {
    if (writable(programDir)) {
        return {programDir, std::nullopt};
    }
    std::string base;
    // A relative base would move with the current directory, so it counts as unset.
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
        base = xdgConfigHome;
    } else if (!home.empty()) {
        base = joinNative(home, ".config");
    } else {
        return {programDir,
                Error{programDir, "cannot be written, and neither XDG_CONFIG_HOME nor HOME "
                                  "names a folder for the settings"}};
    }
    SettingsFolder chosen{joinNative(base, "velo-start"), std::nullopt};
    chosen.error = makeFolders(chosen.path);
    return chosen;
}

namespace {
std::string homeFolder() {
    const char* homeVariable = std::getenv("HOME");
    std::string home = homeVariable != nullptr ? homeVariable : "";
    if (home.empty()) {
        std::string buffer(16384, '\0');
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    }
    return home;
}

const char* variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}
} // namespace

SettingsFolder settingsFolder() {
    return chooseSettingsFolder(programDirectory(), variable("XDG_CONFIG_HOME"), homeFolder());
}

std::string chooseGameLog(std::string_view xdgStateHome, std::string_view home) {
    // Relative bases count as unset, as for the settings folder.
    if (!xdgStateHome.empty() && xdgStateHome.front() == '/') {
        return joinNative(joinNative(xdgStateHome, "velo-start"), "game.log");
    }
    if (home.empty()) {
        return {};
    }
    return joinNative(joinNative(home, ".local/state/velo-start"), "game.log");
}

std::string chooseMenuFolder(std::string_view xdgDataHome, std::string_view home) {
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
        return joinNative(xdgDataHome, "applications");
    }
    if (home.empty()) {
        return {};
    }
    return joinNative(home, ".local/share/applications");
}

std::string menuFolder() {
    return chooseMenuFolder(variable("XDG_DATA_HOME"), homeFolder());
}

std::string gameLogPath() {
    return chooseGameLog(variable("XDG_STATE_HOME"), homeFolder());
}

} // namespace velo::platform

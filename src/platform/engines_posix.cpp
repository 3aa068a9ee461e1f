#include "engines.h"
#include "path.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velo::platform {

namespace {

// Clients before dedicated servers; Debian's /usr/games/quake2 is a launcher script.
constexpr std::array<std::string_view, 5> kNativeNames = {"quake2", "yquake2", "q2pro", "q2ded",
                                                          "q2proded"};
constexpr std::string_view kDistributionFolder = "/usr/lib/yamagi-quake2";
constexpr std::string_view kLauncherScripts = "/usr/games";

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool mayExecute(const std::string& path) {
    return isRegularFile(path) && ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

enum class Content { Other, Native, Windows };

// What a file holds by its first bytes: a program of this system (ELF, or a script the
// kernel runs by its "#!" line), a Windows program, or anything else.
Content contentOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Content::Other;
    }
    char magic[4] = {};
    ssize_t got = 0;
    do {
        got = ::read(fd, magic, sizeof magic);
    } while (got < 0 && errno == EINTR);
    ::close(fd);
    const std::string_view start(magic, got > 0 ? static_cast<std::size_t>(got) : 0);
    if (start.substr(0, 2) == "MZ") {
        return Content::Windows;
    }
    return start == "\x7f"
                    "ELF" ||
                   start.substr(0, 2) == "#!"
               ? Content::Native
               : Content::Other;
}

bool isWindowsProgram(const std::string& path) {
    return contentOf(path) == Content::Windows;
}

bool isNativeEngine(const std::string& path) {
    return mayExecute(path) && contentOf(path) == Content::Native;
}

// The first executable of that name in a PATH value; an empty entry is the current folder.
std::string findOnPath(std::string_view name, std::string_view pathEnv,
                       std::string_view skipFolder = {}) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = pathEnv.find(':', start);
        std::string_view entry = pathEnv.substr(
            start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
        if (entry.empty()) {
            entry = ".";
        }
        const std::string candidate = joinNative(entry, name);
        if (entry != skipFolder && mayExecute(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        start = colon + 1;
    }
}

// The game folder's own Quake2.exe, whatever the case of its name (Steam and GOG
// write it in small letters).
std::string originalIn(const std::string& gameDir) {
    DIR* folder = ::opendir(gameDir.c_str());
    if (folder == nullptr) {
        return {};
    }
    std::string found;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string candidate = joinNative(gameDir, entry->d_name);
        if (::strcasecmp(entry->d_name, "quake2.exe") == 0 && isRegularFile(candidate)) {
            found = candidate;
            // An exact match wins over another spelling beside it.
            if (std::string_view(entry->d_name) == "Quake2.exe") {
                break;
            }
        }
    }
    ::closedir(folder);
    return found;
}

void addOnce(std::vector<Engine>& engines, Engine engine) {
    for (const Engine& known : engines) {
        if (known.program == engine.program) {
            return;
        }
    }
    engines.push_back(std::move(engine));
}

} // namespace

EngineSearch searchHere(const std::string& gameDir) {
    const char* path = std::getenv("PATH");
    // With PATH unset, the shell's own default search list.
    return {gameDir, path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin", ""};
}

std::vector<Engine> findEngines(const EngineSearch& where) {
    std::vector<Engine> engines;
    if (!where.gameDir.empty()) {
        for (std::string_view name : kNativeNames) {
            const std::string path = joinNative(where.gameDir, name);
            if (isNativeEngine(path)) {
                addOnce(engines, {path, familyOf(name), {}});
            }
        }
        const std::string original = originalIn(where.gameDir);
        if (!original.empty()) {
            if (!isWindowsProgram(original)) {
                if (mayExecute(original)) {
                    addOnce(engines, {original, Family::Original, {}});
                }
            } else if (std::string wine = findOnPath("wine", where.pathEnv); !wine.empty()) {
                addOnce(engines, {original, familyAt(original), std::move(wine)});
            }
        }
    }
    const std::string scripts = where.root + std::string(kLauncherScripts);
    for (std::string_view name : kNativeNames) {
        std::string path = findOnPath(name, where.pathEnv, scripts);
        if (!path.empty() && !isWindowsProgram(path)) {
            addOnce(engines, {std::move(path), familyOf(name), {}});
        }
    }
    for (std::string_view name : {"quake2", "q2ded"}) {
        const std::string path = joinNative(where.root + std::string(kDistributionFolder), name);
        if (isNativeEngine(path)) {
            addOnce(engines, {path, Family::Yamagi, {}});
        }
    }
    return engines;
}

EngineLookup engineAt(const std::string& program, std::string_view pathEnv) {
    if (!isRegularFile(program)) {
        return {std::nullopt, Error{program, "not found"}};
    }
    switch (contentOf(program)) {
    case Content::Windows: {
        std::string wine = findOnPath("wine", pathEnv);
        if (wine.empty()) {
            return {std::nullopt, Error{program, "a Windows program, but wine is not on PATH"}};
        }
        return {Engine{program, familyAt(program), std::move(wine)}, std::nullopt};
    }
    case Content::Native:
        break;
    case Content::Other:
        return {std::nullopt, Error{program, "not a program: neither one of this system (ELF or "
                                             "a #! script) nor a Windows program"}};
    }
    if (!mayExecute(program)) {
        return {std::nullopt, Error{program, "not executable"}};
    }
    return {Engine{program, familyOf(program), {}}, std::nullopt};
}

std::string shortFolder(const std::string& folder) {
    return folder;
}

} // namespace velo::platform

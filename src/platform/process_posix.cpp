#include "process.h"
#include "spawn_posix.h"

#include "path.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velo::platform {

namespace {

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool mayExecute(const std::string& path) {
    return isRegularFile(path) && ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) == 0;
}

bool isWindowsProgram(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char magic[2] = {};
    ssize_t got = 0;
    do {
        got = ::read(fd, magic, sizeof magic);
    } while (got < 0 && errno == EINTR);
    ::close(fd);
    return got == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

// The first executable of that name in a PATH value; an empty entry is the current folder.
std::string findOnPath(std::string_view name, std::string_view pathEnv) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = pathEnv.find(':', start);
        const std::string_view entry = pathEnv.substr(
            start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
        const std::string candidate = joinNative(entry.empty() ? "." : entry, name);
        if (mayExecute(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        start = colon + 1;
    }
}

std::string engineList() {
    std::string list;
    for (std::string_view engine : kNativeEngines) {
        list += list.empty() ? "" : engine == kNativeEngines.back() ? " or " : ", ";
        list += engine;
    }
    return list;
}

} // namespace

PlanChoice choosePlan(const std::string& gameDir, const std::string& line,
                      std::string_view pathEnv) {
    LaunchPlan split = splitCommandLine(gameDir, line);
    const std::string game = split.program;
    if (gameDir.empty()) {
        return {{}, Error{"Quake2.exe", "no game folder has been chosen"}};
    }
    bool windowsGame = false;
    if (isRegularFile(game)) {
        windowsGame = isWindowsProgram(game);
        if (windowsGame) {
            const std::string wine = findOnPath("wine", pathEnv);
            if (!wine.empty()) {
                split.arguments.insert(split.arguments.begin(), game);
                split.program = wine;
                return {std::move(split), std::nullopt};
            }
        } else if (mayExecute(game)) {
            return {std::move(split), std::nullopt};
        }
    }
    for (std::string_view engine : kNativeEngines) {
        const std::string path = nativePath(gameDir + "\\" + std::string(engine));
        if (mayExecute(path) && !isWindowsProgram(path)) {
            split.program = path;
            return {std::move(split), std::nullopt};
        }
    }
    const std::string what = windowsGame           ? "a Windows program, but wine is not on PATH"
                             : isRegularFile(game) ? "not executable"
                                                   : "not found";
    return {{},
            Error{game, what + ", and no native engine (" + engineList() + ") is in " +
                            nativePath(gameDir) + ": Wine or a native engine is needed"}};
}

PlanChoice gamePlan(const std::string& gameDir, const std::string& line) {
    const char* path = std::getenv("PATH");
    // With PATH unset, the shell's own default search list.
    return choosePlan(gameDir, line, path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
}

namespace {
Spawned spawn(const std::string& program, const std::vector<std::string>& arguments, int output,
              bool watched) {
    // Everything the child needs is built before fork: after it only plain system calls.
    std::vector<std::string> texts;
    texts.reserve(arguments.size() + 1);
    texts.push_back(program);
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return {0, Error{program, reasonFor(errno)}};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int errorNumber = errno;
        ::close(report[0]);
        ::close(report[1]);
        return {0, Error{program, reasonFor(errorNumber)}};
    }
    if (child == 0) {
        // A session of its own: a terminal closed under the launcher does not end the game.
        ::setsid();
        // Unwatched, a middle process ends at once, so the game is nobody's child to wait for.
        const pid_t game = watched ? 0 : ::fork();
        if (game == 0) {
            if (output >= 0) {
                ::dup2(output, STDOUT_FILENO);
                ::dup2(output, STDERR_FILENO);
            }
            ::execv(argv[0], argv.data());
        }
        const int errorNumber = errno;
        if (game > 0) {
            ::_exit(0);
        }
        [[maybe_unused]] const ssize_t sent = ::write(report[1], &errorNumber, sizeof errorNumber);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    if (!watched) {
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    int errorNumber = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &errorNumber, sizeof errorNumber);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof errorNumber)) {
        while (watched && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return {0, Error{program, reasonFor(errorNumber)}};
    }
    return {watched ? child : 0, std::nullopt};
}
} // namespace

MaybeError spawnDetached(const std::string& program, const std::vector<std::string>& arguments) {
    return spawn(program, arguments, -1, false).error;
}

Spawned spawnWatched(const std::string& program, const std::vector<std::string>& arguments,
                     int output) {
    return spawn(program, arguments, output, true);
}

bool shellScriptsRun() {
    return true;
}

MaybeError startGame(const std::string& gameDir, const std::string& line, GameProcess* watch) {
    PlanChoice chosen = gamePlan(gameDir, line);
    if (chosen.error) {
        return chosen.error;
    }
    if (watch == nullptr) {
        return spawnDetached(chosen.plan.program, chosen.plan.arguments);
    }
    const int output = openGameLog(watch->log());
    const Spawned spawned = spawnWatched(chosen.plan.program, chosen.plan.arguments, output);
    if (output >= 0) {
        ::close(output);
    }
    if (!spawned.error) {
        watch->attach(spawned.pid, chosen.plan.program, output >= 0);
    }
    return spawned.error;
}

} // namespace velo::platform

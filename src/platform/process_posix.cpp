#include "process.h"
#include "spawn_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velo::platform {

namespace {
Spawned spawn(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDir, int output, bool watched) {
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

    // The game reads nothing of the launcher's input: a terminal's keys stay the shell's.
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing < 0) {
        return {0, Error{"/dev/null", reasonFor(errno)}};
    }
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        const int errorNumber = errno;
        ::close(nothing);
        return {0, Error{program, reasonFor(errorNumber)}};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int errorNumber = errno;
        ::close(nothing);
        ::close(report[0]);
        ::close(report[1]);
        return {0, Error{program, reasonFor(errorNumber)}};
    }
    if (child == 0) {
        // A session of its own: a terminal closed under the launcher does not end the game.
        ::setsid();
        // Unwatched, a middle process ends at once, so the game is nobody's child to wait for.
        const pid_t game = watched ? 0 : ::fork();
        if (game == 0 && (workingDir.empty() || ::chdir(workingDir.c_str()) == 0) &&
            ::dup2(nothing, STDIN_FILENO) >= 0) {
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
    ::close(nothing);
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

MaybeError spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDir) {
    return spawn(program, arguments, workingDir, -1, false).error;
}

Spawned spawnWatched(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingDir, int output) {
    return spawn(program, arguments, workingDir, output, true);
}

bool shellScriptsRun() {
    return true;
}

MaybeError startGame(const LaunchPlan& plan, GameProcess* watch) {
    // Named here: a folder the child cannot enter would be reported under the program.
    if (!plan.workingDir.empty() && ::access(plan.workingDir.c_str(), X_OK) != 0) {
        return Error{plan.workingDir, reasonFor(errno)};
    }
    if (watch == nullptr) {
        return spawnDetached(plan.program, plan.arguments, plan.workingDir);
    }
    const int output = openGameLog(watch->log());
    const Spawned spawned = spawnWatched(plan.program, plan.arguments, plan.workingDir, output);
    if (output >= 0) {
        ::close(output);
    }
    if (!spawned.error) {
        watch->attach(spawned.pid, plan.program, output >= 0);
    }
    return spawned.error;
}

} // namespace velo::platform

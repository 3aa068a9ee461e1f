#include "process.h"
#include "spawn_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velo::platform {

MaybeError spawnDetached(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDir) {
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
        return Error{program, reasonFor(errno)};
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int errorNumber = errno;
        ::close(report[0]);
        ::close(report[1]);
        return Error{program, reasonFor(errorNumber)};
    }
    if (child == 0) {
        // The middle process ends at once, so the game is nobody's child to wait for.
        ::setsid();
        const pid_t game = ::fork();
        if (game == 0 && (workingDir.empty() || ::chdir(workingDir.c_str()) == 0)) {
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
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int errorNumber = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &errorNumber, sizeof errorNumber);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof errorNumber)) {
        return Error{program, reasonFor(errorNumber)};
    }
    return std::nullopt;
}

bool shellScriptsRun() {
    return true;
}

MaybeError startGame(const LaunchPlan& plan) {
    // Named here: a folder the child cannot enter would be reported under the program.
    if (!plan.workingDir.empty() && ::access(plan.workingDir.c_str(), X_OK) != 0) {
        return Error{plan.workingDir, reasonFor(errno)};
    }
    return spawnDetached(plan.program, plan.arguments, plan.workingDir);
}

} // namespace velo::platform

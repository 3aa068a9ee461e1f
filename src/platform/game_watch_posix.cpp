#include "game_watch.h"
#include "spawn_posix.h"

#include "file.h"
#include "path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velo::platform {

namespace {

constexpr std::size_t kShownLines = 10;
constexpr std::size_t kShownBytes = 2048;
constexpr std::size_t kShownErrorBytes = 300;

std::string statusText(int status) {
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return "signal " + std::to_string(signal) + " (" + ::strsignal(signal) + ")";
    }
    return "exit status " + std::to_string(WEXITSTATUS(status));
}

// The output as kept: cut to its last kKeptOutput bytes, from a line start where there is one.
// Only done once the game has ended, so no write of it is lost to the cut.
std::string keptOutput(const std::string& log) {
    std::ifstream in(log, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    const std::streamoff start = std::max<std::streamoff>(0, size - std::streamoff{kKeptOutput});
    std::string text(static_cast<std::size_t>(size - start), '\0');
    in.seekg(start);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
    if (start > 0) {
        const std::size_t lineEnd = text.find('\n');
        if (lineEnd != std::string::npos && lineEnd + 1 < text.size()) {
            text.erase(0, lineEnd + 1);
        }
        // Only a help for the player: a log that cannot be cut stays as the game left it.
        writeTextFileAtomic(log, text);
    }
    return text;
}

bool readsAsError(std::string line) {
    std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    for (const char* word : {"error", "couldn't", "fatal"}) {
        if (line.find(word) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Read through the whole output before it is cut: the cause is often near its start.
std::string firstErrorLine(const std::string& log) {
    std::ifstream in(log, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (readsAsError(line)) {
            return line.substr(0, kShownErrorBytes);
        }
    }
    return {};
}

std::string lastLines(std::string text) {
    text.erase(0, text.size() > kShownBytes ? text.size() - kShownBytes : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    std::size_t start = text.size();
    for (std::size_t lines = 0; lines < kShownLines && start > 0; ++lines) {
        const std::size_t lineEnd = text.rfind('\n', start - 1);
        start = lineEnd == std::string::npos ? 0 : lineEnd;
    }
    text.erase(0, start == 0 ? 0 : start + 1);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

} // namespace

int openGameLog(const std::string& log) {
    const std::size_t slash = log.rfind('/');
    if (log.empty() || (slash != std::string::npos && slash > 0 &&
                        makeFolders(log.substr(0, slash)).has_value())) {
        return -1;
    }
    // A new file, not the old one emptied: a game still running from an earlier start
    // keeps writing into the old one, never among this start's lines.
    if (::unlink(log.c_str()) != 0 && errno != ENOENT) {
        return -1;
    }
    int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0 && fd <= STDERR_FILENO) {
        // Kept clear of the numbers it is about to be copied onto in the game.
        const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
        ::close(fd);
        fd = moved;
    }
    return fd;
}

void restoreChildSignal() {
    struct sigaction action {};
    if (::sigaction(SIGCHLD, nullptr, &action) != 0 ||
        (action.sa_handler != SIG_IGN && (action.sa_flags & SA_NOCLDWAIT) == 0)) {
        return;
    }
    if (action.sa_handler == SIG_IGN) {
        action.sa_handler = SIG_DFL;
    }
    action.sa_flags &= ~SA_NOCLDWAIT;
    ::sigaction(SIGCHLD, &action, nullptr);
}

GameProcess::~GameProcess() = default;

void GameProcess::attach(std::intptr_t id, std::string program, bool logged) {
    id_ = id;
    program_ = std::move(program);
    logged_ = logged;
}

std::optional<GameEnd> GameProcess::ended() {
    int status = 0;
    if (id_ <= 0 || ::waitpid(static_cast<pid_t>(id_), &status, WNOHANG) <= 0) {
        return std::nullopt;
    }
    id_ = 0;
    GameEnd end{program_, statusText(status), status != 0, {}, logged_ ? log_ : std::string(), {}};
    if (logged_) {
        end.errorLine = firstErrorLine(log_);
        end.lastLines = lastLines(keptOutput(log_));
    }
    return end;
}

} // namespace velo::platform

#include "shell.h"
#include "spawn_posix.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace velo::platform {

namespace {

constexpr const char* kQuery = "/usr/bin/xdg-mime";
constexpr const char* kOpener = "/usr/bin/xdg-open";

// The scheme of an address such as "mailto:...", or "" where it has none.
std::string schemeOf(const std::string& address) {
    const std::size_t colon = address.find(':');
    if (colon == std::string::npos || colon == 0) {
        return {};
    }
    for (std::size_t i = 0; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(address[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return {};
        }
    }
    return address.substr(0, colon);
}

// The desktop's program for addresses of scheme, as its list of default programs names it:
// "" where none is set up, nullopt where the list cannot be asked.
std::optional<std::string> programFor(const std::string& scheme) {
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    const Spawned query =
        spawnWatched(kQuery, {"query", "default", "x-scheme-handler/" + scheme}, {}, output[1]);
    ::close(output[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t got = 0; !query.error;) {
        got = ::read(output[0], buffer, sizeof buffer);
        if (got > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(output[0]);
    if (query.error) {
        return std::nullopt;
    }
    int status = 0;
    while (::waitpid(query.pid, &status, 0) < 0 && errno == EINTR) {
    }
    while (!answer.empty() && std::isspace(static_cast<unsigned char>(answer.back()))) {
        answer.pop_back();
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? answer : std::string();
}

} // namespace

bool shellOpen(const std::string& address) {
    const std::string scheme = schemeOf(address);
    if (!scheme.empty()) {
        const std::optional<std::string> program = programFor(scheme);
        if (program && program->empty()) {
            return false;
        }
    }
    return !spawnDetached(kOpener, {address}).has_value();
}

} // namespace velo::platform

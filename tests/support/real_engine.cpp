#include "support/real_engine.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using velo::platform::GameEnd;
using velo::platform::LaunchPlan;

namespace velo::test {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

bool onCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

std::string missingProgram(const std::string& program) {
    if (::access(program.c_str(), X_OK) == 0) {
        return {};
    }
    return program + " cannot be run: " + std::strerror(errno);
}

RealGame::RealGame(fs::path home, fs::path log, Options options)
    : home_(std::move(home)), idFile_(log.string() + ".id"), options_(std::move(options)),
      watch_(log.string()) {
    fs::create_directories(home_);
    fs::permissions(home_, fs::perms::all);
    fs::create_directories(log.parent_path());
}

RealGame::~RealGame() {
    if (ended()) {
        return;
    }
    // No id: the start failed, so nothing runs.
    if (const int id = processId(); id > 1) {
        ::kill(-id, SIGKILL);
        waitForEnd(5s);
    }
}

LaunchPlan RealGame::wrap(const LaunchPlan& plan) const {
    // $$ stays the time limit's process once exec'd: the group stop() and the destructor end.
    std::string script = "echo $$ >" + quoted(idFile_.string()) +
                         "\nset -- \"$0\" \"$@\"\n"
                         "[ \"$(/usr/bin/id -u)\" != 0 ] || set -- /usr/bin/setpriv "
                         "--reuid=nobody --regid=nogroup --clear-groups \"$@\"\n"
                         "exec /usr/bin/env HOME=" +
                         quoted(home_.string());
    for (const std::string& variable : options_.environment) {
        script += " " + quoted(variable);
    }
    script += " /usr/bin/timeout -k 5 " + std::to_string(options_.timeoutSeconds) + " \"$@\" <" +
              quoted(options_.input);
    LaunchPlan wrapped = plan;
    wrapped.program = "/bin/sh";
    wrapped.arguments = {"-c", script, plan.program};
    wrapped.arguments.insert(wrapped.arguments.end(), plan.arguments.begin(), plan.arguments.end());
    return wrapped;
}

const std::optional<GameEnd>& RealGame::ended() {
    if (!end_) {
        end_ = watch_.ended();
    }
    return end_;
}

std::optional<GameEnd> RealGame::waitForEnd(std::chrono::milliseconds within) {
    for (auto deadline = std::chrono::steady_clock::now() + within;
         !ended() && std::chrono::steady_clock::now() < deadline;) {
        std::this_thread::sleep_for(50ms);
    }
    return end_;
}

std::optional<GameEnd> RealGame::stop(std::chrono::milliseconds wait) {
    const int id = processId();
    if (!ended() && id > 1) {
        ::kill(id, SIGTERM);
    }
    if (waitForEnd(wait)) {
        return end_;
    }
    if (id > 1) {
        ::kill(-id, SIGKILL);
    }
    waitForEnd(5s);
    return std::nullopt;
}

std::string RealGame::output() const {
    return readFile(watch_.log());
}

int RealGame::processId() const {
    return std::atoi(readFile(idFile_).c_str());
}

Xvfb::Xvfb() {
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // The server writes the display it found free to fd 3.
        ::dup2(ready[1], 3);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::execl(kXvfb, kXvfb, "-displayfd", "3", "-nolisten", "tcp", "-noreset", "-screen", "0",
                "640x480x24", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ready[1]);
    if (child < 0) {
        error_ = std::string("fork: ") + std::strerror(errno);
        ::close(ready[0]);
        return;
    }
    pid_ = child;
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    char c = 0;
    while (::poll(&wait, 1, 10000) > 0 && ::read(ready[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    ::close(ready[0]);
    if (number.empty()) {
        error_ = std::string(kXvfb) + " named no display within 10 s";
        return;
    }
    display_ = ":" + number;
}

Xvfb::~Xvfb() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

std::vector<std::string> clientEnvironment(const std::string& display) {
    return {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
            "LIBGL_ALWAYS_SOFTWARE=1"};
}

std::optional<std::string> askServer(int port, std::string_view command,
                                     std::chrono::milliseconds timeout) {
    const int sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sock < 0) {
        return std::nullopt;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string packet = "\xff\xff\xff\xff" + std::string(command) + "\n";
    std::optional<std::string> answer;
    if (::connect(sock, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
        ::send(sock, packet.data(), packet.size(), 0) == static_cast<ssize_t>(packet.size())) {
        pollfd wait{sock, POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(timeout.count())) > 0) {
            std::string bytes(65536, '\0');
            const ssize_t got = ::recv(sock, bytes.data(), bytes.size(), 0);
            if (got >= 0) {
                bytes.resize(static_cast<std::size_t>(got));
                answer = bytes.compare(0, 4, "\xff\xff\xff\xff") == 0 ? bytes.substr(4) : bytes;
            }
        }
    }
    ::close(sock);
    return answer;
}

std::optional<std::string> waitForStatus(int port, std::chrono::milliseconds within, RealGame* game,
                                         const std::function<bool(const std::string&)>& accept) {
    std::optional<std::string> last;
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline && !(game && game->ended())) {
        if (auto answer = askServer(port, "status", 300ms)) {
            if (!accept || accept(*answer)) {
                return answer;
            }
            last = std::move(answer);
        }
        std::this_thread::sleep_for(100ms);
    }
    return last;
}

// From the server info on: the \key\value line, then the player lines.
static std::vector<std::string> infoAndPlayers(const std::string& status) {
    std::vector<std::string> lines;
    const std::size_t start = status.find('\\');
    std::istringstream in(start == std::string::npos ? "" : status.substr(start));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() || lines.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::optional<std::string> statusValue(const std::string& status, std::string_view key) {
    const std::vector<std::string> lines = infoAndPlayers(status);
    std::istringstream info(lines.empty() ? "" : lines[0].substr(1));
    // A name the line ends on has no value.
    for (std::string name, value; std::getline(info, name, '\\') && !info.eof();) {
        std::getline(info, value, '\\');
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

std::vector<std::string> statusPlayers(const std::string& status) {
    std::vector<std::string> lines = infoAndPlayers(status);
    return lines.empty() ? lines : std::vector<std::string>(lines.begin() + 1, lines.end());
}

} // namespace velo::test

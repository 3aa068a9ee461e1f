#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace velo::platform {

// The game's output file is cut to this many bytes from its end once the game is seen to end.
inline constexpr std::size_t kKeptOutput = 256 * 1024;

// How a started game ended.
struct GameEnd {
    std::string program;
    std::string status;    // "exit status 1", "signal 15 (Terminated)", "exit code 0xC0000135"
    bool failed = false;   // a non-zero status or a signal
    std::string lastLines; // the end of its output; empty where it wrote none or none is kept
    std::string log;       // the file that holds its whole output; empty where none is kept
    // The first line of its output that reads as an error ("error", "couldn't", "fatal" in
    // any case): the cause is often far above the shutdown lines at the end. Empty if none.
    std::string errorLine;
};

// Gives SIGCHLD back its default action where the parent left it ignored (POSIX): the system
// would reap every child itself, and no game's end could be seen. Once, at start-up.
void restoreChildSignal();

// A started game, watched for a short while to see whether it ends at once. Letting go of it
// leaves the game running.
class GameProcess {
public:
    // log: where startGame sends the game's output (POSIX), a new file at each start.
    explicit GameProcess(std::string log = {}) : log_(std::move(log)) {}
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    const std::string& log() const { return log_; }

    // For startGame: the game just started (POSIX: its process id, a child of this process;
    // Windows: its process handle, now owned here) and whether its output went to log.
    void attach(std::intptr_t id, std::string program, bool logged);

    // The game's end the first time it is seen, without waiting; nullopt while it runs
    // (or when nothing is attached). Its output file is then cut to kKeptOutput.
    std::optional<GameEnd> ended();

private:
    std::string log_;
    std::intptr_t id_ = 0;
    std::string program_;
    bool logged_ = false;
};

} // namespace velo::platform

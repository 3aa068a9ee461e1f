#pragma once

#include "platform/game_watch.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Starting Debian's real engines in tests: as nobody (they refuse root), on a display of the
// test's own, never outliving the test.
namespace velo::test {

// Why program cannot be run, or empty when it can. Under CI=true a missing program is a
// failure: CI installs every one the tests start.
std::string missingProgram(const std::string& program);
bool onCi();

// Skips the test when program is missing (fails under CI=true), naming the Debian package.
#define REQUIRE_PROGRAM(program, package)                                                          \
    do {                                                                                           \
        const std::string velo_missing_ = ::velo::test::missingProgram(program);                   \
        if (!velo_missing_.empty()) {                                                              \
            ASSERT_FALSE(::velo::test::onCi()) << velo_missing_ << ": CI installs " << package;    \
            GTEST_SKIP() << velo_missing_ << " (Debian: " << package << ")";                       \
        }                                                                                          \
    } while (false)

inline constexpr const char* kDedicatedServer = "/usr/lib/yamagi-quake2/q2ded";
inline constexpr const char* kClient = "/usr/lib/yamagi-quake2/quake2";

// One start of a real engine. The home folder (HOME, where the engine writes .yq2) is made
// and opened to nobody; whatever still runs when this goes is killed.
class RealGame {
public:
    struct Options {
        std::vector<std::string> environment; // "NAME=value", e.g. DISPLAY
        std::string input = "/dev/null";      // the engine's standard input (its console)
        int timeoutSeconds = 30;              // then the engine is ended whatever it does
    };

    // log: the file startGame sends the engine's output to.
    RealGame(std::filesystem::path home, std::filesystem::path log, Options options);
    RealGame(std::filesystem::path home, std::filesystem::path log)
        : RealGame(std::move(home), std::move(log), Options{}) {}
    ~RealGame();
    RealGame(const RealGame&) = delete;
    RealGame& operator=(const RealGame&) = delete;

    // plan run through /bin/sh as nobody (when root) with this HOME, environment and time
    // limit; plan's program and arguments stay, unchanged, as its last arguments.
    velo::platform::LaunchPlan wrap(const velo::platform::LaunchPlan& plan) const;

    // What to hand startGame with the wrapped plan.
    velo::platform::GameProcess& watch() { return watch_; }

    // The engine's end, kept once seen; nullopt while it runs.
    const std::optional<velo::platform::GameEnd>& ended();

    // Waits up to within for the engine to end by itself; its end, or nullopt while it runs.
    std::optional<velo::platform::GameEnd> waitForEnd(std::chrono::milliseconds within);

    // Ends the engine with SIGTERM (the client saves config.cfg then) and waits for it; it is
    // killed when it has not ended within wait. Its end, or nullopt when it had to be killed.
    std::optional<velo::platform::GameEnd>
    stop(std::chrono::milliseconds wait = std::chrono::seconds(10));

    const std::filesystem::path& home() const { return home_; }
    // The engine's output so far.
    std::string output() const;

private:
    int processId() const;

    std::filesystem::path home_;
    std::filesystem::path idFile_;
    Options options_;
    velo::platform::GameProcess watch_;
    std::optional<velo::platform::GameEnd> end_;
};

inline constexpr const char* kXvfb = "/usr/bin/Xvfb";

// An X server of the test's own on a free display (others may run beside it), for the
// client; killed on destruction. Check kXvfb with REQUIRE_PROGRAM first.
class Xvfb {
public:
    Xvfb();
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // ":N", or empty when the server did not come up (the reason is in error()).
    const std::string& display() const { return display_; }
    const std::string& error() const { return error_; }

private:
    int pid_ = 0;
    std::string display_;
    std::string error_;
};

// The environment the client needs on display: SDL on X, no sound card, Mesa's software GL.
std::vector<std::string> clientEnvironment(const std::string& display);

// Sends a connectionless packet (four 0xFF bytes, command, newline) to 127.0.0.1:port and
// returns the answer without its four 0xFF bytes, or nullopt when none came within timeout.
std::optional<std::string> askServer(int port, std::string_view command,
                                     std::chrono::milliseconds timeout);

// Asks status until an answer is accepted (any answer by default: servers answer only while a
// map runs) or within has passed, stopping early when game is given and has ended. The
// accepted answer, else the last one seen, else nullopt.
std::optional<std::string>
waitForStatus(int port, std::chrono::milliseconds within, RealGame* game = nullptr,
              const std::function<bool(const std::string&)>& accept = {});

// The value of key in a status answer's server info, or nullopt.
std::optional<std::string> statusValue(const std::string& status, std::string_view key);

// The player lines of a status answer ("SCORE PING \"NAME\"").
std::vector<std::string> statusPlayers(const std::string& status);

} // namespace velo::test

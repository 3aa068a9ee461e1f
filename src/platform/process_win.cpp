#include "path.h"
#include "process.h"
#include "win_text.h"

#include <windows.h>

namespace velo::platform {

PlanChoice gamePlan(const std::string& gameDir, const std::string& line) {
    return {splitCommandLine(gameDir, line), std::nullopt};
}

bool shellScriptsRun() {
    return false;
}

MaybeError startGame(const std::string& gameDir, const std::string& line, GameProcess* watch) {
    const std::string program = nativePath(gameDir + "\\Quake2.exe");
    const std::optional<std::wstring> application = win::wide(program);
    std::optional<std::wstring> commandLine = win::wide(line);
    if (!application || !commandLine) {
        return Error{program, win::reasonFor(ERROR_NO_UNICODE_TRANSLATION)};
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started{};
    // Naming the program stops the search for one at every blank of an unquoted
    // path; the game still gets the line exactly as composed.
    if (!CreateProcessW(application->c_str(), commandLine->data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
        return win::lastError(program);
    }
    CloseHandle(started.hThread);
    if (watch != nullptr) {
        watch->attach(reinterpret_cast<std::intptr_t>(started.hProcess), program, false);
    } else {
        CloseHandle(started.hProcess);
    }
    return std::nullopt;
}

} // namespace velo::platform

#include "process.h"
#include "win_text.h"

#include <windows.h>

namespace velo::platform {

bool shellScriptsRun() {
    return false;
}

MaybeError startGame(const LaunchPlan& plan, GameProcess* watch) {
    const std::optional<std::wstring> application = win::wide(plan.program);
    std::optional<std::wstring> commandLine = win::wide(plan.commandLine);
    const std::optional<std::wstring> workingDir = win::wide(plan.workingDir);
    if (!application || !commandLine || !workingDir) {
        return Error{plan.program, win::reasonFor(ERROR_NO_UNICODE_TRANSLATION)};
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started{};
    // Naming the program stops the search for one at every blank of an unquoted
    // path; the game still gets its command line exactly as planned.
    if (!CreateProcessW(application->c_str(), commandLine->data(), nullptr, nullptr, FALSE, 0,
                        nullptr, workingDir->empty() ? nullptr : workingDir->c_str(), &startup,
                        &started)) {
        return win::lastError(plan.program);
    }
    CloseHandle(started.hThread);
    if (watch != nullptr) {
        watch->attach(reinterpret_cast<std::intptr_t>(started.hProcess), plan.program, false);
    } else {
        CloseHandle(started.hProcess);
    }
    return std::nullopt;
}

} // namespace velo::platform

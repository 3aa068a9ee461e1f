#include "game_watch.h"

#include <windows.h>

#include <cstdio>

namespace velo::platform {

namespace {

HANDLE handleOf(std::intptr_t id) {
    return reinterpret_cast<HANDLE>(id);
}

// Codes from the system (a crash, a missing library) read best in hexadecimal.
std::string statusText(DWORD code) {
    if (code < 0xC0000000u) {
        return "exit code " + std::to_string(code);
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
    return std::string("exit code ") + hex;
}

} // namespace

void restoreChildSignal() {}

GameProcess::~GameProcess() {
    if (id_ != 0) {
        CloseHandle(handleOf(id_));
    }
}

void GameProcess::attach(std::intptr_t id, std::string program, bool logged) {
    if (id_ != 0) {
        CloseHandle(handleOf(id_));
    }
    id_ = id;
    program_ = std::move(program);
    logged_ = logged;
}

std::optional<GameEnd> GameProcess::ended() {
    DWORD code = 0;
    if (id_ == 0 || WaitForSingleObject(handleOf(id_), 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(handleOf(id_), &code)) {
        return std::nullopt;
    }
    CloseHandle(handleOf(id_));
    id_ = 0;
    // The original program writes nothing to its standard output: the code is all there is.
    return GameEnd{program_, statusText(code), code != 0, {}, {}, {}};
}

} // namespace velo::platform

// Stands in for the game in the start tests: records which program it is, the
// command line it was handed, its show state, where it would keep its settings file and
// the folder it works in (and, beside, what its standard input is), then stays up until the test
// says it may go, so a start that waited for it would show; or, given VELO_STUB_EXIT, ends at once
// with that code.

#include "core/settings.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/win_text.h"

#include <windows.h>

#include <cstdlib>
#include <string>

using namespace velo::platform;

// What the standard input is; "null" only for a device that reads as empty at once.
std::string inputKind() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        return "none";
    }
    if (GetConsoleMode(input, &mode)) {
        return "console";
    }
    switch (GetFileType(input)) {
    case FILE_TYPE_CHAR: {
        char byte = 0;
        DWORD got = 0;
        return ReadFile(input, &byte, 1, &got, nullptr) && got == 0 ? "null" : "device";
    }
    case FILE_TYPE_PIPE:
        return "pipe";
    case FILE_TYPE_DISK:
        return "file";
    default:
        return "unknown";
    }
}

int main() {
    const wchar_t* recordName = _wgetenv(L"VELO_STUB_RECORD");
    if (recordName == nullptr) {
        return 2;
    }
    const std::string record = win::utf8(recordName);
    wchar_t module[32768];
    const DWORD moduleLength = GetModuleFileNameW(nullptr, module, 32768);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const bool showSet = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;
    wchar_t folder[32768];
    const DWORD folderLength = GetCurrentDirectoryW(32768, folder);
    // Written whole, then renamed into place: the test never sees half a record. The input's
    // kind first, so it is there once the record is.
    if (writeTextFileAtomic(record + ".input", inputKind()) ||
        writeTextFileAtomic(record, win::utf8(std::wstring(module, moduleLength)) + "\n" +
                                        win::utf8(GetCommandLineW()) + "\n" +
                                        (showSet ? std::to_string(startup.wShowWindow) : "unset") +
                                        "\n" + velo::core::settingsPathIn(settingsFolder().path) +
                                        "\n" + win::utf8(std::wstring(folder, folderLength)) +
                                        "\n")) {
        return 3;
    }
    if (const char* code = std::getenv("VELO_STUB_EXIT")) {
        ExitProcess(static_cast<UINT>(std::strtoul(code, nullptr, 0)));
    }
    for (int i = 0; i < 400 && !FileExists(record + ".go"); ++i) {
        Sleep(50);
    }
    return writeTextFileAtomic(record + ".done", "") ? 4 : 0;
}

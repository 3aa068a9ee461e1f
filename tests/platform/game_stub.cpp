// Stands in for the game in the start tests: records which program it is, the
// command line it was handed, its show state, where it would keep its settings file and
// the folder it works in, then stays up until the test says it may go, so a start that
// waited for it would show; or, given VELO_STUB_EXIT, ends at once with that code.

#include "core/settings.h"
#include "platform/path.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int need =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(need > 0 ? need : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), need, nullptr, nullptr);
    return out;
}

std::wstring variable(const wchar_t* name) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

} // namespace

int main() {
    const std::wstring record = variable(L"VELO_STUB_RECORD");
    if (record.empty()) {
        return 2;
    }
    wchar_t module[32768];
    const DWORD moduleLength = GetModuleFileNameW(nullptr, module, 32768);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const bool showSet = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0;

    wchar_t folder[32768];
    const DWORD folderLength = GetCurrentDirectoryW(32768, folder);
    const std::string text = utf8(std::wstring(module, moduleLength)) + "\n" +
                             utf8(GetCommandLineW()) + "\n" +
                             (showSet ? std::to_string(startup.wShowWindow) : "unset") + "\n" +
                             velo::core::settingsPathIn(velo::platform::settingsFolder().path) +
                             "\n" + utf8(std::wstring(folder, folderLength)) + "\n";
    // Written whole, then renamed into place: the test never sees half a record.
    const std::wstring part = record + L".part";
    const HANDLE file =
        CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(part.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);

    if (const std::wstring code = variable(L"VELO_STUB_EXIT"); !code.empty()) {
        ExitProcess(static_cast<UINT>(std::wcstoul(code.c_str(), nullptr, 0)));
    }
    const std::wstring go = record + L".go";
    for (int i = 0; i < 400 && GetFileAttributesW(go.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
        Sleep(50);
    }
    const std::wstring done = record + L".done";
    CloseHandle(CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return 0;
}

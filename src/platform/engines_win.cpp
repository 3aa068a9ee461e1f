#include "engines.h"
#include "path.h"
#include "win_text.h"

#include <windows.h>

#include <array>

namespace velo::platform {

namespace {

constexpr std::array<std::string_view, 4> kNativeNames = {"yquake2.exe", "q2pro.exe", "q2ded.exe",
                                                          "q2proded.exe"};

bool isFile(const std::string& path) {
    const std::optional<std::wstring> name = win::wide(path);
    if (!name) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(name->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void addIfThere(std::vector<Engine>& engines, const std::string& path) {
    if (!isFile(path)) {
        return;
    }
    for (const Engine& known : engines) {
        if (CompareStringOrdinal(win::wide(known.program)->c_str(), -1, win::wide(path)->c_str(),
                                 -1, TRUE) == CSTR_EQUAL) {
            return;
        }
    }
    engines.push_back({path, familyAt(path), {}});
}

// A Windows program starts with "MZ"; CreateProcess would refuse anything else.
bool isWindowsProgram(const std::string& path) {
    const std::optional<std::wstring> name = win::wide(path);
    if (!name) {
        return false;
    }
    const HANDLE file = CreateFileW(name->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char magic[2] = {};
    DWORD got = 0;
    const bool read = ReadFile(file, magic, sizeof magic, &got, nullptr) != 0;
    CloseHandle(file);
    return read && got == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

} // namespace

EngineSearch searchHere(const std::string& gameDir) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(L"PATH", buffer, 32768);
    return {gameDir, length > 0 && length < 32768 ? win::utf8({buffer, length}) : "", ""};
}

std::vector<Engine> findEngines(const EngineSearch& where) {
    std::vector<Engine> engines;
    if (!where.gameDir.empty()) {
        // Yamagi's build brings a quake2.exe of its own that starts yquake2.exe: the engine
        // itself comes first.
        addIfThere(engines, joinNative(where.gameDir, "yquake2.exe"));
        addIfThere(engines, joinNative(where.gameDir, "Quake2.exe"));
        for (std::string_view name : kNativeNames) {
            addIfThere(engines, joinNative(where.gameDir, name));
        }
    }
    for (std::string_view name : kNativeNames) {
        std::size_t start = 0;
        while (start <= where.pathEnv.size()) {
            const std::size_t end = where.pathEnv.find(';', start);
            const std::string entry = where.pathEnv.substr(start, end - start);
            if (!entry.empty()) {
                addIfThere(engines, joinNative(entry, name));
            }
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    return engines;
}

EngineLookup engineAt(const std::string& program, std::string_view) {
    if (!isFile(program)) {
        return {std::nullopt, Error{program, "not found"}};
    }
    if (!isWindowsProgram(program)) {
        return {std::nullopt, Error{program, "not a program"}};
    }
    return {Engine{program, familyAt(program), {}}, std::nullopt};
}

std::string shortFolder(const std::string& folder) {
    const std::optional<std::wstring> path = win::wide(folder);
    if (!path) {
        return folder;
    }
    wchar_t buffer[32768];
    const DWORD length = GetShortPathNameW(path->c_str(), buffer, 32768);
    return length > 0 && length < 32768 ? win::utf8({buffer, length}) : folder;
}

} // namespace velo::platform

#include "game_search.h"
#include "win_text.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace velo::platform {

namespace {

// Steam's own record of where it is, with "/" separators; empty when it is not installed.
std::string registeredSteam() {
    DWORD bytes = 0;
    const wchar_t* key = L"Software\\Valve\\Steam";
    if (RegGetValueW(HKEY_CURRENT_USER, key, L"SteamPath", RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS ||
        bytes < sizeof(wchar_t)) {
        return {};
    }
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key, L"SteamPath", RRF_RT_REG_SZ, nullptr, value.data(),
                     &bytes) != ERROR_SUCCESS) {
        return {};
    }
    value.resize(wcsnlen(value.c_str(), value.size()));
    return win::utf8(value);
}

std::string environment(const wchar_t* name, const char* fallback) {
    const wchar_t* value = _wgetenv(name);
    return value != nullptr && *value != L'\0' ? win::utf8(value) : fallback;
}

} // namespace

GamePlaces gamePlaces(const SearchRoots& roots) {
    GamePlaces places;
    // A prefix stands for drive C: in tests; a real machine names its own folders.
    const bool real = roots.prefix.empty();
    const std::string programs = real ? environment(L"ProgramFiles(x86)", "C:\\Program Files (x86)")
                                      : roots.prefix + "\\Program Files (x86)";
    if (real) {
        if (std::string steam = registeredSteam(); !steam.empty()) {
            places.steamRoots.push_back(std::move(steam));
        }
    }
    places.steamRoots.push_back(programs + "\\Steam");
    places.parents = {programs + "\\GOG Galaxy\\Games",
                      (real ? std::string("C:") : roots.prefix) + "\\GOG Games"};
    return places;
}

SearchRoots searchRoots() {
    return {environment(L"USERPROFILE", ""), ""};
}

} // namespace velo::platform

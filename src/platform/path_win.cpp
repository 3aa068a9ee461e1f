#include "path.h"
#include "win_text.h"

#include <windows.h>

namespace velo::platform {

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// How much of path names its root, which is never created: "C:\", "\\server\share\",
// "\\?\C:\" or a lone "\".
std::size_t rootLength(std::wstring_view path) {
    std::size_t start = 0;
    if (path.substr(0, 4) == L"\\\\?\\") {
        start = 4;
    } else if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t end = 2;
        for (int part = 0; part < 2 && end < path.size(); ++part) {
            const std::size_t next = path.find_first_of(L"\\/", end);
            end = next == std::wstring_view::npos ? path.size() : next + 1;
        }
        return end;
    }
    const std::wstring_view rest = path.substr(start);
    if (rest.size() >= 2 && rest[1] == L':') {
        return start + (rest.size() >= 3 && isSeparator(rest[2]) ? 3 : 2);
    }
    return start + (!rest.empty() && isSeparator(rest[0]) ? 1 : 0);
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

std::string absolutePath(const std::string& path) {
    const std::optional<std::wstring> name = win::wide(path);
    if (!name || name->empty() || rootLength(*name) > 0) {
        return path;
    }
    const DWORD size = GetFullPathNameW(name->c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(name->c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return win::utf8(full);
}

std::string programDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return ".";
        }
        if (length < size) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const std::size_t slash = buffer.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return ".";
    }
    // A drive root keeps its backslash: "C:" alone would mean that drive's current folder.
    const bool root = slash == 2 && buffer[1] == L':';
    buffer.resize(root ? slash + 1 : slash);
    return win::utf8(buffer);
}

std::string joinNative(std::string_view dir, std::string_view name) {
    std::string joined(dir);
    if (joined.empty() || (joined.back() != '\\' && joined.back() != '/')) {
        joined += '\\';
    }
    joined += name;
    return joined;
}

std::string nativePath(std::string_view composed) {
    return std::string(composed);
}

bool folderWritable(const std::string& folder) {
    // Access lists, read-only media and policies all decide here; only a real
    // create answers for every one of them.
    const std::optional<std::wstring> path = win::wide(folder);
    if (!path || !isFolder(*path)) {
        return false;
    }
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string probeName = ".velo-write-" + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(attempt) + ".tmp";
        const std::optional<std::wstring> probe = win::wide(joinNative(folder, probeName));
        if (!probe) {
            return false;
        }
        const HANDLE file = CreateFileW(
            probe->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

MaybeError makeFolders(const std::string& folder) {
    const std::optional<std::wstring> path = win::wide(folder);
    if (!path) {
        return Error{folder, win::reasonFor(ERROR_NO_UNICODE_TRANSLATION)};
    }
    const std::size_t root = rootLength(*path);
    for (std::size_t end = path->find_first_of(L"\\/", root);;
         end = path->find_first_of(L"\\/", end + 1)) {
        const std::wstring step = path->substr(0, end);
        if (step.size() > root && !isSeparator(step.back()) &&
            CreateDirectoryW(step.c_str(), nullptr) == 0) {
            const DWORD code = GetLastError();
            if (code != ERROR_ALREADY_EXISTS) {
                return Error{win::utf8(step), win::reasonFor(code)};
            }
            if (!isFolder(step)) {
                return Error{win::utf8(step), win::reasonFor(ERROR_DIRECTORY)};
            }
        }
        if (end == std::wstring::npos) {
            return std::nullopt;
        }
    }
}

SettingsFolder settingsFolder() {
    return {programDirectory(), std::nullopt};
}

std::string menuFolder() {
    return {};
}

std::string gameLogPath() {
    return {};
}

} // namespace velo::platform

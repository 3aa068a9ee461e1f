#include "path.h"
#include "win_text.h"

#include <windows.h>

namespace velo::platform {

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

} // namespace velo::platform

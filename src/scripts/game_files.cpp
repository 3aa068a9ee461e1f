#include "game_files.h"

#include "platform/file.h"
#include "platform/path.h"

namespace velo::scripts {

std::string mainScriptPath(std::string_view gameDir) {
    return std::string(gameDir) + "\\baseq2\\q2velo.txt";
}

std::string extraScriptPath(std::string_view gameDir) {
    return std::string(gameDir) + "\\baseq2\\q2extra.txt";
}

platform::MaybeError writeScript(std::string_view composedPath, std::string_view content) {
    // The game folder may hold its base folder as BaseQ2 or BASEQ2: the script goes there.
    const std::string path = platform::nativePath(composedPath);
    const std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string::npos || separator == 0) {
        return platform::writeTextFileAtomic(path, content);
    }
    return platform::writeTextFileAtomic(
        platform::existingSpelling(path.substr(0, separator)) + path.substr(separator), content);
}

} // namespace velo::scripts

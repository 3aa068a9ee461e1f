#include "game_files.h"

#include "platform/file.h"
#include "platform/game_search.h"
#include "platform/path.h"

namespace velo::scripts {

namespace {
constexpr std::string_view kBaseFolder = "baseq2";
} // namespace

std::string mainScriptPath(std::string_view gameDir) {
    return std::string(gameDir) + "\\baseq2\\q2velo.txt";
}

std::string extraScriptPath(std::string_view gameDir) {
    return std::string(gameDir) + "\\baseq2\\q2extra.txt";
}

platform::MaybeError writeScript(std::string_view composedPath, std::string_view content) {
    // The game folder may hold its base folder as BaseQ2 or BASEQ2: the script goes there.
    std::string path = platform::nativePath(composedPath);
    const std::size_t nameStart = path.find_last_of("/\\");
    const std::size_t baseStart = nameStart == std::string::npos || nameStart == 0
                                      ? std::string::npos
                                      : path.find_last_of("/\\", nameStart - 1);
    if (baseStart != std::string::npos && baseStart > 0 &&
        path.compare(baseStart + 1, nameStart - baseStart - 1, kBaseFolder) == 0) {
        const std::string base = platform::baseFolderName(path.substr(0, baseStart));
        if (!base.empty()) {
            path.replace(baseStart + 1, nameStart - baseStart - 1, base);
        }
    }
    return platform::writeTextFileAtomic(path, content);
}

} // namespace velo::scripts

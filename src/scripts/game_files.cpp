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
    return platform::writeTextFileAtomic(platform::nativePath(composedPath), content);
}

} // namespace velo::scripts

#include "game_content.h"

#include "pak.h"

#include "platform/file.h"
#include "platform/path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

namespace velo::core {

namespace fs = std::filesystem;

namespace {

// Entries of folder, none when it cannot be listed.
std::vector<fs::directory_entry> listing(const fs::path& folder) {
    std::vector<fs::directory_entry> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        found.push_back(*it);
    }
    return found;
}

bool isFile(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error);
}

bool isFolder(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_directory(error);
}

// Reads only the header and the directory: a game's pak0.pak is tens of megabytes.
std::vector<std::string> pakFileNames(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string first(kPakHeaderSize, '\0');
    if (!in.read(first.data(), static_cast<std::streamsize>(first.size()))) {
        return {};
    }
    const std::optional<PakHeader> header = pakHeader(first);
    if (!header) {
        return {};
    }
    std::string directory(header->length, '\0');
    in.seekg(static_cast<std::streamoff>(header->offset));
    if (!in.read(directory.data(), static_cast<std::streamsize>(directory.size()))) {
        return {};
    }
    return pakDirectoryNames(directory);
}

void addMapsOf(const fs::path& folder, std::set<std::string>& maps) {
    for (const fs::directory_entry& entry : listing(folder)) {
        if (isFile(entry) && endsWithNoCase(entry.path().filename().u8string(), ".pak")) {
            for (const std::string& name : pakFileNames(entry.path())) {
                if (std::optional<std::string> map = mapOf(name)) {
                    maps.insert(*map);
                }
            }
        } else if (isFolder(entry) && lowerCase(entry.path().filename().u8string()) == "maps") {
            for (const fs::directory_entry& file : listing(entry.path())) {
                const std::string name = "maps/" + file.path().filename().u8string();
                if (std::optional<std::string> map = mapOf(name); map && isFile(file)) {
                    maps.insert(*map);
                }
            }
        }
    }
}

bool holdsGameCode(const fs::path& folder, bool orPak) {
    for (const fs::directory_entry& entry : listing(folder)) {
        const std::string name = lowerCase(entry.path().filename().u8string());
        const bool code = name.compare(0, 4, "game") == 0 &&
                          (endsWithNoCase(name, ".so") || endsWithNoCase(name, ".dll"));
        if (isFile(entry) && (code || (orPak && endsWithNoCase(name, ".pak")))) {
            return true;
        }
    }
    return false;
}

void addModsOf(const fs::path& folder, bool orPak, std::set<std::string>& mods) {
    for (const fs::directory_entry& entry : listing(folder)) {
        const std::string name = entry.path().filename().u8string();
        if (isFolder(entry) && lowerCase(name) != "baseq2" && holdsGameCode(entry.path(), orPak)) {
            mods.insert(name);
        }
    }
}

} // namespace

std::vector<std::string> findMaps(const std::string& gameDir, const std::string& mod) {
    std::set<std::string> maps;
    const fs::path game = fs::u8path(gameDir);
    addMapsOf(fs::u8path(platform::baseFolder(gameDir)), maps);
    if (!mod.empty() && lowerCase(mod) != "baseq2" &&
        mod.find_first_of("/\\") == std::string::npos) {
        addMapsOf(game / fs::u8path(mod), maps);
    }
    return {maps.begin(), maps.end()};
}

std::vector<std::string> findMods(const std::string& gameDir, const std::string& engineDir) {
    std::set<std::string> mods;
    if (!gameDir.empty()) {
        addModsOf(fs::u8path(gameDir), /*orPak*/ true, mods);
    }
    if (!engineDir.empty()) {
        addModsOf(fs::u8path(engineDir), /*orPak*/ false, mods);
    }
    return {mods.begin(), mods.end()};
}

} // namespace velo::core

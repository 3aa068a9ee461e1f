#include "game_search.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace velo::platform {

namespace fs = std::filesystem;

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool digitsOnly(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// The entry of folder called name without regard to case; empty when there is none.
fs::path entryNamed(const fs::path& folder, std::string_view name) {
    std::error_code error;
    const fs::path exact = folder / fs::u8path(name);
    if (fs::exists(exact, error)) {
        return exact;
    }
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (sameName(it->path().filename().u8string(), name)) {
            return it->path();
        }
    }
    return {};
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Collects game folders once each, by where they really are.
class Finds {
public:
    void consider(const fs::path& folder) {
        if (sameName(folder.filename().u8string(), "rerelease") ||
            !isGameFolder(folder.u8string())) {
            return;
        }
        std::error_code error;
        const fs::path real = fs::weakly_canonical(folder, error);
        if (seen_.insert(error ? folder : real).second) {
            found_.push_back(folder.u8string());
        }
    }
    std::vector<std::string> take() { return std::move(found_); }

private:
    std::set<fs::path> seen_;
    std::vector<std::string> found_;
};

} // namespace

std::vector<std::string> libraryFolders(std::string_view vdf) {
    std::vector<std::string> libraries;
    std::vector<std::string> blocks; // the key of each open block, outermost first
    std::optional<std::string> key;  // a key still waiting for its value or block
    for (std::size_t i = 0; i < vdf.size();) {
        const char c = vdf[i];
        if (c == '"') {
            std::string token;
            for (++i; i < vdf.size() && vdf[i] != '"'; ++i) {
                if (vdf[i] == '\\' && i + 1 < vdf.size()) {
                    ++i;
                    token += vdf[i] == 'n' ? '\n' : vdf[i] == 't' ? '\t' : vdf[i];
                } else {
                    token += vdf[i];
                }
            }
            ++i;
            if (!key) {
                key = std::move(token);
                continue;
            }
            // Today's files: "libraryfolders" { "1" { "path" "..." } }; older ones hold the
            // path as the numbered entry's own value.
            if ((blocks.size() == 2 && sameName(*key, "path")) ||
                (blocks.size() == 1 && digitsOnly(*key))) {
                libraries.push_back(std::move(token));
            }
            key.reset();
        } else if (c == '{') {
            blocks.push_back(key.value_or(std::string()));
            key.reset();
            ++i;
        } else if (c == '}') {
            if (!blocks.empty()) {
                blocks.pop_back();
            }
            key.reset();
            ++i;
        } else if (c == '/' && i + 1 < vdf.size() && vdf[i + 1] == '/') {
            i = std::min(vdf.find('\n', i), vdf.size());
        } else {
            ++i;
        }
    }
    return libraries;
}

bool isGameFolder(const std::string& folder) {
    const fs::path base = entryNamed(fs::u8path(folder), "baseq2");
    if (base.empty()) {
        return false;
    }
    std::error_code error;
    const fs::path pak = entryNamed(base, "pak0.pak");
    return !pak.empty() && fs::is_regular_file(pak, error);
}

std::vector<std::string> findGameFolders(const SearchRoots& roots) {
    const GamePlaces places = gamePlaces(roots);
    Finds finds;
    for (const std::string& root : places.steamRoots) {
        const fs::path steamapps = entryNamed(fs::u8path(root), "steamapps");
        if (steamapps.empty()) {
            continue;
        }
        std::vector<fs::path> libraries{fs::u8path(root)};
        for (const std::string& library :
             libraryFolders(readAll(steamapps / "libraryfolders.vdf"))) {
            libraries.push_back(fs::u8path(library));
        }
        for (const fs::path& library : libraries) {
            const fs::path apps = entryNamed(library, "steamapps");
            if (!apps.empty()) {
                finds.consider(apps / "common" / "Quake 2");
            }
        }
    }
    for (const std::string& folder : places.folders) {
        finds.consider(fs::u8path(folder));
    }
    for (const std::string& parent : places.parents) {
        std::error_code error;
        for (fs::directory_iterator it(fs::u8path(parent), error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_directory(error)) {
                finds.consider(it->path());
            }
        }
    }
    return finds.take();
}

} // namespace velo::platform

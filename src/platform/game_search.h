#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velo::platform {

// Where the search for the game starts; tests point both at prepared trees.
struct SearchRoots {
    std::string home;   // the user's home folder; empty: no per-user places
    std::string prefix; // put before the system's own folders; empty on a real machine
};

// The places a game folder may be, in the order they are tried.
struct GamePlaces {
    std::vector<std::string> steamRoots; // libraries listed in steamapps/libraryfolders.vdf
    std::vector<std::string> folders;    // a game folder each
    std::vector<std::string> parents;    // game folders one level down, found by content
};

// This platform's places: Steam, the system's own package, the GOG installers' folders.
GamePlaces gamePlaces(const SearchRoots& roots);

// This process's roots: its user's home folder and no prefix.
SearchRoots searchRoots();

// The library folders a libraryfolders.vdf lists, in its order.
std::vector<std::string> libraryFolders(std::string_view vdf);

// True when folder's baseq2 holds pak0.pak, names compared without regard to case.
bool isGameFolder(const std::string& folder);

// Every game folder found in the places under roots, in their order, each once. A
// rerelease folder holds another engine's data and is never one.
std::vector<std::string> findGameFolders(const SearchRoots& roots);

} // namespace velo::platform

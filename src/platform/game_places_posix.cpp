#include "game_search.h"

#include <cstdlib>

namespace velo::platform {

GamePlaces gamePlaces(const SearchRoots& roots) {
    GamePlaces places;
    if (!roots.home.empty()) {
        const std::string& home = roots.home;
        places.steamRoots = {home + "/.local/share/Steam", home + "/.steam/steam",
                             home + "/.steam/debian-installation",
                             home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam"};
        // GOG's game as Heroic and Lutris install it by default.
        places.parents = {home + "/Games/Heroic", home + "/Games"};
    }
    places.folders = {roots.prefix + "/usr/share/games/quake2"};
    return places;
}

SearchRoots searchRoots() {
    const char* home = std::getenv("HOME");
    return {home != nullptr ? home : "", ""};
}

} // namespace velo::platform

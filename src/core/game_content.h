#pragma once

#include <string>
#include <vector>

namespace velo::core {

// Every map the game can start with the mod: maps/*.bsp inside the .pak files of baseq2
// and of the mod, and loose under both; sorted, each once.
std::vector<std::string> findMaps(const std::string& gameDir, const std::string& mod);

// The mods installed for the game: folders of gameDir other than baseq2 that hold game
// code (game*.so, game*.dll, any case) or a .pak, and the folders beside the engine
// (engineDir) that hold game code; sorted, each once.
std::vector<std::string> findMods(const std::string& gameDir, const std::string& engineDir);

} // namespace velo::core

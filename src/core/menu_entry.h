#pragma once

#include "platform/error.h"

#include <string>
#include <string_view>

namespace velo::core {

// The desktop menu entry that starts a saved setup without the window: its file name,
// velo-start-SLUG.desktop, is the same for every spelling of the setup's name.
std::string menuEntryFileName(std::string_view setup);

// The entry's text: "Quake II: NAME" in the Games category, running
// velo-start --run "NAME", with every character the entry's rules reserve escaped.
std::string menuEntryText(std::string_view setup);

// Writes (or rewrites) the setup's entry in folder, making the folder when it is missing.
platform::MaybeError writeMenuEntry(const std::string& folder, std::string_view setup);

// Removes the setup's entry from folder; no entry there is no failure.
platform::MaybeError removeMenuEntry(const std::string& folder, std::string_view setup);

// True when folder holds an entry for the setup.
bool hasMenuEntry(const std::string& folder, std::string_view setup);

} // namespace velo::core

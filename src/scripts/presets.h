#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velo::scripts {

// The whole main game script for the layout "ESDF" or "Standard" (exact,
// case-sensitive names); nullopt for any other text.
std::optional<std::string> presetScript(std::string_view layoutName);

} // namespace velo::scripts

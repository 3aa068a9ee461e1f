#pragma once

#include <string>

namespace velo::platform {

// Hands an address (such as "mailto:...") to the desktop's own program for it. Returns
// false when no program takes it: none is set up for its kind, or the desktop has no way
// to open it. The desktop tells the user about a program that then fails.
bool shellOpen(const std::string& address);

} // namespace velo::platform

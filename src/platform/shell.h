#pragma once

#include <string>

namespace velo::platform {

// Hands an address (such as "mailto:...") to the desktop's own program for it.
// Returns false when the desktop could not take it; the desktop tells the user.
bool shellOpen(const std::string& address);

} // namespace velo::platform

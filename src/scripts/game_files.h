#pragma once

#include "platform/error.h"

#include <string>
#include <string_view>

namespace velo::scripts {

// The game directory text and the script's place below it, joined as they stand.
std::string mainScriptPath(std::string_view gameDir);  // + "\baseq2\q2velo.txt"
std::string extraScriptPath(std::string_view gameDir); // + "\baseq2\q2extra.txt"

// Replaces the script at a composed path whole; the old file survives a failure. The
// script's folder is the one that exists whatever the case of its name.
platform::MaybeError writeScript(std::string_view composedPath, std::string_view content);

} // namespace velo::scripts

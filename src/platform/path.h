#pragma once

#include <string>
#include <string_view>

namespace velo::platform {

// The folder that holds the running executable, without a trailing separator
// (except at a root, where the platform reports one).
std::string programDirectory();

// dir + the platform's separator + name, with nothing added or removed otherwise.
std::string joinNative(std::string_view dir, std::string_view name);

// A path composed with "\" separators (game directory + "\baseq2\..."), as the
// platform's file calls need it: unchanged on Windows, "\" turned into "/" elsewhere.
std::string nativePath(std::string_view composed);

} // namespace velo::platform

#pragma once

#include <optional>
#include <string>

namespace velo::platform {

// A failed operation, carried as a value up to the window that shows it.
struct Error {
    std::string subject; // the file or program concerned
    std::string reason;  // the operating system's words for the failure

    std::string message() const { return subject + ": " + reason; }
};

using MaybeError = std::optional<Error>;

// The operating system's text for an errno value.
std::string reasonFor(int errorNumber);

} // namespace velo::platform
